#include "ui/panel_buttons.h"

// Nothing of the buttons exists yet: no drawing, no hover frames, no clicks
// taken. The view procedures already call every entry at the place the
// buttons need it.

void DrawPanelButtons(HWND) {}
void TrackPanelButtonHover(HWND, POINT) {}
bool ClickPanelButton(HWND, POINT) { return false; }

void DrawControlBarButtons(HWND, int, bool) {}
void TrackControlBarHover(HWND, POINT) {}
bool ClickControlBarButton(HWND, POINT) { return false; }

bool DrawQuickMaskButton(HWND view, bool) {
  // The button needs a view at least 51 pixels wide; a narrower one has the
  // host paint it again without the button.
  RECT client{};
  if (!GetClientRect(view, &client)) return false;
  return client.right - client.left >= 51;
}
void TrackToolbarHover(HWND, POINT) {}
bool HitQuickMaskButton(HWND, POINT, bool) { return false; }

// The panel colours of each editor version come with the buttons; until then
// the system's menu colour stands in.
COLORREF HostPanelBackground() { return GetSysColor(COLOR_MENU); }

void ResetPanelButtons() {}
