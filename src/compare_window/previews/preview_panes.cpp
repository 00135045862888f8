// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/previews/preview_panes.h"

#include <QFrame>
#include <QLabel>
#include <QResizeEvent>

#include "compare_window/previews/preview_layout.h"
#include "viewer/pic_window.h"

namespace dupliora {
namespace {

// The ratio box's heavy 12-pixel font (weight 900 of the menu font).
QFont RatioFont(QFont font) {
  font.setItalic(false);
  font.setWeight(QFont::Black);
  font.setPixelSize(12);
  return font;
}

// The host keeps its pane (and file view) laid out when the window resizes it.
class PreviewHost : public QFrame {
 public:
  PreviewHost(std::function<void()> relayout, QWidget* parent)
      : QFrame(parent), relayout_(std::move(relayout)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QFrame::resizeEvent(event);
    relayout_();
  }

 private:
  std::function<void()> relayout_;
};

}  // namespace

PreviewPanes::PreviewPanes(TextLookup texts, QWidget* parent, PictureSource source)
    : QWidget(parent), texts_(std::move(texts)) {
  if (!texts_) texts_ = [](int) { return QString(); };
  BuildSide(left_, PreviewSide::kLeft, source);
  BuildSide(right_, PreviewSide::kRight, source);
  ratio_box_ = new QLabel(kStartRatioText, this);
  ratio_box_->setObjectName(QStringLiteral("ratio_box_1005"));
  ratio_box_->setAlignment(Qt::AlignCenter);
  ratio_box_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ratio_box_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ratio_box_->setFont(RatioFont(font()));
  left_.pane->SetPicture(kSamplePictureResource, true);
  right_.pane->SetTurn(true);
  right_.pane->SetPicture(kSamplePictureResource, true);
}

PreviewPanes::~PreviewPanes() = default;

void PreviewPanes::BuildSide(Side& side, PreviewSide which, const PictureSource& source) {
  side.host = new PreviewHost([this, which] { LayoutHost(At(which)); }, this);
  side.pane = new CPicWindow(side.host, source);
  side.caption = new QLabel(kCaptionPlaceholder, this);
  side.caption->setAlignment(Qt::AlignCenter);
  side.toolbar = new PreviewToolbar(texts_, this);
  const bool left = which == PreviewSide::kLeft;
  side.host->setObjectName(left ? QStringLiteral("host_1000") : QStringLiteral("host_1001"));
  side.caption->setObjectName(left ? QStringLiteral("caption_6001")
                                   : QStringLiteral("caption_6002"));
  connect(side.toolbar, &PreviewToolbar::commandTriggered, this,
          [this, which](int command_id) { emit commandTriggered(which, command_id); });
  connect(side.toolbar, &PreviewToolbar::previewModeChosen, this, [this](int mode) {
    if (mode == preview_mode_) return;
    SetPreviewMode(mode);
    emit previewModeChanged(mode);
  });
}

void PreviewPanes::Place(const PreviewBandLayout& layout) {
  setGeometry(layout.bounds);
  const QPoint origin = layout.bounds.topLeft();
  left_.host->setGeometry(layout.left_host.translated(-origin));
  right_.host->setGeometry(layout.right_host.translated(-origin));
  left_.caption->setGeometry(layout.left_caption.translated(-origin));
  right_.caption->setGeometry(layout.right_caption.translated(-origin));
  left_.toolbar->setGeometry(layout.left_toolbar.translated(-origin));
  right_.toolbar->setGeometry(layout.right_toolbar.translated(-origin));
  ratio_box_->setGeometry(layout.ratio_box.translated(-origin));
}

void PreviewPanes::LayoutHost(Side& side) {
  const PreviewHostSplit split = SplitPreviewHost(side.host->contentsRect(), preview_mode_);
  side.pane->setGeometry(split.pane);
  if (side.file_view) {
    side.file_view->setGeometry(split.file_view);
    side.file_view->setVisible(preview_mode_ == kPreviewModeWithFileView);
  }
}

void PreviewPanes::ShowPicture(PreviewSide which, const QString& path) {
  Side& side = At(which);
  side.pane->SetTurn(false);  // only the start-up sample is shown turned
  side.pane->SetPicture(path, false);
  if (preview_mode_ != kPreviewModePictureOnly && side.file_view)
    emit showFileInFolder(which, path);
}

void PreviewPanes::ShowPair(int row, const PreviewRow& data, ShowPairMode mode) {
  shown_row_ = row;
  if (mode == ShowPairMode::kFull) {
    ShowPicture(PreviewSide::kLeft, data.first_path);
    emit firstPathShown(data.first_path);
    ShowPicture(PreviewSide::kRight, data.second_path);
  }
  const PreviewTexts texts = BuildPreviewTexts(data);
  ratio_box_->setText(texts.ratio);
  if (texts.first_caption) left_.caption->setText(*texts.first_caption);
  if (texts.second_caption) right_.caption->setText(*texts.second_caption);
}

void PreviewPanes::Clear() {
  shown_row_ = -1;
  for (Side* side : {&left_, &right_}) {
    side->pane->SetPicture(QString());
    side->caption->clear();
  }
  ratio_box_->clear();
  emit firstPathShown(QString());
}

void PreviewPanes::SetPreviewMode(int preview_mode) {
  preview_mode_ = preview_mode;
  LayoutHost(left_);
  LayoutHost(right_);
  RefreshTexts();
}

void PreviewPanes::SetFileView(PreviewSide which, QWidget* file_view) {
  Side& side = At(which);
  if (side.file_view && side.file_view != file_view) side.file_view->hide();
  side.file_view = file_view;
  if (file_view) file_view->setParent(side.host);
  LayoutHost(side);
}

void PreviewPanes::RefreshTexts() {
  left_.toolbar->RefreshTexts(preview_mode_);
  right_.toolbar->RefreshTexts(preview_mode_);
}

CPicWindow* PreviewPanes::Pane(PreviewSide side) const { return At(side).pane; }

QString PreviewPanes::PanePath(PreviewSide side) const { return At(side).pane->RequestedPath(); }

QString PreviewPanes::CaptionText(PreviewSide side) const { return At(side).caption->text(); }

QString PreviewPanes::RatioText() const { return ratio_box_->text(); }

PreviewToolbar* PreviewPanes::Toolbar(PreviewSide side) const { return At(side).toolbar; }

}  // namespace dupliora
