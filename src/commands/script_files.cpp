#include "commands/script_files.h"

#include <cstdio>
#include <memory>
#include <new>

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
  if (size < 0 || size >= kScriptFileLimit || std::fseek(file.get(), 0, SEEK_SET) != 0) return std::nullopt;
  // The caller is a menu command inside the host's window procedure: running
  // out of memory for the text is an unreadable file, not an exception there.
  std::string text;
  try {
    text.resize(std::size_t(size));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (size > 0 && std::fread(text.data(), 1, text.size(), file.get()) != text.size()) return std::nullopt;
  DropByteOrderMark(text);
  return text;
}

void DropByteOrderMark(std::string& text) {
  // A byte-order mark is not part of the script; the engine would choke on it.
  if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
}

std::string ScriptChooserFolder(const char* lastPath, const char* fallback) {
  const std::string last = lastPath ? lastPath : "";
  const std::size_t slash = last.find_last_of('\\');
  if (!last.empty() && slash != std::string::npos) return last.substr(0, slash);
  return fallback ? fallback : "";
}
