// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "imaging/codec_support.h"
#include "imaging/picture_header.h"

// Which decoder reads a file: Qt's image plugins, or one of ours for the
// formats Qt does not know. Chosen by content, never by the file's name.
namespace dupliora {

enum class Codec { kQt, kHeif, kJpegXl, kCameraRaw };

// Reads the first bytes of the file (and asks LibRaw about TIFF files).
Codec CodecOf(const QString& path);

// The operations of the codec; not for kQt, which the callers serve themselves.
std::optional<PictureHeader> ReadCodecHeader(Codec codec, const QString& path);
QImage DecodeWithCodec(Codec codec, const QString& path, const DecodeRequest& request);
// The picture's own reduced copy (HEIF thumbnail, RAW preview) as bytes that
// Qt's readers take; empty when there is none.
QByteArray ReadCodecThumbnail(Codec codec, const QString& path);

}  // namespace dupliora
