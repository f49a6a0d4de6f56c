// The JavaScript that gives the host the preferences the module keeps for
// it.
#pragma once

#include <cstddef>

#include "settings/settings_text.h"

constexpr std::size_t kPreferenceScriptSize = 2048;

// Writes the script for `values` into `script` (kPreferenceScriptSize
// bytes, always zero-terminated; a longer text is cut). An interpolation
// value other than 0, 1 and 2 (only a hand-edited file holds one) has no
// method to name: the script then leaves the host's interpolation as it is.
void BuildPreferenceScript(const SettingsValues& values, char (&script)[kPreferenceScriptSize]);
