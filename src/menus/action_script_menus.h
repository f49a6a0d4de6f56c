// The Actions and Scripts submenus (and the control bar's pop-ups of the
// same): rebuilt from the host's actions and the scripts folders each time
// they are about to open; the lists keep what each item identifier stands
// for until the next rebuild.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "menus/script_listing.h"

// Entry k of both: the set and the name of the action of item 0x8900 + k.
extern std::vector<std::string> ActionSetNames;
extern std::vector<std::string> ActionNames;
// Entry k: the full path of the script of item 0x8700 + k.
extern std::vector<std::string> ScriptFiles;

// The action file last chosen with Load Actions; empty at start.
constexpr std::size_t kActionFilePathSize = 512;
extern char LastActionFilePath[kActionFilePathSize];

// Reads the host's action sets and their actions into the two lists; a host
// error ends the lists where they are. Always true.
bool ReadHostActions();

// Before the Actions submenu or pop-up opens: Load Actions, a separator and
// Clear All Actions on top, then the host's actions, one group per set.
// `itemFlags` (MF_OWNERDRAW or 0) and `separatorFlags` (the same) say how
// the items and separators are drawn.
void RebuildActionsMenus(UINT itemFlags, UINT separatorFlags);

// Before the Scripts submenu or pop-up opens: Browse... on top, then the
// scripts of the folder last used and of the host's own scripts folder.
void RebuildScriptsMenus();

// The Load Actions command: the user picks an action file, which the host
// loads and the module remembers. False when the chooser was cancelled.
bool LoadActionsCommand(const char* title);

// Deletes every host action set that holds a readable action.
void ClearAllActions();

// Plays the action of that name in the set of that name.
std::int32_t PlayAction(const char* setName, const char* actionName, std::int32_t mode);

// The items' work: the listed script read and run (its errors shown), the
// listed action played. Nothing for an index past the lists or a script
// that cannot be read.
void RunListedScript(std::size_t index);
void PlayListedAction(std::size_t index);

// The label of a script or action item; empty for any other identifier.
std::string ListedItemLabel(std::uint32_t id);
