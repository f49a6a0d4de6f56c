// The pop-up menus the editor tracks itself: the Layers panel's
// new-adjustment-layer button ("layersAdjustment"), the Layers panel's menu
// ("layers") and the Undo History panel's menu ("history"). A press on the
// button or panel-menu icon opens the pop-up with TrackPopupMenuEx
// (TPM_RETURNCMD, owned by the main window); the choice comes back to the
// editor, never as WM_COMMAND, and the editor carries out only its own items.
#pragma once

#include <windows.h>

#include <string>

namespace simapp {

// Where the press that opens a pop-up lands: a view and a rectangle in its
// client coordinates.
struct PopupAnchor {
  HWND view = nullptr;
  RECT rect{};
  bool opensUpwards = false;  // the pop-up shows above the anchor (buttons at a panel's foot)
};

// The anchor of the named pop-up in the host of major version `version`.
// Returns an empty string, or why there is none (the panel is absent).
std::string FindPopupAnchor(const std::string& name, int version, PopupAnchor& anchor);

// A new pop-up with the editor's own items; the caller destroys it.
HMENU CreateHostPopup(const std::string& name);

// Arms the anchor: the next press inside it on its view tracks `menu`.
void ArmHostPopup(const PopupAnchor& anchor, HMENU menu, HWND owner);
// Disarms; returns whether the pop-up was tracked since it was armed, and
// the identifier it returned (0: nothing chosen).
bool DisarmHostPopup(UINT* returned);

// From the views' window procedure on WM_LBUTTONDOWN: tracks the armed
// pop-up when the press is on its anchor. Returns whether it did.
bool OnHostViewPress(HWND view, POINT client);

// The Undo History panel's view (the anchor of "history").
void SetHistoryView(HWND view);

}  // namespace simapp
