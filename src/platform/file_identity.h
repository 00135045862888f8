// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace dupliora {

// Which file a path reaches, whatever it is called: two spellings of one
// path (a//b, a/./b), a symlink, a bind mount or a hard link all reach the
// same device and inode. Paths that reach nothing have no identity.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool valid = false;

  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.valid && b.valid && a.device == b.device && a.inode == b.inode;
  }
};

// Follows symlinks; invalid when the path reaches nothing.
FileIdentity IdentityOf(const QString& path);

// Whether both paths reach one existing file or folder. Paths that reach
// nothing are never the same file, even when they are spelled alike.
bool IsSameFile(const QString& a, const QString& b);

struct FileIdentityHash {
  std::size_t operator()(const FileIdentity& id) const noexcept {
    return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
  }
};

}  // namespace dupliora
