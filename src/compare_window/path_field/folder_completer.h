// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QAbstractItemView>
#include <QCompleter>
#include <QPointer>
#include <QStringList>

class QLineEdit;
class QStringListModel;

namespace dupliora {

// The texts that complete `typed` to a folder: the last ";"-separated entry
// is taken as a path, and every subfolder of the folder it names so far
// (up to its last separator) becomes a candidate; hidden folders only when
// the name typed so far starts with ".". `listed` is the folder whose
// entries these are, empty when the text names none.
struct FolderCandidates {
  QString listed;
  QStringList texts;
};
FolderCandidates CompleteFolder(const QString& typed);

// Completes folders in a path field. The list is read once for each folder
// the user types into and never watched, so a typed path costs nothing
// while the user does nothing (a file-system model watched every level of
// the path and typed every file in it on each change, on the UI thread).
// A click outside the open list both closes it and reaches its target.
class FolderCompleter : public QCompleter {
  Q_OBJECT

 public:
  explicit FolderCompleter(QLineEdit* edit);

  // The folder whose subfolders are offered now (tests).
  QString ListedFolder() const { return listed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnTextEdited(const QString& text);

  QStringListModel* model_;
  QPointer<QAbstractItemView> list_;
  QString listed_;
  QString listed_key_;  // head of the text and the hidden flag the list was made for
};

}  // namespace dupliora
