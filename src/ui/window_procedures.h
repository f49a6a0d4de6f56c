// The editor's windows whose procedures the module replaces. Each slot keeps
// the procedure the window had before beside its handle; everything the
// module's procedure does not handle goes there.
#pragma once

#include <windows.h>

struct SavedProcedure {
  HWND window = nullptr;       // null while nothing is replaced
  WNDPROC previous = nullptr;  // what the window ran before
  WNDPROC installed = nullptr; // the module's procedure put on it
};

extern SavedProcedure SavedMainProc;
extern SavedProcedure SavedLayersProc;
extern SavedProcedure SavedControlBarProc;
extern SavedProcedure SavedToolbarProc;

// Puts `procedure` on `window` and keeps the previous one in `saved`. False
// when `window` is null or the replacement fails. A slot that already holds
// another window gives that one back first; asking again for the same window
// and procedure changes nothing. A window that already runs `procedure`
// without being in the slot is refused: its previous procedure is unknown,
// and keeping the module's own would make passing on call itself forever.
bool ReplaceWindowProcedure(SavedProcedure& saved, HWND window, WNDPROC procedure);
// Gives the previous procedure back and empties the slot. When someone else
// has replaced the procedure after the module, taking the module's out would
// cut theirs off too: the slot is kept (passing on still works) and the
// result is false. A window that no longer exists just empties the slot.
bool RestoreWindowProcedure(SavedProcedure& saved);
// All four slots.
void RestoreWindowProcedures();

// Calls the saved procedure (DefWindowProcA when there is none).
LRESULT PassOn(const SavedProcedure& saved, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The module's procedures. Whatever one of them does not handle, and
// everything while ProceduresIdle is set, goes to the procedure it replaced;
// nothing the module throws reaches the editor's message loop.
//
// The main window: the editor's menus as they open, the module's owner-drawn
// items, its menu commands, the editor's filter commands on a smart object,
// and the items of pop-ups the editor tracks itself.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The Layers view: the panel buttons, and a double click on the thumbnail of
// an adjustment layer or a smart object.
LRESULT CALLBACK LayersViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The control bar: the Scripts and Actions buttons, and the late search for
// a Layers view that was not there at start-up (editor 11).
LRESULT CALLBACK ControlBarViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The toolbar (editor 11): the Quick Mask button.
LRESULT CALLBACK ToolbarViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether the cursor is on the smart-filter badge of a layer that has smart
// filters; unless `testOnly`, a hit also opens Edit Smart Filters.
bool SmartFilterBadgeHit(bool testOnly);

// Stops the control bar's timer of the late Layers-view search, when one runs.
void StopLateLayersViewSearch();

// Each role with its slot and its procedure, for start-up.
inline bool ReplaceMainWindowProcedure(HWND window) {
  return ReplaceWindowProcedure(SavedMainProc, window, MainWindowProc);
}
inline bool ReplaceLayersViewProcedure(HWND window) {
  return ReplaceWindowProcedure(SavedLayersProc, window, LayersViewProc);
}
inline bool ReplaceControlBarViewProcedure(HWND window) {
  return ReplaceWindowProcedure(SavedControlBarProc, window, ControlBarViewProc);
}
inline bool ReplaceToolbarViewProcedure(HWND window) {
  return ReplaceWindowProcedure(SavedToolbarProc, window, ToolbarViewProc);
}
