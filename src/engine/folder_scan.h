// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/file_list.h"

namespace dupliora {

class RunSink;

// Whether the file is a picture of at least 128 x 128 pixels; reads headers
// only, falling back to the thumbnail cache's image size.
bool IsPictureFile(const QString& path);

// Fills one file list with the pictures found under the folders of a path
// list. Symbolic links are skipped, files and folders alike; so are names
// that do not survive the trip to text and back, and anything that is not a
// regular file (a FIFO would block the probe). One scanner serves one list:
// a file reached under several names (hard links, "a/./b", a folder named
// twice) is probed once and listed once.
class FolderScanner {
 public:
  FolderScanner(FileList& target, const std::atomic<bool>& stop, RunSink* sink)
      : target_(target), stop_(stop), sink_(sink) {}

  // A file path is probed alone; a folder is enumerated, depth first when
  // `recurse` is set.
  void ScanFolder(const QString& path, bool recurse);

 private:
  // Reads one folder and closes it again before any subfolder is entered,
  // so a deep tree never holds one open handle per level. Returns the
  // subfolders to enter, in the order read.
  std::vector<QString> ReadDirectory(const QString& folder, bool recurse);
  void AddFile(const QString& path, const FileEntry& entry);
  void ShowProgress(const QString& pattern);

  FileList& target_;
  const std::atomic<bool>& stop_;
  RunSink* sink_;
  // Folders entered so far by device and inode: a bind mount cannot loop.
  std::set<std::pair<std::uint64_t, std::uint64_t>> visited_;
  // Files probed so far, with the name they are listed under (empty when the
  // probe refused them).
  std::unordered_map<FileIdentity, QString, FileIdentityHash> probed_;
};

// "(%05d) %s": the number of files found and the folder being read.
QString ScanProgressText(std::size_t count, const QString& pattern);

}  // namespace dupliora
