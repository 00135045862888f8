// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/core/app_identity.h"
#include "app/core/settings_store.h"
#include "qt_print.h"

namespace dupliora {
namespace {

// A temporary program folder and a temporary per-user configuration root.
class SettingsLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  }
  QString ProgramFolder() const { return dir_.filePath("program"); }
  QString UserRoot() const { return dir_.filePath("config"); }
  QString UserFile(const QString& name = "Dupliora") const {
    return UserRoot() + "/Dupliora/" + name + ".ini";
  }
  void Touch(const QString& name, const QByteArray& bytes = "[Start]\n") {
    QFile file(ProgramFolder() + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  void Init(const QString& programName) {
    store_.InitSettingsLocation({ProgramFolder() + "/" + programName, UserRoot()}, identity_);
  }

  QTemporaryDir dir_;
  CMyProfStr store_;
  AppIdentity identity_;
};

TEST_F(SettingsLocationTest, WithoutFileBesideProgramThePerUserFileIsUsed) {
  Init("dupliora");
  EXPECT_EQ(store_.SettingsFilePath, UserFile());
  EXPECT_FALSE(store_.PortableMode);
  EXPECT_TRUE(QDir(UserRoot() + "/Dupliora").exists());
  EXPECT_FALSE(QFile::exists(ProgramFolder() + "/Dupliora.ini"));
}

TEST_F(SettingsLocationTest, WritableFileBesideProgramMeansPortable) {
  Touch("Dupliora.ini");
  Init("dupliora");
  EXPECT_EQ(store_.SettingsFilePath, ProgramFolder() + "/Dupliora.ini");
  EXPECT_TRUE(store_.PortableMode);
  EXPECT_FALSE(QFile::exists(UserFile()));
}

TEST_F(SettingsLocationTest, UninstallMarkerKeepsPerUserEvenWithFileBesideProgram) {
  Touch("Dupliora.ini");
  Touch("Dupliora_Uninstall.ini");
  Init("dupliora.exe");
  EXPECT_EQ(store_.SettingsFilePath, UserFile());
  EXPECT_FALSE(store_.PortableMode);
}

TEST_F(SettingsLocationTest, ReadOnlyFileBesideProgramFailsTheProbe) {
  Touch("Dupliora.ini");
  QFile::setPermissions(ProgramFolder() + "/Dupliora.ini", QFile::ReadOwner | QFile::ReadUser);
  Init("dupliora");
  EXPECT_EQ(store_.SettingsFilePath, UserFile());
  EXPECT_FALSE(store_.PortableMode);
}

TEST_F(SettingsLocationTest, FolderNamedLikeTheFileIsNotASettingsFile) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder() + "/Dupliora.ini"));
  Init("dupliora");
  EXPECT_EQ(store_.SettingsFilePath, UserFile());
}

TEST_F(SettingsLocationTest, IniRuleNeedsMoreThanThreeCharacters) {
  struct Case {
    const char* program;
    const char* profile;
  } const cases[] = {
      {"dupliora-ini=Work", "Work"},
      {"dupliora-ini=Work.exe", "Work"},
      {"dupliora-ini=ab.exe", ""},
      {"dupliora-ini=abc", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    CMyProfStr store;
    AppIdentity identity;
    store.InitSettingsLocation({ProgramFolder() + "/" + c.program, UserRoot()}, identity);
    const QString profile = QString::fromUtf8(c.profile);
    EXPECT_EQ(store.ProfileName, profile);
    const QString settingsName = profile.isEmpty() ? "Dupliora" : "Dupliora_" + profile;
    EXPECT_EQ(identity.settingsName, settingsName);
    // Portable, so the profile file beside the program is created and used.
    if (!profile.isEmpty()) {
      EXPECT_EQ(store.SettingsFilePath, ProgramFolder() + "/" + settingsName + ".ini");
    }
  }
}

TEST_F(SettingsLocationTest, IniRuleWithUninstallMarkerUsesProfileInPerUserFolder) {
  Touch("Dupliora_Uninstall.ini");
  Init("dupliora-ini=Work");
  EXPECT_EQ(store_.SettingsFilePath, UserFile("Dupliora_Work"));
  EXPECT_EQ(identity_.productName, "Dupliora");
}

TEST_F(SettingsLocationTest, UnsetConfigRootFallsBackToTheProgramFolder) {
  Touch("Dupliora_Uninstall.ini");
  store_.InitSettingsLocation({ProgramFolder() + "/dupliora", QString()}, identity_);
  EXPECT_EQ(store_.SettingsFilePath, ProgramFolder() + "/Dupliora/Dupliora.ini");
}

TEST(AppIdentityTest, VersionTextFromRecord) {
  EXPECT_EQ(VersionTextFromRecord("5,58,0,0"), "5.58");
  EXPECT_EQ(VersionTextFromRecord("5,58,2,0"), "5.58.2");
  FillAppIdentity();
  EXPECT_EQ(Identity().versionText, "5.58");
  EXPECT_EQ(Identity().instanceName, "Dupliora");
  EXPECT_EQ(Identity().instanceNumber, 0u);
}

}  // namespace
}  // namespace dupliora
