#include "ui/dialog_position.h"

#include "entry/module_state.h"

void CenterOverMainWindow(HWND window) {
  RECT own{};
  if (!window || !GetWindowRect(window, &own)) return;
  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (MainWindow && IsWindow(MainWindow)) GetWindowRect(MainWindow, &around);
  const int width = own.right - own.left, height = own.bottom - own.top;
  const int left = around.left + ((around.right - around.left) - width) / 2;
  const int top = around.top + ((around.bottom - around.top) - height) / 2;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
