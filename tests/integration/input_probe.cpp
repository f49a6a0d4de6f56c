// A plug-in that reports what the editor's input looks like from inside:
// every key its keyboard hook sees is played as an event `Key `, every mouse
// message its mouse hook sees as `Mous`, with the details in the descriptor
// (so they stand in the transcript's `play` lines). The tests of the input
// steps read them; the real plug-in's reactions are tested elsewhere.
#include <windows.h>

#include <cstring>

#include "action_suites.h"
#include "basic_suite.h"

namespace {

host::BasicSuite* Basic = nullptr;
const host::DescriptorSuite* Descriptors = nullptr;
const host::ControlSuite* Control = nullptr;
HHOOK KeyboardHook = nullptr;
HHOOK MouseHook = nullptr;

bool Down(int key) { return GetAsyncKeyState(key) < 0; }

bool IsClass(HWND window, const char* name) {
  char cls[64] = {};
  return window && GetClassNameA(window, cls, sizeof cls) && std::strcmp(cls, name) == 0;
}

// Plays `event` with the fields `fill` puts into a descriptor.
template <typename Fill>
void Report(host::TypeID event, Fill fill) {
  if (!Descriptors || !Control) return;
  host::Descriptor d = nullptr;
  if (Descriptors->Make(&d) != 0) return;
  fill(d);
  host::Descriptor result = nullptr;
  Control->Play(&result, event, d, 2);
  if (result) Descriptors->Free(result);
  Descriptors->Free(d);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION)
    Report(host::FourCC("Key "), [&](host::Descriptor d) {
      Descriptors->PutInteger(d, host::FourCC("Key "), std::int32_t(wParam));
      Descriptors->PutBoolean(d, host::FourCC("Rpt "), host::Boolean((lParam >> 30) & 1));
      Descriptors->PutBoolean(d, host::FourCC("Up  "), host::Boolean((lParam >> 31) & 1));
      Descriptors->PutBoolean(d, host::FourCC("Ctrl"), Down(VK_CONTROL));
      Descriptors->PutBoolean(d, host::FourCC("Shft"), Down(VK_SHIFT));
      Descriptors->PutBoolean(d, host::FourCC("Alt "), Down(VK_MENU));
      Descriptors->PutBoolean(d, host::FourCC("Frnt"), IsClass(GetForegroundWindow(), "pseeditor"));
    });
  return CallNextHookEx(KeyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  const auto* record = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  const bool reported = wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP || wParam == WM_LBUTTONDBLCLK ||
                        wParam == WM_MOUSEMOVE;
  if (code == HC_ACTION && record && reported) {
    POINT at = record->pt;
    ScreenToClient(record->hwnd, &at);
    RECT client{};
    GetClientRect(record->hwnd, &client);
    char cls[64] = {};
    GetClassNameA(record->hwnd, cls, sizeof cls);
    Report(host::FourCC("Mous"), [&](host::Descriptor d) {
      Descriptors->PutInteger(d, host::FourCC("Msg "), std::int32_t(wParam));
      Descriptors->PutString(d, host::FourCC("Clss"), cls);
      Descriptors->PutInteger(d, host::FourCC("X   "), at.x);
      Descriptors->PutInteger(d, host::FourCC("Y   "), at.y);
      Descriptors->PutInteger(d, host::FourCC("Wdth"), client.right);
      Descriptors->PutInteger(d, host::FourCC("Hght"), client.bottom);
      Descriptors->PutBoolean(d, host::FourCC("Ctrl"), Down(VK_CONTROL));
      Descriptors->PutBoolean(d, host::FourCC("Alt "), Down(VK_MENU));
    });
  }
  return CallNextHookEx(MouseHook, code, wParam, lParam);
}

void Start() {
  Basic->AcquireSuite(host::kDescriptorSuiteName, 3, reinterpret_cast<const void**>(&Descriptors));
  Basic->AcquireSuite(host::kControlSuiteName, 2, reinterpret_cast<const void**>(&Control));
  KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, nullptr, GetCurrentThreadId());
  MouseHook = SetWindowsHookExA(WH_MOUSE, MouseProc, nullptr, GetCurrentThreadId());
}

void Stop() {
  if (KeyboardHook) UnhookWindowsHookEx(KeyboardHook);
  if (MouseHook) UnhookWindowsHookEx(MouseHook);
  KeyboardHook = MouseHook = nullptr;
  if (Descriptors) Basic->ReleaseSuite(host::kDescriptorSuiteName, 3);
  if (Control) Basic->ReleaseSuite(host::kControlSuiteName, 2);
  Descriptors = nullptr;
  Control = nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) int AutoPluginMain(const char*, const char* selector, void* message) {
  if (!message) return 0;
  Basic = static_cast<host::MessageData*>(message)->basic;
  if (std::strcmp(selector, "Startup") == 0 && !KeyboardHook) Start();
  if (std::strcmp(selector, "Shutdown") == 0) Stop();
  return 0;
}
