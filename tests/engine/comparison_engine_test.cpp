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

  // Three pictures, two of them copies (one as JPEG), plus bad files.
  void FillFolderOne() {
    ASSERT_TRUE(SavePattern(root_ + "one/a.png", 1));
    ASSERT_TRUE(SavePattern(root_ + "one/sub/a_copy.png", 1));
    ASSERT_TRUE(SavePattern(root_ + "one/b.png", 2));
    QFile zero(root_ + "one/zero.png");
    ASSERT_TRUE(zero.open(QIODevice::WriteOnly));
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
  RecordingSink sink;
  Run(sink, {}, root_ + "one");
  const RunSummary& summary = engine_.LastSummary();
  EXPECT_EQ(summary.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(summary.loaded, 3);
  EXPECT_EQ(summary.decoded, 3);  // the zero-byte file fails the probe
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

  RecordingSink second;
  Run(second, {}, root_ + "one");
  EXPECT_EQ(engine_.LastSummary().from_cache, 3);
  EXPECT_EQ(engine_.LastSummary().decoded, 0);
  EXPECT_EQ(MatchedNames(second), MatchedNames(sink));

  // A changed file is made again, the others still come from the cache.
  QThread::msleep(20);
  ASSERT_TRUE(SavePattern(root_ + "one/b.png", 1));
  RecordingSink third;
  Run(third, {}, root_ + "one");
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

TEST_F(ComparisonEngineTest, ChangedSingleFileIsNotServedStale) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "one/single.png", 1));
  options_.compare_mode = 1;
  RecordingSink first;
  Run(first, root_ + "one/single.png", root_ + "two");
  EXPECT_EQ(first.matches.size(), 1u);
  QThread::msleep(20);
  ASSERT_TRUE(SavePattern(root_ + "one/single.png", 2));
  RecordingSink second;
  Run(second, root_ + "one/single.png", root_ + "two");
  EXPECT_EQ(engine_.LastSummary().from_cache, 1);  // only two/x.png
  EXPECT_TRUE(second.matches.empty());
}

TEST_F(ComparisonEngineTest, UnusablePathsAndEmptyListsEndTheRun) {
  struct Case {
    const char* label;
    int mode;
    QString path1, path2;
    RunOutcome outcome;
    PathField field;
    QString status, alert;
  };
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  const QString missing = root_ + "missing";
  const QString file = root_ + "two/x.png";
  const RunOutcome rejected = RunOutcome::kPathRejected;
  const Case cases[] = {
      {"second missing", 0, {}, missing, rejected, PathField::kSecond, {}, "T300000\n" + missing},
      {"second empty", 0, {}, ";", rejected, PathField::kSecond, {}, "T300000\n"},
      {"short names are paths", 0, {}, "/a", rejected, PathField::kSecond, {}, "T300000\n/a"},
      {"first missing", 1, missing, root_ + "two", rejected, PathField::kFirst, {},
       "T300000\n" + missing},
      {"last entry a file", 0, {}, file, rejected, PathField::kSecond, {}, "T300000\n" + file},
      {"no picture",
       0,
       {},
       root_ + "one",
       RunOutcome::kEmptyList,
       PathField::kSecond,
       "T300339",
       {}},
      {"first list without pictures",
       1,
       root_ + "one",
       root_ + "two",
       RunOutcome::kEmptyList,
       PathField::kFirst,
       "T300339",
       {}},
      // Same folder in both fields: the second list is emptied.
      {"same folder twice",
       1,
       root_ + "two",
       root_ + "two",
       RunOutcome::kEmptyList,
       PathField::kSecond,
       "T300339",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const RecordingSink sink = RunIn(c.mode, c.path1, c.path2);
    EXPECT_EQ(engine_.LastSummary().outcome, c.outcome);
    ASSERT_EQ(sink.alerts.size(), 1u);
    EXPECT_EQ(sink.alerts[0].first, c.field);
    if (c.outcome == rejected) {
      EXPECT_EQ(sink.alerts[0].second, c.alert);
    }
    // A rejected path costs nothing: the list and its summary stay.
    EXPECT_EQ(sink.Last(RunText::kStatus1004), c.status);
    EXPECT_EQ(sink.clears, c.outcome == rejected ? 0 : 1);
  }
}

TEST_F(ComparisonEngineTest, AFileIsNeverItsOwnCopy) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "two/y.png", 2));
  ASSERT_TRUE(QDir(root_).mkpath("three"));
  ASSERT_TRUE(QDir(root_).mkpath("four"));
  ASSERT_TRUE(SavePattern(root_ + "four/z.png", 3));
  ASSERT_TRUE(QFile::link(root_ + "two", root_ + "link"));
  ASSERT_EQ(::link(QFile::encodeName(root_ + "two/x.png").constData(),
                   QFile::encodeName(root_ + "three/hard.png").constData()),
            0);
  const QString two = root_ + "two";
  struct Case {
    const char* label;
    int mode;
    QString path1, path2;
    RunOutcome outcome;
    int loaded;
  } const cases[] = {
      {"folder spelled with //", 1, two, two + "//", RunOutcome::kEmptyList, 2},
      {"folder spelled with ./", 1, two, two + "/./", RunOutcome::kEmptyList, 2},
      {"a symlink to the folder", 1, two, root_ + "link", RunOutcome::kEmptyList, 2},
      {"a hard link across the lists", 1, root_ + "three", two, RunOutcome::kCompleted, 2},
      {"one file twice in a list", 1, two + "/./x.png;" + two + "/x.png", root_ + "four",
       RunOutcome::kCompleted, 2},
      {"a folder and its symlink", 0, {}, two + ";" + root_ + "link", RunOutcome::kCompleted, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const RecordingSink sink = RunIn(c.mode, c.path1, c.path2);
    EXPECT_EQ(engine_.LastSummary().outcome, c.outcome);
    EXPECT_EQ(engine_.LastSummary().loaded, c.loaded);
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
  RecordingSink sink;
  Run(sink, {}, long_folder);
  EXPECT_EQ(sink.accepted.second, long_folder);
  EXPECT_EQ(sink.matches.size(), 1u);
}

TEST_F(ComparisonEngineTest, OnePictureGivesTheSummaryWithoutPairs) {
  ASSERT_TRUE(SavePattern(root_ + "two/x.png", 1));
  RecordingSink sink;
  Run(sink, {}, root_ + "two");
  EXPECT_EQ(engine_.LastSummary().outcome, RunOutcome::kCompleted);
  EXPECT_EQ(engine_.LastSummary().total, 0);
  const QString label = sink.Last(RunText::kLabel1003);
  EXPECT_FALSE(label.contains("nan") || label.contains("inf")) << label.toStdString();
  EXPECT_TRUE(label.endsWith("0 / 0.00 %"));
}

TEST_F(ComparisonEngineTest, TwoFolderModeComparesAcrossOnly) {
  ASSERT_TRUE(SavePattern(root_ + "one/a.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "one/a2.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "two/c.png", 1));
  ASSERT_TRUE(SavePattern(root_ + "two/d.png", 3));
  options_.compare_mode = 1;
  RecordingSink sink;
  Run(sink, root_ + "one", root_ + "two");
  EXPECT_EQ(engine_.LastSummary().first_list, 2);
  EXPECT_EQ(engine_.LastSummary().total, 4);
  EXPECT_EQ(MatchedNames(sink), (QStringList{"one/a.png|two/c.png", "one/a2.png|two/c.png"}));
}

TEST_F(ComparisonEngineTest, BadInputAmongGoodPictures) {
  FillFolderOne();
  QFile corrupt(root_ + "one/corrupt.jpg");
  ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
  corrupt.write(QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(300, '\x11'));
  corrupt.close();
  qunsetenv("DUPLIORA_UNDEFINED_VAR");
  RecordingSink sink;
  Run(sink, {}, ";" + root_ + "one;;" + root_ + "one;%DUPLIORA_UNDEFINED_VAR%x;");
  // The undefined variable names no folder: the list is refused as a whole.
  EXPECT_EQ(engine_.LastSummary().outcome, RunOutcome::kPathRejected);
  RecordingSink again;
  Run(again, {}, ";" + root_ + "one;;" + root_ + "one;" + root_ + "one/sub;");
  EXPECT_EQ(engine_.LastSummary().outcome, RunOutcome::kCompleted);
  EXPECT_EQ(engine_.LastSummary().loaded, 3);
  EXPECT_EQ(again.matches.size(), 1u);
}

TEST_F(ComparisonEngineTest, StopIsReportedAsStoppedAndNeverAsAnEmptyList) {
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(SavePattern(root_ + QStringLiteral("one/%1.png").arg(i, 3, 10, QChar(u'0')), i));
  }
  options_.threads = 1;
  for (const bool in_scan : {true, false}) {
    SCOPED_TRACE(in_scan ? "stop right after start" : "stop while loading");
    RecordingSink sink;
    if (in_scan) {
      sink.on_text = [this](RunText target) {
        if (target == RunText::kLabel1002) engine_.RequestStop();
      };
    } else {
      sink.on_cache_line = [this] { engine_.RequestStop(); };
    }
    Run(sink, {}, root_ + "one");
    EXPECT_EQ(engine_.LastSummary().outcome, RunOutcome::kStopped);
    EXPECT_LT(engine_.LastSummary().loaded, 40);
    EXPECT_TRUE(sink.alerts.empty());
    EXPECT_TRUE(sink.matches.empty());
    EXPECT_EQ(sink.Last(RunText::kLabel1003), ".............");
    EXPECT_EQ(sink.Last(RunText::kStatus1004), "T300341");
    EXPECT_FALSE(sink.texts[RunText::kStatus1004].contains("T300339"));
    EXPECT_FALSE(sink.Last(RunText::kLabel1002).contains("T300336"));  // no time remaining
    EXPECT_FALSE(sink.sorted);
  }
}

}  // namespace
}  // namespace dupliora
