// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/elided_label.h"

#include <QDir>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include "compare_window/result_list/path_elide.h"

namespace dupliora {

// A path (the first picture of the shown pair) keeps its file name; run texts
// are cut at their end.
QString ElidedLabel::ShownText() const {
  const int width = contentsRect().width();
  if (QDir::isAbsolutePath(text())) return ElidePath(fontMetrics(), text(), width);
  return fontMetrics().elidedText(text(), Qt::ElideRight, width);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
    const QString shown = ShownText();
    if (shown != text()) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QLabel::event(event);
}

}  // namespace dupliora
