// The editor's top-level main window (class "pseeditor") with its menu bar.
#pragma once

#include <windows.h>

namespace simapp {

constexpr const wchar_t* kMainWindowClass = L"pseeditor";

// Creates and shows the main window; null on failure.
HWND CreateMainWindow(HINSTANCE instance);

}  // namespace simapp
