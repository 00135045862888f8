// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/desktop_trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>

#include "platform/safe_rename.h"

namespace dupliora {
namespace {

// An info file name must stay below NAME_MAX (255 bytes) with ".trashinfo"
// and a number added.
constexpr int kMaxTrashNameBytes = 200;
constexpr int kMaxTrashNameTries = 10000;

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

bool StatPath(const QString& path, struct stat* info, bool follow = true) {
  const QByteArray native = Native(path);
  return (follow ? ::stat(native.constData(), info) : ::lstat(native.constData(), info)) == 0;
}

// A folder we may trash into: a real folder (no link), owned by us.
bool IsOwnFolder(const QString& path) {
  struct stat info {};
  return StatPath(path, &info, false) && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

bool MakeOwnFolder(const QString& path) {
  if (::mkdir(Native(path).constData(), 0700) != 0 && errno != EEXIST) return false;
  return IsOwnFolder(path);
}

bool PrepareTrash(const QString& trash) {
  return MakeOwnFolder(trash) && MakeOwnFolder(trash + QStringLiteral("/files")) &&
         MakeOwnFolder(trash + QStringLiteral("/info"));
}

// The top folder of the mount that holds `folder` (canonical, no trailing slash).
QString MountTop(const QString& folder) {
  QString top = QFileInfo(folder).canonicalFilePath();
  struct stat here {};
  if (top.isEmpty() || !StatPath(top, &here)) return QString();
  while (top != QStringLiteral("/")) {
    const int slash = top.lastIndexOf(u'/');
    const QString parent = slash <= 0 ? QStringLiteral("/") : top.left(slash);
    struct stat above {};
    if (!StatPath(parent, &above) || above.st_dev != here.st_dev) break;
    top = parent;
  }
  return top;
}

// $topdir/.Trash/$uid when an administrator made $topdir/.Trash (a sticky
// folder, not a link), else $topdir/.Trash-$uid. Empty when neither works.
QString MountTrash(const QString& top) {
  const QString uid = QString::number(::getuid());
  const QString base = top == QStringLiteral("/") ? QString() : top;
  const QString shared = base + QStringLiteral("/.Trash");
  struct stat info {};
  if (StatPath(shared, &info, false) && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)) {
    const QString mine = shared + u'/' + uid;
    if (PrepareTrash(mine)) return mine;
  }
  const QString own = base + QStringLiteral("/.Trash-") + uid;
  return PrepareTrash(own) ? own : QString();
}

// The trash for a file in `folder`, and the folder its info paths are relative to.
struct TrashPlace {
  QString trash;
  QString top;  // empty: the info file holds the absolute path
};

TrashPlace TrashFor(const QString& folder) {
  struct stat folder_info {};
  if (!StatPath(folder, &folder_info)) return {};
  const QString home_trash = HomeTrashFolder();
  QDir().mkpath(QFileInfo(home_trash).path());
  struct stat home_info {};
  if (PrepareTrash(home_trash) && StatPath(home_trash, &home_info) &&
      home_info.st_dev == folder_info.st_dev) {
    return {home_trash, QString()};
  }
  const QString top = MountTop(folder);
  if (top.isEmpty()) return {};
  return {MountTrash(top), top};
}

QString TrashName(const QString& name, int number) {
  QString cut = name;
  while (Native(cut).size() > kMaxTrashNameBytes) cut.chop(1);
  return number <= 1 ? cut : cut + u'.' + QString::number(number);
}

QByteArray InfoText(const QString& original, const QString& top) {
  QString stored = original;
  if (!top.isEmpty()) {
    const QString canonical = QFileInfo(QFileInfo(original).path()).canonicalFilePath() + u'/' +
                              QFileInfo(original).fileName();
    const QString prefix = top == QStringLiteral("/") ? top : top + u'/';
    if (canonical.startsWith(prefix)) stored = canonical.mid(prefix.size());
  }
  return "[Trash Info]\nPath=" + QUrl::toPercentEncoding(stored, "/") + "\nDeletionDate=" +
         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() +
         "\n";
}

// Claims an info file name with O_EXCL; the name is ours once this succeeds.
int WriteInfoFile(const QString& path, const QByteArray& text) {
  const int fd = ::open(Native(path).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) return errno;
  const bool ok = ::write(fd, text.constData(), text.size()) == text.size();
  const int error = ok ? 0 : (errno ? errno : EIO);
  ::close(fd);
  if (error != 0) ::unlink(Native(path).constData());
  return error;
}

}  // namespace

QString HomeTrashFolder() {
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty() || !QDir::isAbsolutePath(data))
    data = QDir::homePath() + QStringLiteral("/.local/share");
  return QDir::cleanPath(data) + QStringLiteral("/Trash");
}

int MoveToTrash(const QString& path, TrashedFile* trashed) {
  const QFileInfo file(path);
  const QString original = file.absoluteFilePath();
  struct stat info {};
  if (!StatPath(original, &info, false)) return errno;
  const TrashPlace place = TrashFor(file.absolutePath());
  if (place.trash.isEmpty()) return kErrorNoTrash;
  const QByteArray info_text = InfoText(original, place.top);
  for (int number = 1; number <= kMaxTrashNameTries; ++number) {
    const QString name = TrashName(file.fileName(), number);
    const QString info_file =
        place.trash + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo");
    const int info_error = WriteInfoFile(info_file, info_text);
    if (info_error == EEXIST) continue;
    if (info_error != 0)
      return info_error == EROFS || info_error == EACCES ? kErrorNoTrash : info_error;
    const QString in_trash = place.trash + QStringLiteral("/files/") + name;
    const int error = RenameNoReplace(original, in_trash);
    if (error == 0) {
      if (trashed != nullptr) *trashed = {original, in_trash, info_file};
      return 0;
    }
    ::unlink(Native(info_file).constData());
    if (error != EEXIST) return error == EXDEV ? kErrorNoTrash : error;
  }
  return EEXIST;
}

int RestoreFromTrash(const TrashedFile& trashed) {
  if (const int error = RenameNoReplace(trashed.in_trash, trashed.original)) return error;
  ::unlink(Native(trashed.info_file).constData());
  return 0;
}

}  // namespace dupliora
