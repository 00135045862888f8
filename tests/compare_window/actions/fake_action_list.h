// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// An ActionList over a plain vector of rows, and prompts answered by script.
#pragma once

#include <QStringList>
#include <algorithm>
#include <vector>

#include "compare_window/actions/action_list.h"
#include "compare_window/actions/action_prompts.h"
#include "compare_window/result_list/result_test_records.h"
#include "engine/record_path.h"

namespace dupliora::test {

class FakeActionList : public ActionList {
 public:
  const ImageRecord* Record(const QString& path, std::uint32_t w = 100, std::uint32_t h = 100,
                            std::uint64_t size = 1000) {
    return store_.Add({path, w, h, 50, size});
  }
  void Add(const QString& a, const QString& b, bool m1 = false, bool m2 = false) {
    rows.push_back({MatchResult{Record(a), Record(b)}, m1, m2});
  }

  int RowCount() const override { return static_cast<int>(rows.size()); }
  QString PathAt(int row, int column) const override {
    const MatchResult& m = rows[row].match;
    return RecordPath(column == 0 ? *m.first : *m.second);
  }
  bool IsMarked(int row, int column) const override {
    return column == 0 ? rows[row].first_marked : rows[row].second_marked;
  }
  const MatchResult* MatchAt(int row) const override { return &rows[row].match; }
  std::vector<int> SelectedRows() const override { return selected; }
  int SelectionMarkRow() const override { return current; }
  void SetAllMarks(const std::vector<RowMarks>& marks) override {
    for (std::size_t i = 0; i < marks.size(); ++i) {
      rows[i].first_marked = marks[i][0];
      rows[i].second_marked = marks[i][1];
    }
  }
  RemovedRows TakeRows(const std::vector<int>& doomed) override {
    std::vector<int> sorted = doomed;
    std::sort(sorted.begin(), sorted.end());
    RemovedRows removed;
    for (int row : sorted) removed.emplace_back(row, rows[row]);
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) rows.erase(rows.begin() + *it);
    return removed;
  }
  void PutBackRows(const RemovedRows& back) override {
    for (const auto& [position, row] : back) rows.insert(rows.begin() + position, row);
  }
  void ReplacePath(const QString& old_path, const QString& new_path) override {
    ForEachRecordAt(old_path, [&](const ImageRecord*& r) { r = Record(new_path); });
  }
  void ReplaceFigures(const QString& path, const ImageRecord& f) override {
    ForEachRecordAt(
        path, [&](const ImageRecord*& r) { r = Record(path, f.width, f.height, f.file_size); });
  }
  void RefreshPreviews() override { ++refreshed; }

  std::vector<ListRow> rows;
  std::vector<int> selected;
  int current = -1;
  int refreshed = 0;

 private:
  template <typename Change>
  void ForEachRecordAt(const QString& path, Change change) {
    for (ListRow& row : rows) {
      for (const ImageRecord** r : {&row.match.first, &row.match.second}) {
        if (RecordPath(**r) == path) change(*r);
      }
    }
  }
  testing::RecordStore store_;
};

class ScriptedPrompts : public ActionPrompts {
 public:
  QString PickFolder(const QString& start) override {
    picker_start = start;
    return folder;
  }
  bool Confirm(const QString& text, bool) override {
    questions << text;
    return answers.isEmpty() ? true : answers.takeFirst();
  }
  void Inform(const QString& text) override { messages << text; }
  ConflictAnswer AskConflict(const QString&, const QString&) override {
    ++conflicts;
    return conflict;
  }

  QString folder;
  QString picker_start;
  QList<bool> answers;  // empty: yes to everything
  QStringList questions;
  QStringList messages;
  ConflictAnswer conflict{ConflictChoice::kKeepBoth, false};
  int conflicts = 0;
};

}  // namespace dupliora::test
