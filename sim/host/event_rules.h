// The descriptors the host takes, event by event, as data.
//
// Every event the simulated host knows is one or more rows: the keys its
// descriptor may hold, each with the type the host takes, and what the event
// does to the model. A played event is matched against its rows in order;
// the first row that takes the descriptor applies it. A descriptor no row
// takes, or an event with no row, is the plug-in's fault: it is refused and
// recorded as an `error` line naming the event, the key and what was wrong.
//
// A key's type is written as the host's vocabulary reads:
//   bool  int  float  text  alias  data
//   unit #Prc            a unit value (units separated by commas)
//   enum BlnM            an enumeration of that type
//   enum Ordn = Al, None    ... holding one of these values
//   class Chnl           a class (several separated by commas)
//   object Lyr           an object of that class; its keys in `items`
//   list ref Chnl:Chnl/* a list, each element of the type after "list"
//   list0 object Pnt     the same, and it may be empty
//   ref SHAPE | SHAPE    a reference of one of these shapes
// A reference shape is its parts, first to last, separated by ">":
//   Lyr:Ordn/Trgt        enumerated (type/value; "*" any value, values
//                        separated by commas)
//   Lyr:index  Lyr:name  Lyr:id  Lyr:offset  Lyr:class  Chnl:prop fsel
// Identifiers of four characters or fewer are codes (padded with spaces:
// "Al" is `Al  `); longer ones are string identifiers ("filterMask"), and so
// is a short one written after a "~" ("~box", "~trim").
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model.h"

namespace sim {

struct Play;

struct KeyRule {
  std::string_view key;
  std::string_view type;
  std::span<const KeyRule> items = {};   // the keys of an object
  bool optional = false;
};

constexpr KeyRule Key(std::string_view key, std::string_view type, std::span<const KeyRule> items = {}) {
  return {key, type, items, false};
}
constexpr KeyRule Optional(std::string_view key, std::string_view type,
                           std::span<const KeyRule> items = {}) {
  return {key, type, items, true};
}

// Host versions a row exists in.
struct Versions {
  int from = 0;
  int to = 99;
};
constexpr Versions kAllVersions{};

struct EventRule {
  std::string_view event;
  std::span<const KeyRule> keys;          // empty: no descriptor, or an empty one
  host::OSErr (*apply)(Play&);
  Versions versions = kAllVersions;
};

// What was wrong with a descriptor, for the `error` line.
struct Mismatch {
  std::string key;    // the key at fault, as the transcript writes it; empty for the whole
  std::string text;
  host::OSErr code = 0;   // the host's answer
};

// Whether `params` is a descriptor the row takes; the first thing wrong
// otherwise. `weight` grows with how far the descriptor is from the row.
bool DescriptorFits(std::span<const KeyRule> keys, const DescriptorData& params, Mismatch* first,
                    int* weight);

// An identifier of the notation: four characters or fewer are a code.
TypeID RuleIdentifier(std::string_view text);

// Checks the notation of every rule (a test runs it over every table):
// empty when all is well, else what is wrong and where.
std::string CheckRuleNotation(std::span<const KeyRule> keys);

// The tables, one per area (events_*.cpp).
std::span<const EventRule> LayerEventRules();
std::span<const EventRule> MaskEventRules();
std::span<const EventRule> GroupEventRules();
std::span<const EventRule> AdjustmentEventRules();
std::span<const EventRule> DocumentEventRules();
std::span<const EventRule> ModeEventRules();
std::span<const EventRule> ActionEventRules();
std::span<const EventRule> ShortcutEventRules();   // the events the module's shortcuts play
std::span<const EventRule> TextEventRules();
std::span<const EventRule> ArrangementEventRules();
std::span<const EventRule> DocumentCommandEventRules();
std::span<const EventRule> DialogEventRules();    // the events of the module's own dialogs
std::span<const EventRule> SmartEventRules();   // smart objects and smart filters

// The editor's major version the scenario gives the host (8 by default).
int HostVersion();

}  // namespace sim
