// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/picture_source.h"

#include <sys/stat.h>

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "imaging/scaled_decode.h"
#include "platform/thumbnail_cache.h"
#include "viewer/fit_rect.h"

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

}  // namespace

FileStamp StampOf(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return {};
  return {static_cast<qint64>(info.st_size),
          static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

QImage LoadFilePicture(const QString& path, QSize client, const ThumbnailLookup& thumbnails) {
  const PictureProbe probe = ProbePicture(path);
  if (!probe.size.isValid()) return {};
  const QSize fit = StoredPictureSize(client, probe.size);
  if (!probe.alpha) {
    // Thumbnails are asked for at twice the pane; one smaller than the fit
    // would be painted blurred, so the file is decoded instead.
    QImage thumbnail = thumbnails(path, 2 * std::max(client.width(), client.height()));
    if (!thumbnail.isNull() && thumbnail.width() >= fit.width() &&
        thumbnail.height() >= fit.height())
      return thumbnail;
  }
  return DecodeScaled(path, fit, true);
}

QImage LoadResourcePicture(const QString& name) {
  EnsureViewerResources();
  if (!name.startsWith(u':')) return {};
  QImageReader reader(name);
  return reader.read();
}

QImage LoadPaneSourcePicture(const PictureRequest& request) {
  if (request.path.isEmpty() || request.client.isEmpty()) return {};
  QImage picture = request.resource
                       ? LoadResourcePicture(request.path)
                       : LoadFilePicture(request.path, request.client, LoadCachedThumbnail);
  if (request.turn && !picture.isNull()) picture = picture.mirrored(true, true);
  return picture;
}

}  // namespace dupliora
