// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
// What the program and its decoder processes say to each other over their
// socket: frames of a fixed header and a payload. Both ends are always of the
// same build, so the numbers need no versioning.
#pragma once

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace dupliora::decoder {

// What a decoder process is asked to do.
enum class JobKind : std::uint32_t {
  kProbe = 1,        // the scan's question: a picture of at least 128 x 128?
  kRecord = 2,       // the load phase: the file's image record
  kPanePicture = 3,  // a preview pane's picture
  // Jobs that misbehave on purpose, so the guard itself can be tested
  // against the real decoder program.
  kEcho = 100,
  kCrash = 101,
  kHang = 102,      // blocks in a read that never returns
  kAllocate = 103,  // allocates and touches the number of MB given
  kSpin = 104,      // burns CPU time for ever
  kBurn = 105,      // burns the milliseconds of CPU time given, then answers
};

// How a job ended.
enum class JobStatus : std::uint32_t {
  kDone = 0,         // the reply holds the result
  kCrashed = 1,      // the process died
  kTimedOut = 2,     // it ran past its wall-clock or CPU time and was killed
  kOutOfMemory = 3,  // it ran out of its address space
  kStopped = 4,      // the caller's stop request ended it
  kUnavailable = 5,  // no decoder process could be started
};

// Per-job limits. The wall clock does not run while the job waits for the
// shared decode budget.
struct JobLimits {
  std::chrono::milliseconds wall{20000};
  int cpu_seconds = 20;
};

enum class FrameType : std::uint32_t {
  kJob = 1,           // program -> process: kind, limits, environment, body
  kReply = 2,         // process -> program: status, body
  kMemoryAsk = 3,     // process -> program: bytes a large decode needs
  kMemoryGrant = 4,   // program -> process: bytes granted
  kMemoryReturn = 5,  // process -> program: bytes given back
};

struct FrameHeader {
  FrameType type;
  std::uint32_t size;
};

// A reply larger than this is not believed (a pane picture is at most a few
// tens of MB).
inline constexpr std::uint32_t kMaxFrameBytes = 512u << 20;

// The descriptor a decoder process finds its socket on.
inline constexpr int kServiceFd = 3;
// The argument that starts the decoder program as a service.
inline constexpr char kServiceArgument[] = "--decoder-service";

// Blocking whole-frame I/O (the decoder process's side). Writes never raise
// SIGPIPE; false when the other end is gone.
bool WriteFrame(int fd, FrameType type, const QByteArray& payload);
bool ReadFrame(int fd, FrameHeader& header, QByteArray& payload);

// The program's side reads with a deadline and a stop flag, polled every
// 50 ms, so a stop request ends a wait within a fraction of a second.
enum class WaitResult { kReady, kClosed, kTimedOut, kStopped };
using Deadline = std::chrono::steady_clock::time_point;
WaitResult ReadFrameBefore(int fd, FrameHeader& header, QByteArray& payload,
                           const Deadline& deadline, const std::atomic<bool>* stop);

}  // namespace dupliora::decoder
