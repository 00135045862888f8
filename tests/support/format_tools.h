// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// HEIC, AVIF and JPEG XL test files made at test time by the encoders of
// Debian's libheif-examples, libavif-bin and libjxl-tools.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace dupliora::test {

enum class Encoder { kHeic, kAvif, kJpegXl };

// Encodes the picture file `source` (PNG or JPEG) into `target` with the
// encoder's fast settings and `extra` arguments; false when the encoder is
// missing or fails.
bool EncodeWithTool(Encoder encoder, const QString& source, const QString& target,
                    const QStringList& extra = {});

// The encoders that are not installed, for a skip message; empty when all are.
QStringList MissingEncoders();

// One picture in every format: folder/stem + .png (the source), .jpg, .heic
// (with a thumbnail image of `thumb_side` on its long edge), .avif, .jxl and
// .dng (with an embedded JPEG preview of `preview` size). False on any failure.
bool WriteFormatCopies(const QImage& picture, const QString& folder, const QString& stem,
                       int thumb_side, QSize preview);

}  // namespace dupliora::test
