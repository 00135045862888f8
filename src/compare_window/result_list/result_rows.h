// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QStringList>
#include <array>
#include <deque>
#include <utility>
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
  void Clear() {
    rows_.clear();
    renamed_.clear();
  }
  // Rows by index, any order; indexes out of range are ignored.
  void RemoveRows(const std::vector<int>& rows);
  // Puts rows back at their positions (ascending), as far as the table reaches.
  void InsertRows(const std::vector<std::pair<int, ResultRow>>& rows);
  // A renamed file: every record of that path is replaced by a copy with the
  // new path (records are shared with the image cache and never written).
  // Returns the rows that changed.
  std::vector<int> ReplaceRecordPath(const QString& old_path, const QString& new_path);
  // A file copied over another: every record of `path` is replaced by a copy
  // of `figures` under that path. Returns the rows that changed.
  std::vector<int> ReplaceRecordFigures(const QString& path, const ImageRecord& figures);

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
  // Both marks of every row; a shorter list leaves the remaining rows alone.
  void SetAllMarks(const std::vector<std::array<bool, 2>>& marks);

  // 45997 swaps the two marks of every row, 34134 inverts them; false for any
  // other command.
  bool ApplyMarkCommand(int command);
  // Rows with exactly one mark: the marked picture is the source.
  CopyOverPartnerList CopyOverPartnerPairs() const;

 private:
  std::vector<ResultRow> rows_;
  std::deque<ImageRecord> renamed_;  // a deque keeps their addresses
  int sort_column_ = -1;
  int previous_column_ = -1;
  bool descending_ = false;
};

}  // namespace dupliora
