// The editor's docks, panels and views inside (or, for a floating Layers
// panel, beside) the main window, laid out by host version as the real editor
// has them, with the window classes the plug-in searches for.
#pragma once

#include <windows.h>

#include <string>

#include "scenario.h"

namespace simapp {

// Registers the classes (once) and builds the windows for the scenario's
// host. Returns an empty string on success, else what failed.
std::string BuildHostWindows(HWND mainWindow, HINSTANCE instance, const HostSettings& host);
// Destroys what BuildHostWindows made (the floating panel; the rest goes with
// the main window).
void DestroyHostWindows();

// The views the transcript names: "layers", "controlBar", "toolbar"; null when
// the scenario's host has none.
HWND HostView(const std::string& role);
// The transcript's name of a window: "main", "layers", "controlBar",
// "toolbar", or "other".
std::string WindowRoleName(HWND window);

}  // namespace simapp
