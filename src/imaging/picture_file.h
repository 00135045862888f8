// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageReader>
#include <QString>
#include <memory>
#include <optional>

namespace dupliora {

// Opens `path` for reading only when it is a regular file, and never blocks:
// a FIFO, socket or device put in a picture's place is refused before the
// open (no open() of a device with side effects) and after it (a file swapped
// in between). Returns the descriptor, or -1 with the problem reported.
int OpenRegularFile(const QString& path);

// The first `limit` bytes of a regular file (the whole file when shorter),
// read into memory: a reader given these bytes cannot be hurt by the file
// shrinking meanwhile, as one mapping the file is (SIGBUS). nullopt, with the
// problem reported, when the file cannot be opened or read.
std::optional<QByteArray> ReadFileHead(const QString& path, qint64 limit);

// A picture file opened for its decoder so that nothing in the file can block
// the program or reach beyond the file: opened as OpenRegularFile does, read
// by plain reads (never mapped), and an SVG handed over from memory, inflated
// within kMaxSvgBytes and made self-contained (svg_guard.h). Qt's own SVG
// reader would inflate a gzip stream whole just to recognise it, so gzip data
// never reaches Qt's format detection.
class PictureFile {
 public:
  explicit PictureFile(const QString& path);
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  // The reader, configured by ConfigurePictureReader and able to read the
  // file; null when it cannot (the problem was reported).
  QImageReader* Reader() const { return reader_.get(); }
  bool IsVector() const { return vector_; }
  // The open file, for checks of a format's structure; null for an SVG.
  QFile* File() { return vector_ || reader_ == nullptr ? nullptr : &file_; }

 private:
  void OpenCompressedSvg();
  void OpenSvg(const QByteArray& document);
  void Accept(std::unique_ptr<QImageReader> reader);

  QFile file_;
  QBuffer memory_;
  std::unique_ptr<QImageReader> reader_;
  bool vector_ = false;
};

}  // namespace dupliora
