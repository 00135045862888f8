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
#include "engine/left_out.h"

namespace dupliora {

class DecodeGuard;
class LeftOutFiles;
class RunSink;

// Whether the file is a picture of at least 128 x 128 pixels; reads headers
// only, falling back to the thumbnail cache's image size.
bool IsPictureFile(const QString& path);

// Fills one file list with the pictures found under the folders of a path
// list. Symbolic links are skipped, files and folders alike; so are names
// that do not survive the trip to text and back, paths too long for a record,
// and anything that is not a regular file (a FIFO would block the probe).
// One scanner serves one list: a file reached under several names (hard
// links, "a/./b", a folder named twice) is probed once and listed once. Each
// file is probed through `guard` when one is given; every file skipped or
// refused goes into `left_out` with its reason when given.
class FolderScanner {
 public:
  FolderScanner(FileList& target, const std::atomic<bool>& stop, RunSink* sink,
                const DecodeGuard* guard = nullptr, LeftOutFiles* left_out = nullptr)
      : target_(target), stop_(stop), sink_(sink), guard_(guard), left_out_(left_out) {}

  // A file path is probed alone; a folder is enumerated, depth first when
  // `recurse` is set.
  void ScanFolder(const QString& path, bool recurse);

 private:
  // Reads one folder and closes it again before any subfolder is entered,
  // so a deep tree never holds one open handle per level. Returns the
  // subfolders to enter, in the order read.
  std::vector<QString> ReadDirectory(const QString& folder, bool recurse);
  void AddFile(const QString& path, const FileEntry& entry);
  // True when the file is a picture and was listed.
  bool ProbeFile(const QString& path, const FileEntry& entry);
  void LeaveOut(const QByteArray& path, LeftOutReason reason);
  void ShowProgress(const QString& pattern);

  FileList& target_;
  const std::atomic<bool>& stop_;
  RunSink* sink_;
  const DecodeGuard* guard_;
  LeftOutFiles* left_out_;
  // Folders entered so far by device and inode: a bind mount cannot loop.
  std::set<std::pair<std::uint64_t, std::uint64_t>> visited_;
  // Files probed so far, with the name they are listed under (empty when the
  // probe refused them).
  std::unordered_map<FileIdentity, QString, FileIdentityHash> probed_;
};

// "(%05d) %s": the number of files found and the folder being read.
QString ScanProgressText(std::size_t count, const QString& pattern);

}  // namespace dupliora
