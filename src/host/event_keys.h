// Events written as the list of their keys. A key list reads like the
// host's own description of an event:
//
//   PlayKeys("setd", kDialogNone, {
//       Ref("null", {Property("Prpr", "AntA"), TargetOf("TxLr")}),
//       Enumerated("T   ", "Annt", "AnCr")});
//
// Identifiers of four characters or fewer are codes (padded with spaces, so
// "Mk" is `Mk  `); longer ones are the host's string identifiers, converted
// at each use, and so is a short one written after a "~" ("~box"). An identifier the host does not know ends the building with
// `Parm` and nothing is played.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host_types.h"

// The code an identifier of four characters or fewer stands for; 0 for a
// longer (string) identifier or an empty one.
constexpr host::TypeID CodeOfIdentifier(std::string_view text) {
  if (text.empty() || text.size() > 4 || text[0] == '~') return 0;
  host::TypeID code = 0;
  for (std::size_t i = 0; i < 4; ++i)
    code = (code << 8) | static_cast<unsigned char>(i < text.size() ? text[i] : ' ');
  return code;
}

namespace event_keys {

// One part of a reference, first part first.
struct RefPart {
  enum class Form { Property, Enumerated, Class, Name, Index } form;
  std::string_view cls;
  std::string_view type;    // Property: the key; Enumerated: the type
  std::string_view value;   // Enumerated: the value
  std::string name;         // Name
  std::uint32_t index = 0;  // Index (1-based)
};
RefPart Property(std::string_view cls, std::string_view key);
RefPart EnumPart(std::string_view cls, std::string_view type, std::string_view value);
RefPart TargetOf(std::string_view cls);   // (`Ordn`, `Trgt`)
RefPart ClassPart(std::string_view cls);
RefPart NamePart(std::string_view cls, std::string name);
RefPart IndexPart(std::string_view cls, std::uint32_t index);

// One key of a descriptor.
struct EventKey {
  enum class Kind { Reference, Enumerated, Boolean, Integer, Float, UnitFloat, Text, Class, Object, Alias } kind;
  std::string_view key;
  std::string_view a;   // Enumerated: the type; UnitFloat: the unit; Class and Object: the class
  std::string_view b;   // Enumerated: the value
  bool flag = false;
  std::int32_t integer = 0;
  double number = 0;
  std::string text;         // Text; Alias: the path
  std::vector<RefPart> parts;   // Reference
  std::vector<EventKey> items;  // Object
};
EventKey Ref(std::string_view key, std::vector<RefPart> parts);
// An empty `value` is the value 0.
EventKey Enumerated(std::string_view key, std::string_view type, std::string_view value);
EventKey Boolean(std::string_view key, bool value);
EventKey Integer(std::string_view key, std::int32_t value);
EventKey Float(std::string_view key, double value);
EventKey UnitFloat(std::string_view key, std::string_view unit, double value);
EventKey Text(std::string_view key, std::string text);
EventKey ClassKey(std::string_view key, std::string_view cls);
EventKey Object(std::string_view key, std::string_view cls, std::vector<EventKey> items);
// An alias of the path: its text, with the terminator, in a host handle
// disposed of after the play.
EventKey Alias(std::string_view key, std::string path);

// The host's identifier of a code or string identifier; 0 when it has none.
host::TypeID IdentifierOf(std::string_view text);

// Builds the descriptor of `keys` and plays `event` with it (no keys: no
// descriptor). Returns the first building error without playing, else the
// host's answer.
std::int32_t PlayKeys(std::string_view event, std::int32_t mode, const std::vector<EventKey>& keys);

}  // namespace event_keys
