// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/scaled_decode.h"

#include <QImageReader>
#include <mutex>

#include "imaging/codec_dispatch.h"

namespace dupliora {

namespace {

// Below Qt's threshold of 50 its JPEG reader uses the fast integer DCT without
// fancy upsampling, and scaled reads use the fast scaler.
constexpr int kFastReadQuality = 0;

bool IsVectorReader(const QImageReader& reader) {
  const QByteArray format = reader.format();
  return format == "svg" || format == "svgz";
}

bool WithinPixelLimit(const QImageReader& reader, QSize stored) {
  if (IsVectorReader(reader)) return true;
  return std::int64_t{stored.width()} * stored.height() <= kMaxRasterPixels;
}

}  // namespace

void ConfigurePictureReader(QImageReader& reader) {
  static std::once_flag limit_once;
  std::call_once(limit_once, [] { QImageReader::setAllocationLimit(kImageAllocationLimitMb); });
  reader.setAutoTransform(false);
}

QSize FitInside(QSize picture, QSize bound) {
  if (picture.isEmpty() || bound.isEmpty()) return {};
  if (picture.width() <= bound.width() && picture.height() <= bound.height()) return picture;
  QSize fitted = picture.scaled(bound, Qt::KeepAspectRatio);
  return fitted.expandedTo(QSize(1, 1));
}

QImage DecodeStretched(QImageReader& reader, QSize size, bool fast) {
  const QSize stored = reader.size();
  if (size.isEmpty() || !stored.isValid() || !WithinPixelLimit(reader, stored)) return {};
  reader.setScaledSize(size);
  if (fast) reader.setQuality(kFastReadQuality);
  QImage image = reader.read();
  const bool turned = reader.autoTransform() &&
                      reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
  if (turned) size.transpose();
  if (!image.isNull() && image.size() != size) {
    // Some plugins ignore the scaled size; the caller relies on it.
    image = image.scaled(size, Qt::IgnoreAspectRatio,
                         fast ? Qt::FastTransformation : Qt::SmoothTransformation);
  }
  return image;
}

QImage DecodeStretched(const QString& path, QSize size, bool fast) {
  if (const Codec codec = CodecOf(path); codec != Codec::kQt)
    return DecodeWithCodec(codec, path, {size, false, false, fast});
  QImageReader reader(path);
  ConfigurePictureReader(reader);
  return DecodeStretched(reader, size, fast);
}

QImage DecodeScaled(const QString& path, QSize bound, bool apply_orientation) {
  if (const Codec codec = CodecOf(path); codec != Codec::kQt)
    return DecodeWithCodec(codec, path, {bound, true, apply_orientation, false});
  QImageReader reader(path);
  ConfigurePictureReader(reader);
  reader.setAutoTransform(apply_orientation);
  const QSize stored = reader.size();
  if (!stored.isValid()) return {};
  // Scaling happens before the turn, so a quarter turn fits the transposed bound.
  const bool transposed = apply_orientation &&
                          reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
  const QSize target = FitInside(stored, transposed ? bound.transposed() : bound);
  return DecodeStretched(reader, target, false);
}

}  // namespace dupliora
