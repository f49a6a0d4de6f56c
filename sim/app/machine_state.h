// What a run of the editor finds on the machine besides its own folder: the
// host's and the plug-in's registry values, the host's preferences file, the
// plug-in's settings file and the scenario's further files. Each run first
// removes what the previous run (or the plug-in during it) left there.
#pragma once

#include <string>

#include "scenario.h"

namespace simapp {

// The host folder: the executable's copy, Locales\, Required\,
// Presets\Scripts\ and the dictionary. `folder` ends without a backslash.
// Returns an empty string on success, else what failed.
std::string PrepareHostFolder(const std::wstring& folder, const HostSettings& host);

// Removes the traces of earlier runs, then writes the scenario's machine
// state. `manifest` is the file that lists the scenario files written, so the
// next run can remove them.
std::string PrepareMachineState(const sim::Json& scenario, const HostSettings& host, const std::wstring& manifest);

// Where the runs in this Wine prefix list the scenario files they wrote (the
// user's local application data, which no scenario clears); empty when that
// folder cannot be found.
std::wstring ScenarioFilesManifest();

// Deletes a file or a folder with everything in it; true when nothing is left.
bool RemoveTree(const std::wstring& path);
bool MakeFolders(const std::wstring& folder);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
std::wstring AppDataFolder();

}  // namespace simapp
