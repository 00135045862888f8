// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QPersistentModelIndex>
#include <QString>
#include <QWidget>

class QFileSystemModel;
class QTreeView;

namespace dupliora {

// A plain file-list view of one folder: the list area's file view and the
// preview panes' file views in preview mode 2.
class CPloder : public QWidget {
  Q_OBJECT

 public:
  explicit CPloder(QWidget* parent);

  void ShowFolder(const QString& folder);
  // Opens the file's folder, selects the file and scrolls it into view
  // without taking the focus. The folder is read in the background, so the
  // selection may follow a moment later.
  void ShowFile(const QString& path);
  // Drops pending work and stops watching the folder for changes.
  void Stop();

  QString CurrentFolder() const;
  QString SelectedFile() const;  // empty when nothing is selected

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SelectPending();

  QFileSystemModel* model_;
  QTreeView* view_;
  QString pending_file_;
  QPersistentModelIndex shown_file_;  // kept in view when the model sorts
};

}  // namespace dupliora
