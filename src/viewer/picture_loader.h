// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QImage>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "viewer/picture_source.h"

namespace dupliora {

// The loader thread of one pane. The caller only records requests; the
// newest request wins: requests made while a picture loads collapse into the
// last one, and a picture that was overtaken by a different request is
// dropped instead of delivered.
class PictureLoader {
 public:
  // Called on the loader thread with each picture that is still wanted.
  using Delivery = std::function<void(const PictureRequest&, const QImage&)>;

  PictureLoader(PictureSource source, Delivery deliver);
  ~PictureLoader();  // cancels a running load, waits for it, joins the thread
  PictureLoader(const PictureLoader&) = delete;
  PictureLoader& operator=(const PictureLoader&) = delete;

  // Records the request and returns at once; starts the thread the first time.
  void Request(const PictureRequest& request);

 private:
  void Run();
  bool IsStale(const PictureRequest& loaded) const;  // mutex held

  const PictureSource source_;
  const Delivery deliver_;
  std::mutex mutex_;
  std::condition_variable wake_;
  PictureRequest pending_;
  std::uint64_t request_count_ = 0;
  std::uint64_t handled_count_ = 0;
  std::optional<PictureRequest> delivered_;
  bool stopping_ = false;
  std::atomic<bool> cancel_{false};  // ends a waiting load when the pane goes
  std::thread thread_;
};

}  // namespace dupliora
