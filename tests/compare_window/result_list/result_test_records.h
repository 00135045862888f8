// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Records and pairs for the result list tests.
#pragma once

#include <QLocale>
#include <QString>
#include <deque>
#include <ostream>

#include "compare_window/result_list/result_edit_logic.h"
#include "engine/image_record.h"
#include "engine/record_path.h"

namespace dupliora {

inline void PrintTo(const GridCell& cell, std::ostream* out) {
  *out << "(" << cell.row << ", " << cell.column << ")";
}

}  // namespace dupliora

namespace dupliora::testing {

struct RecordSpec {
  QString path;
  std::uint32_t width = 640;
  std::uint32_t height = 480;
  std::int32_t brightness = 50;
  std::uint64_t file_size = 1000;
  std::int32_t method = 0;
  std::uint32_t thumb_bytes = 0;
};

// Owns records at fixed addresses, like the run's record table.
class RecordStore {
 public:
  const ImageRecord* Add(const RecordSpec& spec) {
    ImageRecord& record = records_.emplace_back();
    SetRecordPath(record, spec.path);
    record.width = spec.width;
    record.height = spec.height;
    record.brightness = spec.brightness;
    record.file_size = spec.file_size;
    record.method = spec.method;
    record.thumb_bytes = spec.thumb_bytes;
    return &record;
  }
  const ImageRecord* Add(const QString& path) { return Add(RecordSpec{path}); }

 private:
  std::deque<ImageRecord> records_;
};

inline MatchResult Pair(const ImageRecord* first, const ImageRecord* second, int similarity,
                        int ratio = 100, int rotation = 0, int flip = 0, int negative = 0) {
  return {first, second, similarity, flip, negative, rotation, ratio};
}

class LocaleScope {
 public:
  explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
  ~LocaleScope() { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

}  // namespace dupliora::testing
