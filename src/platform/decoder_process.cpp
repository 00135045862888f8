// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/decoder_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <chrono>
#include <thread>

#include "imaging/decode_budget.h"

extern char** environ;

namespace dupliora::decoder {

namespace {

using Clock = std::chrono::steady_clock;

// A process whose socket closed is normally dead already; this long it may
// take to finish dying before it is killed.
constexpr auto kDyingGrace = std::chrono::milliseconds(200);

// Hands the child its end as kServiceFd, and /dev/null as its standard
// streams unless DUPLIORA_DECODER_STDERR asks to see what decoders print.
bool SpawnWith(const QString& program, int child_fd, pid_t& pid) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, child_fd, kServiceFd);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (qEnvironmentVariableIsEmpty("DUPLIORA_DECODER_STDERR")) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  const QByteArray path = QFile::encodeName(program);
  char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>(kServiceArgument),
                  nullptr};
  const int error = ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0;
}

JobStatus StatusOfDeath(int wait_status) {
  if (WIFSIGNALED(wait_status)) {
    switch (WTERMSIG(wait_status)) {
      case SIGXCPU:
        return JobStatus::kTimedOut;
      case SIGKILL:  // not ours: the kernel's out-of-memory killer
        return JobStatus::kOutOfMemory;
      default:
        return JobStatus::kCrashed;
    }
  }
  return JobStatus::kCrashed;
}

QByteArray BytesPayload(std::int64_t bytes) {
  QByteArray payload;
  QDataStream stream(&payload, QIODevice::WriteOnly);
  stream << static_cast<qint64>(bytes);
  return payload;
}

std::int64_t BytesOf(const QByteArray& payload) {
  qint64 bytes = 0;
  QDataStream stream(payload);
  stream >> bytes;
  return bytes;
}

}  // namespace

std::unique_ptr<DecoderProcess> DecoderProcess::Start(const QString& program) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return nullptr;
  pid_t pid = -1;
  const bool started = SpawnWith(program, ends[1], pid);
  ::close(ends[1]);
  if (!started) {
    ::close(ends[0]);
    return nullptr;
  }
  ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
  return std::unique_ptr<DecoderProcess>(new DecoderProcess(pid, ends[0]));
}

DecoderProcess::~DecoderProcess() {
  ::close(fd_);
  if (pid_ > 0) Kill(JobStatus::kStopped);
}

JobStatus DecoderProcess::Kill(JobStatus status) {
  reusable_ = false;
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  return status;
}

JobStatus DecoderProcess::Bury() {
  reusable_ = false;
  const auto give_up = Clock::now() + kDyingGrace;
  int wait_status = 0;
  while (pid_ > 0) {
    const pid_t done = ::waitpid(pid_, &wait_status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      return StatusOfDeath(wait_status);
    }
    if (done < 0 || Clock::now() >= give_up) return Kill(JobStatus::kCrashed);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return JobStatus::kCrashed;
}

JobResult DecoderProcess::Run(const QByteArray& job, const JobLimits& limits,
                              const std::atomic<bool>* stop) {
  if (!reusable_) return {JobStatus::kUnavailable, {}};
  if (!WriteFrame(fd_, FrameType::kJob, job)) {
    Bury();
    return {JobStatus::kUnavailable, {}};
  }
  MemoryBudget& budget = SharedDecodeBudget();
  std::int64_t held = 0;
  const auto give_back = [&] {
    budget.Release(held);
    held = 0;
  };
  Deadline deadline = Clock::now() + limits.wall;
  for (;;) {
    FrameHeader header{};
    QByteArray payload;
    const WaitResult wait = ReadFrameBefore(fd_, header, payload, deadline, stop);
    if (wait != WaitResult::kReady) {
      give_back();
      if (wait == WaitResult::kStopped) return {Kill(JobStatus::kStopped), {}};
      if (wait == WaitResult::kTimedOut) return {Kill(JobStatus::kTimedOut), {}};
      return {Bury(), {}};
    }
    if (header.type == FrameType::kReply) {
      give_back();
      QDataStream in(payload);
      quint32 status = 0;
      QByteArray reply;
      in >> status >> reply;
      if (static_cast<JobStatus>(status) != JobStatus::kDone) reusable_ = false;
      return {static_cast<JobStatus>(status), reply};
    }
    if (header.type == FrameType::kMemoryAsk) {
      const auto asked_at = Clock::now();
      const std::int64_t granted = budget.Acquire(BytesOf(payload), stop);
      held += granted;
      deadline += Clock::now() - asked_at;  // waiting for memory is not decoding
      if (granted == 0 && stop != nullptr && stop->load()) {
        give_back();
        return {Kill(JobStatus::kStopped), {}};
      }
      WriteFrame(fd_, FrameType::kMemoryGrant, BytesPayload(granted));
    } else if (header.type == FrameType::kMemoryReturn) {
      const std::int64_t returned = std::min(held, BytesOf(payload));
      budget.Release(returned);
      held -= returned;
    }
  }
}

}  // namespace dupliora::decoder
