// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>

namespace dupliora {

using IniEntries = QList<QPair<QString, QString>>;

// The settings file as a list of lines, edited in place so that everything we
// do not touch (comments, foreign keys, damaged lines) is written back byte
// for byte.
//
// Form: UTF-8 text, "[section]" lines and "key=value" lines; names compare
// without regard to case; blanks around keys and values are not part of them.
// A value with blanks at either end, a leading double quote or a control
// character is written in double quotes with backslash escapes (\\ \" \n \r
// \t \xHH); everything else, ";", "=", "[" included, is written unchanged.
// A line that is not valid UTF-8, holds a NUL byte or is longer than
// kMaxLineBytes is never interpreted, only kept.
class IniDocument {
 public:
  static constexpr int kMaxLineBytes = 64 * 1024;

  static IniDocument Parse(const QByteArray& bytes);
  QByteArray Serialise() const;

  std::optional<QString> Value(const QString& section, const QString& key) const;
  IniEntries SectionEntries(const QString& section) const;

  // False when the names cannot be stored (see IsStorableSection/IsStorableKey).
  bool SetValue(const QString& section, const QString& key, const QString& value);
  void RemoveSection(const QString& section);
  // Removes the entries of the section whose key `remove` accepts.
  void RemoveKeys(const QString& section, const std::function<bool(const QString& key)>& remove);
  bool ReplaceSection(const QString& section, const IniEntries& entries);

  static bool IsStorableSection(const QString& section);
  static bool IsStorableKey(const QString& key);
  static QString EncodeValue(const QString& value);
  static QString DecodeValue(const QString& stored);

 private:
  enum class Kind { kOther, kSection, kEntry };
  struct Line {
    QByteArray raw;  // as read, without the line end; regenerated when edited
    Kind kind = Kind::kOther;
    QString name;   // section or key name
    QString value;  // decoded value of an entry
  };

  static Line Classify(const QByteArray& raw);
  static Line MakeSection(const QString& section);
  static Line MakeEntry(const QString& key, const QString& value);
  // Index just past the last non-blank line of the first section named `section`, or -1.
  int EndOfFirstSection(const QString& section) const;

  QList<Line> lines_;
  bool ends_with_newline_ = true;
};

}  // namespace dupliora
