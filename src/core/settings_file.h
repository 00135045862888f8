// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace dupliora {

// A settings file is a few kilobytes; anything larger is not ours. Reading
// stops here, so a symlink to an endless device cannot fill the memory.
inline constexpr std::int64_t kMaxSettingsFileBytes = 4 * 1024 * 1024;

// Why a settings file was not read.
enum class SettingsFileProblem { kNone, kNotRegular, kTooLarge, kUnreadable };

// What the file system says about a path (symlinks followed): enough to tell
// whether the file changed since it was last read.
struct SettingsFileStamp {
  bool exists = false;
  bool regular = false;
  std::int64_t size = 0;
  std::int64_t modified_ns = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const SettingsFileStamp&, const SettingsFileStamp&) = default;
};

SettingsFileStamp StampOf(const QString& path);

struct SettingsFileRead {
  QByteArray bytes;
  SettingsFileProblem problem = SettingsFileProblem::kNone;
};

// Reads a regular file of at most `max_bytes`. A FIFO, a device or a file
// that changes into one between the check and the open is refused without
// blocking; a missing file reads as empty.
SettingsFileRead ReadSettingsFile(const QString& path, std::int64_t max_bytes);

}  // namespace dupliora
