// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/compare_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include "compare_window/path_field/path_alert.h"
#include "compare_window/path_field/path_field.h"
#include "compare_window/previews/preview_panes.h"
#include "compare_window/result_list/result_list_view.h"
#include "compare_window/window/button_bar.h"
#include "compare_window/window/elided_label.h"
#include "compare_window/window/ploder.h"
#include "compare_window/window/yes_no_box.h"
#include "compare_window/window_ids.h"
#include "core/settings_store.h"
#include "core/text_numbers.h"

namespace dupliora {
namespace {

const QString kLabelStartText = QStringLiteral("...");

template <typename W>
W* Named(W* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}

QLabel* MakeLabel(QWidget* parent, int id, Qt::Alignment align) {
  auto* label = Named(new ElidedLabel(kLabelStartText, parent), id);
  label->setAlignment(align | Qt::AlignVCenter);
  label->setTextFormat(Qt::PlainText);
  // Long paths must not widen the window: the layout decides the width.
  label->setMinimumWidth(0);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  return label;
}

}  // namespace

int NextActivityPosition(std::uint32_t& seed) {
  seed = seed * 8253729u + 2396403u;
  return static_cast<int>(seed >> 24);
}

CImgCmp2017::CImgCmp2017(QWidget* parent, CompareWindowServices services)
    : QWidget(parent), services_(std::move(services)), ui_call_(this) {
  setObjectName(QStringLiteral("CImgCmp2017"));
  LoadOptions();
  CreateControls();
  CreatePathFields();
  CreateToolbars();
  ApplyFonts();
  CaptureTemplateRects();
  WireControls();
  start_->setText(Text(text::kStartCaption));
  ApplyPreviewMode();
  RefreshOptionTexts();
  status_->setText(idle_prompt_ = Text(text::kIdlePrompt));
  LayoutWindow();
}

CImgCmp2017::~CImgCmp2017() { StopAndWait(); }

void CImgCmp2017::CreateControls() {
  previews_ = new PreviewPanes(services_.text, this);
  status_ = MakeLabel(this, ids::kStatusLine, Qt::AlignHCenter);
  label_load_ = MakeLabel(this, ids::kLabelLoad, Qt::AlignLeft);
  label_result_ = MakeLabel(this, ids::kLabelResult, Qt::AlignLeft);
  progress_ = Named(new QProgressBar(this), ids::kProgressBar);
  progress_->setTextVisible(false);
  progress_->setRange(0, kActivityRange);
  progress_->setValue(0);
  start_ = Named(new QPushButton(this), ids::kStartStop);
  start_->setAutoDefault(false);
  start_hidden_ = Named(new QPushButton(QStringLiteral("Start"), this), ids::kStartHidden);
  start_hidden_->hide();

  list_ = Named(new ResultListView(this), ids::kResultList);
  list_->SetTextLookup(services_.text);
  list_->SetSettingWriter([this](const QString& section, const IniEntries& values) {
    if (services_.store != nullptr) services_.store->WriteStrings(section, values);
  });
  if (services_.store != nullptr) {
    list_->RestoreColumnWidths(
        services_.store->ReadString(kProgramSection, QString::fromLatin1(kColumnWidthsKey), {}));
  }
  list_->SetShowRowToolbars(options_.m_ShowListToolbar.value != 0);
  list_->SetLeftRightMarks(options_.m_LeftRightSel.value == 1);
  alert_ = new PathAlert(
      this, [](QWidget* field, bool red) { static_cast<C2017ComboBoxEx*>(field)->SetAlert(red); });
}

void CImgCmp2017::ApplyFonts() {
  // The menu font, not italic, at weight 900; B and C at fixed pixel heights.
  QFont base = QApplication::font("QMenu");
  base.setItalic(false);
  base.setWeight(QFont::Black);
  font_a_ = base;
  font_b_ = base;
  font_b_.setPixelSize(12);
  font_c_ = base;
  font_c_.setPixelSize(14);
  status_->setFont(font_c_);
  start_->setFont(font_c_);
  label_load_->setFont(font_a_);
  label_result_->setFont(font_a_);
  rules_bar_->setFont(font_b_);
  search_bar_->setFont(font_b_);
}

void CImgCmp2017::CaptureTemplateRects() {
  const int status_height =
      std::max({QFontMetrics(font_c_).height() + 6, rules_bar_->ButtonHeight(), 20});
  const int label_height =
      std::max(QFontMetrics(font_a_).height() + 4, start_->sizeHint().height() - 4);
  const int field_height = fields_[1]->sizeHint().height();
  captured_ = MakeTemplateRects(std::min(status_height, 24), label_height, field_height);
}

void CImgCmp2017::LayoutWindow() {
  LayoutInput input{width(),
                    height(),
                    captured_,
                    options_.m_compare_mode.value,
                    search_bar_->ButtonCount(),
                    search_bar_->ButtonHeight()};
  layout_ = dupliora::LayoutWindow(input);
  const WindowLayout& l = layout_;
  previews_->Place(l.preview_band);
  progress_->setGeometry(l.progress.ToQRect());
  status_->setGeometry(l.status.ToQRect());
  rules_bar_->setGeometry(l.rules_bar.ToQRect());
  label_load_->setGeometry(l.label_load.ToQRect());
  start_->setGeometry(l.start.ToQRect());
  label_result_->setGeometry(l.label_result.ToQRect());
  fields_[0]->setGeometry(l.field1.ToQRect());
  browse_[0]->setGeometry(l.browse1.ToQRect());
  browse_append_[0]->setGeometry(l.browse_append1.ToQRect());
  for (QWidget* w : {static_cast<QWidget*>(fields_[0]), static_cast<QWidget*>(browse_[0]),
                     static_cast<QWidget*>(browse_append_[0])}) {
    w->setVisible(l.first_field_visible);
  }
  fields_[1]->setGeometry(l.field2.ToQRect());
  browse_[1]->setGeometry(l.browse2.ToQRect());
  browse_append_[1]->setGeometry(l.browse_append2.ToQRect());
  // The bar's buttons take its top row; the list covers the rest of its window.
  QRect bar = l.search_bar.ToQRect();
  bar.setHeight(std::min(bar.height(), l.list_area.top - l.search_bar.top));
  search_bar_->setGeometry(bar);
  list_->setGeometry(l.list_area.ToQRect());
  if (list_file_view_ != nullptr) list_file_view_->setGeometry(l.list_area.ToQRect());
  update();
}

QLabel* CImgCmp2017::Label(int id) const {
  switch (id) {
    case ids::kLabelLoad:
      return label_load_;
    case ids::kLabelResult:
      return label_result_;
    case ids::kStatusLine:
      return status_;
  }
  return nullptr;
}

void CImgCmp2017::resizeEvent(QResizeEvent*) { LayoutWindow(); }

void CImgCmp2017::closeEvent(QCloseEvent* event) {
  StopAndWait();
  event->accept();
}

void CImgCmp2017::OnLanguageChanged() {
  RefreshLanguageTexts();
  RefreshOptionTexts();
}

void CImgCmp2017::RefreshLanguageTexts() {
  list_->RefreshLanguageTexts();
  // The prompt follows the language until a run replaces it.
  if (status_->text() == idle_prompt_) status_->setText(idle_prompt_ = Text(text::kIdlePrompt));
  // During a run the button keeps its stop caption.
  start_->setText(Text(running_ ? text::kStopCaption : text::kStartCaption));
  previews_->RefreshTexts();
}

void CImgCmp2017::OnActivityTimer() {
  // One seed for every window of the program, never reset.
  static std::uint32_t seed = 5323;
  progress_->setValue(NextActivityPosition(seed));
}

void CImgCmp2017::SelectAllRows() { list_->SelectAll(); }

}  // namespace dupliora
