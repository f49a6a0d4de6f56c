#include "menus/module_menus.h"

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

void DestroyModuleMenus() {
  for (HMENU& menu : ModuleSubmenus) Destroy(menu);
  Destroy(ScriptsPopupMenu);
  Destroy(ActionsPopupMenu);
}
