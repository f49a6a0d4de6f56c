// The editor's top-level main window (class "pseeditor") with its menu bar.
#pragma once

#include <windows.h>

namespace simapp {

constexpr const wchar_t* kMainWindowClass = L"pseeditor";

// Creates and shows the main window; null on failure.
// `recognisable` false gives it a class the plug-in does not look for; the
// menu bar is the one of host major version `version`.
HWND CreateMainWindow(HINSTANCE instance, bool recognisable = true, int version = 8);

}  // namespace simapp
