// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The list export writers: list content in, file bytes out. Every format is
// UTF-16 little endian behind the byte-order mark FF FE.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace dupliora {

// The save dialog's filters in order; the index (1..5) is stored as ExportIndex.
enum class ExportFormat { kText = 1, kCsv = 2, kHtml = 3, kXls = 4, kDoc = 5 };
inline constexpr int kExportFormatCount = 5;

// What a list shows, in its display order: the header texts and, row by row,
// the cell texts of the same columns.
struct ListContent {
  QStringList headers;
  std::vector<QStringList> rows;
};

// TXT: every cell followed by TAB, every line by CR LF.
// CSV: every cell in double quotes (a quote inside doubled) followed by ";".
// HTML, and the same bytes under XLS and DOC: a table whose cells escape
// &, < and >, so a file name never becomes markup.
QByteArray ExportBytes(ExportFormat format, const ListContent& content);

// The save dialog's filter texts, in index order.
QStringList ExportFilters();

// Appends the format's extension unless the path already ends in it (any
// letter case): a.TXT stays, a.htm becomes a.htm.html.
QString WithForcedExtension(const QString& path, ExportFormat format);

// "Export_" + the instance name.
QString DefaultExportName(const QString& instance_name);

}  // namespace dupliora
