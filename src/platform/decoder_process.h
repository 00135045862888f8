// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>

#include "platform/decoder_protocol.h"

namespace dupliora::decoder {

struct JobResult {
  JobStatus status = JobStatus::kUnavailable;
  QByteArray reply;
};

// One decoder process as the program sees it: started with its socket on
// kServiceFd, given one job at a time, killed when a job overruns or the
// caller stops, and ended (its socket closed, then killed) when destroyed.
class DecoderProcess {
 public:
  // Null when the program cannot be started.
  static std::unique_ptr<DecoderProcess> Start(const QString& program);
  ~DecoderProcess();
  DecoderProcess(const DecoderProcess&) = delete;
  DecoderProcess& operator=(const DecoderProcess&) = delete;

  // Sends the job and waits for its reply, answering the process's requests
  // for decode memory from SharedDecodeBudget meanwhile. kUnavailable when
  // the process was gone before the job reached it (not the job's fault).
  JobResult Run(const QByteArray& job, const JobLimits& limits, const std::atomic<bool>* stop);

  // False once the process died, was killed or must not be reused.
  bool Reusable() const { return reusable_; }
  pid_t Pid() const { return pid_; }

 private:
  DecoderProcess(pid_t pid, int fd) : pid_(pid), fd_(fd) {}
  JobStatus Kill(JobStatus status);
  JobStatus Bury();

  pid_t pid_;
  int fd_;
  bool reusable_ = true;
};

}  // namespace dupliora::decoder
