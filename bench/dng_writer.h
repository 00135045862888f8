// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// A camera RAW file drawn by code, for make_dng, the benchmarks and the tests:
// a DNG (a TIFF with a few tags) holding the picture as an RGGB Bayer mosaic
// of linear 16-bit values, and optionally an embedded JPEG preview, as
// cameras write them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace dupliora::bench {

struct DngOptions {
  int orientation = 1;  // TIFF orientation tag, 1..8
  QSize preview;        // size of the embedded JPEG preview; none when empty
  int preview_quality = 85;
  QImage preview_image;  // drawn into the preview instead of the picture, when set
  QSize claimed_size;    // sensor size written into the tags instead of the real one
};

QByteArray DngBytes(const QImage& picture, const DngOptions& options = {});
bool WriteDng(const QString& path, const QImage& picture, const DngOptions& options = {});

}  // namespace dupliora::bench
