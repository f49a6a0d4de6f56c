// The JavaScript suite: each engine the plug-in creates is a heap of the
// host's JavaScript engine (script_engine.cpp); every script it runs is
// recorded as a `script` line with the host's result.
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

// Scripts under way: the suite's own answer to whether one runs.
int& RunningScripts() {
  static int running = 0;
  return running;
}

host::ASBoolean ScriptIsRunning() { return RunningScripts() > 0 ? 1 : 0; }
ASErr CreateEngine(EngineRef* engine) {
  return Guard<ASErr>("JavaScript.CreateEngine", err::kNoMemory, [&]() -> ASErr {
    if (!engine) return Misuse("JavaScript.CreateEngine", "null out pointer", err::kBadParameter);
    ScriptHeap heap = NewScriptHeap();
    if (!heap) return err::kNoMemory;
    *engine = reinterpret_cast<EngineRef>(State().engines.Add(std::move(heap)));
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
// The result text is the script's completion value, or the engine's error
// message when the script failed (the answer is then 'ScEr').
ASErr ExecuteScript(EngineRef engine, const host::ASUnicode* script, int, const host::ASUnicode** result) {
  return Guard<ASErr>("JavaScript.ExecuteScript", err::kBadParameter, [&]() -> ASErr {
    ScriptHeap* heap = State().engines.Find(engine);
    if (!heap) return Misuse("JavaScript.ExecuteScript", "unknown engine", err::kBadParameter);
    if (!script) return Misuse("JavaScript.ExecuteScript", "null script", err::kBadParameter);
    const std::string text = Utf16ToUtf8(script);
    ++RunningScripts();
    const ScriptOutcome outcome = RunScript(heap->get(), text);
    --RunningScripts();
    const ASErr answer = outcome.ran ? host::kNoError : kScriptError;
    Json line = {{"kind", "script"}, {"text", text}, {"result", answer}};
    if (!outcome.ran) line["message"] = outcome.text;
    Record(std::move(line));
    const int n = MultiByteToWideChar(CP_UTF8, 0, outcome.text.data(), int(outcome.text.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, outcome.text.data(), int(outcome.text.size()), wide.data(), n);
    ResultText().assign(wide.begin(), wide.end());
    if (result) *result = reinterpret_cast<const host::ASUnicode*>(ResultText().c_str());
    return answer;
  });
}
ASErr CreateEngineAPE(EngineRef* engine, std::intptr_t) { return CreateEngine(engine); }

const host::JavaScriptSuite kSuite = {SLOT_VALUE(ScriptIsRunning), SLOT(CreateEngine),  SLOT(DeleteEngine),   SLOT(SetIncludePath),
                                      SLOT(GetIncludePath),  SLOT(ExecuteScript), SLOT(CreateEngineAPE)};

}  // namespace

// Version 2 is offered; version 1 is its first six slots.
const void* JavaScriptSuiteTable(std::int32_t version) { return version >= 1 && version <= 2 ? &kSuite : nullptr; }

}  // namespace sim
