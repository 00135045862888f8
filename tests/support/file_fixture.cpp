// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "support/file_fixture.h"

#include <sys/mount.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <set>

#include "platform/desktop_trash.h"

namespace dupliora::test {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TreeBytes ReadTree(const QString& folder) {
  TreeBytes tree;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    tree[QDir(folder).relativeFilePath(path)] = ReadBytes(path);
  }
  return tree;
}

std::multiset<QByteArray> TrashContents(const QString& trash) {
  std::multiset<QByteArray> bytes;
  for (const auto& [name, content] : ReadTree(trash + QStringLiteral("/files")))
    bytes.insert(content);
  return bytes;
}

ScratchMount::ScratchMount(const QString& options) {
  const QByteArray data = options.toLatin1();
  if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, data.constData()) ==
      0) {
    mounted_ = true;
  } else {
    reason_ = QStringLiteral("cannot mount a tmpfs here (%1)")
                  .arg(QString::fromLocal8Bit(std::strerror(errno)));
  }
}

ScratchMount::~ScratchMount() {
  if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

bool ScratchMount::RemountReadOnly() {
  return ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                 MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void FileOpsTest::SetUp() {
  ASSERT_TRUE(data_.isValid() && work_.isValid());
  old_data_home_ = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QFile::encodeName(data_.filePath(QStringLiteral("data"))));
}

void FileOpsTest::TearDown() { qputenv("XDG_DATA_HOME", old_data_home_); }

QString FileOpsTest::HomeTrash() const { return HomeTrashFolder(); }

QByteArray FileOpsTest::BytesFor(const QString& path, int size) {
  QByteArray bytes = path.toUtf8() + '\n';
  while (bytes.size() < size) bytes += bytes.left(size - bytes.size());
  return bytes;
}

QString FileOpsTest::Make(const QString& path, int size) {
  const QString full = QDir::isAbsolutePath(path) ? path : Work(path);
  QDir().mkpath(QFileInfo(full).path());
  const QByteArray bytes = BytesFor(full, size);
  EXPECT_TRUE(WriteBytes(full, bytes)) << full.toStdString();
  made_.insert(bytes);
  return full;
}

void FileOpsTest::ExpectNothingLost(const QStringList& roots) {
  std::multiset<QByteArray> found = TrashContents(HomeTrash());
  QStringList all{work_.path()};
  for (const QString& root : roots)
    if (!root.startsWith(work_.path())) all.append(root);
  for (const QString& root : all) {
    for (const auto& [name, bytes] : ReadTree(root)) found.insert(bytes);
  }
  for (const QByteArray& bytes : std::set<QByteArray>(made_.begin(), made_.end()))
    EXPECT_GE(found.count(bytes), made_.count(bytes)) << "lost: " << bytes.left(60).toStdString();
}

}  // namespace dupliora::test
