// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/path_field/path_field.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>

#include "compare_window/path_field/path_drop.h"
#include "core/settings_store.h"

namespace dupliora {
namespace {

constexpr int kMaxSectionLength = 59;
constexpr int kEntriesRead = 64;
const QString kLastEntryKey = QStringLiteral("last_entry");

}  // namespace

QString HistoryEntryKey(int n) { return QString::asprintf("entry_%03d", n); }

C2017ComboBoxEx::C2017ComboBoxEx(QWidget* parent, CMyProfStr& store)
    : QComboBox(parent), store_(store) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxVisibleItems(20);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(8);
  setAcceptDrops(true);
  // The edit part would take drops as plain text; the field decides instead.
  lineEdit()->setAcceptDrops(false);
  normal_palette_ = lineEdit()->palette();
  view()->installEventFilter(this);
}

void C2017ComboBoxEx::SetSection(const QString& name) { section_ = name.left(kMaxSectionLength); }

void C2017ComboBoxEx::SetAutoComplete() {
  auto* model = new QFileSystemModel(this);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model->setRootPath(QString());
  auto* completer = new QCompleter(model, this);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  setCompleter(completer);
}

QString C2017ComboBoxEx::ReadValue(const QString& key) const {
  if (section_.isEmpty()) return {};
  return store_.ReadString(section_, key);
}

void C2017ComboBoxEx::WriteValue(const QString& key, const QString& value) {
  if (!section_.isEmpty()) store_.WriteString(section_, key, value);
}

void C2017ComboBoxEx::LoadHistory() {
  // The first-start defaults are already stored; loading them twice would
  // list every default twice.
  clear();
  setEditText(ReadValue(kLastEntryKey));
  for (int n = 0; n < kEntriesRead; ++n) {
    const QString entry = ReadValue(HistoryEntryKey(n));
    if (!entry.isEmpty()) addItem(entry);
  }
  SelectByPrefix(ReadValue(kLastEntryKey));
}

// The entry that equals the last entry (letter case aside) is selected; only
// without one the platform's prefix rule applies: case-insensitive, from the
// second entry on, wrapping round to the first. A plain prefix search would
// show "/home/u/Pictures" at every start after a run over "/home/u".
void C2017ComboBoxEx::SelectByPrefix(const QString& prefix) {
  const int n = count();
  if (prefix.isEmpty() || n == 0) return;
  const int exact = findText(prefix, Qt::MatchFixedString);
  if (exact >= 0) {
    setCurrentIndex(exact);
    return;
  }
  for (int k = 1; k <= n; ++k) {
    const int index = k % n;
    if (itemText(index).startsWith(prefix, Qt::CaseInsensitive)) {
      setCurrentIndex(index);
      return;
    }
  }
  setCurrentIndex(-1);
  setEditText(prefix);
}

void C2017ComboBoxEx::FillFirstStartDefaults(const QStringList& folders) {
  if (!ReadValue(kLastEntryKey).isEmpty()) return;
  for (const QString& folder : folders) AddEntry(folder);
}

void C2017ComboBoxEx::AddEntry(const QString& text) {
  if (text.isEmpty()) return;
  WriteValue(kLastEntryKey, text);
  const int existing = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (existing >= 0) removeItem(existing);
  insertItem(0, text);
  setCurrentIndex(0);
  setEditText(text);
  WriteEntries();
}

void C2017ComboBoxEx::WriteEntries() {
  for (int n = 0; n < count(); ++n) WriteValue(HistoryEntryKey(n), itemText(n));
}

void C2017ComboBoxEx::DeleteHighlightedEntry() {
  const int row = view()->currentIndex().row();
  if (row < 0 || row >= count()) return;
  const int next = row + 1 < count() ? row + 1 : row - 1;
  if (next >= 0) view()->setCurrentIndex(model()->index(next, 0));
  const QString text = currentText();
  removeItem(row);
  setEditText(text);
  WriteEntries();
  // A shorter history must not leave its old last entry behind.
  WriteValue(HistoryEntryKey(count()), QString());
}

bool C2017ComboBoxEx::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view() && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && !key->isAutoRepeat()) {
      DeleteHighlightedEntry();
      return true;
    }
  }
  return QComboBox::eventFilter(watched, event);
}

void C2017ComboBoxEx::SetAlert(bool on) {
  alert_ = on;
  QPalette palette = normal_palette_;
  if (on) {
    palette.setColor(QPalette::Base, QColor(255, 0, 0));
    palette.setColor(QPalette::Text, Qt::white);
  }
  lineEdit()->setPalette(palette);
}

void C2017ComboBoxEx::dragEnterEvent(QDragEnterEvent* event) {
  const Qt::DropAction effect = DropEffect(*event->mimeData());
  if (effect == Qt::IgnoreAction) return event->ignore();
  event->setDropAction(effect);
  event->accept();
}

void C2017ComboBoxEx::dragMoveEvent(QDragMoveEvent* event) {
  const Qt::DropAction effect = DropEffect(*event->mimeData());
  if (effect == Qt::IgnoreAction) return event->ignore();
  event->setDropAction(effect);
  event->accept();
}

void C2017ComboBoxEx::dropEvent(QDropEvent* event) {
  const QString path = DroppedPath(*event->mimeData());
  if (path.isEmpty()) return event->ignore();
  event->setDropAction(DropEffect(*event->mimeData()));
  event->accept();
  emit PathDropped(path, event->buttons().testFlag(Qt::LeftButton));
}

}  // namespace dupliora
