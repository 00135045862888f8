// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// Test pictures drawn by code, with known content. Every writer returns false
// (and the test should ASSERT on it) when the file could not be written.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <optional>

namespace dupliora::test {

// One colour everywhere; ARGB32 so that a translucent colour keeps its alpha.
QImage SolidImage(QSize size, QColor color);

// Red rising left to right, green top to bottom, blue constant: every
// row and column differs, so turned or mirrored copies are distinguishable.
QImage GradientImage(QSize size);

// Gradient with deterministic noise added: compresses like a photograph.
QImage NoisyImage(QSize size, std::uint32_t seed);

// Saves `image`; the format comes from `format` or else from the suffix
// ("jpg", "png", "webp", "bmp", ...). quality as QImageWriter takes it.
bool WritePicture(const QString& path, const QImage& image, const char* format = nullptr,
                  int quality = 90);

// An SVG filled with `color`; without `size` the file has neither width,
// height nor viewBox.
bool WriteSvg(const QString& path, std::optional<QSize> size, QColor color);

// Writes `thumb` as the EXIF thumbnail of an existing JPEG (Exiv2).
bool AddExifThumbnail(const QString& jpeg_path, const QImage& thumb);
// The same with the thumbnail's bytes as they are, whatever they hold.
bool AddExifThumbnailBytes(const QString& jpeg_path, const QByteArray& thumb);

// Sets the EXIF orientation tag (1..8) of an existing JPEG (Exiv2).
bool SetExifOrientation(const QString& jpeg_path, int orientation);

// A PNG whose header claims width x height while it holds almost no data
// (valid signature, IHDR with CRC, a tiny IDAT, IEND). Made in
// hostile_files.cpp beside the other hand-built PNG.
QByteArray PngClaimingSize(std::uint32_t width, std::uint32_t height);

// Writes raw bytes (corrupt or truncated pictures, text named .jpg, ...).
bool WriteBytes(const QString& path, const QByteArray& bytes);
// Sets the file's modification time.
bool SetModified(const QString& path, const QDateTime& time);

// What a freedesktop thumbnail cache entry claims about its file.
struct CachedThumbnailFacts {
  QString size_folder = QStringLiteral("normal");  // normal, large, x-large, xx-large
  std::optional<QSize> image_size;                 // Thumb::Image::Width/Height
  std::optional<qint64> mtime;                     // default: the file's mtime now
  std::optional<QByteArray> uri;                   // default: the file's URI
};

// Writes `thumb` into the thumbnail cache under $XDG_CACHE_HOME (set it to a
// temporary folder first) for `picture_path`, with the text keys of `facts`.
bool WriteCachedThumbnail(const QString& picture_path, const QImage& thumb,
                          const CachedThumbnailFacts& facts = {});

// Points XDG_CACHE_HOME at an empty temporary folder for its lifetime, so
// tests neither see nor touch the user's thumbnail cache.
class ScopedThumbnailCache {
 public:
  ScopedThumbnailCache();
  ~ScopedThumbnailCache();
  ScopedThumbnailCache(const ScopedThumbnailCache&) = delete;
  ScopedThumbnailCache& operator=(const ScopedThumbnailCache&) = delete;

 private:
  QTemporaryDir m_folder;
  QByteArray m_previous;
  bool m_had_previous;
};

}  // namespace dupliora::test
