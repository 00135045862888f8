// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/bitmap_ops.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "imaging/exif_thumbnail.h"
#include "imaging/picture_header.h"
#include "imaging/scaled_decode.h"
#include "imaging/thumbnail_fit.h"

namespace dupliora {

QImage LoadThumbnail(const QString& path, QSize size) {
  const std::optional<PictureHeader> header = LoadPictureHeader(path);
  if (!header) return {};
  const QSize picture(static_cast<int>(header->width), static_cast<int>(header->height));
  return LoadThumbnail(path, size, ReadEmbeddedThumbnail(path), picture);
}

QImage LoadThumbnail(const QString& path, QSize size, const QByteArray& embedded, QSize picture) {
  if (!embedded.isEmpty()) {
    QImage thumb = DecodeThumbnailShowingPicture(embedded, picture, size);
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
