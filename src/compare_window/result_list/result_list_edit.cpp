// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The row toolbars and the in-place editor of the result list.
#include <QAction>
#include <QHeaderView>
#include <QStyle>
#include <QToolBar>

#include "compare_window/result_list/result_cell_editor.h"
#include "compare_window/result_list/result_columns.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/result_list/result_painting.h"
#include "core/command_ids.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

// The toolbar reaches 3 pixels above the cell's text and 2 below it.
constexpr int kToolbarAbove = 3;
constexpr int kToolbarBelow = 2;
constexpr int kEditorIndent = 4;

}  // namespace

void ResultListView::SetUpRowToolbars() {
  for (int column = 0; column < 2; ++column) {
    auto* bar = new QToolBar(viewport());
    bar->setIconSize(QSize(16, 16));
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    const std::pair<int, QStyle::StandardPixmap> buttons[] = {
        {command::kShowInFileManager, QStyle::SP_DirOpenIcon},
        {command::kDeletePicture, QStyle::SP_TrashIcon},
    };
    for (const auto& [id, icon] : buttons) {
      QAction* action = bar->addAction(style()->standardIcon(icon), QString());
      action->setToolTip(
          text_(id == command::kShowInFileManager ? text::kShowInFileManager : text::kDelete));
      connect(action, &QAction::triggered, this,
              [this, id, column] { emit RowToolbarCommand(id, toolbar_row_, column); });
    }
    bar->adjustSize();
    bar->hide();
    row_toolbars_[column] = bar;
  }
  connect(model_, &QAbstractItemModel::modelReset, this, &ResultListView::HideRowToolbars);
}

void ResultListView::SetShowRowToolbars(bool show) {
  show_row_toolbars_ = show;
  PlaceRowToolbars(ShownRow());
}

void ResultListView::HideRowToolbars() {
  for (QToolBar* bar : row_toolbars_) {
    if (bar != nullptr) bar->hide();  // none yet while the constructor sets the model
  }
  toolbar_rects_ = {};
  ReserveToolbarEdge(-1);
  toolbar_row_ = -1;
}

void ResultListView::ReserveToolbarEdge(int row) {
  if (row == toolbar_row_ && row >= 0) return;
  delegate_->ReserveRightEdge(row, row < 0 ? 0 : row_toolbars_[0]->sizeHint().width());
  for (int changed : {toolbar_row_, row}) {
    if (changed < 0 || changed >= RowCount()) continue;
    for (int column : {kFirstPathColumn, kSecondPathColumn}) update(model_->index(changed, column));
  }
}

void ResultListView::RefreshRowToolbars() {
  if (toolbar_row_ >= 0) PlaceRowToolbars(ShownRow());
}

void ResultListView::PlaceRowToolbars(int row) {
  if (editing_picture_cell_ || !show_row_toolbars_ || row < 0 || row >= RowCount()) {
    HideRowToolbars();
    return;
  }
  ReserveToolbarEdge(row);
  toolbar_row_ = row;
  for (int column = 0; column < 2; ++column) {
    QToolBar* bar = row_toolbars_[column];
    bar->show();
    const QRect label = LabelRect(row, column);
    // The whole rectangle counts: a widened column must move the toolbar too.
    if (label == toolbar_rects_[column]) continue;
    toolbar_rects_[column] = label;
    const int width = bar->sizeHint().width();
    const int top = label.top() - kToolbarAbove;
    bar->setGeometry(label.x() + label.width() - width, top, width,
                     label.y() + label.height() + kToolbarBelow - top);
  }
}

void ResultListView::SetUpEditor() {
  editor_ = new ResultCellEditor(viewport());
  connect(editor_, &ResultCellEditor::MoveRequested, this, &ResultListView::MoveEditor);
  connect(editor_, &ResultCellEditor::CancelRequested, this, [this] { EndEdit(true); });
  connect(editor_, &ResultCellEditor::FocusLost, this, [this] { EndEdit(false); });
  // Rows that move or vanish under the editor end it as cancelled.
  const auto cancel = [this] { EndEdit(true); };
  connect(model_, &QAbstractItemModel::layoutAboutToBeChanged, this, cancel);
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, cancel);
  connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, cancel);
}

std::vector<int> ResultListView::ColumnWidths() const {
  std::vector<int> widths;
  for (int column = 0; column < model_->columnCount(); ++column) {
    widths.push_back(isColumnHidden(column) ? 0 : columnWidth(column));
  }
  return widths;
}

int ResultListView::PageRows() const {
  return std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()));
}

void ResultListView::EditCell(int row, int column) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= model_->columnCount()) return;
  if (IsEditing()) EndEdit(false);
  OpenEditor({row, column}, 1);
}

void ResultListView::OpenEditor(GridCell target, int step) {
  const auto cell = SkipNarrowColumns(target, step, ColumnWidths(), RowCount());
  if (!cell) return;
  const QModelIndex index = model_->index(cell->row, cell->column);
  scrollTo(index);
  const EditBegin begin = BeginEditText(cell->column, index.data().toString());
  editing_picture_cell_ = begin.picture_cell;
  edit_cell_ = *cell;
  edit_original_text_ = begin.text;

  const QRect rect = visualRect(index);
  const int left = rect.left() + kEditorIndent;
  const int right = std::min(rect.right(), viewport()->width() - 1);
  editor_->setGeometry(left, rect.top(), std::max(1, right - left + 1), rect.height());
  editor_->SetMaxWidth(viewport()->width());
  editor_->Begin(begin.text, {begin.select_start, begin.select_length}, begin.picture_cell ? 1 : 0);
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  PlaceRowToolbars(cell->row);
}

void ResultListView::EndEdit(bool cancelled) {
  if (!edit_cell_) return;
  const GridCell cell = *edit_cell_;
  edit_cell_.reset();
  QString text = editor_->text();
  const bool had_focus = editor_->hasFocus();
  editor_->hide();
  int column = cell.column;
  if (cancelled) {
    text = QString();
  } else if (text == edit_original_text_) {
    column = -1;
  }
  editing_picture_cell_ = false;
  if (cancelled && had_focus) setFocus(Qt::OtherFocusReason);
  emit EditFinished(cell.row, column, text);
  if (cell.row < RowCount()) PlaceRowToolbars(cell.row);
}

void ResultListView::MoveEditor(EditMove move) {
  if (!edit_cell_) return;
  const auto target =
      EditMoveTarget(move, *edit_cell_, RowCount(), model_->columnCount(), PageRows());
  if (!target) return;
  const int step = move == EditMove::kPreviousCell ? -1 : 1;
  const auto cell = SkipNarrowColumns(*target, step, ColumnWidths(), RowCount());
  if (!cell) return;
  EndEdit(false);
  OpenEditor(*cell, step);
}

}  // namespace dupliora
