// The simulated editor's command line:
//   simeditor.exe SCENARIO.json [--out FILE] [--screenshots DIR] [--plugin PATH] [--host-folder DIR]
// The runner adds --child when it starts the renamed copy.
#pragma once

#include <string>
#include <vector>

namespace simapp {

struct Options {
  std::wstring scenario;
  std::wstring out;          // empty: the transcript goes to stdout
  std::wstring screenshots;  // empty: screenshot steps are not saved
  std::wstring plugin;       // empty: Quillbright.8li beside simeditor.exe
  std::wstring hostFolder;   // empty: a folder of the run's own, removed when it ends
  bool child = false;
};

// Throws std::runtime_error with a one-line reason.
Options ParseOptions(const std::vector<std::wstring>& args);
std::vector<std::wstring> CommandLineArgs();  // without the program name

// Quotes one argument for CreateProcess's command line.
std::wstring QuoteArg(const std::wstring& arg);

}  // namespace simapp
