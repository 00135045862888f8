// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "imaging/svg_guard.h"

#include <zlib.h>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <array>

#include "imaging/read_problem.h"

namespace dupliora {

namespace {

constexpr int kGzipWindowBits = 16 + MAX_WBITS;  // gzip header, not zlib's
constexpr qsizetype kInflateStep = 256 * 1024;

// Raster pictures the SVG plugin decodes through QImage; an embedded SVG
// would be rendered by a nested document this guard never saw.
bool IsEmbeddedRaster(QStringView value) {
  static const std::array<QLatin1String, 6> kTypes = {
      QLatin1String("data:image/png"),  QLatin1String("data:image/jpeg"),
      QLatin1String("data:image/jpg"),  QLatin1String("data:image/gif"),
      QLatin1String("data:image/webp"), QLatin1String("data:image/bmp")};
  for (const QLatin1String& type : kTypes) {
    if (value.startsWith(type, Qt::CaseInsensitive)) return true;
  }
  return false;
}

bool ReachesOutside(const QXmlStreamAttribute& attribute) {
  if (attribute.name() != QLatin1String("href")) return false;
  const QStringView value = attribute.value().trimmed();
  return !value.startsWith(u'#') && !IsEmbeddedRaster(value);
}

void CopyStartElement(const QXmlStreamReader& reader, QXmlStreamWriter& writer) {
  writer.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
  for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations()) {
    writer.writeNamespace(declaration.namespaceUri().toString(), declaration.prefix().toString());
  }
  for (const QXmlStreamAttribute& attribute : reader.attributes()) {
    if (!ReachesOutside(attribute)) writer.writeAttribute(attribute);
  }
}

}  // namespace

bool IsGzipData(const QByteArray& head) {
  return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0x1f &&
         static_cast<unsigned char>(head[1]) == 0x8b;
}

Inflated InflateGzip(const QByteArray& data, std::int64_t limit) {
  Inflated result;
  z_stream stream{};
  if (inflateInit2(&stream, kGzipWindowBits) != Z_OK) {
    result.damaged = true;
    return result;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
  stream.avail_in = static_cast<uInt>(data.size());
  int status = Z_OK;
  while (status == Z_OK && result.bytes.size() < limit) {
    const qsizetype old_size = result.bytes.size();
    const qsizetype step = std::min<qsizetype>(kInflateStep, limit - old_size);
    result.bytes.resize(old_size + step);
    stream.next_out = reinterpret_cast<Bytef*>(result.bytes.data() + old_size);
    stream.avail_out = static_cast<uInt>(step);
    status = inflate(&stream, Z_NO_FLUSH);
    result.bytes.resize(old_size + step - static_cast<qsizetype>(stream.avail_out));
    if (status == Z_BUF_ERROR) break;  // no input left: the stream was cut short
  }
  inflateEnd(&stream);
  result.complete = status == Z_STREAM_END;
  result.damaged = status != Z_STREAM_END && status != Z_OK;
  return result;
}

std::optional<QByteArray> SelfContainedSvg(const QByteArray& document) {
  QXmlStreamReader reader(document);
  QByteArray out;
  QXmlStreamWriter writer(&out);
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartDocument:
        writer.writeStartDocument();
        break;
      case QXmlStreamReader::EndDocument:
        writer.writeEndDocument();
        break;
      case QXmlStreamReader::StartElement:
        CopyStartElement(reader, writer);
        break;
      case QXmlStreamReader::EndElement:
        writer.writeEndElement();
        break;
      case QXmlStreamReader::Characters:
        if (reader.isCDATA()) {
          writer.writeCDATA(reader.text().toString());
        } else {
          writer.writeCharacters(reader.text().toString());
        }
        break;
      default:  // comments, the DTD, processing instructions, unresolved entities
        break;
    }
  }
  if (reader.hasError()) {
    ReportReadProblem(ReadProblem::kDamaged);
    return std::nullopt;
  }
  return out;
}

}  // namespace dupliora
