#include "ui/window_procedures.h"

#include <initializer_list>

#include "ui/procedure_state.h"

SavedProcedure SavedMainProc;
SavedProcedure SavedLayersProc;
SavedProcedure SavedControlBarProc;
SavedProcedure SavedToolbarProc;

namespace {

// The procedure is read and written with the ANSI functions only, and passed
// on with CallWindowProcA: the module's procedures then see every message in
// ANSI form, and the previous one (possibly a Unicode procedure, which the
// system then hands out as a conversion handle) gets it converted back. Mixing
// an ANSI setter with CallWindowProcW would hand ANSI text to a procedure
// that reads it as UTF-16.
WNDPROC CurrentProcedure(HWND window) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// The one place that writes a window procedure. Null when it failed.
WNDPROC SwapProcedure(HWND window, WNDPROC procedure) {
  SetLastError(0);
  const LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  if (previous == 0 && GetLastError() != 0) return nullptr;
  return reinterpret_cast<WNDPROC>(previous);
}

}  // namespace

bool ReplaceWindowProcedure(SavedProcedure& saved, HWND window, WNDPROC procedure) {
  if (!window || !procedure || !IsWindow(window)) return false;
  if (saved.window == window && saved.installed == procedure && CurrentProcedure(window) == procedure) {
    // Still in place from before a shutdown that left it there.
    ProceduresIdle = false;
    return true;
  }
  if (saved.window && !RestoreWindowProcedure(saved)) return false;
  if (CurrentProcedure(window) == procedure) return false;
  WNDPROC previous = SwapProcedure(window, procedure);
  if (!previous) return false;
  saved = {window, previous, procedure};
  ProceduresIdle = false;
  return true;
}

bool RestoreWindowProcedure(SavedProcedure& saved) {
  if (!saved.window) return true;
  if (IsWindow(saved.window)) {
    if (CurrentProcedure(saved.window) != saved.installed) return false;
    if (!SwapProcedure(saved.window, saved.previous)) return false;
  }
  saved = {};
  return true;
}

void RestoreWindowProcedures() {
  for (SavedProcedure* saved : {&SavedMainProc, &SavedLayersProc, &SavedControlBarProc, &SavedToolbarProc})
    RestoreWindowProcedure(*saved);
}

LRESULT PassOn(const SavedProcedure& saved, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!saved.previous) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(saved.previous, window, message, wParam, lParam);
}
