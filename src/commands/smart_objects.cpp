#include "commands/smart_objects.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_keys.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "host/layer_queries.h"
#include "modes/document_steps.h"

using namespace event_keys;

namespace {

constexpr std::size_t kPathSize = 260;       // a document's file path
constexpr std::size_t kLayerNameSize = 128;  // a layer's name

// A path as an alias when one is given; the host asks for the file when not.
std::int32_t ModeForPath(const char* path) { return path && *path ? kDialogNone : kDialogShow; }

std::int32_t PlayOnPath(std::string_view event, const char* path) {
  std::vector<EventKey> keys;
  if (path && *path) keys.push_back(Alias("null", path));
  return PlayKeys(event, ModeForPath(path), keys);
}

// The layer's index as layer references count it: the background is 0 when
// there is one, so the host's item index then counts one too many.
std::int32_t TargetLayerIndex() {
  std::int32_t item = 0;
  if (GetTargetProperty(FourCC("Lyr "), FourCC("ItmI"), &item, nullptr) != 0 || item < 1) return -1;
  return HasBackgroundLayer() ? item - 1 : item;
}

void TemporaryFilePath(const char* fileName, char* path, std::size_t size) {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) folder[0] = '\0';
  std::snprintf(path, size, "%s%s", folder, fileName);
}

// The Edit Contents notice is shown once per module lifetime.
bool ContentsNoticeShown = false;

}  // namespace

const char* FileNameOfPath(const char* path) {
  if (!path) return "";
  const char* slash = std::strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

void ReadUserDocumentName(char* name, std::size_t size) {
  if (!name || size == 0) return;
  name[0] = '\0';
  char path[kPathSize] = {};
  ReadDocumentFilePath(path, sizeof path);
  if (path[0])
    std::snprintf(name, size, "%s", FileNameOfPath(path));
  else
    ReadDocumentTitle(name, size);
}

std::int32_t NewSmartObjectViaCopy() { return PlayKeys("placedLayerMakeCopy", kDialogNone, {}); }

std::int32_t EditSmartObjectContents() {
  DescriptorHolder empty;
  std::int32_t err = MakeDescriptor(empty);
  const TypeID event = StringToTypeID("placedLayerEditContents");
  if (err == 0 && event == 0) err = host::kBadParameterError;
  if (err == 0) err = PlayDescriptor(event, empty.get(), kDialogNone);
  if (err != 0) return err;
  if (!ContentsNoticeShown) {
    ContentsNoticeShown = true;
    ShowMessage(kProductName, "%s", FeatureMessageTable[2]);
  }
  // The contents are saved in the host's own format at once, where the host
  // put them; without a path there is nowhere to save them.
  char path[kPathSize] = {};
  if (!ReadDocumentFilePath(path, sizeof path)) return 0;
  return SaveDocumentAsPsd(path);
}

std::int32_t ExportSmartObjectContents(const char* path) { return PlayOnPath("placedLayerExportContents", path); }
std::int32_t ReplaceSmartObjectContents(const char* path) { return PlayOnPath("placedLayerReplaceContents", path); }

std::int32_t OpenAsSmartObject(const char* path, std::int32_t mode) {
  std::vector<EventKey> keys;
  if (path) keys.push_back(Alias("null", path));
  keys.push_back(Boolean("smartObject", true));
  return PlayKeys("Opn", mode, keys);
}

std::int32_t SaveDocumentAsPsd(const char* path) {
  if (!path) return host::kBadParameterError;
  return PlayKeys("save", kDialogNone,
                  {Object("As", "Pht3", {Boolean("maximizeCompatibility", false)}), Alias("In", path)});
}

std::int32_t NewDocumentFromLayer(const char* name) {
  if (!name) return host::kBadParameterError;
  return PlayKeys("Mk", kDialogNone, {Ref("null", {ClassPart("Dcmn")}), Text("Nm", name), Ref("Usng", {TargetOf("Lyr")})});
}

std::int32_t DuplicateLayerToDocument(const char* document) {
  if (!document) return host::kBadParameterError;
  return PlayKeys("Dplc", kDialogNone,
                  {Ref("null", {TargetOf("Lyr")}), Ref("T", {NamePart("Dcmn", document)}), Integer("Vrsn", 2)});
}

std::int32_t SelectLayerByName(const char* name) {
  if (!name) return host::kBadParameterError;
  return PlayKeys("slct", kDialogNone, {Ref("null", {NamePart("Lyr", name)}), Boolean("MkVs", false)});
}

std::int32_t SelectLayerAtIndex(std::int32_t index) {
  if (index < 0) return host::kBadParameterError;
  return PlayKeys("slct", kDialogNone, {Ref("null", {IndexPart("Lyr", std::uint32_t(index))}), Boolean("MkVs", false)});
}

std::int32_t SelectAllLayers() {
  const std::int32_t err =
      PlayKeys("slct", kDialogNone,
               {Ref("null", {IndexPart("Lyr", 0)}),
                Enumerated("selectionModifier", "selectionModifierType", "addToSelectionContinuous"), Boolean("MkVs", false)});
  if (err == 0) return 0;
  return PlayKeys("selectAllLayers", kDialogNone, {Ref("null", {TargetOf("Lyr")})});
}

std::int32_t CreateSmartObject() {
  if (HostMajorVersion == 5) return PlayKeys("newPlacedLayer", kDialogNone, {});
  if (IsBackgroundLayer())
    if (const std::int32_t err = ConvertBackgroundToLayer(); err != 0) return err;

  char documentName[kPathSize] = {};
  ReadUserDocumentName(documentName, sizeof documentName);
  // Unread, the layer's name would give the smart object and its file
  // another one.
  char layerName[kLayerNameSize] = {};
  if (!GetLayerName(layerName, sizeof layerName) || !layerName[0]) return host::kInterruptedError;
  char fileName[kLayerNameSize + 4] = {};
  std::snprintf(fileName, sizeof fileName, "%s.psd", layerName);
  const std::int32_t userLayer = TargetLayerIndex();
  if (userLayer < 0) return host::kInterruptedError;

  // The layer alone in a document of its own, saved to the temporary folder.
  if (const std::int32_t err = NewDocumentFromLayer(fileName); err != 0) return err;
  char temporary[MAX_PATH + kLayerNameSize + 8] = {};
  TemporaryFilePath(fileName, temporary, sizeof temporary);
  // A layer whose name makes no file name cannot be saved: the new document
  // stays open, unsaved, and nothing of the user's is touched.
  if (const std::int32_t err = SaveDocumentAsPsd(temporary); err != 0) return err;
  if (const std::int32_t err = CloseDocument(false); err != 0) return err;

  // The file placed back as a smart object, above the user's layer.
  std::int32_t err = OpenAsSmartObject(temporary, kDialogNone);
  if (err != 0) {
    DeleteFileA(temporary);
    return err;
  }
  if ((err = DuplicateLayerToDocument(documentName)) != 0) return err;
  if ((err = CloseDocument(false)) != 0) return err;
  DeleteFileA(temporary);

  // Only now, with its smart object in place, the user's layer goes: the
  // smart object sits above it and takes its place.
  if ((err = SelectLayerAtIndex(userLayer)) != 0) return err;
  if ((err = DeleteLayer(nullptr)) != 0) return err;
  return SelectLayerAtIndex(userLayer);
}

bool OpenAsSmartObjectCommand() {
  if (HostMajorVersion != 5) {
    OpenAsSmartObject(nullptr, kDialogShow);
    return false;
  }
  if (OpenFile(nullptr, kDialogShow) != 0) return false;
  SelectAllLayers();
  return true;
}
