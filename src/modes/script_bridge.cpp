#include "modes/script_bridge.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "host/suites.h"
#include "modes/script_text.h"

bool ScriptingUiActivated = false;
std::vector<std::string> LoadedActionFiles;

namespace {

constexpr const char* kJavaScriptSuite = "JavaScript Scripting Suite";
constexpr const char* kActivationSetName = "Quillbright";

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

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHolder = std::unique_ptr<std::FILE, CloseFile>;

// Writes a whole file; a file that could not be written whole is removed.
bool WriteWholeFile(const char* path, const void* bytes, std::size_t size) {
  FileHolder file(std::fopen(path, "wb"));
  if (!file) return false;
  bool written = std::fwrite(bytes, 1, size, file.get()) == size;
  written = std::fclose(file.release()) == 0 && written;
  if (!written) DeleteFileA(path);
  return written;
}

// Removes the temporary files of one activation on every path.
struct TemporaryFile {
  char path[kBridgePathSize] = {};
  bool made = false;
  TemporaryFile() = default;
  ~TemporaryFile() {
    if (made) DeleteFileA(path);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
};

bool TemporaryPath(TemporaryFile& file, const char* folder, const char* name) {
  const int length = std::snprintf(file.path, sizeof file.path, "%s%s", folder, name);
  return length > 0 && std::size_t(length) < sizeof file.path;
}

}  // namespace

bool RunJavaScript(const char* text, bool showErrors, bool activateFirst) {
  if (!text) return false;
  try {
    ScopedSuite scoped(kJavaScriptSuite, 2, 1);
    const auto* suite = static_cast<const host::JavaScriptSuite*>(scoped.suite);
    Engine engine(suite);
    if (suite->CreateEngine(&engine.ref) != 0 || !engine.ref) return false;
    if (activateFirst) ActivateScriptingUi();
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

bool LoadActionFileIntoHost(const char* path) {
  if (!path) return false;
  char script[kBridgeScriptSize] = {};
  if (!BuildLoadActionScript(path, false, script, sizeof script)) return false;
  return RunJavaScript(script, false, false);
}

std::int32_t DeleteActionSet(const char* name) {
  if (!name) return host::kBadParameterError;
  try {
    ReferenceHolder reference;
    DescriptorHolder descriptor;
    std::int32_t err = MakeReference(reference);
    if (err == 0) err = HostResult(ReferenceProcs()->PutName(reference.get(), FourCC("ASet"), name));
    if (err == 0) err = MakeDescriptor(descriptor);
    if (err == 0) err = HostResult(DescriptorProcs()->PutReference(descriptor.get(), FourCC("null"), reference.get()));
    if (err == 0) err = PlayDescriptor(FourCC("Dlt "), descriptor.get(), kDialogNone);
    return err;
  } catch (const SuiteError& error) {
    return error.code;
  }
}

void ActivateScriptingUi() {
  if (ScriptingUiActivated || !HostIsElements || HostMajorVersion != 11) return;
  if (std::strcmp(HostProductName, "Elements") != 0) return;
  char folder[kBridgePathSize] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return;

  TemporaryFile script;
  if (!TemporaryPath(script, folder, "UIActivate.jsx")) return;
  script.made = WriteWholeFile(script.path, kActivationScriptText.data(), kActivationScriptText.size());
  if (!script.made) return;

  TemporaryFile actions;
  if (!TemporaryPath(actions, folder, "Quillbright.atn")) return;
  const std::wstring widePath = Widen(script.path);
  if (widePath.empty()) return;
  const std::u16string_view scriptPath(reinterpret_cast<const char16_t*>(widePath.data()), widePath.size());
  const std::vector<std::uint8_t> bytes = BuildActivationActionFile(scriptPath);
  actions.made = WriteWholeFile(actions.path, bytes.data(), bytes.size());
  if (!actions.made) return;

  char text[kBridgeScriptSize] = {};
  if (!BuildLoadActionScript(actions.path, true, text, sizeof text)) return;
  // Set before the run: the run below must not come back here.
  ScriptingUiActivated = true;
  RunJavaScript(text, false, false);
  // The host now holds the set the script loaded.
  DeleteActionSet(kActivationSetName);
}
