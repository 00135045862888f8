// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "platform/decoder_pool.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <cstdlib>

namespace dupliora::decoder {

namespace {

constexpr char kProgramName[] = "dupliora-decoder";
// Idle processes kept beyond this are ended.
constexpr std::size_t kMaxIdle = 8;

// What decoding reads from the environment: the thumbnail cache's place, and
// the switch of InjectTestFault.
constexpr std::array<const char*, 3> kMirroredVariables = {"HOME", "XDG_CACHE_HOME",
                                                           "DUPLIORA_DECODER_TEST_FAULTS"};

QString RunningProgramFolder() {
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  return QFileInfo(self.canonicalFilePath()).absolutePath();
}

bool IsProgram(const QString& path) {
  const QFileInfo info(path);
  return info.isFile() && info.isExecutable();
}

QByteArray JobPayload(JobKind kind, const QByteArray& body, const JobLimits& limits) {
  QByteArray payload;
  QDataStream out(&payload, QIODevice::WriteOnly);
  out << static_cast<quint32>(kind) << static_cast<quint32>(limits.cpu_seconds);
  out << static_cast<quint32>(kMirroredVariables.size());
  for (const char* name : kMirroredVariables) {
    out << QByteArray(name) << qEnvironmentVariableIsSet(name) << qgetenv(name);
  }
  out << body;
  return payload;
}

}  // namespace

DecoderPool& DecoderPool::Shared() {
  // Never destroyed, so no thread can find it gone; at exit the idle
  // processes are ended and waited for (busy ones end when their socket
  // closes with the program).
  static DecoderPool* pool = [] {
    std::atexit([] { Shared().EndIdle(); });
    return new DecoderPool(ProgramPath());
  }();
  return *pool;
}

void DecoderPool::EndIdle() {
  std::vector<std::unique_ptr<DecoderProcess>> ended;
  std::lock_guard lock(mutex_);
  ended.swap(idle_);
}

QString DecoderPool::ProgramPath() {
  const QString chosen = qEnvironmentVariable("DUPLIORA_DECODER");
  if (!chosen.isEmpty()) return IsProgram(chosen) ? chosen : QString();
  const QString folder = RunningProgramFolder();
  for (const QString& candidate :
       {folder + u'/' + QLatin1String(kProgramName),
        QDir::cleanPath(folder + QStringLiteral("/../libexec/dupliora/") +
                        QLatin1String(kProgramName))}) {
    if (IsProgram(candidate)) return candidate;
  }
  return {};
}

void DecoderPool::Prestart(int count) {
  if (!Available()) return;
  std::lock_guard lock(mutex_);
  while (static_cast<int>(idle_.size()) < count) {
    auto process = DecoderProcess::Start(program_);
    if (process == nullptr) return;
    idle_.push_back(std::move(process));
  }
}

std::unique_ptr<DecoderProcess> DecoderPool::Take() {
  {
    std::lock_guard lock(mutex_);
    ++busy_;
    if (!idle_.empty()) {
      auto process = std::move(idle_.back());
      idle_.pop_back();
      return process;
    }
  }
  return DecoderProcess::Start(program_);
}

void DecoderPool::Give(std::unique_ptr<DecoderProcess> process) {
  std::unique_ptr<DecoderProcess> ended;
  {
    std::lock_guard lock(mutex_);
    --busy_;
    if (process == nullptr) return;
    if (process->Reusable() && idle_.size() < kMaxIdle) {
      idle_.push_back(std::move(process));
    } else {
      ended = std::move(process);  // ended outside the lock
    }
  }
}

JobLimits DefaultJobLimits() {
  JobLimits limits;
  bool given = false;
  const int wall_ms = qEnvironmentVariableIntValue("DUPLIORA_DECODER_WALL_MS", &given);
  if (given && wall_ms > 0) limits.wall = std::chrono::milliseconds(wall_ms);
  return limits;
}

JobResult DecoderPool::Run(JobKind kind, const QByteArray& body, const std::atomic<bool>* stop,
                           const JobLimits& limits) {
  if (!Available()) return {JobStatus::kUnavailable, {}};
  const QByteArray job = JobPayload(kind, body, limits);
  JobResult result;
  for (int attempt = 0; attempt < 2 && result.status == JobStatus::kUnavailable; ++attempt) {
    std::unique_ptr<DecoderProcess> process = Take();
    if (process != nullptr) result = process->Run(job, limits, stop);
    Give(std::move(process));
  }
  return result;
}

int DecoderPool::ProcessCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(idle_.size()) + busy_;
}

}  // namespace dupliora::decoder
