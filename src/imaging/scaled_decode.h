// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

class QImageReader;

namespace dupliora {

// Qt's default 128 MB allocation limit fails a full decode above ~33 megapixels;
// ours lets formats without scaled reads (WebP, TIFF, GIF, PNG) decode up to
// 128 MP (Qt counts every depth at 32 bits). At 1024 MB a 154-byte BMP
// claiming 16383 x 16383 passed.
inline constexpr int kImageAllocationLimitMb = 512;
inline constexpr std::int64_t kMaxDecodeBytes = std::int64_t{kImageAllocationLimitMb} << 20;
// A picture that would be larger than this at 32 bits is first shrunk in its
// own format (1 or 8 bits stay 1 or 8 bits), then scaled: the smooth scaler
// works at 32 bits, so a 33 KB 1-bit PNG of 16384 x 16384 cost 1.1 GB.
inline constexpr std::int64_t kMaxConvertBytes = std::int64_t{128} << 20;
// A raster picture whose header claims more pixels is refused before any
// decoding: a small file can claim 100000 x 100000 and cost minutes of CPU.
inline constexpr std::int64_t kMaxRasterPixels = std::int64_t{1} << 30;

// Installs the engine's allocation limit and the decoder warning hook (once
// per process) and reads pictures as stored: EXIF orientation is not applied.
void ConfigurePictureReader(QImageReader& reader);

// The largest size with the picture's aspect that fits inside `bound`, never
// larger than the picture itself; empty when either size is empty.
QSize FitInside(QSize picture, QSize bound);

// Decodes the whole picture scaled to exactly `size` (aspect not kept; turned
// when the reader applies orientation), with
// the format's scaled decoding where it has one (JPEG: libjpeg DCT scaling).
// `fast` trades smoothing for speed. Null image on failure or on a raster
// over kMaxRasterPixels or kMaxDecodeBytes; the reason is reported
// (read_problem.h), and so is a picture that decoded but was cut short.
// Large decodes wait for the shared decode budget (decode_budget.h).
// The reader overload expects ConfigurePictureReader.
QImage DecodeStretched(QImageReader& reader, QSize size, bool fast);
QImage DecodeStretched(const QString& path, QSize size, bool fast);

// Decodes the picture scaled to fit inside `bound` keeping aspect (never
// upscaled, never decoding more than needed), within a memory limit that
// refuses decompression bombs; apply_orientation turns it upright by EXIF orientation.
QImage DecodeScaled(const QString& path, QSize bound, bool apply_orientation);

}  // namespace dupliora
