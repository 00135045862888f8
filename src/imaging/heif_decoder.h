// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "imaging/codec_support.h"
#include "imaging/picture_header.h"

// HEIF pictures (HEIC from phones, AVIF) through libheif. libheif applies the
// file's own rotation, mirroring and crop while decoding, so a HEIF picture
// is always delivered as it is meant to be seen (orientation 1).
namespace dupliora {

bool LooksLikeHeif(const QByteArray& head);

// Size and alpha of the primary image from the file's boxes; no pixels decoded.
std::optional<PictureHeader> ReadHeifHeader(const QString& path);

// The primary image decoded in full, then scaled as asked.
QImage DecodeHeif(const QString& path, const DecodeRequest& request);

// The file's own largest thumbnail image, decoded and handed over as PPM
// bytes; empty when there is none or the picture has transparency (a PPM
// would lose it).
QByteArray ReadHeifThumbnail(const QString& path);

}  // namespace dupliora
