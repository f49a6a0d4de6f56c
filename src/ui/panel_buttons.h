// The module's buttons drawn into the editor's views: the icon buttons of the
// Layers panel, "Scripts" and "Actions" in the control bar and the Quick Mask
// button of the toolbar. They are no windows of their own: the replaced view
// procedures ask here to draw them after the host has painted, to frame the
// one under the mouse and to test clicks against them. Where they lie and
// what they show by editor version is in panel_geometry.h.
#pragma once

#include <windows.h>

// The bytes of one of the module's "BINARY" resources, and their count (0
// and null when it is absent).
const unsigned char* LoadBinaryResource(const char* name, DWORD* size);

// Paints one icon kind at (x, y) of the window: the colourise fill when the
// user wants it, the hover frame when `framed`, then every pixel of the icon
// that is not pure white.
void DrawModuleIcon(int kind, HWND window, int x, int y, bool framed);

// Layers panel. Points of clicks are in the view's client coordinates, points
// of hit tests (WM_NCHITTEST) on the screen.
bool PanelButtonRect(HWND view, int button, RECT* rect);
int PanelButtonIcon(int button);
void DrawPanelButton(HWND view, int button, bool framed);
void DrawPanelButtons(HWND view);
// The button (0 to 2) under the point, -1 for none or without a document.
int HitPanelButton(HWND view, POINT point, bool pointIsScreen);
// Whether the point is on the editor's own add-mask button (9 and up).
bool HitHostMaskButton(HWND view, POINT point, bool pointIsScreen);
void TrackPanelButtonHover(HWND view, POINT screen);
// True when the click was the module's (the view procedure then swallows it).
bool ClickPanelButton(HWND view, POINT client);

// Control bar: which = 0 Scripts, 1 Actions, negative both.
RECT ControlBarButtonRect(HWND view, int button);
void DrawControlBarButtons(HWND view, int which, bool framed);
int HitControlBarButton(HWND view, POINT point, bool pointIsScreen);
void TrackControlBarHover(HWND view, POINT screen);
// True when the press was on a button (its pop-up has been shown).
bool ClickControlBarButton(HWND view, POINT client);

// Toolbar. False when the view is too narrow to hold the button.
bool QuickMaskButtonRect(HWND view, RECT* rect);
bool DrawQuickMaskButton(HWND view, bool framed);
void TrackToolbarHover(HWND view, POINT screen);
// Whether the point is on the button and a document is open to work on.
bool HitQuickMaskButton(HWND view, POINT point, bool pointIsScreen);
// Has the toolbar draw the button again (Quick Mask mode went on or off).
void RefreshQuickMaskButton();

// The background the editor paints its panels (and the module its menu
// items) with, as 0xBBGGRR, by editor version.
COLORREF HostPanelBackground();
// The panel colour of editors below 4, which have none of their own: worked
// out at start-up from the host and the system, and kept.
COLORREF HostInterfaceColor();

// The tooltips of the panel buttons and the Quick Mask button: the last step
// of start-up.
void CreatePanelTooltips();
// One tooltip over `rect` of `parent` (its whole client area when null).
HWND AddTooltip(HWND parent, const char* text, const RECT* rect);
// Hands the mouse messages of a view to its tooltips (from the view's
// procedure).
void RelayToTooltips(HWND view, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets which button the mouse was over and the interface colour, and
// removes the tooltips (shutdown).
void ResetPanelButtons();
