#include <windows.h>
#include <windowsx.h>

#include <cstdint>
#include <optional>

#include "adjustments/dialog_state.h"
#include "commands/dispatcher.h"
#include "entry/module_state.h"
#include "ui/panel_buttons.h"
#include "ui/procedure_state.h"
#include "ui/window_discovery.h"
#include "ui/window_procedures.h"

namespace {

// Editor 11 may build its Layers panel only after start-up: a click in the
// control bar starts a search for it one second later.
constexpr UINT_PTR kLateLayersSearchTimer = 1;
constexpr UINT kLateLayersSearchDelay = 1000;
// The window the search timer runs on, so that shutdown can stop it.
HWND LateSearchTimerWindow = nullptr;

constexpr std::uint32_t kEditInQuickMaskMode = 0x8865;
constexpr std::uint32_t kQuickMaskOptions = 0x8866;

using Answer = std::optional<LRESULT>;  // empty: pass the message on

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void StartLateLayersViewSearch(HWND view) {
  if (SetTimer(view, kLateLayersSearchTimer, kLateLayersSearchDelay, nullptr)) LateSearchTimerWindow = view;
}

void AdoptLateLayersView() {
  HWND found = FindLayersView();
  if (!found) return;
  LayersView = found;
  ReplaceLayersViewProcedure(found);
  LayersViewProc(found, WM_PAINT, 0, 0);
}

Answer HandleControlBarMessage(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      TrackControlBarHover(view, PointOf(lParam));
      return {};
    case WM_PAINT:
      PassOn(SavedControlBarProc, view, message, wParam, lParam);
      DrawControlBarButtons(view, -1, false);
      return 1;
    case WM_LBUTTONDOWN:
      if (ClickControlBarButton(view, PointOf(lParam))) return 1;
      if (HostMajorVersion == 11 && !LayersView) StartLateLayersViewSearch(view);
      return {};
    case WM_TIMER:
      // Whichever timer it is, the search runs once per click.
      KillTimer(view, kLateLayersSearchTimer);
      if (LateSearchTimerWindow == view) LateSearchTimerWindow = nullptr;
      if (!LayersView) AdoptLateLayersView();
      return {};
    default:
      return {};
  }
}

Answer HandleToolbarMessage(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  RelayToTooltips(view, message, wParam, lParam);
  switch (message) {
    case WM_NCHITTEST:
      TrackToolbarHover(view, PointOf(lParam));
      return {};
    case WM_PAINT:
      PassOn(SavedToolbarProc, view, message, wParam, lParam);
      // A view too narrow for the button is painted by the host once more,
      // over whatever the module left.
      if (!DrawQuickMaskButton(view, false)) return PassOn(SavedToolbarProc, view, message, wParam, lParam);
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!HitQuickMaskButton(view, PointOf(lParam), false)) return {};
      // The button is the module's even while a tool dialog runs; it starts
      // nothing then.
      if (!ToolDialogRunning) DispatchCommand(message == WM_LBUTTONDOWN ? kEditInQuickMaskMode : kQuickMaskOptions);
      return 1;
    default:
      return {};
  }
}

}  // namespace

void StopLateLayersViewSearch() {
  if (LateSearchTimerWindow && IsWindow(LateSearchTimerWindow))
    KillTimer(LateSearchTimerWindow, kLateLayersSearchTimer);
  LateSearchTimerWindow = nullptr;
}

LRESULT CALLBACK ControlBarViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ProceduresIdle) {
    try {
      if (const Answer answer = HandleControlBarMessage(window, message, wParam, lParam)) return *answer;
    } catch (...) {
      // Nothing the module throws may reach the editor: the message goes on.
    }
  }
  return PassOn(SavedControlBarProc, window, message, wParam, lParam);
}

LRESULT CALLBACK ToolbarViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ProceduresIdle) {
    try {
      if (const Answer answer = HandleToolbarMessage(window, message, wParam, lParam)) return *answer;
    } catch (...) {
      // Nothing the module throws may reach the editor: the message goes on.
    }
  }
  return PassOn(SavedToolbarProc, window, message, wParam, lParam);
}
