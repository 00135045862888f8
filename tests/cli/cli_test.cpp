// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
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
#include <QThread>

namespace {

struct CliRun {
  int exit_code = -1;
  QByteArray out;
  QByteArray err;
};

QString CliPath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/dupliora-cli");
}

CliRun RunCli(const QStringList& arguments) {
  QProcess process;
  process.start(CliPath(), arguments);
  CliRun run;
  if (!process.waitForFinished(120000)) return run;
  run.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

void SavePicture(const QString& path, int seed, int width = 200, int height = 160) {
  QImage image(width, height, QImage::Format_RGB32);
  QRandomGenerator random(static_cast<quint32>(seed));
  image.fill(QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
  QPainter painter(&image);
  for (int k = 0; k < 10; ++k) {
    painter.fillRect(
        random.bounded(width), random.bounded(height), width / 3, height / 3,
        QColor::fromRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
  }
  painter.end();
  ASSERT_TRUE(image.save(path));
}

// Gives the file a time an hour back: the store keeps no record of a file
// changed moments ago.
void Age(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                               QFileDevice::FileModificationTime));
}

class CliTest : public ::testing::Test {
 protected:
  void TearDown() override { qunsetenv("XDG_CACHE_HOME"); }
  void SetUp() override {
    ASSERT_TRUE(QFile::exists(CliPath())) << CliPath().toStdString();
    // The default record store lives there: never the user's own.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath("xdg-cache")));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("a/sub"));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("b"));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("empty"));
    SavePicture(Path("a/one.png"), 1);
    SavePicture(Path("a/sub/one_copy.png"), 1);
    SavePicture(Path("a/two.png"), 2);
    QImage turned(Path("a/two.png"));
    ASSERT_TRUE(turned.transformed(QTransform().rotate(90)).save(Path("b/two_turned.png")));
    SavePicture(Path("b/one_again.png"), 1);
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
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
      {"same folder twice", {"--against", Path("b"), Path("b")}, 3, {}, {"No pictures"}},
      {"bad similarity", {"--similarity", "20", Path("a")}, 1, {}, {"--similarity"}},
      {"no path", {}, 1, {}, {"PATHLIST"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const CliRun run = RunCli(c.arguments);
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.out, c.out);
    for (const QString& part : c.stderr_parts) {
      EXPECT_TRUE(run.err.contains(part.toUtf8())) << run.err.toStdString();
    }
  }
  EXPECT_EQ(RunCli({"--version"}).exit_code, 0);
  EXPECT_TRUE(RunCli({"--help"}).out.contains("--against"));
}

TEST_F(CliTest, TwoFolderJsonWithVariants) {
  const CliRun run =
      RunCli({"--json", "--rotated", "--threads", "2", "--against", Path("a"), Path("b")});
  ASSERT_EQ(run.exit_code, 0) << run.err.toStdString();
  const QJsonObject document = QJsonDocument::fromJson(run.out).object();
  const QJsonObject summary = document["summary"].toObject();
  EXPECT_EQ(summary["loaded"].toInt(), 5);
  EXPECT_EQ(summary["first_list"].toInt(), 3);
  EXPECT_EQ(summary["total"].toInt(), 3 * 2 * 4);
  EXPECT_EQ(summary["done"].toInt(), 24);
  EXPECT_EQ(summary["matches"].toInt(), 3);
  const QJsonArray matches = document["matches"].toArray();
  ASSERT_EQ(matches.size(), 3);
  QStringList pairs;
  for (const QJsonValue& value : matches) {
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
      Age(path);
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
  struct Case {
    QStringList options;
    QByteArray first_run;
  } const cases[] = {
      {{"--cache", store}, "run 1: loaded 24, decoded 0, from cache 24 (store 24)"},
      {{"--no-cache"}, "run 1: loaded 24, decoded 24, from cache 0 (store 0)"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.options + QStringList{"--repeat", "2", all});
    EXPECT_TRUE(run.err.contains(c.first_run)) << run.err.toStdString();
  }
  EXPECT_EQ(RunCli({"--cache", store, "--no-cache", all}).exit_code, 1);
  EXPECT_EQ(RunCli({"--cache", "", all}).exit_code, 1);
}

TEST_F(CliTest, InterruptKeepsTheMatchesFound) {
  // Enough copies that the run is still comparing when the signal comes.
  ASSERT_TRUE(QDir(dir_.path()).mkpath("many"));
  for (int i = 0; i < 600; ++i)
    SavePicture(Path(QStringLiteral("many/%1.png").arg(i)), i % 2, 130, 130);
  QProcess process;
  process.start(CliPath(), {"--rotated", "--flipped", "--negative", "--threads", "1",
                            "--similarity", "40", "--repeat", "100", Path("many")});
  ASSERT_TRUE(process.waitForStarted());
  // Signal once the first run compares: its load summary has been written.
  QByteArray err;
  while (!err.contains("Loaded:") && process.state() == QProcess::Running) {
    process.waitForReadyRead(1000);
    err += process.readAllStandardError();
  }
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 130);
  // Whatever the current run had found is printed, in full lines.
  const QByteArray out = process.readAllStandardOutput();
  for (const QByteArray& line : out.split('\n')) {
    if (!line.isEmpty()) {
      EXPECT_EQ(line.count('\t'), 6) << line.toStdString();
    }
  }
}

}  // namespace
