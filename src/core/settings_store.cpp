// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "core/settings_store.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <limits>

namespace dupliora {

namespace {

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

const IniDocument* CMyProfStr::Current(const QString& file) const {
  if (file.isEmpty()) return nullptr;
  const SettingsFileStamp stamp = StampOf(file);
  if (cache_.path == file && cache_.stamp == stamp) {
    return cache_.document ? &*cache_.document : nullptr;
  }
  // The stamp is taken before reading: a change during the read shows at the next call.
  const SettingsFileRead read = ReadSettingsFile(file, kMaxSettingsFileBytes);
  cache_.path = file;
  cache_.stamp = stamp;
  cache_.problem = read.problem;
  cache_.document.reset();
  if (read.problem == SettingsFileProblem::kNone) cache_.document = IniDocument::Parse(read.bytes);
  return cache_.document ? &*cache_.document : nullptr;
}

SettingsFileProblem CMyProfStr::Problem() const {
  Current(SettingsFilePath);
  return cache_.path == SettingsFilePath ? cache_.problem : SettingsFileProblem::kNone;
}

bool CMyProfStr::Update(const QString& file, const std::function<bool(IniDocument&)>& edit) {
  if (file.isEmpty()) return false;
  QLockFile lock(file + QStringLiteral(".lock"));
  lock.setStaleLockTime(kStaleLockMs);
  if (!lock.tryLock(kLockWaitMs)) return false;
  if (!MayReplace(file)) return false;
  // Always read afresh under the lock: another instance may have written
  // since, and on a file system with coarse times the stamp could miss it.
  cache_.path.clear();
  const IniDocument* current = Current(file);
  if (current == nullptr) return false;  // a file that was not read is never written over
  IniDocument doc = *current;
  if (!edit(doc)) return false;
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = doc.Serialise();
  if (out.write(bytes) != bytes.size() || !out.commit()) return false;
  // Still under the lock, so the stamp is that of the file just written.
  cache_ = {file, StampOf(file), std::move(doc), SettingsFileProblem::kNone};
  return true;
}

bool CMyProfStr::Edit(const std::function<bool(IniDocument&)>& edit) {
  return Update(SettingsFilePath, edit);
}

QString CMyProfStr::ReadString(const QString& section, const QString& key,
                               const QString& defaultValue) const {
  const IniDocument* doc = Current(SettingsFilePath);
  if (doc == nullptr) return defaultValue;
  return doc->Value(section, key).value_or(defaultValue);
}

int CMyProfStr::ReadBounded(const QString& section, const QString& key, int defaultValue,
                            int minimum, int maximum) const {
  bool whole = false;
  const int value = ReadString(section, key).trimmed().toInt(&whole);
  if (!whole) return defaultValue;
  return std::clamp(value, minimum, maximum);
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

bool CMyProfStr::WriteStrings(const QString& section, const IniEntries& values) {
  return Update(SettingsFilePath, [&](IniDocument& doc) {
    for (const auto& [key, value] : values) {
      if (!doc.SetValue(section, key, value)) return false;
    }
    return true;
  });
}

std::optional<SettingsRect> CMyProfStr::ReadRect(const QString& section, const QString& key) const {
  const QStringList fields = ReadString(section, key).split(QLatin1Char(';'));
  if (fields.size() < 4) return std::nullopt;
  return SettingsRect{LeadingInteger(fields[0]), LeadingInteger(fields[1]),
                      LeadingInteger(fields[2]), LeadingInteger(fields[3])};
}

IniEntries CMyProfStr::ReadSectionEntries(const QString& section) const {
  const IniDocument* doc = Current(SettingsFilePath);
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
