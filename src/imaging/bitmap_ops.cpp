// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/bitmap_ops.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "imaging/exif_thumbnail.h"
#include "imaging/scaled_decode.h"

namespace dupliora {

namespace {

QImage DecodeEmbeddedThumbnail(QByteArray data, QSize size) {
  QBuffer buffer(&data);
  QImageReader reader(&buffer);
  ConfigurePictureReader(reader);
  return DecodeStretched(reader, size, false);
}

}  // namespace

QImage LoadThumbnail(const QString& path, QSize size) {
  return LoadThumbnail(path, size, ReadEmbeddedThumbnail(path));
}

QImage LoadThumbnail(const QString& path, QSize size, const QByteArray& embedded) {
  if (!embedded.isEmpty()) {
    QImage thumb = DecodeEmbeddedThumbnail(embedded, size);
    if (!thumb.isNull()) return thumb;
  }
  return DecodeStretched(path, size, false);
}

QImage DrawStretched64(const QString& path) {
  const QSize side(kBitmapSide, kBitmapSide);
  const QImage picture = DecodeStretched(path, side, true);
  if (picture.isNull()) return {};
  QImage bitmap(side, QImage::Format_ARGB32_Premultiplied);
  bitmap.fill(Qt::transparent);
  QPainter painter(&bitmap);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(QPoint(0, 0), side), picture);
  painter.end();
  return bitmap;
}

QImage ToDeviceBitmap(const QImage& bitmap) {
  return bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Turn180(const QImage& picture) { return picture.mirrored(true, true); }

std::size_t ReadBitmapBits(const QImage& bitmap, std::span<std::uint8_t> out) {
  if (bitmap.isNull() || bitmap.depth() != 32) return 0;
  const std::size_t row_bytes = static_cast<std::size_t>(bitmap.width()) * 4;
  std::size_t copied = 0;
  for (int y = 0; y < bitmap.height() && copied < out.size(); ++y) {
    const std::size_t count = std::min(row_bytes, out.size() - copied);
    std::memcpy(out.data() + copied, bitmap.constScanLine(y), count);
    copied += count;
  }
  return copied;
}

}  // namespace dupliora
