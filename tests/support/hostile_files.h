// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Damaged, hostile and odd picture files, made by code at test time.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

namespace dupliora::test {

// The picture encoded in a format Qt writes ("jpg", "png", "webp", "tiff", "bmp").
QByteArray EncodedPicture(const QImage& image, const char* format, int quality = 90);

// A valid GIF (Qt reads GIF but cannot write it): a 128-colour palette and
// LZW codes kept at 8 bits by clear codes, one byte per pixel.
QByteArray GifBytes(const QImage& image);

// A BMP of headers only (no pixels) claiming width x height at 24 bits, or
// at 8 bits with a grey palette.
QByteArray BmpClaimingSize(std::uint32_t width, std::uint32_t height, int bits);

// A valid 1-bit PNG, all black: 16384 x 16384 takes 33 KB.
QByteArray MonoPng(std::uint32_t width, std::uint32_t height);

// The bytes as one gzip stream.
QByteArray Gzip(const QByteArray& bytes);

// A gzip-compressed SVG of 200 x 200 holding a comment of `comment_mb` MB.
QByteArray SvgzWithHugeComment(int comment_mb);

// An SVG of 200 x 200 whose <image> refers to `href`.
QByteArray SvgWithImage(const QString& href);

// Creates a FIFO; false when the file system refuses.
bool MakeFifo(const QString& path);

}  // namespace dupliora::test
