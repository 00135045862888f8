// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/picture_header.h"

#include <QImageReader>
#include <QPixelFormat>

#include "imaging/picture_file.h"

namespace dupliora {

namespace {

bool IsVectorFormat(const QByteArray& format) { return format == "svg" || format == "svgz"; }

// A damaged JPEG header makes Qt's reader report an undefined format value,
// which QImage::toPixelFormat would index its table with.
bool FormatHasAlpha(QImage::Format format) {
  if (format <= QImage::Format_Invalid || format >= QImage::NImageFormats) return false;
  return QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha;
}

}  // namespace

std::optional<PictureHeader> LoadPictureHeader(const QString& path) {
  PictureFile file(path);
  if (file.Reader() == nullptr) return std::nullopt;
  QImageReader& reader = *file.Reader();
  PictureHeader header;
  header.type = IsVectorFormat(reader.format()) ? PictureType::kVector : PictureType::kRaster;
  const QSize size = reader.size();
  if (size.isValid()) {
    header.width = static_cast<std::uint32_t>(size.width());
    header.height = static_cast<std::uint32_t>(size.height());
  }
  header.alpha = FormatHasAlpha(reader.imageFormat());
  return header;
}

}  // namespace dupliora
