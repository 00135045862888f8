// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/comparison_engine.h"

#include <QFileInfo>
#include <algorithm>
#include <thread>
#include <unordered_set>

#include "engine/decode_guard.h"
#include "engine/folder_scan.h"
#include "engine/pair_loop.h"
#include "engine/path_list.h"
#include "engine/record_loader.h"
#include "engine/run_progress.h"

namespace dupliora {

namespace {

constexpr int kProgressRange = 65535;
const QString kDots = QStringLiteral(".............");

// Checks one path text; on failure alerts its field and returns false.
bool CheckField(QString& text, PathField field, const RunTexts& texts, RunSink& sink,
                QString* last_checked) {
  // An empty list names nothing that exists: refused like a missing entry.
  const PathListCheck check = CheckPathList(text);
  if (check.count == 0) {
    sink.ShowPathAlert(field, texts.Text(300000) + u'\n' + check.last);
    return false;
  }
  if (last_checked != nullptr) *last_checked = check.last;
  return true;
}

// The status line names the files that took no part, and why.
QString WithLeftOut(const QString& status, const RunTexts& texts, const LeftOutFiles& left_out) {
  const QString left = LeftOutText(texts, left_out);
  return left.isEmpty() ? status : status + QStringLiteral(" / ") + left;
}

int ThreadCount(int requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

bool ValidatePaths(int compare_mode, const QString& path1_text, const QString& path2_text,
                   const RunTexts& texts, RunSink& sink, AcceptedPaths& accepted) {
  // The whole field text counts: a path cut short could name another folder.
  QString text1 = path1_text;
  QString text2 = path2_text;
  SplitPathList(text1);
  SplitPathList(text2);
  if (compare_mode != 0 && !CheckField(text1, PathField::kFirst, texts, sink, nullptr)) {
    return false;
  }
  QString last;
  if (!CheckField(text2, PathField::kSecond, texts, sink, &last)) return false;
  if (!QFileInfo(last).isDir()) {
    sink.ShowPathAlert(PathField::kSecond, texts.Text(300000) + u'\n' + last);
    return false;
  }
  sink.AcceptPaths(text1, text2);
  accepted = {text1, text2};
  return true;
}

void ComparisonEngine::Run(const RunOptions& options, const QString& path1_text,
                           const QString& path2_text, const RunTexts& texts, RunSink& sink) {
  files1_.clear();
  files2_.clear();
  stop_requested_.store(false);
  // Checked after the reset: a Shutdown at any moment before it still holds.
  if (closing_.load()) stop_requested_.store(true);
  summary_ = RunSummary{};
  left_out_.Clear();
  loaded_bytes_ = 0;
  // Paths first: a mistyped path keeps the previous results and their summary.
  if (!ValidatePaths(options.compare_mode, path1_text, path2_text, texts, sink, paths_)) {
    summary_.outcome = RunOutcome::kPathRejected;
    return;
  }
  sink.ClearResults();
  sink.SetText(RunText::kLabel1003, kDots);
  sink.SetText(RunText::kLabel1002, kDots);
  sink.SetText(RunText::kStatus1004, kDots);
  const DecodeGuard guard(stop_requested_, options.in_process_decoding);
  if (Scan(options, guard, texts, sink) && Load(options, guard, texts, sink)) {
    Compare(options, texts, sink);
  }
  if (summary_.outcome == RunOutcome::kStopped) ReportStopped(texts, sink);
}

// The matches found so far stay; the status says the run was stopped and
// nothing is left that looks like a run still going (remaining time, bar).
void ComparisonEngine::ReportStopped(const RunTexts& texts, RunSink& sink) {
  sink.StopProgressActivity();
  sink.SetProgressRange(kProgressRange);
  if (summary_.compare_ms == 0) {
    sink.SetText(RunText::kLabel1002,
                 LoadSummaryText(texts, summary_.loaded, loaded_bytes_, summary_.load_ms));
  }
  sink.SetText(RunText::kStatus1004, texts.Text(300341));
}

bool ComparisonEngine::Scan(const RunOptions& options, const DecodeGuard& guard,
                            const RunTexts& texts, RunSink& sink) {
  // Decoder processes load their libraries while the scan starts.
  guard.Prestart(ThreadCount(options.threads));
  sink.StartProgressActivity();
  const auto status = [&](int state) {
    return QStringLiteral("..... %1 %2: %3")
        .arg(texts.Text(300001), texts.Text(state), paths_.path2_text);
  };
  sink.SetText(RunText::kStatus1004, status(300003));
  const auto scan_list = [&](QString text, FileList& target) {
    PathSet folders;
    SplitPathList(text, &folders);
    FolderScanner scanner(target, stop_requested_, &sink, &guard, &left_out_);
    for (const QString& folder : folders) scanner.ScanFolder(folder, options.subfolder);
  };
  if (options.compare_mode == 1) scan_list(paths_.path1_text, files1_);
  scan_list(paths_.path2_text, files2_);
  if (stop_requested_.load()) {
    // A stopped scan lists only part of the folders: never "no pictures".
    summary_.outcome = RunOutcome::kStopped;
    return false;
  }
  if (options.compare_mode == 1) {
    // A file in both lists is compared only as a member of the first, by
    // what it is rather than how it is spelled: X against X/, a symlink to X
    // or a hard link are the same files, never copies of themselves.
    std::unordered_set<FileIdentity, FileIdentityHash> first;
    for (const auto& [path, entry] : files1_) first.insert(entry.identity);
    std::erase_if(files2_, [&](const auto& item) { return first.count(item.second.identity); });
  }
  sink.SetText(RunText::kStatus1004, status(300002));
  return true;
}

bool ComparisonEngine::Load(const RunOptions& options, const DecodeGuard& guard,
                            const RunTexts& texts, RunSink& sink) {
  records_.Clear();
  sink.StopProgressActivity();
  // Held for this load only: the store closes (and writes out) with its last owner.
  const std::shared_ptr<RecordStore> store = store_;
  if (store) store->NewRun();
  const std::int64_t t0 = TickMs();
  if (options.compare_mode == 1) {
    if (!LoadPass(files1_, PathField::kFirst, options, guard, texts, sink, t0, store.get()))
      return false;
    summary_.first_list = summary_.loaded;
  }
  const bool completed =
      LoadPass(files2_, PathField::kSecond, options, guard, texts, sink, t0, store.get());
  summary_.load_ms = TickMs() - t0;
  if (!completed) return false;
  // Progress updates are throttled, so the last one may predate the last files.
  ShowCacheStatus(texts, sink, store.get(), summary_.from_store);
  sink.SetText(RunText::kLabel1002,
               LoadSummaryText(texts, summary_.loaded, loaded_bytes_, summary_.load_ms));
  return true;
}

bool ComparisonEngine::LoadPass(const FileList& files, PathField field, const RunOptions& options,
                                const DecodeGuard& guard, const RunTexts& texts, RunSink& sink,
                                std::int64_t t0, RecordStore* store) {
  sink.SetProgressRange(kProgressRange);
  if (stop_requested_.load()) {
    summary_.outcome = RunOutcome::kStopped;
    return false;
  }
  if (files.empty()) {
    // The alert goes to the field whose list came up empty.
    sink.SetText(RunText::kStatus1004, WithLeftOut(texts.Text(300339), texts, left_out_));
    sink.ShowPathAlert(field, texts.Text(300339));
    summary_.outcome = RunOutcome::kEmptyList;
    return false;
  }
  const int count = static_cast<int>(files.size());
  LoadCounts counts;
  const auto progress = [&](int k, const QString& path) {
    const double f = static_cast<double>(k) / count;
    sink.SetText(RunText::kLabel1002,
                 LoadProgressText(texts, RemainingTime(f, t0, TickMs()), k, count, path));
    sink.SetProgressPosition(static_cast<int>(f * kProgressRange));
    ShowCacheStatus(texts, sink, store,
                    summary_.from_store + std::atomic_ref(counts.from_store).load());
  };
  const bool completed =
      LoadRecords(files, options.signature_rule, ThreadCount(options.threads), cache_, store,
                  stop_requested_, records_, counts, progress, &guard, &left_out_);
  summary_.loaded += counts.loaded;
  summary_.from_store += counts.from_store;
  summary_.decoded += counts.decoded;
  summary_.from_cache += counts.from_cache;
  loaded_bytes_ += counts.loaded_bytes;
  if (!completed) summary_.outcome = RunOutcome::kStopped;
  return completed;
}

void ComparisonEngine::ShowCacheStatus(const RunTexts& texts, RunSink& sink, RecordStore* store,
                                       int from_store) {
  const DbFault fault = store != nullptr ? store->Fault() : DbFault::kNone;
  store_note_ = StoreNoteText(texts, store != nullptr, fault, from_store);
  sink.ShowCacheStatus(CacheStatusLine(cache_.size(), store_note_));
}

void ComparisonEngine::Compare(const RunOptions& options, const RunTexts& texts, RunSink& sink) {
  const std::int64_t t1 = TickMs();
  PairLoopOptions loop_options;
  loop_options.similarity = options.similarity;
  loop_options.search_rotated = options.search_rotated;
  loop_options.search_flipped = options.search_flipped;
  loop_options.search_negative = options.search_negative;
  loop_options.two_folder = options.compare_mode == 1;
  loop_options.first_count = summary_.first_list;
  loop_options.threads = ThreadCount(options.threads);
  const std::int64_t total = PairCount(loop_options, summary_.loaded) * PairWeight(loop_options);
  summary_.total = total;
  sink.SetProgressRange(kProgressRange);
  sink.SetResultRedraw(false);
  const auto progress = [&](std::int64_t done) {
    const double f = total > 0 ? static_cast<double>(done) / total : 0.0;
    sink.SetText(RunText::kStatus1004,
                 CompareProgressText(texts, done, total, RemainingTime(f, t1, TickMs()), f));
    sink.SetProgressPosition(static_cast<int>(f * kProgressRange));
  };
  const auto commit = [&](std::vector<MatchResult> batch) { sink.AppendMatches(std::move(batch)); };
  PairLoop loop(records_, loop_options, stop_requested_);
  const PairCounts counts = loop.Run(progress, commit);
  summary_.done = counts.done;
  summary_.skipped = counts.skipped;
  summary_.matches = counts.matches;
  summary_.compare_ms = TickMs() - t1;
  if (stop_requested_.load()) {
    sink.SetResultRedraw(true);
    summary_.outcome = RunOutcome::kStopped;
    return;
  }
  sink.SetText(RunText::kStatus1004, CompareCountText(counts.done, total));
  sink.SetResultRedraw(true);
  sink.StopProgressActivity();
  const double seconds = summary_.compare_ms * 0.001;
  sink.SetText(RunText::kLabel1003,
               CompareSummaryLabel(texts, counts.matches, seconds, counts.done, counts.skipped));
  sink.SetText(RunText::kStatus1004,
               WithLeftOut(CompareSummaryStatus(texts, counts.matches, counts.done,
                                                (summary_.load_ms + summary_.compare_ms) * 0.001),
                           texts, left_out_));
  sink.SortResultsBySimilarity();
}

}  // namespace dupliora
