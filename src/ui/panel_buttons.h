// The module's buttons drawn into the editor's views: the icon buttons of the
// Layers panel, "Scripts" and "Actions" in the control bar and the Quick Mask
// button of the toolbar. They are no windows of their own: the replaced view
// procedures ask here to draw them after the host has painted, to frame the
// one under the mouse and to test clicks against them.
//
// The buttons themselves are not drawn yet. Until they are, these entries
// draw nothing, frame nothing and take no click, so that every click reaches
// the editor as if the module had no buttons.
#pragma once

#include <windows.h>

// Layers panel. Points of clicks are in the view's client coordinates, points
// of hit tests (WM_NCHITTEST) on the screen.
void DrawPanelButtons(HWND view);
void TrackPanelButtonHover(HWND view, POINT screen);
// True when the click was the module's (the view procedure then swallows it).
bool ClickPanelButton(HWND view, POINT client);

// Control bar: which = 0 Scripts, 1 Actions, negative both.
void DrawControlBarButtons(HWND view, int which, bool framed);
void TrackControlBarHover(HWND view, POINT screen);
// True when the press opened a button's pop-up.
bool ClickControlBarButton(HWND view, POINT client);

// Toolbar. False when the view is too narrow to hold the button.
bool DrawQuickMaskButton(HWND view, bool framed);
void TrackToolbarHover(HWND view, POINT screen);
bool HitQuickMaskButton(HWND view, POINT point, bool pointIsScreen);

// The background the editor paints its panels (and the module its menu
// items) with, as 0xBBGGRR, by editor version.
COLORREF HostPanelBackground();
// The panel colour of editors below 4, which have none of their own: worked
// out at start-up from the host and the system, and kept.
COLORREF HostInterfaceColor();

// Forgets which button the mouse was over and the interface colour
// (shutdown).
void ResetPanelButtons();
