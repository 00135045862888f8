// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "engine/record_path.h"

#include <algorithm>

namespace dupliora {

QString RecordPath(const ImageRecord& record) {
  const char16_t* begin = record.path;
  const char16_t* end = std::find(begin, begin + kRecordPathCapacity, u'\0');
  return QString::fromUtf16(begin, end - begin);
}

bool SetRecordPath(ImageRecord& record, const QString& path) {
  if (path.size() >= kRecordPathCapacity) return false;
  std::copy_n(reinterpret_cast<const char16_t*>(path.utf16()), path.size(), record.path);
  std::fill(record.path + path.size(), record.path + kRecordPathCapacity, u'\0');
  return true;
}

}  // namespace dupliora
