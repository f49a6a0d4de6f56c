#include "commands/groups.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "commands/group_record.h"
#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_building.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/layer_queries.h"

namespace {

using namespace build;

constexpr std::int32_t kDropped = host::kInterruptedError;
// The host's answer for a reference that names nothing: a stored mask
// channel the user has deleted since.
constexpr std::int32_t kNoSuchObjectError = -1728;

constexpr TypeID kTo = FourCC("T   ");
constexpr TypeID kName = FourCC("Nm  ");
constexpr TypeID kPercent = FourCC("#Prc");

// The temporary layer Ungroup Layers makes, so that it can select the group
// by index and find its way back afterwards.
constexpr const char* kMarkerName = "584AMDG2df5365adfds09";

// Entries of MessageTable.
constexpr std::size_t kRestoreQuestion = 9, kGroupLayersTitle = 10, kRestoreStepName = 11;

struct UngroupTexts {
  const char* question;
  const char* title;
  const char* storeStepName;
};
constexpr UngroupTexts kUngroupEnglish = {
    "Ungrouping deletes the properties and mask of the\n"
    "layer group. Do you want to save them for restoring\n"
    "them again later?",
    "Ungroup Layers", "Save Group Properties"};
constexpr UngroupTexts kUngroupGerman = {
    "Das Aufheben der Gruppierung l\xF6" "scht die Eigenschaften und\n"
    "die Maske der Ebenengruppe. M\xF6" "chten Sie diese speichern,\n"
    "um sie sp\xE4" "ter wieder herzustellen?",
    "Ebenengruppierung aufheben", "Gruppeneigenschaften speichern"};
const UngroupTexts& Ungroup() { return HostIsGerman ? kUngroupGerman : kUngroupEnglish; }

// Set while the user's Yes to saving the group's properties waits for the
// ungroup step, inside which they are saved.
bool StoreBeforeUngroup = false;

// The target layer's name, cut to the record's size; false when unread.
bool ReadTargetName(char (&name)[kGroupTextSize]) {
  char whole[1024] = {};
  name[0] = '\0';
  if (!GetLayerName(whole, sizeof whole)) return false;
  CopyGroupText(name, whole);
  return true;
}

// Whether the target layer has a layer mask, telling an unanswered question
// from a No: ungrouping would lose a mask nobody was asked about.
std::int32_t ReadHasUserMask(bool* has) {
  const TypeID key = StringToTypeID("hasUserMask");
  if (key == 0) return host::kBadParameterError;
  host::Boolean value = 0;
  const std::int32_t err = GetTargetProperty(kLayer, key, &value, nullptr);
  *has = value != 0;
  return err;
}

// Name, blend mode and opacity of the target layer (the group); the name
// must be read, the others fall back to none and 100 %.
bool ReadGroupProperties(GroupRecord& record) {
  if (!ReadTargetName(record.name)) return false;
  record.blendMode = GetLayerBlendMode();
  record.opacity = GetLayerOpacityPercent();
  return true;
}

void RememberNewGroupName() {
  char name[kGroupTextSize];
  ReadTargetName(name);
  CopyGroupText(LastNewGroupName, name);
}

// A mask channel that is gone leaves nothing to restore or discard; any
// other failure is the host's, and ends the step.
bool ChannelGone(std::int32_t err) { return err == kNoSuchObjectError; }

// ---- Ungroup Layers' steps ----

std::int32_t MakeMarkerLayer() {
  return PlayBuilt(FourCC("Mk  "), kDialogNone, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) { return PutClassOf(r, kLayer); });
    if (err == 0)
      err = PutObjectTo(d, FourCC("Usng"), kLayer, [](host::Descriptor layer) {
        return HostResult(DescriptorProcs()->PutString(layer, kName, kMarkerName));
      });
    return err;
  });
}

std::int32_t SelectMarkerLayer() {
  return PlayBuilt(FourCC("slct"), kDialogNone, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) { return PutNamed(r, kLayer, kMarkerName); });
    if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(d, FourCC("MkVs"), 0));
    return err;
  });
}

std::int32_t DeleteGroupKeepingLayers() {
  const TypeID deleteContained = StringToTypeID("deleteContained");
  if (deleteContained == 0) return host::kBadParameterError;
  return PlayBuilt(FourCC("Dlt "), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutTargetLayer);
    if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(d, deleteContained, 0));
    return err;
  });
}

// Whether the target is the group of that name (and no other layer).
bool TargetIsGroup(const char* name) {
  char now[kGroupTextSize];
  return IsLayerGroup() && ReadTargetName(now) && std::strcmp(now, name) == 0;
}

bool TargetIsMarker() {
  char now[kGroupTextSize];
  return ReadTargetName(now) && std::strcmp(now, kMarkerName) == 0;
}

// The group's index, the host's item index less the background's.
std::int32_t ReadGroupIndex(std::int32_t* index) {
  std::int32_t item = 0;
  const std::int32_t err = GetTargetProperty(kLayer, FourCC("ItmI"), &item, nullptr);
  if (err != 0) return err;
  if (item <= 0) return kDropped;
  *index = HasBackgroundLayer() ? item - 1 : item;
  return 0;
}

// The ungroup itself. Every delete hangs on the step before it: were the
// marker not made or the group not selected, the delete would take another
// layer with it; so each is checked, and a failure drops the whole step.
std::int32_t UngroupTarget() {
  char group[kGroupTextSize];
  if (!ReadTargetName(group)) return kDropped;
  std::int32_t index = 0;
  if (ReadGroupIndex(&index) != 0) return kDropped;
  if (MakeMarkerLayer() != 0) return kDropped;
  if (SelectLayerByIndex(index, false, false) != 0 || !TargetIsGroup(group)) return kDropped;
  const std::int32_t removed = DeleteGroupKeepingLayers();
  if (removed != 0) return removed;
  if (SelectMarkerLayer() != 0 || !TargetIsMarker()) return kDropped;
  if (DeleteLayer(nullptr) != 0) return kDropped;   // the marker stays otherwise
  return removed;
}

}  // namespace

// ---- Single events ----

std::int32_t MakeGroupFromLayers() {
  const TypeID layerSection = StringToTypeID("layerSection");
  if (layerSection == 0) return host::kBadParameterError;
  return PlayBuilt(FourCC("Mk  "), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [&](host::Reference r) { return PutClassOf(r, layerSection); });
    if (err == 0) err = PutReferenceTo(d, FourCC("From"), PutTargetLayer);
    return err;
  });
}

std::int32_t SetLayerProperties(std::int32_t opacity, TypeID blendMode, std::int32_t fillOpacity) {
  if (opacity <= -1 && blendMode == 0 && fillOpacity <= -1) return 0;
  const TypeID fillKey = fillOpacity > -1 ? StringToTypeID("fillOpacity") : 0;
  if (fillOpacity > -1 && fillKey == 0) return host::kBadParameterError;
  return PlayBuilt(FourCC("setd"), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutTargetLayer);
    if (err == 0)
      err = PutObjectTo(d, kTo, kLayer, [&](host::Descriptor layer) {
        const host::DescriptorSuite* s = DescriptorProcs();
        std::int32_t e = 0;
        if (opacity > -1) e = HostResult(s->PutUnitFloat(layer, FourCC("Opct"), kPercent, double(opacity)));
        if (e == 0 && blendMode != 0) e = HostResult(s->PutEnumerated(layer, FourCC("Md  "), FourCC("BlnM"), blendMode));
        if (e == 0 && fillOpacity > -1) e = HostResult(s->PutUnitFloat(layer, fillKey, kPercent, double(fillOpacity)));
        return e;
      });
    return err;
  });
}

std::int32_t SetTargetLayerHidden(bool hide) {
  return PlayBuilt(hide ? FourCC("Hd  ") : FourCC("Shw "), kDialogNone,
                   [](host::Descriptor d) { return PutReferenceListTo(d, kNull, PutTargetLayer); });
}

// ---- Named commands ----

std::int32_t StoreGroupProperties() {
  GroupRecord record = StoredGroup;
  if (!ReadGroupProperties(record)) return kDropped;
  bool masked = false;
  if (ReadHasUserMask(&masked) != 0) return kDropped;
  if (masked) {
    // Saved from anything but the whole mask, the channel would restore
    // another mask than the group had.
    FormatGroupMaskName(record.maskChannel, record.name);
    if (LoadLayerMaskAsSelection() != 0) return kDropped;
    if (SaveSelectionAsChannel(record.maskChannel, kDialogNone) != 0) return kDropped;
    if (Deselect() != 0) return kDropped;
  }
  StoredGroup = record;
  return 0;
}

std::int32_t RestoreGroup() {
  // Without the new group, the name, the properties and the mask would go
  // to whatever layer was selected.
  if (MakeGroupFromLayers() != 0) return kDropped;
  if (RenameTargetLayer(StoredGroup.name) != 0) return kDropped;
  if (SetLayerProperties(StoredGroup.opacity, StoredGroup.blendMode, -1) != 0) return kDropped;
  if (const char* channel = StoredGroup.maskChannel; channel[0] != '\0') {
    const std::int32_t loaded = LoadSelectionFromNamedChannel(channel);
    if (loaded == 0) {
      // The channel is the mask's only copy: it goes once the mask is made.
      if (AddLayerMask(MaskKind::RevealSelection) != 0) return kDropped;
      const std::int32_t selected = SelectChannelByName(channel);
      if (selected == 0 ? DeleteTargetChannel() != 0 : !ChannelGone(selected)) return kDropped;
    } else if (!ChannelGone(loaded)) {
      return kDropped;
    }
  }
  ClearGroupProperties(StoredGroup);
  return 0;
}

std::int32_t CreateNewGroup() {
  if (MakeGroupFromLayers() != 0) return kDropped;
  char name[kGroupTextSize];
  ReadTargetName(name);
  if (const char* channel = StoredGroup.maskChannel; channel[0] != '\0') {
    const std::int32_t selected = SelectChannelByName(channel);
    if (selected == 0 ? DeleteTargetChannel() != 0 : !ChannelGone(selected)) return kDropped;
  }
  CopyGroupText(LastNewGroupName, name);
  ClearGroupProperties(StoredGroup);
  return 0;
}

std::int32_t UngroupLayers() {
  if (StoreBeforeUngroup) {
    StoreBeforeUngroup = false;
    // Inside this step, so that a failed ungroup takes the saved channel
    // back with it, and a failed save leaves the group whole.
    if (RunNamedHistoryStep("Store Group", Ungroup().storeStepName) != 0) return kDropped;
  }
  return UngroupTarget();
}

// ---- Menu commands ----

void GroupLayersCommand(const char* label) {
  if (StoredGroup.name[0] == '\0') {
    if (MakeGroupFromLayers() == 0) RememberNewGroupName();
    return;
  }
  char text[512];
  char title[64];
  std::snprintf(text, sizeof text, MessageTable[kRestoreQuestion], StoredGroup.name);
  std::snprintf(title, sizeof title, "%s", MessageTable[kGroupLayersTitle]);
  const int answer = MessageBoxA(MainWindow, text, title, MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES) RunNamedHistoryStep("Restore Group", MessageTable[kRestoreStepName]);
  else if (answer == IDNO) RunNamedHistoryStep("Create New Group", label);
}

void UngroupLayersCommand(const char* label) {
  if (!IsLayerGroup()) return;
  bool masked = false;
  if (ReadHasUserMask(&masked) != 0) return;
  // What was remembered before stays unless the ungroup is kept.
  const GroupRecord before = StoredGroup;
  if (masked) {
    const UngroupTexts& texts = Ungroup();
    StoreBeforeUngroup = MessageBoxA(MainWindow, texts.question, texts.title, MB_YESNO | MB_ICONQUESTION) == IDYES;
  } else {
    GroupRecord record = StoredGroup;
    if (ReadGroupProperties(record)) {
      if (IsDefaultGroup(record, LastNewGroupName, StringToTypeID("passThrough"))) ClearGroupProperties(record);
      record.maskChannel[0] = '\0';
      StoredGroup = record;
    }
  }
  const std::int32_t result = RunNamedHistoryStep("Ungroup Layers", label);
  StoreBeforeUngroup = false;
  if (result != 0) StoredGroup = before;
}

void HideLayersCommand() {
  // Unread, the layer would be shown when it was to be hidden, or the
  // other way round.
  host::Boolean visible = 0;
  if (GetTargetProperty(kLayer, FourCC("Vsbl"), &visible, nullptr) != 0) return;
  SetTargetLayerHidden(visible != 0);
}
