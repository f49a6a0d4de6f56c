// The JavaScript suite: scripts are recorded, not run; each answers the
// scenario's next "answers.scripts" entry (a text, default empty).
#include "host_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("javascript", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("javascript", fn)

namespace sim {
namespace {

using host::ASErr;
using host::EngineRef;

std::string Utf16ToUtf8(const host::ASUnicode* text) {
  std::wstring wide;
  for (const host::ASUnicode* p = text; *p; ++p) wide += wchar_t(*p);
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// The engine owns the result text until its next script.
std::u16string& ResultText() {
  static std::u16string text;
  return text;
}

host::ASBoolean ScriptIsRunning() { return 0; }
ASErr CreateEngine(EngineRef* engine) {
  return Guard<ASErr>("JavaScript.CreateEngine", err::kNoMemory, [&]() -> ASErr {
    if (!engine) return Misuse("JavaScript.CreateEngine", "null out pointer", err::kBadParameter);
    *engine = reinterpret_cast<EngineRef>(State().engines.Add(0));
    return host::kNoError;
  });
}
ASErr DeleteEngine(EngineRef engine) {
  return Guard<ASErr>("JavaScript.DeleteEngine", err::kBadParameter, [&]() -> ASErr {
    if (!State().engines.Remove(engine)) return Misuse("JavaScript.DeleteEngine", "unknown engine", err::kBadParameter);
    return host::kNoError;
  });
}
ASErr SetIncludePath(EngineRef engine, const host::ASUnicode*) {
  return State().engines.Find(engine) ? host::kNoError : Misuse("JavaScript.SetIncludePath", "unknown engine", err::kBadParameter);
}
ASErr GetIncludePath(EngineRef, host::ASUnicode*, long*) { return err::kUnimplemented; }
ASErr ExecuteScript(EngineRef engine, const host::ASUnicode* script, int, const host::ASUnicode** result) {
  return Guard<ASErr>("JavaScript.ExecuteScript", err::kBadParameter, [&]() -> ASErr {
    if (!State().engines.Find(engine)) return Misuse("JavaScript.ExecuteScript", "unknown engine", err::kBadParameter);
    if (!script) return Misuse("JavaScript.ExecuteScript", "null script", err::kBadParameter);
    std::string answer;
    const Json& answers = State().answers.contains("scripts") ? State().answers["scripts"] : Json::array();
    size_t& next = State().nextScriptAnswer;
    if (answers.is_array() && next < answers.size() && answers[next].is_string()) answer = answers[next].get<std::string>();
    ++next;
    Record(Json{{"kind", "script"}, {"text", Utf16ToUtf8(script)}, {"result", answer}});
    int n = MultiByteToWideChar(CP_UTF8, 0, answer.data(), int(answer.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, answer.data(), int(answer.size()), wide.data(), n);
    ResultText().assign(wide.begin(), wide.end());
    if (result) *result = reinterpret_cast<const host::ASUnicode*>(ResultText().c_str());
    return host::kNoError;
  });
}
ASErr CreateEngineAPE(EngineRef* engine, std::intptr_t) { return CreateEngine(engine); }

const host::JavaScriptSuite kSuite = {SLOT_VALUE(ScriptIsRunning), SLOT(CreateEngine),  SLOT(DeleteEngine),   SLOT(SetIncludePath),
                                      SLOT(GetIncludePath),  SLOT(ExecuteScript), SLOT(CreateEngineAPE)};

}  // namespace

// Version 2 is offered; version 1 is its first six slots.
const void* JavaScriptSuiteTable(std::int32_t version) { return version >= 1 && version <= 2 ? &kSuite : nullptr; }

}  // namespace sim
