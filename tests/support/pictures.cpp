// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "support/pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <exiv2/exiv2.hpp>
#include <random>

#include "platform/thumbnail_cache.h"
#include "support/hostile_files.h"

namespace dupliora::test {

QImage SolidImage(QSize size, QColor color) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(color);
  return image;
}

QImage GradientImage(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      line[x] = qRgb(x * 255 / std::max(1, size.width() - 1),
                     y * 255 / std::max(1, size.height() - 1), 96);
    }
  }
  return image;
}

QImage NoisyImage(QSize size, std::uint32_t seed) {
  QImage image = GradientImage(size);
  std::minstd_rand random(seed);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const int noise = static_cast<int>(random() % 48) - 24;
      const QRgb p = line[x];
      line[x] = qRgb(std::clamp(qRed(p) + noise, 0, 255), std::clamp(qGreen(p) - noise, 0, 255),
                     std::clamp(qBlue(p) + noise, 0, 255));
    }
  }
  return image;
}

bool WritePicture(const QString& path, const QImage& image, const char* format, int quality) {
  QImageWriter writer(path, format ? QByteArray(format) : QByteArray());
  writer.setQuality(quality);
  return writer.write(image);
}

bool WriteSvg(const QString& path, std::optional<QSize> size, QColor color) {
  const QString dimensions = size ? QStringLiteral(R"( width="%1" height="%2" viewBox="0 0 %1 %2")")
                                        .arg(size->width())
                                        .arg(size->height())
                                  : QString();
  const QString svg =
      QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg"%1>)"
                     R"(<rect x="0" y="0" width="100%" height="100%" fill="%2"/></svg>)")
          .arg(dimensions, color.name());
  return WriteBytes(path, svg.toUtf8());
}

namespace {

// Reads the EXIF block of an existing JPEG, lets `edit` change it, writes it back.
template <typename Edit>
bool EditExif(const QString& jpeg_path, Edit edit) {
  try {
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(jpeg_path).toStdString());
    image->readMetadata();
    Exiv2::ExifData exif = image->exifData();
    edit(exif);
    image->setExifData(exif);
    image->writeMetadata();
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace

bool AddExifThumbnail(const QString& jpeg_path, const QImage& thumb) {
  const QByteArray bytes = EncodedPicture(thumb, "jpg");
  return !bytes.isEmpty() && AddExifThumbnailBytes(jpeg_path, bytes);
}

bool AddExifThumbnailBytes(const QString& jpeg_path, const QByteArray& thumb) {
  return EditExif(jpeg_path, [&](Exiv2::ExifData& exif) {
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumb.constData()),
                                            thumb.size());
  });
}

bool SetExifOrientation(const QString& jpeg_path, int orientation) {
  return EditExif(jpeg_path, [&](Exiv2::ExifData& exif) {
    exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(orientation);
  });
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool SetModified(const QString& path, const QDateTime& time) {
  QFile file(path);
  return file.open(QIODevice::ReadWrite) &&
         file.setFileTime(time, QFileDevice::FileModificationTime);
}

bool WriteCachedThumbnail(const QString& picture_path, const QImage& thumb,
                          const CachedThumbnailFacts& facts) {
  const QString target = CachedThumbnailPath(picture_path, facts.size_folder);
  if (!QDir().mkpath(QFileInfo(target).absolutePath())) return false;
  // Keys go on the image: QImageWriter::setText would cut them at the first colon.
  QImage tagged = thumb;
  tagged.setText(QStringLiteral("Thumb::URI"),
                 QString::fromUtf8(facts.uri.value_or(ThumbnailUri(picture_path))));
  const qint64 mtime =
      facts.mtime.value_or(QFileInfo(picture_path).lastModified().toSecsSinceEpoch());
  tagged.setText(QStringLiteral("Thumb::MTime"), QString::number(mtime));
  if (facts.image_size) {
    tagged.setText(QStringLiteral("Thumb::Image::Width"),
                   QString::number(facts.image_size->width()));
    tagged.setText(QStringLiteral("Thumb::Image::Height"),
                   QString::number(facts.image_size->height()));
  }
  return tagged.save(target, "png");
}

ScopedThumbnailCache::ScopedThumbnailCache()
    : m_previous(qgetenv("XDG_CACHE_HOME")),
      m_had_previous(qEnvironmentVariableIsSet("XDG_CACHE_HOME")) {
  qputenv("XDG_CACHE_HOME", QFile::encodeName(m_folder.path()));
}

ScopedThumbnailCache::~ScopedThumbnailCache() {
  m_had_previous ? qputenv("XDG_CACHE_HOME", m_previous) : qunsetenv("XDG_CACHE_HOME");
}

}  // namespace dupliora::test
