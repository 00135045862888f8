// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/ploder.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include "engine/format.h"

namespace dupliora {
namespace {

constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;
constexpr int kWidthForDates = 420;  // narrower views show name and size only

// File sizes in the units of the picture captions ("207.4 KB"), not the
// file-system model's own ("207 KiB"): one picture, one size on screen.
class FileSizeDelegate : public QStyledItemDelegate {
 public:
  FileSizeDelegate(QFileSystemModel* model, QObject* parent)
      : QStyledItemDelegate(parent), model_(model) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == kSizeColumn && !model_->isDir(index)) {
      option->text = FormatFileSize(static_cast<std::uint64_t>(model_->size(index)));
    }
  }

 private:
  QFileSystemModel* model_;
};

}  // namespace

CPloder::CPloder(QWidget* parent)
    : QWidget(parent), model_(new QFileSystemModel(this)), view_(new QTreeView(this)) {
  model_->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs);
  model_->setReadOnly(true);
  view_->setModel(model_);
  view_->setRootIsDecorated(false);
  view_->setItemsExpandable(false);
  view_->setSortingEnabled(true);
  view_->sortByColumn(0, Qt::AscendingOrder);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setItemDelegate(new FileSizeDelegate(model_, this));
  // The name gets the room: a narrow view squeezed it to about 20 pixels
  // beside the size, type and date at their default widths.
  QHeaderView* header = view_->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  view_->setColumnHidden(kTypeColumn, true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { SelectPending(); });
  // The model sorts a moment after loading: keep the pair's file in view.
  connect(model_, &QAbstractItemModel::layoutChanged, this, [this] {
    if (shown_file_.isValid()) view_->scrollTo(shown_file_, QAbstractItemView::EnsureVisible);
  });
}

void CPloder::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  view_->setColumnHidden(kDateColumn, width() < kWidthForDates);
}

void CPloder::ShowFolder(const QString& folder) {
  pending_file_.clear();
  shown_file_ = QPersistentModelIndex();
  model_->setOption(QFileSystemModel::DontWatchForChanges, false);
  view_->setRootIndex(model_->setRootPath(folder));
}

void CPloder::ShowFile(const QString& path) {
  const QFileInfo info(path);
  const QString folder = info.absolutePath();
  model_->setOption(QFileSystemModel::DontWatchForChanges, false);
  if (model_->rootPath() != folder) view_->setRootIndex(model_->setRootPath(folder));
  pending_file_ = info.absoluteFilePath();
  SelectPending();
}

void CPloder::SelectPending() {
  if (pending_file_.isEmpty()) return;
  const QModelIndex index = model_->index(pending_file_);
  if (!index.isValid() || index.parent() != view_->rootIndex()) return;
  // Keep the selection without stealing the focus from the result list.
  view_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view_->scrollTo(index, QAbstractItemView::EnsureVisible);
  shown_file_ = index;
  pending_file_.clear();
}

void CPloder::Stop() {
  pending_file_.clear();
  model_->setOption(QFileSystemModel::DontWatchForChanges, true);
}

QString CPloder::CurrentFolder() const { return model_->rootPath(); }

QString CPloder::SelectedFile() const {
  const QModelIndex current = view_->selectionModel()->currentIndex();
  if (!current.isValid() || !view_->selectionModel()->isSelected(current)) return {};
  return model_->filePath(current);
}

}  // namespace dupliora
