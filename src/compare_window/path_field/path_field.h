// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QString>
#include <optional>

namespace dupliora {

class CMyProfStr;

// An editable folder field that remembers the folders used in it. Its
// history lives in one settings section: "last_entry" and "entry_000",
// "entry_001", ...; 64 entries are read, and the same 64 are written, in one
// store write. The list in memory may grow longer until the next start.
class C2017ComboBoxEx : public QComboBox {
  Q_OBJECT

 public:
  C2017ComboBoxEx(QWidget* parent, CMyProfStr& store);

  // At most 59 characters are kept; an empty section reads nothing and writes nothing.
  void SetSection(const QString& name);
  QString Section() const { return section_; }
  // Completes file-system folders while typing.
  void SetAutoComplete();
  void LoadHistory();
  // Before the first LoadHistory of a field that has never been used: puts
  // the given folders that exist into the history in turn, the last one current.
  void FillFirstStartDefaults(const QStringList& folders);
  // Makes the text current and the top of the history.
  void AddEntry(const QString& text);
  QString GetEntry(int index) const { return itemText(index); }
  QString Text() const { return currentText(); }
  void SetText(const QString& text) { setEditText(text); }

  // A name shown inside the field, before its text ("Folder list 1");
  // empty removes it.
  void SetListLabel(const QString& text);
  QString ListLabel() const;

  // White on red while the path alert flashes.
  void SetAlert(bool on);
  bool Alert() const { return alert_; }

  // Deletes the entry highlighted in the open drop-down list; public for tests.
  void DeleteHighlightedEntry();

 signals:
  // A folder, file, text or link was dropped; replace: the left button was
  // still down, so the path replaces the text instead of being appended.
  void PathDropped(const QString& path, bool replace);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QString ReadValue(const QString& key) const;
  void PutOnTop(const QString& text);
  void StoreHistory(const std::optional<QString>& last_entry);
  void SelectByPrefix(const QString& prefix);
  void PlaceListLabel();

  CMyProfStr& store_;
  QString section_;
  QLabel* list_label_ = nullptr;
  bool alert_ = false;
  QPalette normal_palette_;
};

// The key of history entry n: "entry_000", "entry_001", ...
QString HistoryEntryKey(int n);

}  // namespace dupliora
