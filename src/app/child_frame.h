// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

namespace dupliora {

// Creates the client of every comparison child (the comparison window). Set
// once at start-up; without it a child shows an empty placeholder.
using ChildClientFactory = std::function<QWidget*(QWidget* parent)>;
void SetChildClientFactory(ChildClientFactory factory);

// What a child client may implement to receive the main window's commands
// that act on it: 32816 (export the list), 57642 (select all rows), 34134
// (invert the selection). Returns false when it does not handle the command.
class ComparisonCommands {
 public:
  virtual ~ComparisonCommands() = default;
  virtual bool OnCommand(int id) = 0;
};

// Shows a picture by path in the first or second thumbnail view of a child.
class CShowImage2017 {
 public:
  virtual ~CShowImage2017() = default;
  virtual void ShowFirst(const QString& path) = 0;
  virtual void ShowSecond(const QString& path) = 0;
};

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

 private:
  QPointer<QWidget> client_;
};

}  // namespace dupliora
