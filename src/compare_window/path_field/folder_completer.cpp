// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/path_field/folder_completer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringListModel>
#include <QWindow>

#include "platform/file_names.h"

namespace dupliora {
namespace {

bool IsSeparator(QChar c) { return c == QLatin1Char('/') || c == QDir::separator(); }

// The typed text up to the last separator of its last entry, and the folder
// it names (empty when the entry has no separator yet).
struct TypedFolder {
  QString head;
  QString folder;
  bool hidden = false;  // the name typed after the head starts with "."
};

TypedFolder SplitTyped(const QString& typed) {
  const qsizetype entry_start = typed.lastIndexOf(QLatin1Char(';')) + 1;
  qsizetype name_start = typed.size();
  while (name_start > entry_start && !IsSeparator(typed[name_start - 1])) --name_start;
  TypedFolder split;
  split.head = typed.left(name_start);
  split.folder = typed.mid(entry_start, name_start - entry_start).trimmed();
  split.hidden = typed.mid(name_start).startsWith(QLatin1Char('.'));
  return split;
}

}  // namespace

FolderCandidates CompleteFolder(const QString& typed) {
  const TypedFolder split = SplitTyped(typed);
  if (split.folder.isEmpty()) return {};
  QDir::Filters filter = QDir::Dirs | QDir::NoDotAndDotDot;
  if (split.hidden) filter |= QDir::Hidden;
  FolderCandidates candidates{QDir::cleanPath(QDir::fromNativeSeparators(split.folder)), {}};
  for (const QString& name : QDir(split.folder).entryList(filter, QDir::Name)) {
    candidates.texts.append(split.head + name);
  }
  return candidates;
}

FolderCompleter::FolderCompleter(QLineEdit* edit)
    : QCompleter(edit), model_(new QStringListModel(this)) {
  setModel(model_);
  setCompletionMode(QCompleter::PopupCompletion);
  setCaseSensitivity(SameFileName(QStringLiteral("a"), QStringLiteral("A")) ? Qt::CaseInsensitive
                                                                            : Qt::CaseSensitive);
  // Runs before the line edit asks the completer, so the list is current.
  connect(edit, &QLineEdit::textEdited, this, &FolderCompleter::OnTextEdited);
  list_ = popup();
  list_->installEventFilter(this);  // after the completer's own: this one sees events first
}

void FolderCompleter::OnTextEdited(const QString& text) {
  // Typing within one folder changes nothing to list: the completer filters.
  const TypedFolder split = SplitTyped(text);
  const QString key = split.head + (split.hidden ? QStringLiteral("\n.") : QString());
  if (key == listed_key_) return;
  listed_key_ = key;
  const FolderCandidates candidates = CompleteFolder(text);
  listed_ = candidates.listed;
  model_->setStringList(candidates.texts);
}

bool FolderCompleter::eventFilter(QObject* watched, QEvent* event) {
  // Not popup(): events reach this filter while the completer makes its list.
  if (list_ != nullptr && watched == list_ && event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    const QPoint global = press->globalPosition().toPoint();
    if (!list_->rect().contains(list_->mapFromGlobal(global))) {
      // The completer would swallow this click; close the list and hand the
      // press on, so the user's first click on Start also starts.
      list_->hide();
      QWidget* target = QApplication::widgetAt(global);
      QWindow* window = target ? target->window()->windowHandle() : nullptr;
      if (window != nullptr) {
        const QPointF local = window->mapFromGlobal(press->globalPosition());
        QMouseEvent replay(QEvent::MouseButtonPress, local, local, press->globalPosition(),
                           press->button(), press->buttons(), press->modifiers());
        QCoreApplication::sendEvent(window, &replay);
      }
      return true;
    }
  }
  return QCompleter::eventFilter(watched, event);
}

}  // namespace dupliora
