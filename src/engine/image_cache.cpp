// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/image_cache.h"

#include "engine/format.h"

namespace dupliora {

SharedRecord ImageCache::Find(const QString& path, const FileEntry& entry, int rule) const {
  std::lock_guard lock(mutex_);
  const auto found = records_.find(path);
  if (found == records_.end() || found->second.rule != rule) return nullptr;
  const ImageRecord& record = *found->second.record;
  if (record.file_size != entry.size || record.last_write != entry.last_write) return nullptr;
  return found->second.record;
}

void ImageCache::Store(const QString& path, int rule, SharedRecord record) {
  std::lock_guard lock(mutex_);
  records_[path] = {std::move(record), rule};
}

std::size_t ImageCache::size() const {
  std::lock_guard lock(mutex_);
  return records_.size();
}

QString CacheStatusLine(std::size_t record_count, const QString& note) {
  QString line =
      QStringLiteral("Cache: %1 %2")
          .arg(record_count)
          .arg(FormatFileSize(static_cast<std::uint64_t>(record_count) * sizeof(ImageRecord)));
  if (!note.isEmpty()) line += QStringLiteral(" // ") + note;
  return line;
}

}  // namespace dupliora
