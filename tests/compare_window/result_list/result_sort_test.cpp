// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_sort.h"

#include <gtest/gtest.h>

#include "compare_window/result_list/result_rows.h"
#include "result_test_records.h"

namespace dupliora {
namespace {

using testing::Pair;
using testing::RecordSpec;
using testing::RecordStore;

TEST(ComparePaths, FoldsOnlyAsciiLetters) {
  const struct {
    const char16_t* a;
    const char16_t* b;
    int sign;
  } cases[] = {
      {u"/A/b.JPG", u"/a/B.jpg", 0}, {u"/a/x", u"/a/y", -1},     {u"/a/Y", u"/a/x", 1},
      {u"/a", u"/a/b", -1},          {u"\u00C4", u"\u00E4", -1}, {u"_", u"a", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.a).toStdString());
    const int result = ComparePathsFoldingAscii(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign);
  }
}

class ResultSortTest : public ::testing::Test {
 protected:
  // Rows named by their similarity, with the other keys scattered.
  void SetUp() override {
    const auto* small = store_.Add(RecordSpec{"/p/c.jpg", 100, 100, 10, 5'000'000'000ULL});
    const auto* wide = store_.Add(RecordSpec{"/p/A.jpg", 900, 100, 90, 10});
    const auto* mid = store_.Add(RecordSpec{"/p/b.jpg", 500, 100, 50, 4'000'000'000ULL});
    matches_ = {Pair(mid, small, 91, 95, 0, 0, 0), Pair(small, wide, 99, 100, 270, 1, 0),
                Pair(wide, mid, 93, 97, 90, 2, 1), Pair(small, mid, 95, 99, 180, 0, 1)};
    table_.Append(matches_);
  }

  // Sorts a fresh table in the original order 91, 99, 93, 95.
  std::vector<int> SimilaritiesAfter(int column, bool descending) {
    ResultRowTable table;
    table.Append(matches_);
    table.SetSortColumn(column, descending);
    std::vector<int> order;
    for (const ResultRow& row : table.Rows()) order.push_back(row.match.similarity);
    return order;
  }

  std::vector<MatchResult> matches_;

  RecordStore store_;
  ResultRowTable table_;
};

TEST_F(ResultSortTest, OrdersOfEveryColumn) {
  const struct {
    int column;
    bool descending;
    std::vector<int> similarities;
  } cases[] = {
      {2, true, {99, 95, 93, 91}},  // after a run: most similar first
      {2, false, {91, 93, 95, 99}},
      {0, false, {93, 91, 99, 95}},  // A.jpg before b.jpg before c.jpg, case folded
      {1, true, {91, 93, 95, 99}},
      {3, false, {91, 93, 95, 99}},
      {4, false, {99, 95, 91, 93}},  // first picture's width, smallest first
      {4, true, {93, 91, 99, 95}},
      {5, false, {91, 93, 95, 99}},
      {6, false, {99, 95, 91, 93}},
      {8, false, {99, 95, 93, 91}},  // ascending puts the largest rotation first
      {8, true, {91, 93, 95, 99}},
      {9, false, {93, 99, 91, 95}},
      {10, false, {93, 95, 91, 99}},  // equal negative flags keep their order
      {10, true, {91, 99, 93, 95}},
      {11, false, {93, 91, 99, 95}},  // sizes beyond 32 bits
      {12, true, {91, 93, 95, 99}},   // ties keep their order
      {13, true, {91, 99, 93, 95}},   // diagnostic columns and strangers keep the order
      {14, false, {91, 99, 93, 95}},
      {15, true, {91, 99, 93, 95}},
      {40, false, {91, 99, 93, 95}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "column " << c.column << " desc " << c.descending);
    EXPECT_EQ(SimilaritiesAfter(c.column, c.descending), c.similarities);
  }
}

TEST_F(ResultSortTest, MarksTravelWithTheirRowsAndColumnsAreRemembered) {
  table_.SetMarked(1, 0, true);  // similarity 99
  const std::vector<int> order = table_.SetSortColumn(2, true);
  EXPECT_EQ(order, (std::vector<int>{1, 3, 2, 0}));
  EXPECT_TRUE(table_.IsMarked(0, 0));
  EXPECT_FALSE(table_.IsMarked(1, 0));
  EXPECT_EQ(table_.PreviousSortColumn(), -1);
  table_.SetSortColumn(4, false);
  EXPECT_EQ(table_.SortColumn(), 4);
  EXPECT_EQ(table_.PreviousSortColumn(), 2);
  EXPECT_FALSE(table_.Descending());
}

TEST(CompareRows, RowsWithoutRecordsSortBeforeTheOthers) {
  RecordStore store;
  const auto* a = store.Add("/a");
  const MatchResult whole = Pair(a, a, 80);
  const MatchResult broken = Pair(a, nullptr, 99);
  ResultRowTable table;
  table.Append({whole, broken, whole});
  table.SetSortColumn(2, false);
  EXPECT_EQ(table.Row(0).match.second, nullptr);
  table.SetSortColumn(0, true);
  EXPECT_EQ(table.Row(2).match.second, nullptr);
}

}  // namespace
}  // namespace dupliora
