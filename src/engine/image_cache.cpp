// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/image_cache.h"

#include "engine/format.h"

namespace dupliora {

SharedRecord ImageCache::Find(const QString& path, const FileEntry& entry) const {
  std::lock_guard lock(mutex_);
  const auto found = records_.find(path);
  if (found == records_.end()) return nullptr;
  const ImageRecord& record = *found->second;
  if (record.file_size != entry.size || record.last_write != entry.last_write) return nullptr;
  return found->second;
}

void ImageCache::Store(const QString& path, SharedRecord record) {
  std::lock_guard lock(mutex_);
  records_[path] = std::move(record);
}

std::size_t ImageCache::size() const {
  std::lock_guard lock(mutex_);
  return records_.size();
}

QString CacheStatusLine(std::size_t record_count) {
  return QStringLiteral("Cache: %1 %2")
      .arg(record_count)
      .arg(FormatFileSize(static_cast<std::uint64_t>(record_count) * sizeof(ImageRecord)));
}

}  // namespace dupliora
