// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_loader.h"

#include <algorithm>
#include <vector>

#include "engine/record_maker.h"
#include "engine/run_progress.h"
#include "engine/worker_pool.h"

namespace dupliora {

SharedRecord GetRecord(const QString& path, const FileEntry& entry, ImageCache& cache,
                       RecordMaker& maker, bool* decoded) {
  if (SharedRecord cached = cache.Find(path, entry)) return cached;
  auto record = std::make_shared<ImageRecord>();  // zero-filled
  if (decoded != nullptr) *decoded = true;
  if (!maker.MakeRecord(path, *record)) return nullptr;
  record->file_size = entry.size;
  record->last_write = entry.last_write;
  cache.Store(path, record);
  return record;
}

bool LoadRecords(const FileList& files, int signature_rule, int threads, ImageCache& cache,
                 const std::atomic<bool>& stop, RecordTable& table, LoadCounts& counts,
                 const std::function<void(int, const QString&)>& progress, const DecodeGuard* guard,
                 LeftOutFiles* left_out) {
  const std::vector<FileList::const_iterator> jobs = [&] {
    std::vector<FileList::const_iterator> list;
    for (auto it = files.begin(); it != files.end(); ++it) list.push_back(it);
    return list;
  }();
  const int count = static_cast<int>(jobs.size());
  std::vector<SharedRecord> made(count);
  std::vector<char> decoded(count, 0);
  std::vector<LeftOutReason> failures(count, LeftOutReason::kNotAPicture);
  std::atomic<int> next{0};
  std::atomic<int> finished{0};
  std::atomic<int> last_finished{-1};
  const auto work = [&] {
    RecordMaker maker(signature_rule, guard);
    for (int k = next++; k < count && !stop.load(); k = next++) {
      bool was_decoded = false;
      made[k] = GetRecord(jobs[k]->first, jobs[k]->second, cache, maker, &was_decoded);
      decoded[k] = was_decoded;
      failures[k] = maker.FailureReason();
      last_finished = k;
      ++finished;
    }
  };
  std::int64_t last_update = -1;
  const auto tick = [&] {
    const std::int64_t now = TickMs();
    const int shown = last_finished.load();
    if (shown >= 0 && (last_update < 0 || TickMovedOn(last_update, now))) {
      last_update = now;
      progress(finished.load(), jobs[shown]->first);
    }
  };
  WorkerPool().Run(std::min(threads, std::max(1, count)), work, tick);
  if (stop.load()) return false;
  for (int k = 0; k < count; ++k) {
    if (decoded[k]) ++counts.decoded;
    if (!made[k]) {
      if (left_out != nullptr) left_out->Add(jobs[k]->first, failures[k]);
      continue;
    }
    if (!decoded[k]) ++counts.from_cache;
    counts.loaded_bytes += made[k]->file_size;
    ++counts.loaded;
    table.Append(std::move(made[k]));
  }
  return true;
}

}  // namespace dupliora
