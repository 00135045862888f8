// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/decoder_protocol.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace dupliora::decoder {

namespace {

constexpr auto kStopPoll = std::chrono::milliseconds(50);

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::send(fd, data, size, MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno == EAGAIN) {
      pollfd wait{fd, POLLOUT, 0};
      ::poll(&wait, 1, -1);
      continue;
    }
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool ReadAll(int fd, char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t got = ::read(fd, data, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    data += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

WaitResult ReadAllBefore(int fd, char* data, std::size_t size, const Deadline& deadline,
                         const std::atomic<bool>* stop) {
  while (size > 0) {
    if (stop != nullptr && stop->load()) return WaitResult::kStopped;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return WaitResult::kTimedOut;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    pollfd wait{fd, POLLIN, 0};
    const int ready = ::poll(&wait, 1, static_cast<int>(std::min(left, kStopPoll).count()) + 1);
    if (ready <= 0) continue;
    const ssize_t got = ::read(fd, data, size);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return WaitResult::kClosed;
    data += got;
    size -= static_cast<std::size_t>(got);
  }
  return WaitResult::kReady;
}

}  // namespace

bool WriteFrame(int fd, FrameType type, const QByteArray& payload) {
  const FrameHeader header{type, static_cast<std::uint32_t>(payload.size())};
  return WriteAll(fd, reinterpret_cast<const char*>(&header), sizeof header) &&
         WriteAll(fd, payload.constData(), static_cast<std::size_t>(payload.size()));
}

bool ReadFrame(int fd, FrameHeader& header, QByteArray& payload) {
  if (!ReadAll(fd, reinterpret_cast<char*>(&header), sizeof header)) return false;
  if (header.size > kMaxFrameBytes) return false;
  payload.resize(static_cast<qsizetype>(header.size));
  return ReadAll(fd, payload.data(), header.size);
}

WaitResult ReadFrameBefore(int fd, FrameHeader& header, QByteArray& payload,
                           const Deadline& deadline, const std::atomic<bool>* stop) {
  WaitResult result =
      ReadAllBefore(fd, reinterpret_cast<char*>(&header), sizeof header, deadline, stop);
  if (result != WaitResult::kReady) return result;
  if (header.size > kMaxFrameBytes) return WaitResult::kClosed;
  payload.resize(static_cast<qsizetype>(header.size));
  return ReadAllBefore(fd, payload.data(), header.size, deadline, stop);
}

}  // namespace dupliora::decoder
