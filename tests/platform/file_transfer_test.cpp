// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Copy, move, copy-over and trash under faults, each checked byte for byte,
// each undone and checked again.
#include "platform/file_transfer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "platform/safe_rename.h"
#include "support/file_fixture.h"

namespace dupliora {
namespace {

using test::ReadBytes;
using test::ReadTree;
using test::ScratchMount;
using enum TransferVerb;
using enum ItemStatus;
using enum ConflictChoice;

class ScriptedAnswers : public ConflictQuestion {
 public:
  explicit ScriptedAnswers(std::vector<ConflictAnswer> answers) : answers_(std::move(answers)) {}
  ConflictAnswer AskConflict(const QString&, const QString&) override {
    return answers_[std::min<std::size_t>(asked++, answers_.size() - 1)];
  }
  int asked = 0;

 private:
  std::vector<ConflictAnswer> answers_;
};

class FileTransferTest : public test::FileOpsTest {
 protected:
  // Runs, checks nothing was lost, undoes, and checks the tree came back.
  FileTransfer RunAndUndo(TransferVerb verb, std::vector<TransferItem> items, ConflictQuestion* ask,
                          const QStringList& roots) {
    std::vector<test::TreeBytes> before;
    for (const QString& root : roots) before.push_back(ReadTree(root));
    FileTransfer transfer(verb, std::move(items), ask);
    transfer.RunAll();
    ExpectNothingLost(roots);
    after_.clear();
    for (const QString& root : roots) after_.push_back(ReadTree(root));
    EXPECT_TRUE(transfer.Journal().Undo().empty());
    for (int i = 0; i < roots.size(); ++i) {
      test::TreeBytes now = ReadTree(roots[i]);
      std::erase_if(now, [](const auto& f) { return f.first.startsWith(u".Trash"); });
      std::erase_if(before[i], [](const auto& f) { return f.first.startsWith(u".Trash"); });
      EXPECT_EQ(now, before[i]) << "undo left a difference in " << roots[i].toStdString();
    }
    ExpectNothingLost(roots);
    return transfer;
  }
  std::vector<test::TreeBytes> after_;
};

TEST_F(FileTransferTest, EveryConflictAnswerForCopyAndMove) {
  struct Case {
    ConflictChoice choice;
    ItemStatus status;
    bool target_replaced;  // dst/a.jpg holds the source's bytes afterwards
    bool numbered_copy;
  } const cases[] = {
      {kSkip, kSkipped, false, false},
      {kReplace, kDone, true, false},
      {kKeepBoth, kDone, false, true},
      {kCancel, kPending, false, false},
  };
  int index = 0;
  for (const TransferVerb verb : {kCopy, kMove}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(index);
      const QString root = Work(QString::number(index++));
      const QString source = Make(root + "/src/a.jpg");
      const QString target = Make(root + "/dst/a.jpg");
      ScriptedAnswers ask({{c.choice, false}});
      const FileTransfer done = RunAndUndo(verb, {{source, target}}, &ask, {root});
      EXPECT_EQ(done.Outcomes()[0].status, c.status);
      const test::TreeBytes& after = after_[0];
      EXPECT_EQ(after.at("dst/a.jpg"), BytesFor(c.target_replaced ? source : target, 3000));
      EXPECT_EQ(after.count("dst/a_(1).jpg"), c.numbered_copy ? 1u : 0u);
      const bool source_gone = verb == kMove && c.status == kDone;
      EXPECT_EQ(after.count("src/a.jpg"), source_gone ? 0u : 1u);
      EXPECT_EQ(done.Cancelled(), c.choice == kCancel);
    }
  }
}

TEST_F(FileTransferTest, ApplyToAllAsksOnceAndCancelLeavesTheRestPending) {
  std::vector<TransferItem> items;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
    items.push_back({Make(QStringLiteral("src/") + name), Make(QStringLiteral("dst/") + name)});
  ScriptedAnswers ask({{kKeepBoth, true}});
  const FileTransfer all = RunAndUndo(kCopy, items, &ask, {work_.path()});
  EXPECT_EQ(ask.asked, 1);
  EXPECT_EQ(all.Count(kDone), 3);

  FileTransfer partial(kMove, items, nullptr);
  partial.Step();
  partial.Cancel();
  partial.RunAll();
  EXPECT_EQ(partial.Count(kPending), 2);
  EXPECT_TRUE(QFileInfo::exists(items[1].source));
  ExpectNothingLost({work_.path()});
}

TEST_F(FileTransferTest, VanishedSourceAndOneFileUnderTwoSpellingsAreRefused) {
  const QString a = Make("pics/a.jpg");
  const QString b = Make("pics/b.jpg");
  ASSERT_TRUE(QFile::link(Work("pics"), Work("alias")));
  const QString gone = Work("pics/gone.jpg");
  struct Case {
    const char* what;
    TransferVerb verb;
    TransferItem item;
    int error;
  };
  const Case cases[] = {
      {"copy of a vanished file", kCopy, {gone, Work("out.jpg")}, ENOENT},
      {"move of a vanished file", kMove, {gone, Work("out.jpg")}, ENOENT},
      {"trash of a vanished file", kTrash, {gone, {}}, ENOENT},
      {"copy over partner, dot segment", kCopyOver, {a, Work("pics/./a.jpg")}, kErrorSameFile},
      {"copy over partner, symlinked folder", kCopyOver, {a, Work("alias/a.jpg")}, kErrorSameFile},
      {"move onto itself, double slash", kMove, {a, Work("pics//a.jpg")}, kErrorSameFile},
      {"copy onto itself", kCopy, {b, Work("alias/../pics/b.jpg")}, kErrorSameFile},
  };
  const test::TreeBytes before = ReadTree(Work("pics"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedAnswers ask({{kReplace, true}});
    FileTransfer transfer(c.verb, {c.item}, &ask);
    transfer.RunAll();
    EXPECT_EQ(transfer.Outcomes()[0].status, kFailed);
    EXPECT_EQ(transfer.Outcomes()[0].error, c.error);
    EXPECT_EQ(ask.asked, 0);
    EXPECT_EQ(ReadTree(Work("pics")), before);
    EXPECT_TRUE(transfer.Journal().Empty());
  }
  ExpectNothingLost({work_.path()});
}

TEST_F(FileTransferTest, CopyOverPartnerTrashesThePartnerFirst) {
  const QString marked = Make("a/keep.jpg");
  const QString partner = Make("b/old.jpg");
  const FileTransfer done = RunAndUndo(kCopyOver, {{marked, partner}}, nullptr, {work_.path()});
  EXPECT_EQ(done.Count(kDone), 1);
  EXPECT_EQ(after_[0].at("b/old.jpg"), ReadBytes(marked));
  EXPECT_EQ(test::TrashContents(HomeTrash()).count(BytesFor(partner, 3000)), 0u)
      << "undo takes the partner out of the trash again";
}

TEST_F(FileTransferTest, ReadOnlyTargetFolderLeavesEverythingInPlace) {
  std::unique_ptr<ScratchMount> mount;
  QString folder = Work("locked");
  if (::geteuid() == 0) {
    // Root passes every permission check: only a read-only mount stops it.
    mount = std::make_unique<ScratchMount>("size=1m");
    if (!mount->Mounted()) GTEST_SKIP() << mount->Reason().toStdString();
    folder = mount->Path();
    Make(folder + "/a.jpg");
    ASSERT_TRUE(mount->RemountReadOnly());
  } else {
    Make(folder + "/a.jpg");
    ::chmod(QFile::encodeName(folder).constData(), 0555);
  }
  const QString source = Make("src/a.jpg");
  const QString other = Make("src/b.jpg");
  const test::TreeBytes before = ReadTree(folder);
  for (TransferVerb verb : {kCopy, kMove, kCopyOver}) {
    ScriptedAnswers ask({{kReplace, true}});
    FileTransfer transfer(verb, {{source, folder + "/a.jpg"}, {other, folder + "/b.jpg"}}, &ask);
    transfer.RunAll();
    EXPECT_EQ(transfer.Count(kFailed), 2);
    EXPECT_EQ(ReadTree(folder), before);
    EXPECT_TRUE(QFileInfo::exists(source) && QFileInfo::exists(other));
  }
  ExpectNothingLost({work_.path(), folder});
  if (!mount) ::chmod(QFile::encodeName(folder).constData(), 0755);
}

TEST_F(FileTransferTest, FullDiskLeavesNoPartialFile) {
  ScratchMount small("size=64k");
  if (!small.Mounted()) GTEST_SKIP() << small.Reason().toStdString();
  const QString big = Make("big.jpg", 200 * 1024);
  const QString fits = Make("fits.jpg", 4 * 1024);
  for (TransferVerb verb : {kCopy, kMove}) {
    FileTransfer transfer(verb, {{big, small.Path() + "/big.jpg"}}, nullptr);
    transfer.RunAll();
    EXPECT_EQ(transfer.Outcomes()[0].error, ENOSPC);
    EXPECT_TRUE(ReadTree(small.Path()).empty()) << "no partial or temporary file stays";
    EXPECT_EQ(ReadBytes(big), BytesFor(big, 200 * 1024));
  }
  const FileTransfer moved = RunAndUndo(kMove, {{fits, small.Path() + "/fits.jpg"}}, nullptr,
                                        {work_.path(), small.Path()});
  EXPECT_EQ(moved.Count(kDone), 1) << FileErrorText(moved.Outcomes()[0].error).toStdString();
}

TEST_F(FileTransferTest, MoveAcrossFileSystemsCopiesChecksAndKeepsTheTime) {
  ScratchMount other("size=4m");
  if (!other.Mounted()) GTEST_SKIP() << other.Reason().toStdString();
  std::vector<TransferItem> items;
  for (const char* name : {"a.jpg", "b.png", "ü; <&>.jpg"}) {
    const QString source = Make(QStringLiteral("src/") + name, 70000);
    ASSERT_TRUE(test::SetModified(source, QDateTime(QDate(2019, 5, 4), QTime(3, 2, 1))));
    items.push_back({source, other.Path() + u'/' + name});
  }
  const FileTransfer moved = RunAndUndo(kMove, items, nullptr, {work_.path(), other.Path()});
  EXPECT_EQ(moved.Count(kDone), 3);
  EXPECT_EQ(after_[0].size(), 0u) << "the sources are gone after the move";
  EXPECT_EQ(after_[1].size(), 3u);
  // Moved back by undo: the time survived both crossings.
  EXPECT_EQ(QFileInfo(items[0].source).lastModified().date(), QDate(2019, 5, 4));
}

// Read-only, the mount has no trash, and the file stays.
TEST_F(FileTransferTest, TrashOfAnotherMountUsesThatMountsTrashOrNone) {
  ScratchMount other("size=1m");
  if (!other.Mounted()) GTEST_SKIP() << other.Reason().toStdString();
  const QString file = Make(other.Path() + "/sub/x y.jpg");
  const FileTransfer trashed = RunAndUndo(kTrash, {{file, {}}}, nullptr, {other.Path()});
  const QString in_trash = trashed.Outcomes()[0].final_target;
  EXPECT_TRUE(in_trash.startsWith(other.Path() + "/.Trash-")) << in_trash.toStdString();
  EXPECT_EQ(after_[0].count("sub/x y.jpg"), 0u);
  // Relative to the mount, per the trash specification.
  bool relative = false;
  for (const auto& [name, bytes] : after_[0])
    if (name.endsWith(u".trashinfo")) relative = bytes.contains("Path=sub/x%20y.jpg\n");
  EXPECT_TRUE(relative);
  ASSERT_TRUE(other.RemountReadOnly());
  FileTransfer transfer(kTrash, {{file, {}}}, nullptr);
  transfer.RunAll();  // Qt 6.4's moveToTrash never returns here
  EXPECT_EQ(transfer.Outcomes()[0].error, kErrorNoTrash);
  EXPECT_EQ(ReadBytes(file), BytesFor(file, 3000));
}

TEST_F(FileTransferTest, MissingDataFolderIsMadeInsteadOfTrashingIntoTheCurrentFolder) {
  qputenv("XDG_DATA_HOME", QFile::encodeName(data_.filePath("not/yet/there")));
  const QString file = Make("a.jpg");
  const QString old_cwd = QDir::currentPath();
  QDir::setCurrent(work_.path());
  FileTransfer transfer(kTrash, {{file, {}}}, nullptr);
  transfer.RunAll();
  QDir::setCurrent(old_cwd);
  EXPECT_EQ(transfer.Count(kDone), 1);
  EXPECT_TRUE(
      transfer.Outcomes()[0].final_target.startsWith(data_.filePath("not/yet/there/Trash/files/")));
  EXPECT_FALSE(QFileInfo::exists(Work("files")));
  ExpectNothingLost({work_.path()});
  EXPECT_TRUE(transfer.Journal().Undo().empty());
  EXPECT_EQ(ReadBytes(file), BytesFor(file, 3000));
}

TEST_F(FileTransferTest, TrashNamesCollideWithoutReplacing) {
  std::vector<TransferItem> items;
  for (const char* folder : {"x", "y", "z"})
    items.push_back({Make(QStringLiteral("%1/same.jpg").arg(folder)), {}});
  const FileTransfer trashed = RunAndUndo(kTrash, items, nullptr, {work_.path()});
  EXPECT_EQ(trashed.Count(kDone), 3);
  QStringList names;
  for (const ItemOutcome& o : trashed.Outcomes()) names << QFileInfo(o.final_target).fileName();
  EXPECT_EQ(names, QStringList({"same.jpg", "same.jpg.2", "same.jpg.3"}));
}

TEST_F(FileTransferTest, UndoLeavesAFileAloneThatWasReplacedSince) {
  const QString source = Make("a.jpg");
  FileTransfer moved(kMove, {{source, Work("b.jpg")}}, nullptr);
  moved.RunAll();
  ASSERT_TRUE(QFile::remove(Work("b.jpg")));
  const QString newcomer = Make("b.jpg", 5000);
  const std::vector<UndoFailure> failures = moved.Journal().Undo();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].error, kErrorChanged);
  EXPECT_EQ(ReadBytes(newcomer), BytesFor(newcomer, 5000));
  EXPECT_FALSE(QFileInfo::exists(source));
}

}  // namespace
}  // namespace dupliora
