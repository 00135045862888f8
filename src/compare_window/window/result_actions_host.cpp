// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/result_actions_host.h"

#include <QMenu>

#include "compare_window/actions/result_actions.h"
#include "compare_window/actions/result_context_menu.h"
#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/compare_window.h"
#include "core/command_ids.h"
#include "engine/record_path.h"

namespace dupliora {

int ResultListActions::RowCount() const { return list_.RowCount(); }

QString ResultListActions::PathAt(int row, int column) const {
  const MatchResult* match = list_.MatchAt(row);
  const ImageRecord* record = match ? (column == 0 ? match->first : match->second) : nullptr;
  return record ? RecordPath(*record) : QString();
}

bool ResultListActions::IsMarked(int row, int column) const { return list_.IsMarked(row, column); }

const MatchResult* ResultListActions::MatchAt(int row) const { return list_.MatchAt(row); }

std::vector<int> ResultListActions::SelectedRows() const { return list_.SelectedRows(); }

int ResultListActions::SelectionMarkRow() const { return list_.SelectionMarkRow(); }

void ResultListActions::SetAllMarks(const std::vector<RowMarks>& marks) {
  list_.SetAllMarks(marks);
}

RemovedRows ResultListActions::TakeRows(const std::vector<int>& rows) {
  RemovedRows removed;
  for (const auto& [position, row] : list_.TakeRows(rows)) {
    removed.emplace_back(position, ListRow{row.match, row.first_marked, row.second_marked});
  }
  return removed;
}

void ResultListActions::PutBackRows(const RemovedRows& rows) {
  std::vector<std::pair<int, ResultRow>> back;
  for (const auto& [position, row] : rows) {
    back.emplace_back(position, ResultRow{row.match, row.first_marked, row.second_marked});
  }
  list_.InsertRows(back);
}

void ResultListActions::ReplacePath(const QString& old_path, const QString& new_path) {
  list_.ReplaceRecordPath(old_path, new_path);
}

void ResultListActions::ReplaceFigures(const QString& path, const ImageRecord& figures) {
  list_.ReplaceRecordFigures(path, figures);
}

ResultActionsHost::ResultActionsHost(QObject* parent, std::unique_ptr<ResultListActions> list,
                                     std::unique_ptr<DialogPrompts> prompts)
    : QObject(parent), list_(std::move(list)), prompts_(std::move(prompts)) {}

ResultActionsHost::~ResultActionsHost() {
  delete actions_;  // before the list and prompts it refers to
  actions_ = nullptr;
}

void CImgCmp2017::WireActions() {
  auto host = new ResultActionsHost(
      this, std::make_unique<ResultListActions>(*list_, [this] { RefreshPreviewsAfterAction(); }),
      std::make_unique<DialogPrompts>(this, services_.text, services_.pick_folder));
  ResultActions::Services services;
  services.store = services_.store;
  services.text = services_.text;
  services.window = this;
  if (services_.open_url) services.open_url = services_.open_url;
  host->SetActions(new ResultActions(host->List(), host->Prompts(), services, host));
  actions_host_ = host;
  ResultActions* actions = host->Actions();
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    std::unique_ptr<QMenu> menu(
        BuildResultContextMenu(list_, services_.text,
                               {list_->RowCount() == 0, options_.m_ShowListToolbar.value != 0,
                                options_.m_LeftRightSel.value == 1, Actions()->Busy()}));
    const QAction* chosen = menu->exec(list_->viewport()->mapToGlobal(pos));
    if (chosen != nullptr) OnListCommand(chosen->data().toInt());
  });
  connect(this, &CImgCmp2017::PictureCommand, actions, &ResultActions::PictureCommand);
  connect(list_, &ResultListView::RowToolbarCommand, this, [this](int id, int, int column) {
    const PreviewSide side = column == 0 ? PreviewSide::kLeft : PreviewSide::kRight;
    Actions()->PictureCommand(id, column, previews_->PanePath(side));
  });
  connect(list_, &ResultListView::EditFinished, actions, &ResultActions::Rename);
  connect(list_, &ResultListView::CopyOverPartnerRequested, actions,
          &ResultActions::CopyOverPartner);
  connect(list_, &ResultListView::Cleared, actions, &ResultActions::ForgetRows);
}

// The selected pair again, its files may have changed; with no row left the
// panes empty rather than go on showing pictures that went to the trash.
void CImgCmp2017::RefreshPreviewsAfterAction() {
  const int row = list_->SelectionMarkRow();
  if (row >= 0 && row < list_->RowCount()) {
    ShowCurrentPair(list_->MatchAt(row), list_->IsMarked(row, 0), list_->IsMarked(row, 1), true);
  } else if (list_->RowCount() == 0) {
    previews_->Clear();
  }
}

ResultActions* CImgCmp2017::Actions() const { return actions_host_->Actions(); }

// The context menu's commands, also reachable as ordinary commands.
void CImgCmp2017::OnListCommand(int id) {
  switch (id) {
    case command::kRowToolbarOption:
      options_.m_ShowListToolbar.value = options_.m_ShowListToolbar.value != 0 ? 0 : 1;
      StoreOption(options_.m_ShowListToolbar);
      list_->SetShowRowToolbars(options_.m_ShowListToolbar.value != 0);
      return;
    case command::kLeftRightOption:  // held in memory only
      options_.m_LeftRightSel.value = options_.m_LeftRightSel.value == 1 ? 0 : 1;
      list_->SetLeftRightMarks(options_.m_LeftRightSel.value == 1);
      return;
    case command::kSwapMarks:
    case command::kInvertMarks:
    case command::kCopyOverPartner:
      list_->ApplyMarkCommand(id);
      return;
    default:
      Actions()->Execute(id);
  }
}

}  // namespace dupliora
