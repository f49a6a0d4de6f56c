#include "input.h"

#include <cstdlib>

#include "message_pump.h"

namespace simapp {
namespace {

ULONGLONG gLastClickTick = 0;
POINT gLastClickPoint{};

void Send(INPUT& input) { SendInput(1, &input, sizeof input); }

// Absolute coordinates are in 1/65536 of the primary screen, both edges
// included; the rounding is the one that maps back onto the same pixel.
LONG Normalised(LONG pixel, int extent) {
  return extent > 1 ? LONG((long long)pixel * 65535 / (extent - 1)) : 0;
}

}  // namespace

std::string BringToFront(HWND main) {
  if (GetForegroundWindow() == main) return {};
  SetForegroundWindow(main);
  PumpPending();
  if (GetForegroundWindow() != main) return "the main window cannot be brought to the front";
  return {};
}

bool SendMouseMove(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(input);
  POINT at{};
  GetCursorPos(&at);
  if (at.x == screen.x && at.y == screen.y) return true;
  // Farther off than the driver's rounding, the answer is not where the move
  // went: Wine reports the X pointer once the move is a moment old, and that
  // pointer stays put while another window holds the grab (an open menu
  // does). A relative move from there would go astray.
  if (std::abs(at.x - screen.x) > 1 || std::abs(at.y - screen.y) > 1) return false;
  // A rounding difference of the driver: the last pixel by a relative move.
  input.mi.dx = screen.x - at.x;
  input.mi.dy = screen.y - at.y;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  Send(input);
  GetCursorPos(&at);
  return at.x == screen.x && at.y == screen.y;
}

void SendLeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  Send(input);
}

void SendKey(unsigned short key, bool up, bool extended) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  Send(input);
}

std::vector<unsigned short> ModifierKeys(bool ctrl, bool shift, bool alt) {
  std::vector<unsigned short> keys;
  if (ctrl) keys.push_back(VK_CONTROL);
  if (shift) keys.push_back(VK_SHIFT);
  if (alt) keys.push_back(VK_MENU);
  return keys;
}

bool HoldModifiers(const std::vector<unsigned short>& keys) {
  for (unsigned short key : keys) SendKey(key, false);
  for (int attempt = 0;; ++attempt) {
    if (!PumpUntilInputTaken(kInputLimitMs)) return false;
    bool held = true;
    for (unsigned short key : keys)
      if (GetAsyncKeyState(key) >= 0) {
        held = false;
        if (attempt < 3) SendKey(key, false);
      }
    if (held) return true;
    if (attempt >= 3) return false;
  }
}

void ReleaseModifiers(const std::vector<unsigned short>& keys) {
  for (size_t i = keys.size(); i-- > 0;) SendKey(keys[i], true);
}

bool PumpUntilInputTaken(DWORD limitMs, HANDLE alsoDone) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  for (;;) {
    PumpPending();
    const bool inputWaits = HIWORD(GetQueueStatus(QS_INPUT)) != 0;
    const bool done = !alsoDone || WaitForSingleObject(alsoDone, 0) == WAIT_OBJECT_0;
    if (!inputWaits && done) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    // Input and sent messages wake the wait; the other condition is a
    // handle of its own.
    MsgWaitForMultipleObjectsEx(alsoDone ? 1 : 0, alsoDone ? &alsoDone : nullptr, DWORD(end - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void KeepApartFromLastClick(POINT screen) {
  if (gLastClickTick == 0) return;
  const bool nearby = std::abs(screen.x - gLastClickPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                    std::abs(screen.y - gLastClickPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
  if (!nearby) return;
  const ULONGLONG apart = gLastClickTick + GetDoubleClickTime() + 20;
  const ULONGLONG now = GetTickCount64();
  if (now < apart) PumpFor(DWORD(apart - now));
}

void NoteClick(POINT screen) {
  gLastClickTick = GetTickCount64();
  gLastClickPoint = screen;
}

}  // namespace simapp
