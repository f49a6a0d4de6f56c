// Reading the host's numbering of its filters from its menus as they open,
// and the Render family's submenu that the module opens up for smart objects.
#pragma once

#include <windows.h>

// From the opening of the Filter menu (first command 1019) or the Enhance
// menu (16314, `isEnhanceMenu`): the filter identifiers, or the Variations
// command, once each, as soon as the menu holds them. Nothing before the
// filter tables were prepared.
void ReadFilterMenuIds(HMENU popup, bool isEnhanceMenu);

// Enables every item of the Filter menu's Render submenu, which the host
// leaves disabled on layers that are smart objects.
void EnableRenderSubmenu(HMENU popup);
