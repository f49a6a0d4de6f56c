// The host's reader of action files. Beyond "no crash": whatever it reads
// is valid UTF-8 (the model keeps it as JSON), a file cut short never reads,
// and a file laid out as the plug-in writes it, from the input's own texts,
// reads back as those texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "action_file.h"
#include "action_file_layout.h"
#include "fuzz_check.h"

namespace {

bool ValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

void CheckTexts(const sim::ActionFileSet& set) {
  FUZZ_CHECK(ValidUtf8(set.name));
  for (const auto& action : set.actions) {
    FUZZ_CHECK(ValidUtf8(action.name));
    for (const auto& step : action.steps) {
      FUZZ_CHECK(ValidUtf8(step.event) && ValidUtf8(step.displayName));
      FUZZ_CHECK(ValidUtf8(step.script) && ValidUtf8(step.message));
    }
  }
}

// Printable ASCII texts separated by line feeds: the set's name, then for
// each action its name and its script's path.
void CheckLaidOut(std::string_view input) {
  std::vector<std::string> texts(1);
  for (char ch : input) {
    if (ch == '\n') texts.emplace_back();
    else if (ch >= 0x20 && ch < 0x7F) texts.back() += ch;
  }
  std::vector<layout::Action> actions;
  for (size_t i = 1; i + 1 < texts.size(); i += 2) actions.push_back({texts[i], {{texts[i + 1], texts[i]}}});
  const std::string file = layout::ActionFile(texts[0], actions);
  std::string error;
  const auto set = sim::ReadActionFile(file, &error);
  FUZZ_CHECK(set.has_value());
  FUZZ_CHECK(set->name == texts[0] && set->actions.size() == actions.size());
  for (size_t i = 0; i < actions.size(); ++i) {
    const auto& a = set->actions[i];
    FUZZ_CHECK(a.name == actions[i].name && a.steps.size() == 1);
    FUZZ_CHECK(a.steps[0].event == "AdobeScriptAutomation Scripts" && a.steps[0].displayName == "Skripten");
    FUZZ_CHECK(a.steps[0].script == actions[i].steps[0].script && a.steps[0].message == actions[i].name);
    FUZZ_CHECK(a.steps[0].enabled && !a.steps[0].withDialog);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.starts_with("LAYOUT\n")) {
    CheckLaidOut(bytes.substr(7));
    return 0;
  }
  std::string error;
  const auto set = sim::ReadActionFile(bytes, &error);
  FUZZ_CHECK(set.has_value() == error.empty());
  if (set) {
    CheckTexts(*set);
    for (size_t cut : {size_t(0), size / 2, size - 1})
      if (cut < size) FUZZ_CHECK(!sim::ReadActionFile(bytes.substr(0, cut), nullptr).has_value());
  }
  return 0;
}
