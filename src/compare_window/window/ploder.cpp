// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/ploder.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

namespace dupliora {

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
  view_->header()->setStretchLastSection(false);
  view_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { SelectPending(); });
}

void CPloder::ShowFolder(const QString& folder) {
  pending_file_.clear();
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
