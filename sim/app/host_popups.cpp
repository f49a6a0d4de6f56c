#include "host_popups.h"

#include <span>

#include "host_windows.h"

namespace simapp {
namespace {

struct PopupItem {
  UINT id;  // 0: a separator
  const wchar_t* label;
};

// The identifiers are the editor's own; none of them is one that the
// plug-in recognises a menu by, except 24570, by which it finds the History
// menu (its History Options item goes after the eighth item).
constexpr PopupItem kAdjustmentItems[] = {
    {6351, L"&Solid Color..."}, {6352, L"&Gradient..."}, {6353, L"&Pattern..."}, {0, nullptr},
    {6354, L"&Levels..."}, {6355, L"&Brightness/Contrast..."}, {6356, L"&Hue/Saturation..."},
    {6357, L"Gradient &Map..."}, {6358, L"Photo &Filter..."}, {0, nullptr},
    {6359, L"&Invert"}, {6360, L"&Threshold..."}, {6361, L"P&osterize..."},
};

constexpr PopupItem kHistoryItems[] = {
    {24568, L"Step &Forward"}, {24569, L"Step &Backward"}, {24570, L"&Delete"}, {24571, L"&Clear History"},
    {0, nullptr}, {24572, L"&Help"}, {24573, L"Cl&ose"}, {24574, L"Close &Tab Group"},
};

// 1132 opens the editor's Panel Options dialog (the thumbnail size).
constexpr UINT kPanelOptions = 1132;
constexpr PopupItem kLayersItems[] = {
    {1125, L"&New Layer..."}, {1126, L"&Duplicate Layer..."}, {1127, L"De&lete Layer"},
    {1128, L"Delete Lin&ked Layers"}, {1129, L"Delete &Hidden Layers"}, {0, nullptr},
    {1130, L"&Rename Layer..."}, {1131, L"Si&mplify Layer"}, {0, nullptr},
    {1133, L"Merge &Down"}, {1134, L"Merge &Visible"}, {1135, L"&Flatten Image"}, {0, nullptr},
    {kPanelOptions, L"&Panel Options..."},
};

std::span<const PopupItem> ItemsOf(const std::string& name) {
  if (name == "layersAdjustment") return kAdjustmentItems;
  if (name == "history") return kHistoryItems;
  if (name == "layers") return kLayersItems;
  return {};
}

// The new-adjustment-layer button in the Layers view, by host version: at the
// panel's foot up to 10 (moved right from 9, where the mask button came
// before it), in the top row from 11.
RECT AdjustmentButton(int version, const RECT& client) {
  if (version >= 11) return {client.left + 30, client.top, client.left + 60, client.top + 25};
  if (version >= 9) return {client.left + 58, client.bottom - 22, client.left + 84, client.bottom};
  return {client.left + 31, client.bottom - 22, client.left + 57, client.bottom};
}

// A panel's menu icon, at the top right of its view.
RECT PanelMenuIcon(const RECT& client) { return {client.right - 22, client.top + 4, client.right - 6, client.top + 20}; }

HWND gHistoryView = nullptr;

struct Armed {
  PopupAnchor anchor;
  HMENU menu = nullptr;
  HWND owner = nullptr;
  bool tracked = false;
  UINT returned = 0;
};
Armed gArmed;

}  // namespace

void SetHistoryView(HWND view) { gHistoryView = view; }

std::string FindPopupAnchor(const std::string& name, int version, PopupAnchor& anchor) {
  anchor = {};
  anchor.view = name == "history" ? gHistoryView : HostView("layers");
  if (!anchor.view) return name == "history" ? "the editor has no Undo History panel" : "the Layers panel is absent";
  RECT client{};
  GetClientRect(anchor.view, &client);
  if (name == "layersAdjustment") {
    anchor.rect = AdjustmentButton(version, client);
    anchor.opensUpwards = version < 11;
  } else {
    anchor.rect = PanelMenuIcon(client);
  }
  return {};
}

HMENU CreateHostPopup(const std::string& name) {
  HMENU menu = CreatePopupMenu();
  for (const PopupItem& item : ItemsOf(name))
    AppendMenuW(menu, item.id ? MF_STRING : MF_SEPARATOR, item.id, item.label);
  return menu;
}

void ArmHostPopup(const PopupAnchor& anchor, HMENU menu, HWND owner) { gArmed = {anchor, menu, owner, false, 0}; }

bool DisarmHostPopup(UINT* returned) {
  const bool tracked = gArmed.tracked;
  if (returned) *returned = gArmed.returned;
  gArmed = {};
  return tracked;
}

bool OnHostViewPress(HWND view, POINT client) {
  if (!gArmed.menu || gArmed.tracked || view != gArmed.anchor.view || !PtInRect(&gArmed.anchor.rect, client)) return false;
  gArmed.tracked = true;
  // Beside the anchor, never over it: the press goes on being held there.
  const RECT& r = gArmed.anchor.rect;
  POINT at{gArmed.anchor.opensUpwards ? r.left : r.right, gArmed.anchor.opensUpwards ? r.top - 1 : r.bottom + 1};
  ClientToScreen(view, &at);
  const UINT align = gArmed.anchor.opensUpwards ? TPM_LEFTALIGN | TPM_BOTTOMALIGN : TPM_RIGHTALIGN | TPM_TOPALIGN;
  const UINT id = UINT(TrackPopupMenuEx(gArmed.menu, align | TPM_LEFTBUTTON | TPM_RETURNCMD, at.x, at.y, gArmed.owner, nullptr));
  // The editor's own items open its own dialogs (Panel Options, the
  // adjustment dialogs), which are not modelled: nothing the plug-in can read
  // changes. Identifiers it did not put there (the plug-in's) mean nothing to it.
  gArmed.returned = id;
  return true;
}

}  // namespace simapp
