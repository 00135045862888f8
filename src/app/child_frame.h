// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

#include "compare_window/window/frame_client.h"

namespace dupliora {

// Creates the client of every comparison child (the comparison window). Set
// once at start-up; without it a child shows an empty placeholder.
using ChildClientFactory = std::function<QWidget*(QWidget* parent)>;
void SetChildClientFactory(ChildClientFactory factory);

// One comparison child of the main window: a maximised MDI child whose
// client fills it.
class CImgChildFrame : public QMdiSubWindow, public CShowImage2017 {
  Q_OBJECT
 public:
  explicit CImgChildFrame(QWidget* parent = nullptr);

  QWidget* Client() const { return client_; }
  // The client's command interface, or null when it has none.
  ComparisonCommands* Commands() const;

  // Forwarded to the client when it implements CShowImage2017.
  void ShowFirst(const QString& path) override;
  void ShowSecond(const QString& path) override;
  // Forwarded to the client when it implements StartPathReceiver.
  void TakeStartPaths(const QString& path_list);

  // The frame closes: its own question stands for this child's.
  void CloseWithoutQuestion();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QPointer<QWidget> client_;
  bool ask_before_closing_ = true;
};

}  // namespace dupliora
