#include "input.h"

#include <cstdlib>
#include <mutex>

#include "message_pump.h"

namespace simapp {
namespace {

ULONGLONG gLastClickTick = 0;
POINT gLastClickPoint{};

// Each injected move that changes the cursor's place makes Wine warp the X
// pointer, grabbing and releasing it around the warp. The X server answers
// with a crossing event, upon which Wine brings its key state into line with
// the X keyboard, which never saw the injected presses, and lets them go.
// That answer comes whenever the X server gets round to it, so no modifier
// may go down while a warp is outstanding. Wine turns the crossing into mouse
// input of its own at the pointer's new place, which the cursor's history
// keeps; the editor marks all of its own mouse input, so Wine's stands out.
constexpr ULONG_PTR kOwnInputMark = 0x51424D56;

struct Warps {
  std::mutex mutex;  // moves are also sent by the menu helper's thread
  unsigned long sent = 0;
  unsigned long settled = 0;
  POINT last{};
};
Warps gWarps;

bool WarpsSettled() {
  std::lock_guard<std::mutex> lock(gWarps.mutex);
  if (gWarps.settled == gWarps.sent) return true;
  // The newest input at the last warp's place: once Wine has answered, it is
  // Wine's rather than the editor's move.
  MOUSEMOVEPOINT at{}, newest[1]{};
  at.x = gWarps.last.x;
  at.y = gWarps.last.y;
  if (GetMouseMovePointsEx(sizeof at, &at, newest, 1, GMMP_USE_DISPLAY_POINTS) == 1 &&
      newest[0].dwExtraInfo != kOwnInputMark)
    gWarps.settled = gWarps.sent;
  return gWarps.settled == gWarps.sent;
}

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
  POINT from{};
  GetCursorPos(&from);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input.mi.dwExtraInfo = kOwnInputMark;
  Send(input);
  POINT at{};
  GetCursorPos(&at);
  if (at.x != screen.x || at.y != screen.y) {
    // Farther off than the driver's rounding, the answer is not where the
    // move went: Wine reports the X pointer once the move is a moment old,
    // and that pointer stays put while another window holds the grab (an
    // open menu does). A relative move from there would go astray.
    if (std::abs(at.x - screen.x) <= 1 && std::abs(at.y - screen.y) <= 1) {
      // A rounding difference of the driver: the last pixel by a relative move.
      input.mi.dx = screen.x - at.x;
      input.mi.dy = screen.y - at.y;
      input.mi.dwFlags = MOUSEEVENTF_MOVE;
      Send(input);
      GetCursorPos(&at);
    }
  }
  // In a menu loop the editor's thread holds the pointer grabbed, and Wine
  // does not warp for anyone else: no answer comes.
  GUITHREADINFO front{};
  front.cbSize = sizeof front;
  const bool inMenu = GetGUIThreadInfo(0, &front) && (front.flags & GUI_INMENUMODE);
  if ((at.x != from.x || at.y != from.y) && !inMenu) {
    std::lock_guard<std::mutex> lock(gWarps.mutex);
    ++gWarps.sent;
    gWarps.last = at;
  }
  return at.x == screen.x && at.y == screen.y;
}

bool PumpUntilPointerSettled(DWORD limitMs) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  for (;;) {
    PumpPending();
    if (WarpsSettled() && HIWORD(GetQueueStatus(QS_INPUT)) == 0) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    // Wine wakes the wait when the X server's answer comes in.
    MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void SendLeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  input.mi.dwExtraInfo = kOwnInputMark;
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
  if (keys.empty()) return true;
  if (!PumpUntilPointerSettled(kInputLimitMs)) return false;
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
