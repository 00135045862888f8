// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/path_list.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include "platform/file_names.h"

namespace dupliora {

namespace {

// Only the first %NAME% of a piece is looked up; an undefined (or empty)
// variable leaves the piece as it is.
QString ExpandFirstVariable(const QString& piece) {
  const qsizetype open = piece.indexOf(u'%');
  if (open < 0) return piece;
  const qsizetype close = piece.indexOf(u'%', open + 1);
  if (close < 0) return piece;
  const QString name = piece.mid(open + 1, close - open - 1);
  if (name.isEmpty()) return piece;
  const QString value = qEnvironmentVariable(name.toLocal8Bit().constData());
  if (value.isEmpty()) return piece;
  QString expanded = piece;
  expanded.replace(u'%' + name + u'%', value + QDir::separator());
  return expanded;
}

}  // namespace

QString SplitPathList(QString& text, PathSet* entries) {
  // A pasted list may separate its entries by lines; "\r" comes with "\r\n".
  static const QRegularExpression kSeparators(QStringLiteral("[;\n\r]"));
  const QStringList pieces = text.split(kSeparators, Qt::SkipEmptyParts);
  text.clear();
  QString last_new;
  std::set<QString> seen;
  for (const QString& raw : pieces) {
    // Short entries are kept: "/", "." and ".." are folders here, not drive letters.
    const QString piece = ExpandFirstVariable(raw);
    if (!seen.insert(FileNameKey(piece)).second) continue;
    text += piece + u';';
    if (entries != nullptr) entries->insert(piece);
    last_new = piece;
  }
  if (text.endsWith(u';')) text.chop(1);
  return last_new;
}

PathListCheck CheckPathList(QString& text) {
  PathSet entries;
  SplitPathList(text, &entries);
  PathListCheck check;
  for (const QString& entry : entries) {
    check.last = entry;
    if (!QFileInfo::exists(entry)) return {0, entry};
  }
  check.count = static_cast<int>(entries.size());
  return check;
}

}  // namespace dupliora
