// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "compare_window/window/frame_client.h"
#include "compare_window/window/ui_call.h"
#include "compare_window/window/window_layout.h"
#include "compare_window/window/window_options.h"
#include "engine/comparison_engine.h"
#include "engine/run_sink.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace dupliora {

class ButtonBar;
class C2017ComboBoxEx;
class PreviewPanes;
class CMyProfStr;
class CPloder;
class PathAlert;
class ResultActions;
class ResultActionsHost;
class ResultListView;

// What the comparison window needs from the program around it.
struct CompareWindowServices {
  CMyProfStr* store = nullptr;
  TextLookup text;                                        // language texts by number
  QString options_section;                                // the settings name
  std::function<void(const QString&)> show_cache_status;  // main status bar, part 4
  QStringList first_start_folders;  // documents, pictures, home: the last one ends current
  // The folder picker, opened at a start folder; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& start)> pick_folder;
  // The record store the program's windows share, opened on first use, and
  // its file (for the size the options show, without opening it).
  std::function<std::shared_ptr<RecordStore>()> record_store;
  QString record_store_file;
  // Opens a file or folder with the desktop's default application (tests replace it).
  std::function<bool(const QString& path)> open_url;
};

// The progress bar's range while the run shows activity only.
inline constexpr int kActivityRange = 256;
// Next position of the progress activity (0..255) from the shared seed.
int NextActivityPosition(std::uint32_t& seed);

// The comparison window: path fields, options, Start/Stop, progress, result
// list and the two preview hosts. It is the run's sink: every call of the
// worker runs on this window's thread while the worker waits.
//
// Its members are spread by topic: compare_window.cpp (controls, fonts,
// layout, texts), compare_window_wiring.cpp (signals and keys),
// compare_window_toolbars.cpp (options and their menus),
// compare_window_views.cpp (list area view, preview mode, the pair shown),
// compare_window_paths.cpp (path fields, browse, drops),
// compare_window_start_stop.cpp (the worker), compare_window_sink.cpp (the
// run's calls) and frame_commands.cpp (commands of the main window).
class CImgCmp2017 : public QWidget,
                    public RunSink,
                    public ComparisonCommands,
                    public CShowImage2017,
                    public StartPathReceiver {
  Q_OBJECT

 public:
  CImgCmp2017(QWidget* parent, CompareWindowServices services);
  ~CImgCmp2017() override;

  // Start / Stop (commands 1016 and 1011).
  void StartOrStop();
  bool IsRunning() const { return running_; }
  // A worker exists (running, or stopping and not yet returned).
  bool WorkerActive() const { return worker_.joinable() && !worker_done_.load(); }
  // Asks a running comparison to stop and waits until its worker has returned.
  void StopAndWait();

  void SetControlsEnabled(bool enable);
  void RefreshOptionTexts();
  void RefreshPathFieldTexts();
  void RefreshLanguageTexts();
  void LayoutWindow();
  void ShowPathAlert(int field_id, const QString& message);
  void AppendPathToField(int field_id, const QString& folder);
  // A confirmed option menu choice (the menus return their choice here).
  void ChooseOption(OptionBar bar, int button, int id);
  // Escape: asks first when results or a run would be lost.
  bool ConfirmDiscard() override;
  void SelectAllRows();
  // The program's language changed: every text of the window follows.
  void OnLanguageChanged();

  WindowOptions& Options() { return options_; }
  int ResultView() const { return result_view_; }
  ResultListView* ResultList() const { return list_; }
  C2017ComboBoxEx* Field(int field_id) const;
  PathAlert* Alert() const { return alert_; }
  const ComparisonEngine& Engine() const { return engine_; }
  ButtonBar* RulesBar() const { return rules_bar_; }
  ButtonBar* SearchBar() const { return search_bar_; }
  PreviewPanes* Previews() const { return previews_; }
  QLabel* Label(int id) const;
  QProgressBar* Progress() const { return progress_; }
  CPloder* PreviewFileView(int side) const { return preview_file_views_[side]; }
  CPloder* ListFileView() const { return list_file_view_; }
  // 0: pictures only; 2: each preview also shows its file view.
  void SetPreviewMode(int mode);
  const WindowLayout& LastLayout() const { return layout_; }
  // The file commands of the list: context menu, toolbars, rename, undo.
  ResultActions* Actions() const;
  void OnListCommand(int id);

  // Main-menu commands on the window: select all rows, invert the selection.
  bool OnCommand(int id) override;
  bool CanDo(int id) const override;
  // Shows a picture in the left or right preview.
  void ShowFirst(const QString& path) override;
  void ShowSecond(const QString& path) override;
  void TakeStartPaths(const QString& path_list) override;

  // RunSink: called by the worker, executed here.
  void ClearResults() override;
  void SetText(RunText target, const QString& text) override;
  void ShowPathAlert(dupliora::PathField field, const QString& message) override;
  void AcceptPaths(const QString& path1_text, const QString& path2_text) override;
  void StartProgressActivity() override;
  void StopProgressActivity() override;
  void SetProgressRange(int maximum) override;
  void SetProgressPosition(int position) override;
  void SetResultRedraw(bool on) override;
  void AppendMatches(std::vector<MatchResult> batch) override;
  void SortResultsBySimilarity() override;
  void ShowCacheStatus(const QString& line) override;

 signals:
  // Command 2 after confirmation: the host closes the window.
  void CloseRequested();
  // A preview toolbar's picture command (32907, 32908, 32909) and the
  // picture it acts on; side 0 left, 1 right.
  void PictureCommand(int command, int side, const QString& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString Text(int number) const { return services_.text(number); }
  void CreateControls();
  void CreateToolbars();
  void CreatePathFields();
  void ApplyFonts();
  void WireControls();
  void CaptureTemplateRects();
  void LoadOptions();
  void StoreOption(const OptionRecord& option);
  void AttachOptionMenu(OptionBar bar, int id, QToolButton* button);
  // The shared record store, opened on first use; null without one.
  std::shared_ptr<RecordStore> PictureStore();
  void ClearPictureCache();
  void ApplyResultView();
  void ApplyPreviewMode();
  void WirePreviews();
  void WireActions();
  void RefreshPreviewsAfterAction();
  void ShowCurrentPair(const MatchResult* match, bool first_marked, bool second_marked, bool full);
  void Browse(int field_id, bool append);
  void OnPathDropped(int field_id, const QString& path, bool replace);
  void OnActivityTimer();
  void WireShortcuts();
  void StopFileViews();
  void StartWorker();
  void WorkerMain(RunOptions options, QString path1, QString path2, RunTexts texts);
  // Runs `fn` here; from the worker, waits for it. After a close began, drops it.
  void OnUiThread(const std::function<void()>& fn);

  CompareWindowServices services_;
  WindowOptions options_;
  int result_view_ = 0;
  bool running_ = false;
  CapturedRects captured_;
  WindowLayout layout_;
  QFont font_a_, font_b_, font_c_;

  std::array<C2017ComboBoxEx*, 2> fields_{};
  std::array<QPushButton*, 2> browse_{};
  std::array<QPushButton*, 2> browse_append_{};
  QPushButton* start_ = nullptr;
  QPushButton* start_hidden_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QString idle_prompt_;  // the status line's text before any run
  QLabel* label_load_ = nullptr;
  QLabel* label_result_ = nullptr;
  PreviewPanes* previews_ = nullptr;
  std::array<CPloder*, 2> preview_file_views_{};
  ResultListView* list_ = nullptr;
  CPloder* list_file_view_ = nullptr;
  ButtonBar* rules_bar_ = nullptr;
  ButtonBar* search_bar_ = nullptr;
  PathAlert* alert_ = nullptr;
  ResultActionsHost* actions_host_ = nullptr;
  QTimer activity_timer_;

  std::shared_ptr<RecordStore> record_store_;
  ComparisonEngine engine_;
  BlockingUiCall ui_call_;
  std::thread worker_;
  std::atomic<bool> worker_done_{true};
};

}  // namespace dupliora
