// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_list_view.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

#include "compare_window/result_list/result_cell_editor.h"
#include "compare_window/result_list/result_header.h"
#include "compare_window/result_list/result_painting.h"
#include "compare_window/window_ids.h"
#include "core/command_ids.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

constexpr int kMaxStoredColumnWidth = 10000;  // a larger stored width is a damaged file

constexpr int kMinRowHeight = 20;

}  // namespace

ResultListView::ResultListView(QWidget* parent)
    : ResultListView(HasDeveloperMarker(QDir::current()), parent) {}

ResultListView::ResultListView(bool diagnostic_columns, QWidget* parent)
    : QTableView(parent),
      model_(new ResultListModel(diagnostic_columns, this)),
      header_(new ResultHeaderView(this)),
      delegate_(new ResultItemDelegate(this)) {
  setObjectName(QString::number(ids::kResultList));
  setModel(model_);
  setItemDelegate(delegate_);
  SetUpLook();
  SetUpHeader();
  SetUpRowToolbars();
  SetUpEditor();
  preview_timer_.setSingleShot(true);
  preview_timer_.setInterval(kPreviewRefreshMs);
  connect(&preview_timer_, &QTimer::timeout, this, &ResultListView::EmitPreviewRefresh);
  held_rows_timer_.setSingleShot(true);
  held_rows_timer_.setInterval(kHeldRowsMs);
  connect(&held_rows_timer_, &QTimer::timeout, this, &ResultListView::FlushHeldRows);
}

ResultListView::~ResultListView() {
  // The editor outlives this part of the object; its focus loss must not call back.
  editor_->disconnect(this);
  model_->disconnect(this);
}

void ResultListView::SetUpLook() {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  setIconSize(QSize(kMarkImageSide, kMarkImageSide));
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // The selection stays visible when the list loses the focus.
  QPalette look = palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    look.setColor(QPalette::Inactive, role, look.color(QPalette::Active, role));
  }
  setPalette(look);
  // Fixed row heights keep inserting and sorting 100,000 rows cheap.
  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(std::max(kMinRowHeight, fontMetrics().height() + 4));
}

void ResultListView::SetUpHeader() {
  setHorizontalHeader(header_);
  // The table hides the arrow while its own sorting is off; this list sorts itself.
  header_->setSortIndicatorShown(true);
  for (int column = 0; column < model_->columnCount(); ++column) {
    header_->resizeSection(column, ResultColumnLayoutOf(column).width);
  }
  header_->setStretchLastSection(false);
  // Columns may be dragged shut, as users hide columns that way; the editor skips them.
  header_->setMinimumSectionSize(0);
  connect(header_, &QHeaderView::sectionClicked, this, &ResultListView::OnHeaderClicked);
  connect(header_, &ResultHeaderView::CheckBoxClicked, this,
          &ResultListView::OnHeaderCheckBoxClicked);
  connect(header_, &QHeaderView::sectionResized, this, &ResultListView::OnSectionResized);
  save_widths_timer_.setSingleShot(true);
  save_widths_timer_.setInterval(400);
  connect(&save_widths_timer_, &QTimer::timeout, this, [this] {
    if (write_setting_) write_setting_(kProgramSection, {{kColumnWidthsKey, StoredColumnWidths()}});
  });
}

void ResultListView::SetTextLookup(ResultTextLookup lookup) {
  text_ = lookup;
  model_->SetTextLookup(std::move(lookup));
  for (int column = 0; column < 2; ++column) {
    row_toolbars_[column]->actions().at(0)->setToolTip(text_(text::kShowInFileManager));
    row_toolbars_[column]->actions().at(1)->setToolTip(text_(text::kDelete));
  }
  WidenColumnsToTitles();
}

void ResultListView::RefreshLanguageTexts() {
  model_->RefreshLanguageTexts();
  WidenColumnsToTitles();
}

// The initial widths suit a narrow system font; a wider font must not cut the
// titles or the picture sizes. Columns are only widened, never narrowed.
void ResultListView::WidenColumnsToTitles() {
  const int size_text = fontMetrics().horizontalAdvance(QStringLiteral("8888 x 8888")) +
                        2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 4;
  for (int column = 0; column < model_->columnCount(); ++column) {
    int wanted = header_->TitleWidth(column);
    if (column == kFirstDimensionsColumn || column == kSecondDimensionsColumn)
      wanted = std::max(wanted, size_text);
    if (header_->sectionSize(column) < wanted) header_->resizeSection(column, wanted);
  }
}

void ResultListView::AppendMatches(std::vector<MatchResult> batch) {
  if (redraw_) {
    FlushHeldRows();
    model_->AppendMatches(std::move(batch));
    return;
  }
  held_rows_.insert(held_rows_.end(), batch.begin(), batch.end());
  if (!held_rows_timer_.isActive()) held_rows_timer_.start();
}

void ResultListView::FlushHeldRows() {
  held_rows_timer_.stop();
  if (held_rows_.empty()) return;
  model_->AppendMatches(std::move(held_rows_));
  held_rows_.clear();
}

int ResultListView::RowCount() const {
  return model_->rowCount() + static_cast<int>(held_rows_.size());
}

const MatchResult* ResultListView::MatchAt(int row) const {
  const int shown = model_->rowCount();
  if (row >= shown && row < RowCount()) return &held_rows_[row - shown];
  return model_->MatchAt(row);
}

bool ResultListView::IsMarked(int row, int column) const {
  return row >= 0 && row < model_->rowCount() && model_->IsMarked(row, column);
}

void ResultListView::Clear() {
  HideRowToolbars();
  held_rows_.clear();
  held_rows_timer_.stop();
  model_->Clear();
  emit Cleared();
}

void ResultListView::SetRedraw(bool on) {
  redraw_ = on;
  viewport()->setUpdatesEnabled(on);
  if (!on) return;
  FlushHeldRows();
  viewport()->update();
}

void ResultListView::RemoveRows(const std::vector<int>& rows) {
  FlushHeldRows();
  model_->RemoveRows(rows);
  RefreshRowToolbars();
}

std::vector<std::pair<int, ResultRow>> ResultListView::TakeRows(const std::vector<int>& rows) {
  FlushHeldRows();
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::vector<std::pair<int, ResultRow>> taken;
  for (int row : sorted) {
    if (row >= 0 && row < model_->rowCount()) taken.emplace_back(row, model_->Table().Row(row));
  }
  RemoveRows(sorted);
  return taken;
}

void ResultListView::InsertRows(const std::vector<std::pair<int, ResultRow>>& rows) {
  FlushHeldRows();
  model_->InsertRows(rows);
  RefreshRowToolbars();
}

void ResultListView::ReplaceRecordPath(const QString& old_path, const QString& new_path) {
  FlushHeldRows();
  model_->ReplaceRecordPath(old_path, new_path);
}

void ResultListView::ReplaceRecordFigures(const QString& path, const ImageRecord& figures) {
  FlushHeldRows();
  model_->ReplaceRecordFigures(path, figures);
}

void ResultListView::SetAllMarks(const std::vector<std::array<bool, 2>>& marks) {
  FlushHeldRows();
  model_->SetAllMarks(marks);
  RestartPreviewTimer();
}

int ResultListView::SelectionMarkRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

int ResultListView::ShownRow() const {
  const QItemSelection selection = selectionModel()->selection();
  if (selection.isEmpty()) return -1;
  const QModelIndex current = currentIndex();
  if (current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex())) {
    return current.row();
  }
  return selection.last().bottom();
}

std::vector<int> ResultListView::SelectedRows() const {
  std::vector<int> rows;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void ResultListView::SetSortColumn(int column, bool descending) {
  FlushHeldRows();
  model_->SetSortColumn(column, descending);
  header_->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
  RefreshRowToolbars();
}

void ResultListView::OnSectionResized() {
  RefreshRowToolbars();
  // Only the user's drags are kept; widths the program sets are not settings.
  if (QGuiApplication::mouseButtons() & Qt::LeftButton) save_widths_timer_.start();
}

QString ResultListView::StoredColumnWidths() const {
  QStringList widths;
  for (int column = 0; column < model_->columnCount(); ++column) {
    widths << QString::number(header_->sectionSize(column));
  }
  return widths.join(u';');
}

void ResultListView::RestoreColumnWidths(const QString& stored) {
  const QStringList parts = stored.split(u';');
  if (parts.size() != model_->columnCount()) return;
  std::vector<int> widths;
  for (const QString& part : parts) {
    bool ok = false;
    const int width = part.toInt(&ok);
    if (!ok || width < 0 || width > kMaxStoredColumnWidth) return;
    widths.push_back(width);
  }
  for (int column = 0; column < model_->columnCount(); ++column) {
    header_->resizeSection(column, widths[column]);
  }
}

void ResultListView::OnHeaderClicked(int section) {
  const bool descending = !SortDescending();
  SetSortColumn(section, descending);
  // Written for other tools of the family; this list never reads them back.
  if (write_setting_) {
    write_setting_(kProgramSection, {{QStringLiteral("sort_col"), QString::number(section)},
                                     {QStringLiteral("SortDescending"), descending ? "1" : "0"}});
  }
}

void ResultListView::InvertSelection() {
  FlushHeldRows();
  if (RowCount() == 0) return;
  const QItemSelection all(model_->index(0, 0),
                           model_->index(RowCount() - 1, model_->columnCount() - 1));
  selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void ResultListView::SetMarked(int row, int column, bool marked) {
  FlushHeldRows();
  if (row < 0 || row >= RowCount()) return;
  model_->SetMarked(row, column, marked);
  RestartPreviewTimer();
}

QStyleOptionViewItem ResultListView::CellOption(int row, int column) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(model_->index(row, column));
  return option;
}

QRect ResultListView::ImageRect(int row, int column) const {
  return delegate_->DecorationRect(CellOption(row, column), model_->index(row, column));
}

QRect ResultListView::LabelRect(int row, int column) const {
  return delegate_->LabelRect(CellOption(row, column), model_->index(row, column));
}

QString ResultListView::ShownText(int row, int column) const {
  return delegate_->ShownText(CellOption(row, column), model_->index(row, column));
}

bool ResultListView::ToggleMarkAtCursor(const QPoint& viewport_pos) {
  const QModelIndex hit = indexAt(viewport_pos);
  if (!hit.isValid()) return false;
  for (int column : {kFirstPathColumn, kSecondPathColumn}) {
    if (ImageRect(hit.row(), column).contains(viewport_pos)) {
      model_->ToggleMark(hit.row(), column);
      RestartPreviewTimer();
      return true;
    }
  }
  return false;
}

void ResultListView::ToggleSelectedMarks(int column) {
  for (int row : SelectedRows()) model_->ToggleMark(row, column);
  RestartPreviewTimer();
}

void ResultListView::SetColumnMarks(int column, bool marked) {
  FlushHeldRows();
  model_->SetColumnMarks(column, marked);
  RestartPreviewTimer();
}

void ResultListView::UpdateHeaderMark(int column) {
  FlushHeldRows();
  model_->SetHeaderChecked(column, model_->Table().AllMarked(column));
}

void ResultListView::OnHeaderCheckBoxClicked(int section) {
  SetColumnMarks(section, !model_->HeaderChecked(section));
  UpdateHeaderMark(section);
}

void ResultListView::ApplyMarkCommand(int command) {
  FlushHeldRows();
  if (command == command::kCopyOverPartner) {
    CopyOverPartnerList pairs = model_->Table().CopyOverPartnerPairs();
    if (pairs.sources.isEmpty()) return;
    emit CopyOverPartnerRequested(pairs.sources, pairs.targets);
  } else if (!model_->ApplyMarkCommand(command)) {
    return;
  }
  RestartPreviewTimer();
}

void ResultListView::EmitPreviewRefresh() {
  const int row = ShownRow();
  const MatchResult* match = MatchAt(row);
  emit PreviewRefreshRequested(match, match && IsMarked(row, 0), match && IsMarked(row, 1));
}

void ResultListView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && ToggleMarkAtCursor(event->position().toPoint())) {
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

void ResultListView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A quick second click on a mark toggles it again rather than opening the editor.
  if (event->button() == Qt::LeftButton && ToggleMarkAtCursor(event->position().toPoint())) {
    event->accept();
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
  const QModelIndex hit = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && hit.isValid()) EditCell(hit.row(), hit.column());
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
  const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
  const Qt::KeyboardModifiers held =
      event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (left_right_marks_ && arrow && held == Qt::NoModifier && !event->isAutoRepeat()) {
    ToggleSelectedMarks(event->key() == Qt::Key_Left ? kFirstPathColumn : kSecondPathColumn);
    event->accept();
    return;
  }
  // Home and End (with Ctrl too) select the first or last row, so the
  // previews follow; Shift+Home/End still extend the selection.
  const bool home_end = event->key() == Qt::Key_Home || event->key() == Qt::Key_End;
  if (home_end && (held & ~Qt::ControlModifier) == Qt::NoModifier && model()->rowCount() > 0) {
    const QModelIndex target = moveCursor(event->key() == Qt::Key_Home ? MoveHome : MoveEnd, held);
    selectionModel()->setCurrentIndex(
        target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

QModelIndex ResultListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if ((action == MoveHome || action == MoveEnd) && model()->rowCount() > 0) {
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    return model()->index(action == MoveHome ? 0 : model()->rowCount() - 1, column);
  }
  return QTableView::moveCursor(action, modifiers);
}

void ResultListView::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  // A shrinking selection counts as much as a growing one: the panes must
  // never stay on a row that is no longer selected.
  const int row = ShownRow();
  PlaceRowToolbars(row);
  if (row < 0) return;
  emit CurrentPairChanged(MatchAt(row), IsMarked(row, 0), IsMarked(row, 1));
}

}  // namespace dupliora
