// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Interim header probe until the imaging services land.
#include "viewer/imaging/picture_header.h"

#include <QImageReader>

namespace dupliora {

std::optional<PictureHeader> LoadPictureHeader(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (!reader.canRead() || !size.isValid()) return std::nullopt;
  return PictureHeader{PictureType::kRaster, static_cast<std::uint32_t>(size.width()),
                       static_cast<std::uint32_t>(size.height()), false};
}

}  // namespace dupliora
