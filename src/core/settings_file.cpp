// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/settings_file.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dupliora {

#ifdef Q_OS_UNIX

namespace {

SettingsFileStamp FromStat(const struct stat& st) {
  SettingsFileStamp stamp;
  stamp.exists = true;
  stamp.regular = S_ISREG(st.st_mode);
  stamp.size = st.st_size;
  stamp.modified_ns = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  return stamp;
}

}  // namespace

SettingsFileStamp StampOf(const QString& path) {
  struct stat st {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
  return FromStat(st);
}

SettingsFileRead ReadSettingsFile(const QString& path, std::int64_t max_bytes) {
  const SettingsFileStamp before = StampOf(path);
  if (!before.exists) return {};
  if (!before.regular) return {{}, SettingsFileProblem::kNotRegular};
  if (before.size > max_bytes) return {{}, SettingsFileProblem::kTooLarge};
  // O_NONBLOCK: a FIFO put in its place after the check must not hang the start.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {{}, SettingsFileProblem::kUnreadable};
  struct stat st {};
  SettingsFileRead read;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    read.problem = SettingsFileProblem::kNotRegular;
  } else {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly)) {
      read.problem = SettingsFileProblem::kUnreadable;
    } else {
      read.bytes = file.read(max_bytes + 1);
      if (read.bytes.size() > max_bytes) read = {{}, SettingsFileProblem::kTooLarge};
    }
  }
  ::close(fd);
  return read;
}

#else

SettingsFileStamp StampOf(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists()) return {};
  SettingsFileStamp stamp;
  stamp.exists = true;
  stamp.regular = info.isFile();
  stamp.size = info.size();
  stamp.modified_ns = info.lastModified().toMSecsSinceEpoch() * 1000000;
  return stamp;
}

SettingsFileRead ReadSettingsFile(const QString& path, std::int64_t max_bytes) {
  const SettingsFileStamp stamp = StampOf(path);
  if (!stamp.exists) return {};
  if (!stamp.regular) return {{}, SettingsFileProblem::kNotRegular};
  if (stamp.size > max_bytes) return {{}, SettingsFileProblem::kTooLarge};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {{}, SettingsFileProblem::kUnreadable};
  SettingsFileRead read;
  read.bytes = file.read(max_bytes + 1);
  if (read.bytes.size() > max_bytes) read = {{}, SettingsFileProblem::kTooLarge};
  return read;
}

#endif

}  // namespace dupliora
