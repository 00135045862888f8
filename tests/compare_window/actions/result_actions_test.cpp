// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The result actions on real files: each command, its faults, and its undo
// with the files checked byte for byte and the rows back in place.
#include "compare_window/actions/result_actions.h"

#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <tuple>

#include "compare_window/actions/result_context_menu.h"
#include "core/command_ids.h"
#include "core/settings_store.h"
#include "fake_action_list.h"
#include "platform/safe_rename.h"
#include "support/file_fixture.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

using test::ReadBytes;
using test::ReadTree;

QString Number(int n) { return QStringLiteral("t%1").arg(n); }

class ResultActionsTest : public test::FileOpsTest {
 protected:
  void SetUp() override {
    FileOpsTest::SetUp();
    store_.SettingsFilePath = Work(QStringLiteral("settings.ini"));
    ResultActions::Services services;
    services.store = &store_;
    services.text = Number;
    services.open_url = [this](const QString& path) {
      opened_ << path;
      return true;
    };
    actions_ = std::make_unique<ResultActions>(list_, prompts_, services);
    a_ = Make(QStringLiteral("pics/a.jpg"));
    b_ = Make(QStringLiteral("pics/b.jpg"));
    c_ = Make(QStringLiteral("pics/c.jpg"));
    QDir().mkpath(Work(QStringLiteral("out")));
    pics_before_ = ReadTree(Work(QStringLiteral("pics")));
  }
  void WaitIdle() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !actions_->Busy(); }, 20000));
  }
  void Run(int command) {
    ASSERT_TRUE(actions_->Execute(command));
    WaitIdle();
  }
  // Undoes and checks that the pictures are as made and the rows as before.
  void UndoAndCompare(int rows) {
    actions_->Undo();
    EXPECT_EQ(ReadTree(Work(QStringLiteral("pics"))), pics_before_);
    EXPECT_EQ(list_.RowCount(), rows);
    ExpectNothingLost({work_.path()});
  }

  CMyProfStr store_;
  test::FakeActionList list_;
  test::ScriptedPrompts prompts_;
  QStringList opened_;
  std::unique_ptr<ResultActions> actions_;
  QString a_, b_, c_;
  test::TreeBytes pics_before_;
};

TEST_F(ResultActionsTest, MoveRemovesEveryRowOfAMovedFileAndUndoBringsAllBack) {
  list_.Add(a_, b_, true, false);
  list_.Add(c_, a_, false, false);  // a's second row: its partner is not marked
  list_.Add(b_, c_, false, false);
  prompts_.folder = Work(QStringLiteral("out"));
  Run(command::kMoveMarked);
  EXPECT_EQ(ReadBytes(Work(QStringLiteral("out/a.jpg"))), BytesFor(a_, 3000));
  EXPECT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(store_.ReadString("Move_to_Folder", "folder"), prompts_.folder);
  UndoAndCompare(3);
  EXPECT_EQ(list_.PathAt(1, 1), a_) << "rows come back at their places";
  EXPECT_TRUE(ReadTree(Work(QStringLiteral("out"))).empty());
}

TEST_F(ResultActionsTest, CopyKeepsRowsAskesOnTakenNamesAndUndoTrashesTheCopies) {
  list_.Add(a_, b_, true, true);
  Make(QStringLiteral("out/b.jpg"), 100);  // a taken name: Keep both
  prompts_.folder = Work(QStringLiteral("out"));
  Run(command::kCopyMarked);
  EXPECT_EQ(prompts_.conflicts, 1);
  EXPECT_EQ(ReadBytes(Work(QStringLiteral("out/b_(1).jpg"))), BytesFor(b_, 3000));
  EXPECT_EQ(list_.RowCount(), 1);
  UndoAndCompare(1);
  EXPECT_EQ(ReadTree(Work(QStringLiteral("out"))).size(), 1u);
}

TEST_F(ResultActionsTest, NotAFolderIsToldAndNothingIsStored) {
  list_.Add(a_, b_, true, false);
  prompts_.folder = Work(QStringLiteral("no such folder"));
  Run(command::kCopyMarked);
  ASSERT_EQ(prompts_.messages.size(), 1);
  EXPECT_EQ(prompts_.messages[0], Number(100202) + ":\n" + prompts_.folder + "\n");
  EXPECT_TRUE(store_.ReadString("Move_to_Folder", "folder").isEmpty());
  prompts_.folder.clear();  // a cancelled picker does nothing at all
  Run(command::kMoveMarked);
  EXPECT_EQ(prompts_.messages.size(), 1);
}

TEST_F(ResultActionsTest, TrashAsksWithTheCountAndSparesAFilePairedWithItself) {
  list_.Add(a_, b_, true, true);
  list_.Add(c_, Work(QStringLiteral("pics/./c.jpg")), true, false);
  Run(command::kTrashMarked);
  ASSERT_EQ(prompts_.messages.size(), 1);
  EXPECT_TRUE(prompts_.messages[0].startsWith(Number(500414)));
  EXPECT_EQ(prompts_.questions, QStringList({Number(500410)}));  // "%1" of the lookup stays
  EXPECT_TRUE(QFileInfo::exists(c_));
  EXPECT_FALSE(QFileInfo::exists(a_) || QFileInfo::exists(b_));
  EXPECT_EQ(list_.RowCount(), 1);
  UndoAndCompare(2);
  prompts_.answers = {false};  // a No changes nothing
  Run(command::kTrashMarked);
  EXPECT_EQ(ReadTree(Work(QStringLiteral("pics"))), pics_before_);
}

TEST_F(ResultActionsTest, DeletePictureTakesTheSelectedRowsSide) {
  list_.Add(a_, b_);
  list_.Add(b_, c_);
  list_.current = 1;
  actions_->PictureCommand(command::kDeletePicture, 1, QStringLiteral("/pane/path/ignored.jpg"));
  WaitIdle();
  EXPECT_EQ(prompts_.questions, QStringList({Number(500410) + u'\n' + c_}));
  EXPECT_FALSE(QFileInfo::exists(c_));
  EXPECT_TRUE(QFileInfo::exists(b_));
  EXPECT_EQ(list_.RowCount(), 1);
  list_.current = -1;
  actions_->PictureCommand(command::kDeletePicture, 0, a_);
  WaitIdle();
  EXPECT_TRUE(QFileInfo::exists(a_)) << "no selected row, nothing happens";
}

TEST_F(ResultActionsTest, RenameToTakenNamesCountsUpAndNeverReplaces) {
  for (const char* name : {"taken.jpg", "noext", "full.jpg", "full_(1).jpg", "full_(2).jpg"})
    Make(QStringLiteral("pics/") + name);
  list_.Add(a_, b_);
  list_.Add(c_, b_);
  const struct {
    int row;
    int column;
    QString text;
    QString expected_name;  // empty: the cell keeps its name
  } steps[] = {
      {0, 0, "taken.jpg", "taken_(1).jpg"},
      {1, 0, "taken.jpg", "taken_(2).jpg"},
      {0, 1, "noext", "noext_(1)"},
      {0, 0, "../escape.jpg", ""},  // refused aloud
      {0, 0, QString(), ""},        // cancelled
      {0, 2, "x.jpg", ""},          // not a picture cell
      {1, 0, "full.jpg", ""},       // every numbered name taken: refused aloud
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.text.toStdString());
    const QString old_name = QFileInfo(list_.PathAt(s.row, s.column % 2)).fileName();
    actions_->Rename(s.row, s.column, s.text);
    const QString now = QFileInfo(list_.PathAt(s.row, s.column % 2)).fileName();
    EXPECT_EQ(now, s.expected_name.isEmpty() ? old_name : s.expected_name);
  }
  EXPECT_EQ(prompts_.messages.size(), 2);
  actions_->Undo();  // the rename of b to noext_(1)
  EXPECT_EQ(list_.PathAt(0, 1), b_);
  EXPECT_TRUE(QFileInfo::exists(b_));
  ExpectNothingLost({work_.path()});
}

TEST_F(ResultActionsTest, CopyOverPartnerAsksTrashesThePartnerAndUndoes) {
  list_.rows.push_back(
      {MatchResult{list_.Record(a_, 40, 30, 3000), list_.Record(b_, 20, 15, 900)}, true, false});
  const auto second = [this] { return *list_.rows[0].match.second; };
  actions_->CopyOverPartner({a_, c_}, {b_, Work(QStringLiteral("pics/./c.jpg"))});
  WaitIdle();
  EXPECT_EQ(prompts_.questions.size(), 1);
  EXPECT_EQ(ReadBytes(b_), BytesFor(a_, 3000));
  EXPECT_EQ(ReadBytes(c_), BytesFor(c_, 3000)) << "the same file is never copied over itself";
  ASSERT_EQ(prompts_.messages.size(), 1);
  EXPECT_TRUE(prompts_.messages[0].contains(FileErrorText(kErrorSameFile)));
  EXPECT_EQ(list_.refreshed, 1) << "the previews reload the changed partner";
  EXPECT_EQ(RecordPath(second()), b_);
  EXPECT_EQ(std::tuple(second().width, second().height, second().file_size),
            std::tuple(40u, 30u, std::uint64_t{3000}))
      << "the row shows the figures of the picture now in the partner's place";
  UndoAndCompare(1);
  EXPECT_EQ(std::tuple(second().width, second().height, second().file_size),
            std::tuple(20u, 15u, std::uint64_t{900}));
}

TEST_F(ResultActionsTest, ShowAndOpenUseTheDesktopAndFallBackToTheFolder) {
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
  actions_->PictureCommand(command::kOpenPicture, 0, a_);
  actions_->PictureCommand(command::kShowInFileManager, 1, b_);
  EXPECT_TRUE(QTest::qWaitFor([this] { return opened_.size() == 2; }, 10000));
  EXPECT_EQ(opened_, QStringList({a_, Work(QStringLiteral("pics"))}));
  EXPECT_TRUE(prompts_.messages.isEmpty());
}

TEST_F(ResultActionsTest, UndoWithNothingToUndoSaysSo) {
  EXPECT_FALSE(actions_->CanUndo());
  actions_->Undo();
  EXPECT_EQ(prompts_.messages, QStringList({Number(500416)}));
}

TEST_F(ResultActionsTest, MarkLargerAndRemoveRowsThroughExecute) {
  list_.rows.push_back(
      {MatchResult{list_.Record(a_, 10, 10), list_.Record(b_, 20, 20)}, true, false});
  list_.Add(b_, c_, false, false);
  Run(command::kMarkLarger);
  EXPECT_TRUE(!list_.rows[0].first_marked && list_.rows[0].second_marked);
  EXPECT_TRUE(!list_.rows[1].first_marked && !list_.rows[1].second_marked);
  Run(46000);
  EXPECT_EQ(list_.RowCount(), 1);
  EXPECT_FALSE(actions_->Execute(4711));
}

TEST(ResultContextMenu, EmptyListDisablesEveryItem) {
  for (bool empty : {true, false}) {
    std::unique_ptr<QMenu> menu(
        BuildResultContextMenu(nullptr, Number, {empty, true, false, false}));
    int items = 0, enabled = 0;
    for (QAction* action : menu->actions()) {
      items += action->isSeparator() ? 0 : 1;
      enabled += !action->isSeparator() && action->isEnabled() ? 1 : 0;
    }
    EXPECT_EQ(items, 9);
    EXPECT_EQ(enabled, empty ? 0 : items);
  }
}

}  // namespace
}  // namespace dupliora
