// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/run_sink.h"
#include "imaging/read_problem.h"
#include "platform/decoder_protocol.h"

namespace dupliora {

// Why a file found by the scan takes no part in the comparison.
enum class LeftOutReason : std::uint8_t {
  kPathTooLong,  // the record cannot hold it, and a cut path names another file
  kNameNotUtf8,  // the name does not survive the trip to text and back
  kSpecialFile,  // a FIFO, socket or device
  kUnreadable,   // cannot be opened
  kNotAPicture,
  kTooSmall,  // narrower or lower than 128 pixels, or under 16384 in area
  kDamaged,   // truncated or corrupt, without a usable embedded thumbnail
  kTooLarge,  // beyond the decode memory limits
  kCrashed,   // its decoder process crashed
  kTimedOut,  // its decoder process ran out of time
};
inline constexpr int kLeftOutReasonCount = 10;

// Language texts of the reasons, in the order above, and of "Left out".
inline constexpr int kLeftOutTitleText = 300390;
inline constexpr int kFirstLeftOutReasonText = 300391;

LeftOutReason ReasonOf(ReadProblem problem);
// The reason for a job that did not finish (kDone and kStopped have none).
LeftOutReason ReasonOf(decoder::JobStatus status);
// A stable English key: "path_too_long", "damaged", ... (CLI listing, JSON).
const char* ReasonKey(LeftOutReason reason);

struct LeftOutFile {
  QByteArray path;  // as the file system spells it, which may not be UTF-8
  LeftOutReason reason;
};

// The files a run left out, in the order they were met, with counts by reason.
class LeftOutFiles {
 public:
  void Add(QByteArray path, LeftOutReason reason);
  void Add(const QString& path, LeftOutReason reason);
  void Clear();
  int Count(LeftOutReason reason) const { return counts_[static_cast<int>(reason)]; }
  int Total() const { return static_cast<int>(files_.size()); }
  const std::vector<LeftOutFile>& Files() const { return files_; }

 private:
  std::array<int, kLeftOutReasonCount> counts_{};
  std::vector<LeftOutFile> files_;
};

// "Left out: 3 (2 damaged, 1 unreadable)"; empty when nothing was left out.
QString LeftOutText(const RunTexts& texts, const LeftOutFiles& files);

}  // namespace dupliora
