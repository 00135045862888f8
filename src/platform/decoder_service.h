// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>

#include "platform/decoder_protocol.h"

namespace dupliora::decoder {

// Address space a decoder process may add to what it holds once its
// libraries are loaded: one decode of kMaxDecodeBytes with room to scale it.
inline constexpr std::int64_t kDecoderHeapBytes = std::int64_t{1} << 30;

// Turns a job's body into its reply; runs in the decoder process.
using JobHandler = std::function<QByteArray(const QByteArray& body)>;
using JobHandlers = std::map<JobKind, JobHandler>;

// With DUPLIORA_DECODER_TEST_FAULTS=1 in its environment, a decoder process
// crashes on a file whose name contains "@crash@" and hangs on one whose name
// contains "@hang@", so tests can show what the program does when a real
// decoder misbehaves. Without the variable it does nothing.
void InjectTestFault(const QString& path);

// The decoder program's loop: limits the process (no core files, the address
// space above, a CPU time limit per job), lets large decodes ask the program
// for memory, then answers jobs on kServiceFd until the program closes its
// end, or ends at once when the program goes away in the middle of a job.
// The test jobs (kEcho .. kSpin) are answered here. Returns the exit code.
int ServeDecoderJobs(const JobHandlers& handlers);

}  // namespace dupliora::decoder
