// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstddef>
#include <map>
#include <mutex>

#include "engine/file_list.h"
#include "engine/record_table.h"

namespace dupliora {

// Records by full path for the life of a comparison window, so a second run
// over unchanged files decodes nothing. Grows only; a record is replaced when
// its file's size or last-write time changed.
class ImageCache {
 public:
  // The cached record when its size and last-write time equal the entry's.
  SharedRecord Find(const QString& path, const FileEntry& entry) const;
  void Store(const QString& path, SharedRecord record);
  std::size_t size() const;

 private:
  mutable std::mutex mutex_;  // size() may be asked from the UI thread
  std::map<QString, SharedRecord> records_;
};

// "Cache: %d %s": the number of records and the memory they take.
QString CacheStatusLine(std::size_t record_count);

}  // namespace dupliora
