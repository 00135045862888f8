// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace dupliora {

inline constexpr int kMarkImageSide = 16;

// The strip of mark images: image 0 an empty box, image 1 a checked box.
QImage MakeMarkImageStrip();

// One image of the strip, made once.
const QPixmap& MarkPixmap(bool marked);
// The same as an icon that selected rows show untinted, so a mark stays readable.
const QIcon& MarkIcon(bool marked);

// The stock item painting, telling where it puts the image and the text of a
// cell: the mark click and the row toolbars need those rectangles.
class ResultItemDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QRect DecorationRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  QRect LabelRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  // The text the cell shows: paths are cut to their column, keeping the file name.
  QString ShownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

  // The row toolbars cover the right end of the path cells of one row: those
  // paths are cut to end before them. A row of -1 reserves nothing.
  void ReserveRightEdge(int row, int width);

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  int reserved_row_ = -1;
  int reserved_width_ = 0;
  QRect SubElementRect(int element, const QStyleOptionViewItem& option,
                       const QModelIndex& index) const;
};

}  // namespace dupliora
