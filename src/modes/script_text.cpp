#include "modes/script_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

bool HasDrive(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return false;
  const char letter = path[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::string ToScriptPath(std::string_view path) {
  std::string script;
  script.reserve(path.size() + 1);
  std::size_t from = 0;
  if (HasDrive(path)) {
    script += '/';
    script += path[0];
    script += '/';
    from = 2;
    // "C:\x" would otherwise give "/C//x".
    if (from < path.size() && (path[from] == '\\' || path[from] == '/')) ++from;
  }
  for (std::size_t i = from; i < path.size(); ++i) script += path[i] == '\\' ? '/' : path[i];
  return script;
}

std::string EscapeSingleQuotes(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (c == '\'') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

bool BuildLoadActionScript(std::string_view path, bool playAfterLoad, char* out, std::size_t size) {
  if (!out || size == 0) return false;
  out[0] = '\0';
  // Only the path's own characters: anything after a zero is not the path.
  path = path.substr(0, std::min(path.find('\0'), path.size()));
  if (path.empty() || path.size() >= kBridgePathSize) return false;
  std::string script = "var atnFile = new File('";
  script += EscapeSingleQuotes(ToScriptPath(path));
  script += "'); app.load(atnFile);";
  if (playAfterLoad) script += " app.doAction('UIActivate','Quillbright');";
  if (script.size() >= size) return false;
  std::memcpy(out, script.data(), script.size());
  out[script.size()] = '\0';
  return true;
}

namespace {

// The file's integers are big-endian unless a field says otherwise.
struct ActionFileWriter {
  std::vector<std::uint8_t> bytes;

  void Byte(std::uint8_t value) { bytes.push_back(value); }
  void Short(std::uint16_t value) {
    Byte(std::uint8_t(value >> 8));
    Byte(std::uint8_t(value));
  }
  void Long(std::uint32_t value) {
    Short(std::uint16_t(value >> 16));
    Short(std::uint16_t(value));
  }
  void LongLittleEndian(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) Byte(std::uint8_t(value >> shift));
  }
  void Code(const char (&code)[5]) {
    for (int i = 0; i < 4; ++i) Byte(std::uint8_t(code[i]));
  }
  // A name: its length in characters with the zero, then UTF-16 big-endian
  // with the zero.
  void UnicodeName(std::string_view ascii) {
    Long(std::uint32_t(ascii.size() + 1));
    for (const char c : ascii) Short(std::uint8_t(c));
    Short(0);
  }
  // Its length, then its bytes, no zero.
  void AsciiName(std::string_view ascii) {
    Long(std::uint32_t(ascii.size()));
    for (const char c : ascii) Byte(std::uint8_t(c));
  }
  // A key or class given by its four-character code: length 0, then the code.
  void Key(const char (&code)[5]) {
    Long(0);
    Code(code);
  }
};

}  // namespace

std::vector<std::uint8_t> BuildActivationActionFile(std::u16string_view scriptPath) {
  ActionFileWriter file;
  file.Long(16);  // file version
  file.UnicodeName("Quillbright");
  file.Byte(1);  // set expanded
  file.Long(1);  // one action
  file.Short(0);  // function key
  file.Byte(0);  // shift
  file.Byte(0);  // command
  file.Short(0);  // colour
  file.UnicodeName("UIActivate");
  file.Byte(0);  // action expanded
  file.Long(1);  // one step
  file.Byte(0);  // step expanded
  file.Byte(1);  // enabled
  file.Byte(0);  // with dialog
  file.Byte(1);  // dialog options
  file.Code("TEXT");
  file.AsciiName("AdobeScriptAutomation Scripts");
  file.AsciiName("Skripten");
  file.Long(0xFFFFFFFFu);  // a descriptor follows
  file.Long(1);  // class name: a single zero
  file.Short(0);
  file.Key("null");
  file.Long(2);  // items
  file.Key("jsCt");
  file.Code("Pth ");
  const auto characters = std::uint32_t(scriptPath.size() + 1);
  const std::uint32_t record = 12 + 2 * characters;
  file.Long(record);
  file.Code("txtu");
  file.LongLittleEndian(record);
  file.LongLittleEndian(characters);
  for (const char16_t unit : scriptPath) {
    file.Byte(std::uint8_t(unit));
    file.Byte(std::uint8_t(unit >> 8));
  }
  file.Byte(0);
  file.Byte(0);
  file.Key("jsMs");
  file.Code("TEXT");
  file.UnicodeName("undefined");
  return std::move(file.bytes);
}
