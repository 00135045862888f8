// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "imaging/codec_support.h"
#include "imaging/picture_header.h"

// Camera RAW files (CR2, CR3, NEF, ARW, DNG, RAF, ORF, RW2 and the rest
// LibRaw knows) through LibRaw. Pixels come as the sensor stored them; the
// camera's orientation is applied only when a caller asks for upright.
namespace dupliora {

// By the first bytes: the RAW signatures that are no TIFF, and TIFF files,
// which LibRaw must then look at (most RAW formats are TIFF inside).
bool MayBeCameraRaw(const QByteArray& head);

// LibRaw recognises the file as camera RAW (a plain TIFF is not).
bool IsCameraRaw(const QString& path);

// Size of the developed picture and the camera's orientation, from the
// file's metadata; no pixels decoded.
std::optional<PictureHeader> ReadRawHeader(const QString& path);

// Serves the request from the embedded preview when it is large enough and
// of the picture's shape, else develops the sensor data (at half size when
// that is still large enough).
QImage DecodeRaw(const QString& path, const DecodeRequest& request);

// The camera's embedded preview: JPEG bytes as stored, or a bitmap preview
// as PPM bytes; empty when there is none.
QByteArray ReadRawPreview(const QString& path);

}  // namespace dupliora
