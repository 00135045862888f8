// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// What the result actions need of the list and the previews; the window
// implements it over its result list, tests over a plain table.
#pragma once

#include <QString>
#include <array>
#include <utility>
#include <vector>

#include "engine/image_record.h"

namespace dupliora {

struct ListRow {
  MatchResult match;
  bool first_marked = false;
  bool second_marked = false;
};

// Removed rows with the positions they had, so that an undo can put them back.
using RemovedRows = std::vector<std::pair<int, ListRow>>;
using RowMarks = std::array<bool, 2>;

class ActionList {
 public:
  virtual ~ActionList() = default;
  virtual int RowCount() const = 0;
  // The path shown in picture cell 0 or 1.
  virtual QString PathAt(int row, int column) const = 0;
  virtual bool IsMarked(int row, int column) const = 0;
  virtual const MatchResult* MatchAt(int row) const = 0;
  virtual std::vector<int> SelectedRows() const = 0;
  // The row the previews show; -1 when none.
  virtual int SelectionMarkRow() const = 0;
  virtual void SetAllMarks(const std::vector<RowMarks>& marks) = 0;
  virtual RemovedRows TakeRows(const std::vector<int>& rows) = 0;
  virtual void PutBackRows(const RemovedRows& rows) = 0;
  // A renamed file: every cell that shows old_path shows new_path.
  virtual void ReplacePath(const QString& old_path, const QString& new_path) = 0;
  // A file copied over another: every cell of `path` shows the figures
  // (size, dimensions) of `figures` from now on.
  virtual void ReplaceFigures(const QString& path, const ImageRecord& figures) = 0;
  // Files changed on disk: the previews load what changed.
  virtual void RefreshPreviews() = 0;
};

}  // namespace dupliora
