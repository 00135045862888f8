// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/scaled_decode.h"

#include <QImageReader>
#include <algorithm>
#include <mutex>

#include "imaging/codec_dispatch.h"
#include "imaging/decode_budget.h"
#include "imaging/picture_file.h"
#include "imaging/read_problem.h"
#include "imaging/truncation_check.h"

namespace dupliora {

namespace {

// Below Qt's threshold of 50 its JPEG reader uses the fast integer DCT without
// fancy upsampling, and scaled reads use the fast scaler.
constexpr int kFastReadQuality = 0;
// libjpeg decodes at 1/8 scale at the smallest.
constexpr std::int64_t kJpegSmallestScaleArea = 64;

bool IsVectorReader(const QImageReader& reader) {
  const QByteArray format = reader.format();
  return format == "svg" || format == "svgz";
}

// Decoders that produce the scaled size themselves. Qt's PNG reader accepts a
// scaled size too, but decodes in full and scales at 32 bits afterwards.
bool ScalesWhileDecoding(const QImageReader& reader) {
  return IsVectorReader(reader) || reader.format() == "jpeg";
}

std::int64_t Area(QSize size) { return std::int64_t{size.width()} * size.height(); }

// What a decode may take. Qt's allocation limit counts every picture at 32
// bits whatever its depth, and so does this.
std::int64_t DecodeBytes(const QImageReader& reader, QSize stored, QSize size) {
  if (!ScalesWhileDecoding(reader)) return Area(stored) * 4;
  if (IsVectorReader(reader)) return Area(size) * 4;
  return std::max(Area(size), Area(stored) / kJpegSmallestScaleArea) * 4;
}

// Nearest-neighbour to at most twice the target, keeping the pixel format:
// the smooth scale that follows then converts a small picture, not a huge one.
QImage ShrinkInOwnFormat(const QImage& image, QSize size) {
  const QSize between = (size * 2).boundedTo(image.size());
  return image.scaled(between, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool WithinLimits(const QImageReader& reader, QSize stored, std::int64_t bytes) {
  if (IsVectorReader(reader)) return true;
  return Area(stored) <= kMaxRasterPixels && bytes <= kMaxDecodeBytes;
}

// Reports a BMP or GIF that decoded although it was cut short. The format is
// taken before the decode: once the reader has read its device, it no longer
// recognises the format.
void CheckForCut(PictureFile& file, const QByteArray& format) {
  QFile* device = file.File();
  if (device != nullptr && EndsBeforeItsPixels(*device, format)) {
    ReportReadProblem(ReadProblem::kDamaged);
  }
}

}  // namespace

void ConfigurePictureReader(QImageReader& reader) {
  static std::once_flag limit_once;
  std::call_once(limit_once, [] {
    QImageReader::setAllocationLimit(kImageAllocationLimitMb);
    InstallDecoderWarningHook();
  });
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
  if (size.isEmpty()) return {};
  if (!stored.isValid()) {  // recognised, yet its size cannot be read (a cut TIFF)
    ReportReadProblem(ReadProblem::kDamaged);
    return {};
  }
  const std::int64_t bytes = DecodeBytes(reader, stored, size);
  if (!WithinLimits(reader, stored, bytes)) {
    ReportReadProblem(ReadProblem::kTooLarge);
    return {};
  }
  const bool shrink_first = !ScalesWhileDecoding(reader) && Area(stored) * 4 > kMaxConvertBytes;
  if (!shrink_first) reader.setScaledSize(size);
  if (fast) reader.setQuality(kFastReadQuality);
  QImage image;
  {
    const DecodeMemoryHold hold(bytes);
    image = reader.read();
  }
  if (image.isNull()) {
    ReportReadProblem(ReadProblem::kDamaged);
    return {};
  }
  const bool turned = reader.autoTransform() &&
                      reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
  if (turned) size.transpose();
  if (shrink_first) image = ShrinkInOwnFormat(image, size);
  if (image.size() != size) {
    // Some plugins ignore the scaled size; the caller relies on it.
    image = image.scaled(size, Qt::IgnoreAspectRatio,
                         fast ? Qt::FastTransformation : Qt::SmoothTransformation);
  }
  return image;
}

QImage DecodeStretched(const QString& path, QSize size, bool fast) {
  if (const Codec codec = CodecOf(path); codec != Codec::kQt)
    return DecodeWithCodec(codec, path, {size, false, false, fast});
  PictureFile file(path);
  if (file.Reader() == nullptr) return {};
  const QByteArray format = file.Reader()->format();
  QImage image = DecodeStretched(*file.Reader(), size, fast);
  if (!image.isNull()) CheckForCut(file, format);
  return image;
}

QImage DecodeScaled(const QString& path, QSize bound, bool apply_orientation) {
  if (const Codec codec = CodecOf(path); codec != Codec::kQt)
    return DecodeWithCodec(codec, path, {bound, true, apply_orientation, false});
  PictureFile file(path);
  QImageReader* reader = file.Reader();
  if (reader == nullptr) return {};
  reader->setAutoTransform(apply_orientation);
  const QSize stored = reader->size();
  if (!stored.isValid()) {
    ReportReadProblem(ReadProblem::kDamaged);
    return {};
  }
  const QByteArray format = reader->format();
  // Scaling happens before the turn, so a quarter turn fits the transposed bound.
  const bool transposed = apply_orientation && reader->transformation().testFlag(
                                                   QImageIOHandler::TransformationRotate90);
  const QSize target = FitInside(stored, transposed ? bound.transposed() : bound);
  QImage image = DecodeStretched(*reader, target, false);
  if (!image.isNull()) CheckForCut(file, format);
  return image;
}

}  // namespace dupliora
