// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolBar>

#include "compare_window/result_cell_editor.h"
#include "compare_window/result_header.h"
#include "compare_window/result_painting.h"

namespace dupliora {
namespace {

const QString kProgramSection = QStringLiteral("Program");
constexpr int kMinRowHeight = 20;

}  // namespace

ResultListView::ResultListView(QWidget* parent)
    : ResultListView(HasDeveloperMarker(QDir::current()), parent) {}

ResultListView::ResultListView(bool diagnostic_columns, QWidget* parent)
    : QTableView(parent),
      model_(new ResultListModel(diagnostic_columns, this)),
      header_(new ResultHeaderView(this)),
      delegate_(new ResultItemDelegate(this)) {
  setObjectName(QString::number(kResultListId));
  setModel(model_);
  setItemDelegate(delegate_);
  SetUpLook();
  SetUpHeader();
  SetUpRowToolbars();
  SetUpEditor();
  preview_timer_.setSingleShot(true);
  preview_timer_.setInterval(kPreviewRefreshMs);
  connect(&preview_timer_, &QTimer::timeout, this, &ResultListView::EmitPreviewRefresh);
}

ResultListView::~ResultListView() = default;

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
  for (int column = 0; column < model_->columnCount(); ++column) {
    header_->resizeSection(column, ResultColumnLayoutOf(column).width);
  }
  header_->setStretchLastSection(false);
  connect(header_, &QHeaderView::sectionClicked, this, &ResultListView::OnHeaderClicked);
  connect(header_, &ResultHeaderView::CheckBoxClicked, this,
          &ResultListView::OnHeaderCheckBoxClicked);
  connect(header_, &QHeaderView::sectionResized, this, &ResultListView::RefreshRowToolbars);
}

void ResultListView::SetTextLookup(ResultTextLookup lookup) {
  text_ = lookup;
  model_->SetTextLookup(std::move(lookup));
  for (int column = 0; column < 2; ++column) {
    row_toolbars_[column]->actions().at(0)->setToolTip(text_(kTextShowInFileManager));
    row_toolbars_[column]->actions().at(1)->setToolTip(text_(kTextDelete));
  }
}

void ResultListView::RefreshLanguageTexts() { model_->RefreshLanguageTexts(); }

void ResultListView::AppendMatches(std::vector<MatchResult> batch) {
  model_->AppendMatches(std::move(batch));
}

void ResultListView::Clear() {
  HideRowToolbars();
  model_->Clear();
}

void ResultListView::SetRedraw(bool on) {
  viewport()->setUpdatesEnabled(on);
  if (on) viewport()->update();
}

void ResultListView::RemoveRows(const std::vector<int>& rows) {
  model_->RemoveRows(rows);
  RefreshRowToolbars();
}

int ResultListView::SelectionMarkRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
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
  model_->SetSortColumn(column, descending);
  header_->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
  RefreshRowToolbars();
}

void ResultListView::OnHeaderClicked(int section) {
  const bool descending = !SortDescending();
  SetSortColumn(section, descending);
  // Written for other tools of the family; this list never reads them back.
  if (write_setting_) {
    write_setting_(kProgramSection, QStringLiteral("sort_col"), section);
    write_setting_(kProgramSection, QStringLiteral("SortDescending"), descending ? 1 : 0);
  }
}

void ResultListView::InvertSelection() {
  if (RowCount() == 0) return;
  const QItemSelection all(model_->index(0, 0),
                           model_->index(RowCount() - 1, model_->columnCount() - 1));
  selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void ResultListView::SetMarked(int row, int column, bool marked) {
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
  model_->SetColumnMarks(column, marked);
  RestartPreviewTimer();
}

void ResultListView::UpdateHeaderMark(int column) {
  model_->SetHeaderChecked(column, model_->Table().AllMarked(column));
}

void ResultListView::OnHeaderCheckBoxClicked(int section) {
  SetColumnMarks(section, !model_->HeaderChecked(section));
  UpdateHeaderMark(section);
}

void ResultListView::ApplyMarkCommand(int command) {
  if (command == kCopyOverPartnerCommand) {
    CopyOverPartnerList pairs = model_->Table().CopyOverPartnerPairs();
    if (pairs.sources.isEmpty()) return;
    emit CopyOverPartnerRequested(pairs.sources, pairs.targets);
  } else if (!model_->ApplyMarkCommand(command)) {
    return;
  }
  RestartPreviewTimer();
}

void ResultListView::EmitPreviewRefresh() {
  const int row = SelectionMarkRow();
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
  QTableView::keyPressEvent(event);
}

void ResultListView::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  if (selected.isEmpty()) return;
  // With several rows selected at once the current row, or else the last one, is shown.
  int row = selected.last().bottom();
  if (selected.contains(currentIndex())) row = currentIndex().row();
  PlaceRowToolbars(row);
  emit CurrentPairChanged(MatchAt(row), IsMarked(row, 0), IsMarked(row, 1));
}

}  // namespace dupliora
