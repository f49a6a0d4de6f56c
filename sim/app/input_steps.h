// The steps that act as the user's hands: `click`, `popup` and `key`. Each
// returns the problems it met, one text per `error` line.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sim_host.h"

namespace simapp {

// {"click": "layers", "x": 190, "y": -10, "double", "ctrl", "alt", "hover"}:
// negative coordinates count from the right and bottom edges (-1 is the last
// pixel). A pop-up the click opens is recorded and closed with Escape, or
// driven by "choose" and "keyboard" as in `popup` steps.
std::vector<std::string> RunClickStep(HWND main, const sim::Json& step);

// {"popup": "history", "choose": 34930, "keyboard": false}: presses the
// pop-up's button or panel-menu icon, records the pop-up, chooses the item
// with the mouse (or the arrow keys and Enter), or closes it with Escape.
std::vector<std::string> RunPopupStep(HWND main, const sim::Json& step, int hostVersion);

// {"key": "Ctrl+Shift+F", "repeat": 3}: presses the key with its modifiers
// and lets it go; "repeat" holds it down for that many key-down messages.
std::vector<std::string> RunKeyStep(HWND main, const sim::Json& step);

}  // namespace simapp
