// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/path_field/path_drop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace dupliora {
namespace {

// Link files are a few hundred bytes; anything bigger is not one.
constexpr qint64 kMaxLinkFileSize = 64 * 1024;

QString UrlText(const QUrl& url) {
  return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
}

}  // namespace

QString LinkFileTarget(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("desktop") && suffix != QLatin1String("url")) return {};
  QFile file(path);
  if (file.size() > kMaxLinkFileSize || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return {};
  }
  const QString header = suffix == QLatin1String("url") ? QStringLiteral("[InternetShortcut]")
                                                        : QStringLiteral("[Desktop Entry]");
  bool in_group = false;
  QString target;
  bool is_link = suffix == QLatin1String("url");
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith('[')) {
      in_group = line == header;
    } else if (in_group && line.startsWith(QLatin1String("URL="))) {
      target = line.mid(4).trimmed();
    } else if (in_group && line == QLatin1String("Type=Link")) {
      is_link = true;
    }
  }
  if (!is_link || target.isEmpty()) return {};
  const QUrl url(target);
  return url.isLocalFile() ? UrlText(url) : target;
}

QString DroppedPath(const QMimeData& data) {
  if (data.hasUrls() && !data.urls().isEmpty()) {
    const QUrl first = data.urls().constFirst();
    if (!first.isLocalFile()) return first.toString();
    const QString path = UrlText(first);
    const QString target = LinkFileTarget(path);
    return target.isEmpty() ? path : target;
  }
  if (data.hasText()) return data.text().trimmed();
  return {};
}

Qt::DropAction DropEffect(const QMimeData& data) {
  if (data.hasUrls() && !data.urls().isEmpty()) return Qt::LinkAction;
  if (data.hasText()) return Qt::CopyAction;
  return Qt::IgnoreAction;
}

QString AppendedPathText(const QString& field_text, const QString& folder) {
  return field_text.trimmed() + ';' + folder;
}

}  // namespace dupliora
