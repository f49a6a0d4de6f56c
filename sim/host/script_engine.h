// The host's JavaScript engine: one Duktape heap per engine the plug-in
// creates, with the host objects its scripts use bound to the model (app,
// app.preferences, File, Window and the preferences' enumerations).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "sim_host.h"

struct duk_hthread;

namespace sim {

struct ScriptHeapFree {
  void operator()(duk_hthread* heap) const;
};
using ScriptHeap = std::unique_ptr<duk_hthread, ScriptHeapFree>;

// A heap with the host objects bound; null when it cannot be made.
ScriptHeap NewScriptHeap();

// The outcome of one script: whether it ran to its end without an uncaught
// error, and its completion value or the engine's error message ("SyntaxError:
// ..."), UTF-8.
struct ScriptOutcome {
  bool ran = false;
  std::string text;
};
ScriptOutcome RunScript(duk_hthread* heap, std::string_view utf8);
// The same in a heap made for it and destroyed after it (the host's own
// scripts, such as an action it plays).
ScriptOutcome RunScriptInNewHeap(std::string_view utf8);

// The host's answer to a script that failed: "details are in the result text".
constexpr std::int32_t kScriptError = 0x53634572;   // 'ScEr'

// Preferences a script can set, with the value each has before any script
// sets it: booleans, or an enumeration's value as "Type.NAME".
Json DefaultPreferences();

}  // namespace sim
