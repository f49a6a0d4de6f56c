// Where the module's dialogs open: over the editor's main window.
#pragma once

#include <windows.h>

// Moves the window, without resizing, activating or restacking it, so that it
// is centred on the editor's main window; with no main window, on the screen.
void CenterOverMainWindow(HWND window);
