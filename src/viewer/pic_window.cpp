// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/pic_window.h"

#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>

#include "viewer/fit_rect.h"
#include "viewer/picture_loader.h"

namespace dupliora {
namespace {

// Long enough to let a drag-resize settle, short enough to feel immediate.
constexpr int kResizeReloadMs = 20;

}  // namespace

QBrush CreateCheckerBrush() {
  QImage pattern(16, 16, QImage::Format_RGB32);
  pattern.fill(kCheckerDark);
  QPainter painter(&pattern);
  painter.fillRect(0, 0, 8, 8, kCheckerLight);
  painter.fillRect(8, 8, 8, 8, kCheckerLight);
  painter.end();
  return QBrush(QPixmap::fromImage(pattern));
}

CPicWindow::CPicWindow(QWidget* parent, PictureSource source)
    : QFrame(parent), checker_brush_(CreateCheckerBrush()) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setCursor(Qt::ArrowCursor);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kPaneBackground);
  setPalette(colours);
  using PaneSource = decltype(&LoadPaneSourcePicture);
  const PaneSource* loads_files = source.target<PaneSource>();
  if (loads_files != nullptr && *loads_files == &LoadPaneSourcePicture) PrestartPaneDecoder();
  resize_timer_.setSingleShot(true);
  resize_timer_.setInterval(kResizeReloadMs);
  connect(&resize_timer_, &QTimer::timeout, this, &CPicWindow::RequestCurrent);
  // The loader thread never touches the widget: it posts each picture to the
  // widget's thread, and posts to a destroyed widget are discarded.
  loader_ = std::make_unique<PictureLoader>(std::move(source), [this](const PictureRequest& request,
                                                                      const QImage& picture) {
    QMetaObject::invokeMethod(
        this, [this, request, picture] { ApplyPicture(request, picture); }, Qt::QueuedConnection);
  });
}

CPicWindow::~CPicWindow() { loader_.reset(); }

void CPicWindow::SetPicture(const QString& path, bool resource) {
  requested_path_ = path;
  requested_resource_ = resource;
  if (path.isEmpty()) {  // nothing to show: the pane goes blank
    picture_ = QImage();
    update();
    emit pictureChanged();
    return;
  }
  RequestCurrent();
}

void CPicWindow::RequestCurrent() {
  if (requested_path_.isEmpty()) return;
  loader_->Request(PictureRequest{requested_path_, requested_resource_, turn_,
                                  contentsRect().size(),
                                  requested_resource_ ? FileStamp{} : PictureFileStamp(requested_path_)});
}

void CPicWindow::ApplyPicture(const PictureRequest&, const QImage& picture) {
  if (requested_path_.isEmpty()) return;  // a load that ended after the pane was emptied
  picture_ = picture;
  checker_ = picture.hasAlphaChannel();
  update();
  emit pictureChanged();
}

void CPicWindow::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  // A larger pane wants a sharper picture: load again once resizing settles.
  resize_timer_.start();
}

void CPicWindow::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (picture_.isNull()) return;
  const QRect client = contentsRect();
  const QRect target =
      PaintRect(client.size(), picture_.size()).ToQRect().translated(client.topLeft());
  QPainter painter(this);
  painter.setClipRect(client);
  if (checker_) painter.fillRect(target, checker_brush_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, picture_);
}

}  // namespace dupliora
