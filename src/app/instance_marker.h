// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QLockFile>
#include <QString>
#include <cstdint>
#include <memory>

namespace dupliora {

class CMyProfStr;

// Marks this process as a running instance: one lock file per running
// instance in the user's runtime folder, so the marker lives as long as any
// instance runs. A lock whose process has died is stale and taken over, so a
// crash never leaves a false marker behind.
class InstanceMarker {
 public:
  // `folder` empty: the user's runtime folder.
  explicit InstanceMarker(const QString& instanceName, const QString& folder = {});
  ~InstanceMarker();

  // True when another instance held its marker when this one was created.
  bool OtherInstanceRunning() const { return other_running_; }

 private:
  std::unique_ptr<QLockFile> lock_;
  bool other_running_ = false;
};

// The number of this instance: the stored counter plus one when another
// instance runs; otherwise 0, which is stored as the new counter. The counter
// lives in "Start" of the settings file (portable or per user alike).
std::uint32_t AssignInstanceNumber(bool otherInstanceRunning, CMyProfStr& settings,
                                   const QString& instanceName, std::uint32_t current);

}  // namespace dupliora
