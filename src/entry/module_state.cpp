#include "entry/module_state.h"

host::BasicSuite* BasicSuite = nullptr;
host::PluginRef PluginRef = nullptr;

std::uint8_t NotifierRegistered = 0;
std::int32_t StartupDone = 0;
std::int32_t ModuleActive = 0;

char HostProductName[32] = {};
bool HostIsPhotoshop = false;
bool HostIsElements = false;
int HostMajorVersion = 0;
int WindowsVersionCode = 0;
HINSTANCE ModuleInstance = nullptr;
bool HostIsGerman = false;
bool ColorizeEnabled = false;
bool ShortcutsDisabled = false;

HWND MainWindow = nullptr;
HWND LayersView = nullptr;
HWND ControlBarView = nullptr;
HWND ToolbarView = nullptr;
