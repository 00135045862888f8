// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/marked_files.h"

#include "core/command_ids.h"
#include "fake_action_list.h"
#include "support/file_fixture.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

using test::FakeActionList;

TEST(MarkedFiles, CollectOncePerNameInRowOrderAndCaseCounts) {
  FakeActionList list;
  list.Add("/p/b.jpg", "/p/a.jpg", false, true);
  list.Add("/p/a.jpg", "/p/c.jpg", true, true);
  list.Add("/p/A.jpg", "/p/d.jpg", true, false);
  list.Add("/p/e.jpg", "/p/f.jpg");
  EXPECT_EQ(CollectMarkedFiles(list), QStringList({"/p/a.jpg", "/p/c.jpg", "/p/A.jpg"}));
}

TEST(MarkedFiles, RowsToRemoveByCommand) {
  FakeActionList list;
  list.Add("/a", "/b", true, false);
  list.Add("/c", "/d");
  list.Add("/e", "/f", false, true);
  list.Add("/g", "/h");
  list.selected = {1, 2};
  const struct {
    int command;
    std::vector<int> rows;
  } cases[] = {{command::kRemoveSelectedRows, {2, 1}},
               {command::kRemoveMarkedRows, {2, 0}},
               {command::kRemoveUnmarkedRows, {3, 1}},
               {12345, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(RowsToRemove(list, c.command), c.rows);
  }
  FakeActionList unmarked;
  unmarked.Add("/a", "/b");
  unmarked.Add("/c", "/d");
  EXPECT_EQ(RowsToRemove(unmarked, command::kRemoveUnmarkedRows).size(), 2u) << "empties the list";
}

TEST(MarkedFiles, LargerPictureComparesInSixtyFourBits) {
  const struct {
    const char* what;
    std::uint32_t w1, h1;
    std::uint64_t s1;
    std::uint32_t w2, h2;
    std::uint64_t s2;
    RowMarks marks;
  } cases[] = {
      {"larger area", 800, 600, 10, 640, 480, 99, {true, false}},
      {"second larger", 10, 10, 10, 20, 10, 1, {false, true}},
      {"equal area, larger file", 100, 100, 5, 100, 100, 6, {false, true}},
      {"equal in all", 100, 100, 5, 100, 100, 5, {false, false}},
      // 70,000 squared passes 2^32; a 32-bit product would wrap and misjudge.
      {"area beyond 32 bits", 70000, 70000, 1, 65536, 65536, 1, {true, false}},
      // Lower 32 bits of 5,000,000,000 equal 705,032,704.
      {"sizes differ above 32 bits", 10, 10, 5000000000ull, 10, 10, 705032704ull, {true, false}},
  };
  FakeActionList list;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const MatchResult match{list.Record("/1", c.w1, c.h1, c.s1),
                            list.Record("/2", c.w2, c.h2, c.s2)};
    EXPECT_EQ(LargerPictureMarks(match), c.marks);
  }
}

class MarkedFilesOnDisk : public test::FileOpsTest {};

TEST_F(MarkedFilesOnDisk, MissingRowsAndPicturesPairedWithThemselves) {
  const QString a = Make(QStringLiteral("x/a.jpg"));
  const QString b = Make(QStringLiteral("x/b.jpg"));
  ASSERT_TRUE(QFile::link(Work(QStringLiteral("x")), Work(QStringLiteral("link"))));
  FakeActionList list;
  list.Add(a, b);
  list.Add(a, Work(QStringLiteral("x/gone.jpg")));
  list.Add(a, Work(QStringLiteral("link/a.jpg")));
  list.Add(Work(QStringLiteral("x/./b.jpg")), b);
  EXPECT_EQ(RowsOfMissingFiles(list), std::vector<int>({1}));
  EXPECT_EQ(SelfPairedFiles(list, {a}), QStringList({a}));
  EXPECT_EQ(SelfPairedFiles(list, {b}), QStringList({b}));
  EXPECT_TRUE(SelfPairedFiles(list, {Work(QStringLiteral("x/gone.jpg"))}).isEmpty());
}

}  // namespace
}  // namespace dupliora
