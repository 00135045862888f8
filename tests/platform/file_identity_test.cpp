// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/file_identity.h"

#include <unistd.h>

#include <QDir>

#include "support/file_fixture.h"

namespace dupliora {
namespace {

TEST(FileIdentity, SpellingsLinksAndHardLinksReachOneFile) {
  QTemporaryDir dir;
  const QString root = dir.path();
  const QString file = root + "/x/a.png";
  ASSERT_TRUE(QDir(root).mkpath("x"));
  ASSERT_TRUE(test::WriteBytes(file, "same bytes") &&
              test::WriteBytes(root + "/x/b.png", "same bytes"));
  ASSERT_TRUE(QFile::link(root + "/x", root + "/link"));
  ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                   QFile::encodeName(root + "/hard.png").constData()),
            0);
  struct Case {
    const char* what;
    const char* other;  // below the folder
    bool same;
  } const cases[] = {
      {"itself", "/x/a.png", true},
      {"double slash", "//x//a.png", true},
      {"dot segment", "/x/./a.png", true},
      {"dot-dot segment", "/x/../x/a.png", true},
      {"through a symlinked folder", "/link/a.png", true},
      {"hard link", "/hard.png", true},
      {"equal bytes, other file", "/x/b.png", false},
      {"other case", "/x/A.png", false},
      {"missing", "/x/missing.png", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IsSameFile(file, root + c.other), c.same);
  }
  EXPECT_FALSE(IsSameFile(root + "/none", root + "/none"));
}

}  // namespace
}  // namespace dupliora
