// Finding the editor's windows by their window classes: the main window and
// the content views inside its docks. The searches only read; storing the
// views and replacing their procedures is up to the caller.
#pragma once

#include <windows.h>

#include <cstdint>

// State of the Layers-view test, valid only during one test.
extern std::uint32_t ChildCount;   // descendants visited
extern bool AllChildrenKnown;      // every visited descendant had an expected class

// The editor's main window, or null after telling the user (a box captioned
// `title`). Stores the result in MainWindow.
HWND FindMainWindow(const char* title);

// The Layers panel's view: docked in the main window first, then floating
// among the top-level windows. Null when there is none.
HWND FindLayersView();
// The Layers view among the docks of `parent` (null: the top-level windows).
HWND FindLayersViewUnder(HWND parent);
// EnumChildWindows callback of the Layers-view test; non-zero to go on.
BOOL CALLBACK CountLayersViewChild(HWND window, LPARAM unused);

// The control bar's and the toolbar's content views in the main window's
// docks, or null.
HWND FindControlBarView();
HWND FindToolbarView();
