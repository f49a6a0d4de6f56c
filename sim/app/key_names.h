// Key chords as scenarios write them: modifiers, then the key, joined by '+'
// ("Ctrl+Shift+F", "Alt+F9", "F1", "Ctrl+Alt+Left"). Names are read without
// regard to letter case.
#pragma once

#include <string>
#include <string_view>

namespace simapp {

struct KeyChord {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  unsigned short key = 0;  // the virtual-key code of the key pressed last
  bool extended = false;   // the key sits on the extended part of the keyboard (arrows, Home, ...)
};

// Reads a chord. On failure returns false and puts why into `error`
// ("unknown key name \"Foo\"").
bool ParseKeyChord(std::string_view text, KeyChord& chord, std::string& error);

}  // namespace simapp
