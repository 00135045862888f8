// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_run.h"
#include "app/compare_window_services.h"
#include "app/frame_status_bar.h"
#include "core/command_ids.h"
#include "core/language_table.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

// A comparison client that records the commands it receives.
class RecordingClient : public QWidget, public ComparisonCommands {
 public:
  explicit RecordingClient(QWidget* parent) : QWidget(parent) {}
  bool OnCommand(int id) override {
    received.push_back(id);
    return true;
  }
  std::vector<int> received;
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    FillAppIdentity();
    Settings().SettingsFilePath = dir_.filePath("Dupliora.ini");
    Settings().PortableMode = false;
    Languages().SetCurrentLanguage(1);
  }
  void TearDown() override {
    SetChildClientFactory(nullptr);
    Languages().SetCurrentLanguage(1);
  }
  std::unique_ptr<CImgCompareMain> Started() {
    auto window = std::make_unique<CImgCompareMain>();
    window->SetCloseConfirmer([] { return true; });
    window->Start(QString());
    QApplication::processEvents();  // the posted placement restore
    return window;
  }

  QTemporaryDir dir_;
};

TEST_F(MainWindowTest, StartsWithOneMaximisedChildAndTranslatedMenus) {
  auto window = Started();
  ASSERT_EQ(window->MdiArea()->subWindowList().size(), 1);
  EXPECT_TRUE(window->MdiArea()->subWindowList().front()->isMaximized());
  EXPECT_EQ(window->menuBar()->actions().front()->text(), "&File");
  EXPECT_EQ(window->StatusPartText(0), "Ready");
  EXPECT_TRUE(window->StatusPartText(1).endsWith(" msek"));
  EXPECT_TRUE(window->windowTitle().startsWith("Dupliora 5.58"));
  EXPECT_EQ(MainFrame(), window.get());
  SetMainStatusText(4, "cache line");
  EXPECT_EQ(window->StatusPartText(4), "cache line");
}

TEST_F(MainWindowTest, StatusPartsFollowTheWidthFormula) {
  auto window = Started();
  window->showNormal();
  window->resize(1200, 700);
  QApplication::processEvents();
  const auto edges = StatusPartRightEdges(window->width(), window->FrameStatus()->height());
  EXPECT_EQ(window->FrameStatus()->PartWidth(0), std::max(0, edges[0]));
  EXPECT_EQ(window->FrameStatus()->PartWidth(2), edges[2] - edges[1]);
  EXPECT_EQ(window->FrameStatus()->PartWidth(3), edges[3] - edges[2]);
}

TEST_F(MainWindowTest, LanguageCommandSwitchesAndIsStored) {
  RegisterComparisonWindow();
  auto window = Started();
  auto* start = window->LastChild()->widget()->findChild<QPushButton*>("1016");
  ASSERT_NE(start, nullptr);
  start->setText("old");
  window->OnCommand(command::kLanguageFirst + 0);
  EXPECT_EQ(window->menuBar()->actions().front()->text(), "&Datei");
  // The comparison window follows the frame's signal.
  EXPECT_EQ(start->text(), GetString(text::kStartCaption));
  EXPECT_EQ(window->StatusPartText(0), "Bereit");
  EXPECT_EQ(Settings().ReadInt("Start", "m_lang_id", -1), 0);
  window.reset();
  Languages().SetCurrentLanguage(1);
  auto again = Started();  // a restart reads the stored language
  EXPECT_EQ(again->menuBar()->actions().front()->text(), "&Datei");
}

TEST_F(MainWindowTest, PlacementIsSavedOnCloseAndRestoredNextTime) {
  Settings().WriteInt("Start", "Max", 2);
  Settings().WriteString("Start", "WinRC_MP", "50;60;750;560");
  auto window = Started();
  EXPECT_FALSE(window->isMaximized());
  EXPECT_EQ(window->geometry(), QRect(50, 60, 700, 500));
  window->setGeometry(70, 80, 640, 480);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(Settings().ReadRect("Start", "WinRC_MP"), (SettingsRect{70, 80, 710, 560}));
  EXPECT_EQ(Settings().ReadInt("Start", "showCmd", 0), 1);
}

TEST_F(MainWindowTest, StartModeLastClosedMaximisedRestoresMaximised) {
  Settings().WriteInt("Start", "showCmd", 3);
  auto window = Started();
  EXPECT_TRUE(window->isMaximized());
  window->OnCommand(command::kStartModeFirst);
  EXPECT_EQ(Settings().ReadInt("Start", "Max", -1), 0);
}

TEST_F(MainWindowTest, CloseQuestionCanRefuse) {
  auto window = Started();
  window->OnCommand(command::kAskBeforeClosing);  // not checked by the menu: stays off
  EXPECT_EQ(Settings().ReadInt("Start", "close_ask", -1), 0);
  Settings().WriteInt("Start", "close_ask", 1);
  auto asking = Started();
  int asked = 0;
  asking->SetCloseConfirmer([&] { return ++asked > 1; });
  EXPECT_FALSE(asking->close());
  EXPECT_TRUE(asking->isVisible());
  EXPECT_TRUE(asking->close());
  EXPECT_EQ(asked, 2);
}

TEST_F(MainWindowTest, CommandsGoToTheNewestChildWhicheverIsActive) {
  std::vector<RecordingClient*> clients;
  SetChildClientFactory([&](QWidget* parent) {
    clients.push_back(new RecordingClient(parent));
    return clients.back();
  });
  auto window = Started();
  window->OnCommand(command::kNewComparison);
  ASSERT_EQ(clients.size(), 2u);
  window->MdiArea()->setActiveSubWindow(window->MdiArea()->subWindowList().front());
  for (int id : {command::kExportList, command::kSelectAll, command::kInvertSelection}) {
    window->OnCommand(id);
  }
  EXPECT_TRUE(clients[0]->received.empty());
  EXPECT_EQ(clients[1]->received, (std::vector<int>{command::kExportList, command::kSelectAll,
                                                    command::kInvertSelection}));
}

TEST_F(MainWindowTest, AOneChildFillsTheAreaAndTabsComeWithTheSecond) {
  auto window = Started();
  window->resize(900, 700);
  window->show();
  QApplication::processEvents();
  QMdiArea* area = window->MdiArea();
  const QWidget* first = area->subWindowList().front();
  EXPECT_EQ(area->viewport()->geometry(), area->contentsRect());  // no empty band above it
  EXPECT_EQ(first->geometry(), area->viewport()->rect());
  const auto* tabs = area->findChild<QTabBar*>();
  EXPECT_TRUE(tabs == nullptr || tabs->isHidden());

  window->OnCommand(command::kNewComparison);
  QApplication::processEvents();
  tabs = area->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_TRUE(tabs->isVisible());
  EXPECT_EQ(tabs->count(), 2);
}

TEST_F(MainWindowTest, HelpReturnsOneWithoutAMainWindow) {
  QTemporaryDir config;
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QString shownTopic;
  RunHooks hooks;
  hooks.showHelp = [&](const QString& topic) { shownTopic = topic; };
  EXPECT_EQ(dupliora::Run("-help#Topic", hooks), 1);
  EXPECT_EQ(shownTopic, "#Topic");
  EXPECT_EQ(MainFrame(), nullptr);
  EXPECT_EQ(dupliora::Run("-help", hooks), 1);
  EXPECT_EQ(shownTopic, "#");
  EXPECT_EQ(Settings().SettingsFilePath, config.path() + "/Dupliora/Dupliora.ini");
  qputenv("XDG_CONFIG_HOME", oldConfig);
}

}  // namespace
}  // namespace dupliora
