// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/path_field/path_field.h"

#include <QAbstractItemView>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>

#include "compare_window/path_field/folder_completer.h"
#include "compare_window/path_field/path_drop.h"
#include "core/settings_store.h"

namespace dupliora {
namespace {

constexpr int kMaxSectionLength = 59;
constexpr int kEntriesRead = 64;
const QString kLastEntryKey = QStringLiteral("last_entry");

}  // namespace

QString HistoryEntryKey(int n) { return QString::asprintf("entry_%03d", n); }

namespace {

// "entry_" and a number of at least three digits, as HistoryEntryKey writes them.
std::optional<int> HistoryEntryNumber(const QString& key) {
  static const QString prefix = QStringLiteral("entry_");
  if (!key.startsWith(prefix, Qt::CaseInsensitive) || key.size() < prefix.size() + 3) return {};
  bool ok = false;
  const int number = key.mid(prefix.size()).toInt(&ok);
  if (!ok || !key.back().isDigit() || !key.at(prefix.size()).isDigit()) return {};
  return number;
}

}  // namespace

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
  lineEdit()->installEventFilter(this);
}

void C2017ComboBoxEx::SetListLabel(const QString& text) {
  if (list_label_ == nullptr) {
    list_label_ = new QLabel(lineEdit());
    list_label_->setObjectName(QStringLiteral("list_label"));
    list_label_->setForegroundRole(QPalette::PlaceholderText);
    list_label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  list_label_->setText(text);
  list_label_->setVisible(!text.isEmpty());
  PlaceListLabel();
}

QString C2017ComboBoxEx::ListLabel() const {
  return list_label_ != nullptr ? list_label_->text() : QString();
}

// The label sits at the left end of the edit part and the text starts after it.
void C2017ComboBoxEx::PlaceListLabel() {
  if (list_label_ == nullptr) return;
  const bool shown = !list_label_->text().isEmpty();
  const int width = shown ? list_label_->sizeHint().width() : 0;
  list_label_->setGeometry(2, 0, width, lineEdit()->height());
  lineEdit()->setTextMargins(shown ? width + 6 : 0, 0, 0, 0);
}

void C2017ComboBoxEx::SetSection(const QString& name) { section_ = name.left(kMaxSectionLength); }

void C2017ComboBoxEx::SetAutoComplete() { setCompleter(new FolderCompleter(lineEdit())); }

QString C2017ComboBoxEx::ReadValue(const QString& key) const {
  if (section_.isEmpty()) return {};
  return store_.ReadString(section_, key);
}

// One store write for the whole history: the last entry (when given), the
// entries that are read back (the first 64), and no stale key past them.
void C2017ComboBoxEx::StoreHistory(const std::optional<QString>& last_entry) {
  if (section_.isEmpty()) return;
  IniEntries values;
  if (last_entry) values.append({kLastEntryKey, *last_entry});
  const int stored = std::min(count(), kEntriesRead);
  for (int n = 0; n < stored; ++n) values.append({HistoryEntryKey(n), itemText(n)});
  store_.Edit([&](IniDocument& doc) {
    doc.RemoveKeys(section_, [stored](const QString& key) {
      const std::optional<int> number = HistoryEntryNumber(key);
      return number && *number >= stored;
    });
    for (const auto& [key, value] : values) {
      if (!doc.SetValue(section_, key, value)) return false;
    }
    return true;
  });
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
  // A folder that is not there (no Documents on a fresh account) would only
  // meet the user as a red alert at the first Start.
  bool any = false;
  for (const QString& folder : folders) {
    if (!QFileInfo(folder).isDir()) continue;
    PutOnTop(folder);
    any = true;
  }
  if (any) StoreHistory(currentText());
}

void C2017ComboBoxEx::AddEntry(const QString& text) {
  if (text.isEmpty()) return;
  PutOnTop(text);
  StoreHistory(text);
}

void C2017ComboBoxEx::PutOnTop(const QString& text) {
  if (text.isEmpty()) return;
  const int existing = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (existing >= 0) removeItem(existing);
  insertItem(0, text);
  setCurrentIndex(0);
  setEditText(text);
}

void C2017ComboBoxEx::DeleteHighlightedEntry() {
  const int row = view()->currentIndex().row();
  if (row < 0 || row >= count()) return;
  const int next = row + 1 < count() ? row + 1 : row - 1;
  if (next >= 0) view()->setCurrentIndex(model()->index(next, 0));
  const QString text = currentText();
  removeItem(row);
  setEditText(text);
  StoreHistory(std::nullopt);  // a shorter history leaves no old last entry behind
}

bool C2017ComboBoxEx::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::Resize) PlaceListLabel();
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
