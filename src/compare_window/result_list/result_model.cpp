// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_model.h"

#include <algorithm>

#include "compare_window/result_list/result_painting.h"

namespace dupliora {
namespace {

// Beyond this many separate row ranges one reset is cheaper than many removals.
constexpr int kMaxRemovedRanges = 64;

// Contiguous ranges of the given rows, last range first.
std::vector<std::pair<int, int>> DescendingRanges(std::vector<int> rows, int row_count) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  std::vector<std::pair<int, int>> ranges;
  for (int row : rows) {
    if (row < 0 || row >= row_count) continue;
    if (!ranges.empty() && ranges.back().second == row - 1) {
      ranges.back().second = row;
    } else {
      ranges.emplace_back(row, row);
    }
  }
  std::reverse(ranges.begin(), ranges.end());
  return ranges;
}

}  // namespace

ResultListModel::ResultListModel(bool diagnostic_columns, QObject* parent)
    : QAbstractTableModel(parent),
      column_count_(diagnostic_columns ? kResultColumnsDiagnostic : kResultColumnsPlain) {
  SetTextLookup(DefaultResultText);
}

void ResultListModel::SetTextLookup(ResultTextLookup lookup) {
  text_ = std::move(lookup);
  titles_.clear();
  for (int column = 0; column < column_count_; ++column) {
    titles_.append(ResultColumnTitle(column, text_));
  }
  emit headerDataChanged(Qt::Horizontal, 0, column_count_ - 1);
  if (!table_.Rows().empty()) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, column_count_ - 1), {Qt::DisplayRole});
  }
}

void ResultListModel::RefreshLanguageTexts() {
  // Every title follows the language, not the first six only.
  for (int column = 0; column < column_count_; ++column) {
    titles_[column] = ResultColumnTitle(column, text_);
  }
  emit headerDataChanged(Qt::Horizontal, 0, column_count_ - 1);
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.size();
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : column_count_;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
    return {};
  }
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return FormatResultCell(&table_.Row(index.row()).match, column, text_);
    case Qt::DecorationRole:
      if (IsPathColumn(column)) return MarkIcon(table_.IsMarked(index.row(), column));
      return {};
    case Qt::ToolTipRole:  // the whole path, whatever the column's width
      if (IsPathColumn(column))
        return FormatResultCell(&table_.Row(index.row()).match, column, text_);
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(ResultColumnLayoutOf(column).alignment);
    default:
      return {};
  }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= column_count_) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  switch (role) {
    case Qt::DisplayRole:
      return titles_[section];
    case Qt::DecorationRole:
      if (IsPathColumn(section)) return MarkPixmap(HeaderChecked(section));
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(ResultColumnLayoutOf(section).alignment);
    default:
      return {};
  }
}

const MatchResult* ResultListModel::MatchAt(int row) const {
  if (row < 0 || row >= table_.size()) return nullptr;
  return &table_.Row(row).match;
}

void ResultListModel::AppendMatches(std::vector<MatchResult> batch) {
  if (batch.empty()) return;
  const int first = table_.size();
  beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
  table_.Append(std::move(batch));
  endInsertRows();
}

void ResultListModel::Clear() {
  beginResetModel();
  table_.Clear();
  endResetModel();
}

void ResultListModel::RemoveRows(const std::vector<int>& rows) {
  const auto ranges = DescendingRanges(rows, table_.size());
  if (static_cast<int>(ranges.size()) > kMaxRemovedRanges) {
    beginResetModel();
    table_.RemoveRows(rows);
    endResetModel();
    return;
  }
  for (const auto& [first, last] : ranges) RemoveRowRange(first, last);
}

void ResultListModel::InsertRows(const std::vector<std::pair<int, ResultRow>>& rows) {
  for (const auto& [position, row] : rows) {
    const int at = std::clamp(position, 0, table_.size());
    beginInsertRows({}, at, at);
    table_.InsertRows({{at, row}});
    endInsertRows();
  }
}

void ResultListModel::ReplaceRecordPath(const QString& old_path, const QString& new_path) {
  for (int row : table_.ReplaceRecordPath(old_path, new_path)) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  }
}

void ResultListModel::ReplaceRecordFigures(const QString& path, const ImageRecord& figures) {
  for (int row : table_.ReplaceRecordFigures(path, figures)) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  }
}

void ResultListModel::SetAllMarks(const std::vector<std::array<bool, 2>>& marks) {
  table_.SetAllMarks(marks);
  EmitMarksChanged(0, table_.size() - 1, 0, 1);
}

void ResultListModel::RemoveRowRange(int first, int last) {
  std::vector<int> doomed;
  for (int row = first; row <= last; ++row) doomed.push_back(row);
  beginRemoveRows({}, first, last);
  table_.RemoveRows(doomed);
  endRemoveRows();
}

void ResultListModel::SetSortColumn(int column, bool descending) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const std::vector<int> order = table_.SetSortColumn(column, descending);
  std::vector<int> new_row(order.size());
  for (int i = 0; i < static_cast<int>(order.size()); ++i) new_row[order[i]] = i;
  const QModelIndexList old_indexes = persistentIndexList();
  QModelIndexList new_indexes;
  new_indexes.reserve(old_indexes.size());
  for (const QModelIndex& old : old_indexes) {
    new_indexes.append(index(new_row[old.row()], old.column()));
  }
  changePersistentIndexList(old_indexes, new_indexes);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::SetMarked(int row, int column, bool marked) {
  table_.SetMarked(row, column, marked);
  EmitMarksChanged(row, row, column, column);
}

void ResultListModel::ToggleMark(int row, int column) {
  table_.ToggleMark(row, column);
  EmitMarksChanged(row, row, column, column);
}

void ResultListModel::SetColumnMarks(int column, bool marked) {
  table_.SetColumnMarks(column, marked);
  EmitMarksChanged(0, table_.size() - 1, column, column);
}

bool ResultListModel::ApplyMarkCommand(int command) {
  if (!table_.ApplyMarkCommand(command)) return false;
  EmitMarksChanged(0, table_.size() - 1, 0, 1);
  return true;
}

void ResultListModel::SetHeaderChecked(int column, bool checked) {
  header_checked_[column != 0] = checked;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void ResultListModel::EmitMarksChanged(int first_row, int last_row, int first_column,
                                       int last_column) {
  if (last_row < first_row) return;
  emit dataChanged(index(first_row, first_column), index(last_row, last_column),
                   {Qt::DecorationRole});
}

}  // namespace dupliora
