// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_maker.h"

#include <QCryptographicHash>
#include <QPainter>
#include <QtEndian>

#include "engine/decode_guard.h"
#include "engine/record_path.h"
#include "imaging/bitmap_ops.h"
#include "imaging/exif_thumbnail.h"
#include "imaging/picture_header.h"
#include "imaging/read_problem.h"
#include "platform/thumbnail_cache.h"

namespace dupliora {

namespace {

constexpr QSize kSampleBitmapSize(kSampleSide, kSampleSide);
// Marks a record made from the thumbnail cache, which knows no embedded thumbnail.
constexpr std::uint32_t kThumbnailCacheThumbBytes = 3;

// Draws a thumbnail stretched into a new 64 x 64 ARGB bitmap over transparent black.
QImage StretchInto64(const QImage& thumb) {
  QImage bitmap(kSampleBitmapSize, QImage::Format_ARGB32_Premultiplied);
  bitmap.fill(Qt::transparent);
  QPainter painter(&bitmap);
  painter.drawImage(QRect(QPoint(0, 0), kSampleBitmapSize), thumb);
  painter.end();
  return bitmap;
}

}  // namespace

QImage CThumbBitmap::ExtractThumbnail(const QString& path, QSize size, int flags) {
  m_last_path = path;
  const QImage thumb = LoadCachedThumbnail(path, std::max(size.width(), size.height()));
  if (thumb.isNull()) return {};
  const Qt::AspectRatioMode mode =
      (flags & kKeepAspect) ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio;
  return ToDeviceBitmap(thumb.scaled(size, mode, Qt::SmoothTransformation));
}

std::int64_t CurrentRecordMakerVersion() {
  const QByteArray name =
      QByteArray::number(kRecordAlgorithmVersion) + "/Qt " + QByteArray(qVersion());
  // 63 bits of a stable hash: SQLite integers are signed.
  const QByteArray digest = QCryptographicHash::hash(name, QCryptographicHash::Sha256);
  return static_cast<std::int64_t>(qFromBigEndian<quint64>(digest.constData()) >> 1);
}

RecordMaker::RecordMaker(int signature_rule, const DecodeGuard* guard)
    : m_signature_rule(signature_rule), m_guard(guard) {}

bool RecordMaker::MakeRecord(const QString& path, ImageRecord& record) {
  if (path.size() >= kRecordPathCapacity) return Fail(LeftOutReason::kPathTooLong);
  if (m_guard != nullptr && m_guard->Guarded()) {
    return m_guard->MakeRecord(path, m_signature_rule, record, m_failure);
  }
  if (MakeRecordFromImage(path, record)) return true;
  // A thumbnail made by another program from a damaged file shows the damage.
  if (m_failure == LeftOutReason::kDamaged) return false;
  const LeftOutReason reason = m_failure;
  if (MakeRecordFromThumbnailCache(path, record)) return true;
  return Fail(reason);
}

bool RecordMaker::MakeRecordFromImage(const QString& path, ImageRecord& record) {
  ReadProblemWatch watch;
  const std::optional<PictureHeader> header = LoadPictureHeader(path);
  if (!header || header->type == PictureType::kNone) return Fail(ReasonOf(watch.First()));
  // Read once: its size goes into the record, its pixels into method 2.
  const QByteArray embedded =
      header->type == PictureType::kRaster ? ReadEmbeddedThumbnail(path) : QByteArray();
  record.thumb_bytes = static_cast<std::uint32_t>(embedded.size());
  record.width = header->width;
  record.height = header->height;
  if (header->alpha) record.alpha = 1;
  if (!HasMinimumArea(record.width, record.height)) return Fail(LeftOutReason::kTooSmall);
  if (m_signature_rule == 1 && TryExtractorSample(path, record)) return true;
  if (m_signature_rule != 3 && TryLibraryThumbnail(path, embedded, record)) return true;
  if (TryDrawing(path, record)) return true;
  const ReadProblem problem = watch.Saw(ReadProblem::kTooLarge)     ? ReadProblem::kTooLarge
                              : watch.First() == ReadProblem::kNone ? ReadProblem::kDamaged
                                                                    : watch.First();
  return Fail(ReasonOf(problem));
}

bool RecordMaker::TryExtractorSample(const QString& path, ImageRecord& record) {
  const QImage bitmap =
      m_thumb_bitmap.ExtractThumbnail(path, kSampleBitmapSize, CThumbBitmap::kKeepAspect);
  if (bitmap.isNull() || !SetRecordPath(record, path)) return false;
  if (bitmap.width() == 0) return false;
  record.method = kMethodThumbnailExtractor;
  return MakeSample(bitmap, record);
}

bool RecordMaker::TryLibraryThumbnail(const QString& path, const QByteArray& embedded,
                                      ImageRecord& record) {
  // A camera thumbnail with black bars, or one left stale by an editor,
  // would miss the picture's own turned copy: see LoadThumbnail.
  const QSize picture(static_cast<int>(record.width), static_cast<int>(record.height));
  const ReadProblemWatch watch;
  const QImage thumb = LoadThumbnail(path, kSampleBitmapSize, embedded, picture);
  if (thumb.isNull() || watch.Saw(ReadProblem::kDamaged) || !SetRecordPath(record, path))
    return false;
  MakeSample(ToDeviceBitmap(thumb), record);  // as with drawing, a failed read keeps a zero sample
  record.method = kMethodLibraryThumbnail;
  return true;
}

bool RecordMaker::TryDrawing(const QString& path, ImageRecord& record) {
  record.method = kMethodLibraryDrawing;
  const ReadProblemWatch watch;
  const QImage bitmap = DrawStretched64(path);
  if (bitmap.isNull() || watch.Saw(ReadProblem::kDamaged)) return false;
  MakeSample(ToDeviceBitmap(bitmap), record);
  return SetRecordPath(record, path);
}

bool RecordMaker::MakeRecordFromThumbnailCache(const QString& path, ImageRecord& record) {
  const QImage thumb = LoadCachedThumbnail(path, kSampleSide);
  if (thumb.isNull()) return false;
  const QImage bitmap =
      ToDeviceBitmap(StretchInto64(thumb.scaled(kSampleBitmapSize, Qt::KeepAspectRatio)));
  if (!SetRecordPath(record, path)) return false;
  const QSize size = ThumbnailCacheImageSize(path).value_or(QSize(0, 0));
  record.width = static_cast<std::uint32_t>(size.width());
  record.height = static_cast<std::uint32_t>(size.height());
  record.alpha = 0;
  if (!MakeSample(bitmap, record)) return false;
  record.thumb_bytes = kThumbnailCacheThumbBytes;
  record.method = kMethodThumbnailCache;
  return HasMinimumArea(record.width, record.height);
}

}  // namespace dupliora
