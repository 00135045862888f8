// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "run_test_support.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>

#include "engine/pair_loop.h"
#include "engine/record_path.h"
#include "engine/run_progress.h"
#include "engine/sample.h"

namespace dupliora::testing {

void RecordingSink::SortResultsBySimilarity() {
  SortMatchesBySimilarity(matches);
  sorted = true;
}

RunTexts NumberedTexts() {
  RunTexts texts;
  for (int number : RunTextNumbers()) texts.by_number[number] = QStringLiteral("T%1").arg(number);
  return texts;
}

bool SavePattern(const QString& path, int seed, int width, int height, const char* format) {
  QImage image(width, height, QImage::Format_RGB32);
  QRandomGenerator random(static_cast<quint32>(seed));
  QPainter painter(&image);
  painter.fillRect(image.rect(),
                   QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
  for (int k = 0; k < 12; ++k) {
    painter.fillRect(
        random.bounded(width), random.bounded(height), width / 3, height / 3,
        QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
  }
  painter.end();
  return image.save(path, format);
}

void FillSample(ImageRecord& record, const std::function<int(int x, int y)>& value) {
  long sum = 0;
  for (int y = 0; y < kSampleSide; ++y) {
    for (int x = 0; x < kSampleSide; ++x) {
      const auto g = static_cast<std::uint8_t>(value(x, y));
      record.gray[y * kSampleSide + x] = g;
      sum += g;
    }
  }
  FillTurnedCopies(record);
  record.brightness = static_cast<std::int32_t>(((sum / 4096) * 100) / 256);
}

ImageRecord PatternRecord(const QString& path, int seed, int brightness_shift, float aspect) {
  ImageRecord record{};
  SetRecordPath(record, path);
  QRandomGenerator random(static_cast<quint32>(seed));
  FillSample(record, [&](int, int) {
    return std::clamp(static_cast<int>(random.bounded(200)) + brightness_shift, 0, 255);
  });
  record.aspect = aspect;
  record.width = 256;
  record.height = 256;
  return record;
}

}  // namespace dupliora::testing
