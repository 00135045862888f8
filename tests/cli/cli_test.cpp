// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>
#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "cli/cli_run.h"
#include "support/pictures.h"

namespace {

using dupliora::test::CliPath;
using dupliora::test::CliRun;
using dupliora::test::RunCli;

void SavePicture(const QString& path, int seed, int width = 200, int height = 160) {
  QImage image(width, height, QImage::Format_RGB32);
  QRandomGenerator random(static_cast<quint32>(seed));
  image.fill(QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
  QPainter painter(&image);
  for (int k = 0; k < 10; ++k)
    painter.fillRect(
        random.bounded(width), random.bounded(height), width / 3, height / 3,
        QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
  painter.end();
  ASSERT_TRUE(image.save(path));
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(CliPath())) << CliPath().toStdString();
    for (const char* folder : {"a/sub", "b", "empty", "damaged"})
      ASSERT_TRUE(QDir(dir_.path()).mkpath(folder));
    SavePicture(Path("a/one.png"), 1);
    SavePicture(Path("a/sub/one_copy.png"), 1);
    SavePicture(Path("a/two.png"), 2);
    QImage turned(Path("a/two.png"));
    ASSERT_TRUE(turned.transformed(QTransform().rotate(90)).save(Path("b/two_turned.png")));
    SavePicture(Path("b/one_again.png"), 1);
    SavePicture(Path("damaged/cut.png"), 3);  // its header passes the scan, its data is gone
    QFile cut(Path("damaged/cut.png"));
    ASSERT_TRUE(cut.resize(200));
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
  // The default record store lives there: never the user's own.
  dupliora::test::ScopedThumbnailCache cache_;
};

TEST_F(CliTest, ExitCodesAndTsvOutput) {
  const QByteArray copy_line =
      (Path("a/one.png") + '\t' + Path("a/sub/one_copy.png") + "\t100\t100\t0\t0\t0\n").toUtf8();
  struct Case {
    const char* label;
    QStringList arguments;
    int exit_code;
    QByteArray out;
    QStringList stderr_parts;
  };
  const Case cases[] = {
      {"one folder", {Path("a")}, 0, copy_line, {"Similarity: 1 / Comparisons: 3"}},
      {"no subfolders", {"--no-subfolders", Path("a")}, 0, {}, {}},
      {"second run from the cache",
       {"--repeat", "2", Path("a")},
       0,
       copy_line,
       {"run 1: loaded 3, decoded 3, from cache 0", "run 2: loaded 3, decoded 0, from cache 3"}},
      {"missing folder", {Path("missing")}, 2, {}, {"Folder not found or not usable:"}},
      {"missing first list", {"--against", Path("missing"), Path("a")}, 2, {}, {"first path list"}},
      {"no pictures", {Path("empty")}, 3, {}, {"No pictures to compare were found"}},
      {"none readable", {Path("damaged")}, 3, {}, {"No pictures to compare were found"}},
      {"same folder twice", {"--against", Path("b"), Path("b")}, 3, {}, {"No pictures"}},
      {"bad similarity", {"--similarity", "20", Path("a")}, 1, {}, {"--similarity"}},
      {"no path", {}, 1, {}, {"PATHLIST"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.out, c.out);
    for (const QString& part : c.stderr_parts)
      EXPECT_TRUE(run.err.contains(part.toUtf8())) << run.err.toStdString();
  }
}

TEST_F(CliTest, TwoFolderJsonWithVariants) {
  const CliRun run =
      RunCli({"--json", "--rotated", "--threads", "2", "--against", Path("a"), Path("b")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  const QJsonObject document = QJsonDocument::fromJson(run.out).object();
  const QJsonObject summary = document["summary"].toObject();
  for (const auto& [key, count] : {std::pair{"loaded", 5},
                                   {"first_list", 3},
                                   {"total", 3 * 2 * 4},
                                   {"done", 24},
                                   {"matches", 3}})
    EXPECT_EQ(summary[key].toInt(), count) << key;
  QStringList pairs;
  for (const QJsonValue& value : document["matches"].toArray()) {
    const QJsonObject m = value.toObject();
    pairs << QDir(dir_.path()).relativeFilePath(m["first"].toString()) + u'|' +
                 QDir(dir_.path()).relativeFilePath(m["second"].toString()) + u'|' +
                 QString::number(m["rotation"].toInt());
    EXPECT_GE(m["similarity"].toInt(), 90);
  }
  pairs.sort();
  EXPECT_EQ(pairs,
            (QStringList{"a/one.png|b/one_again.png|0", "a/sub/one_copy.png|b/one_again.png|0",
                         "a/two.png|b/two_turned.png|90"}));
}

TEST_F(CliTest, TwoProgramsAtOnceShareTheRecordStoreAndLoseNothing) {
  for (const char* folder : {"x", "y", "shared"}) {
    ASSERT_TRUE(QDir(dir_.path()).mkpath(folder));
    for (int k = 0; k < 8; ++k) {
      const QString path = Path(QStringLiteral("%1/%2.png").arg(folder).arg(k));
      SavePicture(path, 100 + k + 10 * folder[0]);
      // An hour back: the store keeps no record of a file changed moments ago.
      ASSERT_TRUE(dupliora::test::SetModified(path, QDateTime::currentDateTime().addSecs(-3600)));
    }
  }
  const QString store = Path("store/records.sqlite");
  QProcess one;
  QProcess two;
  one.start(CliPath(), {"--cache", store, Path("x") + ';' + Path("shared")});
  two.start(CliPath(), {"--cache", store, Path("y") + ';' + Path("shared")});
  ASSERT_TRUE(one.waitForFinished(120000) && two.waitForFinished(120000));
  ASSERT_EQ(one.exitCode(), 0) << one.readAllStandardError().toStdString();
  ASSERT_EQ(two.exitCode(), 0) << two.readAllStandardError().toStdString();
  const QString all = Path("x") + ';' + Path("y") + ';' + Path("shared");
  const CliRun cached = RunCli({"--cache", store, "--repeat", "2", all});
  EXPECT_TRUE(cached.err.contains("run 1: loaded 24, decoded 0, from cache 24 (store 24)"))
      << cached.err.toStdString();
  const CliRun uncached = RunCli({"--no-cache", "--repeat", "2", all});
  EXPECT_TRUE(uncached.err.contains("run 1: loaded 24, decoded 24, from cache 0 (store 0)"))
      << uncached.err.toStdString();
  EXPECT_EQ(RunCli({"--cache", store, "--no-cache", all}).exit_code, 1);
  EXPECT_EQ(RunCli({"--cache", "", all}).exit_code, 1);
}

TEST_F(CliTest, StopSignalsKeepTheMatchesFoundAndCloseTheOutput) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath("many"));
  for (int i = 0; i < 300; ++i)
    SavePicture(Path(QStringLiteral("many/%1.png").arg(i)), i % 2, 130, 130);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    const bool json = signal != SIGINT;  // both outputs, either way
    QStringList arguments{"--similarity", "40", "--threads", "1", Path("many")};
    if (json) arguments.prepend("--json");
    // Left unread, the output pipe fills and holds the CLI in its write: the
    // signal surely comes mid-run.
    QProcess cli;
    cli.start(CliPath(), arguments);
    ASSERT_TRUE(cli.waitForReadyRead(120000));  // matches are flowing
    ::kill(cli.processId(), signal);
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 128 + signal);
    const QByteArray out = cli.readAllStandardOutput();
    if (json) {
      QJsonParseError error;
      const QJsonObject document = QJsonDocument::fromJson(out, &error).object();
      ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
      EXPECT_GT(document["matches"].toArray().size(), 0);
      EXPECT_TRUE(document["summary"].toObject()["stopped"].toBool());
    } else {
      ASSERT_TRUE(out.endsWith('\n'));
      for (const QByteArray& line : out.chopped(1).split('\n'))
        ASSERT_EQ(line.count('\t'), 6) << line.toStdString();
    }
  }
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsReported) {
  // Matches, JSON without matches, help and version.
  for (const QStringList& arguments : {QStringList{Path("a")},
                                       {"--json", "--no-subfolders", Path("a")},
                                       {"--help"},
                                       {"--version"}}) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    QProcess full;
    full.setStandardOutputFile("/dev/full");
    full.start(CliPath(), arguments);
    ASSERT_TRUE(full.waitForFinished(120000));
    EXPECT_EQ(full.exitCode(), 4);
    EXPECT_TRUE(full.readAllStandardError().contains("cannot write the output: No space left"));
  }
  // A reader that went away (as in "| true"): a message, not a silent death by SIGPIPE.
  QProcess cli;
  QProcess gone;
  cli.setStandardOutputProcess(&gone);
  gone.start("true");
  ASSERT_TRUE(gone.waitForFinished(120000));
  cli.start(CliPath(), {Path("a")});
  ASSERT_TRUE(cli.waitForFinished(120000));
  EXPECT_EQ(cli.exitCode(), 4);
  EXPECT_TRUE(cli.readAllStandardError().contains("cannot write the output: Broken pipe"));
}

TEST_F(CliTest, OddNamesStayOneFieldEach) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath("odd"));
  const QString tab = Path("odd/a\tb.png");
  const QString line = Path("odd/c\nd\\e\r.png");
  SavePicture(tab, 1);
  SavePicture(line, 1);
  const CliRun tsv = RunCli({Path("odd")});
  ASSERT_EQ(tsv.exit_code, 0);
  const QByteArray folder = Path("odd/").toUtf8();
  EXPECT_EQ(tsv.out, folder + "a\\tb.png\t" + folder + "c\\nd\\\\e\\r.png\t100\t100\t0\t0\t0\n");
  const CliRun json = RunCli({"--json", Path("odd")});
  const QJsonObject match = QJsonDocument::fromJson(json.out)["matches"][0].toObject();
  EXPECT_EQ(match["first"].toString(), tab);
  EXPECT_EQ(match["second"].toString(), line);
}

TEST_F(CliTest, HelpVersionAndUsageErrorsInTheUsualForm) {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.out.startsWith("Usage: dupliora-cli [OPTION]... PATHLIST\n"));
  for (const char* part :
       {"--against=PATHLIST1", "-h, --help", "--version", "Exit status:", "a tab as \\t", "128+N"})
    EXPECT_TRUE(help.out.contains(part)) << part;
  const CliRun version = RunCli({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.startsWith("dupliora-cli (Dupliora) 5.58\nCopyright (C) "));
  const CliRun bad = RunCli({"--bogus", Path("a")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_TRUE(bad.out.isEmpty());
  EXPECT_TRUE(bad.err.startsWith("dupliora-cli: Unknown option 'bogus'."));
  EXPECT_TRUE(bad.err.contains("Try 'dupliora-cli --help' for more information."));
}

}  // namespace
