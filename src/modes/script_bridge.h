// Running JavaScript through the host's scripting engine, and what the
// module does through it: loading action files, waking the scripting user
// interface of the editor that needs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Runs a text in the host's code page. True when the engine ran it without
// error; false when there is no engine or the script failed, whose message
// is shown when `showErrors` is set. `activateFirst` wakes the scripting
// user interface first where the editor needs it (ActivateScriptingUi).
bool RunJavaScript(const char* text, bool showErrors, bool activateFirst);

// Makes the host load an action file (a Windows path). False when the path
// cannot be put into the loading script or the script failed; nothing is
// shown either way.
bool LoadActionFileIntoHost(const char* path);

// Plays the deletion of the host's action set of that name; the host's
// result.
std::int32_t DeleteActionSet(const char* name);

// Once per run, on the editor version whose scripting user interface does
// not start by itself: loads and plays a generated action that opens it,
// then removes the set and the temporary files again.
void ActivateScriptingUi();
extern bool ScriptingUiActivated;

// The action files loaded through the module, in the order they were
// loaded: kept with the settings and loaded into the host again at start-up.
extern std::vector<std::string> LoadedActionFiles;
