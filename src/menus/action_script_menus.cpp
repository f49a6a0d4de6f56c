#include "menus/action_script_menus.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "commands/dispatcher.h"
#include "commands/script_files.h"
#include "commands/smart_filters.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "host/suites.h"
#include "localization/host_files.h"
#include "menus/command_table.h"
#include "menus/menu_drawing.h"
#include "menus/module_menus.h"
#include "menus/script_listing.h"
#include "modes/script_bridge.h"
#include "ui/file_chooser.h"

std::vector<std::string> ActionSetNames;
std::vector<std::string> ActionNames;
std::vector<std::string> ScriptFiles;
char LastActionFilePath[kActionFilePathSize] = {};

namespace {

constexpr TypeID kActionSetClass = FourCC("ASet");
constexpr TypeID kActionClass = FourCC("Actn");
constexpr TypeID kName = FourCC("Nm  ");
constexpr TypeID kActionCount = FourCC("NmbC");

constexpr std::size_t kLoadActionsRow = 5;
constexpr std::size_t kClearActionsRow = 6;
constexpr std::size_t kBrowseScriptsRow = 3;

// The longest name read from the host, as the editor keeps them.
constexpr std::uint32_t kNameLimit = 511;

// The text of a descriptor's key; nothing when it is absent, not a text, or
// longer than the names the editor keeps.
std::optional<std::string> ReadName(host::Descriptor descriptor) {
  const host::DescriptorSuite* d = DescriptorProcs();
  host::Boolean has = 0;
  TypeID type = 0;
  if (d->HasKey(descriptor, kName, &has) != 0 || !has) return std::nullopt;
  if (d->GetType(descriptor, kName, &type) != 0 || type != host::kTypeText) return std::nullopt;
  std::uint32_t length = 0;
  if (d->GetStringLength(descriptor, kName, &length) != 0 || length > kNameLimit) return std::nullopt;
  char name[kNameLimit + 1] = {};
  if (d->GetString(descriptor, kName, name, length + 1) != 0) return std::nullopt;
  name[kNameLimit] = '\0';
  return std::string(name);
}

// Asks the host for the object a reference names.
std::int32_t GetObject(const ReferenceHolder& reference, DescriptorHolder& result) {
  return HostResult(ControlProcs()->Get(result.out(), reference.get()));
}

// The action set at a 1-based index: its name and how many actions it holds.
bool ReadActionSet(std::uint32_t index, std::string& name, std::int32_t& count) {
  ReferenceHolder reference;
  DescriptorHolder set;
  if (MakeReference(reference) != 0) return false;
  if (ReferenceProcs()->PutIndex(reference.get(), kActionSetClass, index) != 0) return false;
  if (GetObject(reference, set) != 0 || !set) return false;
  std::optional<std::string> read = ReadName(set.get());
  if (!read) return false;
  name = std::move(*read);
  count = 0;
  host::Boolean has = 0;
  if (DescriptorProcs()->HasKey(set.get(), kActionCount, &has) == 0 && has)
    DescriptorProcs()->GetInteger(set.get(), kActionCount, &count);
  return true;
}

std::optional<std::string> ReadActionName(std::uint32_t setIndex, std::uint32_t actionIndex) {
  ReferenceHolder reference;
  DescriptorHolder action;
  if (MakeReference(reference) != 0) return std::nullopt;
  if (ReferenceProcs()->PutIndex(reference.get(), kActionClass, actionIndex) != 0) return std::nullopt;
  if (ReferenceProcs()->PutIndex(reference.get(), kActionSetClass, setIndex) != 0) return std::nullopt;
  if (GetObject(reference, action) != 0 || !action) return std::nullopt;
  return ReadName(action.get());
}

// Separators carry the module's item data when owner-drawn, so that the
// drawing tells them from the editor's own.
void InsertSeparatorAt(HMENU menu, int position, UINT separatorFlags) {
  const bool ownerDrawn = (separatorFlags & MF_OWNERDRAW) != 0;
  InsertMenuA(menu, UINT(position), MF_BYPOSITION | MF_SEPARATOR | (ownerDrawn ? MF_OWNERDRAW : 0), 0,
              ownerDrawn ? reinterpret_cast<LPCSTR>(kModuleSeparatorData) : nullptr);
}

// An owner-drawn item's label is read by its identifier when drawn.
void InsertItemAt(HMENU menu, int position, UINT itemFlags, std::uint32_t id, const char* label) {
  if (itemFlags & MF_OWNERDRAW)
    InsertMenuA(menu, UINT(position), MF_BYPOSITION | MF_OWNERDRAW, UINT_PTR(id), nullptr);
  else
    InsertMenuA(menu, UINT(position), MF_BYPOSITION | MF_STRING, UINT_PTR(id), label);
}

std::uint32_t ItemId(HMENU menu, int position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  if (!GetMenuItemInfoA(menu, UINT(position), TRUE, &info)) return 0;
  return info.wID;
}

// Deletes, from the last position down to `first`, every item that the
// predicate names (separators have the identifier 0).
template <typename Predicate>
void DeleteListedItems(HMENU menu, int first, Predicate listed) {
  if (!menu) return;
  for (int position = GetMenuItemCount(menu) - 1; position >= first; --position)
    if (listed(ItemId(menu, position))) DeleteMenu(menu, UINT(position), MF_BYPOSITION);
}

bool IsActionItemOrSeparator(std::uint32_t id) { return id == 0 || id >= kFirstActionItemId; }
bool IsScriptItemOrSeparator(std::uint32_t id) {
  return id == 0 || (id >= kFirstScriptItemId && id < kFirstScriptItemId + kListedItemLimit);
}

bool FolderExists(const std::string& folder) {
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Closes a folder search on every path.
struct FolderSearch {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~FolderSearch() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
};

// Adds the scripts of one folder to both menus; position and index carry
// over from folder to folder.
void AddFolderScripts(const std::string& folder, HMENU submenu, HMENU popup, int& position, std::size_t& index) {
  const int v = HostMajorVersion;
  const UINT separatorFlags = v >= 6 ? MF_OWNERDRAW : 0;
  const UINT itemFlags = v >= 4 ? MF_OWNERDRAW : 0;
  for (HMENU menu : {submenu, popup})
    if (menu) InsertSeparatorAt(menu, position, separatorFlags);
  ++position;
  if (index >= kListedItemLimit) return;

  const std::string pattern = folder + "*.*";
  WIN32_FIND_DATAA entry{};
  FolderSearch search;
  search.handle = FindFirstFileA(pattern.c_str(), &entry);
  if (search.handle == INVALID_HANDLE_VALUE) return;
  do {
    // A folder is no script, whatever its name.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string name(entry.cFileName, strnlen(entry.cFileName, sizeof entry.cFileName));
    if (!IsListedScriptName(name)) continue;
    ScriptFiles.push_back(folder + name);
    const std::string label = ScriptLabel(name);
    if (!ScriptItemHidden(label, v)) {
      const auto id = std::uint32_t(kFirstScriptItemId + index);
      for (HMENU menu : {submenu, popup})
        if (menu) InsertItemAt(menu, position, itemFlags, id, label.c_str());
      ++position;
    }
    ++index;
  } while (index < kListedItemLimit && FindNextFileA(search.handle, &entry));
}

}  // namespace

bool ReadHostActions() {
  ActionSetNames.clear();
  ActionNames.clear();
  try {
    for (std::uint32_t setIndex = 1;; ++setIndex) {
      std::string setName;
      std::int32_t count = 0;
      if (!ReadActionSet(setIndex, setName, count)) break;
      for (std::int32_t actionIndex = 1; actionIndex <= count; ++actionIndex) {
        std::optional<std::string> name = ReadActionName(setIndex, std::uint32_t(actionIndex));
        if (!name) continue;
        ActionSetNames.push_back(setName);
        ActionNames.push_back(std::move(*name));
      }
    }
  } catch (const SuiteError&) {
    // No suite to ask: the lists hold what was read.
  }
  return true;
}

void RebuildActionsMenus(UINT itemFlags, UINT separatorFlags) {
  HMENU submenu = LiveModuleSubmenu(kActionsMenu);
  HMENU popup = ActionsPopupMenu;
  const auto loadId = std::uint32_t(CommandId(kLoadActionsRow));
  if (popup && ItemId(popup, 0) != loadId) {
    InsertItemAt(popup, 0, itemFlags, loadId, MenuLabels[kLoadActionsRow]);
    InsertSeparatorAt(popup, 1, separatorFlags);
    InsertItemAt(popup, 2, itemFlags, std::uint32_t(CommandId(kClearActionsRow)), MenuLabels[kClearActionsRow]);
  }
  for (HMENU menu : {submenu, popup}) DeleteListedItems(menu, 3, IsActionItemOrSeparator);

  ReadHostActions();
  if (ActionNames.empty()) return;
  const std::size_t count = std::min(ActionNames.size(), kListedItemLimit);
  for (HMENU menu : {submenu, popup}) {
    if (!menu) continue;
    int position = 3;
    InsertSeparatorAt(menu, position++, separatorFlags);
    for (std::size_t k = 0; k < count; ++k) {
      if (StartsActionGroup(ActionSetNames, k)) InsertSeparatorAt(menu, position++, separatorFlags);
      InsertItemAt(menu, position++, itemFlags, std::uint32_t(kFirstActionItemId + k), ActionNames[k].c_str());
    }
  }
}

void RebuildScriptsMenus() {
  HMENU submenu = LiveModuleSubmenu(kScriptsMenu);
  HMENU popup = ScriptsPopupMenu;
  for (HMENU menu : {submenu, popup}) DeleteListedItems(menu, 1, IsScriptItemOrSeparator);
  ScriptFiles.clear();
  const auto browseId = std::uint32_t(CommandId(kBrowseScriptsRow));
  if (popup && ItemId(popup, 0) != browseId)
    InsertItemAt(popup, 0, HostMajorVersion >= 4 ? MF_OWNERDRAW : 0, browseId, MenuLabels[kBrowseScriptsRow]);

  int position = 1;
  std::size_t index = 0;
  const std::string userFolder = FolderOfPath(LastScriptPath);
  const std::string hostFolder = HostFolder() + "Presets\\Scripts\\";
  if (!userFolder.empty() && userFolder != hostFolder && FolderExists(userFolder))
    AddFolderScripts(userFolder, submenu, popup, position, index);
  if (FolderExists(hostFolder)) AddFolderScripts(hostFolder, submenu, popup, position, index);
}

bool LoadActionsCommand(const char* title) {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  const std::string lastFolder = FolderOfPath(LastActionFilePath);
  const std::string folder = lastFolder.empty() ? std::string(current) : lastFolder;
  char path[kActionFilePathSize] = {};
  std::snprintf(path, sizeof path, "%s", LastActionFilePath);
  if (!ChooseFile("Adobe Action File (*.atn)\0*.atn\0", "atn", title, folder.c_str(), path, sizeof path))
    return false;
  std::snprintf(LastActionFilePath, sizeof LastActionFilePath, "%s", path);
  // Only a file the host took is loaded again at the next start.
  if (LoadActionFileIntoHost(path)) LoadedActionFiles.emplace_back(path);
  return true;
}

void ClearAllActions() {
  ReadHostActions();
  for (const std::string& set : ActionSetsToDelete(ActionSetNames)) DeleteActionSet(set.c_str());
}

std::int32_t PlayAction(const char* setName, const char* actionName, std::int32_t mode) {
  if (!setName || !actionName) return host::kBadParameterError;
  try {
    ReferenceHolder reference;
    DescriptorHolder descriptor;
    std::int32_t err = MakeReference(reference);
    if (err == 0) err = HostResult(ReferenceProcs()->PutName(reference.get(), kActionClass, actionName));
    if (err == 0) err = HostResult(ReferenceProcs()->PutName(reference.get(), kActionSetClass, setName));
    if (err == 0) err = MakeDescriptor(descriptor);
    if (err == 0) err = HostResult(DescriptorProcs()->PutReference(descriptor.get(), FourCC("null"), reference.get()));
    if (err == 0) err = PlayDescriptor(FourCC("Ply "), descriptor.get(), mode);
    return err;
  } catch (const SuiteError& error) {
    return error.code;
  }
}

void RunListedScript(std::size_t index) {
  if (index >= ScriptFiles.size()) return;
  // The file may have gone since the menu was built: nothing then.
  if (const std::optional<std::string> text = ReadScriptFile(ScriptFiles[index].c_str()))
    RunJavaScript(text->c_str(), true, true);
}

void PlayListedAction(std::size_t index) {
  if (index >= ActionNames.size() || index >= ActionSetNames.size()) return;
  // Copies: the play may run a script that rebuilds the lists.
  const std::string set = ActionSetNames[index];
  const std::string action = ActionNames[index];
  PlayAction(set.c_str(), action.c_str(), kDialogNone);
}

std::string ListedItemLabel(std::uint32_t id) {
  if (std::string smartFilter = SmartFilterItemLabel(id); !smartFilter.empty()) return smartFilter;
  if (id >= kFirstActionItemId && id < kFirstActionItemId + kListedItemLimit) {
    const std::size_t k = id - kFirstActionItemId;
    return k < ActionNames.size() ? ActionNames[k] : std::string();
  }
  if (id >= kFirstScriptItemId && id < kFirstScriptItemId + kListedItemLimit) {
    const std::size_t k = id - kFirstScriptItemId;
    return k < ScriptFiles.size() ? ScriptLabelOfPath(ScriptFiles[k]) : std::string();
  }
  return {};
}
