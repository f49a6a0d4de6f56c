#include "ui/hooks.h"

#include "entry/module_state.h"
#include "settings/shortcuts.h"
#include "ui/procedure_state.h"

HookHandle KeyboardHook;
HookHandle MouseHook;

namespace {

// The keyboard hook is global: the system may call it in other processes
// that load the module for it. Only the process that installed it acts.
DWORD HookingProcess = 0;

bool InHookingProcess() { return HookingProcess == GetCurrentProcessId(); }

}  // namespace

void HookHandle::reset(HHOOK hook) {
  if (hook_ && hook_ != hook) UnhookWindowsHookEx(hook_);
  hook_ = hook;
}

bool InstallHooks() {
  HookingProcess = GetCurrentProcessId();
  if (!KeyboardHook) KeyboardHook.reset(SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, ModuleInstance, 0));
  if (!MouseHook)
    MouseHook.reset(SetWindowsHookExA(WH_MOUSE, MouseHookProc, ModuleInstance, GetCurrentThreadId()));
  return KeyboardHook && MouseHook;
}

void RemoveHooks() {
  KeyboardHook.reset();
  MouseHook.reset();
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (!InHookingProcess()) return CallNextHookEx(nullptr, code, wParam, lParam);
  if (HandleShortcutKey(code, wParam, lParam)) return 1;
  return CallNextHookEx(KeyboardHook.get(), code, wParam, lParam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  // A pop-up the editor tracks itself tells the main window only which item
  // was highlighted; the release of the button over the main window (which
  // holds the mouse during the menu loop) is what makes it a click.
  if (code == HC_ACTION && wParam == WM_LBUTTONUP && LastMenuPick != 0 && MainWindow) {
    const auto* record = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (record && record->hwnd == MainWindow) MenuClickSeen = true;
  }
  return CallNextHookEx(MouseHook.get(), code, wParam, lParam);
}
