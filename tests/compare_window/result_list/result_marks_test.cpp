// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>

#include "compare_window/result_list/result_rows.h"
#include "core/command_ids.h"
#include "engine/record_path.h"
#include "result_test_records.h"

namespace dupliora {
namespace {

using testing::Pair;
using testing::RecordSpec;
using testing::RecordStore;

class ResultMarksTest : public ::testing::Test {
 protected:
  // Four rows with the four mark combinations: (0,0) (1,0) (0,1) (1,1).
  void SetUp() override {
    for (int row = 0; row < 4; ++row) {
      const auto* first = store_.Add(QStringLiteral("/p/first%1.jpg").arg(row));
      const auto* second = store_.Add(QStringLiteral("/p/second%1.jpg").arg(row));
      table_.Append({Pair(first, second, 90)});
    }
    for (int row = 0; row < 4; ++row) {
      table_.SetMarked(row, 0, row & 1);
      table_.SetMarked(row, 1, row & 2);
    }
  }

  std::vector<std::pair<bool, bool>> Marks() const {
    std::vector<std::pair<bool, bool>> marks;
    for (int row = 0; row < table_.size(); ++row) {
      marks.emplace_back(table_.IsMarked(row, 0), table_.IsMarked(row, 1));
    }
    return marks;
  }

  RecordStore store_;
  ResultRowTable table_;
};

// Swap and invert change the marks; other commands change nothing.
TEST_F(ResultMarksTest, MarkCommands) {
  using MarkList = std::vector<std::pair<bool, bool>>;
  const MarkList before = Marks();
  for (int command : {command::kCopyOverPartner, 0, 45998}) {
    SCOPED_TRACE(command);
    EXPECT_FALSE(table_.ApplyMarkCommand(command));
    EXPECT_EQ(Marks(), before);
  }
  EXPECT_TRUE(table_.ApplyMarkCommand(command::kSwapMarks));
  EXPECT_EQ(Marks(), (MarkList{{false, false}, {false, true}, {true, false}, {true, true}}));
  EXPECT_TRUE(table_.ApplyMarkCommand(command::kInvertMarks));
  EXPECT_EQ(Marks(), (MarkList{{true, true}, {true, false}, {false, true}, {false, false}}));
}

TEST_F(ResultMarksTest, CopyOverPartnerTakesRowsWithOneMark) {
  const CopyOverPartnerList pairs = table_.CopyOverPartnerPairs();
  EXPECT_EQ(pairs.sources, (QStringList{"/p/first1.jpg", "/p/second2.jpg"}));
  EXPECT_EQ(pairs.targets, (QStringList{"/p/second1.jpg", "/p/first2.jpg"}));
  table_.SetColumnMarks(0, false);
  table_.SetColumnMarks(1, false);
  EXPECT_TRUE(table_.CopyOverPartnerPairs().sources.isEmpty());
}

TEST_F(ResultMarksTest, RemoveRowsTakesAnyOrderAndIgnoresStrangers) {
  table_.RemoveRows({3, 1, 3, -1, 17});
  ASSERT_EQ(table_.size(), 2);
  EXPECT_FALSE(table_.IsMarked(0, 0));  // row 0 (0,0)
  EXPECT_TRUE(table_.IsMarked(1, 1));   // row 2 (0,1)
  EXPECT_FALSE(table_.IsMarked(1, 0));
}

// A picture copied over its partner: each cell of the partner's path, in any
// row, shows the copied picture's figures under the partner's own path.
TEST_F(ResultMarksTest, CopiedOverPartnerTakesTheFiguresKeepsItsPath) {
  const ImageRecord* big = store_.Add(RecordSpec{"/p/big.jpg", 4000, 3000, 0, 5000000});
  table_.Append({Pair(store_.Add(QStringLiteral("/p/second1.jpg")), big, 80)});
  EXPECT_EQ(table_.ReplaceRecordFigures("/p/second1.jpg", *big), (std::vector<int>{1, 4}));
  for (const ImageRecord* record : {table_.Row(1).match.second, table_.Row(4).match.first}) {
    EXPECT_EQ(RecordPath(*record), "/p/second1.jpg");
    EXPECT_EQ(record->width, 4000u);
    EXPECT_EQ(record->file_size, 5000000u);
  }
  EXPECT_EQ(table_.Row(4).match.second, big) << "the copied picture's own record stays";
  EXPECT_TRUE(table_.ReplaceRecordFigures("/p/nowhere.jpg", *big).empty());
}

}  // namespace
}  // namespace dupliora
