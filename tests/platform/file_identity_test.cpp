// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_identity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace dupliora {
namespace {

TEST(FileIdentity, SpellingsLinksAndHardLinksReachOneFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString root = dir.path();
  ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("x")));
  const QString file = root + QStringLiteral("/x/a.png");
  for (const QString& name : {file, root + QStringLiteral("/x/b.png")}) {
    QFile out(name);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("same bytes");
  }
  ASSERT_TRUE(QFile::link(root + QStringLiteral("/x"), root + QStringLiteral("/link")));
  ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                   QFile::encodeName(root + QStringLiteral("/hard.png")).constData()),
            0);

  struct Case {
    const char* what;
    QString other;
    bool same;
  };
  const Case cases[] = {
      {"itself", file, true},
      {"double slash", root + QStringLiteral("//x//a.png"), true},
      {"dot segment", root + QStringLiteral("/x/./a.png"), true},
      {"dot-dot segment", root + QStringLiteral("/x/../x/a.png"), true},
      {"through a symlinked folder", root + QStringLiteral("/link/a.png"), true},
      {"hard link", root + QStringLiteral("/hard.png"), true},
      {"equal bytes, other file", root + QStringLiteral("/x/b.png"), false},
      {"other case", root + QStringLiteral("/x/A.png"), false},
      {"missing", root + QStringLiteral("/x/missing.png"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IsSameFile(file, c.other), c.same);
  }
  EXPECT_FALSE(IsSameFile(root + QStringLiteral("/none"), root + QStringLiteral("/none")));
}

}  // namespace
}  // namespace dupliora
