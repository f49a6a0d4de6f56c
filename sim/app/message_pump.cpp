#include "message_pump.h"

#include <cwchar>

#include "main_window.h"
#include "sim_host.h"

namespace simapp {
namespace {

// A key that reaches the editor's own windows (not kept by a hook) is the
// editor's to act on: recorded once per press, auto-repeats left out.
void RecordKeyTheEditorGets(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  if (msg.lParam & (LPARAM(1) << 30)) return;
  wchar_t cls[64] = L"";
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root) GetClassNameW(root, cls, 64);
  const bool main = std::wcscmp(cls, kMainWindowClass) == 0 || std::wcscmp(cls, L"EditorFrame") == 0;
  sim::Record(sim::Json{{"kind", "host-key"},
                        {"key", int(msg.wParam)},
                        {"ctrl", GetKeyState(VK_CONTROL) < 0},
                        {"shift", GetKeyState(VK_SHIFT) < 0},
                        {"alt", GetKeyState(VK_MENU) < 0},
                        {"window", main ? "main" : "other"}});
}

constexpr int kMaxMessagesPerPump = 10000;

bool DispatchOne() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) return true;  // the scenario, not a posted quit, ends the run
  RecordKeyTheEditorGets(msg);
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

}  // namespace

void PumpPending() {
  for (int i = 0; i < kMaxMessagesPerPump && DispatchOne(); ++i) {
  }
}

void PumpFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    PumpPending();
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

}  // namespace simapp
