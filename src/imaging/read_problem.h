// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <cstdint>

namespace dupliora {

// Why the imaging services gave no picture, or a picture not to be trusted.
enum class ReadProblem : std::uint8_t {
  kNone = 0,
  kUnreadable,   // cannot be opened: vanished, no permission
  kSpecialFile,  // a FIFO, socket, device or folder: never opened
  kNotAPicture,  // no decoder recognises it
  kDamaged,      // the decoder found the data truncated or corrupt
  kTooLarge,     // refused before decoding: beyond the memory limits
};

// Collects the problems reported on the calling thread while it lives.
// Watches nest: a problem reaches every watch of the thread, so a caller
// learns what went wrong anywhere below it without new return values.
class ReadProblemWatch {
 public:
  ReadProblemWatch();
  ~ReadProblemWatch();
  ReadProblemWatch(const ReadProblemWatch&) = delete;
  ReadProblemWatch& operator=(const ReadProblemWatch&) = delete;

  // The first problem reported, kNone when there was none.
  ReadProblem First() const { return first_; }
  bool Saw(ReadProblem problem) const { return (seen_ & Bit(problem)) != 0; }

 private:
  friend void ReportReadProblem(ReadProblem problem);
  static std::uint32_t Bit(ReadProblem problem) { return 1u << static_cast<int>(problem); }

  ReadProblemWatch* outer_;
  std::uint32_t seen_ = 0;
  ReadProblem first_ = ReadProblem::kNone;
};

// Tells every watch of the calling thread.
void ReportReadProblem(ReadProblem problem);

// Decoders that find damaged data but still return a picture say so only in
// a log message (libjpeg fills a cut JPEG with grey and warns); this hook
// turns such messages into a kDamaged report on the decoding thread. Installed
// once; earlier message handlers still get every message.
void InstallDecoderWarningHook();

}  // namespace dupliora
