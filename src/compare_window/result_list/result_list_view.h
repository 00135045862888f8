// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "compare_window/result_list/result_columns.h"
#include "compare_window/result_list/result_edit_logic.h"
#include "compare_window/result_list/result_model.h"
#include "core/ini_document.h"

class QToolBar;

namespace dupliora {

class ResultCellEditor;
class ResultHeaderView;
class ResultItemDelegate;

// Writes settings that change together: section, then key and value pairs.
// Where the list keeps its settings (sort keys, column widths).
inline const QString kProgramSection = QStringLiteral("Program");
inline constexpr char kColumnWidthsKey[] = "list_column_widths";
using ResultSettingWriter = std::function<void(const QString& section, const IniEntries& values)>;

inline constexpr int kPreviewRefreshMs = 100;
inline constexpr int kHeldRowsMs = 100;

// The result list (control 1012): one row per found pair, sixteen columns
// (thirteen without the developer marker), a mark per picture, sorting by
// header clicks, row toolbars over the selected row and an in-place editor.
class ResultListView : public QTableView {
  Q_OBJECT

 public:
  // Looks for the developer marker in the current working folder.
  explicit ResultListView(QWidget* parent = nullptr);
  ResultListView(bool diagnostic_columns, QWidget* parent);
  ~ResultListView() override;

  // Wiring by the window.
  void SetTextLookup(ResultTextLookup lookup);
  void RefreshLanguageTexts();
  void SetSettingWriter(ResultSettingWriter writer) { write_setting_ = std::move(writer); }
  void SetShowRowToolbars(bool show);
  bool ShowRowToolbars() const { return show_row_toolbars_; }
  // Left and Right toggle the marks of the selected rows (m_LeftRightSel).
  void SetLeftRightMarks(bool on) { left_right_marks_ = on; }

  // Rows.
  void AppendMatches(std::vector<MatchResult> batch);
  void Clear();
  void SetRedraw(bool on);
  void RemoveRows(const std::vector<int>& rows);
  // Removes rows and hands them back with their positions, for an undo.
  std::vector<std::pair<int, ResultRow>> TakeRows(const std::vector<int>& rows);
  void InsertRows(const std::vector<std::pair<int, ResultRow>>& rows);
  void ReplaceRecordPath(const QString& old_path, const QString& new_path);
  void ReplaceRecordFigures(const QString& path, const ImageRecord& figures);
  void SetAllMarks(const std::vector<std::array<bool, 2>>& marks);
  // Rows still held back while redraw is off count as rows already.
  int RowCount() const;
  const MatchResult* MatchAt(int row) const;
  // Shows held-back rows now (otherwise within kHeldRowsMs).
  void FlushHeldRows();
  // The current row: where the current selection was started.
  int SelectionMarkRow() const;
  // The row the previews, captions and row toolbars show: the current row
  // when it is selected, else the last selected row; -1 with no selection.
  int ShownRow() const;
  const MatchResult* CurrentMatch() const { return MatchAt(SelectionMarkRow()); }
  std::vector<int> SelectedRows() const;
  ResultListModel* Model() const { return model_; }

  // Sorting.
  void SetSortColumn(int column, bool descending);
  // Column widths the user set, as stored under kColumnWidthsKey ("w0;w1;...").
  // Widths are restored as given, a malformed text changes nothing.
  void RestoreColumnWidths(const QString& stored);
  QString StoredColumnWidths() const;
  void SortByColumn(int column, bool descending) { SetSortColumn(column, descending); }
  // The order after a run: most similar pairs first.
  void SortBySimilarity() { SetSortColumn(kSimilarityColumn, true); }
  int SortColumn() const { return model_->Table().SortColumn(); }
  bool SortDescending() const { return model_->Table().Descending(); }

  // Selection.
  void SelectAll() {
    FlushHeldRows();
    selectAll();
  }
  void InvertSelection();

  // Marks (column 0: first picture, 1: second picture).
  bool IsMarked(int row, int column) const;
  void SetMarked(int row, int column, bool marked);
  bool ToggleMarkAtCursor(const QPoint& viewport_pos);
  void ToggleSelectedMarks(int column);
  void SetColumnMarks(int column, bool marked);
  void UpdateHeaderMark(int column);
  bool HeaderMarkChecked(int column) const { return model_->HeaderChecked(column); }
  void ApplyMarkCommand(int command);
  bool PreviewRefreshPending() const { return preview_timer_.isActive(); }

  // Row toolbars and in-place editing.
  void PlaceRowToolbars(int row);
  QToolBar* RowToolbar(int column) const { return row_toolbars_[column != 0]; }
  void EditCell(int row, int column);
  bool IsEditing() const { return edit_cell_.has_value(); }
  bool EditingPictureCell() const { return editing_picture_cell_; }
  std::optional<GridCell> EditedCell() const { return edit_cell_; }
  ResultCellEditor* Editor() const { return editor_; }
  QRect ImageRect(int row, int column) const;
  QRect LabelRect(int row, int column) const;
  QString ShownText(int row, int column) const;

 signals:
  // A row became selected: both pictures are to be shown anew.
  void CurrentPairChanged(const MatchResult* match, bool first_marked, bool second_marked);
  // Marks changed a moment ago: the captions of the previews follow them.
  void PreviewRefreshRequested(const MatchResult* match, bool first_marked, bool second_marked);
  void RowToolbarCommand(int id, int row, int column);
  // column is -1 when the text was not changed; text is null when cancelled.
  void EditFinished(int row, int column, QString text);
  // Clear() emptied the list: records of removed rows are gone with the run.
  void Cleared();
  // Command 57641: sources[i] is to be copied onto targets[i].
  void CopyOverPartnerRequested(QStringList sources, QStringList targets);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

 private:
  void SetUpLook();
  void SetUpHeader();
  void WidenColumnsToTitles();
  void SetUpRowToolbars();
  void SetUpEditor();
  void OnHeaderClicked(int section);
  void OnHeaderCheckBoxClicked(int section);
  void RestartPreviewTimer() { preview_timer_.start(); }
  void EmitPreviewRefresh();
  void RefreshRowToolbars();
  void HideRowToolbars();
  // Path texts of the toolbar row end before the toolbars.
  void ReserveToolbarEdge(int row);
  QStyleOptionViewItem CellOption(int row, int column) const;

  void OpenEditor(GridCell target, int step);
  void EndEdit(bool cancelled);
  void MoveEditor(EditMove move);
  int PageRows() const;
  std::vector<int> ColumnWidths() const;
  void OnSectionResized();

  ResultListModel* model_;
  ResultHeaderView* header_;
  ResultItemDelegate* delegate_;
  ResultCellEditor* editor_ = nullptr;
  std::array<QToolBar*, 2> row_toolbars_{};
  std::array<QRect, 2> toolbar_rects_{};
  int toolbar_row_ = -1;
  QTimer preview_timer_;
  // While redraw is off, arriving rows are gathered and inserted together:
  // every insertion costs the view time in proportion to all its rows.
  std::vector<MatchResult> held_rows_;
  QTimer held_rows_timer_;
  QTimer save_widths_timer_;  // a drag resizes many times: one write when it rests
  bool redraw_ = true;
  ResultTextLookup text_ = DefaultResultText;
  ResultSettingWriter write_setting_;
  bool show_row_toolbars_ = true;
  bool left_right_marks_ = true;
  bool editing_picture_cell_ = false;
  std::optional<GridCell> edit_cell_;
  QString edit_original_text_;
};

}  // namespace dupliora
