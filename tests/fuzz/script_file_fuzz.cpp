// A script file as the module reads it before handing its text to the
// host's JavaScript engine, and the folder the file chooser opens in from
// the last script's path (kept in the settings file). Beyond "no crash": the
// text read back from a file is the file's bytes with only a whole UTF-8
// byte-order mark dropped (zero bytes and a lone 0xEF kept), and the folder
// is the path up to its last backslash or the fallback.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <process.h>
#define QB_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define QB_PROCESS_ID getpid()
#endif

#include "commands/script_files.h"
#include "fuzz_check.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One file per process, so that fuzzers run side by side do not share it;
// removed when the process ends.
struct ScratchFile {
  ScratchFile()
      : path((std::filesystem::temp_directory_path() /
              ("qb_script_fuzz_" + std::to_string(QB_PROCESS_ID) + ".jsx"))
                 .string()) {}
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() { std::remove(path.c_str()); }
  std::string path;
};

const std::string& ScratchPath() {
  static const ScratchFile file;
  return file.path;
}

bool WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

void CheckChooserFolder(std::string_view bytes) {
  // The path as the settings file gives it: a zero-terminated text.
  const std::string last(bytes.substr(0, bytes.find('\0')));
  const std::string folder = ScriptChooserFolder(last.c_str(), "fallback");
  const std::size_t slash = last.rfind('\\');
  if (slash == std::string::npos) {
    FUZZ_CHECK(folder == "fallback");
  } else {
    FUZZ_CHECK(folder.size() == slash && last.starts_with(folder));
  }
  FUZZ_CHECK(ScriptChooserFolder(nullptr, nullptr).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view expected = bytes.starts_with(kByteOrderMark) ? bytes.substr(3) : bytes;

  std::string text(bytes);
  DropByteOrderMark(text);
  FUZZ_CHECK(text == expected);
  std::string twice = text;
  DropByteOrderMark(twice);
  FUZZ_CHECK(twice == (expected.starts_with(kByteOrderMark) ? expected.substr(3) : expected));

  const std::string& path = ScratchPath();
  FUZZ_CHECK(WriteFile(path, bytes));
  const std::optional<std::string> read = ReadScriptFile(path.c_str());
  FUZZ_CHECK(read.has_value() && *read == expected);

  CheckChooserFolder(bytes);
  return 0;
}
