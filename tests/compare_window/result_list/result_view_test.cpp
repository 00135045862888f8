// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStyleOptionHeader>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "compare_window/result_list/result_header.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/result_list/result_painting.h"
#include "core/command_ids.h"
#include "result_test_records.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

using testing::Pair;
using testing::RecordSpec;
using testing::RecordStore;

struct SettingWrite {
  QString section;
  QString key;
  int value;
  bool operator==(const SettingWrite&) const = default;
};

class ResultViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view_.resize(1000, 300);
    view_.SetSettingWriter([this](const QString& section, const IniEntries& values) {
      for (const auto& [key, value] : values) writes_.push_back({section, key, value.toInt()});
    });
    view_.show();
  }

  // Rows with similarity 90, 95, 80; widths 300, 100, 200; rotations 0, 90, 270.
  void AddRows() {
    const int similarity[] = {90, 95, 80};
    const std::uint32_t width[] = {300, 100, 200};
    const int rotation[] = {0, 90, 270};
    std::vector<MatchResult> batch;
    for (int i = 0; i < 3; ++i) {
      const auto* a = store_.Add(RecordSpec{QStringLiteral("/pics/a%1.jpg").arg(i), width[i]});
      const auto* b = store_.Add(QStringLiteral("/pics/b%1.png").arg(i));
      batch.push_back(Pair(a, b, similarity[i], 100, rotation[i]));
    }
    view_.AppendMatches(std::move(batch));
  }

  std::vector<int> Similarities() const {
    std::vector<int> result;
    for (int row = 0; row < view_.RowCount(); ++row)
      result.push_back(view_.MatchAt(row)->similarity);
    return result;
  }

  QPoint HeaderPoint(int section) const {
    auto* header = view_.horizontalHeader();
    return {header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
            header->height() / 2};
  }

  void ClickHeaderBox(int section) {
    auto* header = static_cast<ResultHeaderView*>(view_.horizontalHeader());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      header->CheckBoxRect(section).center());
  }

  RecordStore store_;
  ResultListView view_{false, nullptr};
  std::vector<SettingWrite> writes_;
};

TEST_F(ResultViewTest, ModelStaysConsistentThroughEveryChange) {
  QAbstractItemModelTester tester(view_.Model(),
                                  QAbstractItemModelTester::FailureReportingMode::Fatal);
  AddRows();
  AddRows();
  view_.SelectAll();
  view_.SortBySimilarity();
  view_.SetColumnMarks(1, true);
  view_.ApplyMarkCommand(command::kSwapMarks);
  view_.RemoveRows({0, 2, 3});
  EXPECT_EQ(view_.RowCount(), 3);
  view_.Clear();
  EXPECT_EQ(view_.RowCount(), 0);
}

TEST_F(ResultViewTest, CellTextsAndPathTooltips) {
  AddRows();
  const QModelIndex similarity = view_.Model()->index(1, 2);
  EXPECT_TRUE(similarity.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
  const auto tip = [this](int column) {
    return view_.Model()->index(1, column).data(Qt::ToolTipRole).toString();
  };
  EXPECT_EQ(tip(0), "/pics/a1.jpg");  // the whole path, whatever the column shows
  EXPECT_EQ(tip(1), "/pics/b1.png");
  EXPECT_TRUE(tip(2).isEmpty());
}

TEST(ResultViewColumns, DiagnosticColumnsFollowTheMarkerFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString saved = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  const auto touch = [&folder](const char* name) {
    return test::WriteBytes(QDir(folder.path()).filePath(name), {});
  };
  ASSERT_TRUE(touch("notes.dswx"));  // only the .dsw suffix counts
  const int plain = ResultListView().Model()->columnCount();
  ASSERT_TRUE(touch("work.dsw"));
  const int diagnostic = ResultListView().Model()->columnCount();
  QDir::setCurrent(saved);
  EXPECT_EQ(plain, kResultColumnsPlain);
  EXPECT_EQ(diagnostic, kResultColumnsDiagnostic);
}

// The arrow the header paints on a section: up for ascending, down for descending.
struct HeaderArrowProbe : ResultHeaderView {
  static QStyleOptionHeader::SortIndicator Arrow(const QHeaderView* header, int section) {
    QStyleOptionHeader option;
    const auto init = &HeaderArrowProbe::initStyleOptionForIndex;
    (static_cast<const ResultHeaderView*>(header)->*init)(&option, section);
    return option.sortIndicator;
  }
};

TEST_F(ResultViewTest, HeaderClicksFlipTheDirectionMoveTheArrowAndWriteTheSettings) {
  AddRows();
  const QHeaderView* header = view_.horizontalHeader();
  EXPECT_TRUE(header->isSortIndicatorShown());
  EXPECT_EQ(HeaderArrowProbe::Arrow(header, 2), QStyleOptionHeader::None);
  view_.SortBySimilarity();
  EXPECT_EQ(Similarities(), (std::vector<int>{95, 90, 80}));
  EXPECT_EQ(HeaderArrowProbe::Arrow(header, 2), QStyleOptionHeader::SortDown);
  EXPECT_TRUE(writes_.empty());

  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, HeaderPoint(4));
  EXPECT_EQ(Similarities(), (std::vector<int>{95, 80, 90}));  // widths 100, 200, 300
  EXPECT_EQ(HeaderArrowProbe::Arrow(header, 4), QStyleOptionHeader::SortUp);
  EXPECT_EQ(HeaderArrowProbe::Arrow(header, 2), QStyleOptionHeader::None);
  EXPECT_EQ(writes_, (std::vector<SettingWrite>{{"Program", "sort_col", 4},
                                                {"Program", "SortDescending", 0}}));

  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, HeaderPoint(4));
  EXPECT_EQ(Similarities(), (std::vector<int>{90, 80, 95}));
  EXPECT_EQ(writes_.back(), (SettingWrite{"Program", "SortDescending", 1}));

  // The flag flips whichever column is clicked: column 8 now sorts ascending,
  // which lists the largest rotation first.
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, HeaderPoint(8));
  EXPECT_EQ(Similarities(), (std::vector<int>{80, 95, 90}));
  EXPECT_EQ(header->sortIndicatorSection(), 8);
}

// A language switch retitles every column and widens a column to its new title, never narrows it.
TEST_F(ResultViewTest, LanguageTitlesColumnsThatWidenButNeverNarrow) {
  QString language = "en";
  view_.SetTextLookup([&language](int n) { return QStringLiteral("%1-%2").arg(language).arg(n); });
  auto* header = static_cast<ResultHeaderView*>(view_.horizontalHeader());
  EXPECT_GE(header->sectionSize(4),
            view_.fontMetrics().horizontalAdvance(QStringLiteral("8888 x 8888")));
  for (int column = 0; column < view_.Model()->columnCount(); ++column) {
    SCOPED_TRACE(column);
    EXPECT_GE(header->sectionSize(column), header->TitleWidth(column));
  }
  language = "de in a much longer wording";
  view_.RefreshLanguageTexts();
  const auto title = [this](int column) {
    return view_.Model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  };
  EXPECT_EQ(title(5), language + "-2001 (2)");
  EXPECT_EQ(title(6), language + "-300105 (1)");
  EXPECT_EQ(title(11), language + "-2007 (1)");  // file size, told apart from the pixel size
  EXPECT_EQ(title(12), language + "-2007 (2)");
  EXPECT_GE(header->sectionSize(4), header->TitleWidth(4));
  const int widened = header->sectionSize(4);
  language = "de";
  view_.RefreshLanguageTexts();
  EXPECT_EQ(header->sectionSize(4), widened);
}

TEST_F(ResultViewTest, SortingKeepsTheSelectionWithItsRowAndInvertFlipsIt) {
  AddRows();
  view_.selectRow(2);  // similarity 80
  view_.SortBySimilarity();
  EXPECT_EQ(view_.SelectedRows(), (std::vector<int>{2}));
  view_.SetSortColumn(2, false);
  EXPECT_EQ(view_.SelectedRows(), (std::vector<int>{0}));
  EXPECT_EQ(view_.CurrentMatch()->similarity, 80);
  view_.InvertSelection();
  EXPECT_EQ(view_.SelectedRows(), (std::vector<int>{1, 2}));
}

TEST_F(ResultViewTest, HeaderCheckBoxCycle) {
  AddRows();
  view_.SetMarked(1, 0, true);
  EXPECT_FALSE(view_.HeaderMarkChecked(0));
  ClickHeaderBox(0);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(view_.IsMarked(row, 0));
  EXPECT_TRUE(view_.HeaderMarkChecked(0));
  EXPECT_FALSE(view_.HeaderMarkChecked(1));
  EXPECT_TRUE(writes_.empty());  // a box click is no sort
  ClickHeaderBox(0);
  for (int row = 0; row < 3; ++row) EXPECT_FALSE(view_.IsMarked(row, 0));
  EXPECT_FALSE(view_.HeaderMarkChecked(0));
  // Single toggles leave the header box alone.
  view_.SetColumnMarks(1, true);
  EXPECT_FALSE(view_.HeaderMarkChecked(1));
  // On an empty list the box stays checked: every row of nothing is marked.
  view_.Clear();
  ClickHeaderBox(1);
  EXPECT_TRUE(view_.HeaderMarkChecked(1));
  ClickHeaderBox(1);
  EXPECT_TRUE(view_.HeaderMarkChecked(1));
}

TEST_F(ResultViewTest, ClickOnAMarkTogglesItAndRefreshesThePreviewSoon) {
  AddRows();
  view_.selectRow(0);
  QSignalSpy refresh(&view_, &ResultListView::PreviewRefreshRequested);
  QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, view_.ImageRect(0, 1).center());
  EXPECT_TRUE(view_.IsMarked(0, 1));
  EXPECT_FALSE(view_.IsMarked(0, 0));
  EXPECT_TRUE(view_.PreviewRefreshPending());
  ASSERT_TRUE(refresh.wait(1000));
  EXPECT_EQ(refresh.at(0).at(0).value<const MatchResult*>(), view_.MatchAt(0));
  EXPECT_FALSE(refresh.at(0).at(1).toBool());
  EXPECT_TRUE(refresh.at(0).at(2).toBool());

  // The text part of the cell selects instead.
  QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, view_.LabelRect(2, 0).center());
  EXPECT_FALSE(view_.IsMarked(2, 0));
  EXPECT_EQ(view_.SelectedRows(), (std::vector<int>{2}));
}

TEST_F(ResultViewTest, SelectingARowShowsThePairAndPlacesTheToolbars) {
  AddRows();
  QSignalSpy shown(&view_, &ResultListView::CurrentPairChanged);
  view_.selectRow(1);
  ASSERT_EQ(shown.count(), 1);
  EXPECT_EQ(shown.at(0).at(0).value<const MatchResult*>(), view_.MatchAt(1));
  for (int column : {0, 1}) {
    SCOPED_TRACE(column);
    QToolBar* bar = view_.RowToolbar(column);
    const QRect label = view_.LabelRect(1, column);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().right(), label.right());
    EXPECT_EQ(bar->geometry().top(), label.top() - 3);
    EXPECT_EQ(bar->geometry().bottom(), label.bottom() + 2);
  }
  // A path that just fits its column is cut before the toolbars on their row only.
  const QString path = view_.model()->index(1, 0).data().toString();
  const int margin = view_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
  const int fitting = view_.fontMetrics().horizontalAdvance(path) + 2 * margin + 2;
  view_.setColumnWidth(0, view_.columnWidth(0) - view_.LabelRect(1, 0).width() + fitting);
  EXPECT_EQ(view_.ShownText(0, 0), view_.model()->index(0, 0).data().toString());
  const QString cut = view_.ShownText(1, 0);
  EXPECT_TRUE(cut.contains(QChar(0x2026))) << cut.toStdString();
  EXPECT_LE(view_.fontMetrics().horizontalAdvance(cut),
            fitting - 2 * margin - view_.RowToolbar(0)->width());
  view_.selectRow(0);
  EXPECT_EQ(view_.ShownText(1, 0), path);
  view_.selectRow(1);

  QSignalSpy command(&view_, &ResultListView::RowToolbarCommand);
  view_.RowToolbar(1)->actions().at(1)->trigger();
  ASSERT_EQ(command.count(), 1);
  EXPECT_EQ(command.at(0), (QList<QVariant>{command::kDeletePicture, 1, 1}));

  view_.SetShowRowToolbars(false);
  EXPECT_FALSE(view_.RowToolbar(0)->isVisible());
}

// Panes, captions and row toolbars follow one row, and it is a selected one.
TEST_F(ResultViewTest, ShownRowFollowsShrinkingAndGrowingSelections) {
  AddRows();
  AddRows();
  view_.setFocus();
  const auto click = [this](int row, Qt::KeyboardModifiers held = {}) {
    QTest::mouseClick(view_.viewport(), Qt::LeftButton, held, view_.LabelRect(row, 0).center());
  };
  const auto key = [this](Qt::Key key, Qt::KeyboardModifiers held = {}) {
    QTest::keyClick(&view_, key, held);
  };
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const struct {
    const char* label;
    std::function<void()> act;
    int shown;
  } steps[] = {
      {"ctrl-click 0, 2, 3", [&] { click(0, ctrl), click(2, ctrl), click(3, ctrl); }, 3},
      {"plain click on 0 shrinks to 0", [&] { click(0); }, 0},
      {"click 1, Ctrl+A, Right", [&] { click(1), view_.SelectAll(), key(Qt::Key_Right); }, 1},
      {"ctrl-click 1 away: last selected", [&] { click(1, ctrl); }, 5},
      {"Home", [&] { key(Qt::Key_Home); }, 0},
      {"End", [&] { key(Qt::Key_End); }, 5},
      {"Ctrl+Home", [&] { key(Qt::Key_Home, ctrl); }, 0},
      {"Ctrl+End", [&] { key(Qt::Key_End, ctrl); }, 5},
  };
  QSignalSpy shown(&view_, &ResultListView::CurrentPairChanged);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.label);
    step.act();
    EXPECT_EQ(view_.ShownRow(), step.shown);
    if (step.shown == 0) EXPECT_EQ(view_.SelectedRows(), std::vector<int>{0});  // alone
    ASSERT_GT(shown.count(), 0);
    EXPECT_EQ(shown.last().at(0).value<const MatchResult*>(), view_.MatchAt(step.shown));
    EXPECT_EQ(view_.RowToolbar(0)->geometry().top(), view_.LabelRect(step.shown, 0).top() - 3);
  }
  view_.clearSelection();
  EXPECT_EQ(view_.ShownRow(), -1);
  EXPECT_FALSE(view_.RowToolbar(0)->isVisible());
}

TEST_F(ResultViewTest, StoredColumnWidthsRoundTripAndDamagedOnesChangeNothing) {
  QStringList widths;
  for (int column = 0; column < view_.Model()->columnCount(); ++column)
    widths << QString::number(40 + column);
  const QString good = widths.join(';');
  view_.RestoreColumnWidths(good);
  EXPECT_EQ(view_.StoredColumnWidths(), good);
  QStringList too_wide = widths, not_a_number = widths;
  too_wide[1] = "99999";
  not_a_number[2] = "x";
  for (const QString& damaged :
       {QString(), QString("40;41"), too_wide.join(';'), not_a_number.join(';'), good + ";50"}) {
    SCOPED_TRACE(damaged.toStdString());
    view_.RestoreColumnWidths(damaged);
    EXPECT_EQ(view_.StoredColumnWidths(), good);
  }
}

TEST_F(ResultViewTest, MarkCommandsReachTheRows) {
  AddRows();
  view_.SetMarked(0, 1, true);
  QSignalSpy copy(&view_, &ResultListView::CopyOverPartnerRequested);
  view_.ApplyMarkCommand(command::kCopyOverPartner);
  ASSERT_EQ(copy.count(), 1);
  EXPECT_EQ(copy.at(0).at(0).toStringList(), (QStringList{"/pics/b0.png"}));
  EXPECT_EQ(copy.at(0).at(1).toStringList(), (QStringList{"/pics/a0.jpg"}));
  // Without a row marked on one side only the command does nothing at all.
  view_.SetColumnMarks(0, true);
  view_.SetColumnMarks(1, true);
  view_.ApplyMarkCommand(command::kCopyOverPartner);
  EXPECT_EQ(copy.count(), 1);
}

TEST_F(ResultViewTest, LeftAndRightToggleTheMarksOfSelectedRows) {
  AddRows();
  view_.setFocus();
  view_.selectRow(0);
  view_.selectionModel()->select(view_.Model()->index(2, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::keyClick(&view_, Qt::Key_Left);
  EXPECT_TRUE(view_.IsMarked(0, 0));
  EXPECT_FALSE(view_.IsMarked(1, 0));
  EXPECT_TRUE(view_.IsMarked(2, 0));
  QTest::keyClick(&view_, Qt::Key_Right);
  EXPECT_TRUE(view_.IsMarked(2, 1));
  QTest::keyClick(&view_, Qt::Key_Right, Qt::ShiftModifier);  // modifiers: the list's own key
  EXPECT_TRUE(view_.IsMarked(2, 1));
  view_.SetLeftRightMarks(false);
  QTest::keyClick(&view_, Qt::Key_Left);
  EXPECT_TRUE(view_.IsMarked(0, 0));
}

TEST_F(ResultViewTest, RowsArrivingWithRedrawOffAreInsertedTogether) {
  QSignalSpy inserted(view_.Model(), &QAbstractItemModel::rowsInserted);
  view_.SetRedraw(false);
  AddRows();
  AddRows();
  EXPECT_EQ(view_.RowCount(), 6);
  EXPECT_EQ(view_.MatchAt(4)->similarity, 95);
  EXPECT_FALSE(view_.IsMarked(4, 0));
  EXPECT_EQ(view_.Model()->rowCount(), 0);
  ASSERT_TRUE(inserted.wait(1000));  // shown after a moment even while redraw stays off
  EXPECT_EQ(inserted.count(), 1);
  EXPECT_EQ(view_.Model()->rowCount(), 6);

  AddRows();
  view_.SetRedraw(true);
  EXPECT_EQ(view_.Model()->rowCount(), 9);
  AddRows();
  EXPECT_EQ(view_.Model()->rowCount(), 12);
  view_.SetRedraw(false);
  AddRows();
  view_.Clear();
  EXPECT_EQ(view_.RowCount(), 0);
  QTest::qWait(kHeldRowsMs * 2);
  EXPECT_EQ(view_.Model()->rowCount(), 0);
}

}  // namespace
}  // namespace dupliora
