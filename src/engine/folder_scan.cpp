// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/folder_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <memory>

#include "engine/run_progress.h"
#include "engine/run_sink.h"
#include "imaging/picture_header.h"
#include "platform/thumbnail_cache.h"

namespace dupliora {

namespace {

constexpr std::uint32_t kMinPictureSide = 128;

FileEntry EntryOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_size),
          FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec)};
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

bool IsPictureFile(const QString& path) {
  if (const auto header = LoadPictureHeader(path)) {
    if (header->type != PictureType::kNone && header->width >= kMinPictureSide &&
        header->height >= kMinPictureSide) {
      return true;
    }
  }
  const auto size = ThumbnailCacheImageSize(path);
  return size && size->width() >= static_cast<int>(kMinPictureSide) &&
         size->height() >= static_cast<int>(kMinPictureSide);
}

QString ScanProgressText(std::size_t count, const QString& pattern) {
  return QString::asprintf("(%05d) ", static_cast<int>(count)) + pattern;
}

void FolderScanner::ScanFolder(const QString& path, bool recurse) {
  struct stat st {};
  const QByteArray native = QFile::encodeName(path);
  if (::stat(native.constData(), &st) == 0 && !S_ISDIR(st.st_mode)) {
    // A file named on its own keeps its real size and time, so a changed
    // file is not served stale from the cache.
    if (S_ISREG(st.st_mode) && IsPictureFile(path)) target_[path] = EntryOf(st);
    return;
  }
  ScanDirectory(path.endsWith(u'/') ? path : path + u'/', recurse);
}

void FolderScanner::ScanDirectory(const QString& folder, bool recurse) {
  const QByteArray native = QFile::encodeName(folder);
  std::unique_ptr<DIR, DirCloser> dir(::opendir(native.constData()));
  if (dir == nullptr) return;
  struct stat dir_stat {};
  if (::fstat(::dirfd(dir.get()), &dir_stat) != 0 ||
      !visited_.insert({dir_stat.st_dev, dir_stat.st_ino}).second) {
    return;
  }
  while (const dirent* item = ::readdir(dir.get())) {
    const QByteArray raw(item->d_name);
    if (raw == "." || raw == "..") continue;
    const QString name = QFile::decodeName(raw);
    struct stat st {};
    if (QFile::encodeName(name) != raw ||
        ::fstatat(::dirfd(dir.get()), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        S_ISLNK(st.st_mode)) {
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      if (recurse) ScanDirectory(folder + name + u'/', recurse);
    } else if (S_ISREG(st.st_mode)) {
      const QString full = folder + name;
      if (IsPictureFile(full)) target_[full] = EntryOf(st);
    }
    if (stop_.load(std::memory_order_relaxed)) break;
  }
  ShowProgress(folder);
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
