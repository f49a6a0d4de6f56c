// Calls made to fail on purpose, and the count of every suite call they are
// measured by.
#include "host_state.h"
#include "suite_slots.h"

namespace sim {
namespace {

Fault FaultFromJson(const Json& given) {
  Fault f;
  if (!given.is_object()) return f;
  f.suite = given.value("suite", std::string());
  f.call = given.value("call", std::string());
  f.event = given.value("event", std::string());
  if (!f.event.empty()) f.eventId = IdFromText(f.event);
  if (auto it = given.find("nth"); it != given.end() && it->is_number_integer()) f.nth = it->get<std::int64_t>();
  if (auto it = given.find("error"); it != given.end() && it->is_number_integer()) f.error = it->get<std::int32_t>();
  return f;
}

std::string CallKey(std::string_view suite, std::string_view call) {
  std::string key(suite);
  key += '.';
  key += call;
  return key;
}

void RecordFired(const Fault& f) {
  Json line = {{"kind", "fault"}};
  if (f.event.empty()) {
    line["suite"] = f.suite;
    line["call"] = f.call;
  } else {
    line["event"] = f.event;
  }
  line["nth"] = f.nth;
  line["error"] = f.error;
  Record(std::move(line));
}

// The first armed fault that this count makes fire.
template <class Matches>
std::optional<std::int32_t> Fire(std::int64_t count, Matches matches) {
  for (Fault& f : State().faults) {
    if (f.fired || !matches(f) || count - f.base != f.nth) continue;
    f.fired = true;
    RecordFired(f);
    return f.error;
  }
  return std::nullopt;
}

}  // namespace

void ResetFaults(const Json& scenario) {
  auto& s = State();
  s.faults.clear();
  s.callCounts.clear();
  s.playCounts.clear();
  s.recordCalls = scenario.is_object() && scenario.value("recordCalls", false);
  if (scenario.is_object() && scenario.contains("faults") && scenario["faults"].is_array())
    for (const Json& f : scenario["faults"]) s.faults.push_back(FaultFromJson(f));
}

void ArmFaults(const Json& faults) {
  auto& s = State();
  std::erase_if(s.faults, [](const Fault& f) { return !f.fired; });
  if (!faults.is_array()) return;
  for (const Json& given : faults) {
    Fault f = FaultFromJson(given);
    if (f.event.empty()) {
      auto it = s.callCounts.find(CallKey(f.suite, f.call));
      f.base = it == s.callCounts.end() ? 0 : it->second;
    } else {
      auto it = s.playCounts.find(f.eventId);
      f.base = it == s.playCounts.end() ? 0 : it->second;
    }
    s.faults.push_back(std::move(f));
  }
}

std::optional<std::int32_t> CountSuiteCall(const char* suite, const char* call) noexcept {
  try {
    auto& s = State();
    const std::int64_t count = ++s.callCounts[CallKey(suite, call)];
    if (s.recordCalls) Record(Json{{"kind", "call"}, {"suite", suite}, {"call", call}, {"nth", count}});
    return Fire(count, [&](const Fault& f) { return f.event.empty() && f.suite == suite && f.call == call; });
  } catch (...) {
    return std::nullopt;   // out of memory while counting: the call does its work
  }
}

std::optional<std::int32_t> CountEventPlay(TypeID event) {
  const std::int64_t count = ++State().playCounts[event];
  return Fire(count, [&](const Fault& f) { return !f.event.empty() && f.eventId == event; });
}

}  // namespace sim
