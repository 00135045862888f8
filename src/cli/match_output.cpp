// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Dupliora developers
#include "cli/match_output.h"

#include <cerrno>

#include "engine/record_path.h"

namespace dupliora {

QByteArray EscapeTsvField(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  QByteArray out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

QByteArray JsonString(const QString& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  const QByteArray utf8 = text.toUtf8();
  QByteArray out;
  out.reserve(utf8.size() + 2);
  out += '"';
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

MatchWriter::MatchWriter(std::FILE* out, bool json, std::function<void()> on_error)
    : out_(out), json_(json), on_error_(std::move(on_error)) {}

void MatchWriter::Fail(int error) {
  if (error_ != 0) return;
  error_ = error != 0 ? error : EIO;
  if (on_error_) on_error_();
}

void MatchWriter::Put(const char* data, std::size_t size) {
  if (error_ != 0 || size == 0) return;
  errno = 0;
  if (std::fwrite(data, 1, size, out_) != size || std::ferror(out_)) Fail(errno);
}

const QByteArray& MatchWriter::PathText(const ImageRecord* record) {
  auto [it, added] = paths_.try_emplace(record);
  if (added) {
    const QString path = RecordPath(*record);
    it->second = json_ ? JsonString(path) : EscapeTsvField(path);
  }
  return it->second;
}

void MatchWriter::Write(const std::vector<MatchResult>& batch) {
  if (!enabled_) return;
  for (const MatchResult& m : batch) {
    if (error_ != 0) return;
    line_.clear();
    if (json_) {
      line_ += json_open_ ? ",\n" : "{\"matches\": [\n";
      json_open_ = true;
      line_ += "  {\"first\": " + PathText(m.first) + ", \"second\": " + PathText(m.second) +
               ", \"similarity\": " + QByteArray::number(m.similarity) +
               ", \"ratio\": " + QByteArray::number(m.ratio) +
               ", \"rotation\": " + QByteArray::number(m.rotation) +
               ", \"flip\": " + QByteArray::number(m.flip) +
               ", \"negative\": " + QByteArray::number(m.negative) + '}';
    } else {
      line_ += PathText(m.first) + '\t' + PathText(m.second) + '\t' +
               QByteArray::number(m.similarity) + '\t' + QByteArray::number(m.ratio) + '\t' +
               QByteArray::number(m.rotation) + '\t' + QByteArray::number(m.flip) + '\t' +
               QByteArray::number(m.negative) + '\n';
    }
    Put(line_);
  }
}

bool MatchWriter::Finish(const RunSummary& s, const LeftOutFiles& left_out) {
  if (json_) {
    QByteArray tail = json_open_ ? "\n" : "{\"matches\": [";
    tail += "],\n\"summary\": {";
    const auto field = [&](const char* name, qint64 value, bool last = false) {
      tail += QByteArray("\"") + name + "\": " + QByteArray::number(value) + (last ? "" : ", ");
    };
    field("loaded", s.loaded);
    tail += "\"left_out\": {";
    bool first_reason = true;
    for (int k = 0; k < kLeftOutReasonCount; ++k) {
      const auto reason = static_cast<LeftOutReason>(k);
      if (left_out.Count(reason) == 0) continue;
      tail += QByteArray(first_reason ? "\"" : ", \"") + ReasonKey(reason) +
              "\": " + QByteArray::number(left_out.Count(reason));
      first_reason = false;
    }
    tail += "}, ";
    field("first_list", s.first_list);
    field("total", s.total);
    field("done", s.done);
    field("skipped", s.skipped);
    field("matches", s.matches);
    field("load_ms", s.load_ms);
    field("compare_ms", s.compare_ms);
    tail += QByteArray("\"stopped\": ") + (s.outcome == RunOutcome::kStopped ? "true" : "false") +
            "}}\n";
    Put(tail);
  }
  errno = 0;
  if (error_ == 0 && std::fflush(out_) != 0) Fail(errno);
  return error_ == 0;
}

}  // namespace dupliora
