// Putting the module's commands into the editor's menus as they open: the
// menu is recognised by the commands of its first three items, the rows of
// the command table anchored on one of them are inserted where missing, and
// every one of them is enabled by the layer and document state of the moment.
#pragma once

#include <windows.h>

#include <cstdint>

#include "menus/command_table.h"

// The menu state of the last opening, one RequiredBit per MenuFlag. A flag
// that no row of that menu asks for may be left 0 without asking the host.
extern std::int32_t MenuState;

constexpr bool MenuFlagSet(std::int32_t state, MenuFlag flag) { return (state & RequiredBit(flag)) != 0; }

// Recomputes MenuState for the menu whose first three commands are given,
// asking the host only what the rows anchored on them need (everything when
// all three are 0). Returns the new state.
std::int32_t ComputeMenuState(std::int32_t id0, std::int32_t id1, std::int32_t id2);

// Item helpers. They fail silently (false) on items that are not there.
std::int32_t ItemIdAt(HMENU menu, int position);   // 0 for a separator or no item
bool MenuHasCommand(HMENU menu, std::int32_t id);  // the menu's own items, not its submenus'
bool SetCommandEnabled(HMENU menu, std::int32_t id, bool enabled);
bool SetPositionEnabled(HMENU menu, int position, bool enabled);
enum class CheckMode { Uncheck, Check, Toggle };
bool SetCommandCheck(HMENU menu, std::int32_t id, CheckMode mode);
// Marks row `index` checked (when index >= 0) and every other row from
// `first` to `last` unchecked, in the table and, when `menu` is not null, on
// the items.
void CheckRadioCommand(HMENU menu, int index, int first, int last);

// The labels that change with the layer state, for the menu about to open.
void UpdateToggleLabels(HMENU popup, std::int32_t id0, std::int32_t id1, std::int32_t id2);

// The main window's WM_INITMENUPOPUP: recognises `popup`, inserts the
// module's missing items once, and enables them. Always 1.
int UpdatePopupMenu(HMENU popup);
