// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include "compare_window/previews/preview_layout.h"
#include "compare_window/previews/preview_texts.h"
#include "compare_window/previews/preview_toolbar.h"
#include "viewer/picture_source.h"

class QFrame;
class QLabel;

namespace dupliora {

class CPicWindow;

enum class PreviewSide { kLeft, kRight };
enum class ShowPairMode { kFull, kCaptionsOnly };

// The pair of the selected row side by side: two picture panes in their
// hosts, a caption under each, the ratio box between them and a toolbar
// above each. Starts with the program's sample, the right one upside down.
class PreviewPanes : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewPanes(TextLookup texts, QWidget* parent = nullptr,
                        PictureSource source = LoadPaneSourcePicture);
  ~PreviewPanes() override;

  // Places every preview control as the band layout says (the parent's coordinates).
  void Place(const PreviewBandLayout& layout);

  // Full: both pictures are requested again and all texts written; captions
  // only: captions and ratio box follow the row without loading anything.
  void ShowPair(int row, const PreviewRow& data, ShowPairMode mode);
  // No pair left to show: blank panes, no captions.
  void Clear();
  int ShownRow() const { return shown_row_; }

  // 0: pictures only; 2: each host also shows its file view on the left.
  void SetPreviewMode(int preview_mode);
  int PreviewMode() const { return preview_mode_; }
  // The window's file view for one side, placed into that side's host;
  // null removes it. The previews never delete it.
  void SetFileView(PreviewSide side, QWidget* file_view);
  void RefreshTexts();

  CPicWindow* Pane(PreviewSide side) const;
  // What the pane of a side was last asked to show: the target of the
  // toolbar commands of that side.
  QString PanePath(PreviewSide side) const;
  QString CaptionText(PreviewSide side) const;
  QString RatioText() const;
  PreviewToolbar* Toolbar(PreviewSide side) const;

 signals:
  // A toolbar command of one side (32907, 32908 or 32909).
  void commandTriggered(PreviewSide side, int command_id);
  // The mode changed through a toolbar menu; the window lays itself out again.
  void previewModeChanged(int preview_mode);
  // A full ShowPair: the window writes this path into label 1002.
  void firstPathShown(const QString& path);
  // In preview mode 2: the side's file view should show this file selected.
  void showFileInFolder(PreviewSide side, const QString& path);

 private:
  struct Side {
    QFrame* host = nullptr;
    CPicWindow* pane = nullptr;
    QLabel* caption = nullptr;
    PreviewToolbar* toolbar = nullptr;
    QPointer<QWidget> file_view;
  };

  void BuildSide(Side& side, PreviewSide which, const PictureSource& source);
  void ShowPicture(PreviewSide which, const QString& path);
  void LayoutHost(Side& side);
  Side& At(PreviewSide side) { return side == PreviewSide::kLeft ? left_ : right_; }
  const Side& At(PreviewSide side) const { return side == PreviewSide::kLeft ? left_ : right_; }

  TextLookup texts_;
  Side left_;
  Side right_;
  QLabel* ratio_box_ = nullptr;
  int shown_row_ = -1;
  int preview_mode_ = kPreviewModePictureOnly;
};

}  // namespace dupliora
