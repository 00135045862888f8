// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/decoder_service.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <new>
#include <thread>
#include <vector>

#include "imaging/decode_budget.h"

namespace dupliora::decoder {

namespace {

std::int64_t AddressSpaceInUse() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QByteArray pages = statm.readLine().split(' ').value(0);
  return pages.toLongLong() * ::sysconf(_SC_PAGESIZE);
}

void LimitProcess() {
  ::prctl(PR_SET_DUMPABLE, 0);  // a crash leaves no core file, wherever cores go
  const rlimit no_core{0, 0};
  ::setrlimit(RLIMIT_CORE, &no_core);
  const rlim_t space = static_cast<rlim_t>(AddressSpaceInUse() + kDecoderHeapBytes);
  const rlimit address_space{space, space};
  ::setrlimit(RLIMIT_AS, &address_space);
}

// A process stuck in a decoder would outlive a program that was killed.
void EndWhenProgramGoes() {
  std::thread([] {
    pollfd wait{kServiceFd, POLLRDHUP, 0};
    while (::poll(&wait, 1, -1) < 0) {
    }
    ::_exit(0);
  }).detach();
}

// Each job gets its own seconds on top of what the process has used so far.
// Only the soft limit moves: raising the hard limit needs a privilege that
// users lack, and the failed call would leave the first job's limit in force,
// ending every process after its first seconds of work in total and leaving
// good pictures out. SIGXCPU at the soft limit ends the process just as well.
void LimitCpuTime(int seconds) {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto micros = [](const timeval& t) { return t.tv_sec * 1000000LL + t.tv_usec; };
  const long long used_us = micros(usage.ru_utime) + micros(usage.ru_stime);
  const auto used = static_cast<rlim_t>((used_us + 999999) / 1000000);
  rlimit limit{};
  if (::getrlimit(RLIMIT_CPU, &limit) != 0) return;
  limit.rlim_cur = used + static_cast<rlim_t>(seconds);
  if (limit.rlim_max != RLIM_INFINITY) limit.rlim_cur = std::min(limit.rlim_cur, limit.rlim_max);
  ::setrlimit(RLIMIT_CPU, &limit);
}

void MirrorEnvironment(QDataStream& in) {
  quint32 count = 0;
  in >> count;
  for (quint32 k = 0; k < count && in.status() == QDataStream::Ok; ++k) {
    QByteArray name;
    bool set = false;
    QByteArray value;
    in >> name >> set >> value;
    if (!set) {
      qunsetenv(name.constData());
    } else if (qgetenv(name.constData()) != value) {
      qputenv(name.constData(), value);
    }
  }
}

QByteArray BytesPayload(std::int64_t bytes) {
  QByteArray payload;
  QDataStream stream(&payload, QIODevice::WriteOnly);
  stream << static_cast<qint64>(bytes);
  return payload;
}

// Large decodes wait for the program's shared budget instead of a local one.
void AskProgramForDecodeMemory() {
  DecodeMemoryGate gate;
  gate.acquire = [](std::int64_t bytes) -> std::int64_t {
    if (!WriteFrame(kServiceFd, FrameType::kMemoryAsk, BytesPayload(bytes))) ::_exit(0);
    FrameHeader header{};
    QByteArray payload;
    if (!ReadFrame(kServiceFd, header, payload) || header.type != FrameType::kMemoryGrant) {
      ::_exit(0);
    }
    qint64 granted = 0;
    QDataStream stream(payload);
    stream >> granted;
    return granted;
  };
  gate.release = [](std::int64_t bytes) {
    WriteFrame(kServiceFd, FrameType::kMemoryReturn, BytesPayload(bytes));
  };
  SetDecodeMemoryGate(std::move(gate));
}

void BlockForEver() {
  int never[2];
  if (::pipe(never) != 0) return;
  char byte;
  while (::read(never[0], &byte, 1) != 0) {
  }
}

void BurnCpu(std::chrono::milliseconds amount) {
  const auto cpu_now = [] {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
  };
  const auto until = cpu_now() + amount;
  for (volatile std::uint64_t k = 0; cpu_now() < until; k = k + 1) {
  }
}

QByteArray RunTestJob(JobKind kind, const QByteArray& body) {
  switch (kind) {
    case JobKind::kCrash:
      std::raise(SIGSEGV);
      break;
    case JobKind::kHang:
      BlockForEver();
      break;
    case JobKind::kAllocate: {
      const std::int64_t bytes = body.toLongLong() << 20;
      const DecodeMemoryHold hold(bytes);  // as a large decode asks first
      std::vector<char> block(static_cast<std::size_t>(bytes), '\1');
      return QByteArray::number(static_cast<qlonglong>(block.size()));
    }
    case JobKind::kSpin:
      for (volatile std::uint64_t k = 0;; k = k + 1) {
      }
    case JobKind::kBurn:
      BurnCpu(std::chrono::milliseconds(body.toLongLong()));
      return body;
    default:
      break;
  }
  return body;
}

QByteArray ReplyPayload(JobStatus status, const QByteArray& body) {
  QByteArray payload;
  QDataStream stream(&payload, QIODevice::WriteOnly);
  stream << static_cast<quint32>(status) << body;
  return payload;
}

}  // namespace

void InjectTestFault(const QString& path) {
  if (qEnvironmentVariableIntValue("DUPLIORA_DECODER_TEST_FAULTS") != 1) return;
  if (path.contains(QLatin1String("@crash@"))) std::raise(SIGSEGV);
  if (path.contains(QLatin1String("@hang@"))) BlockForEver();
}

int ServeDecoderJobs(const JobHandlers& handlers) {
  LimitProcess();
  EndWhenProgramGoes();
  AskProgramForDecodeMemory();
  FrameHeader header{};
  QByteArray payload;
  while (ReadFrame(kServiceFd, header, payload)) {
    if (header.type != FrameType::kJob) continue;
    QDataStream in(payload);
    quint32 kind = 0;
    quint32 cpu_seconds = 0;
    in >> kind >> cpu_seconds;
    MirrorEnvironment(in);
    QByteArray body;
    in >> body;
    LimitCpuTime(static_cast<int>(cpu_seconds));
    JobStatus status = JobStatus::kDone;
    QByteArray reply;
    try {
      const auto handler = handlers.find(static_cast<JobKind>(kind));
      reply = handler != handlers.end() ? handler->second(body)
                                        : RunTestJob(static_cast<JobKind>(kind), body);
    } catch (const std::bad_alloc&) {
      status = JobStatus::kOutOfMemory;
    }
    if (!WriteFrame(kServiceFd, FrameType::kReply, ReplyPayload(status, reply))) return 0;
    // After an allocation failure the libraries' state is not to be trusted.
    if (status != JobStatus::kDone) return 0;
  }
  return 0;
}

}  // namespace dupliora::decoder
