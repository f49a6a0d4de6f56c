#include "settings/settings_text.h"

#include <cstdio>

namespace {

// What "%d" skips and what "\n" in a scanf format matches.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

void SkipBlanks(std::string_view& rest) {
  std::size_t i = 0;
  while (i < rest.size() && IsBlank(rest[i])) ++i;
  rest.remove_prefix(i);
}

bool ReadNumber(std::string_view& rest, std::int32_t& value) {
  SkipBlanks(rest);
  std::size_t i = 0;
  const bool negative = i < rest.size() && rest[i] == '-';
  if (i < rest.size() && (rest[i] == '-' || rest[i] == '+')) ++i;
  const std::size_t firstDigit = i;
  // Kept as a magnitude with a cap, so that a run of digits cannot overflow.
  std::int64_t magnitude = 0;
  constexpr std::int64_t kCap = std::int64_t(1) << 32;
  while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
    if (magnitude < kCap) magnitude = magnitude * 10 + (rest[i] - '0');
    ++i;
  }
  if (i == firstDigit) return false;
  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = std::int32_t(signedValue);
  rest.remove_prefix(i);
  SkipBlanks(rest);
  return true;
}

// The next line without its line feed; false at the end of the text.
bool ReadLine(std::string_view& rest, std::string_view& line) {
  if (rest.empty()) return false;
  const std::size_t end = rest.find('\n');
  line = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  return true;
}

// A path line as it is kept: empty when over-long; cut at a zero byte.
std::string_view PathOfLine(std::string_view line) {
  if (line.size() > kSettingsPathLimit) return {};
  return line.substr(0, line.find('\0'));
}

// What text mode gives the reader: CR LF becomes LF, a lone CR stays.
std::string TextModeLines(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
  return text;
}

void AddLine(std::string& text, std::string_view line) {
  text.append(line);
  text.append("\r\n");
}

void AddNumber(std::string& text, std::int32_t value) {
  char number[16];
  std::snprintf(number, sizeof number, "%d", int(value));
  AddLine(text, number);
}

}  // namespace

SettingsContent ReadSettingsText(std::string_view bytes) {
  SettingsContent content;
  const std::string text = TextModeLines(bytes);
  std::string_view rest = text;
  std::string_view line;
  if (!ReadLine(rest, line)) return content;  // the header
  for (std::int32_t& value : content.values)
    if (!ReadNumber(rest, value)) return content;
  if (!ReadLine(rest, line)) return content;
  if (!line.starts_with('0')) content.scriptPath = PathOfLine(line);
  std::int32_t count = 0;
  if (!ReadNumber(rest, count)) return content;
  // Bounded by the lines there are, not by the count.
  for (std::int32_t i = 0; i < count && ReadLine(rest, line); ++i) {
    const std::string_view path = PathOfLine(line);
    if (!path.empty()) content.actionFiles.emplace_back(path);
  }
  return content;
}

std::string WriteSettingsText(const SettingsValues& values, std::string_view scriptPath,
                              const std::vector<std::string>& actionFiles, bool withActionFiles) {
  std::string text;
  AddLine(text, kSettingsHeader);
  for (const std::int32_t value : values) AddNumber(text, value);
  if (scriptPath.empty())
    AddNumber(text, 0);
  else
    AddLine(text, scriptPath);
  if (!withActionFiles) {
    AddNumber(text, 0);
    return text;
  }
  AddNumber(text, std::int32_t(actionFiles.size()));
  for (const std::string& path : actionFiles) AddLine(text, path);
  return text;
}
