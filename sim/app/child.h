// The editor proper, started by the runner as the renamed copy: the main
// window, the host, the plug-in and the scenario's steps.
#pragma once

#include "options.h"

namespace simapp {

int RunEditor(const Options& options);

}  // namespace simapp
