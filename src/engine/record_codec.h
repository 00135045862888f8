// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "engine/file_list.h"
#include "engine/image_record.h"

namespace dupliora {

// The one place where a record becomes stored bytes and back. Stored is only
// what the picture gave: the sample and the measured fields. The path, size
// and time come from the store's key, and the turned copies are made again,
// so a decoded record is byte for byte the one MakeRecord made.
//
// Bump when the byte layout below changes: the store then starts empty.
inline constexpr int kRecordCodecVersion = 1;
inline constexpr int kEncodedRecordSize = kSampleSize + 7 * 4;

QByteArray EncodeRecord(const ImageRecord& record);

// Rebuilds the record of `path` from `bytes`; the record must be zero-filled.
// False, with the record unspecified, when the bytes are not an encoded record.
bool DecodeRecord(QByteArrayView bytes, const QString& path, const FileEntry& entry,
                  ImageRecord& record);

}  // namespace dupliora
