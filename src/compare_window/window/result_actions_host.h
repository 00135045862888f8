// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// The result actions wired into the comparison window: the list seen as an
// ActionList, the window's dialogs, and the context menu.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "compare_window/actions/action_list.h"

namespace dupliora {

class DialogPrompts;
class ResultActions;
class ResultListView;

// ActionList over the window's result list.
class ResultListActions : public ActionList {
 public:
  ResultListActions(ResultListView& list, std::function<void()> refresh_previews)
      : list_(list), refresh_previews_(std::move(refresh_previews)) {}

  int RowCount() const override;
  QString PathAt(int row, int column) const override;
  bool IsMarked(int row, int column) const override;
  const MatchResult* MatchAt(int row) const override;
  std::vector<int> SelectedRows() const override;
  int SelectionMarkRow() const override;
  void SetAllMarks(const std::vector<RowMarks>& marks) override;
  RemovedRows TakeRows(const std::vector<int>& rows) override;
  void PutBackRows(const RemovedRows& rows) override;
  void ReplacePath(const QString& old_path, const QString& new_path) override;
  void ReplaceFigures(const QString& path, const ImageRecord& figures) override;
  void RefreshPreviews() override { refresh_previews_(); }

 private:
  ResultListView& list_;
  std::function<void()> refresh_previews_;
};

// Owns the pieces; a child of the window, so it goes with it.
class ResultActionsHost : public QObject {
 public:
  ResultActionsHost(QObject* parent, std::unique_ptr<ResultListActions> list,
                    std::unique_ptr<DialogPrompts> prompts);
  ~ResultActionsHost() override;
  ResultActions* Actions() const { return actions_; }
  void SetActions(ResultActions* actions) { actions_ = actions; }
  ResultListActions& List() { return *list_; }
  DialogPrompts& Prompts() { return *prompts_; }

 private:
  std::unique_ptr<ResultListActions> list_;
  std::unique_ptr<DialogPrompts> prompts_;
  ResultActions* actions_ = nullptr;  // a child of this host
};

}  // namespace dupliora
