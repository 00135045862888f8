// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/comparison_engine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "engine/record_path.h"
#include "record_store_test_support.h"
#include "run_test_support.h"

namespace dupliora {
namespace {

using testing::RecordingSink;
using testing::SavePattern;

class ComparisonEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    root_ = dir_.path() + u'/';
    ASSERT_TRUE(QDir(root_).mkpath("one/sub"));
    ASSERT_TRUE(QDir(root_).mkpath("two"));
    options_.threads = 2;
  }

  // Three pictures, two of them copies, plus bad files.
  void FillFolderOne() {
    ASSERT_TRUE(SavePattern(root_ + "one/a.png", 1));
    ASSERT_TRUE(SavePattern(root_ + "one/sub/a_copy.png", 1));
    ASSERT_TRUE(SavePattern(root_ + "one/b.png", 2));
    ASSERT_TRUE(test::WriteBytes(root_ + "one/zero.png", {}));
    ASSERT_TRUE(test::WriteBytes(root_ + "one/corrupt.jpg",
                                 QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(300, '\x11')));
  }

  QStringList MatchedNames(const RecordingSink& sink) const {
    QStringList names;
    for (const MatchResult& m : sink.matches) {
      names << RecordPath(*m.first).mid(root_.size()) + u'|' +
                   RecordPath(*m.second).mid(root_.size());
    }
    return names;
  }

  void Run(RecordingSink& sink, const QString& path1, const QString& path2) {
    engine_.Run(options_, path1, path2, texts_, sink);
  }

  // One run in compare `mode`; returns what it showed.
  RecordingSink RunIn(int mode, const QString& path1, const QString& path2) {
    options_.compare_mode = mode;
    RecordingSink sink;
    Run(sink, path1, path2);
    return sink;
  }

  QTemporaryDir dir_;
  QString root_;
  RunOptions options_;
  RunTexts texts_ = testing::NumberedTexts();
  ComparisonEngine engine_;
};

TEST_F(ComparisonEngineTest, FindsTheCopyAndASecondRunTakesItFromTheCache) {
  FillFolderOne();
  const RecordingSink sink = RunIn(0, {}, root_ + "one");
  const RunSummary& summary = engine_.LastSummary();
  EXPECT_EQ(summary.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(summary.loaded, 3);
  EXPECT_EQ(summary.decoded, 3);  // the zero-byte and the corrupt file are left out
  EXPECT_EQ(summary.total, 3);
  EXPECT_EQ(summary.done, 3);
  EXPECT_EQ(MatchedNames(sink), QStringList{"one/a.png|one/sub/a_copy.png"});
  EXPECT_EQ(sink.matches[0].similarity, 100);
  EXPECT_TRUE(sink.sorted);
  EXPECT_EQ(sink.redraw, (std::vector<bool>{false, true}));
  EXPECT_TRUE(sink.Last(RunText::kStatus1004).startsWith("T300102: 1 / T300333: 3 / T300335: "));
  EXPECT_TRUE(sink.Last(RunText::kLabel1003).startsWith("T300337 1, T300334 "));
  EXPECT_TRUE(sink.Last(RunText::kLabel1002).startsWith("T300330:3  "));
  EXPECT_EQ(sink.accepted.second, root_ + "one");
  // The status bar's cache line ends on the final count, whatever the throttle let through.
  ASSERT_FALSE(sink.cache_lines.isEmpty());
  EXPECT_TRUE(sink.cache_lines.last().startsWith(QStringLiteral("Cache: 3 ")));

  const RecordingSink second = RunIn(0, {}, root_ + "one");
  EXPECT_EQ(engine_.LastSummary().from_cache, 3);
  EXPECT_EQ(engine_.LastSummary().decoded, 0);
  EXPECT_EQ(MatchedNames(second), MatchedNames(sink));

  // A changed file is made again, the others still come from the cache.
  QThread::msleep(20);
  ASSERT_TRUE(SavePattern(root_ + "one/b.png", 1));
  const RecordingSink third = RunIn(0, {}, root_ + "one");
  EXPECT_EQ(engine_.LastSummary().from_cache, 2);
  EXPECT_EQ(engine_.LastSummary().decoded, 1);
  EXPECT_EQ(third.matches.size(), 3u);  // b now equals a and its copy
  EXPECT_EQ(engine_.CacheSize(), 3u);
}

TEST_F(ComparisonEngineTest, NextSessionTakesItsRecordsFromTheStoreAndARuleChangeMakesThemAgain) {
  FillFolderOne();
  for (const char* name : {"one/a.png", "one/sub/a_copy.png", "one/b.png"}) {
    ASSERT_TRUE(AgeFile(root_ + name));
  }
  const QString file = root_ + "records.sqlite";
  RecordingSink first;
  engine_.SetRecordStore(std::make_shared<RecordStore>(file));
  Run(first, {}, root_ + "one");
  engine_.SetRecordStore(nullptr);  // the last owner closes it: all is written

  ComparisonEngine next_session;
  next_session.SetRecordStore(std::make_shared<RecordStore>(file));
  RecordingSink second;
  next_session.Run(options_, {}, root_ + "one", texts_, second);
  EXPECT_EQ(next_session.LastSummary().from_store, 3);
  EXPECT_EQ(next_session.LastSummary().decoded, 0);
  EXPECT_EQ(MatchedNames(second), MatchedNames(first));
  EXPECT_TRUE(second.cache_lines.last().endsWith(" // 3 T300380"));

  // Samples of two rules never meet: the session cache does not serve rule 2's either.
  options_.signature_rule = 3;
  next_session.Run(options_, {}, root_ + "one", texts_, second);
  EXPECT_EQ(next_session.LastSummary().decoded, 3);
}

// Two-folder mode pairs across the lists only; a file named alone is not
// served stale from the cache either.
TEST_F(ComparisonEngineTest, TwoFolderModeComparesAcrossAndAChangedSingleFileIsMadeAgain) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "two/y.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "one/single.png", 1));
  const QString single = root_ + "one/single.png";
  const RecordingSink first = RunIn(1, single, root_ + "two");
  EXPECT_EQ(engine_.LastSummary().first_list, 1);
  EXPECT_EQ(MatchedNames(first),
            (QStringList{"one/single.png|two/x.png", "one/single.png|two/y.png"}));
  QThread::msleep(20);
  ASSERT_TRUE(SavePattern(single, 2));
  const RecordingSink second = RunIn(1, single, root_ + "two");
  EXPECT_EQ(engine_.LastSummary().from_cache, 2);  // only the files of two
  EXPECT_TRUE(second.matches.empty());
}

TEST_F(ComparisonEngineTest, UnusablePathsAndEmptyListsEndTheRun) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  const QString missing = root_ + "missing";
  const QString file = root_ + "two/x.png";
  const QString one = root_ + "one";
  const QString two = root_ + "two";
  const QString no_pictures = "T300339";
  using enum PathField;
  struct Case {
    const char* label;
    int mode;
    QString path1, path2;
    PathField field;
    QString alert;
  } const cases[] = {
      {"second missing", 0, {}, missing, kSecond, "T300000\n" + missing},
      {"second empty", 0, {}, ";", kSecond, "T300000\n"},
      {"short names are paths", 0, {}, "/a", kSecond, "T300000\n/a"},
      {"first missing", 1, missing, two, kFirst, "T300000\n" + missing},
      {"last entry a file", 0, {}, file, kSecond, "T300000\n" + file},
      {"no picture", 0, {}, one, kSecond, no_pictures},
      {"first list without pictures", 1, one, two, kFirst, no_pictures},
      // Same folder in both fields: the second list is emptied.
      {"same folder twice", 1, two, two, kSecond, no_pictures},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const RecordingSink sink = RunIn(c.mode, c.path1, c.path2);
    const bool rejected = c.alert != no_pictures;
    EXPECT_EQ(engine_.LastSummary().outcome,
              rejected ? RunOutcome::kPathRejected : RunOutcome::kEmptyList);
    EXPECT_EQ(sink.alerts, (std::vector{std::pair(c.field, c.alert)}));
    // A rejected path costs nothing: the list and its summary stay.
    EXPECT_EQ(sink.Last(RunText::kStatus1004), rejected ? QString() : c.alert);
    EXPECT_EQ(sink.clears, rejected ? 0 : 1);
  }
}

TEST_F(ComparisonEngineTest, AFileIsNeverItsOwnCopy) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "two/y.png", 2));
  const QString two = root_ + "two";
  const QString link = root_ + "link";
  ASSERT_TRUE(QDir(root_).mkpath("three"));
  ASSERT_TRUE(QFile::link(two, link));
  ASSERT_EQ(::link(QFile::encodeName(root_ + "two/x.png").constData(),
                   QFile::encodeName(root_ + "three/hard.png").constData()),
            0);
  using enum RunOutcome;
  struct Case {
    const char* label;
    int mode;
    QString path1, path2;
    RunOutcome outcome;
  } const cases[] = {
      {"folder spelled with //", 1, two, two + "//", kEmptyList},
      {"folder spelled with ./", 1, two, two + "/./", kEmptyList},
      {"a symlink to the folder", 1, two, link, kEmptyList},
      {"a hard link across the lists", 1, root_ + "three", two, kCompleted},
      {"its symlink and ./ in one list", 0, {}, two + ';' + link + ';' + two + "/./", kCompleted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const RecordingSink sink = RunIn(c.mode, c.path1, c.path2);
    EXPECT_EQ(engine_.LastSummary().outcome, c.outcome);
    EXPECT_EQ(engine_.LastSummary().loaded, 2);
    EXPECT_TRUE(sink.matches.empty()) << MatchedNames(sink).join(' ').toStdString();
  }
}

TEST_F(ComparisonEngineTest, ShutdownHoldsForRunsNotYetBegun) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "two/y.png", 1));
  engine_.Shutdown();
  for (int run = 0; run < 2; ++run) {
    // A file named alone is listed whatever the stop; the load phase then stops.
    const RecordingSink sink = RunIn(1, root_ + "two/x.png", root_ + "two");
    EXPECT_EQ(engine_.LastSummary().outcome, RunOutcome::kStopped);
    EXPECT_TRUE(sink.matches.empty());
  }
}

TEST_F(ComparisonEngineTest, LongPathIsNotCut) {
  // A 260-character path whose first 254 characters name another folder.
  const QString base = root_ + "deep";
  const QString long_folder = base + QString(260 - base.size(), u'x');
  const QString cut_folder = long_folder.left(254);
  ASSERT_TRUE(QDir().mkpath(cut_folder));
  ASSERT_TRUE(QDir().mkpath(long_folder));
  ASSERT_TRUE(SavePattern(long_folder + "/a.png", 1));
  ASSERT_TRUE(SavePattern(long_folder + "/b.png", 1));
  const RecordingSink sink = RunIn(0, {}, long_folder);
  EXPECT_EQ(sink.accepted.second, long_folder);
  EXPECT_EQ(sink.matches.size(), 1u);
}

TEST_F(ComparisonEngineTest, StopIsReportedAsStoppedAndKeepsTheMatchesFound) {
  ASSERT_TRUE(SavePattern(root_ + "one/0.png", 1, 128, 128));
  for (int i = 1; i < 400; ++i) {
    ASSERT_TRUE(QFile::copy(root_ + "one/0.png", root_ + QStringLiteral("one/%1.png").arg(i)));
  }
  options_.threads = 1;
  for (const QString phase : {"scan", "load", "compare"}) {
    SCOPED_TRACE(phase.toStdString());
    RecordingSink sink;
    const auto stop = [this] { engine_.RequestStop(); };
    if (phase == "scan") {
      sink.on_text = [&](RunText target) {
        if (target == RunText::kLabel1002) stop();
      };
    }
    if (phase == "load") sink.on_cache_line = stop;
    if (phase == "compare") sink.on_matches = stop;
    Run(sink, {}, root_ + "one");
    EXPECT_EQ(engine_.LastSummary().outcome, RunOutcome::kStopped);
    EXPECT_EQ(engine_.LastSummary().loaded < 400, phase != "compare");
    EXPECT_EQ(sink.matches.size(), static_cast<std::size_t>(engine_.LastSummary().matches));
    EXPECT_EQ(sink.matches.empty(), phase != "compare");
    EXPECT_TRUE(sink.alerts.empty());
    EXPECT_EQ(sink.Last(RunText::kLabel1003), ".............");
    EXPECT_EQ(sink.Last(RunText::kStatus1004), "T300341");
    EXPECT_FALSE(sink.texts[RunText::kStatus1004].contains("T300339"));
    EXPECT_FALSE(sink.Last(RunText::kLabel1002).contains("T300336"));  // no time remaining
    EXPECT_TRUE(sink.redraw.empty() || sink.redraw.back());
    EXPECT_FALSE(sink.sorted);
  }
}

}  // namespace
}  // namespace dupliora
