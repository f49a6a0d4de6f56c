#include "commands/masks.h"

#include <windows.h>

#include <vector>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "host/layer_queries.h"

namespace {

constexpr TypeID kNull = FourCC("null");
constexpr TypeID kTo = FourCC("T   ");
constexpr TypeID kUsing = FourCC("Usng");
constexpr TypeID kAt = FourCC("At  ");
constexpr TypeID kOrdinal = FourCC("Ordn");
constexpr TypeID kTarget = FourCC("Trgt");
constexpr TypeID kChannel = FourCC("Chnl");
constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kPath = FourCC("Path");
constexpr TypeID kMaskChannel = FourCC("Msk ");
constexpr TypeID kSet = FourCC("setd");
constexpr TypeID kMake = FourCC("Mk  ");
constexpr TypeID kDelete = FourCC("Dlt ");
constexpr TypeID kSelect = FourCC("slct");
constexpr TypeID kOpacity = FourCC("Opct");
constexpr TypeID kMode = FourCC("Md  ");
constexpr TypeID kPercent = FourCC("#Prc");
constexpr TypeID kPixels = FourCC("#Pxl");

// Old Elements editors make only reveal-all masks; the other kinds are built
// from one with inversions.
bool OnlyRevealAllMasks() { return HostIsElements && HostMajorVersion < 9; }

// Whether the document has a selection; a read the host did not answer is
// told from none, as either taken for it would build the wrong mask.
std::int32_t ReadHasSelection(bool* has) {
  const int state = ReadSelectionState();
  *has = state == 1;
  return state < 0 ? host::kInterruptedError : 0;
}

// The parts references are made of. Each returns the host's first error.
std::int32_t PutSelection(host::Reference r) {
  return HostResult(ReferenceProcs()->PutProperty(r, kChannel, FourCC("fsel")));
}
std::int32_t PutTargetOf(host::Reference r, TypeID cls) {
  return HostResult(ReferenceProcs()->PutEnumerated(r, cls, kOrdinal, kTarget));
}
std::int32_t PutVectorMask(host::Reference r) {
  // Unknown to the host, the identifier would name no path at all.
  const TypeID vectorMask = StringToTypeID("vectorMask");
  if (vectorMask == 0) return host::kBadParameterError;
  return HostResult(ReferenceProcs()->PutEnumerated(r, kPath, kPath, vectorMask));
}
std::int32_t PutNamed(host::Reference r, TypeID cls, const char* name) {
  return HostResult(ReferenceProcs()->PutName(r, cls, name));
}

// A new reference filled by `fill`; the holder stays empty on an error.
template <typename Fill>
std::int32_t BuildReference(ReferenceHolder& holder, Fill fill) {
  std::int32_t err = MakeReference(holder);
  if (err == 0) err = fill(holder.get());
  if (err != 0) holder.reset();
  return err;
}

// `key` = a reference built by `fill`, put into `d`.
template <typename Fill>
std::int32_t PutReferenceTo(host::Descriptor d, TypeID key, Fill fill) {
  ReferenceHolder reference;
  std::int32_t err = BuildReference(reference, fill);
  if (err == 0) err = HostResult(DescriptorProcs()->PutReference(d, key, reference.get()));
  return err;
}

// Builds a descriptor with `fill` and plays it; a build error is returned
// without playing.
template <typename Fill>
std::int32_t PlayBuilt(TypeID event, std::int32_t mode, Fill fill) {
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = fill(descriptor.get());
  if (err != 0) return err;
  return PlayDescriptor(event, descriptor.get(), mode);
}

// `setd` of the target layer to an object of class `Lyr ` holding one
// Boolean.
std::int32_t SetLayerFlag(TypeID key, bool flag) {
  if (key == 0) return host::kBadParameterError;
  return PlayBuilt(kSet, kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) { return PutTargetOf(r, kLayer); });
    DescriptorHolder object;
    if (err == 0) err = MakeDescriptor(object);
    if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(object.get(), key, flag ? 1 : 0));
    if (err == 0) err = HostResult(DescriptorProcs()->PutObject(d, kTo, kLayer, object.get()));
    return err;
  });
}

// `setd` of the selection to the reference `fill` builds.
template <typename Fill>
std::int32_t SetSelectionTo(Fill fill) {
  return PlayBuilt(kSet, kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutSelection);
    if (err == 0) err = PutReferenceTo(d, kTo, fill);
    return err;
  });
}

std::int32_t SetSelectionToAllOrNone(TypeID value) {
  return PlayBuilt(kSet, kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutSelection);
    if (err == 0) err = HostResult(DescriptorProcs()->PutEnumerated(d, kTo, kOrdinal, value));
    return err;
  });
}

// The `Mk  ` of a layer mask: `Nw  ` = class `Chnl`, `At  ` = the mask
// channel, `Usng` = how it starts.
std::int32_t MakeLayerMask(TypeID value) {
  return PlayNewAt(FourCC("Nw  "), kChannel, kChannel, kChannel, kMaskChannel, kUsing, FourCC("UsrM"),
                   value, kMake, kDialogNone);
}

// `Opct` = 100 % and `Md  ` = normal, the settings of a filled or converted
// layer.
std::int32_t PutFullOpacityNormal(host::Descriptor d) {
  std::int32_t err = HostResult(DescriptorProcs()->PutUnitFloat(d, kOpacity, kPercent, 100.0));
  if (err == 0) err = HostResult(DescriptorProcs()->PutEnumerated(d, kMode, FourCC("BlnM"), FourCC("Nrml")));
  return err;
}

// `rasterizeLayer` of the target layer; `what` is the rasterizeItem value.
std::int32_t RasterizeTarget(const char* what) {
  const TypeID event = StringToTypeID("rasterizeLayer");
  const TypeID itemType = StringToTypeID("rasterizeItem");
  const TypeID item = StringToTypeID(what);
  if (event == 0 || itemType == 0 || item == 0) return host::kBadParameterError;
  return PlayBuilt(event, kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) { return PutTargetOf(r, kLayer); });
    if (err == 0) err = HostResult(DescriptorProcs()->PutEnumerated(d, FourCC("What"), itemType, item));
    return err;
  });
}

// The vector mask of the target layer: (`Path`, `Path` / vectorMask) then
// the target layer.
std::int32_t PutTargetVectorMask(host::Reference r) {
  std::int32_t err = PutVectorMask(r);
  if (err == 0) err = PutTargetOf(r, kLayer);
  return err;
}

}  // namespace

// ---- Selection and channel steps ----

std::int32_t SelectAll() { return SetSelectionToAllOrNone(FourCC("Al  ")); }
std::int32_t Deselect() { return SetSelectionToAllOrNone(FourCC("None")); }
std::int32_t InverseSelection() { return PlayDescriptor(FourCC("Invs"), nullptr, kDialogNone); }

namespace {
// `Invr` with the host's answer, which InvertImage does not give.
std::int32_t InvertEditedChannel() { return PlayDescriptor(FourCC("Invr"), nullptr, kDialogNone); }
}  // namespace

std::int32_t LoadChannelAsSelection(TypeID channel) {
  return SetSelectionTo([channel](host::Reference r) {
    // The layer mask is loaded as the edited channel it has become.
    if (channel == kMaskChannel) return PutTargetOf(r, kChannel);
    return HostResult(ReferenceProcs()->PutEnumerated(r, kChannel, kChannel, channel));
  });
}

std::int32_t LoadSelectionFromNamedChannel(const char* name) {
  if (!name) return host::kBadParameterError;
  return SetSelectionTo([name](host::Reference r) { return PutNamed(r, kChannel, name); });
}

std::int32_t SaveSelectionAsChannel(const char* name, std::int32_t mode) {
  return PlayBuilt(FourCC("Dplc"), mode, [name](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutSelection);
    if (err == 0 && name) err = HostResult(DescriptorProcs()->PutString(d, FourCC("Nm  "), name));
    return err;
  });
}

std::int32_t SelectChannelByName(const char* name) {
  if (!name) return host::kBadParameterError;
  return PlayBuilt(kSelect, kDialogNone, [name](host::Descriptor d) {
    return PutReferenceTo(d, kNull, [name](host::Reference r) { return PutNamed(r, kChannel, name); });
  });
}

std::int32_t FillSelection(TypeID contents) {
  return PlayBuilt(FourCC("Fl  "), kDialogNone, [contents](host::Descriptor d) {
    std::int32_t err = HostResult(DescriptorProcs()->PutEnumerated(d, kUsing, FourCC("FlCn"), contents));
    if (err == 0) err = PutFullOpacityNormal(d);
    return err;
  });
}

std::int32_t DeleteLayer(const char* name) {
  return PlayBuilt(kDelete, kDialogNone, [name](host::Descriptor d) {
    return PutReferenceTo(d, kNull, [name](host::Reference r) {
      return name ? PutNamed(r, kLayer, name) : PutTargetOf(r, kLayer);
    });
  });
}

std::int32_t ConvertBackgroundToLayer() {
  return PlayBuilt(kSet, kDialogNone, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) {
      return HostResult(ReferenceProcs()->PutProperty(r, kLayer, FourCC("Bckg")));
    });
    DescriptorHolder layer;
    if (err == 0) err = MakeDescriptor(layer);
    if (err == 0) err = PutFullOpacityNormal(layer.get());
    if (err == 0) err = HostResult(DescriptorProcs()->PutObject(d, kTo, kLayer, layer.get()));
    return err;
  });
}

// ---- Mask operations ----

std::int32_t AddLayerMask(MaskKind kind) {
  static constexpr TypeID kValues[] = {FourCC("RvlA"), FourCC("HdAl"), FourCC("RvlS"), FourCC("HdSl")};
  const int k = static_cast<int>(kind);
  if (k < 0 || k > 3) return host::kInterruptedError;
  const bool build = OnlyRevealAllMasks();
  // How the mask is built depends on the selection: unread, it would be
  // built as another kind than asked for.
  const bool selectionMatters = kind == MaskKind::HideAll || kind == MaskKind::RevealSelection;
  const int selection = build && selectionMatters ? ReadSelectionState() : 0;
  if (selection < 0) return host::kInterruptedError;
  // Without a mask the inversions below would invert the layer's pixels.
  if (MakeLayerMask(build ? kValues[0] : kValues[k]) != 0) return host::kInterruptedError;
  if (!build) return 0;

  // The new mask is the edited channel: inverting it inside the selection
  // hides what is selected. A step that fails would leave a mask of another
  // kind than asked for: the whole named step is dropped instead.
  std::vector<std::int32_t (*)()> steps;
  switch (kind) {
    case MaskKind::HideAll:
      // Inside and then outside the selection, which stays as it was.
      if (selection == 1) steps = {InvertEditedChannel, InverseSelection, InvertEditedChannel, InverseSelection};
      else steps = {InvertEditedChannel};
      break;
    case MaskKind::RevealSelection:
      if (selection == 1) {
        // A selection of the whole image inverts to none, and the inversion
        // would then reach the whole mask and hide everything: the
        // reveal-all mask is already what was asked for.
        if (InverseSelection() != 0) return host::kInterruptedError;
        const int left = ReadSelectionState();
        if (left < 0) return host::kInterruptedError;
        if (left == 1) steps = {InvertEditedChannel, Deselect};
      }
      break;
    case MaskKind::HideSelection:
      steps = {InvertEditedChannel, Deselect};
      break;
    case MaskKind::RevealAll:
      break;
  }
  for (auto step : steps)
    if (step() != 0) return host::kInterruptedError;
  return 0;
}

std::int32_t AddLayerMaskFromTransparency() {
  // Without the transparency loaded the mask would be made from whatever
  // was selected before, or reveal everything.
  if (const std::int32_t loaded = LoadChannelAsSelection(FourCC("Trsp")); loaded != 0) return loaded;
  const bool build = OnlyRevealAllMasks();
  std::int32_t made = MakeLayerMask(build ? FourCC("RvlA") : FourCC("RvlS"));
  // Without a mask the inversion would reach the layer's pixels, and without
  // the inverse it would hide the opaque parts instead of the transparent.
  bool selected = false;
  if (made == 0 && build) made = ReadHasSelection(&selected);
  if (made == 0 && selected) {
    made = InverseSelection();
    if (made == 0) made = InvertEditedChannel();
    if (made == 0) Deselect();
  }
  // Left selected, the transparency would outlast the command.
  const std::int32_t deselected = Deselect();
  return made != 0 ? made : deselected;
}

std::int32_t SetLayerMaskEnabled(bool enabled) { return SetLayerFlag(FourCC("UsrM"), enabled); }
std::int32_t SetLayerMaskLinked(bool linked) { return SetLayerFlag(FourCC("Usrs"), linked); }

std::int32_t LoadLayerMaskAsSelection() {
  // Intersected with what was selected before, the mask would load cut.
  // Without the host's identifier the key would be no key at all.
  const TypeID maskParameters = StringToTypeID("maskParameters");
  if (maskParameters == 0) return host::kBadParameterError;
  if (const std::int32_t all = SelectAll(); all != 0) return all;
  return PlayBuilt(FourCC("Intr"), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) {
      return HostResult(ReferenceProcs()->PutEnumerated(r, kChannel, kChannel, kMaskChannel));
    });
    if (err == 0) err = PutReferenceTo(d, FourCC("With"), PutSelection);
    if (err == 0) err = HostResult(DescriptorProcs()->PutInteger(d, FourCC("Vrsn"), 1));
    if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(d, maskParameters, 1));
    return err;
  });
}

std::int32_t SelectFilterMask() {
  const TypeID filterMask = StringToTypeID("filterMask");
  return PlayOnTargetWithFlag(kChannel, kChannel, filterMask, FourCC("MkVs"), false, kSelect, kDialogNone);
}

std::int32_t SetFilterMaskEnabled(bool enabled) {
  return SetLayerFlag(StringToTypeID("filterMaskEnable"), enabled);
}

std::int32_t MakeWorkPathFromSelection(std::int32_t mode) {
  return PlayBuilt(kMake, mode, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) {
      return HostResult(ReferenceProcs()->PutClass(r, kPath));
    });
    if (err == 0) err = PutReferenceTo(d, FourCC("From"), PutSelection);
    if (err == 0) err = HostResult(DescriptorProcs()->PutUnitFloat(d, FourCC("Tlrn"), kPixels, 2.0));
    return err;
  });
}

std::int32_t MakeVectorMaskFromPath() {
  return PlayBuilt(kMake, kDialogNone, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) {
      return HostResult(ReferenceProcs()->PutClass(r, kPath));
    });
    if (err == 0) err = PutReferenceTo(d, kAt, PutVectorMask);
    if (err == 0) err = PutReferenceTo(d, kUsing, [](host::Reference r) { return PutTargetOf(r, kPath); });
    return err;
  });
}

std::int32_t LoadVectorMaskAsSelection(std::int32_t mode) {
  const TypeID params = StringToTypeID("vectorMaskParams");
  if (params == 0) return host::kBadParameterError;
  return PlayBuilt(kSet, mode, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutSelection);
    if (err == 0) err = PutReferenceTo(d, kTo, PutTargetVectorMask);
    if (err == 0) err = HostResult(DescriptorProcs()->PutInteger(d, FourCC("Vrsn"), 1));
    if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(d, params, 1));
    return err;
  });
}

std::int32_t SetVectorMaskEnabled(bool enabled) {
  return SetLayerFlag(StringToTypeID("vectorMaskEnabled"), enabled);
}

std::int32_t DeleteVectorMask() {
  return PlayBuilt(kDelete, kDialogNone,
                   [](host::Descriptor d) { return PutReferenceTo(d, kNull, PutTargetVectorMask); });
}

std::int32_t RasterizeVectorMask() { return RasterizeTarget("vectorMask"); }
std::int32_t SimplifySmartObjectLayer() { return RasterizeTarget("placed"); }

// ---- Named commands ----

// Both delete the target channel, which is the mask only once selecting it
// succeeded; otherwise it may be a colour or a saved channel of the image.
// A delete that fails drops the step, which would otherwise keep only the
// mask selected.
std::int32_t MaskDelete() {
  if (SelectLayerMask() != 0) return host::kInterruptedError;
  return DeleteTargetChannel() == 0 ? 0 : host::kInterruptedError;
}

std::int32_t MaskApply() {
  if (SelectLayerMask() != 0) return host::kInterruptedError;
  const std::int32_t applied = PlayBuilt(kDelete, kDialogNone, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) { return PutTargetOf(r, kChannel); });
    if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(d, FourCC("Aply"), 1));
    return err;
  });
  return applied == 0 ? 0 : host::kInterruptedError;
}

// A flag that cannot be read cannot be toggled: the step would set the mask
// to whatever the failed read answered, or be kept empty.
std::int32_t MaskToggleEnabled() {
  host::Boolean enabled = 0;
  if (GetTargetProperty(kLayer, FourCC("UsrM"), &enabled, nullptr) != 0) return host::kInterruptedError;
  return SetLayerMaskEnabled(enabled == 0) == 0 ? 0 : host::kInterruptedError;
}

std::int32_t MaskToggleLinked() {
  host::Boolean linked = 0;
  if (GetTargetProperty(kLayer, FourCC("Usrs"), &linked, nullptr) != 0) return host::kInterruptedError;
  return SetLayerMaskLinked(linked == 0) == 0 ? 0 : host::kInterruptedError;
}

// Both vector-mask commands end early when no work path or no mask could be
// made: the old vector mask is deleted on the way, and only dropping the
// history step gives it back.
std::int32_t VectorMaskFromSelection() {
  if (HostMajorVersion >= 6 && !HasSelection()) return host::kInterruptedError;
  if (MakeWorkPathFromSelection(kDialogNone) != 0) return host::kInterruptedError;
  if (HasVectorMask() && DeleteVectorMask() != 0) return host::kInterruptedError;
  return MakeVectorMaskFromPath() == 0 ? 0 : host::kInterruptedError;
}

std::int32_t VectorMaskFromShape() {
  if (LoadVectorMaskAsSelection(kDialogNone) != 0) return host::kInterruptedError;
  // The shape layer goes; the layer below becomes the target. Were it kept,
  // the mask would be made on the shape layer itself.
  if (DeleteLayer(nullptr) != 0) return host::kInterruptedError;
  const std::int32_t path = MakeWorkPathFromSelection(kDialogNone);
  const std::int32_t deselected = Deselect();
  if (path != 0 || deselected != 0) return host::kInterruptedError;
  if (IsBackgroundLayer() && ConvertBackgroundToLayer() != 0) return host::kInterruptedError;
  if (HasVectorMask() && DeleteVectorMask() != 0) return host::kInterruptedError;
  return MakeVectorMaskFromPath() == 0 ? 0 : host::kInterruptedError;
}

// Filling without the filter mask selected, or without all of it selected,
// would paint the layer or part of the mask: any failing step ends the
// command, and dropping its history step undoes the steps before.
std::int32_t ClearFilterMask() {
  if (SelectFilterMask() != 0 || SelectAll() != 0) return host::kInterruptedError;
  if (FillSelection(FourCC("Wht ")) != 0) return host::kInterruptedError;
  return Deselect() == 0 ? 0 : host::kInterruptedError;
}

std::int32_t EnsureEditableLayer() {
  if (!IsSmartObjectLayer()) return 1;
  if (MessageBoxA(MainWindow, FeatureMessageTable[3], FeatureMessageTable[4], MB_OKCANCEL) != IDOK) return 0;
  SimplifySmartObjectLayer();
  return -2;
}
