// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

// What the HEIF, JPEG XL and camera RAW decoders share: how a decode is asked
// for, how its result is turned and scaled, and the memory rule they obey.
namespace dupliora {

// One decode as the imaging operations ask for it.
struct DecodeRequest {
  QSize size;                // wanted size, upright when `oriented`
  bool keep_aspect = false;  // fit inside `size` (never enlarged) instead of stretching to it
  bool oriented = false;     // turn the picture upright by its orientation
  bool fast = false;         // the fastest scaler instead of smoothing
};

// The EXIF orientation values 1..8; 5 to 8 swap width and height.
inline constexpr int kUprightOrientation = 1;
bool OrientationSwapsAxes(int orientation);
QImage ApplyOrientation(const QImage& stored, int orientation);

// The size a decoder must deliver at least, in stored axes, for `request`
// on a picture stored at `stored` with `orientation`.
QSize NeededStoredSize(QSize stored, int orientation, const DecodeRequest& request);

// Turns (when asked) and scales a decoded picture as `request` wants it.
QImage FinishDecode(const QImage& stored, int orientation, const DecodeRequest& request);

// A picture of `size` whose decoding holds `bytes_per_pixel` bytes for each of
// its pixels stays within the raster pixel limit and the allocation budget.
bool FitsDecodeBudget(QSize size, int bytes_per_pixel);
std::int64_t DecodeBudgetBytes();

// An 8-bit RGB picture as a binary PPM: the cheapest form Qt's readers take,
// used to hand over thumbnails that are not stored as JPEG.
QByteArray PpmBytes(const QImage& picture);

// Whether two aspect ratios agree closely enough for a preview to stand in
// for its picture.
bool AspectsAgree(QSize a, QSize b);

}  // namespace dupliora
