// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

namespace dupliora {

inline constexpr int kBitmapSide = 64;

// A thumbnail of exactly `size` (stretched): from the embedded thumbnail when
// the file has one that shows the picture (its bars cut away, thumbnail_fit.h),
// else the whole picture by scaled decoding, so a large JPEG is never decoded
// in full. Orientation is not applied. Null on failure.
QImage LoadThumbnail(const QString& path, QSize size);
// The same with the embedded thumbnail already read (ReadEmbeddedThumbnail)
// and the picture's stored size known.
QImage LoadThumbnail(const QString& path, QSize size, const QByteArray& embedded, QSize picture);

// The whole picture stretched into a new 64 x 64 ARGB bitmap over transparent
// black with the fastest scaler. Null when the picture cannot be decoded.
QImage DrawStretched64(const QString& path);

// The bitmap as a 32-bit device bitmap over background 0: premultiplied ARGB,
// laid out in memory as B, G, R, A per pixel (little-endian).
QImage ToDeviceBitmap(const QImage& bitmap);

// The picture turned by 180 degrees.
QImage Turn180(const QImage& picture);

// Copies the bits of a 32-bit device bitmap, rows top to bottom without gaps,
// into `out`; returns the count copied: at most out.size(), 0 for a bitmap of
// another depth.
std::size_t ReadBitmapBits(const QImage& bitmap, std::span<std::uint8_t> out);

}  // namespace dupliora
