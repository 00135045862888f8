// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <optional>

#include "platform/file_identity.h"

namespace dupliora {

// The directory facts the cache checks need of one file, and which file it
// is, so that two names of one file are never two pictures. The session
// cache compares size and last_write; the record store also the
// full-resolution time and the identity, so a file replaced under the same
// name with the same size and a copied time is still told apart.
struct FileEntry {
  std::uint64_t size = 0;
  std::uint64_t last_write = 0;  // 100-ns units since 1601-01-01 UTC
  std::int64_t mtime_ns = 0;     // nanoseconds since 1970-01-01 UTC
  FileIdentity identity;
  friend bool operator==(const FileEntry&, const FileEntry&) = default;
};

// Full path to its entry, ordered by UTF-16 code units; a path occurs once and
// adding it again replaces its entry.
using FileList = std::map<QString, FileEntry>;

// Seconds and nanoseconds since 1970 as 100-ns units since 1601.
std::uint64_t FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);

// The entry of a regular file as the folder scan would list it now; nothing
// for anything else or when the path reaches nothing.
std::optional<FileEntry> ReadFileEntry(const QString& path);

}  // namespace dupliora
