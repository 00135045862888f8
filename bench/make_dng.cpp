// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Derives a camera RAW (DNG) copy of a picture, for trying the program on
// RAW files without a camera: make_dng PICTURE OUT.dng [ORIENTATION]
// The DNG holds the picture as an RGGB mosaic and a 1600-pixel JPEG preview.
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "bench/dng_writer.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fputs("usage: make_dng PICTURE OUT.dng [ORIENTATION 1..8]\n", stderr);
    return 1;
  }
  const QImage picture(QString::fromLocal8Bit(argv[1]));
  if (picture.isNull()) {
    std::fprintf(stderr, "make_dng: cannot read %s\n", argv[1]);
    return 1;
  }
  dupliora::bench::DngOptions options;
  options.orientation = argc > 3 ? std::atoi(argv[3]) : 1;
  options.preview = picture.size().scaled(1600, 1600, Qt::KeepAspectRatio);
  if (!dupliora::bench::WriteDng(QString::fromLocal8Bit(argv[2]), picture, options)) {
    std::fprintf(stderr, "make_dng: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
