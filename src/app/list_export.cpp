// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/list_export.h"

namespace dupliora {
namespace {

const char* const kExtensions[] = {"txt", "csv", "html", "xls", "doc"};

const QString kHtmlHead = QStringLiteral(
    "<html><head><style><!-- \r\nbody,td,a,p,.h{font-family:arial,sans-serif; font-size: 12px; "
    "}\r\n.h{font-size: 20px;}\r\n.q{color:#0000cc;}\r\n.b_grau{background-color:#EEEEEE;}\r\n"
    ".b_gelb{background-color:#EEEEAA;}\r\n//-->\r\n</style></head>\r\n\r\n<body>\r\n\r\n\r\n");
const QString kHtmlFoot = QStringLiteral("</body></html>\r\n");

// UTF-16 LE behind one byte-order mark, written straight from the text's
// own code units (on a little-endian machine the copy is one memcpy).
QByteArray Utf16LeWithMark(const QString& text) {
  QByteArray bytes;
  bytes.reserve(2 + 2 * text.size());
  bytes.append("\xFF\xFE", 2);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  bytes.append(reinterpret_cast<const char*>(text.utf16()), 2 * text.size());
#else
  for (QChar c : text) bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
#endif
  return bytes;
}

qsizetype EstimatedSize(const ListContent& content) {
  qsizetype size = 0;
  for (const QString& h : content.headers) size += h.size() + 32;
  const qsizetype per_row = content.rows.empty() ? 0 : [&] {
    qsizetype n = 0;
    for (const QString& cell : content.rows.front()) n += cell.size() + 32;
    return n;
  }();
  return size + per_row * static_cast<qsizetype>(content.rows.size()) + 1024;
}

void AppendDelimited(QString& out, const QStringList& cells, bool csv) {
  for (const QString& cell : cells) {
    if (csv) {
      out += u'"';
      if (cell.contains(u'"')) {
        out += QString(cell).replace(u'"', QStringLiteral("\"\""));
      } else {
        out += cell;
      }
      out += QStringLiteral("\";");
    } else {
      out += cell;
      out += u'\t';
    }
  }
  out += QStringLiteral("\r\n");
}

QString DelimitedText(const ListContent& content, bool csv) {
  QString out;
  out.reserve(EstimatedSize(content));
  AppendDelimited(out, content.headers, csv);
  for (const QStringList& row : content.rows) AppendDelimited(out, row, csv);
  return out;
}

void AppendEscaped(QString& out, const QString& text) {
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'&':
        out += QStringLiteral("&amp;");
        break;
      case u'<':
        out += QStringLiteral("&lt;");
        break;
      case u'>':
        out += QStringLiteral("&gt;");
        break;
      default:
        out += c;
    }
  }
}

// An empty cell holds a non-breaking space so that the table keeps its grid.
void AppendCell(QString& out, const QString& text, QStringView open, QStringView close) {
  if (text.isEmpty()) {
    out += QStringLiteral("<td>&nbsp;</td>");
    return;
  }
  out += open;
  AppendEscaped(out, text);
  out += close;
}

QString HtmlText(const ListContent& content) {
  QString out;
  out.reserve(EstimatedSize(content) * 2);
  out += kHtmlHead;
  out += QStringLiteral("<TABLE Border=0><TR class=\"b_gelb\">");
  for (const QString& header : content.headers)
    AppendCell(out, header, u"<td><b><nobr>", u"</b></td>");
  out += QStringLiteral("</TR>\r\n\r\n");
  for (std::size_t r = 0; r < content.rows.size(); ++r) {
    out += r % 2 == 0 ? QStringLiteral("  <TR class=\"b_grau\">") : QStringLiteral("  <TR>");
    for (const QString& cell : content.rows[r]) AppendCell(out, cell, u"<td ><nobr>", u"</td>");
    out += QStringLiteral("   </TR>\r\n");
  }
  out += QStringLiteral("</TABLE>");
  out += kHtmlFoot;
  return out;
}

}  // namespace

QByteArray ExportBytes(ExportFormat format, const ListContent& content) {
  switch (format) {
    case ExportFormat::kText:
      return Utf16LeWithMark(DelimitedText(content, false));
    case ExportFormat::kCsv:
      return Utf16LeWithMark(DelimitedText(content, true));
    case ExportFormat::kHtml:
    case ExportFormat::kXls:
    case ExportFormat::kDoc:
      return Utf16LeWithMark(HtmlText(content));
  }
  return {};
}

QStringList ExportFilters() {
  return {QStringLiteral("Text (*.txt)"), QStringLiteral("CSV (*.csv)"),
          QStringLiteral("html (*.html)"), QStringLiteral("XLS (*.xls)"),
          QStringLiteral("DOC (*.doc)")};
}

QString WithForcedExtension(const QString& path, ExportFormat format) {
  const QString wanted = QString::fromLatin1(kExtensions[static_cast<int>(format) - 1]);
  const int dot = path.lastIndexOf(u'.');
  const QString extension = (dot < 0 || dot == path.size() - 1) ? path : path.mid(dot + 1);
  if (extension.toLower() == wanted) return path;
  return path + u'.' + wanted;
}

QString DefaultExportName(const QString& instance_name) {
  return QStringLiteral("Export_") + instance_name;
}

}  // namespace dupliora
