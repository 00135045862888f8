// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/folder_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <memory>

#include "engine/decode_guard.h"
#include "engine/image_record.h"
#include "engine/run_progress.h"
#include "engine/run_sink.h"

namespace dupliora {

namespace {

FileEntry EntryOf(const struct stat& st) {
  FileEntry entry;
  entry.size = static_cast<std::uint64_t>(st.st_size);
  entry.last_write = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  entry.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  entry.identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                    true};
  return entry;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
  return static_cast<std::uint64_t>((seconds + kSecondsFrom1601To1970) * 10000000LL +
                                    nanoseconds / 100);
}

std::optional<FileEntry> ReadFileEntry(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  return EntryOf(st);
}

bool IsPictureFile(const QString& path) { return ProbePictureFile(path).accepted; }

QString ScanProgressText(std::size_t count, const QString& pattern) {
  return QString::asprintf("(%05d) ", static_cast<int>(count)) + pattern;
}

void FolderScanner::ScanFolder(const QString& path, bool recurse) {
  struct stat st {};
  const QByteArray native = QFile::encodeName(path);
  if (::stat(native.constData(), &st) == 0 && !S_ISDIR(st.st_mode)) {
    // A file named on its own keeps its real size and time, so a changed
    // file is not served stale from the cache.
    if (S_ISREG(st.st_mode)) {
      AddFile(path, EntryOf(st));
    } else {
      LeaveOut(native, LeftOutReason::kSpecialFile);
    }
    return;
  }
  // Depth first without recursion: the folders still to read wait on a stack
  // as names, never as open handles.
  std::vector<QString> pending{path.endsWith(u'/') ? path : path + u'/'};
  while (!pending.empty()) {
    const QString folder = std::move(pending.back());
    pending.pop_back();
    const std::vector<QString> subfolders = ReadDirectory(folder, recurse);
    if (stop_.load(std::memory_order_relaxed)) break;
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
}

std::vector<QString> FolderScanner::ReadDirectory(const QString& folder, bool recurse) {
  std::vector<QString> subfolders;
  const QByteArray native = QFile::encodeName(folder);
  std::unique_ptr<DIR, DirCloser> dir(::opendir(native.constData()));
  if (dir == nullptr) return subfolders;
  struct stat dir_stat {};
  if (::fstat(::dirfd(dir.get()), &dir_stat) != 0 ||
      !visited_.insert({dir_stat.st_dev, dir_stat.st_ino}).second) {
    return subfolders;
  }
  while (const dirent* item = ::readdir(dir.get())) {
    const QByteArray raw(item->d_name);
    if (raw == "." || raw == "..") continue;
    const QString name = QFile::decodeName(raw);
    struct stat st {};
    if (::fstatat(::dirfd(dir.get()), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        S_ISLNK(st.st_mode)) {
      continue;
    }
    if (QFile::encodeName(name) != raw) {
      // A folder of such a name holds files the scan cannot name either.
      if (!S_ISDIR(st.st_mode) || recurse) LeaveOut(native + raw, LeftOutReason::kNameNotUtf8);
    } else if (S_ISDIR(st.st_mode)) {
      if (recurse) subfolders.push_back(folder + name + u'/');
    } else if (S_ISREG(st.st_mode)) {
      AddFile(folder + name, EntryOf(st));
    } else {
      LeaveOut(native + raw, LeftOutReason::kSpecialFile);
    }
    if (stop_.load(std::memory_order_relaxed)) break;
  }
  ShowProgress(folder);
  return subfolders;
}

void FolderScanner::AddFile(const QString& path, const FileEntry& entry) {
  const auto [seen, first_time] = probed_.try_emplace(entry.identity);
  QString& listed = seen->second;
  if (first_time) {
    if (ProbeFile(path, entry)) listed = path;
    return;
  }
  // Listed under the name that sorts first, so the order in which folders
  // return their entries does not decide which name the user sees.
  if (listed.isEmpty() || path >= listed) return;
  target_.erase(listed);
  target_[path] = entry;
  listed = path;
}

bool FolderScanner::ProbeFile(const QString& path, const FileEntry& entry) {
  if (path.size() >= kRecordPathCapacity) {
    LeaveOut(QFile::encodeName(path), LeftOutReason::kPathTooLong);
    return false;
  }
  const ProbeOutcome probe = guard_ != nullptr ? guard_->Probe(path) : ProbePictureFile(path);
  if (probe.accepted) {
    target_[path] = entry;
  } else if (!probe.stopped) {
    LeaveOut(QFile::encodeName(path), probe.reason);
  }
  return probe.accepted;
}

void FolderScanner::LeaveOut(const QByteArray& path, LeftOutReason reason) {
  if (left_out_ != nullptr) left_out_->Add(path, reason);
}

void FolderScanner::ShowProgress(const QString& pattern) {
  static std::atomic<std::int64_t> last_shown{-1};
  const std::int64_t now = TickMs();
  const std::int64_t last = last_shown.load();
  if (last >= 0 && (now >> 7) == (last >> 7)) return;
  last_shown.store(now);
  if (sink_ != nullptr)
    sink_->SetText(RunText::kLabel1002, ScanProgressText(target_.size(), pattern));
}

}  // namespace dupliora
