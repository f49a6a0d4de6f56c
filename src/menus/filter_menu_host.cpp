#include "menus/filter_menu_host.h"

#include <cstdint>

#include "menus/command_table.h"
#include "menus/filter_menu.h"
#include "menus/menu_insertion.h"

namespace {

// The Enhance menu's Adjust Color submenu, and Color Variations in it.
constexpr int kAdjustColorPosition = 9;
constexpr int kVariationsPosition = 7;
// The Filter menu's first family submenu; two places further down once the
// module's item and its separators are in.
constexpr int kFirstFamilyPosition = 6;
constexpr int kFirstFamilyPositionWithOwnItem = 8;
constexpr int kOwnItemPosition = 2;
constexpr std::int32_t kConvertForSmartFilters = CommandId(110);
// Where Render stands when its place is unknown: the seventh family.
constexpr int kDefaultRenderPosition = kFirstFamilyPositionWithOwnItem + kRenderFamily;

void ReadVariationsCommand(HMENU popup) {
  HMENU adjustColor = GetSubMenu(popup, kAdjustColorPosition);
  if (!adjustColor) return;
  const std::int32_t id = ItemIdAt(adjustColor, kVariationsPosition);
  if (id == 0) return;
  SetVariationsCommand(id);
  VariationsIdRead = true;
}

void ReadFamilyIds(HMENU popup) {
  const int position =
      ItemIdAt(popup, kOwnItemPosition) == kConvertForSmartFilters ? kFirstFamilyPositionWithOwnItem
                                                                    : kFirstFamilyPosition;
  HMENU firstFamily = GetSubMenu(popup, position);
  if (!firstFamily) return;
  const std::int32_t firstId = ItemIdAt(firstFamily, 0);
  if (firstId == 0) return;
  AssignFilterIds(firstId);
  FilterIdsRead = true;
}

}  // namespace

void ReadFilterMenuIds(HMENU popup, bool isEnhanceMenu) {
  if (FilterTablesVersion < 6 || !popup) return;
  if (isEnhanceMenu) {
    if (!VariationsIdRead) ReadVariationsCommand(popup);
  } else if (!FilterIdsRead) {
    ReadFamilyIds(popup);
  }
}

void EnableRenderSubmenu(HMENU popup) {
  const int place = FamilyMenuPlace(kRenderFamily);
  HMENU render = GetSubMenu(popup, place >= 0 ? kFirstFamilyPositionWithOwnItem + place : kDefaultRenderPosition);
  if (!render) return;
  const int count = GetMenuItemCount(render);
  for (int position = 0; position < count; ++position) SetPositionEnabled(render, position, true);
}
