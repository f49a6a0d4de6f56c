#include "host_windows.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <vector>

#include "host_popups.h"
#include "sim_host.h"

namespace simapp {
namespace {

// Every container and view class of the editor's docks, and the Layers list.
constexpr const wchar_t* kClasses[] = {
    L"OWL.Dock",    L"OWL.TabPane",  L"OWL.TabGroup",         L"OWL.Palette", L"PSViewC", L"ElementsScroller",
    L"OWL.ControlBarContainer", L"OWL.ControlBar", L"OWL.ToolbarContainer", L"OWL.Toolbar",
};

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

HBRUSH gPanelBrush = nullptr;
HWND gFloatingPanel = nullptr;
std::map<std::string, HWND> gViews;  // role -> view

// The panel background of each host version.
COLORREF PanelColour(int version) {
  if (version >= 11) return RGB(255, 255, 255);
  if (version >= 9) return RGB(71, 71, 71);
  if (version >= 7) return RGB(110, 110, 110);
  if (version == 6) return RGB(120, 120, 120);
  if (version >= 4) return RGB(240, 240, 240);
  if (version == 3) return RGB(230, 230, 230);
  return GetSysColor(COLOR_BTNFACE);
}

// A press the editor's own view received (the plug-in passed it on): the
// views that carry the plug-in's buttons record it.
void NoteHostPress(HWND window, LPARAM lParam, bool twice) {
  const std::string role = WindowRoleName(window);
  if (role != "layers" && role != "controlBar" && role != "toolbar") return;
  sim::Record(sim::Json{{"kind", "host-press"},
                        {"window", role},
                        {"x", int(short(LOWORD(lParam)))},
                        {"y", int(short(HIWORD(lParam)))},
                        {"double", twice}});
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_LBUTTONDOWN:
      NoteHostPress(window, lParam, false);
      // The panels' own buttons and menu icons open the editor's pop-ups.
      if (OnHostViewPress(window, POINT{short(LOWORD(lParam)), short(HIWORD(lParam))})) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
      NoteHostPress(window, lParam, true);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_MOUSEACTIVATE:
      // A click in a floating panel leaves the main window in front.
      if (window == gFloatingPanel) return MA_NOACTIVATE;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc) FillRect(dc, &paint.rcPaint, gPanelBrush ? gPanelBrush : GetSysColorBrush(COLOR_BTNFACE));
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

std::string RegisterClasses(HINSTANCE instance) {
  for (const wchar_t* name : kClasses) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = PanelProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    cls.lpszClassName = name;
    if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      return "the window class of the editor's panels cannot be registered (error " +
             std::to_string(GetLastError()) + ")";
  }
  return {};
}

// Builds windows in creation order; each goes below its earlier siblings, so
// the searches meet them in the order they were made, decoys first.
class Builder {
 public:
  explicit Builder(HINSTANCE instance) : instance_(instance) {}

  HWND Child(HWND parent, const wchar_t* cls, const wchar_t* title, int x, int y, int w, int h, DWORD style = 0) {
    HWND window = CreateWindowExW(0, cls, title, kChildStyle | style, x, y, w, h, parent, nullptr, instance_, nullptr);
    if (!window) {
      failed_ = true;
      return nullptr;
    }
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return window;
  }
  // A child filling its parent's client area.
  HWND Fill(HWND parent, const wchar_t* cls, const wchar_t* title = L"") {
    RECT r{};
    GetClientRect(parent, &r);
    return Child(parent, cls, title, 0, 0, r.right, r.bottom);
  }
  bool Failed() const { return failed_; }

 private:
  HINSTANCE instance_;
  bool failed_ = false;
};

// A panel in a tab group: palette (titled with the panel's name) and its view.
HWND AddPalette(Builder& b, HWND group, const wchar_t* name, int y, int height) {
  RECT r{};
  GetClientRect(group, &r);
  HWND palette = b.Child(group, L"OWL.Palette", name, 0, y, r.right, height);
  return palette ? b.Fill(palette, L"PSViewC") : nullptr;
}

// The Layers view: blend mode, opacity, the layer list it draws itself and
// the list's scroll bar, nothing else. From version 11 a row of buttons
// (the new-adjustment-layer button among them) stands above the controls.
HWND AddLayersPanel(Builder& b, HWND group, int y, int height, int version) {
  HWND view = AddPalette(b, group, L"Layers", y, height);
  if (!view) return nullptr;
  RECT r{};
  GetClientRect(view, &r);
  const int controlsTop = version >= 11 ? 30 : 4, listTop = version >= 11 ? 55 : 32, footHeight = 36;
  constexpr int kScrollBarWidth = 16;
  b.Child(view, L"ComboBox", L"", 4, controlsTop, 120, 200, CBS_DROPDOWNLIST);
  b.Child(view, L"Edit", L"100%", 130, controlsTop, 50, 22, ES_AUTOHSCROLL);
  b.Child(view, L"ElementsScroller", L"", r.right - kScrollBarWidth, listTop, kScrollBarWidth,
          std::max(0, int(r.bottom) - listTop - footHeight));
  return view;
}

// The Undo History panel: its list of states and a scroll bar; its menu icon
// at the top right.
HWND AddHistoryPanel(Builder& b, HWND group, int y, int height) {
  HWND view = AddPalette(b, group, L"Undo History", y, height);
  if (!view) return nullptr;
  RECT r{};
  GetClientRect(view, &r);
  b.Child(view, L"ElementsScroller", L"", r.right - 16, 24, 16, std::max(0, int(r.bottom) - 24));
  return view;
}

// Another panel's view, with a list and controls of other kinds than the
// Layers view's.
void AddEffectsPanel(Builder& b, HWND group, int y, int height) {
  HWND view = AddPalette(b, group, L"Effects", y, height);
  if (!view) return;
  RECT r{};
  GetClientRect(view, &r);
  b.Child(view, L"ElementsScroller", L"", 0, 32, r.right, r.bottom - 32);
  b.Child(view, L"ComboBox", L"", 4, 4, 120, 200, CBS_DROPDOWNLIST);
  b.Child(view, L"Button", L"Apply", 130, 4, 60, 22);
}

// dock > tab pane > tab group: the group the panels go into.
HWND AddTabGroup(Builder& b, HWND dock) {
  HWND pane = b.Fill(dock, L"OWL.TabPane");
  return pane ? b.Fill(pane, L"OWL.TabGroup") : nullptr;
}

HWND AddBar(Builder& b, HWND dock, const wchar_t* containerClass, const wchar_t* barClass) {
  HWND container = b.Fill(dock, containerClass);
  HWND bar = container ? b.Fill(container, barClass) : nullptr;
  return bar ? b.Fill(bar, L"PSViewC") : nullptr;
}

}  // namespace

std::string BuildHostWindows(HWND mainWindow, HINSTANCE instance, const HostSettings& host) {
  DestroyHostWindows();
  if (std::string error = RegisterClasses(instance); !error.empty()) return error;
  gPanelBrush = CreateSolidBrush(PanelColour(host.version));

  RECT client{};
  GetClientRect(mainWindow, &client);
  const int width = client.right, height = client.bottom;
  constexpr int kBarHeight = 36, kDecoyHeight = 24, kPanelWidth = 280;
  const bool toolbar = host.version == 11;
  const int panelTop = kBarHeight, panelHeight = height - kBarHeight - (host.controlBarDecoy ? kDecoyHeight : 0);

  Builder b(instance);
  if (host.controlBarDecoy) {
    // A dock whose first control-bar container holds no control bar; its
    // second one is complete but must not count.
    HWND dock = b.Child(mainWindow, L"OWL.Dock", L"", 0, height - kDecoyHeight, width - kPanelWidth, kDecoyHeight);
    if (dock) {
      HWND bare = b.Fill(dock, L"OWL.ControlBarContainer");
      if (bare) b.Fill(bare, L"PSViewC");
      AddBar(b, dock, L"OWL.ControlBarContainer", L"OWL.ControlBar");
    }
  }
  if (HWND dock = b.Child(mainWindow, L"OWL.Dock", L"", 0, 0, width, kBarHeight))
    gViews["controlBar"] = AddBar(b, dock, L"OWL.ControlBarContainer", L"OWL.ControlBar");
  if (toolbar)
    if (HWND dock = b.Child(mainWindow, L"OWL.Dock", L"", 0, panelTop, host.toolbarWidth, panelHeight))
      gViews["toolbar"] = AddBar(b, dock, L"OWL.ToolbarContainer", L"OWL.Toolbar");

  const int effectsHeight = panelHeight / 5, historyHeight = panelHeight / 5;
  const int layersTop = effectsHeight + historyHeight;
  if (HWND dock = b.Child(mainWindow, L"OWL.Dock", L"", width - kPanelWidth, panelTop, kPanelWidth, panelHeight)) {
    if (HWND group = AddTabGroup(b, dock)) {
      AddEffectsPanel(b, group, 0, effectsHeight);
      SetHistoryView(AddHistoryPanel(b, group, effectsHeight, historyHeight));
      if (host.layersPanel == "docked")
        gViews["layers"] = AddLayersPanel(b, group, layersTop, panelHeight - layersTop, host.version);
    }
  }
  if (host.layersPanel == "floating") {
    // A panel torn off the bin: a top-level dock of its own, owned by the
    // main window, holding the same chain.
    RECT frame{};
    GetWindowRect(mainWindow, &frame);
    gFloatingPanel = CreateWindowExW(WS_EX_TOOLWINDOW, L"OWL.Dock", L"", WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN,
                                     frame.left + width / 2, frame.top + 120, kPanelWidth, 420, mainWindow, nullptr,
                                     instance, nullptr);
    if (!gFloatingPanel) return "the floating Layers panel cannot be created (error " + std::to_string(GetLastError()) + ")";
    if (HWND group = AddTabGroup(b, gFloatingPanel)) gViews["layers"] = AddLayersPanel(b, group, 0, 418, host.version);
  }
  if (b.Failed()) return "the editor's panels cannot be created (error " + std::to_string(GetLastError()) + ")";
  return {};
}

void DestroyHostWindows() {
  if (gFloatingPanel && IsWindow(gFloatingPanel)) DestroyWindow(gFloatingPanel);
  gFloatingPanel = nullptr;
  gViews.clear();
  SetHistoryView(nullptr);
  if (gPanelBrush) DeleteObject(gPanelBrush);
  gPanelBrush = nullptr;
}

HWND HostView(const std::string& role) {
  auto it = gViews.find(role);
  return it == gViews.end() ? nullptr : it->second;
}

std::string WindowRoleName(HWND window) {
  if (window && window == sim::MainWindow()) return "main";
  for (const auto& [role, view] : gViews)
    if (view && view == window) return role;
  return "other";
}

}  // namespace simapp
