#include "entry/startup.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "adjustments/adjustment_layers.h"
#include "commands/channels.h"
#include "commands/dispatcher.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "localization/dialog_labels.h"
#include "localization/dictionary.h"
#include "localization/host_language.h"
#include "menus/command_table.h"
#include "menus/filter_menu.h"
#include "menus/module_menus.h"
#include "modes/quick_mask.h"
#include "settings/settings_file.h"
#include "ui/hooks.h"
#include "ui/panel_buttons.h"
#include "ui/procedure_state.h"
#include "ui/window_discovery.h"
#include "ui/window_procedures.h"

namespace {

bool EndsWith(const char* text, const char* tail) {
  const std::size_t length = std::strlen(text), tailLength = std::strlen(tail);
  return length >= tailLength && std::strcmp(text + length - tailLength, tail) == 0;
}

void ReadHostVersion(const char* path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return;
  std::unique_ptr<char[]> info(new (std::nothrow) char[size]);
  if (!info || !GetFileVersionInfoA(path, 0, size, info.get())) return;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueA(info.get(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO))
    return;
  if (fixed->dwSignature == 0xFEEF04BD) HostMajorVersion = int(HIWORD(fixed->dwFileVersionMS));
}

// Where this module was loaded: the allocation base of one of its variables.
HINSTANCE FindModuleInstance() {
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQuery(&ModuleInstance, &region, sizeof region) == 0) return nullptr;
  return static_cast<HINSTANCE>(region.AllocationBase);
}

// The new procedures paint the views they were put on once.
void PaintViewsOnce() {
  if (HostMajorVersion >= 8 && LayersView) LayersViewProc(LayersView, WM_PAINT, 0, 0);
  if (HostMajorVersion == 11) {
    if (ToolbarView) ToolbarViewProc(ToolbarView, WM_PAINT, 0, 0);
    if (ControlBarView) ControlBarViewProc(ControlBarView, WM_PAINT, 0, 0);
  }
}

void InstallWindowProcedures() {
  ReplaceMainWindowProcedure(MainWindow);
  if (HostMajorVersion >= 8) {
    const int thumbnailSize = ReadLayerThumbnailSize();
    if (thumbnailSize != -1) LayerThumbnailSize = thumbnailSize;
    LayersView = FindLayersView();
    if (LayersView) ReplaceLayersViewProcedure(LayersView);
    ControlBarView = FindControlBarView();
    if (ControlBarView) ReplaceControlBarViewProcedure(ControlBarView);
  }
  if (HostMajorVersion == 11) {
    ToolbarView = FindToolbarView();
    if (ToolbarView) ReplaceToolbarViewProcedure(ToolbarView);
  }
  PaintViewsOnce();
}

int RunStartup() {
  IdentifyHost();
  HostInterfaceColor();
  if (DetectGermanHost()) {
    HostIsGerman = true;
    UseGermanMessages(true);
  }
  if (std::strcmp(HostProductName, "Elements") != 0 || HostMajorVersion > 12) return 0;
  FindMainWindow(kProductName);
  ModuleInstance = FindModuleInstance();
  if (!LoadSettings()) {
    // A first run: the module's items stand out in colour until the user
    // chooses for good.
    ShowMessage(kProductName, "%s", MessageTable[5]);
    ColorizeEnabled = true;
  }
  if (SettingsRecord[kSettingDeactivated] != 0) return 0;
  ModuleActive = 1;
  ClassifyWindowsVersion();
  AdjustCommandTable();
  CreateModuleMenus();
  BuildMenuLabels();
  TranslateDialogLabels();
  if (HostMajorVersion >= 6) {
    // The filter names are sorted the way the host sorts its Filter menu,
    // so its collation goes first.
    ApplyCollation();
    PrepareFilterTables(HostMajorVersion);
  }
  InstallCommandDispatcher();
  InstallHooks();
  if (!MainWindow) return 1;
  InstallWindowProcedures();
  CreatePanelTooltips();
  return 1;
}

}  // namespace

void IdentifyHost() {
  char path[512] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  path[sizeof path - 1] = '\0';
  const bool photoshop = EndsWith(path, "Photoshop.exe") || EndsWith(path, "Photoshp.exe");
  std::snprintf(HostProductName, sizeof HostProductName, "%s", photoshop ? "Photoshop" : "Elements");
  HostIsPhotoshop = photoshop;
  HostIsElements = !photoshop;
  ReadHostVersion(path);
}

int WindowsVersionCodeOf(unsigned platform, unsigned major, unsigned minor, const char* servicePack) {
  const char second = servicePack && servicePack[0] ? servicePack[1] : '\0';
  switch (platform) {
    case VER_PLATFORM_WIN32s:
      return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
      if (major == 4 && minor == 0) return (second == 'C' || second == 'B') ? 3 : 2;
      if (major == 4 && minor == 10) return second == 'A' ? 5 : 4;
      if (major == 4 && minor == 90) return 6;
      return 0;
    case VER_PLATFORM_WIN32_NT:
      if (major < 5) return 7;
      if (major == 5) return minor == 0 ? 8 : minor == 1 ? 9 : 10;
      if (major == 6) return minor == 0 ? 11 : minor == 1 ? 12 : 13;
      // Systems that report their true version beyond 6 are later still.
      return 13;
    default:
      return 0;
  }
}

int ClassifyWindowsVersion() {
  static bool known = false;
  if (known) return WindowsVersionCode;
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = 148;
  BOOL ok = GetVersionExA(&info);
  if (!ok) ok = GetVersionExA(&info);
  WindowsVersionCode = ok ? WindowsVersionCodeOf(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                                                 info.szCSDVersion)
                          : 0;
  known = true;
  return WindowsVersionCode;
}

int StartModule() {
  try {
    return RunStartup();
  } catch (...) {
    // What was installed before stays installed and is undone at shutdown.
    ShowMessage(kProductName, "%s", "Error when starting up Quillbright.");
    return 1;
  }
}

void TeardownModule() {
  // The settings before anything else, so that nothing after can cost them.
  SaveSettings();
  // Then, while the views still run the module's procedures: the control
  // bar's timer stops, an open adjustment pop-up loses the module's items,
  // and procedures that stay on the editor's windows pass everything on.
  ReleaseProcedureState();
  if (WindowsVersionCode < 11 && HostMajorVersion < 11) RestoreWindowProcedures();
  RemoveHooks();
  FreeHostDictionary();
  FreeAdjustmentValues();
  DestroyModuleMenus();
  ResetChannelChoice();
  ResetQuickMask();
  ResetFilterTables();
}
