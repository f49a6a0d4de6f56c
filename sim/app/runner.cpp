#include "runner.h"

#include <windows.h>

#include "machine_state.h"
#include "output.h"
#include "scenario.h"
#include "text.h"
#include "version_resource.h"

namespace simapp {
namespace {

// The child gets this long beyond the scenario's own waits before the runner
// gives up on it (a dialog that nobody answers, a plug-in in a loop).
constexpr DWORD kChildGraceMs = 120000;

HANDLE Inheritable(HANDLE h) {
  if (!h || h == INVALID_HANDLE_VALUE) return nullptr;
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) return nullptr;
  return copy;
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(path.c_str(), DWORD(std::size(buffer)), buffer, nullptr);
  return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : path;
}

// Runs in one Wine prefix share its registry, the user's folders and the
// desktop with its foreground window and keyboard: they take turns, from
// writing the machine state until their editor has ended.
constexpr const wchar_t* kMachineMutexName = L"simeditor-machine-state";

class MachineTurn {
 public:
  MachineTurn() : mutex_(CreateMutexW(nullptr, FALSE, kMachineMutexName)) {
    if (!mutex_) return;
    // A run that died holding it leaves it abandoned, which hands it on.
    const DWORD got = WaitForSingleObject(mutex_, INFINITE);
    owned_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
  }
  ~MachineTurn() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
  }
  MachineTurn(const MachineTurn&) = delete;
  MachineTurn& operator=(const MachineTurn&) = delete;
  bool Owned() const { return owned_; }

 private:
  HANDLE mutex_;
  bool owned_ = false;
};

// The folder of this run's own files when the caller names no host folder:
// the host folder inside it, removed when the run ends.
std::wstring RunFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD n = GetTempPathW(DWORD(std::size(temp)), temp);
  std::wstring folder = n > 0 && n < std::size(temp) ? std::wstring(temp, n) : ExecutableFolder() + L"\\";
  return folder + L"simeditor-" + std::to_wstring(GetCurrentProcessId());
}

DWORD ScenarioWaitMs(const sim::Json& scenario) {
  unsigned long long total = 0;
  if (auto it = scenario.find("steps"); it != scenario.end())
    for (const sim::Json& step : *it)
      if (auto w = step.find("wait"); w != step.end() && w->is_number_integer()) total += w->get<unsigned long long>();
  return DWORD(std::min<unsigned long long>(total + kChildGraceMs, 0x7FFFFFFF));
}

}  // namespace

std::wstring ExecutablePath() {
  wchar_t buffer[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
  return std::wstring(buffer, n);
}

std::wstring ExecutableFolder() {
  std::wstring path = ExecutablePath();
  return path.substr(0, path.find_last_of(L'\\'));
}

int RunScenario(const Options& options) {
  sim::Json scenario;
  try {
    scenario = LoadScenario(options.scenario);
  } catch (const ScenarioError& e) {
    WriteDiagnostic(std::string("scenario: ") + e.what());
    return 2;
  }

  // The transcript handle: the --out file or our standard output. The child
  // writes into it directly, the runner only its own error lines.
  HANDLE out = nullptr;
  bool ownOut = false;
  if (!options.out.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    out = CreateFileW(options.out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
      WriteDiagnostic("simeditor: cannot write " + Narrow(options.out) + " (error " + std::to_string(GetLastError()) + ")");
      return 1;
    }
    ownOut = true;
  } else {
    out = Inheritable(GetStdHandle(STD_OUTPUT_HANDLE));
  }
  HANDLE err = Inheritable(GetStdHandle(STD_ERROR_HANDLE));
  auto finish = [&](int status) {
    if (out && (ownOut || out != GetStdHandle(STD_OUTPUT_HANDLE))) CloseHandle(out);
    if (err) CloseHandle(err);
    return status;
  };
  auto fail = [&](const std::string& why) {
    WriteLine(out, ErrorLineText(why));
    return finish(1);
  };

  const HostSettings host = ReadHostSettings(scenario);
  const std::wstring bin = ExecutableFolder();
  // A host folder the caller names is the caller's and stays for it to look
  // into; otherwise the run makes its own and removes it at the end.
  const std::wstring runFolder = options.hostFolder.empty() ? RunFolder() : std::wstring();
  const std::wstring hostFolder = runFolder.empty() ? FullPath(options.hostFolder) : runFolder + L"\\host";
  struct RemoveAtEnd {
    const std::wstring& folder;
    ~RemoveAtEnd() {
      if (!folder.empty() && !RemoveTree(folder)) WriteDiagnostic("simeditor: " + Narrow(folder) + " could not be removed");
    }
  } removeRunFolder{runFolder};
  const std::wstring copy = hostFolder + L"\\" + HostExecutableName(host);
  if (std::string e = PrepareHostFolder(hostFolder, host); !e.empty()) return fail(e);
  if (!CopyFileW(ExecutablePath().c_str(), copy.c_str(), FALSE))
    return fail("copying the editor to " + Narrow(copy) + " failed (error " + std::to_string(GetLastError()) + ")");
  if (std::string e = WriteVersionResource(copy, host.version, host.product); !e.empty()) return fail(e);
  MachineTurn turn;
  if (!turn.Owned()) return fail("waiting for the other runs of the editor failed (error " + std::to_string(GetLastError()) + ")");
  const std::wstring manifest = ScenarioFilesManifest();
  if (manifest.empty()) return fail("the local application-data folder cannot be found");
  if (std::string e = PrepareMachineState(scenario, host, manifest); !e.empty()) return fail(e);

  std::wstring command = QuoteArg(copy) + L" --child " + QuoteArg(FullPath(options.scenario));
  command += L" --plugin " + QuoteArg(FullPath(options.plugin.empty() ? bin + L"\\Quillbright.8li" : options.plugin));
  if (!options.screenshots.empty()) command += L" --screenshots " + QuoteArg(FullPath(options.screenshots));

  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = nullptr;
  start.hStdOutput = out;
  start.hStdError = err;
  PROCESS_INFORMATION child{};
  // A loaded machine's Wine now and then fails a process start with an
  // internal error (1359) that the next try does not meet.
  BOOL started = FALSE;
  DWORD startError = 0;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    std::wstring line = command;
    started = CreateProcessW(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, hostFolder.c_str(), &start, &child);
    startError = started ? 0 : GetLastError();
    if (!started && startError != ERROR_INTERNAL_ERROR) break;
  }
  if (!started) return fail("starting " + Narrow(copy) + " failed (error " + std::to_string(startError) + ")");
  CloseHandle(child.hThread);
  const DWORD limit = ScenarioWaitMs(scenario);
  DWORD code = 1;
  if (WaitForSingleObject(child.hProcess, limit) == WAIT_TIMEOUT) {
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 10000);
    WriteLine(out, ErrorLineText("the editor did not finish within " + std::to_string(limit / 1000) + " s and was stopped"));
  } else if (GetExitCodeProcess(child.hProcess, &code) && code > 2) {
    char hex[16];
    wsprintfA(hex, "0x%08lX", code);
    WriteLine(out, ErrorLineText(std::string("the editor ended with code ") + hex));
    code = 1;
  }
  CloseHandle(child.hProcess);
  return finish(int(code));
}

}  // namespace simapp
