// Module-wide state shared across the plug-in. Everything here lives on the
// host's user-interface thread; there are no locks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "basic_suite.h"

// Taken from every message the host sends.
extern host::BasicSuite* BasicSuite;
extern host::PluginRef PluginRef;

// Entry and notifier.
extern std::uint8_t NotifierRegistered;
extern std::int32_t StartupDone;
extern std::int32_t ModuleActive;

// Host identity, set by start-up.
extern char HostProductName[32];
extern bool HostIsPhotoshop;
extern bool HostIsElements;
extern int HostMajorVersion;
extern int WindowsVersionCode;
extern HINSTANCE ModuleInstance;
extern bool HostIsGerman;

// The module's menu items are drawn in colour (first run, or chosen).
extern bool ColorizeEnabled;
// "Deactivate Key Shortcuts": the keyboard hook passes every key on.
extern bool ShortcutsDisabled;

// The editor's windows.
extern HWND MainWindow;
extern HWND LayersView;
extern HWND ControlBarView;
extern HWND ToolbarView;
