// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/imaging/picture_header.h"

#include <QImageReader>
#include <QPixelFormat>

#include "viewer/imaging/scaled_decode.h"

namespace dupliora {

namespace {

bool IsVectorFormat(const QByteArray& format) { return format == "svg" || format == "svgz"; }

}  // namespace

std::optional<PictureHeader> LoadPictureHeader(const QString& path) {
  QImageReader reader(path);
  ConfigurePictureReader(reader);
  if (!reader.canRead()) return std::nullopt;
  PictureHeader header;
  header.type = IsVectorFormat(reader.format()) ? PictureType::kVector : PictureType::kRaster;
  const QSize size = reader.size();
  if (size.isValid()) {
    header.width = static_cast<std::uint32_t>(size.width());
    header.height = static_cast<std::uint32_t>(size.height());
  }
  const QImage::Format format = reader.imageFormat();
  header.alpha = format != QImage::Format_Invalid &&
                 QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha;
  return header;
}

}  // namespace dupliora
