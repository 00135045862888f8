// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/safe_rename.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_identity.h"

namespace dupliora {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// Closes on every path out, so error returns cannot leak descriptors.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

int CopyBytes(int in, int out, const std::atomic<bool>* cancel) {
  // copy_file_range shares extents where the file system can (Btrfs, XFS)
  // and saves a trip through user memory elsewhere; plain read/write serves
  // file systems and kernels that refuse it.
  bool kernel_copy = true;
  std::vector<char> buffer;
  for (;;) {
    if (cancel != nullptr && cancel->load()) return kErrorCancelled;
    ssize_t n = -1;
    if (kernel_copy) {
      n = ::copy_file_range(in, nullptr, out, nullptr, kCopyBlock, 0);
      if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
        kernel_copy = false;
        continue;
      }
    } else {
      buffer.resize(kCopyBlock);
      n = ::read(in, buffer.data(), buffer.size());
      for (ssize_t written = 0; n > 0 && written < n;) {
        const ssize_t w = ::write(out, buffer.data() + written, n - written);
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) return errno;
        written += w;
      }
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
  }
}

// Writes the copy into an open temporary; 0 or the error.
int FillCopy(int in, const struct stat& source_info, int out, const std::atomic<bool>* cancel) {
  if (const int error = CopyBytes(in, out, cancel)) return error;
  if (::fsync(out) != 0) return errno;
  struct stat written {};
  if (::fstat(out, &written) != 0) return errno;
  if (written.st_size != source_info.st_size) return kErrorSizeMismatch;
  ::fchmod(out, source_info.st_mode & 07777);  // best effort, as on file systems without modes
  const struct timespec times[2] = {source_info.st_atim, source_info.st_mtim};
  ::futimens(out, times);
  return 0;
}

}  // namespace

int RenameNoReplace(const QString& from, const QString& to) {
  const QByteArray a = Native(from);
  const QByteArray b = Native(to);
  if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
  // The file system cannot rename without replacing: a hard link claims the
  // new name atomically, then the old name goes.
  if (::link(a.constData(), b.constData()) == 0) {
    if (::unlink(a.constData()) == 0) return 0;
    const int error = errno;
    ::unlink(b.constData());
    return error;
  }
  if (errno == EEXIST || errno == ENOENT || errno == EXDEV || errno == EACCES || errno == EROFS)
    return errno;
  // Neither (FAT on old kernels): check, then rename. The gap is a few
  // microseconds against another program creating exactly this name.
  if (NameTaken(to)) return EEXIST;
  return ::rename(a.constData(), b.constData()) == 0 ? 0 : errno;
}

QString NumberedName(const QString& path, int number) {
  const int slash = path.lastIndexOf(u'/');
  const int dot = path.lastIndexOf(u'.');
  const bool has_extension = dot > slash + 1;
  const QString base = has_extension ? path.left(dot) : path;
  const QString extension = has_extension ? path.mid(dot) : QString();
  return QStringLiteral("%1_(%2)%3").arg(base).arg(number).arg(extension);
}

QString FreeName(const QString& path, int max_number) {
  if (!NameTaken(path)) return path;
  for (int number = 1; number <= max_number; ++number) {
    const QString candidate = NumberedName(path, number);
    if (!NameTaken(candidate)) return candidate;
  }
  return QString();
}

bool NameTaken(const QString& path) {
  struct stat info {};
  return ::lstat(Native(path).constData(), &info) == 0 || errno != ENOENT;
}

int CopyFileNoReplace(const QString& source, const QString& target,
                      const std::atomic<bool>* cancel) {
  if (IsSameFile(source, target)) return kErrorSameFile;
  Fd in{::open(Native(source).constData(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) return errno;
  struct stat info {};
  if (::fstat(in.fd, &info) != 0) return errno;
  if (!S_ISREG(info.st_mode)) return EISDIR;
  if (NameTaken(target)) return EEXIST;
  const int slash = target.lastIndexOf(u'/');
  QByteArray temp = Native(target.left(slash + 1) + u'.' + target.mid(slash + 1).left(64) +
                           QStringLiteral(".dupliora-XXXXXX"));
  Fd out{::mkostemp(temp.data(), O_CLOEXEC)};
  if (out.fd < 0) return errno;
  int error = FillCopy(in.fd, info, out.fd, cancel);
  // close() reports late write errors (NFS); the descriptor is gone either way.
  if (::close(out.fd) != 0 && error == 0) error = errno;
  out.fd = -1;
  if (error == 0) error = RenameNoReplace(QFile::decodeName(temp), target);
  if (error != 0) ::unlink(temp.constData());
  return error;
}

int MoveFileNoReplace(const QString& source, const QString& target) {
  if (IsSameFile(source, target)) return kErrorSameFile;
  const int error = RenameNoReplace(source, target);
  if (error != EXDEV) return error;
  if (const int copy_error = CopyFileNoReplace(source, target)) return copy_error;
  if (::unlink(Native(source).constData()) == 0) return 0;
  const int unlink_error = errno;
  ::unlink(Native(target).constData());
  return unlink_error;
}

QString FileErrorText(int error) {
  switch (error) {
    case 0:
      return QString();
    case kErrorSameFile:
      return QStringLiteral("source and target are the same file");
    case kErrorSizeMismatch:
      return QStringLiteral("the copy does not have the size of the original");
    case kErrorCancelled:
      return QStringLiteral("cancelled");
    case kErrorNoTrash:
      return QStringLiteral("no trash folder can take this file");
    case kErrorChanged:
      return QStringLiteral("the file was changed or replaced since");
    case kErrorBadName:
      return QStringLiteral("a name may not contain a slash");
    default:
      return QString::fromLocal8Bit(std::strerror(error));
  }
}

}  // namespace dupliora
