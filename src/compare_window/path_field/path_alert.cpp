// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/path_field/path_alert.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QToolButton>

#include "compare_window/window_ids.h"

namespace dupliora {
namespace {

constexpr int kBalloonMaxWidth = 600;
constexpr int kFlashTicks = 10;
constexpr int kTipHeight = 10;  // the pointer under the balloon towards the field
constexpr int kIconSize = 16;

// The rounded body with its pointer at the bottom left.
QPainterPath BalloonOutline(const QRect& area) {
  const QRectF body = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5 - kTipHeight);
  QPainterPath path;
  path.addRoundedRect(body, 6, 6);
  QPolygonF tip;
  tip << QPointF(16, body.bottom() - 1) << QPointF(16, body.bottom() + kTipHeight)
      << QPointF(30, body.bottom() - 1);
  path.addPolygon(tip);
  return path.simplified();
}

}  // namespace

AlertBalloon::AlertBalloon(QWidget* parent)
    : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint),
      title_(new QLabel(this)),
      message_(new QLabel(this)) {
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setMaximumWidth(kBalloonMaxWidth);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  title_->setTextFormat(Qt::PlainText);
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize));
  auto* close = new QToolButton(this);
  close->setText(QStringLiteral("\u2715"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, &QWidget::hide);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(10, 8, 8, 8 + kTipHeight);
  grid->addWidget(icon, 0, 0);
  grid->addWidget(title_, 0, 1);
  grid->addWidget(close, 0, 2);
  grid->addWidget(message_, 1, 1, 1, 2);
  grid->setColumnStretch(1, 1);
}

void AlertBalloon::ShowAbove(QWidget* anchor, const QString& title, const QString& message) {
  hide();
  title_->setText(title);
  message_->setText(message);
  adjustSize();
  const QPoint corner = anchor->mapToGlobal(QPoint(0, 0));
  move(corner.x(), corner.y() - height());
  show();
  raise();
}

QString AlertBalloon::Title() const { return title_->text(); }
QString AlertBalloon::Message() const { return message_->text(); }

void AlertBalloon::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(palette().color(QPalette::ToolTipText));
  painter.setBrush(palette().color(QPalette::ToolTipBase));
  painter.drawPath(BalloonOutline(rect()));
}

// Without a compositing window manager the see-through corners and the space
// beside the pointer would show black; the mask cuts them away on any desktop.
void AlertBalloon::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  setMask(QRegion(BalloonOutline(rect().adjusted(0, 0, 1, 1)).toFillPolygon().toPolygon()));
}

PathAlert::PathAlert(QWidget* window, SetAlertColour colour)
    : QObject(window), balloon_(new AlertBalloon(window)), colour_(std::move(colour)) {
  timer_.setSingleShot(true);
  timer_.setInterval(ids::kAlertFlashMs);
  connect(&timer_, &QTimer::timeout, this, &PathAlert::Tick);
}

void PathAlert::Show(QWidget* field, const QString& title, const QString& message) {
  if (field_ && field_ != field) colour_(field_, false);
  field_ = field;
  balloon_->ShowAbove(field, title, message);
  counter_ = kFlashTicks;
  timer_.start();
}

void PathAlert::Tick() {
  if (counter_ <= 0) return;
  --counter_;
  if (counter_ >= 1) timer_.start();
  if (field_) {
    colour_(field_, counter_ % 2 == 1);
    field_->repaint();
  }
  if (counter_ == 0) balloon_->hide();
}

}  // namespace dupliora
