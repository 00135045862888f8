// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/actions/marked_files.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstdint>

#include "core/command_ids.h"
#include "platform/file_identity.h"
#include "platform/file_names.h"
#include "platform/safe_rename.h"

namespace dupliora {

QStringList CollectMarkedFiles(const ActionList& list) {
  QStringList files;
  QSet<QString> seen;
  for (int row = 0; row < list.RowCount(); ++row) {
    for (int column : {0, 1}) {
      if (!list.IsMarked(row, column)) continue;
      const QString path = list.PathAt(row, column);
      if (path.isEmpty() || seen.contains(FileNameKey(path))) continue;
      seen.insert(FileNameKey(path));
      files.append(path);
    }
  }
  return files;
}

std::vector<int> RowsOfMissingFiles(const ActionList& list) {
  // Pictures recur in many rows: each path is looked up once.
  QHash<QString, bool> exists;
  auto present = [&exists](const QString& path) {
    auto it = exists.find(path);
    if (it == exists.end()) it = exists.insert(path, !path.isEmpty() && NameTaken(path));
    return it.value();
  };
  std::vector<int> rows;
  for (int row = list.RowCount() - 1; row >= 0; --row) {
    if (!present(list.PathAt(row, 0)) || !present(list.PathAt(row, 1))) rows.push_back(row);
  }
  return rows;
}

std::vector<int> RowsToRemove(const ActionList& list, int command) {
  if (command == command::kRemoveSelectedRows) {
    std::vector<int> rows = list.SelectedRows();
    std::sort(rows.rbegin(), rows.rend());
    return rows;
  }
  std::vector<int> rows;
  for (int row = list.RowCount() - 1; row >= 0; --row) {
    const bool marked = list.IsMarked(row, 0) || list.IsMarked(row, 1);
    if ((command == command::kRemoveMarkedRows && marked) ||
        (command == command::kRemoveUnmarkedRows && !marked))
      rows.push_back(row);
  }
  return rows;
}

RowMarks LargerPictureMarks(const MatchResult& match) {
  if (match.first == nullptr || match.second == nullptr) return {false, false};
  auto area = [](const ImageRecord& r) {
    return static_cast<std::uint64_t>(r.width) * static_cast<std::uint64_t>(r.height);
  };
  const std::uint64_t a1 = area(*match.first);
  const std::uint64_t a2 = area(*match.second);
  if (a1 != a2) return {a1 > a2, a2 > a1};
  const std::uint64_t s1 = match.first->file_size;
  const std::uint64_t s2 = match.second->file_size;
  return {s1 > s2, s2 > s1};
}

std::vector<RowMarks> LargerPictureMarks(const ActionList& list) {
  std::vector<RowMarks> marks;
  marks.reserve(list.RowCount());
  for (int row = 0; row < list.RowCount(); ++row) {
    const MatchResult* match = list.MatchAt(row);
    marks.push_back(match != nullptr ? LargerPictureMarks(*match)
                                     : RowMarks{list.IsMarked(row, 0), list.IsMarked(row, 1)});
  }
  return marks;
}

QStringList SelfPairedFiles(const ActionList& list, const QStringList& files) {
  QSet<QString> wanted;
  for (const QString& file : files) wanted.insert(FileNameKey(file));
  QStringList paired;
  for (int row = 0; row < list.RowCount(); ++row) {
    const QString first = list.PathAt(row, 0);
    const QString second = list.PathAt(row, 1);
    const bool first_wanted = wanted.contains(FileNameKey(first));
    const bool second_wanted = wanted.contains(FileNameKey(second));
    if (!first_wanted && !second_wanted) continue;
    if (!IsSameFile(first, second)) continue;
    for (const QString& path : {first, second}) {
      if (wanted.contains(FileNameKey(path)) && !paired.contains(path)) paired.append(path);
    }
  }
  return paired;
}

}  // namespace dupliora
