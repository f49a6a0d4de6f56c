#include "editor_run.h"

#include <gtest/gtest.h>

namespace integration {
namespace {

// Long enough for a cold Wine start of both processes; a run that takes
// longer is stopped and reported.
constexpr DWORD kRunLimitMs = 180000;

std::wstring Quote(const std::wstring& arg) { return L"\"" + arg + L"\""; }

HANDLE CreateInheritableFile(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << "cannot write the scenario file";
  DWORD written = 0;
  WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\'));
}

// The runner makes this folder afresh for each run and leaves it for the test.
std::wstring HostFolder() { return TempFolder() + L"\\host"; }

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"qb-integration-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(f);
  return bytes;
}

bool LineMatches(const Json& line, const Json& fields) {
  for (auto it = fields.begin(); it != fields.end(); ++it)
    if (!line.contains(it.key()) || line[it.key()] != it.value()) return false;
  return true;
}

namespace {

// Fails the test on each problem line no pattern of `expected` matches.
void CheckProblems(const std::vector<Json>& transcript, const ExpectedProblems& expected) {
  std::vector<Json> patterns;
  for (const std::string& text : expected) {
    Json pattern = Json::parse(text, nullptr, false);
    if (pattern.is_discarded() || !pattern.is_object()) ADD_FAILURE() << "a bad expected line: " << text;
    else patterns.push_back(std::move(pattern));
  }
  for (const Json& line : transcript) {
    const std::string kind = line.value("kind", "");
    if (kind != "misuse" && kind != "leak" && kind != "error") continue;
    bool known = false;
    for (const Json& p : patterns) known = known || LineMatches(line, p);
    if (!known) ADD_FAILURE() << "the run left a line the test does not expect: " << line.dump();
  }
}

}  // namespace

EditorRun RunEditorOnText(const std::string& scenarioText, const std::vector<std::wstring>& extraArgs,
                          const ExpectedProblems& expected) {
  EditorRun run;
  const std::wstring temp = TempFolder();
  const std::wstring scenario = temp + L"\\scenario.json";
  const std::wstring outPath = temp + L"\\stdout.txt";
  const std::wstring errPath = temp + L"\\stderr.txt";
  WriteBytes(scenario, scenarioText);

  const std::wstring exe = BinFolder() + L"\\simeditor.exe";
  std::wstring command = Quote(exe) + L" " + Quote(scenario) + L" --host-folder " + Quote(HostFolder());
  for (const std::wstring& a : extraArgs) command += L" " + Quote(a);
  // A loaded machine's Wine now and then fails a process start with an
  // internal error; the start is tried again, with fresh output files.
  PROCESS_INFORMATION process{};
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    HANDLE out = CreateInheritableFile(outPath);
    HANDLE err = CreateInheritableFile(errPath);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = out;
    start.hStdError = err;
    std::wstring line = command;
    started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, temp.c_str(), &start, &process);
    const DWORD error = GetLastError();
    CloseHandle(out);
    CloseHandle(err);
    SetLastError(error);
  }
  if (!started) {
    ADD_FAILURE() << "simeditor.exe cannot be started (error " << GetLastError() << ")";
    return run;
  }
  CloseHandle(process.hThread);
  if (WaitForSingleObject(process.hProcess, kRunLimitMs) == WAIT_TIMEOUT) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 10000);
    ADD_FAILURE() << "simeditor.exe did not finish within " << kRunLimitMs / 1000 << " s";
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  run.exitCode = int(code);

  run.errorText = ReadBytes(errPath);
  run.errorLines = SplitLines(run.errorText);
  for (const std::string& line : SplitLines(ReadBytes(outPath))) {
    Json parsed = Json::parse(line, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object() || !parsed.contains("kind"))
      ADD_FAILURE() << "the standard output holds a line that is no transcript line: " << line;
    else
      run.transcript.push_back(std::move(parsed));
  }
  CheckProblems(run.transcript, expected);
  return run;
}

EditorRun RunEditor(const Json& scenario, const std::vector<std::wstring>& extraArgs,
                    const ExpectedProblems& expected) {
  return RunEditorOnText(scenario.dump(), extraArgs, expected);
}

std::vector<Json> OfKind(const std::vector<Json>& lines, const std::string& kind) {
  std::vector<Json> out;
  for (const Json& line : lines)
    if (line.value("kind", "") == kind) out.push_back(line);
  return out;
}

}  // namespace integration
