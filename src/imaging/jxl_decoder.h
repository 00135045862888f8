// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "imaging/codec_support.h"
#include "imaging/picture_header.h"

// JPEG XL pictures through libjxl. Pixels come as stored; the orientation
// of the codestream header is applied only when a caller asks for upright.
namespace dupliora {

bool LooksLikeJpegXl(const QByteArray& head);

// Size, alpha and orientation from the codestream header; reads only as much
// of the file as the header needs.
std::optional<PictureHeader> ReadJpegXlHeader(const QString& path);

// The first frame decoded in full, then turned and scaled as asked. libjxl
// 0.7 has no reduced decode: stopping at the 1:8 DC image still renders it at
// full size, which cost as much as the whole decode (measured: 120 + 460 ms
// against 450 ms for 5.7 MP).
QImage DecodeJpegXl(const QString& path, const DecodeRequest& request);

}  // namespace dupliora
