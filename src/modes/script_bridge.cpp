#include "modes/script_bridge.h"

#include <windows.h>

#include <string>

#include "entry/module_state.h"
#include "host/suites.h"

namespace {

constexpr const char* kJavaScriptSuite = "JavaScript Scripting Suite";

// The text as the engine takes it: UTF-16 from the host's code page.
std::wstring Widen(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(std::size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(std::size_t(length - 1));
  return wide;
}

// Owns an engine for one run.
struct Engine {
  const host::JavaScriptSuite* suite;
  host::EngineRef ref = nullptr;
  explicit Engine(const host::JavaScriptSuite* s) : suite(s) {}
  ~Engine() {
    if (ref) suite->DeleteEngine(ref);
  }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
};

}  // namespace

bool RunJavaScript(const char* text, bool showErrors) {
  if (!text) return false;
  try {
    ScopedSuite scoped(kJavaScriptSuite, 2, 1);
    const auto* suite = static_cast<const host::JavaScriptSuite*>(scoped.suite);
    Engine engine(suite);
    if (suite->CreateEngine(&engine.ref) != 0 || !engine.ref) return false;
    const std::wstring script = Widen(text);
    const host::ASUnicode* result = nullptr;
    const auto* source = reinterpret_cast<const host::ASUnicode*>(script.c_str());
    if (suite->ExecuteScript(engine.ref, source, 1, &result) == 0) return true;
    if (showErrors) {
      const wchar_t* message = result ? reinterpret_cast<const wchar_t*>(result) : L"";
      MessageBoxW(MainWindow, message, L"JavaScript Error", MB_OK);
    }
    return false;
  } catch (const SuiteError&) {
    return false;
  }
}
