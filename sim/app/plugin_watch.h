// What the plug-in installs into the editor that the editor cannot see by
// itself: Windows hooks and replaced window procedures, and what it draws.
// The plug-in's imports of the functions that do this are routed through the
// editor, which records each change as a `hook` or `subclass` line and the
// drawing as `paint` lines (paint_watch.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simapp {

// Patches the loaded plug-in's import table. Returns an empty string on
// success, else why the table cannot be read.
std::string WatchPluginCalls(HMODULE plugin);

// At the end of a run: a `leak` line for each kind of hook the plug-in left
// installed; the leftover hooks are then removed, so that none outlives the
// plug-in's code. Window procedures left in place are not leaks: the module
// leaves them on purpose on newer Windows and hosts while the editor closes,
// and the editor destroys its windows before it unloads the plug-in. The
// `subclass` lines show every replacement and restoring.
void ReportPluginLeftovers();

}  // namespace simapp
