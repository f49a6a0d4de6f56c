// The host's reader of action files (".atn", file version 16): one action
// set, its actions and their steps. Pure code over bytes, no Windows, so
// that it also builds natively for its fuzz target.
//
// Every integer is big-endian unless said otherwise. Texts the user sees
// (set and action names, TEXT items) are UTF-16 big-endian with a length in
// code units that counts the terminating zero; event and display names are
// 8-bit texts with a plain length. A descriptor is a class name, a class
// identifier and its items; an identifier is a length and a string, or a
// length of 0 and a four-character code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct ActionFileStep {
  std::string event;          // the event's name, or its four-character code
  std::string displayName;
  bool enabled = true;
  bool withDialog = false;
  std::string script;         // the `jsCt` path of a script step (UTF-8), empty when none
  std::string message;        // its `jsMs` text (UTF-8)
};

struct ActionFileAction {
  std::string name;           // UTF-8
  std::vector<ActionFileStep> steps;
};

struct ActionFileSet {
  std::string name;           // UTF-8
  std::vector<ActionFileAction> actions;
};

constexpr std::uint32_t kActionFileVersion = 16;

// The set an action file holds; nothing and the reason in `error` when the
// bytes are not an action file the host reads (a wrong version, a length
// past the end, an item type it does not know, bytes left over).
std::optional<ActionFileSet> ReadActionFile(std::string_view bytes, std::string* error);

}  // namespace sim
