// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/safe_rename.h"

#include <QFileInfo>

#include "support/file_fixture.h"

namespace dupliora {
namespace {

TEST(NumberedName, NumberGoesBeforeTheExtensionOfTheNameOnly) {
  struct Case {
    const char* path;
    int number;
    const char* expected;
  };
  const Case cases[] = {
      {"/p/b.jpg", 1, "/p/b_(1).jpg"},     {"/p/b.tar.gz", 2, "/p/b.tar_(2).gz"},
      {"/p/noext", 1, "/p/noext_(1)"},     {"/p.d/noext", 1, "/p.d/noext_(1)"},
      {"/p/.hidden", 1, "/p/.hidden_(1)"}, {"/p/b.", 1, "/p/b_(1)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(NumberedName(QString::fromUtf8(c.path), c.number), QString::fromUtf8(c.expected));
  }
}

class SafeRenameTest : public test::FileOpsTest {};

TEST_F(SafeRenameTest, RenameNeverReplacesAndFreeNameCountsUp) {
  const QString a = Make("a.jpg");
  const QString b = Make("b.jpg");
  EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
  EXPECT_EQ(test::ReadBytes(b), BytesFor(b, 3000));
  EXPECT_EQ(test::ReadBytes(a), BytesFor(a, 3000));
  EXPECT_EQ(FreeName(b, 2), Work("b_(1).jpg"));
  Make("b_(1).jpg");
  EXPECT_EQ(FreeName(b, 2), Work("b_(2).jpg"));
  Make("b_(2).jpg");
  EXPECT_EQ(FreeName(b, 2), QString()) << "all three names taken";
  ASSERT_TRUE(QFile::link(Work("nowhere"), Work("dangling")));
  EXPECT_EQ(RenameNoReplace(a, Work("dangling")), EEXIST) << "a dangling link is a taken name too";
  EXPECT_EQ(RenameNoReplace(a, Work("c.jpg")), 0);
  EXPECT_FALSE(QFileInfo::exists(a));
  ExpectNothingLost({work_.path()});
}

}  // namespace
}  // namespace dupliora
