// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/ini_document.h"

#include <QStringDecoder>

namespace dupliora {

namespace {

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

std::optional<QString> DecodeLine(const QByteArray& raw) {
  if (raw.size() > IniDocument::kMaxLineBytes || raw.contains('\0')) return std::nullopt;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(raw);
  if (decoder.hasError()) return std::nullopt;
  if (text.endsWith(QLatin1Char('\r'))) text.chop(1);
  return text;
}

bool NeedsQuotes(const QString& value) {
  if (value.isEmpty()) return false;
  if (value.front().isSpace() || value.back().isSpace()) return true;
  if (value.front() == QLatin1Char('"')) return true;
  for (QChar c : value) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
  }
  return false;
}

}  // namespace

QString IniDocument::EncodeValue(const QString& value) {
  if (!NeedsQuotes(value)) return value;
  QString out = QStringLiteral("\"");
  for (QChar c : value) {
    switch (c.unicode()) {
      case '\\':
        out += QStringLiteral("\\\\");
        break;
      case '"':
        out += QStringLiteral("\\\"");
        break;
      case '\n':
        out += QStringLiteral("\\n");
        break;
      case '\r':
        out += QStringLiteral("\\r");
        break;
      case '\t':
        out += QStringLiteral("\\t");
        break;
      default:
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
          out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
          out += c;
        }
    }
  }
  return out + QLatin1Char('"');
}

QString IniDocument::DecodeValue(const QString& stored) {
  const QString text = stored.trimmed();
  if (text.size() < 2 || !text.startsWith(QLatin1Char('"')) || !text.endsWith(QLatin1Char('"'))) {
    return text;
  }
  const QString body = text.mid(1, text.size() - 2);
  QString out;
  for (qsizetype i = 0; i < body.size(); ++i) {
    if (body[i] != QLatin1Char('\\') || i + 1 == body.size()) {
      out += body[i];
      continue;
    }
    const QChar next = body[++i];
    switch (next.unicode()) {
      case 'n':
        out += QLatin1Char('\n');
        break;
      case 'r':
        out += QLatin1Char('\r');
        break;
      case 't':
        out += QLatin1Char('\t');
        break;
      case '\\':
        out += QLatin1Char('\\');
        break;
      case '"':
        out += QLatin1Char('"');
        break;
      case 'x': {
        bool ok = false;
        const int code = body.mid(i + 1, 2).toInt(&ok, 16);
        if (ok && i + 2 < body.size()) {
          out += QChar(code);
          i += 2;
        } else {
          out += QStringLiteral("\\x");
        }
        break;
      }
      default:
        out += QLatin1Char('\\') + next;  // not ours: keep as written
    }
  }
  return out;
}

bool IniDocument::IsStorableSection(const QString& section) {
  return !section.isEmpty() && section == section.trimmed() &&
         !section.contains(QLatin1Char(']')) && !section.contains(QLatin1Char('\n')) &&
         !section.contains(QLatin1Char('\r')) && !section.contains(QChar(0));
}

bool IniDocument::IsStorableKey(const QString& key) {
  if (key.isEmpty() || key != key.trimmed()) return false;
  if (key.startsWith(QLatin1Char('[')) || key.startsWith(QLatin1Char(';')) ||
      key.startsWith(QLatin1Char('#'))) {
    return false;
  }
  for (QChar c : key) {
    if (c == QLatin1Char('=') || c.unicode() < 0x20) return false;
  }
  return true;
}

IniDocument::Line IniDocument::Classify(const QByteArray& raw) {
  Line line{raw, Kind::kOther, {}, {}};
  const std::optional<QString> decoded = DecodeLine(raw);
  if (!decoded) return line;
  const QString text = decoded->trimmed();
  if (text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#'))) {
    return line;
  }
  if (text.startsWith(QLatin1Char('['))) {
    const qsizetype close = text.lastIndexOf(QLatin1Char(']'));
    if (close > 0) {
      line.kind = Kind::kSection;
      line.name = text.mid(1, close - 1).trimmed();
    }
    return line;
  }
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  if (equals <= 0) return line;
  line.kind = Kind::kEntry;
  line.name = text.left(equals).trimmed();
  line.value = DecodeValue(text.mid(equals + 1));
  return line;
}

IniDocument::Line IniDocument::MakeSection(const QString& section) {
  return Line{
      (QLatin1Char('[') + section + QLatin1Char(']')).toUtf8(), Kind::kSection, section, {}};
}

IniDocument::Line IniDocument::MakeEntry(const QString& key, const QString& value) {
  return Line{(key + QLatin1Char('=') + EncodeValue(value)).toUtf8(), Kind::kEntry, key, value};
}

IniDocument IniDocument::Parse(const QByteArray& bytes) {
  IniDocument doc;
  if (bytes.isEmpty()) return doc;
  QList<QByteArray> raws = bytes.split('\n');
  doc.ends_with_newline_ = bytes.endsWith('\n');
  if (doc.ends_with_newline_) raws.removeLast();
  // A byte-order mark from another editor is not part of the first line's name.
  if (!raws.isEmpty() && raws.front().startsWith("\xEF\xBB\xBF")) {
    doc.lines_.append(Classify(raws.front().mid(3)));
    doc.lines_.front().raw = raws.front();
    raws.removeFirst();
  }
  for (const QByteArray& raw : raws) doc.lines_.append(Classify(raw));
  return doc;
}

QByteArray IniDocument::Serialise() const {
  QByteArray out;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    out += lines_[i].raw;
    if (i + 1 < lines_.size() || ends_with_newline_) out += '\n';
  }
  return out;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = SameName(line.name, section);
    if (inside && line.kind == Kind::kEntry && SameName(line.name, key)) return line.value;
  }
  return std::nullopt;
}

IniEntries IniDocument::SectionEntries(const QString& section) const {
  IniEntries entries;
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = SameName(line.name, section);
    if (inside && line.kind == Kind::kEntry) entries.append({line.name, line.value});
  }
  return entries;
}

int IniDocument::EndOfFirstSection(const QString& section) const {
  int end = -1;
  for (int i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::kSection) {
      if (end >= 0) break;
      if (SameName(line.name, section)) end = i + 1;
    } else if (end >= 0 && !line.raw.trimmed().isEmpty()) {
      end = i + 1;
    }
  }
  return end;
}

bool IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
  if (!IsStorableSection(section) || !IsStorableKey(key)) return false;
  bool inside = false;
  for (Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = SameName(line.name, section);
    if (inside && line.kind == Kind::kEntry && SameName(line.name, key)) {
      line = MakeEntry(line.name, value);
      return true;
    }
  }
  const int end = EndOfFirstSection(section);
  if (end >= 0) {
    lines_.insert(end, MakeEntry(key, value));
    return true;
  }
  ends_with_newline_ = true;  // the last old line, even a damaged one, gets its end
  lines_.append(MakeSection(section));
  lines_.append(MakeEntry(key, value));
  return true;
}

void IniDocument::RemoveSection(const QString& section) {
  QList<Line> kept;
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = SameName(line.name, section);
    if (!inside) kept.append(line);
  }
  lines_ = kept;
}

void IniDocument::RemoveKeys(const QString& section,
                             const std::function<bool(const QString& key)>& remove) {
  QList<Line> kept;
  bool inside = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::kSection) inside = SameName(line.name, section);
    if (!inside || line.kind != Kind::kEntry || !remove(line.name)) kept.append(line);
  }
  lines_ = kept;
}

bool IniDocument::ReplaceSection(const QString& section, const IniEntries& entries) {
  if (!IsStorableSection(section)) return false;
  for (const auto& entry : entries) {
    if (!IsStorableKey(entry.first)) return false;
  }
  RemoveSection(section);
  ends_with_newline_ = true;
  lines_.append(MakeSection(section));
  for (const auto& entry : entries) lines_.append(MakeEntry(entry.first, entry.second));
  return true;
}

}  // namespace dupliora
