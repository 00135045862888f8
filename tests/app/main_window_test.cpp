// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/main_window.h"

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#endif

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>

#include "app/app_run.h"
#include "app/compare_window_services.h"
#include "app/frame_layout.h"
#include "app/frame_status_bar.h"
#include "app/window_loss_filter.h"
#include "core/command_ids.h"
#include "core/language_table.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

// A comparison client that records the commands and start paths it receives.
class RecordingClient : public QWidget, public ComparisonCommands, public StartPathReceiver {
 public:
  explicit RecordingClient(QWidget* parent) : QWidget(parent) {}
  bool OnCommand(int id) override {
    received.push_back(id);
    return true;
  }
  void TakeStartPaths(const QString& path_list) override { start_paths.push_back(path_list); }
  bool ConfirmDiscard() override { return may_close; }
  std::vector<int> received;
  QStringList start_paths;
  bool may_close = true;
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
  std::unique_ptr<CImgCompareMain> Started(const QString& command_line = QString()) {
    auto window = std::make_unique<CImgCompareMain>();
    window->SetCloseConfirmer([] { return true; });
    window->Start(command_line);
    QApplication::processEvents();  // the posted placement restore
    return window;
  }
  // Children made from now on hold recording clients, listed in creation order.
  std::vector<RecordingClient*>& RecordClients() {
    SetChildClientFactory([this](QWidget* parent) {
      clients_.push_back(new RecordingClient(parent));
      return clients_.back();
    });
    return clients_;
  }

  QTemporaryDir dir_;
  std::vector<RecordingClient*> clients_;
};

TEST_F(MainWindowTest, StartsWithOneChildFillingTheAreaAndTabsComeWithTheSecond) {
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
  // The one child fills the area; tabs come with the second.
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
  EXPECT_TRUE(tabs->tabsClosable());
  const QString title = GetString(text::kChildFrameTitle);
  EXPECT_EQ(tabs->tabText(0), title + " 1");
  EXPECT_EQ(tabs->tabText(1), title + " 2");
}

// The empty part before the cache line lends it its room, and takes it back.
TEST_F(MainWindowTest, AnEmptyStatusPartLendsItsRoomToTheCacheLine) {
  auto window = Started();
  window->showNormal();
  window->resize(1200, 700);
  QApplication::processEvents();
  const int lent = window->FrameStatus()->PartWidth(4);
  window->SetStatusPartText(3, "news");
  QApplication::processEvents();
  EXPECT_GT(window->FrameStatus()->PartWidth(3), 0);
  EXPECT_GE(lent - window->FrameStatus()->PartWidth(4), window->FrameStatus()->PartWidth(3));
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
  const auto* prompt = window->LastChild()->widget()->findChild<QLabel*>("1004");
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(prompt->text(), GetString(text::kIdlePrompt));  // until a run replaces it
  EXPECT_EQ(window->StatusPartText(0), "Bereit");
  // Qt's own texts follow where Qt ships them; languages without texts are marked.
  if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm")) {
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
  }
  const auto language_text = [&window](int id) {
    for (QAction* action : window->findChildren<QAction*>())
      if (action->data().toInt() == command::kLanguageFirst + id) return action->text();
    return QString();
  };
  const QString mark = GetString(text::kEnglishTextsMark);
  for (int id : {0, 1, 2}) EXPECT_EQ(language_text(id).endsWith(mark), id == 2) << id;
  EXPECT_EQ(Settings().ReadInt("Start", "m_lang_id", -1), 0);
  window.reset();
  Languages().SetCurrentLanguage(1);
  auto again = Started();  // a restart reads the stored language
  EXPECT_EQ(again->menuBar()->actions().front()->text(), "&Datei");
  again->OnCommand(command::kLanguageFirst + 1);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

TEST_F(MainWindowTest, PlacementIsSavedOnCloseAndRestoredNextTime) {
  Settings().WriteInt("Start", "Max", 2);
  Settings().WriteString("Start", "WinRC_MP", "50;60;1050;860");
  auto window = Started();
  EXPECT_FALSE(window->isMaximized());
  EXPECT_EQ(window->geometry(), QRect(50, 60, 1000, 800));
  window->setGeometry(70, 80, 640, 480);  // below the minimum: kept at the minimum
  EXPECT_TRUE(window->close());
  EXPECT_EQ(
      Settings().ReadRect("Start", "WinRC_MP"),
      (SettingsRect{70, 80, 70 + kMinimumFrameSize.width(), 80 + kMinimumFrameSize.height()}));
  EXPECT_EQ(Settings().ReadInt("Start", "showCmd", 0), 1);
  // Start mode 3, as last closed: a maximised close comes back maximised.
  Settings().WriteInt("Start", "Max", 3);
  Settings().WriteInt("Start", "showCmd", 3);
  auto again = Started();
  EXPECT_TRUE(again->isMaximized());
  again->OnCommand(command::kStartModeFirst);
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
  // A window destroyed by another program closes without a question nobody could answer.
  auto lost = Started();
  lost->SetCloseConfirmer([&] { return ++asked, false; });
  QSignalSpy closed(lost.get(), &CImgCompareMain::frameClosed);
  lost->CloseWithoutQuestion();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(asked, 2);
}

#if __has_include(<xcb/xcb.h>)
TEST(WindowLossFilterTest, OnlyTheDestroyOfTheWatchedWindowCounts) {
  const struct {
    const char* label;
    QByteArray type;
    std::uint8_t response;
    xcb_window_t window;
    bool lost;
  } cases[] = {
      {"destroyed", "xcb_generic_event_t", XCB_DESTROY_NOTIFY, 42, true},
      {"destroy sent by a client", "xcb_generic_event_t", XCB_DESTROY_NOTIFY | 0x80, 42, true},
      {"another window", "xcb_generic_event_t", XCB_DESTROY_NOTIFY, 43, false},
      {"unmapped only", "xcb_generic_event_t", XCB_UNMAP_NOTIFY, 42, false},
      {"another platform", "windows_generic_MSG", XCB_DESTROY_NOTIFY, 42, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    bool lost = false;
    WindowLossFilter filter(42, [&] { lost = true; });
    xcb_destroy_notify_event_t event{};
    event.response_type = c.response;
    event.event = event.window = c.window;
    EXPECT_FALSE(filter.nativeEventFilter(c.type, &event, nullptr));  // Qt still sees it
    EXPECT_EQ(lost, c.lost);
  }
}
#endif

TEST_F(MainWindowTest, CommandsGoToTheNewestChildAndStartPathsToTheFirst) {
  std::vector<RecordingClient*>& clients = RecordClients();
  const QString paths = dir_.path() + ';' + dir_.path();
  auto window = Started(paths);
  window->OnCommand(command::kNewComparison);
  ASSERT_EQ(clients.size(), 2u);
  EXPECT_EQ(clients[0]->start_paths, QStringList{paths});
  EXPECT_TRUE(clients[1]->start_paths.isEmpty());
  window->MdiArea()->setActiveSubWindow(window->MdiArea()->subWindowList().front());
  const std::vector<int> sent{command::kExportList, command::kSelectAll, command::kInvertSelection};
  for (int id : sent) window->OnCommand(id);
  EXPECT_TRUE(clients[0]->received.empty());
  EXPECT_EQ(clients[1]->received, sent);
  // A command line that is no path list leaves the field alone.
  auto other = Started("not-a-path");
  EXPECT_TRUE(clients.back()->start_paths.isEmpty());
}

// A child closes on its own only when its client agrees; the last one gone,
// the frame says how to open another.
TEST_F(MainWindowTest, ChildrenAskBeforeClosingAndTheEmptyFrameSaysWhatToDo) {
  std::vector<RecordingClient*>& clients = RecordClients();
  auto window = Started();
  window->show();
  QMdiSubWindow* child = window->MdiArea()->subWindowList().front();
  clients[0]->may_close = false;
  EXPECT_FALSE(child->close());
  clients[0]->may_close = true;
  EXPECT_TRUE(child->close());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
  auto* note = window->MdiArea()->findChild<QLabel*>();
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), GetString(text::kNoComparisonWindow) + "\nFile > New comparison window");
  window->OnCommand(command::kNewComparison);
  EXPECT_FALSE(note->isVisible());
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
  EXPECT_EQ(Settings().SettingsFilePath, config.path() + "/Dupliora/Dupliora.ini");
  qputenv("XDG_CONFIG_HOME", oldConfig);
}

}  // namespace
}  // namespace dupliora
