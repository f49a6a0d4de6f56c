#include "main_window.h"

#include "menu_bar.h"

namespace simapp {
namespace {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The scenario decides when the editor ends, not a stray close request.
      return 0;
    case WM_ERASEBKGND: {
      RECT area;
      GetClientRect(window, &area);
      FillRect(HDC(wParam), &area, GetSysColorBrush(COLOR_APPWORKSPACE));
      return 1;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, bool recognisable, int version) {
  const wchar_t* className = recognisable ? kMainWindowClass : L"EditorFrame";
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.style = CS_DBLCLKS;
  cls.lpfnWndProc = MainWindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  cls.hbrBackground = nullptr;
  cls.lpszClassName = className;
  if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  HWND window = CreateWindowExW(0, className, L"Simulated editor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                1024, 768, nullptr, CreateMenuBar(version), instance, nullptr);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  return window;
}

}  // namespace simapp
