// Which files of a scripts folder the Scripts submenu lists, and how its
// items and the Actions submenu's groups are named. No Win32 here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// At most this many scripts, and this many actions, get menu items: each
// identifier range holds 256 values.
constexpr std::size_t kListedItemLimit = 256;

// Whether a folder entry is listed as a script: a name that contains ".js"
// anywhere (".jsx" and ".jsxbin" too), but never the folder's own entries
// "." and "..", whatever order the file system lists them in.
bool IsListedScriptName(std::string_view name);

// The item's label: the file name without its last extension.
std::string ScriptLabel(std::string_view fileName);

// The label of a listed script's full path (the part after its last
// backslash, without its last extension).
std::string ScriptLabelOfPath(std::string_view path);

// Whether a script of that label gets no item in that host version; its
// place in the list stays, so that identifiers keep matching the list.
bool ScriptItemHidden(std::string_view label, int hostVersion);

// The folder part of a path, up to and including its last backslash; empty
// when it has none.
std::string FolderOfPath(std::string_view path);

// Whether the k-th listed action starts a new group (a separator before it):
// its set is not the set of the action before it.
bool StartsActionGroup(const std::vector<std::string>& setNames, std::size_t k);

// The sets to delete to clear every listed action: each set once, in list
// order, consecutive entries of one name counting as one set.
std::vector<std::string> ActionSetsToDelete(const std::vector<std::string>& setNames);
