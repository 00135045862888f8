// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_edit_logic.h"

#include <algorithm>

#include "compare_window/result_list/result_columns.h"

namespace dupliora {
namespace {

// Length of the name before its extension; a leading dot starts no extension.
int NameLength(const QString& text) {
  const int dot = text.lastIndexOf(u'.');
  return dot > 0 ? dot : static_cast<int>(text.size());
}

GridCell StepCell(GridCell cell, int step, int column_count) {
  cell.column += step;
  if (cell.column >= column_count) {
    cell.column = 0;
    ++cell.row;
  } else if (cell.column < 0) {
    cell.column = column_count - 1;
    --cell.row;
  }
  return cell;
}

}  // namespace

std::optional<GridCell> EditMoveTarget(EditMove move, GridCell from, int row_count,
                                       int column_count, int page_rows) {
  if (row_count <= 0 || column_count <= 0) return std::nullopt;
  const int last = row_count - 1;
  const int page = std::max(1, page_rows);
  GridCell to = from;
  switch (move) {
    case EditMove::kNextRow:
      to.row = from.row + 1;
      break;
    case EditMove::kPreviousRow:
      to.row = from.row - 1;
      break;
    case EditMove::kNextCell:
      to = StepCell(from, 1, column_count);
      break;
    case EditMove::kPreviousCell:
      to = StepCell(from, -1, column_count);
      break;
    case EditMove::kFirstRow:
      to.row = 0;
      break;
    case EditMove::kLastRow:
      to.row = last;
      break;
    case EditMove::kPageDown:
      to.row = std::min(from.row + page, last);
      break;
    case EditMove::kPageUp:
      to.row = std::max(from.row - page, 0);
      break;
  }
  if (to.row < 0 || to.row > last || to == from) return std::nullopt;
  return to;
}

std::optional<GridCell> SkipNarrowColumns(GridCell target, int step,
                                          const std::vector<int>& column_widths, int row_count) {
  const int column_count = static_cast<int>(column_widths.size());
  const int step_sign = step < 0 ? -1 : 1;
  GridCell cell = target;
  for (int skips = 0; cell.column != 0 && column_widths[cell.column] < kNarrowColumnWidth;
       ++skips) {
    if (skips >= 2 * column_count) return std::nullopt;
    cell = StepCell(cell, step_sign, column_count);
    if (cell.row < 0 || cell.row >= row_count) return std::nullopt;
  }
  return cell;
}

EditBegin BeginEditText(int column, const QString& cell_text) {
  EditBegin begin;
  if (!IsPathColumn(column)) {
    begin.text = kNoEditText;
    begin.select_length = static_cast<int>(begin.text.size());
    return begin;
  }
  begin.picture_cell = true;
  begin.text = cell_text.mid(cell_text.lastIndexOf(u'/') + 1);
  begin.select_length = NameLength(begin.text);
  return begin;
}

TextSelection F2Selection(const QString& text, int state) {
  const int length = static_cast<int>(text.size());
  const int name = NameLength(text);
  switch (state % kF2States) {
    case 1:
      return {0, name};
    case 2:
      return name < length ? TextSelection{name + 1, length - name - 1} : TextSelection{length, 0};
    default:
      return {0, length};
  }
}

}  // namespace dupliora
