// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "compare_window/window/button_bar.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>

namespace dupliora {
namespace {

// Equal widths leave long option texts too little room; they end in "..."
// instead of running into the next button (the tooltip keeps the whole text).
class ElidingToolButton : public QToolButton {
 public:
  using QToolButton::QToolButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    int decoration = sizeHint().width() - fontMetrics().horizontalAdvance(text());
    // A drop-down's arrow sits in the corner over the text area.
    if (menu() != nullptr && popupMode() == QToolButton::InstantPopup)
      decoration += style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, this);
    const int room = std::max(width() - decoration, 0);
    option.text = fontMetrics().elidedText(text(), Qt::ElideRight, room);
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
  }
};

}  // namespace

ButtonBar::ButtonBar(QWidget* parent) : QWidget(parent) {}

QToolButton* ButtonBar::AddButton(int id, const QString& text, const QIcon& icon) {
  auto* button = new ElidingToolButton(this);
  button->setObjectName(QString::number(id));
  button->setAutoRaise(true);
  button->setText(text);
  button->setFocusPolicy(Qt::NoFocus);
  if (!icon.isNull()) {
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  } else {
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  }
  buttons_.emplace_back(id, button);
  button->show();
  PlaceButtons();
  return button;
}

QToolButton* ButtonBar::Button(int id) const {
  for (const auto& [button_id, button] : buttons_) {
    if (button_id == id) return button;
  }
  return nullptr;
}

int ButtonBar::ButtonHeight() const {
  int height = 0;
  for (const auto& entry : buttons_) height = std::max(height, entry.second->sizeHint().height());
  return height;
}

void ButtonBar::SetButtonText(int id, const QString& text) {
  if (QToolButton* button = Button(id)) {
    button->setText(text);
    button->setToolTip(text);
  }
}

void ButtonBar::resizeEvent(QResizeEvent*) { PlaceButtons(); }

void ButtonBar::PlaceButtons() {
  if (buttons_.empty()) return;
  const int height = std::min(this->height(), std::max(ButtonHeight(), 1));
  const int equal = width() / static_cast<int>(buttons_.size());
  int x = 0;
  for (const auto& entry : buttons_) {
    entry.second->setGeometry(x, 0, equal, height);
    x += equal;
  }
}

}  // namespace dupliora
