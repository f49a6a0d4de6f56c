#include "menus/module_menus.h"

#include <cstddef>

std::array<HMENU, kSubmenuCount> ModuleSubmenus = {};
HMENU ScriptsPopupMenu = nullptr;
HMENU ActionsPopupMenu = nullptr;

namespace {
void Destroy(HMENU& menu) {
  if (menu) DestroyMenu(menu);
  menu = nullptr;
}
}  // namespace

void CreateModuleMenus() {
  // A second start-up (the module switched on again) keeps what exists.
  for (HMENU& menu : ModuleSubmenus)
    if (!menu) menu = CreateMenu();
  if (!ScriptsPopupMenu) ScriptsPopupMenu = CreatePopupMenu();
  if (!ActionsPopupMenu) ActionsPopupMenu = CreatePopupMenu();
}

HMENU LiveModuleSubmenu(ModuleSubmenu which) {
  if (which < 0 || which >= kSubmenuCount) return nullptr;
  HMENU& menu = ModuleSubmenus[std::size_t(which)];
  if (menu && !IsMenu(menu)) menu = CreateMenu();
  return menu;
}

void DestroyModuleMenus() {
  for (HMENU& menu : ModuleSubmenus) Destroy(menu);
  Destroy(ScriptsPopupMenu);
  Destroy(ActionsPopupMenu);
}
