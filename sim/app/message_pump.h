// Running the editor's message loop between and during steps.
#pragma once

#include <windows.h>

namespace simapp {

// Dispatches what is queued now (bounded, so a window that keeps posting to
// itself cannot hold the editor).
void PumpPending();

// Runs the loop for `ms` milliseconds: timers fire, posted messages arrive.
void PumpFor(DWORD ms);

}  // namespace simapp
