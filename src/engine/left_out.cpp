// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/left_out.h"

#include <QFile>
#include <QStringList>

namespace dupliora {

LeftOutReason ReasonOf(ReadProblem problem) {
  switch (problem) {
    case ReadProblem::kUnreadable:
      return LeftOutReason::kUnreadable;
    case ReadProblem::kSpecialFile:
      return LeftOutReason::kSpecialFile;
    case ReadProblem::kDamaged:
      return LeftOutReason::kDamaged;
    case ReadProblem::kTooLarge:
      return LeftOutReason::kTooLarge;
    case ReadProblem::kNone:
    case ReadProblem::kNotAPicture:
      break;
  }
  return LeftOutReason::kNotAPicture;
}

LeftOutReason ReasonOf(decoder::JobStatus status) {
  switch (status) {
    case decoder::JobStatus::kTimedOut:
      return LeftOutReason::kTimedOut;
    case decoder::JobStatus::kOutOfMemory:
      return LeftOutReason::kTooLarge;
    default:
      return LeftOutReason::kCrashed;
  }
}

const char* ReasonKey(LeftOutReason reason) {
  static constexpr std::array<const char*, kLeftOutReasonCount> kKeys = {
      "path_too_long", "name_not_utf8", "special_file", "unreadable", "not_a_picture",
      "too_small",     "damaged",       "too_large",    "crashed",    "timed_out"};
  return kKeys[static_cast<int>(reason)];
}

void LeftOutFiles::Add(QByteArray path, LeftOutReason reason) {
  ++counts_[static_cast<int>(reason)];
  files_.push_back({std::move(path), reason});
}

void LeftOutFiles::Add(const QString& path, LeftOutReason reason) {
  Add(QFile::encodeName(path), reason);
}

void LeftOutFiles::Clear() {
  counts_ = {};
  files_.clear();
}

QString LeftOutText(const RunTexts& texts, const LeftOutFiles& files) {
  if (files.Total() == 0) return {};
  QStringList parts;
  for (int k = 0; k < kLeftOutReasonCount; ++k) {
    const int count = files.Count(static_cast<LeftOutReason>(k));
    if (count > 0)
      parts << QStringLiteral("%1 %2").arg(count).arg(texts.Text(kFirstLeftOutReasonText + k));
  }
  return QStringLiteral("%1 %2 (%3)")
      .arg(texts.Text(kLeftOutTitleText))
      .arg(files.Total())
      .arg(parts.join(QStringLiteral(", ")));
}

}  // namespace dupliora
