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
  const bool was_empty = PartIsEmpty(part);
  parts_[part].text->setText(text);
  parts_[part].text->setToolTip(text);
  if (PartIsEmpty(part) != was_empty) LayoutParts(client_width_);
}

bool FrameStatusBar::PartIsEmpty(int part) const {
  return parts_[part].text->text().isEmpty() && parts_[part].icon->isHidden();
}

QString FrameStatusBar::PartText(int part) const {
  if (part < 0 || part >= kStatusPartCount) return {};
  return parts_[part].text->text();
}

void FrameStatusBar::SetPartIcon(int part, const QIcon& icon) {
  if (part < 0 || part >= kStatusPartCount) return;
  QLabel* label = parts_[part].icon;
  const int size = StatusIconSize(height());
  const bool was_empty = PartIsEmpty(part);
  label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(size, size));
  label->setVisible(!icon.isNull());
  if (PartIsEmpty(part) != was_empty) LayoutParts(client_width_);
}

// The cache line (last part) also says what came from the record store; at
// its own 200 pixels only the count fitted. The part before it shows nothing
// in this program, so while it is empty the cache line takes its room.
void FrameStatusBar::LayoutParts(int clientWidth) {
  client_width_ = clientWidth;
  auto edges = StatusPartRightEdges(clientWidth, height());
  constexpr int kBeforeLast = kStatusPartCount - 2;
  if (PartIsEmpty(kBeforeLast)) edges[kBeforeLast] = edges[kBeforeLast - 1];
  int left = 0;
  for (int i = 0; i + 1 < kStatusPartCount; ++i) {
    const int right = std::max(left, edges[i]);
    parts_[i].box->setFixedWidth(right - left);
    parts_[i].box->setVisible(right > left);  // a hidden part leaves no gap between its neighbours
    left = right;
  }
  parts_[kStatusPartCount - 1].box->setMinimumWidth(0);
}

int FrameStatusBar::PartWidth(int part) const {
  if (part < 0 || part >= kStatusPartCount) return 0;
  return parts_[part].box->width();
}

}  // namespace dupliora
