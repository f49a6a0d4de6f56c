// Drawing the module's menu items: every item the module puts into a menu
// is owner-drawn in the font and colours of the editor's own menus of that
// version, or colourised so that the user can tell the module's items apart.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The module's owner-drawn items: smart filters, scripts, commands, actions.
constexpr std::uint32_t kFirstOwnerDrawnId = 0x8600;
constexpr std::uint32_t kOwnerDrawnIdEnd = 0x8A00;  // the first identifier after them

constexpr bool IsOwnerDrawnId(std::uint32_t id) { return id >= kFirstOwnerDrawnId && id < kOwnerDrawnIdEnd; }

// The item data of the separators the module inserts, which tells them from
// the editor's own when they are owner-drawn: they have no identifier.
constexpr ULONG_PTR kModuleSeparatorData = 0x51425350;  // "QBSP"

constexpr bool IsModuleSeparator(ULONG_PTR itemData) { return itemData == kModuleSeparatorData; }

// Inserts one of the module's separators at `position`: owner-drawn in
// editors that draw their own (from 6), plain before.
void InsertModuleSeparator(HMENU menu, int position, int hostVersion);

// The menu font of the editor: its face and its height in pixels. The
// adjustment pop-up of the Layers panel has a smaller font in editors that
// otherwise use the larger one.
const char* MenuFontFace(int hostVersion);
int MenuFontHeight(int hostVersion, int windowsVersion, bool adjustmentPopupOpen);

// Where an item's text starts, from its command's indent class.
int MenuItemIndent(std::int32_t id);

// What an item is painted with.
struct MenuItemColors {
  COLORREF fill;
  COLORREF text;
};
// `panel` is the editor's panel colour, the plain item background.
MenuItemColors ChooseMenuItemColors(int hostVersion, bool colorize, COLORREF panel, bool selected, bool grayed);

// The text of an item (for commands, the label without its shortcut), cut
// to `size`; "" for an item whose list the module does not hold.
void MenuItemLabel(std::int32_t id, char* buffer, std::size_t size);

// WM_MEASUREITEM and WM_DRAWITEM of an owner-drawn module item. Both 1.
BOOL MeasureMenuItem(HWND window, MEASUREITEMSTRUCT& item);
BOOL DrawMenuItem(const DRAWITEMSTRUCT& item);

// The same for an owner-drawn separator of the module's: a thin line across
// the item, as high as the editor's own separators.
BOOL MeasureModuleSeparator(MEASUREITEMSTRUCT& item);
BOOL DrawModuleSeparator(const DRAWITEMSTRUCT& item);
