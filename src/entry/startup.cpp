#include "entry/startup.h"

#include "entry/module_state.h"

// The editor is not yet identified nor changed at start-up: the module only
// answers the host's calls, so it stays inactive and there is nothing to undo.
void StartModule() {}

void TeardownModule() {}
