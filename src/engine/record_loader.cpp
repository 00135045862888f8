// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_loader.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "engine/record_maker.h"
#include "engine/record_store.h"
#include "engine/run_progress.h"
#include "engine/worker_pool.h"
#include "platform/thumbnail_cache.h"

namespace dupliora {

namespace {

// Coarse file-system clocks (FAT counts in 2 s steps) cannot tell a change
// made this close to the reading from the state that was read.
constexpr std::int64_t kSettledNs = 3'000'000'000;

std::int64_t NowNs() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// Whether a record made from the file since `read_ns` may be stored: the file
// must still be what the scan saw, and not have changed just before the read.
bool SafeToStore(const QString& path, const FileEntry& entry, std::int64_t read_ns) {
  const std::optional<FileEntry> now = ReadFileEntry(path);
  return now && *now == entry && std::llabs(read_ns - entry.mtime_ns) >= kSettledNs;
}

// Makes the record from the file and keeps it in the session cache and, when
// the file and its cached thumbnails are still as they were read, the store.
SharedRecord MakeFromFile(const QString& path, const FileEntry& entry, ImageCache& cache,
                          RecordStore* store, RecordMaker& maker) {
  const int rule = maker.signature_rule();
  const std::int64_t read_ns = NowNs();
  const std::int64_t thumbnails = store != nullptr ? ThumbnailCacheState(path) : 0;
  auto made = std::make_shared<ImageRecord>();  // zero-filled
  if (!maker.MakeRecord(path, *made)) return nullptr;
  made->file_size = entry.size;
  made->last_write = entry.last_write;
  cache.Store(path, rule, made);
  if (store != nullptr && SafeToStore(path, entry, read_ns) &&
      ThumbnailCacheState(path) == thumbnails) {
    const bool used_thumbnails = rule == 1 || made->method == kMethodThumbnailCache;
    store->Put(path, entry, rule, *made, used_thumbnails ? thumbnails : 0);
  }
  return made;
}

}  // namespace

SharedRecord GetRecord(const QString& path, const FileEntry& entry, ImageCache& cache,
                       RecordStore* store, RecordMaker& maker, RecordOrigin* origin) {
  const int rule = maker.signature_rule();
  RecordOrigin from = RecordOrigin::kSessionCache;
  SharedRecord record = cache.Find(path, entry, rule);
  if (!record && store != nullptr) {
    from = RecordOrigin::kStore;
    record = store->Find(path, entry, rule);
    if (record) cache.Store(path, rule, record);
  }
  if (!record) {
    from = RecordOrigin::kDecoded;
    record = MakeFromFile(path, entry, cache, store, maker);
  }
  if (origin != nullptr) *origin = from;
  return record;
}

bool LoadRecords(const FileList& files, int signature_rule, int threads, ImageCache& cache,
                 RecordStore* store, const std::atomic<bool>& stop, RecordTable& table,
                 LoadCounts& counts, const std::function<void(int, const QString&)>& progress,
                 const DecodeGuard* guard, LeftOutFiles* left_out) {
  const std::vector<FileList::const_iterator> jobs = [&] {
    std::vector<FileList::const_iterator> list;
    for (auto it = files.begin(); it != files.end(); ++it) list.push_back(it);
    return list;
  }();
  const int count = static_cast<int>(jobs.size());
  std::vector<SharedRecord> made(count);
  std::vector<RecordOrigin> origins(count, RecordOrigin::kDecoded);
  std::vector<LeftOutReason> failures(count, LeftOutReason::kNotAPicture);
  std::atomic<int> next{0};
  std::atomic<int> finished{0};
  std::atomic<int> last_finished{-1};
  const auto work = [&] {
    RecordMaker maker(signature_rule, guard);
    for (int k = next++; k < count && !stop.load(); k = next++) {
      made[k] = GetRecord(jobs[k]->first, jobs[k]->second, cache, store, maker, &origins[k]);
      if (made[k] && origins[k] == RecordOrigin::kStore) {
        std::atomic_ref(counts.from_store).fetch_add(1);  // the progress shows it live
      }
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
    const bool decoded = origins[k] == RecordOrigin::kDecoded;
    if (decoded) ++counts.decoded;
    if (!made[k]) {
      if (left_out != nullptr) left_out->Add(jobs[k]->first, failures[k]);
      continue;
    }
    if (!decoded) ++counts.from_cache;
    counts.loaded_bytes += made[k]->file_size;
    ++counts.loaded;
    table.Append(std::move(made[k]));
  }
  return true;
}

}  // namespace dupliora
