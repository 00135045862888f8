// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "imaging/read_problem.h"
#include "imaging/scaled_decode.h"
#include "imaging/svg_guard.h"

namespace dupliora {

namespace {

// Enough of a gzip stream to see whether it holds an SVG document.
constexpr qint64 kCompressedHeadBytes = 64 * 1024;
constexpr qint64 kInflatedHeadBytes = 4096;

bool IsVectorFormat(const QByteArray& format) { return format == "svg" || format == "svgz"; }

// Reads up to `limit` bytes; nullopt (kTooLarge reported) when there are more.
std::optional<QByteArray> ReadAtMost(QFile& file, qint64 limit) {
  QByteArray bytes = file.read(limit + 1);
  if (bytes.size() > limit) {
    ReportReadProblem(ReadProblem::kTooLarge);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

int OpenRegularFile(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  struct stat st {};
  if (::stat(native.constData(), &st) != 0) {
    ReportReadProblem(ReadProblem::kUnreadable);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    ReportReadProblem(ReadProblem::kSpecialFile);
    return -1;
  }
  const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    ReportReadProblem(ReadProblem::kUnreadable);
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    ReportReadProblem(ReadProblem::kSpecialFile);
    return -1;
  }
  return fd;
}

std::optional<QByteArray> ReadFileHead(const QString& path, qint64 limit) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return std::nullopt;
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    ReportReadProblem(ReadProblem::kUnreadable);
    return std::nullopt;
  }
  QByteArray bytes = file.read(limit);
  if (file.error() != QFileDevice::NoError) {
    ReportReadProblem(ReadProblem::kUnreadable);
    return std::nullopt;
  }
  return bytes;
}

PictureFile::PictureFile(const QString& path) : file_(path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return;
  if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    ReportReadProblem(ReadProblem::kUnreadable);
    return;
  }
  if (IsGzipData(file_.peek(2))) {
    OpenCompressedSvg();
    return;
  }
  auto reader = std::make_unique<QImageReader>(&file_);
  ConfigurePictureReader(*reader);
  if (!IsVectorFormat(reader->format())) {
    Accept(std::move(reader));
    return;
  }
  reader.reset();
  file_.seek(0);
  if (const auto document = ReadAtMost(file_, kMaxSvgBytes)) OpenSvg(*document);
}

void PictureFile::OpenCompressedSvg() {
  QByteArray head_bytes = InflateGzip(file_.peek(kCompressedHeadBytes), kInflatedHeadBytes).bytes;
  QBuffer head(&head_bytes);
  head.open(QIODevice::ReadOnly);
  if (!IsVectorFormat(QImageReader::imageFormat(&head))) {
    ReportReadProblem(ReadProblem::kNotAPicture);
    return;
  }
  const auto compressed = ReadAtMost(file_, kMaxSvgBytes);
  if (!compressed) return;
  const Inflated document = InflateGzip(*compressed, kMaxSvgBytes + 1);
  if (!document.complete) {
    ReportReadProblem(document.damaged ? ReadProblem::kDamaged : ReadProblem::kTooLarge);
    return;
  }
  OpenSvg(document.bytes);
}

void PictureFile::OpenSvg(const QByteArray& document) {
  vector_ = true;
  const auto self_contained = SelfContainedSvg(document);
  if (!self_contained) return;
  memory_.setData(*self_contained);
  memory_.open(QIODevice::ReadOnly);
  Accept(std::make_unique<QImageReader>(&memory_, "svg"));
}

void PictureFile::Accept(std::unique_ptr<QImageReader> reader) {
  ConfigurePictureReader(*reader);
  if (!reader->canRead()) {
    ReportReadProblem(ReadProblem::kNotAPicture);
    return;
  }
  reader_ = std::move(reader);
}

}  // namespace dupliora
