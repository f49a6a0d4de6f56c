// The editor's menu bar and the menu loop as the plug-in sees it: opening a
// menu sends WM_INITMENUPOPUP to the main window, choosing sends WM_COMMAND.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sim_host.h"

namespace simapp {

// The menu bar of the host of major version `version` (see host_menus.h).
HMENU CreateMenuBar(int version);

// The submenu of the menu bar labelled `name` ("Layer"; '&' ignored).
HMENU FindBarMenu(HMENU bar, const std::string& name, int* position = nullptr);

// A menu's items in the transcript's form, submenus included. `owner` is the
// window that draws the menu's owner-drawn items.
sim::Json DescribeMenu(HMENU menu, HWND owner);

// A menu item's label as UTF-8 without '&' marks and accelerator text; an
// owner-drawn item's is the text `owner` draws for it.
std::string PlainLabel(HMENU menu, int position, HWND owner);

// Opens the named menu of the bar of `window` and records a `menu` line.
// Returns an empty string on success, else what went wrong.
std::string OpenMenu(HWND window, const std::string& name);

// Opens the named menu, the submenus down to the item (by identifier, or by a
// path of labels) and chooses it.
std::string ChooseMenuItem(HWND window, const std::string& name, const sim::Json& choose);

}  // namespace simapp
