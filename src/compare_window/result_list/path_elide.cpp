// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/result_list/path_elide.h"

#include <QDir>
#include <algorithm>

namespace dupliora {

QString ElidePath(const QFontMetrics& metrics, const QString& path, int width) {
  if (metrics.horizontalAdvance(path) <= width) return path;
  const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(QDir::separator()));
  if (cut <= 0) return metrics.elidedText(path, Qt::ElideMiddle, width);
  const QString name = path.mid(cut);  // with its separator
  const int folder_room = width - metrics.horizontalAdvance(name);
  // A folder cut to its ellipsis alone says nothing; keep a few letters of it.
  if (folder_room >= 4 * metrics.horizontalAdvance(QChar(0x2026))) {
    return metrics.elidedText(path.left(cut), Qt::ElideMiddle, folder_room) + name;
  }
  // Names of one series differ at their end (IMG_0412, IMG_0413): keep that.
  return metrics.elidedText(path, Qt::ElideLeft, width);
}

}  // namespace dupliora
