// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include "compare_window/result_list/result_cell_editor.h"
#include "compare_window/result_list/result_list_view.h"
#include "result_test_records.h"

namespace dupliora {
namespace {

using testing::Pair;
using testing::RecordStore;

constexpr int kRows = 40;

class ResultEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    view_ = new ResultListView(false, &window_);
    other_ = new QLineEdit(&window_);
    layout->addWidget(view_);
    layout->addWidget(other_);
    window_.resize(900, 300);
    std::vector<MatchResult> batch;
    for (int i = 0; i < kRows; ++i) {
      batch.push_back(Pair(store_.Add(QStringLiteral("/pics/first.%1.jpg").arg(i)),
                           store_.Add(QStringLiteral("/pics/second%1.png").arg(i)), 90));
    }
    view_->AppendMatches(std::move(batch));
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  QLineEdit* Editor() const { return view_->Editor(); }

  std::optional<GridCell> AfterKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Editor(), key, modifiers);
    return view_->EditedCell();
  }

  RecordStore store_;
  QWidget window_;
  ResultListView* view_ = nullptr;
  QLineEdit* other_ = nullptr;
};

TEST_F(ResultEditorTest, DoubleClickOpensWithTheRulesOfTheCell) {
  QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {},
                     view_->visualRect(view_->Model()->index(1, 2)).center());
  ASSERT_TRUE(view_->IsEditing());
  EXPECT_EQ(Editor()->selectedText(), "No-Edit");
  EXPECT_FALSE(view_->EditingPictureCell());
  EXPECT_TRUE(view_->RowToolbar(0)->isVisible());

  QTest::keyClick(Editor(), Qt::Key_Escape);
  QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, view_->LabelRect(3, 0).center());
  ASSERT_TRUE(view_->IsEditing());
  EXPECT_EQ(Editor()->text(), "first.3.jpg");
  EXPECT_EQ(Editor()->selectedText(), "first.3");
  EXPECT_TRUE(view_->EditingPictureCell());
  EXPECT_FALSE(view_->RowToolbar(0)->isVisible());
  EXPECT_TRUE(Editor()->hasFocus());
  EXPECT_GE(Editor()->geometry().left(), view_->visualRect(view_->Model()->index(3, 0)).left() + 4);
}

TEST_F(ResultEditorTest, KeysMoveTheEditor) {
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    GridCell expected;
  } steps[] = {
      {Qt::Key_Return, {}, {6, 2}},
      {Qt::Key_Return, Qt::ShiftModifier, {5, 2}},
      {Qt::Key_Tab, {}, {5, 3}},
      {Qt::Key_Backtab, Qt::ShiftModifier, {5, 2}},
      {Qt::Key_Right, Qt::ControlModifier, {5, 3}},
      {Qt::Key_Left, Qt::ControlModifier, {5, 2}},
      {Qt::Key_Down, {}, {6, 2}},
      {Qt::Key_Up, {}, {5, 2}},
      {Qt::Key_End, Qt::ControlModifier, {kRows - 1, 2}},
      {Qt::Key_Home, Qt::ControlModifier, {0, 2}},
  };
  view_->EditCell(5, 2);
  for (const auto& step : steps) {
    SCOPED_TRACE(QTest::toString(QKeySequence(step.key | step.modifiers)));
    EXPECT_EQ(AfterKey(step.key, step.modifiers), step.expected);
  }
}

TEST_F(ResultEditorTest, EndOfEditReportsTheText) {
  QSignalSpy finished(view_, &ResultListView::EditFinished);
  view_->EditCell(2, 0);
  QTest::keyClick(Editor(), Qt::Key_Return);  // unchanged
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished.at(0), (QList<QVariant>{2, -1, QString("first.2.jpg")}));

  QTest::keyClicks(Editor(), "renamed");  // replaces the selected name
  QTest::keyClick(Editor(), Qt::Key_Up);
  ASSERT_EQ(finished.count(), 2);
  EXPECT_EQ(finished.at(1), (QList<QVariant>{3, 0, QString("renamed.jpg")}));
  EXPECT_TRUE(view_->EditingPictureCell());  // open again, on row 2

  QTest::keyClick(Editor(), Qt::Key_Escape);  // cancelled: no text
  ASSERT_EQ(finished.count(), 3);
  EXPECT_EQ(finished.at(2).at(1).toInt(), 0);
  EXPECT_TRUE(finished.at(2).at(2).toString().isNull());
  EXPECT_FALSE(view_->IsEditing());
  EXPECT_FALSE(view_->EditingPictureCell());
  EXPECT_FALSE(Editor()->isVisible());
  EXPECT_TRUE(view_->hasFocus());
}

TEST_F(ResultEditorTest, LosingTheFocusEndsTheEditAndSortingCancelsIt) {
  QSignalSpy finished(view_, &ResultListView::EditFinished);
  view_->EditCell(4, 5);
  QTest::keyClicks(Editor(), "x");
  other_->setFocus();
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished.at(0), (QList<QVariant>{4, 5, QString("x")}));
  EXPECT_FALSE(view_->IsEditing());
  view_->EditCell(1, 0);
  view_->SortBySimilarity();
  ASSERT_EQ(finished.count(), 2);
  EXPECT_TRUE(finished.at(1).at(2).toString().isNull());
  EXPECT_FALSE(view_->IsEditing());
}

TEST_F(ResultEditorTest, F2CyclesTheSelection) {
  view_->EditCell(0, 1);
  EXPECT_EQ(Editor()->selectedText(), "second0");
  const char* cycle[] = {"png", "second0.png", "second0", "png"};
  for (const char* expected : cycle) {
    QTest::keyClick(Editor(), Qt::Key_F2);
    EXPECT_EQ(Editor()->selectedText().toStdString(), expected);
  }
}

TEST_F(ResultEditorTest, TypingWidensTheEditorUpToTheList) {
  view_->EditCell(0, 2);
  const int before = Editor()->width();
  QTest::keyClicks(Editor(), QString(40, u'w'));
  EXPECT_GT(Editor()->width(), before);
  QTest::keyClicks(Editor(), QString(400, u'w'));
  EXPECT_LE(Editor()->width(), view_->viewport()->width());
}

TEST(ResultEditorClose, ClosingTheListWhileEditingIsSafe) {
  RecordStore store;
  auto view = std::make_unique<ResultListView>(false, nullptr);
  view->AppendMatches({Pair(store.Add("/a.jpg"), store.Add("/b.jpg"), 90)});
  view->show();
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  QSignalSpy finished(view.get(), &ResultListView::EditFinished);
  view->EditCell(0, 0);
  ASSERT_TRUE(view->Editor()->hasFocus());
  view.reset();
  EXPECT_EQ(finished.count(), 0);
}

}  // namespace
}  // namespace dupliora
