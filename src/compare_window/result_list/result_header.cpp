// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_header.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionHeader>

#include "compare_window/result_list/result_columns.h"
#include "compare_window/result_list/result_painting.h"

namespace dupliora {

ResultHeaderView::ResultHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setSortIndicatorShown(true);
  setSortIndicator(-1, Qt::AscendingOrder);
  setHighlightSections(false);
  setTextElideMode(Qt::ElideRight);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QRect ResultHeaderView::CheckBoxRect(int section) const {
  if (!IsPathColumn(section) || section >= count() || isSectionHidden(section)) return {};
  const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
  const int left = sectionViewportPosition(section) + margin;
  const int top = (height() - kMarkImageSide) / 2;
  return QRect(left, top, kMarkImageSide, kMarkImageSide);
}

int ResultHeaderView::CheckBoxAt(const QPoint& pos) const {
  const int section = logicalIndexAt(pos);
  const QRect box = CheckBoxRect(section);
  // Some slack around the small box, but none on the left: the border there resizes.
  if (box.isValid() && box.adjusted(0, -3, 3, 3).contains(pos)) return section;
  return -1;
}

void ResultHeaderView::mousePressEvent(QMouseEvent* event) {
  const int section =
      event->button() == Qt::LeftButton ? CheckBoxAt(event->position().toPoint()) : -1;
  if (section < 0) {
    QHeaderView::mousePressEvent(event);
    return;
  }
  swallow_release_ = true;
  event->accept();
  emit CheckBoxClicked(section);
}

void ResultHeaderView::mouseReleaseEvent(QMouseEvent* event) {
  if (swallow_release_) {
    swallow_release_ = false;
    event->accept();
    return;
  }
  QHeaderView::mouseReleaseEvent(event);
}

void ResultHeaderView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second click of a quick pair on the box is a click of its own.
  if (event->button() == Qt::LeftButton && CheckBoxAt(event->position().toPoint()) >= 0) {
    mousePressEvent(event);
    return;
  }
  QHeaderView::mouseDoubleClickEvent(event);
}

void ResultHeaderView::initStyleOptionForIndex(QStyleOptionHeader* option,
                                               int logical_index) const {
  QHeaderView::initStyleOptionForIndex(option, logical_index);
  if (option->sortIndicator == QStyleOptionHeader::SortUp) {
    option->sortIndicator = QStyleOptionHeader::SortDown;
  } else if (option->sortIndicator == QStyleOptionHeader::SortDown) {
    option->sortIndicator = QStyleOptionHeader::SortUp;
  }
}

}  // namespace dupliora
