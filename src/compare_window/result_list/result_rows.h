// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QStringList>
#include <vector>

#include "compare_window/result_list/result_sort.h"

namespace dupliora {

// Command 57641: every marked picture is copied over its unmarked partner,
// sources[i] onto targets[i].
struct CopyOverPartnerList {
  QStringList sources;
  QStringList targets;
};

// The rows of the result list with their marks and sort state, free of any
// widget: the list model maps this to the view.
class ResultRowTable {
 public:
  int size() const { return static_cast<int>(rows_.size()); }
  const ResultRow& Row(int row) const { return rows_[row]; }
  const std::vector<ResultRow>& Rows() const { return rows_; }

  // New rows go to the end, both pictures unmarked.
  void Append(std::vector<MatchResult> batch);
  void Clear() { rows_.clear(); }
  // Rows by index, any order; indexes out of range are ignored.
  void RemoveRows(const std::vector<int>& rows);

  // Sorts with CompareRows and remembers the column; returns the new order
  // (element i is the old index of the row now at i).
  std::vector<int> SetSortColumn(int column, bool descending);
  int SortColumn() const { return sort_column_; }
  int PreviousSortColumn() const { return previous_column_; }
  bool Descending() const { return descending_; }

  // Marks: column 0 is the first picture, column 1 the second.
  bool IsMarked(int row, int column) const;
  void SetMarked(int row, int column, bool marked);
  void ToggleMark(int row, int column);
  void SetColumnMarks(int column, bool marked);
  // True when every row is marked in the column; an empty table counts as all marked.
  bool AllMarked(int column) const;

  // 45997 swaps the two marks of every row, 34134 inverts them; false for any
  // other command.
  bool ApplyMarkCommand(int command);
  // Rows with exactly one mark: the marked picture is the source.
  CopyOverPartnerList CopyOverPartnerPairs() const;

 private:
  std::vector<ResultRow> rows_;
  int sort_column_ = -1;
  int previous_column_ = -1;
  bool descending_ = false;
};

}  // namespace dupliora
