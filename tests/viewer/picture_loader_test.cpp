// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "viewer/picture_loader.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "support/pictures.h"
#include "support/qt_print.h"

namespace dupliora {
namespace {

using namespace std::chrono_literals;

// A picture source whose loads wait until the test opens the gate, so the
// test decides what arrives while a load is running.
class GatedSource {
 public:
  PictureSource Source() {
    return [this](const PictureRequest& request, const std::atomic<bool>&) {
      std::unique_lock lock(mutex_);
      loaded_.append(request.path);
      changed_.notify_all();
      changed_.wait(lock, [this] { return open_; });
      return test::SolidImage({4, 4}, Qt::red);
    };
  }
  PictureLoader::Delivery Delivery() {
    return [this](const PictureRequest& request, const QImage&) {
      std::lock_guard lock(mutex_);
      delivered_.append(request.path);
      changed_.notify_all();
    };
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void Close() {
    std::lock_guard lock(mutex_);
    open_ = false;
  }
  bool WaitForLoads(qsizetype count) { return WaitFor(loaded_, count); }
  bool WaitForDeliveries(qsizetype count) { return WaitFor(delivered_, count); }
  // The paths loaded and the paths delivered so far.
  std::pair<QStringList, QStringList> Seen() {
    std::lock_guard lock(mutex_);
    return {loaded_, delivered_};
  }

 private:
  bool WaitFor(const QStringList& list, qsizetype count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 5s, [&] { return list.size() >= count; });
  }
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  QStringList loaded_;
  QStringList delivered_;
};

PictureRequest Ask(const QString& path) {
  return PictureRequest{path, false, false, {400, 300}, {}};
}

TEST(PictureLoaderTest, RequestsWhileBusyCollapseIntoTheLast) {
  GatedSource gate;
  PictureLoader loader(gate.Source(), gate.Delivery());
  loader.Request(Ask("busy"));
  ASSERT_TRUE(gate.WaitForLoads(1));
  loader.Request(Ask("A"));
  for (int i = 0; i < 200; ++i) loader.Request(Ask(QString("burst %1").arg(i)));
  loader.Request(Ask("B"));
  loader.Request(Ask("A"));
  gate.Open();
  ASSERT_TRUE(gate.WaitForDeliveries(1));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(gate.Seen(), std::pair(QStringList{"busy", "A"}, QStringList{"A"}));
}

TEST(PictureLoaderTest, ChangeBackDuringLoadKeepsTheShownPicture) {
  GatedSource gate;
  gate.Open();
  PictureLoader loader(gate.Source(), gate.Delivery());
  loader.Request(Ask("A"));
  ASSERT_TRUE(gate.WaitForDeliveries(1));
  gate.Close();
  loader.Request(Ask("B"));
  ASSERT_TRUE(gate.WaitForLoads(2));
  loader.Request(Ask("A"));
  gate.Open();
  std::this_thread::sleep_for(100ms);
  // B was overtaken by A, and A is on screen already: nothing to load.
  EXPECT_EQ(gate.Seen(), std::pair(QStringList{"A", "B"}, QStringList{"A"}));
}

}  // namespace
}  // namespace dupliora
