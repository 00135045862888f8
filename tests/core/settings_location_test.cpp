// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/app_identity.h"
#include "core/record_store_location.h"
#include "core/settings_store.h"
#include "support/pictures.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

void PutFile(const QString& path) { ASSERT_TRUE(test::WriteBytes(path, "[Start]\n")); }

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
  void Touch(const QString& name) { PutFile(ProgramFolder() + "/" + name); }
  void Init(const QString& programName) {
    store_.InitSettingsLocation({ProgramFolder() + "/" + programName, UserRoot()}, identity_);
  }

  QTemporaryDir dir_;
  CMyProfStr store_;
  AppIdentity identity_;
};

TEST_F(SettingsLocationTest, FileBesideProgramIsUsedOnlyWhenWritableAndNotInstalled) {
  enum Beside { kNothing, kWritable, kReadOnly, kFolder };
  struct Case {
    const char* label;
    Beside beside;
    bool uninstall_marker;
    bool portable;
  } const cases[] = {
      {"nothing beside the program", kNothing, false, false},
      {"writable file", kWritable, false, true},
      {"writable file of an installed program", kWritable, true, false},
      {"read-only file fails the probe", kReadOnly, false, false},
      {"folder named like the file", kFolder, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    QTemporaryDir dir;
    const QString program = dir.filePath("program");
    const QString beside = program + "/Dupliora.ini";
    ASSERT_TRUE(QDir().mkpath(c.beside == kFolder ? beside : program));
    if (c.beside == kWritable || c.beside == kReadOnly) PutFile(beside);
    if (c.beside == kReadOnly) QFile::setPermissions(beside, QFile::ReadOwner | QFile::ReadUser);
    if (c.uninstall_marker) PutFile(program + "/Dupliora_Uninstall.ini");
    CMyProfStr store;
    AppIdentity identity;
    store.InitSettingsLocation({program + "/dupliora", dir.filePath("config")}, identity);
    const QString user_file = dir.filePath("config") + "/Dupliora/Dupliora.ini";
    EXPECT_EQ(store.SettingsFilePath, c.portable ? beside : user_file);
    EXPECT_EQ(store.PortableMode, c.portable);
    EXPECT_EQ(QDir(dir.filePath("config/Dupliora")).exists(), !c.portable);
    if (c.beside == kNothing) {
      EXPECT_FALSE(QFile::exists(beside));
    }
  }
}

TEST_F(SettingsLocationTest, IniRuleNeedsMoreThanThreeCharacters) {
  // Program name, profile it names.
  const std::pair<const char*, QString> cases[] = {{"dupliora-ini=Work", "Work"},
                                                   {"dupliora-ini=Work.exe", "Work"},
                                                   {"dupliora-ini=ab.exe", ""},
                                                   {"dupliora-ini=abc", ""}};
  for (const auto& [program, profile] : cases) {
    SCOPED_TRACE(program);
    CMyProfStr store;
    AppIdentity identity;
    store.InitSettingsLocation({ProgramFolder() + "/" + program, UserRoot()}, identity);
    EXPECT_EQ(store.ProfileName, profile);
    const QString settingsName = profile.isEmpty() ? "Dupliora" : "Dupliora_" + profile;
    EXPECT_EQ(identity.settingsName, settingsName);
    // Portable, so the profile file beside the program is created and used.
    if (!profile.isEmpty()) {
      EXPECT_EQ(store.SettingsFilePath, ProgramFolder() + "/" + settingsName + ".ini");
    }
  }
}

TEST_F(SettingsLocationTest, IniRuleWithUninstallMarkerUsesTheProfileInThePerUserFolder) {
  Touch("Dupliora_Uninstall.ini");
  Init("dupliora-ini=Work");
  EXPECT_EQ(store_.SettingsFilePath, UserFile("Dupliora_Work"));
  EXPECT_EQ(identity_.productName, "Dupliora");
  // Without a config root the per-user file falls back to the program folder.
  CMyProfStr store;
  AppIdentity identity;
  store.InitSettingsLocation({ProgramFolder() + "/dupliora", QString()}, identity);
  EXPECT_EQ(store.SettingsFilePath, ProgramFolder() + "/Dupliora/Dupliora.ini");
}

TEST(AppIdentityTest, VersionTextFromRecord) {
  EXPECT_EQ(VersionTextFromRecord("5,58,0,0"), "5.58");
  EXPECT_EQ(VersionTextFromRecord("5,58,2,0"), "5.58.2");
}

// The record store follows the settings: beside them in portable mode, else
// in the user's cache folder; the command-line tool finds the same place.
TEST_F(SettingsLocationTest, RecordStoreLivesWhereTheSettingsSayAndTheCliFindsIt) {
  const test::ScopedThumbnailCache restores_xdg_cache_home;
  const QString home_cache = QDir::homePath() + "/.cache/Dupliora/records.sqlite";
  const QString program = ProgramFolder() + "/dupliora-cli";
  struct Case {
    const char* label;
    QString xdg;
    QStringList beside;  // files beside the program
    QString expected;
  } const cases[] = {
      {"cache variable", dir_.filePath("xdg"), {}, dir_.filePath("xdg/Dupliora/records.sqlite")},
      {"relative variable is ignored", "relative/xdg", {}, home_cache},
      {"no variable", "", {}, home_cache},
      {"portable settings", "", {"Dupliora.ini"}, ProgramFolder() + "/records.sqlite"},
      {"installed program", "", {"Dupliora.ini", "Dupliora_Uninstall.ini"}, home_cache},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    qputenv("XDG_CACHE_HOME", c.xdg.toUtf8());
    for (const char* name : {"Dupliora.ini", "Dupliora_Uninstall.ini"})
      QFile::remove(ProgramFolder() + "/" + name);
    for (const QString& name : c.beside) Touch(name);
    EXPECT_EQ(RecordStorePathBesideProgram(program, identity_), c.expected);
    store_ = CMyProfStr();
    Init("dupliora");
    EXPECT_EQ(RecordStorePath(store_, identity_), c.expected);
  }
}

}  // namespace
}  // namespace dupliora
