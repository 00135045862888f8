// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Hostile files among good pictures, through the real program and its decoder
// processes: the run survives them all, finds the one true copy, and counts
// every file it left out by its reason.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <fstream>

#include "cli/cli_run.h"
#include "support/hostile_files.h"
#include "support/pictures.h"

namespace dupliora {
namespace {

constexpr int kCutPhotos = 12;

class CliHostileTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"h/cut", "h/refused"}) ASSERT_TRUE(QDir(dir_.path()).mkpath(folder));
    const QImage photo = test::NoisyImage(QSize(400, 300), 1);
    Write("one.png", test::EncodedPicture(photo, "png"));
    Write("one_copy.jpg", test::EncodedPicture(photo, "jpg", 95));
    // Different photos cut short: the decoder fills the rest with grey, and
    // the grey made them look alike.
    for (int k = 0; k < kCutPhotos; ++k) {
      const QByteArray jpeg =
          test::EncodedPicture(test::NoisyImage(QSize(640, 480), 100 + k), "jpg");
      Write(QStringLiteral("cut/%1.jpg").arg(k), jpeg.left(3000));
    }
    Write("self.svg", test::SvgWithImage(Path("self.svg")));
    Write("fifo.svg", test::SvgWithImage(Path("pipe")));
    ASSERT_TRUE(test::MakeFifo(Path("pipe")));
    ASSERT_TRUE(test::MakeFifo(Path("fifo.png")));
    Write("bomb24.bmp", test::BmpClaimingSize(16383, 16383, 24));
    Write("bomb8.bmp", test::BmpClaimingSize(16383, 16383, 8));
    Write("bomb1.png", test::MonoPng(16384, 16384));
    Write("refused/bomb.svgz", test::SvgzWithHugeComment(100));
    // Faults the decoder program makes on purpose when asked by the test.
    Write("@crash@.png", test::EncodedPicture(test::NoisyImage(QSize(200, 200), 2), "png"));
    Write("@hang@.png", test::EncodedPicture(test::NoisyImage(QSize(200, 200), 3), "png"));
    // A name that is not UTF-8 cannot pass through QString: written by bytes.
    const QByteArray png = test::EncodedPicture(photo, "png");
    QString deep;
    while (deep.size() < 1100) deep += QString(200, u'd') + u'/';
    ASSERT_TRUE(QDir().mkpath(Path(deep)));
    Write(deep + "long.png", png);
    std::ofstream odd(OddName().toStdString(), std::ios::binary);
    ASSERT_TRUE(odd.write(png.constData(), png.size()));
  }
  // QTemporaryDir cannot remove what QString cannot name.
  void TearDown() override { ::unlink(OddName().constData()); }
  QByteArray OddName() const { return QFile::encodeName(Path("")) + "bad\xff\xfe.png"; }
  QString Path(const QString& name) const { return dir_.filePath(QStringLiteral("h/") + name); }
  void Write(const QString& name, const QByteArray& bytes) {
    ASSERT_TRUE(test::WriteBytes(Path(name), bytes)) << name.toStdString();
  }

  QTemporaryDir dir_;
};

// The CLI with the decoder program's test faults on and a short wall clock.
test::CliRun RunCli(const QStringList& arguments, const QString& cache) {
  QProcessEnvironment environment;
  environment.insert("DUPLIORA_DECODER_TEST_FAULTS", "1");
  environment.insert("DUPLIORA_DECODER_WALL_MS", "2000");
  environment.insert("XDG_CACHE_HOME", cache);
  return test::RunCli(arguments, environment);
}

TEST_F(CliHostileTest, EveryBadFileIsLeftOutAndCountedTheRunGoesOn) {
  QElapsedTimer timer;
  timer.start();
  const test::CliRun run =
      RunCli({"--json", "--verbose", "--threads", "2", Path("")}, dir_.filePath("cache"));
  const QByteArray& err = run.err;
  ASSERT_EQ(run.exit_code, 0) << err.toStdString();
  const QJsonObject document = QJsonDocument::fromJson(run.out).object();
  const QJsonObject summary = document["summary"].toObject();
  // The true copy, and the two SVG files: without what they refer to, they
  // draw the same square.
  QStringList pairs;
  for (const QJsonValue& match : document["matches"].toArray()) {
    QStringList names{QFileInfo(match["first"].toString()).fileName(),
                      QFileInfo(match["second"].toString()).fileName()};
    names.sort();
    pairs << names.join(u'|');
  }
  pairs.sort();
  EXPECT_EQ(pairs, (QStringList{"fifo.svg|self.svg", "one.png|one_copy.jpg"}));
  EXPECT_EQ(summary["loaded"].toInt(), 4) << "one, its copy, self.svg, fifo.svg";
  const QJsonObject left_out = summary["left_out"].toObject();
  const std::pair<const char*, int> expected[] = {
      {"damaged", kCutPhotos}, {"too_large", 4},     {"crashed", 1},       {"timed_out", 1},
      {"special_file", 2},     {"name_not_utf8", 1}, {"path_too_long", 1},
  };
  for (const auto& [key, count] : expected) {
    SCOPED_TRACE(key);
    EXPECT_EQ(left_out[QLatin1String(key)].toInt(), count);
  }
  EXPECT_EQ(left_out.size(), std::size(expected)) << QJsonDocument(left_out).toJson().toStdString();
  // --verbose lists each file once with its reason, odd bytes escaped.
  EXPECT_EQ(err.count("\ndamaged\t"), kCutPhotos) << err.toStdString();
  EXPECT_TRUE(err.contains("name_not_utf8\t" + QFile::encodeName(Path("bad")) + "\\xff\\xfe.png"));
  EXPECT_TRUE(err.contains("crashed\t" + QFile::encodeName(Path("@crash@.png"))));
  EXPECT_LT(timer.elapsed(), 60000);
}

// Files refused by the scan are listed too, though nothing is left to compare
// (the cut photos, refused in the load phase, are counted above).
TEST_F(CliHostileTest, VerboseListsFilesTheScanRefused) {
  const test::CliRun run = RunCli({"--verbose", Path("refused")}, dir_.filePath("cache"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_EQ(run.err.count("\ntoo_large\t"), 1) << run.err.toStdString();
}

}  // namespace
}  // namespace dupliora
