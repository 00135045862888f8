// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/frame_layout.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/app_run.h"
#include "app/instance_marker.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

TEST(StatusPartEdges, FollowTheScaledDistancesFromTheRight) {
  struct Case {
    int width, height;
    std::array<int, 5> edges;
  } const cases[] = {
      {1000, 23, {440, 510, 660, 800, 1000}},
      {1000, 46, {-120, 20, 320, 600, 1000}},
      {1000, 30, {269, 360, 556, 739, 1000}},  // 1000 - 560 * 30 / 23 = 269.5..., toward zero
      {100, 23, {-460, -390, -240, -100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    EXPECT_EQ(StatusPartRightEdges(c.width, c.height), c.edges);
  }
  EXPECT_EQ(StatusIconSize(23), 16);
  EXPECT_EQ(StatusIconSize(30), 23);
}

TEST(MainTitle, InstanceNumberAndAdministratorMark) {
  AppIdentity identity;
  EXPECT_EQ(MainWindowTitle(identity, true, false), "Dupliora 5.58");
  identity.instanceNumber = 1;
  EXPECT_EQ(MainWindowTitle(identity, true, false), "Dupliora 5.58 [1]");
  EXPECT_EQ(MainWindowTitle(identity, false, false), "Dupliora 5.58");
  EXPECT_EQ(MainWindowTitle(identity, true, true), "Dupliora 5.58 [1] - Admin");
}

TEST(StatusUser, ProfileAndPortableMark) {
  EXPECT_EQ(StatusUserText("anna", "", false, "Portable", "x64"), "anna (x64)");
  EXPECT_EQ(StatusUserText("anna", "Work", true, "Portable", "x64"), "anna (WorkPortable/x64)");
  EXPECT_EQ(StatusUserText("anna", "", true, "Pt", "x64"), "anna (Ptx64)");
}

TEST(HelpRequest, OnlyAtTheVeryStart) {
  EXPECT_EQ(HelpTopicFromCommandLine("-help#Topic"), "#Topic");
  EXPECT_EQ(HelpTopicFromCommandLine("-help"), "#");
  EXPECT_EQ(HelpTopicFromCommandLine("-help#a#b"), "#a");
  EXPECT_FALSE(HelpTopicFromCommandLine(" -help").has_value());
  EXPECT_FALSE(HelpTopicFromCommandLine("x -help").has_value());
}

// "Open with" passes one argument per picture or folder, names with spaces
// included; only existing paths become a list of folders.
TEST(StartPaths, ArgumentsThatAllExistBecomeTheirFolders) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub dir"));
  const QString sub = dir.filePath("sub dir");
  const QString photo = sub + "/one photo.heic";
  QFile(photo).open(QIODevice::WriteOnly);
  QFile(dir.filePath("raw.dng")).open(QIODevice::WriteOnly);
  const QString missing = dir.filePath("gone.jpg");
  struct Case {
    QStringList arguments;
    QString command_line;
    std::optional<QString> start_paths;
  };
  const Case cases[] = {
      {{}, "", std::nullopt},
      {{"-help#Topic"}, "-help#Topic", std::nullopt},
      {{photo}, sub, sub},
      {{dir.path(), photo, sub, dir.filePath("raw.dng")},
       dir.path() + ';' + sub,
       dir.path() + ';' + sub},
      {{photo, missing}, photo + ' ' + missing, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join('|').toStdString());
    EXPECT_EQ(JoinCommandLine(c.arguments), c.command_line);
    EXPECT_EQ(StartPathsFromCommandLine(JoinCommandLine(c.arguments)), c.start_paths);
  }
}

TEST(PlacementRestore, StartModesAndSavedRectangles) {
  const SettingsRect saved{10, 20, 810, 620};
  struct Case {
    const char* label;
    int mode, showCmd;
    std::optional<SettingsRect> rect;
    bool keep, maximised;
    SettingsRect expected;
  } const cases[] = {
      {"mode 0 keeps", 0, 3, saved, true, false, {}},
      {"mode 3 last maximised", 3, 3, saved, false, true, saved},
      {"mode 3 last normal", 3, 1, saved, false, false, saved},
      {"mode 1 maximised", 1, 1, saved, false, true, saved},
      {"mode 2 normal", 2, 3, saved, false, false, saved},
      {"missing rect", 3, 0, std::nullopt, false, false, kDefaultWindowRect},
      {"empty rect", 2, 0, SettingsRect{5, 5, 5, 90}, false, false, kDefaultWindowRect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const PlacementPlan plan = PlanPlacementRestore(c.mode, c.showCmd, c.rect);
    EXPECT_EQ(plan.keepRectangle, c.keep);
    EXPECT_EQ(plan.maximised, c.maximised);
    if (!c.keep) {
      EXPECT_EQ(plan.normal, c.expected);
    }
    EXPECT_EQ(plan.centred, !c.keep && c.expected == kDefaultWindowRect);
  }
}

TEST(FramePlacement, FirstWindowIsCentredAtSeventyPercentAndNeverBelowTheMinimum) {
  // Available screen area, window placed.
  const std::pair<QRect, QRect> cases[] = {
      {{0, 0, 2000, 1000}, {300, 150, 1400, 700}},
      {{100, 30, 1000, 1000}, {150, 180, 900, 700}},  // 700 wide would be below the minimum
      {{0, 0, 800, 600}, {0, 0, 800, 600}},           // a screen smaller than the minimum
  };
  for (const auto& [available, expected] : cases) {
    SCOPED_TRACE(available.width());
    EXPECT_EQ(CentredDefaultRect(available, QSize(900, 660)), expected);
  }
}

TEST(InstanceNumbers, FirstStoresZeroFurtherOnesCountFromTheStoredValueInBothModes) {
  QTemporaryDir dir;
  CMyProfStr store;
  store.SettingsFilePath = dir.filePath("Dupliora.ini");
  const QString markers = dir.filePath("run");
  auto first = std::make_unique<InstanceMarker>("Dupliora", markers);
  EXPECT_FALSE(first->OtherInstanceRunning());
  store.WriteInt("Start", "Dupliora_Id", 5);
  EXPECT_EQ(AssignInstanceNumber(false, store, "Dupliora", 0), 0u);
  EXPECT_EQ(store.ReadInt("Start", "Dupliora_Id", -1), 0);

  InstanceMarker second("Dupliora", markers);
  EXPECT_TRUE(second.OtherInstanceRunning());
  EXPECT_EQ(AssignInstanceNumber(true, store, "Dupliora", 0), 1u);
  InstanceMarker third("Dupliora", markers);
  EXPECT_EQ(AssignInstanceNumber(third.OtherInstanceRunning(), store, "Dupliora", 0), 1u);

  first.reset();  // the first ends while the second still runs
  InstanceMarker fourth("Dupliora", markers);
  EXPECT_TRUE(fourth.OtherInstanceRunning());
  // Portable, the counter lives in the Start section; garbage counts as nothing stored.
  store.PortableMode = true;
  store.WriteInt("Start", "Dupliora_Id", 3);
  EXPECT_EQ(AssignInstanceNumber(true, store, "Dupliora", 0), 4u);
  store.WriteString("Start", "Dupliora_Id", "garbage");
  EXPECT_EQ(AssignInstanceNumber(true, store, "Dupliora", 0), 1u);
}

}  // namespace
}  // namespace dupliora
