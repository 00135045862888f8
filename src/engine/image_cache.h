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
// its file's size or last-write time changed, or when it was made under
// another signature rule (samples of two rules must never meet in one run).
class ImageCache {
 public:
  // The cached record when its size, last-write time and rule are the entry's.
  SharedRecord Find(const QString& path, const FileEntry& entry, int rule) const;
  void Store(const QString& path, int rule, SharedRecord record);
  std::size_t size() const;

 private:
  struct Cached {
    SharedRecord record;
    int rule = 0;
  };
  mutable std::mutex mutex_;  // size() may be asked from the UI thread
  std::map<QString, Cached> records_;
};

// "Cache: %d %s": the number of records and the memory they take, followed
// by `note` (what the record store did) when there is one.
QString CacheStatusLine(std::size_t record_count, const QString& note = {});

}  // namespace dupliora
