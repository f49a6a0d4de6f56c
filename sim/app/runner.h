// The runner: checks the scenario, prepares the host folder and the machine
// state, starts the renamed copy of the editor with --child and passes its
// exit status on (0 ran to the end, 1 the editor failed, 2 bad scenario).
#pragma once

#include <string>

#include "options.h"

namespace simapp {

int RunScenario(const Options& options);

// The folder of the running executable, without a trailing backslash.
std::wstring ExecutableFolder();
std::wstring ExecutablePath();

}  // namespace simapp
