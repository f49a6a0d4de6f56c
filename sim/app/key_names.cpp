#include "key_names.h"

#include <windows.h>

#include <array>
#include <cctype>

namespace simapp {
namespace {

struct NamedKey {
  std::string_view name;
  unsigned short key;
  bool extended;
};

// Keys beyond letters, digits and F1..F24.
constexpr std::array<NamedKey, 24> kNamedKeys = {{
    {"left", VK_LEFT, true},      {"right", VK_RIGHT, true},    {"up", VK_UP, true},
    {"down", VK_DOWN, true},      {"home", VK_HOME, true},      {"end", VK_END, true},
    {"pageup", VK_PRIOR, true},   {"pagedown", VK_NEXT, true},  {"insert", VK_INSERT, true},
    {"delete", VK_DELETE, true},  {"del", VK_DELETE, true},     {"enter", VK_RETURN, false},
    {"return", VK_RETURN, false}, {"escape", VK_ESCAPE, false}, {"esc", VK_ESCAPE, false},
    {"tab", VK_TAB, false},       {"space", VK_SPACE, false},   {"backspace", VK_BACK, false},
    {"ctrl", VK_CONTROL, false},  {"control", VK_CONTROL, false}, {"shift", VK_SHIFT, false},
    {"alt", VK_MENU, false},      {"pause", VK_PAUSE, false},   {"apps", VK_APPS, true},
}};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool KeyByName(const std::string& name, KeyChord& chord) {
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    chord.key = static_cast<unsigned short>(std::toupper(static_cast<unsigned char>(name[0])));
    return true;
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
    int number = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
      number = number * 10 + (name[i] - '0');
    }
    if (number < 1 || number > 24 || name[1] == '0') return false;
    chord.key = static_cast<unsigned short>(VK_F1 + number - 1);
    return true;
  }
  for (const NamedKey& k : kNamedKeys)
    if (k.name == name) {
      chord.key = k.key;
      chord.extended = k.extended;
      return true;
    }
  return false;
}

}  // namespace

bool ParseKeyChord(std::string_view text, KeyChord& chord, std::string& error) {
  chord = {};
  size_t start = 0;
  for (;;) {
    const size_t plus = text.find('+', start);
    const std::string_view part = text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start);
    const std::string name = Lower(part);
    if (name.empty()) {
      error = "expected a key name on each side of '+'";
      return false;
    }
    if (plus == std::string_view::npos) {
      if (!KeyByName(name, chord)) {
        error = "unknown key name \"" + std::string(part) + "\"";
        return false;
      }
      return true;
    }
    if (name == "ctrl" || name == "control") chord.ctrl = true;
    else if (name == "shift") chord.shift = true;
    else if (name == "alt") chord.alt = true;
    else {
      KeyChord probe;
      error = KeyByName(name, probe) ? "expected Ctrl, Shift or Alt before '+', found \"" + std::string(part) + "\""
                                     : "unknown key name \"" + std::string(part) + "\"";
      return false;
    }
    start = plus + 1;
  }
}

}  // namespace simapp
