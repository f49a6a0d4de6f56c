// A menu of the menu bar held open as a person leaves it open: clicked open
// on the menu bar, the submenus of a path opened by moving the mouse onto
// their items, and something done while it shows (pictures are taken); then
// the menu is ended. The menu loop holds the editor's thread, so a helper
// thread plays the user and has the editor's thread act inside the loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "sim_host.h"

namespace simapp {

// Opens the menu `name`, then the submenus labelled by `path` (a list of
// labels, each in the submenu opened before), records the open menu as a
// `menu` line, runs `whileOpen` on the editor's thread and closes the menu.
// Returns what went wrong, one text per problem.
std::vector<std::string> HoldMenuOpen(HWND main, const std::string& name, const sim::Json& path,
                                      const std::function<void()>& whileOpen);

}  // namespace simapp
