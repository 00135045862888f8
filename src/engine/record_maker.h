// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

#include "engine/image_record.h"
#include "engine/left_out.h"
#include "engine/sample.h"

namespace dupliora {

// Bump with every change that can make a different record from the same
// file: sampling, decoding, thumbnails, scaling or a new field. Records that
// an earlier build stored are then never served again.
inline constexpr int kRecordAlgorithmVersion = 1;

// The version stored with each record: kRecordAlgorithmVersion together with
// the Qt that decodes and scales at run time, so a Qt update (whose scaler or
// decoders may round differently) is a new version too.
std::int64_t CurrentRecordMakerVersion();

// The thumbnail extractor of method 1: on Linux the freedesktop thumbnail
// cache, scaled into the requested size keeping aspect (so only a square
// picture gives a full 64 x 64 bitmap). Never creates thumbnails.
class CThumbBitmap {
 public:
  static constexpr int kKeepAspect = 4;

  // A 32-bit device bitmap, or a null image when the cache has no valid thumbnail.
  QImage ExtractThumbnail(const QString& path, QSize size, int flags);

 private:
  QString m_last_path;
};

class DecodeGuard;

// Turns picture files into records. One per thread; not shared between threads.
class RecordMaker {
 public:
  // 1: thumbnail extractor, then library thumbnail, then drawing;
  // 2: library thumbnail, then drawing; 3: drawing only. With a guard that
  // is guarded, records are made in a decoder process; else in this one.
  explicit RecordMaker(int signature_rule, const DecodeGuard* guard = nullptr);
  int signature_rule() const { return m_signature_rule; }

  // Record must be zero-filled by the caller; last_write/file_size are the
  // caller's. False for anything that cannot be made into a record, including
  // a path too long for the record (never stored cut) and a picture whose
  // decoder found it truncated or corrupt: its missing part would be grey,
  // and cut copies of different photos matched each other at 99 %.
  bool MakeRecord(const QString& path, ImageRecord& record);
  // Why the last MakeRecord that failed left its file out.
  LeftOutReason FailureReason() const { return m_failure; }

  // The imaging-library path with the methods of the signature rule.
  bool MakeRecordFromImage(const QString& path, ImageRecord& record);
  // The fallback through the thumbnail cache: method 0, thumb_bytes 3.
  bool MakeRecordFromThumbnailCache(const QString& path, ImageRecord& record);

 private:
  bool TryExtractorSample(const QString& path, ImageRecord& record);
  bool TryLibraryThumbnail(const QString& path, const QByteArray& embedded, ImageRecord& record);
  bool TryDrawing(const QString& path, ImageRecord& record);
  bool Fail(LeftOutReason reason) {
    m_failure = reason;
    return false;
  }

  int m_signature_rule;
  const DecodeGuard* m_guard;
  LeftOutReason m_failure = LeftOutReason::kNotAPicture;
  CThumbBitmap m_thumb_bitmap;
};

}  // namespace dupliora
