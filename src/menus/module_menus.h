// The module's own submenus and pop-up menus, made at start-up and destroyed
// at shutdown; the command table fills them.
#pragma once

#include <windows.h>

#include <array>

enum ModuleSubmenu {
  kActionsMenu, kScriptsMenu, kChannelsMenu, kSmartFilterMenu, kSmartObjectMenu,
  kLayerMaskMenu, kVectorMaskMenu, kAlignMenu, kDistributeMenu, kSelectionFromMenu,
  kSubmenuCount
};

extern std::array<HMENU, kSubmenuCount> ModuleSubmenus;
extern HMENU ScriptsPopupMenu;  // the control bar's Scripts button
extern HMENU ActionsPopupMenu;  // the control bar's Actions button

void CreateModuleMenus();
void DestroyModuleMenus();
