// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/result_painting.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <algorithm>

#include "compare_window/result_list/path_elide.h"
#include "compare_window/result_list/result_columns.h"

namespace dupliora {
namespace {

void DrawBox(QPainter& painter, int left, bool checked) {
  const QRectF box(left + 1.5, 1.5, 12, 12);
  painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(box);
  if (!checked) return;
  QPainterPath tick;
  tick.moveTo(left + 4.0, 7.5);
  tick.lineTo(left + 6.5, 10.5);
  tick.lineTo(left + 11.5, 4.0);
  painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(tick);
}

QIcon UntintedIcon(const QPixmap& pixmap) {
  QIcon icon(pixmap);
  icon.addPixmap(pixmap, QIcon::Selected);
  return icon;
}

}  // namespace

QImage MakeMarkImageStrip() {
  QImage strip(2 * kMarkImageSide, kMarkImageSide, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter painter(&strip);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawBox(painter, 0, false);
  DrawBox(painter, kMarkImageSide, true);
  return strip;
}

const QPixmap& MarkPixmap(bool marked) {
  static const QImage strip = MakeMarkImageStrip();
  static const QPixmap images[2] = {
      QPixmap::fromImage(strip.copy(0, 0, kMarkImageSide, kMarkImageSide)),
      QPixmap::fromImage(strip.copy(kMarkImageSide, 0, kMarkImageSide, kMarkImageSide))};
  return images[marked ? 1 : 0];
}

const QIcon& MarkIcon(bool marked) {
  static const QIcon icons[2] = {UntintedIcon(MarkPixmap(false)), UntintedIcon(MarkPixmap(true))};
  return icons[marked ? 1 : 0];
}

void ResultItemDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (!IsPathColumn(index.column())) return;
  const QWidget* widget = option->widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  // The stock painting keeps this margin on both sides of the text.
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, option, widget);
  const int reserved = index.row() == reserved_row_ ? reserved_width_ : 0;
  const int room = std::max(0, text.width() - 2 * margin - reserved);
  option->text = ElidePath(option->fontMetrics, option->text, room);
}

QString ResultItemDelegate::ShownText(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  return opt.text;
}

void ResultItemDelegate::ReserveRightEdge(int row, int width) {
  reserved_row_ = row;
  reserved_width_ = width;
}

QRect ResultItemDelegate::DecorationRect(const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  return SubElementRect(QStyle::SE_ItemViewItemDecoration, option, index);
}

QRect ResultItemDelegate::LabelRect(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  return SubElementRect(QStyle::SE_ItemViewItemText, option, index);
}

QRect ResultItemDelegate::SubElementRect(int element, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  return style->subElementRect(static_cast<QStyle::SubElement>(element), &opt, widget);
}

}  // namespace dupliora
