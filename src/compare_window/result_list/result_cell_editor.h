// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QLineEdit>

#include "compare_window/result_list/result_edit_logic.h"

namespace dupliora {

// The in-place editor of the result list. It only interprets keys; the list
// decides where an edit goes and what ending it means.
class ResultCellEditor : public QLineEdit {
  Q_OBJECT

 public:
  explicit ResultCellEditor(QWidget* parent = nullptr);

  // Shows the text with the given part selected; F2 cycles on from f2_state.
  void Begin(const QString& text, TextSelection selection, int f2_state);
  // The editor grows with its text up to this width.
  void SetMaxWidth(int width) { max_width_ = width; }

 signals:
  void MoveRequested(EditMove move);
  void CancelRequested();
  void FocusLost();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool HandleEditKey(QKeyEvent* event);
  void CycleSelection();
  void WidenToText();

  int f2_state_ = 0;
  int max_width_ = 0;
};

}  // namespace dupliora
