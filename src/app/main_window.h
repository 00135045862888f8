// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "app/child_frame.h"

class QActionGroup;
class QMdiArea;
class QMenu;
class QToolBar;

class QLabel;

namespace dupliora {

class FrameStatusBar;

// The main window: menus, one toolbar, the five-part status bar and the MDI
// area holding the comparison children.
class CImgCompareMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit CImgCompareMain(QWidget* parent = nullptr);
  ~CImgCompareMain() override;

  // Runs the rest of the start: the first child, the language, the start-up
  // texts and, once the event loop runs, the placement restore.
  void Start(const QString& commandLine);

  // Creates one maximised comparison child; the text is accepted and not used.
  CImgChildFrame* CreateChild(const QString& text);
  CImgChildFrame* LastChild() const { return last_child_; }
  QMdiArea* MdiArea() const { return mdi_; }

  // The commands of the menus and toolbar, by id.
  void OnCommand(int id);
  // Closes like Quit but asks nothing: the native window is already gone.
  void CloseWithoutQuestion();
  void SetLanguage(int id);
  void RestorePlacement();  // only the first call acts
  void SavePlacement();

  void SetStatusPartText(int part, const QString& text);
  QString StatusPartText(int part) const;
  FrameStatusBar* FrameStatus() const { return status_; }

  // Replaces the close question (tests); returns true when the close goes ahead.
  void SetCloseConfirmer(std::function<bool()> confirmer) { confirm_close_ = std::move(confirmer); }

 signals:
  void languageChanged(int id);
  // The window closed for good; the program ends with code 1.
  void frameClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  QAction* AddCommand(QMenu* menu, int id, int captionNumber);
  void Retranslate();
  void UpdateTitle();
  void UpdateChecks();
  void UpdateTabBar();
  QString ChildTitle(const QWidget* child) const;
  QString NoComparisonWindowNote() const;
  void SendToLastChild(int id);
  bool AskBeforeClosing();
  void ShowVersionInStatus();
  void TellSettingsRefused();

  QMdiArea* mdi_ = nullptr;
  FrameStatusBar* status_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QMenu* language_menu_ = nullptr;
  QActionGroup* start_modes_ = nullptr;
  QActionGroup* languages_ = nullptr;
  QAction* ask_before_closing_ = nullptr;
  bool closing_without_question_ = false;
  QAction* language_button_ = nullptr;
  QPointer<CImgChildFrame> last_child_;
  QLabel* no_child_note_ = nullptr;  // shown while no comparison window is open
  int children_made_ = 0;            // numbers the tabs
  QElapsedTimer start_time_;
  std::function<bool()> confirm_close_;
  bool placement_restored_ = false;
  bool admin_icon_checked_ = false;
};

// The main window of this process, or null.
CImgCompareMain* MainFrame();

// Writes into a part (0 to 4) of the main window's status bar; part 4 takes
// the image cache line. Does nothing without a main window.
void SetMainStatusText(int part, const QString& text);

// Runs as administrator (root here).
bool RunsAsAdministrator();

}  // namespace dupliora
