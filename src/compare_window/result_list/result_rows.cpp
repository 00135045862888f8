// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_rows.h"

#include <algorithm>

#include "core/command_ids.h"
#include "engine/record_path.h"

namespace dupliora {

void ResultRowTable::Append(std::vector<MatchResult> batch) {
  rows_.reserve(rows_.size() + batch.size());
  for (const MatchResult& match : batch) rows_.push_back(ResultRow{match, false, false});
}

void ResultRowTable::RemoveRows(const std::vector<int>& rows) {
  // One pass: erasing row by row is quadratic on long lists.
  std::vector<bool> doomed(rows_.size(), false);
  for (int row : rows) {
    if (row >= 0 && row < size()) doomed[row] = true;
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!doomed[i]) rows_[kept++] = rows_[i];
  }
  rows_.resize(kept);
}

void ResultRowTable::InsertRows(const std::vector<std::pair<int, ResultRow>>& rows) {
  for (const auto& [position, row] : rows) {
    rows_.insert(rows_.begin() + std::clamp(position, 0, size()), row);
  }
}

std::vector<int> ResultRowTable::ReplaceRecordPath(const QString& old_path,
                                                   const QString& new_path) {
  std::vector<int> changed;
  std::vector<std::pair<const ImageRecord*, const ImageRecord*>> copies;
  auto renamed = [&](const ImageRecord* record) -> const ImageRecord* {
    if (record == nullptr || RecordPath(*record) != old_path) return record;
    for (const auto& [from, to] : copies) {
      if (from == record) return to;
    }
    ImageRecord& copy = renamed_.emplace_back(*record);
    if (!SetRecordPath(copy, new_path)) {
      renamed_.pop_back();
      return record;
    }
    copies.emplace_back(record, &copy);
    return &copy;
  };
  for (int row = 0; row < size(); ++row) {
    MatchResult& match = rows_[row].match;
    const ImageRecord* first = renamed(match.first);
    const ImageRecord* second = renamed(match.second);
    if (first == match.first && second == match.second) continue;
    match.first = first;
    match.second = second;
    changed.push_back(row);
  }
  return changed;
}

std::vector<int> ResultRowTable::ReplaceRecordFigures(const QString& path,
                                                      const ImageRecord& figures) {
  ImageRecord& copy = renamed_.emplace_back(figures);
  if (!SetRecordPath(copy, path)) {
    renamed_.pop_back();
    return {};
  }
  std::vector<int> changed;
  for (int row = 0; row < size(); ++row) {
    MatchResult& match = rows_[row].match;
    bool hit = false;
    for (const ImageRecord** record : {&match.first, &match.second}) {
      if (*record != nullptr && RecordPath(**record) == path) {
        *record = &copy;
        hit = true;
      }
    }
    if (hit) changed.push_back(row);
  }
  return changed;
}

void ResultRowTable::SetAllMarks(const std::vector<std::array<bool, 2>>& marks) {
  const std::size_t count = std::min(marks.size(), rows_.size());
  for (std::size_t row = 0; row < count; ++row) {
    rows_[row].first_marked = marks[row][0];
    rows_[row].second_marked = marks[row][1];
  }
}

std::vector<int> ResultRowTable::SetSortColumn(int column, bool descending) {
  previous_column_ = sort_column_;
  sort_column_ = column;
  descending_ = descending;
  std::vector<int> order = SortedRowOrder(rows_, column, descending);
  std::vector<ResultRow> sorted;
  sorted.reserve(rows_.size());
  for (int old_index : order) sorted.push_back(rows_[old_index]);
  rows_.swap(sorted);
  return order;
}

bool ResultRowTable::IsMarked(int row, int column) const {
  const ResultRow& r = rows_[row];
  return column == 0 ? r.first_marked : r.second_marked;
}

void ResultRowTable::SetMarked(int row, int column, bool marked) {
  ResultRow& r = rows_[row];
  (column == 0 ? r.first_marked : r.second_marked) = marked;
}

void ResultRowTable::ToggleMark(int row, int column) {
  SetMarked(row, column, !IsMarked(row, column));
}

void ResultRowTable::SetColumnMarks(int column, bool marked) {
  for (int row = 0; row < size(); ++row) SetMarked(row, column, marked);
}

bool ResultRowTable::AllMarked(int column) const {
  for (int row = 0; row < size(); ++row) {
    if (!IsMarked(row, column)) return false;
  }
  return true;
}

bool ResultRowTable::ApplyMarkCommand(int command) {
  if (command != command::kSwapMarks && command != command::kInvertMarks) return false;
  for (ResultRow& r : rows_) {
    if (command == command::kSwapMarks) {
      std::swap(r.first_marked, r.second_marked);
    } else {
      r.first_marked = !r.first_marked;
      r.second_marked = !r.second_marked;
    }
  }
  return true;
}

CopyOverPartnerList ResultRowTable::CopyOverPartnerPairs() const {
  CopyOverPartnerList list;
  for (const ResultRow& r : rows_) {
    if (r.first_marked == r.second_marked) continue;
    if (!r.match.first || !r.match.second) continue;
    const QString first = RecordPath(*r.match.first);
    const QString second = RecordPath(*r.match.second);
    list.sources.append(r.first_marked ? first : second);
    list.targets.append(r.first_marked ? second : first);
  }
  return list;
}

}  // namespace dupliora
