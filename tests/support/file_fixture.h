// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// A private trash, files with distinct bytes, scratch mounts and a byte-for-
// byte picture of a folder tree, for the tests of the file operations.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <set>

#include "support/pictures.h"

namespace dupliora::test {

// Relative path -> bytes of every file below a folder.
using TreeBytes = std::map<QString, QByteArray>;
TreeBytes ReadTree(const QString& folder);
QByteArray ReadBytes(const QString& path);
// The bytes of every file in a trash's files/ folder.
std::multiset<QByteArray> TrashContents(const QString& trash);

// A tmpfs mounted on a temporary folder for the life of the object. Root
// only; Mounted() is false (with the reason) where mounting is refused.
class ScratchMount {
 public:
  explicit ScratchMount(const QString& options);
  ~ScratchMount();
  bool Mounted() const { return mounted_; }
  const QString& Reason() const { return reason_; }
  QString Path() const { return dir_.path(); }
  bool RemountReadOnly();

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
  QString reason_;
};

// A fresh temporary folder for every test.
class TempFolderTest : public ::testing::Test {
 protected:
  QString PathOf(const QString& name) const { return m_dir.filePath(name); }
  QTemporaryDir m_dir;
};

// Every test gets its own home trash (XDG_DATA_HOME) and work folder.
class FileOpsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  QString Work(const QString& name) const { return work_.filePath(name); }
  QString HomeTrash() const;
  // A file whose bytes name it, so any mix-up shows.
  QString Make(const QString& path, int size = 3000);
  static QByteArray BytesFor(const QString& path, int size);
  // Every byte string made so far is still somewhere: in the work folder,
  // the extra roots (mounts, with their trash) or the home trash.
  void ExpectNothingLost(const QStringList& roots);

  QTemporaryDir data_;
  QTemporaryDir work_;
  QByteArray old_data_home_;
  std::multiset<QByteArray> made_;
};

}  // namespace dupliora::test
