// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "core/ini_document.h"
#include "core/settings_file.h"

namespace dupliora {

struct AppIdentity;

// Four integers as stored by the frame: left;top;right;bottom.
struct SettingsRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const SettingsRect&) const = default;
};

// "%d;%d;%d;%d" of the four fields.
QString FormatSettingsRect(const SettingsRect& rect);

// The usual leading-integer rule: blanks, optional sign, digits; no digits is
// 0, values beyond 32 bits stop at the nearest limit.
int LeadingInteger(const QString& text);

// Where things are found when the settings location is decided. Tests pass
// their own temporary folders; the program passes DefaultSettingsEnvironment().
struct SettingsEnvironment {
  QString programPath;     // full path of the running program file
  QString userConfigRoot;  // per-user configuration folder; empty: the program folder
};
SettingsEnvironment DefaultSettingsEnvironment();

// The settings file: typed reads and writes by section and key. The file is
// parsed once and kept; a read only asks the file system whether the file
// changed since (another instance may have written it), about 150 reads at
// start-up cost one parse. Every write replaces the file atomically
// (temporary file and rename) under a lock file beside it, after reading it
// afresh, so a crash or a second running instance can never leave a
// half-written file or lose the other's keys. Keys that change together go
// in one write. Damaged lines are never interpreted and are written back as
// they were. Reads of anything missing or unreadable give the default.
//
// A path that is no regular file (a FIFO, a device, a symlink to one) or a
// file larger than kMaxSettingsFileBytes is not read and never written over:
// the program runs on its defaults and Problem() says why.
class CMyProfStr {
 public:
  virtual ~CMyProfStr() = default;

  QString SettingsFilePath;   // unset until InitSettingsLocation
  bool PortableMode = false;  // the file lies beside the program
  QString ProfileName;        // from the "ini=" rule of the program name

  QString ReadString(const QString& section, const QString& key,
                     const QString& defaultValue = {}) const;
  // Bounds apply only when neither is -1: first at most maximum, then at least minimum.
  int ReadInt(const QString& section, const QString& key, int defaultValue, int minimum = -1,
              int maximum = -1) const;
  bool WriteInt(const QString& section, const QString& key, int value);
  bool WriteString(const QString& section, const QString& key, const QString& value,
                   const QString& file = {});
  // Several keys of one section in one write.
  bool WriteStrings(const QString& section, const IniEntries& values);
  // Any change of the document in one write; `edit` returns false to write nothing.
  bool Edit(const std::function<bool(IniDocument&)>& edit);
  // A value of a setting with a fixed range: missing or not a whole number
  // gives the default, anything else is clamped to minimum..maximum.
  int ReadBounded(const QString& section, const QString& key, int defaultValue, int minimum,
                  int maximum) const;
  // Empty unless the text holds at least four ";"-separated fields.
  std::optional<SettingsRect> ReadRect(const QString& section, const QString& key) const;

  // "key=value" lines of the section, each followed by CR LF.
  QString ReadSection(const QString& section) const;
  // Removes the section and writes it anew from "key=value" lines (CR LF or LF).
  bool WriteSection(const QString& section, const QString& lines);
  IniEntries ReadSectionEntries(const QString& section) const;
  bool WriteSectionEntries(const QString& section, const IniEntries& entries);
  bool DeleteSection(const QString& section);

  // The per-user instance counter (there is no registry: it lives in section
  // "Start" of the per-user settings file). In portable mode reads give 0 and
  // writes store nothing.
  int ReadUserCounter(const QString& name, int defaultValue) const;
  bool WriteUserCounter(const QString& name, int value);

  // Writes "Start"/chk_ini and reads it back through `candidate`.
  bool ProbeSettingsFile(const QString& candidate);
  // Decides SettingsFilePath, PortableMode and ProfileName; may extend
  // identity.settingsName by the profile name.
  void InitSettingsLocation(const SettingsEnvironment& environment, AppIdentity& identity);
  void InitSettingsLocation();  // the running program and the process-wide identity

  // Why the settings file was refused; kNone when it was read or does not exist yet.
  SettingsFileProblem Problem() const;

 private:
  struct Cache {
    QString path;
    SettingsFileStamp stamp;
    std::optional<IniDocument> document;  // empty: the file was refused
    SettingsFileProblem problem = SettingsFileProblem::kNone;
  };
  // The document of `file`, read again only when the file changed; null when refused.
  const IniDocument* Current(const QString& file) const;
  bool Update(const QString& file, const std::function<bool(IniDocument&)>& edit);

  mutable Cache cache_;
};

// The process-wide store.
CMyProfStr& Settings();

}  // namespace dupliora
