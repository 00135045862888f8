// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/thumbnail_cache.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>
#include <QtEndian>
#include <array>
#include <string_view>

#include "imaging/scaled_decode.h"

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

// Bytes that g_filename_to_uri leaves as they are in a path: letters, digits
// and !$&'()*+,-./:=@_~. Everything else, bytes of non-ASCII names included,
// becomes %XX with upper-case digits. QUrl differs on [ ] ; and others, and
// the cache file name is the MD5 of this exact text.
bool KeptInUri(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  static constexpr std::string_view kKept = "!$&'()*+,-./:=@_~";
  return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

bool MatchesFile(const QImage& thumb, const QString& path) {
  if (thumb.text(QStringLiteral("Thumb::URI")).toUtf8() != ThumbnailUri(path)) return false;
  const QFileInfo info(path);
  if (!info.exists()) return false;
  bool ok = false;
  // Some writers store the time with a fraction; the whole seconds must agree.
  const double mtime = thumb.text(QStringLiteral("Thumb::MTime")).toDouble(&ok);
  return ok && static_cast<qint64>(mtime) == info.lastModified().toSecsSinceEpoch();
}

// The cached thumbnail of the size folder when it belongs to the file as it
// is now. The text keys are taken from the decoded image: QImageReader::text()
// cuts keys at their first colon, and every key here has two.
QImage ReadValidThumbnail(const QString& path, const SizeFolder& folder) {
  QImageReader reader(CachedThumbnailPath(path, QString::fromLatin1(folder.name)), "png");
  ConfigurePictureReader(reader);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > kMaxThumbnailSide || size.height() > kMaxThumbnailSide)
    return {};
  QImage thumb = reader.read();
  return !thumb.isNull() && MatchesFile(thumb, path) ? thumb : QImage();
}

int ReadDimension(const QImage& thumb, const char* key) {
  bool ok = false;
  const int value = thumb.text(QString::fromLatin1(key)).toInt(&ok);
  return ok && value > 0 ? value : 0;
}

}  // namespace

QString ThumbnailCacheFolder() {
  QString base = qEnvironmentVariable("XDG_CACHE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.cache");
  return base + QStringLiteral("/thumbnails");
}

QByteArray ThumbnailUri(const QString& path) {
  // Cache writers name files as GLib's GFile does: absolute, with "." and
  // ".." resolved and repeated separators folded, symlinks kept.
  const QByteArray native =
      QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
  static constexpr char kHex[] = "0123456789ABCDEF";
  QByteArray uri("file://");
  uri.reserve(uri.size() + native.size() * 3);
  for (const char byte : native) {
    const auto c = static_cast<unsigned char>(byte);
    if (KeptInUri(c)) {
      uri += byte;
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 0xF];
    }
  }
  return uri;
}

QString CachedThumbnailPath(const QString& path, const QString& size_name) {
  const QByteArray md5 = QCryptographicHash::hash(ThumbnailUri(path), QCryptographicHash::Md5);
  return ThumbnailCacheFolder() + u'/' + size_name + u'/' + QString::fromLatin1(md5.toHex()) +
         QStringLiteral(".png");
}

std::optional<QSize> ThumbnailCacheImageSize(const QString& path) {
  for (const SizeFolder& folder : kSizeFolders) {
    const QImage thumb = ReadValidThumbnail(path, folder);
    const QSize size(ReadDimension(thumb, "Thumb::Image::Width"),
                     ReadDimension(thumb, "Thumb::Image::Height"));
    if (!size.isEmpty()) return size;
  }
  return std::nullopt;
}

std::int64_t ThumbnailCacheState(const QString& path) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (const SizeFolder& folder : kSizeFolders) {
    const QString thumb = CachedThumbnailPath(path, QString::fromLatin1(folder.name));
    hash.addData(QFile::encodeName(thumb));
    struct stat st {};
    if (::stat(QFile::encodeName(thumb).constData(), &st) != 0) continue;
    const std::int64_t facts[] = {
        static_cast<std::int64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
        static_cast<std::int64_t>(st.st_mtim.tv_nsec), static_cast<std::int64_t>(st.st_ino)};
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(facts), sizeof facts));
  }
  const QByteArray digest = hash.result();
  return static_cast<std::int64_t>(qFromBigEndian<quint64>(digest.constData()) >> 1) | 1;
}

QImage LoadCachedThumbnail(const QString& path, int requested_size) {
  QImage largest;
  for (const SizeFolder& folder : kSizeFolders) {
    QImage thumb = ReadValidThumbnail(path, folder);
    if (thumb.isNull()) continue;
    if (folder.size >= requested_size) return thumb;
    largest = thumb;
  }
  return largest;
}

}  // namespace dupliora
