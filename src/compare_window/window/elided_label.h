// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QLabel>

namespace dupliora {

// A one-line label that ends its text with "..." where it does not fit,
// rather than cutting it off under the next control; the whole text shows in
// its tooltip then. text() keeps the whole text.
class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;

  // The text as painted at the current width.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
};

}  // namespace dupliora
