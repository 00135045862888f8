// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace dupliora {

enum class PictureType { kNone = 0, kRaster = 1, kVector = 2 };

struct PictureHeader {
  PictureType type = PictureType::kNone;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool alpha = false;   // the stored pixel format carries an alpha channel
  int orientation = 1;  // EXIF orientation (1..8) that turns the stored picture upright
};

// Reads the picture's headers only, never its pixels; nullopt, with the reason
// reported (read_problem.h), when the file cannot be opened or neither an
// installed image plugin nor our HEIF, JPEG XL or camera RAW decoders can read
// it. Every readable format counts, SVG as vector.
std::optional<PictureHeader> LoadPictureHeader(const QString& path);

}  // namespace dupliora
