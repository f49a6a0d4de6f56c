// Start-up on the first host event, and its undoing at shutdown.
#pragma once

// Installs the module into the running editor. 1 when it ran to its end (or
// ended with the start-up error box), 0 when the host or the settings made it
// stop early with nothing installed.
int StartModule();
// Undoes what StartModule installed.
void TeardownModule();

// The host's product and major version from the running executable.
void IdentifyHost();
// The Windows version as a small code (computed once).
int ClassifyWindowsVersion();
// The same rule on given figures.
int WindowsVersionCodeOf(unsigned platform, unsigned major, unsigned minor, const char* servicePack);
