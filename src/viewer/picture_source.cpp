// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/picture_source.h"

#include <sys/stat.h>

#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <QImageReader>
#include <algorithm>
#include <cstring>

#include "imaging/codec_support.h"
#include "imaging/picture_header.h"
#include "imaging/scaled_decode.h"
#include "platform/decoder_pool.h"
#include "platform/decoder_service.h"
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
  PictureProbe probe;
  const std::optional<PictureHeader> header = LoadPictureHeader(path);
  if (!header || header->width == 0 || header->height == 0) return probe;
  const QSize stored(static_cast<int>(header->width), static_cast<int>(header->height));
  probe.size = OrientationSwapsAxes(header->orientation) ? stored.transposed() : stored;
  probe.alpha = header->alpha;
  return probe;
}

// Both panes may load at once.
constexpr int kPaneDecoders = 2;

// The picture as raw rows: a pane picture of a few MB crosses the socket in
// about a millisecond, where PNG encoding would take tens.
void WriteImage(QDataStream& out, const QImage& image) {
  out << static_cast<qint32>(image.format()) << image.width() << image.height();
  for (int y = 0; y < image.height(); ++y) {
    out.writeRawData(reinterpret_cast<const char*>(image.constScanLine(y)),
                     static_cast<int>(image.bytesPerLine()));
  }
}

QImage ReadImage(QDataStream& in) {
  qint32 format = 0;
  int width = 0;
  int height = 0;
  in >> format >> width >> height;
  if (in.status() != QDataStream::Ok || format <= QImage::Format_Invalid ||
      format >= QImage::NImageFormats || width <= 0 || height <= 0) {
    return {};
  }
  QImage image(width, height, static_cast<QImage::Format>(format));
  if (image.isNull()) return {};
  for (int y = 0; y < height; ++y) {
    const int row = static_cast<int>(image.bytesPerLine());
    if (in.readRawData(reinterpret_cast<char*>(image.scanLine(y)), row) != row) return {};
  }
  return image;
}

QByteArray RequestBody(const PictureRequest& request) {
  QByteArray body;
  QDataStream stream(&body, QIODevice::WriteOnly);
  stream << request.path << request.client;
  return body;
}

}  // namespace

FileStamp PictureFileStamp(const QString& path) {
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

QImage LoadPaneFilePicture(const PictureRequest& request) {
  return LoadFilePicture(request.path, request.client, LoadCachedThumbnail);
}

void PrestartPaneDecoder() { decoder::DecoderPool::Shared().Prestart(kPaneDecoders); }

QImage LoadPaneSourcePicture(const PictureRequest& request, const std::atomic<bool>& cancel) {
  if (request.path.isEmpty() || request.client.isEmpty()) return {};
  QImage picture;
  if (request.resource) {
    picture = LoadResourcePicture(request.path);
  } else {
    using decoder::JobStatus;
    const decoder::JobResult result = decoder::DecoderPool::Shared().Run(
        decoder::JobKind::kPanePicture, RequestBody(request), &cancel);
    if (result.status == JobStatus::kUnavailable) {
      picture = LoadPaneFilePicture(request);
    } else if (result.status == JobStatus::kDone) {
      QDataStream in(result.reply);
      picture = ReadImage(in);
    }
  }
  if (request.turn && !picture.isNull()) picture = picture.mirrored(true, true);
  return picture;
}

QByteArray ServePanePictureJob(const QByteArray& body) {
  PictureRequest request;
  QDataStream stream(body);
  stream >> request.path >> request.client;
  decoder::InjectTestFault(request.path);
  const QImage picture = LoadPaneFilePicture(request);
  QByteArray reply;
  QDataStream out(&reply, QIODevice::WriteOnly);
  if (!picture.isNull()) WriteImage(out, picture);
  return reply;
}

}  // namespace dupliora
