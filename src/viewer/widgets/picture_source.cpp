// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/widgets/picture_source.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "viewer/widgets/fit_rect.h"

// Resources of a static library are registered only when someone asks for
// them; the macro must be used outside any namespace.
static void EnsureViewerResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(viewer_pictures);
    return true;
  }();
  (void)registered;
}

namespace dupliora {
namespace {

struct PictureProbe {
  QSize size;  // as shown, after the orientation of the photo
  bool alpha = false;
};

PictureProbe ProbePicture(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  PictureProbe probe;
  const QSize stored = reader.size();
  if (!stored.isValid()) return probe;
  const bool quarter_turn = reader.transformation() & QImageIOHandler::TransformationRotate90;
  probe.size = quarter_turn ? stored.transposed() : stored;
  const QImage::Format format = reader.imageFormat();
  probe.alpha = format != QImage::Format_Invalid &&
                QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha;
  return probe;
}

// Stand-in until the shared imaging services land: no thumbnail cache.
QImage LookUpThumbnail(const QString&, int) { return {}; }

// Stand-in until the shared imaging services land: the reader's own scaling.
QImage DecodeFitted(const QString& path, QSize bound) {
  QImageReader reader(path);
  reader.setAutoTransform(true);
  const QSize stored = reader.size();
  if (!stored.isValid() || bound.isEmpty()) return {};
  const bool quarter_turn = reader.transformation() & QImageIOHandler::TransformationRotate90;
  const QSize shown = quarter_turn ? stored.transposed() : stored;
  if (shown.width() > bound.width() || shown.height() > bound.height()) {
    const QSize target = shown.scaled(bound, Qt::KeepAspectRatio);
    reader.setScaledSize(quarter_turn ? target.transposed() : target);
  }
  return reader.read();
}

QImage LoadFilePicture(const QString& path, QSize client) {
  const PictureProbe probe = ProbePicture(path);
  if (!probe.size.isValid()) return {};
  const QSize fit = StoredPictureSize(client, probe.size);
  if (!probe.alpha) {
    // Thumbnails are asked for at twice the pane; one smaller than the fit
    // would be painted blurred, so the file is decoded instead.
    QImage thumbnail = LookUpThumbnail(path, 2 * std::max(client.width(), client.height()));
    if (!thumbnail.isNull() && thumbnail.width() >= fit.width() &&
        thumbnail.height() >= fit.height())
      return thumbnail;
  }
  return DecodeFitted(path, fit);
}

}  // namespace

QImage LoadResourcePicture(const QString& name) {
  EnsureViewerResources();
  if (!name.startsWith(u':')) return {};
  QImageReader reader(name);
  return reader.read();
}

QImage LoadPaneSourcePicture(const PictureRequest& request) {
  if (request.path.isEmpty() || request.client.isEmpty()) return {};
  QImage picture = request.resource ? LoadResourcePicture(request.path)
                                    : LoadFilePicture(request.path, request.client);
  if (request.turn && !picture.isNull()) picture = picture.mirrored(true, true);
  return picture;
}

}  // namespace dupliora
