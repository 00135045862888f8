// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

#include "compare_window/result_list/result_columns.h"
#include "compare_window/result_list/result_rows.h"

namespace dupliora {

// Maps the rows of a ResultRowTable to the view: texts on demand, marks as
// images of columns 0 and 1, titles and header check boxes.
class ResultListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ResultListModel(bool diagnostic_columns, QObject* parent = nullptr);

  // Sets every title from the lookup (done once when the window is built).
  void SetTextLookup(ResultTextLookup lookup);
  // After a language change only the titles of columns 0 to 5 follow.
  void RefreshLanguageTexts();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const ResultRowTable& Table() const { return table_; }
  const MatchResult* MatchAt(int row) const;

  void AppendMatches(std::vector<MatchResult> batch);
  void Clear();
  void RemoveRows(const std::vector<int>& rows);
  void InsertRows(const std::vector<std::pair<int, ResultRow>>& rows);
  void ReplaceRecordPath(const QString& old_path, const QString& new_path);
  void ReplaceRecordFigures(const QString& path, const ImageRecord& figures);
  void SetAllMarks(const std::vector<std::array<bool, 2>>& marks);
  // Sorts and keeps selection and current row with their rows.
  void SetSortColumn(int column, bool descending);

  bool IsMarked(int row, int column) const { return table_.IsMarked(row, column); }
  void SetMarked(int row, int column, bool marked);
  void ToggleMark(int row, int column);
  void SetColumnMarks(int column, bool marked);
  bool ApplyMarkCommand(int command);

  bool HeaderChecked(int column) const { return header_checked_[column != 0]; }
  void SetHeaderChecked(int column, bool checked);

 private:
  void RemoveRowRange(int first, int last);
  void EmitMarksChanged(int first_row, int last_row, int first_column, int last_column);

  ResultRowTable table_;
  ResultTextLookup text_;
  QStringList titles_;
  int column_count_;
  std::array<bool, 2> header_checked_{false, false};
};

}  // namespace dupliora
