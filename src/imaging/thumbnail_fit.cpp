// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/thumbnail_fit.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <functional>

#include "imaging/scaled_decode.h"

namespace dupliora {

namespace {

// A bar pixel has no channel above this level: cameras write black, and JPEG
// ringing lifts the bar rows that share an 8 x 8 block with the picture a little.
constexpr int kBarLevel = 40;
// Large embedded previews (RAW) are searched for bars at about this size.
constexpr QSize kSearchBound(256, 256);

bool IsBarPixel(QRgb pixel) {
  return qRed(pixel) <= kBarLevel && qGreen(pixel) <= kBarLevel && qBlue(pixel) <= kBarLevel;
}

// How many lines from one edge are bar, stopping at the first that is not.
int BarRun(int lines, const std::function<bool(int)>& is_bar) {
  int run = 0;
  while (run < lines && is_bar(run)) ++run;
  return run;
}

// Splits `bars` lines between the two edges as their dark runs allow,
// evenly where both allow it (cameras centre the picture). When the runs
// fall short, as when a border line is lifted by ringing, all of both.
std::pair<int, int> SplitBars(int bars, int lead_run, int trail_run) {
  if (lead_run + trail_run <= bars) return {lead_run, trail_run};
  const int lead = std::clamp(bars / 2, std::max(0, bars - trail_run), std::min(lead_run, bars));
  return {lead, bars - lead};
}

}  // namespace

bool SameAspect(QSize a, QSize b, double tolerance) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const double ratio_a = static_cast<double>(a.width()) / a.height();
  const double ratio_b = static_cast<double>(b.width()) / b.height();
  return std::abs(ratio_a - ratio_b) <= tolerance * ratio_b;
}

std::optional<QRect> PictureAreaInThumbnail(const QImage& thumb, QSize picture) {
  if (thumb.isNull() || picture.isEmpty()) return std::nullopt;
  if (SameAspect(thumb.size(), picture)) return thumb.rect();
  const QImage rgb = thumb.convertToFormat(QImage::Format_RGB32);
  const int width = rgb.width();
  const int height = rgb.height();
  const auto pixel = [&](int x, int y) {
    return reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x];
  };
  const auto row_is_bar = [&](int y) {
    for (int x = 0; x < width; ++x)
      if (!IsBarPixel(pixel(x, y))) return false;
    return true;
  };
  const auto column_is_bar = [&](int x) {
    for (int y = 0; y < height; ++y)
      if (!IsBarPixel(pixel(x, y))) return false;
    return true;
  };
  const double aspect = static_cast<double>(picture.width()) / picture.height();
  QRect area = rgb.rect();
  if (aspect > static_cast<double>(width) / height) {
    // Letterbox: the picture fills the width, bars above and below.
    const int bars = height - static_cast<int>(std::lround(width / aspect));
    const auto [top, bottom] =
        SplitBars(bars, BarRun(height, row_is_bar),
                  BarRun(height, [&](int k) { return row_is_bar(height - 1 - k); }));
    area.adjust(0, top, 0, -bottom);
  } else {
    // Pillarbox: the picture fills the height, bars left and right.
    const int bars = width - static_cast<int>(std::lround(height * aspect));
    const auto [left, right] =
        SplitBars(bars, BarRun(width, column_is_bar),
                  BarRun(width, [&](int k) { return column_is_bar(width - 1 - k); }));
    area.adjust(left, 0, -right, 0);
  }
  if (!SameAspect(area.size(), picture)) return std::nullopt;
  return area;
}

QImage DecodeThumbnailShowingPicture(const QByteArray& data, QSize picture, QSize size) {
  QByteArray bytes = data;
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  ConfigurePictureReader(reader);
  const QSize stored = reader.size();
  if (!stored.isValid()) return {};
  if (SameAspect(stored, picture)) return DecodeStretched(reader, size, false);
  const QImage thumb = DecodeStretched(reader, FitInside(stored, kSearchBound), false);
  const std::optional<QRect> area = PictureAreaInThumbnail(thumb, picture);
  if (!area) return {};
  return thumb.copy(*area).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace dupliora
