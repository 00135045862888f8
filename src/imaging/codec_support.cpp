// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/codec_support.h"

#include <QFile>
#include <QTransform>
#include <cmath>
#include <cstdio>
#include <memory>

#include "imaging/scaled_decode.h"

namespace dupliora {

namespace {

// A camera preview cut to 16:9 from a 3:2 sensor differs by 16 %, rounding of
// a reduced preview by well under 1 %.
constexpr double kAspectTolerance = 0.02;

QImage Rotated(const QImage& image, int degrees) {
  return image.transformed(QTransform().rotate(degrees));
}

}  // namespace

bool OrientationSwapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

QImage ApplyOrientation(const QImage& stored, int orientation) {
  switch (orientation) {
    case 2:
      return stored.mirrored(true, false);
    case 3:
      return stored.mirrored(true, true);
    case 4:
      return stored.mirrored(false, true);
    case 5:
      return Rotated(stored, 90).mirrored(true, false);
    case 6:
      return Rotated(stored, 90);
    case 7:
      return Rotated(stored, 90).mirrored(false, true);
    case 8:
      return Rotated(stored, 270);
    default:
      return stored;
  }
}

QSize NeededStoredSize(QSize stored, int orientation, const DecodeRequest& request) {
  const bool swapped = request.oriented && OrientationSwapsAxes(orientation);
  const QSize wanted = swapped ? request.size.transposed() : request.size;
  return request.keep_aspect ? FitInside(stored, wanted) : wanted;
}

QImage FinishDecode(const QImage& stored, int orientation, const DecodeRequest& request) {
  if (stored.isNull() || request.size.isEmpty()) return {};
  const QImage upright = request.oriented ? ApplyOrientation(stored, orientation) : stored;
  const QSize target = request.keep_aspect ? FitInside(upright.size(), request.size) : request.size;
  if (upright.size() == target) return upright;
  return upright.scaled(target, Qt::IgnoreAspectRatio,
                        request.fast ? Qt::FastTransformation : Qt::SmoothTransformation);
}

std::int64_t DecodeBudgetBytes() { return std::int64_t{kImageAllocationLimitMb} << 20; }

bool FitsDecodeBudget(QSize size, int bytes_per_pixel) {
  if (size.isEmpty()) return false;
  const std::int64_t pixels = std::int64_t{size.width()} * size.height();
  return pixels <= kMaxRasterPixels && pixels * bytes_per_pixel <= DecodeBudgetBytes();
}

QByteArray PpmBytes(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  QByteArray bytes =
      QStringLiteral("P6\n%1 %2\n255\n").arg(rgb.width()).arg(rgb.height()).toLatin1();
  const qsizetype row_bytes = qsizetype{rgb.width()} * 3;
  bytes.reserve(bytes.size() + row_bytes * rgb.height());
  for (int y = 0; y < rgb.height(); ++y)
    bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), row_bytes);
  return bytes;
}

bool AspectsAgree(QSize a, QSize b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const double ratio_a = double(a.width()) / a.height();
  const double ratio_b = double(b.width()) / b.height();
  return std::abs(ratio_a - ratio_b) <= kAspectTolerance * ratio_b;
}

}  // namespace dupliora
