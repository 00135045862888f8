// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/thumbnail_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>
#include <array>

#include "viewer/imaging/scaled_decode.h"

namespace dupliora {

namespace {

struct SizeFolder {
  const char* name;
  int size;
};

// Smallest first, so the first match at or above a requested size is the best.
constexpr std::array<SizeFolder, 4> kSizeFolders = {
    {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}}};

// A thumbnail file of a size no cache writes is not decoded.
constexpr int kMaxThumbnailSide = 4096;

QByteArray FileUri(const QString& path) { return QUrl::fromLocalFile(path).toEncoded(); }

bool MatchesFile(const QImageReader& reader, const QString& path) {
  if (reader.text(QStringLiteral("Thumb::URI")).toUtf8() != FileUri(path)) return false;
  const QFileInfo info(path);
  if (!info.exists()) return false;
  bool ok = false;
  // Some writers store the time with a fraction; the whole seconds must agree.
  const double mtime = reader.text(QStringLiteral("Thumb::MTime")).toDouble(&ok);
  return ok && static_cast<qint64>(mtime) == info.lastModified().toSecsSinceEpoch();
}

// Opens the cached thumbnail of the size folder and checks it belongs to the
// file as it is now; the reader then has read the PNG header and text only.
bool OpenValidThumbnail(QImageReader& reader, const QString& path, const SizeFolder& folder) {
  reader.setFileName(CachedThumbnailPath(path, QString::fromLatin1(folder.name)));
  reader.setFormat("png");
  ConfigurePictureReader(reader);
  return reader.canRead() && MatchesFile(reader, path);
}

int ReadDimension(const QImageReader& reader, const char* key) {
  bool ok = false;
  const int value = reader.text(QString::fromLatin1(key)).toInt(&ok);
  return ok && value > 0 ? value : 0;
}

}  // namespace

QString ThumbnailCacheFolder() {
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.cache");
  return base + QStringLiteral("/thumbnails");
}

QString CachedThumbnailPath(const QString& path, const QString& size_name) {
  const QByteArray md5 = QCryptographicHash::hash(FileUri(path), QCryptographicHash::Md5);
  return ThumbnailCacheFolder() + u'/' + size_name + u'/' + QString::fromLatin1(md5.toHex()) +
         QStringLiteral(".png");
}

std::optional<QSize> ThumbnailCacheImageSize(const QString& path) {
  for (const SizeFolder& folder : kSizeFolders) {
    QImageReader reader;
    if (!OpenValidThumbnail(reader, path, folder)) continue;
    const QSize size(ReadDimension(reader, "Thumb::Image::Width"),
                     ReadDimension(reader, "Thumb::Image::Height"));
    if (!size.isEmpty()) return size;
  }
  return std::nullopt;
}

QImage LoadCachedThumbnail(const QString& path, int requested_size) {
  QImage largest;
  for (const SizeFolder& folder : kSizeFolders) {
    QImageReader reader;
    if (!OpenValidThumbnail(reader, path, folder)) continue;
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxThumbnailSide || size.height() > kMaxThumbnailSide)
      continue;
    QImage thumb = reader.read();
    if (thumb.isNull()) continue;
    if (folder.size >= requested_size) return thumb;
    largest = thumb;
  }
  return largest;
}

}  // namespace dupliora
