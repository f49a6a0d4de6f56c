#include "ui/hooks.h"

#include "entry/module_state.h"

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
  return CallNextHookEx(KeyboardHook.get(), code, wParam, lParam);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(MouseHook.get(), code, wParam, lParam);
}
