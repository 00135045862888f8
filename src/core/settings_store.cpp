// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <limits>

namespace dupliora {

namespace {

// A settings file is a few kilobytes; anything this large is not ours and is left alone.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
// Writers hold the lock for a few milliseconds; a holder that died is detected at once.
constexpr int kLockWaitMs = 5000;
constexpr int kStaleLockMs = 10000;
const QString kCounterSection = QStringLiteral("Start");

bool MayReplace(const QString& file) {
  const QFileInfo info(file);
  if (!info.exists()) return true;
  // The owner bit counts too: a read-only file stays read-only even for root.
  return info.isFile() && info.isWritable() && (info.permissions() & QFileDevice::WriteOwner);
}

}  // namespace

QString FormatSettingsRect(const SettingsRect& rect) {
  return QStringLiteral("%1;%2;%3;%4")
      .arg(rect.left)
      .arg(rect.top)
      .arg(rect.right)
      .arg(rect.bottom);
}

int LeadingInteger(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i].isSpace()) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  qint64 value = 0;
  constexpr qint64 kLimit = qint64(std::numeric_limits<int>::max()) + 1;
  for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
    value = std::min(kLimit, value * 10 + (text[i].unicode() - '0'));
  }
  if (negative) return int(std::max(-value, qint64(std::numeric_limits<int>::min())));
  return int(std::min(value, qint64(std::numeric_limits<int>::max())));
}

std::optional<IniDocument> CMyProfStr::Load(const QString& file) const {
  if (file.isEmpty()) return std::nullopt;
  QFile in(file);
  if (!in.exists()) return IniDocument();
  if (in.size() > kMaxFileBytes || !in.open(QIODevice::ReadOnly)) return std::nullopt;
  return IniDocument::Parse(in.readAll());
}

template <typename Edit>
bool CMyProfStr::Update(const QString& file, Edit edit) {
  if (file.isEmpty()) return false;
  QLockFile lock(file + QStringLiteral(".lock"));
  lock.setStaleLockTime(kStaleLockMs);
  if (!lock.tryLock(kLockWaitMs)) return false;
  if (!MayReplace(file)) return false;
  std::optional<IniDocument> doc = Load(file);
  if (!doc || !edit(*doc)) return false;
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = doc->Serialise();
  if (out.write(bytes) != bytes.size()) return false;
  return out.commit();
}

QString CMyProfStr::ReadString(const QString& section, const QString& key,
                               const QString& defaultValue) const {
  const std::optional<IniDocument> doc = Load(SettingsFilePath);
  if (!doc) return defaultValue;
  return doc->Value(section, key).value_or(defaultValue);
}

int CMyProfStr::ReadInt(const QString& section, const QString& key, int defaultValue, int minimum,
                        int maximum) const {
  int value = LeadingInteger(ReadString(section, key, QString::number(defaultValue)));
  if (minimum != -1 && maximum != -1) {
    value = std::min(value, maximum);
    value = std::max(value, minimum);
  }
  return value;
}

bool CMyProfStr::WriteInt(const QString& section, const QString& key, int value) {
  return WriteString(section, key, QString::number(value));
}

bool CMyProfStr::WriteString(const QString& section, const QString& key, const QString& value,
                             const QString& file) {
  return Update(file.isEmpty() ? SettingsFilePath : file,
                [&](IniDocument& doc) { return doc.SetValue(section, key, value); });
}

std::optional<SettingsRect> CMyProfStr::ReadRect(const QString& section, const QString& key) const {
  const QStringList fields = ReadString(section, key).split(QLatin1Char(';'));
  if (fields.size() < 4) return std::nullopt;
  return SettingsRect{LeadingInteger(fields[0]), LeadingInteger(fields[1]),
                      LeadingInteger(fields[2]), LeadingInteger(fields[3])};
}

IniEntries CMyProfStr::ReadSectionEntries(const QString& section) const {
  const std::optional<IniDocument> doc = Load(SettingsFilePath);
  return doc ? doc->SectionEntries(section) : IniEntries();
}

QString CMyProfStr::ReadSection(const QString& section) const {
  QString text;
  for (const auto& entry : ReadSectionEntries(section)) {
    text += entry.first + QLatin1Char('=') + entry.second + QStringLiteral("\r\n");
  }
  return text;
}

bool CMyProfStr::WriteSectionEntries(const QString& section, const IniEntries& entries) {
  return Update(SettingsFilePath,
                [&](IniDocument& doc) { return doc.ReplaceSection(section, entries); });
}

bool CMyProfStr::WriteSection(const QString& section, const QString& lines) {
  IniEntries entries;
  for (QString line : lines.split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0) continue;
    entries.append({line.left(equals).trimmed(), line.mid(equals + 1)});
  }
  return WriteSectionEntries(section, entries);
}

bool CMyProfStr::DeleteSection(const QString& section) {
  return Update(SettingsFilePath, [&](IniDocument& doc) {
    doc.RemoveSection(section);
    return true;
  });
}

int CMyProfStr::ReadUserCounter(const QString& name, int defaultValue) const {
  if (PortableMode) return 0;
  const QString text = ReadString(kCounterSection, name);
  return text.isEmpty() ? defaultValue : LeadingInteger(text);
}

bool CMyProfStr::WriteUserCounter(const QString& name, int value) {
  if (PortableMode) return false;
  return WriteInt(kCounterSection, name, value);
}

CMyProfStr& Settings() {
  static CMyProfStr store;
  return store;
}

}  // namespace dupliora
