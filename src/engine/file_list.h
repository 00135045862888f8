// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <map>

#include "platform/file_identity.h"

namespace dupliora {

// The directory facts the cache check needs of one file, and which file it
// is, so that two names of one file are never two pictures.
struct FileEntry {
  std::uint64_t size = 0;
  std::uint64_t last_write = 0;  // 100-ns units since 1601-01-01 UTC
  FileIdentity identity;
  friend bool operator==(const FileEntry&, const FileEntry&) = default;
};

// Full path to its entry, ordered by UTF-16 code units; a path occurs once and
// adding it again replaces its entry.
using FileList = std::map<QString, FileEntry>;

// Seconds and nanoseconds since 1970 as 100-ns units since 1601.
std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);

}  // namespace dupliora
