// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace dupliora {

// An SVG document, once inflated, may not be larger: a 1.5 MB gzip stream can
// hold a 1.5 GB comment, which the SVG plugin would inflate whole and parse.
inline constexpr std::int64_t kMaxSvgBytes = std::int64_t{64} << 20;

// True for the two bytes that start a gzip stream (an .svgz file).
bool IsGzipData(const QByteArray& head);

struct Inflated {
  QByteArray bytes;       // at most the limit asked for
  bool complete = false;  // the whole stream, within the limit
  bool damaged = false;   // corrupt or cut short
};

// Inflates a gzip stream, stopping once `limit` bytes came out.
Inflated InflateGzip(const QByteArray& data, std::int64_t limit);

// The SVG document rewritten so that rendering it reaches nothing outside it,
// as browsers render an SVG used as a picture: every href that names another
// file or an SVG (an <image> of itself recursed until the stack overflowed; one
// naming a FIFO blocked in open() for ever) is dropped, and so are processing
// instructions and the DTD. Pictures embedded as data: URLs of raster formats
// and references within the document (#id) stay. nullopt (kDamaged reported)
// when the XML is malformed.
std::optional<QByteArray> SelfContainedSvg(const QByteArray& document);

}  // namespace dupliora
