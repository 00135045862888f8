// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/decoder_process.h"
#include "platform/decoder_protocol.h"

namespace dupliora::decoder {

// The limits of a job; DUPLIORA_DECODER_WALL_MS shortens the wall clock for
// tests that make a decoder hang.
JobLimits DefaultJobLimits();

// The decoder processes of this program: untrusted pictures are decoded in
// them, so a decoder that crashes, hangs or runs out of memory costs one file
// instead of the run or the window. One pool per program; a caller takes an
// idle process for each job or starts a new one, so there are as many as
// jobs run at once (the loader threads and the two preview panes).
class DecoderPool {
 public:
  static DecoderPool& Shared();

  // The decoder program: $DUPLIORA_DECODER, else "dupliora-decoder" beside
  // the running program, else in ../libexec/dupliora/ from it. Empty when
  // none exists.
  static QString ProgramPath();
  bool Available() const { return !program_.isEmpty(); }

  // Starts processes until `count` are idle, without waiting for them to be
  // ready: they load their libraries while the caller does other work.
  void Prestart(int count);

  // Runs one job in a decoder process. The process sees this process's
  // HOME and XDG_CACHE_HOME as they are now. A process that was found dead
  // before the job reached it is replaced once.
  JobResult Run(JobKind kind, const QByteArray& body, const std::atomic<bool>* stop,
                const JobLimits& limits = DefaultJobLimits());

  int ProcessCount() const;
  // Ends the idle processes; new jobs start new ones.
  void EndIdle();

 private:
  explicit DecoderPool(QString program) : program_(std::move(program)) {}
  std::unique_ptr<DecoderProcess> Take();
  void Give(std::unique_ptr<DecoderProcess> process);

  const QString program_;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<DecoderProcess>> idle_;
  int busy_ = 0;
};

}  // namespace dupliora::decoder
