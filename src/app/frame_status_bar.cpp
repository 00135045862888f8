// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/frame_status_bar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace dupliora {

FrameStatusBar::FrameStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  for (int i = 0; i < kStatusPartCount; ++i) {
    Part& part = parts_[i];
    part.box = new QWidget(this);
    auto* row = new QHBoxLayout(part.box);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(4);
    part.icon = new QLabel(part.box);
    part.icon->hide();
    part.text = new QLabel(part.box);
    part.text->setTextFormat(Qt::PlainText);
    // Long texts must not widen the part beyond its computed width.
    part.text->setMinimumWidth(0);
    part.text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(part.icon);
    row->addWidget(part.text, 1);
    addPermanentWidget(part.box, i == kStatusPartCount - 1 ? 1 : 0);
  }
}

void FrameStatusBar::SetPartText(int part, const QString& text) {
  if (part < 0 || part >= kStatusPartCount) return;
  parts_[part].text->setText(text);
  parts_[part].text->setToolTip(text);
}

QString FrameStatusBar::PartText(int part) const {
  if (part < 0 || part >= kStatusPartCount) return {};
  return parts_[part].text->text();
}

void FrameStatusBar::SetPartIcon(int part, const QIcon& icon) {
  if (part < 0 || part >= kStatusPartCount) return;
  QLabel* label = parts_[part].icon;
  const int size = StatusIconSize(height());
  label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(size, size));
  label->setVisible(!icon.isNull());
}

void FrameStatusBar::LayoutParts(int clientWidth) {
  const auto edges = StatusPartRightEdges(clientWidth, height());
  int left = 0;
  for (int i = 0; i + 1 < kStatusPartCount; ++i) {
    const int right = std::max(left, edges[i]);
    parts_[i].box->setFixedWidth(right - left);
    left = right;
  }
  parts_[kStatusPartCount - 1].box->setMinimumWidth(0);
}

int FrameStatusBar::PartWidth(int part) const {
  if (part < 0 || part >= kStatusPartCount) return 0;
  return parts_[part].box->width();
}

}  // namespace dupliora
