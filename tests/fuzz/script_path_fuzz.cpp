// The paths of action files (from the settings file and the file chooser)
// as the script bridge puts them into the script that loads them, and the
// names of a scripts folder as the Scripts submenu lists them. Beyond "no
// crash": the script path has no backslash left; the literal in the
// loading script reads back as that path (every quote escaped, nothing
// cut); a script that does not fit is refused with an empty buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "menus/script_listing.h"
#include "modes/script_text.h"

namespace {

constexpr std::string_view kPrefix = "var atnFile = new File('";
constexpr std::string_view kSuffix = "'); app.load(atnFile);";
constexpr std::string_view kPlay = " app.doAction('UIActivate','Quillbright');";

// The literal's text as the engine reads it: a backslash takes the next
// character as it is; a quote without one would end the literal.
bool Unescape(std::string_view literal, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] == '\'') return false;
    if (literal[i] == '\\') {
      if (++i == literal.size()) return false;
    }
    out += literal[i];
  }
  return true;
}

void CheckLoadScript(std::string_view path, bool play, std::size_t size) {
  std::string buffer(size, 'x');
  const bool built = BuildLoadActionScript(path, play, buffer.data(), buffer.size());
  if (size == 0) {
    FUZZ_CHECK(!built);
    return;
  }
  const std::string_view script(buffer.c_str());
  FUZZ_CHECK(script.size() < size);
  if (!built) {
    FUZZ_CHECK(script.empty());
    return;
  }
  const std::string_view own = path.substr(0, path.find('\0'));
  FUZZ_CHECK(!own.empty() && own.size() < kBridgePathSize);
  FUZZ_CHECK(script.starts_with(kPrefix));
  std::string_view rest = script.substr(kPrefix.size());
  if (play) {
    FUZZ_CHECK(rest.ends_with(kPlay));
    rest.remove_suffix(kPlay.size());
  }
  FUZZ_CHECK(rest.ends_with(kSuffix));
  rest.remove_suffix(kSuffix.size());
  std::string read;
  FUZZ_CHECK(Unescape(rest, read));
  FUZZ_CHECK(read == ToScriptPath(own));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the buffer size and whether the action plays.
  const std::size_t bufferSize = std::size_t(data[0]) * 8;
  const bool play = (data[1] & 1) != 0;
  const std::string_view path(reinterpret_cast<const char*>(data + 2), size - 2);

  const std::string script = ToScriptPath(path);
  FUZZ_CHECK(script.find('\\') == std::string::npos);
  const bool drive = HasDrive(path);
  if (!drive) FUZZ_CHECK(script.size() == path.size());
  if (drive) FUZZ_CHECK(script.size() <= path.size() + 1 && script[0] == '/' && script[1] == path[0]);

  std::string unescaped;
  FUZZ_CHECK(Unescape(EscapeSingleQuotes(script), unescaped) && unescaped == script);

  CheckLoadScript(path, play, bufferSize);
  CheckLoadScript(path, play, kBridgeScriptSize);

  // The same bytes as a folder entry's name.
  const std::string name(path.substr(0, path.find('\0')));
  const std::string label = ScriptLabel(name);
  FUZZ_CHECK(name.starts_with(label));
  if (name == "." || name == "..") FUZZ_CHECK(!IsListedScriptName(name));
  FUZZ_CHECK(FolderOfPath(name).size() <= name.size());
  return 0;
}
