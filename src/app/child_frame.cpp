// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/child_frame.h"

#include <QCloseEvent>

#include "core/command_ids.h"
#include "core/language_table.h"
#include "core/text_numbers.h"

namespace dupliora {

namespace {

ChildClientFactory& ClientFactory() {
  static ChildClientFactory factory;
  return factory;
}

}  // namespace

void SetChildClientFactory(ChildClientFactory factory) { ClientFactory() = std::move(factory); }

CImgChildFrame::CImgChildFrame(QWidget* parent) : QMdiSubWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(GetString(text::kChildFrameTitle));
  QWidget* client = ClientFactory() ? ClientFactory()(this) : nullptr;
  if (client == nullptr) client = new QWidget(this);
  client_ = client;
  setWidget(client);  // the frame keeps it filling its client area from now on
}

ComparisonCommands* CImgChildFrame::Commands() const {
  return dynamic_cast<ComparisonCommands*>(client_.data());
}

void CImgChildFrame::CloseWithoutQuestion() {
  ask_before_closing_ = false;
  close();
}

void CImgChildFrame::closeEvent(QCloseEvent* event) {
  ComparisonCommands* commands = Commands();
  if (ask_before_closing_ && commands != nullptr && !commands->ConfirmDiscard()) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

void CImgChildFrame::ShowFirst(const QString& path) {
  if (auto* views = dynamic_cast<CShowImage2017*>(client_.data())) views->ShowFirst(path);
}

void CImgChildFrame::ShowSecond(const QString& path) {
  if (auto* views = dynamic_cast<CShowImage2017*>(client_.data())) views->ShowSecond(path);
}

void CImgChildFrame::TakeStartPaths(const QString& path_list) {
  if (auto* receiver = dynamic_cast<StartPathReceiver*>(client_.data())) {
    receiver->TakeStartPaths(path_list);
  }
}

}  // namespace dupliora
