// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QHeaderView>

namespace dupliora {

// Column header whose two picture columns carry a check box (drawn from the
// model's header image); a click on the box is reported instead of a sort.
class ResultHeaderView : public QHeaderView {
  Q_OBJECT

 public:
  explicit ResultHeaderView(QWidget* parent = nullptr);

  // Where the check box of a picture column lies, in header coordinates;
  // empty for other columns.
  QRect CheckBoxRect(int section) const;
  // The width a section needs to show its whole title (and the sort arrow).
  int TitleWidth(int section) const { return sectionSizeFromContents(section).width(); }

 signals:
  void CheckBoxClicked(int section);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Up arrow for ascending, down arrow for descending (Qt draws them the other way).
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logical_index) const override;

 private:
  int CheckBoxAt(const QPoint& pos) const;

  bool swallow_release_ = false;
};

}  // namespace dupliora
