// The module's two Windows hooks: the keyboard hook for every thread of the
// desktop, the mouse hook for the user-interface thread.
#pragma once

#include <windows.h>

// Owns one hook: unhooks it when reset or destroyed.
class HookHandle {
 public:
  HookHandle() = default;
  HookHandle(const HookHandle&) = delete;
  HookHandle& operator=(const HookHandle&) = delete;
  ~HookHandle() { reset(); }

  HHOOK get() const { return hook_; }
  explicit operator bool() const { return hook_ != nullptr; }
  // Unhooks the current hook (if any) and takes `hook`.
  void reset(HHOOK hook = nullptr);

 private:
  HHOOK hook_ = nullptr;
};

extern HookHandle KeyboardHook;
extern HookHandle MouseHook;

// Installs both hooks with ModuleInstance, each unless already installed.
// False when either could not be installed.
bool InstallHooks();
// Removes both hooks, each when installed.
void RemoveHooks();

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
