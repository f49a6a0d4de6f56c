// Reading a view's client area and the cursor in screen coordinates, for the
// layout tests of ui/layers_view_geometry.h.
#pragma once

#include <windows.h>

#include "ui/layers_view_geometry.h"

// False when the window's client rectangle cannot be read.
inline bool ClientRectOnScreen(HWND window, ScreenRect& out) {
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return false;
  POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
  SetLastError(0);
  // Zero is also a valid answer for a window at the screen's origin.
  if (MapWindowPoints(window, nullptr, corners, 2) == 0 && GetLastError() != 0) return false;
  out = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  return true;
}

// Whether the cursor is inside `area`; false when the cursor cannot be read.
inline bool CursorIn(const ScreenRect& area) {
  POINT cursor{};
  return GetCursorPos(&cursor) && area.Contains(cursor.x, cursor.y);
}
