// Start-up on the first host event, and its undoing at shutdown.
#pragma once

// Installs the module into the running editor.
void StartModule();
// Undoes everything StartModule installed, in reverse order.
void TeardownModule();
