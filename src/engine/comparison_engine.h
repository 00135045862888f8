// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/file_list.h"
#include "engine/image_cache.h"
#include "engine/left_out.h"
#include "engine/record_store.h"
#include "engine/record_table.h"
#include "engine/run_sink.h"

namespace dupliora {

struct RunOptions {
  int similarity = 90;   // percent, 40..100
  int compare_mode = 0;  // 0: the second list among itself; 1: first list against second
  bool search_rotated = false;
  bool search_flipped = false;
  bool search_negative = false;
  bool subfolder = true;
  int signature_rule = 1;  // 1..3
  int threads = 0;         // 0 = all cores
  // Decode in this process instead of the guarded decoder processes: only
  // to measure the guard against.
  bool in_process_decoding = false;
};

enum class RunOutcome { kCompleted, kPathRejected, kEmptyList, kStopped };

// What the last run did, in the figures of its summary texts.
struct RunSummary {
  RunOutcome outcome = RunOutcome::kCompleted;
  int loaded = 0;
  int first_list = 0;  // records of the first list (two-folder mode), else 0
  std::int64_t total = 0;
  std::int64_t done = 0;
  std::int64_t skipped = 0;
  int matches = 0;
  int decoded = 0;     // records made from their files in the load phase
  int from_cache = 0;  // records the session cache or the record store served
  int from_store = 0;  // of those, the ones the record store served
  std::int64_t load_ms = 0;
  std::int64_t compare_ms = 0;
};

// The paths as ValidatePaths accepted them.
struct AcceptedPaths {
  QString path1_text;
  QString path2_text;
};

// Reads and checks the path texts of a run; alerts the field at fault through
// the sink and returns false when one is unusable.
bool ValidatePaths(int compare_mode, const QString& path1_text, const QString& path2_text,
                   const RunTexts& texts, RunSink& sink, AcceptedPaths& accepted);

// The state and the run of one comparison window: file lists, record table
// and image cache. Run executes on the window's worker thread; RequestStop
// may be called from any thread. Records that the matches of a run point to
// stay valid until the next Run begins its load phase.
class DecodeGuard;

class ComparisonEngine {
 public:
  void Run(const RunOptions& options, const QString& path1_text, const QString& path2_text,
           const RunTexts& texts, RunSink& sink);
  void RequestStop() { stop_requested_.store(true); }
  // Stops the run in progress and every later one, also when asked before
  // Run begins: for a program that is ending. Safe in a signal handler.
  void Shutdown() {
    closing_.store(true);
    stop_requested_.store(true);
  }
  // Records are also looked up in and written to `store` (none: this window
  // remembers nothing between sessions). Set it while no run is in progress.
  void SetRecordStore(std::shared_ptr<RecordStore> store) { store_ = std::move(store); }
  bool IsStopRequested() const { return stop_requested_.load(); }
  std::size_t CacheSize() const { return cache_.size(); }
  // The cache line as the last run left it.
  QString CacheStatus() const { return CacheStatusLine(cache_.size(), store_note_); }

  const RunSummary& LastSummary() const { return summary_; }
  const AcceptedPaths& Paths() const { return paths_; }
  // The files the last run found but left out, with their reasons.
  const LeftOutFiles& LeftOut() const { return left_out_; }
  const RecordTable& Records() const { return records_; }

 private:
  bool Scan(const RunOptions& options, const DecodeGuard& guard, const RunTexts& texts,
            RunSink& sink);
  bool Load(const RunOptions& options, const DecodeGuard& guard, const RunTexts& texts,
            RunSink& sink);
  bool LoadPass(const FileList& files, PathField field, const RunOptions& options,
                const DecodeGuard& guard, const RunTexts& texts, RunSink& sink, std::int64_t t0,
                RecordStore* store);
  void Compare(const RunOptions& options, const RunTexts& texts, RunSink& sink);
  void ShowCacheStatus(const RunTexts& texts, RunSink& sink, RecordStore* store, int from_store);
  void ReportStopped(const RunTexts& texts, RunSink& sink);

  std::atomic<bool> stop_requested_{false};
  std::atomic<bool> closing_{false};
  AcceptedPaths paths_;
  FileList files1_;
  FileList files2_;
  RecordTable records_;
  ImageCache cache_;
  std::shared_ptr<RecordStore> store_;
  QString store_note_;
  RunSummary summary_;
  LeftOutFiles left_out_;
  std::uint64_t loaded_bytes_ = 0;
};

}  // namespace dupliora
