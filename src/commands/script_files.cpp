#include "commands/script_files.h"

#include <cstdio>
#include <memory>

char LastScriptPath[kScriptPathSize] = {};

namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHolder = std::unique_ptr<std::FILE, CloseFile>;

}  // namespace

std::optional<std::string> ReadScriptFile(const char* path) {
  if (!path || !*path) return std::nullopt;
  FileHolder file(std::fopen(path, "rb"));
  if (!file) return std::nullopt;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return std::nullopt;
  const long size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return std::nullopt;
  std::string text(std::size_t(size), '\0');
  if (size > 0 && std::fread(text.data(), 1, text.size(), file.get()) != text.size()) return std::nullopt;
  // A byte-order mark is not part of the script; the engine would choke on it.
  if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return text;
}

std::string ScriptChooserFolder(const char* lastPath, const char* fallback) {
  const std::string last = lastPath ? lastPath : "";
  const std::size_t slash = last.find_last_of('\\');
  if (!last.empty() && slash != std::string::npos) return last.substr(0, slash);
  return fallback ? fallback : "";
}
