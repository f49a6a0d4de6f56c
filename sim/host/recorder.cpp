// The transcript: every observable thing the host sees, one JSON object per
// line, in the order it happened.
#include "host_state.h"

namespace sim {

void Record(Json line) {
  auto& s = State();
  if (s.sink) {
    try {
      s.sink(line);
    } catch (...) {
      // A failing sink must not stop the host; the line stays in the transcript.
    }
  }
  s.transcript.push_back(std::move(line));
}

void SetTranscriptSink(std::function<void(const Json&)> sink) { State().sink = std::move(sink); }

std::vector<Json> TakeTranscript() {
  std::vector<Json> out;
  out.swap(State().transcript);
  return out;
}

std::string ToText(const Json& line) {
  return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void RecordMisuse(const char* call, const char* what) {
  Record(Json{{"kind", "misuse"}, {"call", call}, {"what", what}});
}

void RecordFault(const char* call, const char* what) {
  Record(Json{{"kind", "error"}, {"text", std::string(call) + ": " + what}});
}

}  // namespace sim
