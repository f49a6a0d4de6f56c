#include "commands/smart_filters.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "commands/masks.h"
#include "commands/smart_objects.h"
#include "entry/module_state.h"
#include "host/event_keys.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/host_objects.h"
#include "host/layer_queries.h"
#include "menus/module_menus.h"
#include "modes/document_steps.h"

using namespace event_keys;

std::vector<std::string> SmartFilterNames;

namespace {

constexpr std::size_t kFilterNameSize = 128;
constexpr std::size_t kSmartFilterSubmenu = 3;  // ModuleSubmenus

// The smart filter of this index on the target layer.
std::vector<RefPart> FilterOfTarget(std::int32_t index) {
  return {IndexPart("filterFX", std::uint32_t(index)), TargetOf("Lyr")};
}

bool ValidIndex(std::int32_t index) { return index >= 1; }

// The target layer's `smartObject` object; empty when it has none.
DescriptorHolder ReadSmartObject() {
  DescriptorHolder object;
  const TypeID key = StringToTypeID("smartObject");
  TypeID cls = 0;
  if (key == 0 || GetTargetProperty(FourCC("Lyr "), key, object.out(), &cls) != 0) object.reset();
  return object;
}

}  // namespace

std::int32_t EditSmartFilter(std::int32_t index) {
  if (!ValidIndex(index)) return host::kBadParameterError;
  return PlayKeys("setd", kDialogShow, {Ref("null", FilterOfTarget(index)), Object("filterFX", "filterFX", {})});
}

std::int32_t EditSmartFilterBlending(std::int32_t index) {
  if (!ValidIndex(index)) return host::kBadParameterError;
  return PlayKeys("setd", kDialogShow,
                  {Ref("null", FilterOfTarget(index)),
                   Object("filterFX", "filterFX",
                          {Object("blendOptions", "blendOptions", {Enumerated("Md", "BlnM", "")})})});
}

std::int32_t DeleteSmartFilter(std::int32_t index) {
  if (!ValidIndex(index)) return host::kBadParameterError;
  return PlayKeys("Dlt", kDialogNone, {Ref("null", FilterOfTarget(index))});
}

std::int32_t ShowSmartFilter(std::int32_t index, std::int32_t flag) {
  if (!ValidIndex(index)) return host::kBadParameterError;
  return PlayKeys(flag > 0 ? "Shw" : "Hd", kDialogNone, {Ref("null", FilterOfTarget(index))});
}

std::int32_t SetAllSmartFiltersShown(bool shown) {
  const std::int32_t count = CountSmartFilters();
  // No filter read: nothing to show or hide, and no empty step is left.
  if (count < 1) return host::kInterruptedError;
  for (std::int32_t index = 1; index <= count; ++index)
    if (const std::int32_t err = ShowSmartFilter(index, shown ? 1 : 0); err != 0) return err;
  return 0;
}

int SmartFilterShownState(std::int32_t index) {
  if (!ValidIndex(index)) return -1;
  DescriptorHolder object = ReadSmartObject();
  const TypeID key = StringToTypeID("filterFX");
  ListHolder filters;
  if (!object || key == 0 || GetDescriptorItem(object.get(), key, filters.out(), nullptr) != 0 || !filters) return -1;
  DescriptorHolder filter;
  TypeID cls = 0;
  if (ListProcs()->GetObjectValue(filters.get(), std::uint32_t(index - 1), &cls, filter.out()) != 0 || !filter)
    return -1;
  host::Boolean enabled = 2;   // unchanged when the filter has no such key
  if (GetDescriptorItem(filter.get(), FourCC("enab"), &enabled, nullptr) != 0 || enabled > 1) return -1;
  return enabled ? 1 : 0;
}

std::int32_t ClearSmartFilters() {
  return PlayKeys("Dlt", kDialogNone, {Ref("null", {ClassPart("filterFX"), TargetOf("Lyr")})});
}

std::int32_t CopySmartFilter(std::int32_t sourceIndex, std::int32_t destinationLayerIndex) {
  if (!ValidIndex(sourceIndex) || destinationLayerIndex < 0) return host::kBadParameterError;
  return PlayKeys("Dplc", kDialogNone,
                  {Ref("null", FilterOfTarget(sourceIndex)),
                   Ref("T", {IndexPart("filterFX", 1), IndexPart("Lyr", std::uint32_t(destinationLayerIndex))})});
}

std::int32_t ListSmartFilters() {
  DescriptorHolder object = ReadSmartObject();
  if (!object) return 0;
  if (HostIsElements && HostMajorVersion <= 7) {
    const std::int32_t count = CountSmartFiltersByProbing();
    if (count < 1) return count;
    SmartFilterNames.clear();
    for (std::int32_t n = count; n >= 1; --n) {
      char name[kFilterNameSize] = {};
      std::snprintf(name, sizeof name, "Filter %d", int(n));
      SmartFilterNames.emplace_back(name);
    }
    return count;
  }
  ListHolder filters;
  const TypeID key = StringToTypeID("filterFX");
  if (key == 0 || GetDescriptorItem(object.get(), key, filters.out(), nullptr) != 0 || !filters) return 0;
  std::uint32_t count = 0;
  if (ListProcs()->GetCount(filters.get(), &count) != 0) return 0;
  SmartFilterNames.clear();
  for (std::uint32_t k = 0; k < count; ++k) {
    char name[kFilterNameSize] = {};
    DescriptorHolder filter;
    TypeID cls = 0;
    std::uint32_t sizeAndLength = sizeof name;
    const bool read = ListProcs()->GetObjectValue(filters.get(), k, &cls, filter.out()) == 0 && filter &&
                      GetDescriptorItem(filter.get(), FourCC("Nm  "), name, &sizeAndLength) == 0 && name[0];
    SmartFilterNames.emplace_back(read ? name : "Unknown Filter");
  }
  return std::int32_t(count);
}

std::int32_t DisableSmartFilters() { return SetAllSmartFiltersShown(false); }
std::int32_t EnableSmartFilters() { return SetAllSmartFiltersShown(true); }

void RebuildSmartFilterSubmenu(unsigned flags) {
  if (HostMajorVersion < 8) return;
  HMENU menu = ModuleSubmenus[kSmartFilterSubmenu];
  if (!menu) return;
  for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
    const UINT id = GetMenuItemID(menu, position);
    if (id >= kSmartFilterItemBase && id < kSmartFilterItemBase + kSmartFilterItemLimit)
      DeleteMenu(menu, UINT(position), MF_BYPOSITION);
  }
  const std::int32_t count = ListSmartFilters();
  if (count < 1) return;
  for (std::size_t k = 0; k < std::size_t(count) && k < kSmartFilterItemLimit && k < SmartFilterNames.size(); ++k) {
    const UINT_PTR id = kSmartFilterItemBase + k;
    if (flags & MF_OWNERDRAW)
      InsertMenuA(menu, UINT(k), MF_BYPOSITION | MF_OWNERDRAW, id, nullptr);
    else
      InsertMenuA(menu, UINT(k), MF_BYPOSITION | MF_STRING | flags, id, SmartFilterNames[k].c_str());
  }
}

void EditListedSmartFilter(std::size_t k) {
  // Only an item the list has shown: a stray identifier edits nothing.
  if (k >= kSmartFilterItemLimit || k >= SmartFilterNames.size()) return;
  const std::int32_t index = std::int32_t(k) + 1;
  if (EditSmartFilter(index) == 0) EditSmartFilterBlending(index);
}

std::string SmartFilterItemLabel(std::uint32_t id) {
  if (id < kSmartFilterItemBase || id >= kSmartFilterItemBase + kSmartFilterItemLimit) return {};
  const std::size_t k = id - kSmartFilterItemBase;
  return k < SmartFilterNames.size() ? SmartFilterNames[k] : std::string();
}

namespace {

constexpr std::size_t kPathSize = 260;  // a document's file path
constexpr char kTemplateFileName[] = "SmartFilters.psd";

// The module's template image written byte for byte to `path`. False, with
// no file left, when the image is missing from the module or the file
// cannot be written whole: a file empty or cut short opens as nothing the
// steps after it could use.
bool WriteFilterTemplate(const char* path) {
  HRSRC found = FindResourceA(ModuleInstance, "SmartFilters", "BINARY");
  HGLOBAL loaded = found ? LoadResource(ModuleInstance, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = bytes ? SizeofResource(ModuleInstance, found) : 0;
  if (size == 0) return false;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size;
  CloseHandle(file);
  if (!whole) DeleteFileA(path);
  return whole;
}

void TemplateFilePath(char* path, std::size_t size) {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) folder[0] = '\0';
  std::snprintf(path, size, "%s%s", folder, kTemplateFileName);
}

// The layer's index as layer references count it (the background is 0).
std::int32_t UserLayerIndex() {
  std::int32_t item = 0;
  if (GetTargetProperty(FourCC("Lyr "), FourCC("ItmI"), &item, nullptr) != 0 || item < 1) return -1;
  return HasBackgroundLayer() ? item - 1 : item;
}

// Whether the target layer is the family layer copied from the template:
// a smart object of that name. Only that layer is ever deleted.
bool TargetIsFamilyLayer(const char* family) {
  char name[kFilterNameSize] = {};
  return IsSmartObjectLayer() && GetLayerName(name, sizeof name) && std::strcmp(name, family) == 0;
}

struct SmartFilterWork {
  const char* family;
  std::int32_t index;
};

// The filter copied from the template's family layer onto the user's layer,
// then its dialog. Any step that fails ends it, and the host drops the whole
// step; nothing touches the user's layer before its filter is there.
std::int32_t ApplySmartFilterSteps(const SmartFilterWork& work) {
  char documentName[kPathSize] = {};
  ReadUserDocumentName(documentName, sizeof documentName);
  if (!documentName[0]) return host::kInterruptedError;
  const std::int32_t userLayer = UserLayerIndex();
  if (userLayer < 0) return host::kInterruptedError;

  char templatePath[MAX_PATH + sizeof kTemplateFileName + 1] = {};
  TemplateFilePath(templatePath, sizeof templatePath);
  if (!WriteFilterTemplate(templatePath)) return host::kInterruptedError;
  std::int32_t err = OpenFile(templatePath, kDialogNone);
  DeleteFileA(templatePath);
  if (err != 0) return err;

  // In the template: its family layer over to the user's document. The
  // template goes unsaved whatever happened; if it cannot be closed it is
  // the current document still and nothing more is played.
  err = SelectLayerByName(work.family);
  if (err == 0) err = DuplicateLayerToDocument(documentName);
  if (const std::int32_t closed = CloseDocument(false); closed != 0) return closed;
  if (err != 0) return err;

  // Back in the user's document, the copied family layer its target.
  if (!TargetIsFamilyLayer(work.family)) return host::kInterruptedError;
  if ((err = CopySmartFilter(work.index, userLayer)) != 0) return err;
  if (!TargetIsFamilyLayer(work.family)) return host::kInterruptedError;
  if ((err = DeleteLayer(nullptr)) != 0) return err;
  if ((err = SelectLayerAtIndex(userLayer)) != 0) return err;

  if (EditSmartFilter(1) == 0) {
    // The blending options cancelled leave the filter as its dialog set it.
    EditSmartFilterBlending(1);
    return 0;
  }
  // Cancelled: the new filter goes again, and the step with it.
  DeleteSmartFilter(1);
  return host::kInterruptedError;
}

host::SPErr SmartFilterStep(void* data) {
  try {
    return ApplySmartFilterSteps(*static_cast<const SmartFilterWork*>(data));
  } catch (...) {
    return host::kInterruptedError;
  }
}

}  // namespace

bool ApplyFilterAsSmartFilter(const char* templateLayer, std::int32_t index, const char* historyName) {
  if (HostMajorVersion < 6 || !templateLayer || !*templateLayer || !ValidIndex(index)) return false;
  SmartFilterWork work{templateLayer, index};
  RunHistoryStep(SmartFilterStep, &work, historyName);
  SelectFilterMask();
  return true;
}
