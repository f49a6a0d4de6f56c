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
// The submenu as it can be attached now. An editor that destroys one of its
// menus destroys the module's submenus attached to it as well; such a
// submenu is made again (empty, so that its items go in again). Null before
// start-up has made the submenus.
HMENU LiveModuleSubmenu(ModuleSubmenu which);
void DestroyModuleMenus();
