// Action files laid out field by field as the plug-in writes them (one set,
// its actions, each step a script step of event "AdobeScriptAutomation
// Scripts" with a `jsCt` path and a `jsMs` text), for the reader's tests and
// its fuzz target. Texts are ASCII here; integers big-endian unless marked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace layout {

inline void U8(std::string& out, unsigned v) { out += char(v & 0xFF); }
inline void U16(std::string& out, unsigned v) {
  U8(out, v >> 8);
  U8(out, v);
}
inline void U32(std::string& out, std::uint32_t v) {
  U16(out, v >> 16);
  U16(out, v & 0xFFFF);
}
inline void U32LittleEndian(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(out, v >> (8 * i));
}
// UTF-16 big-endian with the terminating zero, its length in front.
inline void Unicode(std::string& out, const std::string& ascii) {
  U32(out, std::uint32_t(ascii.size() + 1));
  for (char ch : ascii) U16(out, unsigned(std::uint8_t(ch)));
  U16(out, 0);
}
inline void Narrow(std::string& out, const std::string& text) {
  U32(out, std::uint32_t(text.size()));
  out += text;
}
inline void Code(std::string& out, const char* code) { out.append(code, 4); }
inline void KeyCode(std::string& out, const char* code) {
  U32(out, 0);
  Code(out, code);
}

// The `jsCt` path record: "txtu", its length again little-endian, the count
// of UTF-16 little-endian units, the units with their terminating zero.
inline void PathRecord(std::string& out, const std::string& path) {
  const std::uint32_t n = std::uint32_t(path.size() + 1);
  const std::uint32_t length = 12 + 2 * n;
  U32(out, length);
  out += "txtu";
  U32LittleEndian(out, length);
  U32LittleEndian(out, n);
  for (char ch : path) {
    U8(out, unsigned(std::uint8_t(ch)));
    U8(out, 0);
  }
  U8(out, 0);
  U8(out, 0);
}

struct Step {
  std::string script;
  std::string message = "undefined";
};
struct Action {
  std::string name;
  std::vector<Step> steps;
};

inline void ScriptStep(std::string& out, const Step& step) {
  for (unsigned flag : {0u, 1u, 0u, 1u}) U8(out, flag);   // expanded, enabled, with dialog, dialog options
  Code(out, "TEXT");
  Narrow(out, "AdobeScriptAutomation Scripts");
  Narrow(out, "Skripten");
  U32(out, 0xFFFFFFFFu);   // a descriptor follows
  Unicode(out, "");
  KeyCode(out, "null");
  U32(out, 2);
  KeyCode(out, "jsCt");
  Code(out, "Pth ");
  PathRecord(out, step.script);
  KeyCode(out, "jsMs");
  Code(out, "TEXT");
  Unicode(out, step.message);
}

inline std::string ActionFile(const std::string& setName, const std::vector<Action>& actions) {
  std::string out;
  U32(out, 16);
  Unicode(out, setName);
  U8(out, 1);
  U32(out, std::uint32_t(actions.size()));
  for (const Action& action : actions) {
    U16(out, 0);   // function key
    U8(out, 0);    // shift
    U8(out, 0);    // command
    U16(out, 0);   // colour
    Unicode(out, action.name);
    U8(out, 0);
    U32(out, std::uint32_t(action.steps.size()));
    for (const Step& step : action.steps) ScriptStep(out, step);
  }
  return out;
}

}  // namespace layout
