#include "ui/panel_buttons.h"

#include "entry/module_state.h"

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

namespace {

// The oldest editors have no panel colour of their own; start-up settles it
// once. CLR_INVALID: not settled yet.
COLORREF InterfaceColor = CLR_INVALID;

}  // namespace

COLORREF HostInterfaceColor() {
  InterfaceColor = HostIsElements && HostMajorVersion == 3 ? RGB(230, 230, 230) : GetSysColor(COLOR_BTNFACE);
  return InterfaceColor;
}

// The light editors 4 and 5, the dark ones from 6 (darkest in 9 and 10) and
// the white panels from 11.
COLORREF HostPanelBackground() {
  const int v = HostMajorVersion;
  if (v >= 11) return RGB(255, 255, 255);
  if (v >= 9) return RGB(71, 71, 71);
  if (v >= 7) return RGB(110, 110, 110);
  if (v == 6) return RGB(120, 120, 120);
  if (v >= 4) return RGB(240, 240, 240);
  return InterfaceColor != CLR_INVALID ? InterfaceColor : HostInterfaceColor();
}

void ResetPanelButtons() { InterfaceColor = CLR_INVALID; }
