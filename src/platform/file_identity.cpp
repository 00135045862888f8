// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_identity.h"

#include <sys/stat.h>

#include <QFile>

namespace dupliora {

FileIdentity IdentityOf(const QString& path) {
  FileIdentity identity;
  if (path.isEmpty()) return identity;
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return identity;
  identity.device = static_cast<std::uint64_t>(info.st_dev);
  identity.inode = static_cast<std::uint64_t>(info.st_ino);
  identity.valid = true;
  return identity;
}

bool IsSameFile(const QString& a, const QString& b) { return IdentityOf(a) == IdentityOf(b); }

}  // namespace dupliora
