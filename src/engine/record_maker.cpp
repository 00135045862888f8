// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Interim record maker until the imaging services land.
#include "engine/record_maker.h"

#include <QImage>
#include <QImageReader>

#include "engine/record_path.h"

namespace dupliora {

RecordMaker::RecordMaker(int signature_rule) : signature_rule_(signature_rule) {}

bool RecordMaker::MakeRecord(const QString& path, ImageRecord& record) {
  QImageReader reader(path);
  const QSize size = reader.size();
  if (!size.isValid()) return false;
  record.width = static_cast<std::uint32_t>(size.width());
  record.height = static_cast<std::uint32_t>(size.height());
  if (static_cast<std::int64_t>(record.width) * record.height < kMinPictureArea) return false;
  reader.setScaledSize(QSize(kSampleSide, kSampleSide));
  const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
  if (image.isNull() || !SetRecordPath(record, path)) return false;
  long sum = 0;
  for (int y = 0; y < kSampleSide; ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < kSampleSide; ++x) {
      const float g = qRed(line[x]) * 0.3f + qGreen(line[x]) * 0.59f + qBlue(line[x]) * 0.11f;
      const auto v = static_cast<std::uint8_t>(static_cast<int>(g));
      record.gray[y * kSampleSide + x] = v;
      record.gray_rot[x * kSampleSide + (kSampleSide - 1 - y)] = v;
      record.gray_flip[(kSampleSide - 1 - y) * kSampleSide + x] = v;
      sum += v;
    }
  }
  record.aspect = static_cast<float>(record.width) / static_cast<float>(record.height);
  record.brightness = sum == 0 ? 0 : static_cast<std::int32_t>(((sum / 4096) * 100) / 256);
  record.method = signature_rule_ == 3 ? kMethodLibraryDrawing : kMethodLibraryThumbnail;
  return true;
}

}  // namespace dupliora
