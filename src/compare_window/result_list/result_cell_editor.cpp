// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_cell_editor.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace dupliora {
namespace {

constexpr int kTextSlack = 5;

std::optional<EditMove> MoveForKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool shift = modifiers & Qt::ShiftModifier;
  const bool control = modifiers & Qt::ControlModifier;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return shift ? EditMove::kPreviousRow : EditMove::kNextRow;
    case Qt::Key_Tab:
      return shift ? EditMove::kPreviousCell : EditMove::kNextCell;
    case Qt::Key_Backtab:
      return EditMove::kPreviousCell;
    case Qt::Key_Down:
      return EditMove::kNextRow;
    case Qt::Key_Up:
      return EditMove::kPreviousRow;
    case Qt::Key_PageDown:
      return EditMove::kPageDown;
    case Qt::Key_PageUp:
      return EditMove::kPageUp;
    default:
      break;
  }
  if (!control) return std::nullopt;
  switch (key) {
    case Qt::Key_Right:
      return EditMove::kNextCell;
    case Qt::Key_Left:
      return EditMove::kPreviousCell;
    case Qt::Key_Home:
      return EditMove::kFirstRow;
    case Qt::Key_End:
      return EditMove::kLastRow;
    default:
      return std::nullopt;
  }
}

}  // namespace

ResultCellEditor::ResultCellEditor(QWidget* parent) : QLineEdit(parent) {
  setFrame(true);
  hide();
  connect(this, &QLineEdit::textEdited, this, &ResultCellEditor::WidenToText);
}

void ResultCellEditor::Begin(const QString& text, TextSelection selection, int f2_state) {
  setText(text);
  setSelection(selection.start, selection.length);
  f2_state_ = f2_state;
}

bool ResultCellEditor::event(QEvent* event) {
  // Tab must move between cells, not between widgets.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && HandleEditKey(key)) {
      return true;
    }
  }
  return QLineEdit::event(event);
}

void ResultCellEditor::keyPressEvent(QKeyEvent* event) {
  if (!HandleEditKey(event)) QLineEdit::keyPressEvent(event);
}

bool ResultCellEditor::HandleEditKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit CancelRequested();
  } else if (event->key() == Qt::Key_F2) {
    CycleSelection();
  } else if (const auto move = MoveForKey(event->key(), event->modifiers())) {
    emit MoveRequested(*move);
  } else {
    return false;
  }
  event->accept();
  return true;
}

void ResultCellEditor::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // The editor's own context menu takes the focus for a while; that ends nothing.
  if (event->reason() != Qt::PopupFocusReason) emit FocusLost();
}

void ResultCellEditor::CycleSelection() {
  f2_state_ = (f2_state_ + 1) % kF2States;
  const TextSelection selection = F2Selection(text(), f2_state_);
  setSelection(selection.start, selection.length);
}

void ResultCellEditor::WidenToText() {
  const int wanted = fontMetrics().horizontalAdvance(text()) + kTextSlack;
  const int limit = max_width_ > 0 ? max_width_ : wanted;
  if (wanted > width()) resize(std::min(wanted, limit), height());
}

}  // namespace dupliora
