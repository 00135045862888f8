// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>

#include "engine/file_list.h"
#include "engine/image_cache.h"
#include "engine/left_out.h"
#include "engine/record_table.h"

namespace dupliora {

struct LoadCounts {
  int loaded = 0;
  std::uint64_t loaded_bytes = 0;
  int decoded = 0;     // records made from their files
  int from_cache = 0;  // records served by the session cache or the store
  int from_store = 0;  // of those, records served by the record store; counted as they come
};

enum class RecordOrigin { kSessionCache, kStore, kDecoded };

// The record of one file: the session cache's when the file is unchanged,
// else the store's (when there is a store), else a new one, which then
// replaces the cached one and is queued for the store.
class DecodeGuard;
class RecordMaker;
class RecordStore;
SharedRecord GetRecord(const QString& path, const FileEntry& entry, ImageCache& cache,
                       RecordStore* store, RecordMaker& maker, RecordOrigin* origin = nullptr);

// Turns the files of one list into records on `threads` threads (one
// RecordMaker each) and appends them to the table in list order, so every
// record gets the index a single thread would give it. `progress` (k done,
// the last file done) runs on the calling thread about every 128 ms and may
// read counts.from_store through std::atomic_ref.
// Returns false when stopped; the table then holds nothing of this pass.
// Records are made through `guard` when given; files that give no record go
// into `left_out`, in list order, when given.
bool LoadRecords(const FileList& files, int signature_rule, int threads, ImageCache& cache,
                 RecordStore* store, const std::atomic<bool>& stop, RecordTable& table,
                 LoadCounts& counts,
                 const std::function<void(int k, const QString& path)>& progress,
                 const DecodeGuard* guard = nullptr, LeftOutFiles* left_out = nullptr);

}  // namespace dupliora
