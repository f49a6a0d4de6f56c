#include "message_pump.h"

namespace simapp {
namespace {

constexpr int kMaxMessagesPerPump = 10000;

bool DispatchOne() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) return true;  // the scenario, not a posted quit, ends the run
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
