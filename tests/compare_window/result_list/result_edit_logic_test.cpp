// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_edit_logic.h"

#include <gtest/gtest.h>

#include "result_test_records.h"

namespace dupliora {
namespace {

TEST(EditMoveTarget, MovesAndEdges) {
  using M = EditMove;
  // Five rows, four columns, two rows per page.
  // The plain moves inside the grid are walked by the editor test with its keys.
  const struct {
    M move;
    GridCell from;
    std::optional<GridCell> to;
  } cases[] = {
      {M::kNextRow, {4, 1}, std::nullopt},    {M::kPreviousRow, {0, 1}, std::nullopt},
      {M::kNextCell, {2, 3}, GridCell{3, 0}}, {M::kPreviousCell, {2, 0}, GridCell{1, 3}},
      {M::kNextCell, {4, 3}, std::nullopt},   {M::kPreviousCell, {0, 0}, std::nullopt},
      {M::kLastRow, {4, 2}, std::nullopt},    {M::kPageDown, {1, 1}, GridCell{3, 1}},
      {M::kPageDown, {3, 1}, GridCell{4, 1}}, {M::kPageDown, {4, 1}, std::nullopt},
      {M::kPageUp, {1, 1}, GridCell{0, 1}},   {M::kPageUp, {0, 1}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << static_cast<int>(c.move) << " from " << c.from.row << "," << c.from.column);
    EXPECT_EQ(EditMoveTarget(c.move, c.from, 5, 4, 2), c.to);
  }
  EXPECT_EQ(EditMoveTarget(M::kNextRow, {0, 0}, 0, 4, 2), std::nullopt);
}

TEST(SkipNarrowColumns, StepsInTheDirectionOfTravel) {
  const std::vector<int> widths = {270, 5, 0, 80};  // 5: too narrow, 0: hidden
  EXPECT_EQ(SkipNarrowColumns({0, 1}, 1, widths, 3), (GridCell{0, 3}));
  EXPECT_EQ(SkipNarrowColumns({1, 2}, -1, widths, 3), (GridCell{1, 0}));
  EXPECT_EQ(SkipNarrowColumns({1, 3}, 1, widths, 3), (GridCell{1, 3}));
  const std::vector<int> only_first = {270, 0, 0};
  EXPECT_EQ(SkipNarrowColumns({0, 1}, 1, only_first, 2), (GridCell{1, 0}));
  EXPECT_EQ(SkipNarrowColumns({1, 1}, 1, only_first, 2), std::nullopt);  // off the last row
  EXPECT_EQ(SkipNarrowColumns({0, 0}, 1, {0, 0}, 2), (GridCell{0, 0}));  // column 0 stays
}

// A name with several dots and a text cell are opened by the editor test.
TEST(BeginEditText, PictureCellsShowTheFileName) {
  const struct {
    int column;
    const char* cell;
    const char* text;
    int select_length;
    bool picture;
  } cases[] = {
      {1, "/pics/README", "README", 6, true},
      {1, "/pics/.hidden", ".hidden", 7, true},
      {0, "plain.png", "plain.png", 5, true},
      {9, "", "No-Edit", 7, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cell);
    const EditBegin begin = BeginEditText(c.column, QString::fromUtf8(c.cell));
    EXPECT_EQ(begin.text.toStdString(), c.text);
    EXPECT_EQ(begin.select_start, 0);
    EXPECT_EQ(begin.select_length, c.select_length);
    EXPECT_EQ(begin.picture_cell, c.picture);
  }
}

// The editor test walks the cycle of a name with an extension; these are its edges.
TEST(F2Selection, NamesWithoutExtension) {
  EXPECT_EQ(F2Selection("photo.jpeg", 3), (TextSelection{0, 10}));
  EXPECT_EQ(F2Selection("README", 2), (TextSelection{6, 0}));
  EXPECT_EQ(F2Selection("", 1), (TextSelection{0, 0}));
}

}  // namespace
}  // namespace dupliora
