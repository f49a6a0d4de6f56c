// Runs simeditor.exe on a scenario, as the ./simeditor script does, and
// collects its exit status, its standard error and its transcript.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace integration {

using Json = nlohmann::ordered_json;

struct EditorRun {
  int exitCode = -1;
  std::string errorText;          // the standard error, as written
  std::vector<std::string> errorLines;
  std::vector<Json> transcript;   // the standard output (or --out file), one object per line
};

// Lines of the kinds `misuse`, `leak` and `error` a test expects, each given
// as the JSON object text of the fields that must match
// (R"({"kind":"error","event":"Xyzw"})"). Any other line of those kinds fails
// the test: a run is clean unless the test says otherwise.
using ExpectedProblems = std::vector<std::string>;

// Writes the scenario to a temporary file and runs the editor on it. Extra
// arguments go after the scenario's path. Every transcript line must be a
// JSON object with "kind"; a line that is not is reported as a test failure,
// and so is every `misuse`, `leak` or `error` line not among `expected`.
EditorRun RunEditor(const Json& scenario, const std::vector<std::wstring>& extraArgs = {},
                    const ExpectedProblems& expected = {});
EditorRun RunEditorOnText(const std::string& scenarioText, const std::vector<std::wstring>& extraArgs = {},
                          const ExpectedProblems& expected = {});

// Whether `line` holds every field of `fields` with the same value.
bool LineMatches(const Json& line, const Json& fields);

std::wstring BinFolder();                   // where the tests, simeditor.exe and the plug-in are
std::wstring HostFolder();                  // the per-run host folder the runner prepares
std::wstring TempFolder();                  // this test program's own scratch folder
std::string ReadBytes(const std::wstring& path);  // empty when missing
bool Exists(const std::wstring& path);
std::wstring Widen(const std::string& utf8);

// The transcript lines of the given kinds, in order.
std::vector<Json> OfKind(const std::vector<Json>& lines, const std::string& kind);

}  // namespace integration
