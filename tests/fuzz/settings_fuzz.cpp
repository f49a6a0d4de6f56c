// A settings file of any bytes, as start-up reads it, and the preference
// script made from what it read. Beyond "no crash": every value that was
// read came from a number in the text, the paths fit the module's buffers
// and hold no line break or zero byte, the defaults stand from the first
// value that could not be read, what is written back reads back the same,
// and the script fits its buffer and names an interpolation only for 0 to 2.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/preference_script.h"
#include "settings/settings_text.h"

namespace {

bool PathIsSound(std::string_view path) {
  return !path.empty() && path.size() <= kSettingsPathLimit && path.find('\0') == std::string_view::npos &&
         path.find('\n') == std::string_view::npos;
}

bool StartsWithBlank(std::string_view text) {
  return !text.empty() && std::strchr(" \t\n\v\f\r", text[0]) != nullptr;
}

void CheckRead(const SettingsContent& read) {
  FUZZ_CHECK(read.scriptPath.empty() || (PathIsSound(read.scriptPath) && read.scriptPath[0] != '0'));
  for (const std::string& path : read.actionFiles) FUZZ_CHECK(PathIsSound(path));
}

bool Same(const SettingsContent& a, const SettingsContent& b) {
  return a.values == b.values && a.scriptPath == b.scriptPath && a.actionFiles == b.actionFiles;
}

// The header line says nothing, and a lone LF reads as CR LF does (text
// mode takes one CR off before each LF, once: CR CR LF stays CR LF).
void CheckHeaderAndLineEnds(std::string_view bytes, const SettingsContent& read) {
  const std::size_t headerEnd = bytes.find('\n');
  if (headerEnd != std::string_view::npos) {
    const std::string otherHeader = "Quillbright9.9\n" + std::string(bytes.substr(headerEnd + 1));
    FUZZ_CHECK(Same(ReadSettingsText(otherHeader), read));
  }
  std::string carriageReturns;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) carriageReturns += '\r';
    carriageReturns += bytes[i];
  }
  FUZZ_CHECK(Same(ReadSettingsText(carriageReturns), read));
}

void CheckWrittenReadsBack(const SettingsContent& read) {
  for (const bool withActionFiles : {false, true}) {
    const std::string text = WriteSettingsText(read.values, read.scriptPath, read.actionFiles, withActionFiles);
    FUZZ_CHECK(text.starts_with(std::string(kSettingsHeader) + "\r\n"));
    const SettingsContent again = ReadSettingsText(text);
    FUZZ_CHECK(again.values == read.values);
    FUZZ_CHECK(again.scriptPath == read.scriptPath);
    if (!withActionFiles) {
      FUZZ_CHECK(again.actionFiles.empty());
    } else if (read.actionFiles.empty() || !StartsWithBlank(read.actionFiles.front())) {
      // A first path that begins with blanks loses them to the count's
      // "%d\n" before it; any other list comes back whole.
      FUZZ_CHECK(again.actionFiles == read.actionFiles);
    }
  }
}

void CheckScript(const SettingsValues& values) {
  char script[kPreferenceScriptSize];
  std::memset(script, 'x', sizeof script);
  BuildPreferenceScript(values, script);
  const std::size_t length = strnlen(script, sizeof script);
  FUZZ_CHECK(length < sizeof script);
  const std::string_view text(script, length);
  FUZZ_CHECK(text.starts_with("app.preferences.autoUpdateOpenDocuments =  "));
  FUZZ_CHECK(text.ends_with("EditLogItemsType.DETAILED;\n}"));
  const bool namesMethod = text.find("app.preferences.interpolation = ") != std::string_view::npos;
  FUZZ_CHECK(namesMethod == (values[kSettingInterpolation] >= 0 && values[kSettingInterpolation] <= 2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SettingsContent read = ReadSettingsText(bytes);
  CheckRead(read);
  CheckHeaderAndLineEnds(bytes, read);
  CheckWrittenReadsBack(read);
  CheckScript(read.values);

  // A file cut short keeps what stood before the cut and the defaults from
  // there on: past the first value that differs from the whole text's (the
  // one the cut went through, or the first not reached), all are defaults.
  const SettingsContent prefix = ReadSettingsText(bytes.substr(0, size / 2));
  std::size_t same = 0;
  while (same < kSettingsCount && prefix.values[same] == read.values[same]) ++same;
  for (std::size_t i = same + 1; i < kSettingsCount; ++i) FUZZ_CHECK(prefix.values[i] == kSettingsDefaults[i]);
  return 0;
}
