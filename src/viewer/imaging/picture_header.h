// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace dupliora {

enum class PictureType { kNone = 0, kRaster = 1, kVector = 2 };
struct PictureHeader {
  PictureType type;
  std::uint32_t width;
  std::uint32_t height;
  bool alpha;
};
std::optional<PictureHeader> LoadPictureHeader(const QString& path);

}  // namespace dupliora
