#include "options.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>

#include "text.h"

namespace simapp {

Options ParseOptions(const std::vector<std::wstring>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& a = args[i];
    auto value = [&](std::wstring& into) {
      if (i + 1 >= args.size()) throw std::runtime_error(Narrow(a) + " needs a value");
      into = args[++i];
    };
    if (a == L"--out") value(o.out);
    else if (a == L"--screenshots") value(o.screenshots);
    else if (a == L"--plugin") value(o.plugin);
    else if (a == L"--host-folder") value(o.hostFolder);
    else if (a == L"--child") o.child = true;
    else if (a.size() > 1 && a[0] == L'-' && a[1] == L'-') throw std::runtime_error("unknown option " + Narrow(a));
    else if (o.scenario.empty()) o.scenario = a;
    else throw std::runtime_error("more than one scenario: " + Narrow(a));
  }
  if (o.scenario.empty())
    throw std::runtime_error("usage: simeditor.exe SCENARIO.json [--out FILE] [--screenshots DIR] [--plugin PATH] [--host-folder DIR]");
  return o;
}

std::vector<std::wstring> CommandLineArgs() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> out;
  for (int i = 1; argv && i < count; ++i) out.emplace_back(argv[i]);
  if (argv) LocalFree(argv);
  return out;
}

std::wstring QuoteArg(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  // Backslashes are literal except before a quote (CommandLineToArgvW's rules).
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') { ++slashes; continue; }
    if (c == L'"') out.append(slashes * 2 + 1, L'\\');
    else out.append(slashes, L'\\');
    slashes = 0;
    out.push_back(c);
  }
  out.append(slashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

}  // namespace simapp
