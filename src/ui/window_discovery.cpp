#include "ui/window_discovery.h"

#include <cstring>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/suites.h"

std::uint32_t ChildCount = 0;
bool AllChildrenKnown = false;

namespace {

constexpr const char* kMainWindowClasses[] = {"pseeditor", "PhotoshopElements"};
constexpr const char* kLayersViewChildClasses[] = {"ElementsScroller", "Edit", "ComboBox"};

// Class names compare whole and with case: FindWindowA and the class atoms
// ignore case, so a window of class "photoshopelements" must be refused here.
bool HasClass(HWND window, const char* name) {
  char cls[256] = {};
  if (!GetClassNameA(window, cls, sizeof cls)) return false;
  return std::strcmp(cls, name) == 0;
}

bool IsMainWindowClass(HWND window) {
  if (!window) return false;
  for (const char* name : kMainWindowClasses)
    if (HasClass(window, name)) return true;
  return false;
}

// A candidate for the main window, stored as the search goes: kept when its
// class is one of the editor's, cleared otherwise.
bool Accept(HWND candidate) {
  MainWindow = IsMainWindowClass(candidate) ? candidate : nullptr;
  return MainWindow != nullptr;
}

HWND HostMainWindow() {
  return reinterpret_cast<HWND>(UIHooksProcs()->MainAppWindow());
}

// The first child of `parent` of class `cls` with an empty title.
HWND FirstUntitledChild(HWND parent, const char* cls) { return FindWindowExA(parent, nullptr, cls, ""); }

HWND NextSibling(HWND window) { return GetWindow(window, GW_HWNDNEXT); }

bool IsLayersView(HWND view) {
  ChildCount = 0;
  EnumChildWindows(view, CountLayersViewChild, 0);
  return ChildCount == 3 && AllChildrenKnown;
}

// The view of a bar in one of the main window's docks: in each dock only its
// first container, that container's first bar and that bar's first view count.
HWND FindBarView(const char* containerClass, const char* barClass) {
  if (!MainWindow) return nullptr;
  for (HWND dock = FirstUntitledChild(MainWindow, "OWL.Dock"); dock; dock = NextSibling(dock)) {
    HWND container = FirstUntitledChild(dock, containerClass);
    HWND bar = container ? FirstUntitledChild(container, barClass) : nullptr;
    HWND view = bar ? FirstUntitledChild(bar, "PSViewC") : nullptr;
    if (view) return view;
  }
  return nullptr;
}

}  // namespace

HWND FindMainWindow(const char* title) {
  if (Accept(HostMainWindow())) return MainWindow;
  for (const char* cls : kMainWindowClasses)
    if (Accept(FindWindowA(cls, nullptr))) return MainWindow;
  if (Accept(GetActiveWindow())) return MainWindow;
  ShowMessage(title, "%s", "Error: Cannot find Photoshop Elements window!");
  return nullptr;
}

BOOL CALLBACK CountLayersViewChild(HWND window, LPARAM) {
  ++ChildCount;
  AllChildrenKnown = true;
  for (const char* cls : kLayersViewChildClasses)
    if (HasClass(window, cls)) return TRUE;
  AllChildrenKnown = false;
  return FALSE;
}

HWND FindLayersViewUnder(HWND parent) {
  for (HWND dock = FirstUntitledChild(parent, "OWL.Dock"); dock; dock = NextSibling(dock))
    for (HWND pane = FirstUntitledChild(dock, "OWL.TabPane"); pane; pane = NextSibling(pane))
      for (HWND group = FirstUntitledChild(pane, "OWL.TabGroup"); group; group = NextSibling(group))
        for (HWND palette = FindWindowExA(group, nullptr, "OWL.Palette", nullptr); palette;
             palette = NextSibling(palette))
          if (HWND view = FirstUntitledChild(palette, "PSViewC"); view && IsLayersView(view)) return view;
  return nullptr;
}

HWND FindLayersView() {
  if (MainWindow)
    if (HWND view = FindLayersViewUnder(MainWindow)) return view;
  return FindLayersViewUnder(nullptr);
}

HWND FindControlBarView() { return FindBarView("OWL.ControlBarContainer", "OWL.ControlBar"); }

HWND FindToolbarView() { return FindBarView("OWL.ToolbarContainer", "OWL.Toolbar"); }
