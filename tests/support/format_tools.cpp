// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "support/format_tools.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "bench/dng_writer.h"

namespace dupliora::test {

namespace {

// A 12-megapixel HEIC takes x265 about 20 s of CPU, a minute on a busy machine.
constexpr int kEncoderTimeoutMs = 600000;

QString EncoderProgram(Encoder encoder) {
  const char* const programs[] = {"heif-enc", "avifenc", "cjxl"};
  return QString::fromLatin1(programs[static_cast<int>(encoder)]);
}

QStringList ArgumentsFor(Encoder encoder, const QString& source, const QString& target,
                         const QStringList& extra) {
  if (encoder == Encoder::kHeic)
    return QStringList{"-q", "90"} + extra + QStringList{source, "-o", target};
  const QStringList fast =
      encoder == Encoder::kAvif ? QStringList{"-s", "10"} : QStringList{"-e", "3"};
  return fast + extra + QStringList{source, target};
}

}  // namespace

bool EncodeWithTool(Encoder encoder, const QString& source, const QString& target,
                    const QStringList& extra) {
  const QString program = QStandardPaths::findExecutable(EncoderProgram(encoder));
  if (program.isEmpty()) return false;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, ArgumentsFor(encoder, source, target, extra));
  return process.waitForFinished(kEncoderTimeoutMs) &&
         process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
         QFileInfo(target).size() > 0;
}

QStringList MissingEncoders() {
  QStringList missing;
  for (const Encoder encoder : {Encoder::kHeic, Encoder::kAvif, Encoder::kJpegXl})
    if (QStandardPaths::findExecutable(EncoderProgram(encoder)).isEmpty())
      missing << EncoderProgram(encoder);
  return missing;
}

bool WriteFormatCopies(const QImage& picture, const QString& folder, const QString& stem,
                       int thumb_side, QSize preview) {
  const QString base = QDir(folder).filePath(stem);
  const QString png = base + QStringLiteral(".png");
  bench::DngOptions dng;
  dng.preview = preview;
  return picture.save(png, "png") && picture.save(base + QStringLiteral(".jpg"), "jpg", 90) &&
         EncodeWithTool(Encoder::kHeic, png, base + QStringLiteral(".heic"),
                        {QStringLiteral("-t"), QString::number(thumb_side)}) &&
         EncodeWithTool(Encoder::kAvif, png, base + QStringLiteral(".avif")) &&
         EncodeWithTool(Encoder::kJpegXl, png, base + QStringLiteral(".jxl")) &&
         bench::WriteDng(base + QStringLiteral(".dng"), picture, dng);
}

}  // namespace dupliora::test
