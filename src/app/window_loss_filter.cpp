// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "app/window_loss_filter.h"

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define DUPLIORA_HAS_XCB 1
#endif

namespace dupliora {

WindowLossFilter::WindowLossFilter(WId window, std::function<void()> on_lost)
    : window_(window), on_lost_(std::move(on_lost)) {}

bool WindowLossFilter::nativeEventFilter(const QByteArray& event_type, void* message, qintptr*) {
#ifdef DUPLIORA_HAS_XCB
  if (event_type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The high bit marks events another client sent; a destroy is a destroy either way.
  if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
  const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
  if (destroyed->window == window_ && on_lost_) on_lost_();
#else
  (void)event_type;
  (void)message;
#endif
  return false;  // Qt still learns of it
}

}  // namespace dupliora
