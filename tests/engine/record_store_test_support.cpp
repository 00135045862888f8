// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "record_store_test_support.h"

#include <QFile>
#include <chrono>
#include <filesystem>

#include "run_test_support.h"

namespace dupliora {

bool AgeFile(const QString& path) {
  const std::filesystem::path file(QFile::encodeName(path).toStdString());
  std::error_code error;
  const auto time = std::filesystem::last_write_time(file, error);
  if (!error) std::filesystem::last_write_time(file, time - std::chrono::hours(1), error);
  return !error;
}

SyntheticRecord MakeSyntheticRecord(const QString& path, int seed) {
  SyntheticRecord made;
  made.path = path;
  made.entry.size = 100000u + static_cast<std::uint64_t>(seed);
  made.entry.mtime_ns = 1'600'000'000'000'000'000 + seed;
  made.entry.last_write =
      FileTimeFromUnix(made.entry.mtime_ns / 1'000'000'000, made.entry.mtime_ns % 1'000'000'000);
  made.entry.identity.inode = 1000u + static_cast<std::uint64_t>(seed);
  made.entry.identity.device = 42;
  made.record = ZeroRecord();
  *made.record = testing::PatternRecord(path, seed);
  made.record->method = kMethodLibraryThumbnail;
  made.record->thumb_bytes = static_cast<std::uint32_t>(seed);
  made.record->file_size = made.entry.size;
  made.record->last_write = made.entry.last_write;
  return made;
}

}  // namespace dupliora
