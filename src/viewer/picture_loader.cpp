// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/picture_loader.h"

#include <utility>

namespace dupliora {

PictureLoader::PictureLoader(PictureSource source, Delivery deliver)
    : source_(std::move(source)), deliver_(std::move(deliver)) {}

PictureLoader::~PictureLoader() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  cancel_.store(true);
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void PictureLoader::Request(const PictureRequest& request) {
  {
    std::lock_guard lock(mutex_);
    pending_ = request;
    ++request_count_;
    if (!thread_.joinable()) thread_ = std::thread(&PictureLoader::Run, this);
  }
  wake_.notify_one();
}

bool PictureLoader::IsStale(const PictureRequest& loaded) const {
  return request_count_ != handled_count_ && !(pending_ == loaded);
}

void PictureLoader::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || request_count_ != handled_count_; });
    if (stopping_) return;
    handled_count_ = request_count_;
    const PictureRequest request = pending_;
    if (delivered_ == request) continue;  // the pane already shows it
    lock.unlock();
    const QImage picture = source_(request, cancel_);
    lock.lock();
    if (stopping_) return;
    if (IsStale(request)) continue;
    delivered_ = request;
    lock.unlock();
    deliver_(request, picture);
    lock.lock();
  }
}

}  // namespace dupliora
