#include "commands/layer_arrangement.h"

#include <cmath>

#include "commands/masks.h"
#include "host/event_keys.h"
#include "host/event_player.h"
#include "host/host_objects.h"

using namespace event_keys;

namespace {

constexpr TypeID kLayer = FourCC("Lyr ");

std::int32_t ArrangeLayers(std::string_view event, int k) {
  const std::string_view where = AlignmentOf(k);
  if (where.empty()) return host::kBadParameterError;
  return PlayKeys(event, kDialogNone, {Ref("null", {TargetOf("Lyr")}), Enumerated("Usng", "ADSt", where)});
}

// A Boolean of the target layer; false when it cannot be read.
bool ReadLayerFlag(TypeID key, bool* out) {
  host::Boolean value = 0;
  *out = false;
  if (key == 0 || GetTargetProperty(kLayer, key, &value, nullptr) != 0) return false;
  *out = value != 0;
  return true;
}

// Whether the host made nothing of the merge: no layer beside the target
// (the background is not counted among the layers). 1 when it made nothing,
// 0 when it stamped, -1 when that cannot be told.
int NothingStamped() {
  const std::int32_t count = GetDocumentInteger(FourCC("NmbL"));
  bool background = false;
  if (count < 0 || !ReadLayerFlag(FourCC("Bckg"), &background)) return -1;
  return (background ? count == 0 : count == 1) ? 1 : 0;
}

}  // namespace

std::int32_t AlignLayers(int k) { return ArrangeLayers("Algn", k); }
std::int32_t DistributeLayers(int k) { return ArrangeLayers("Dstr", k); }

std::int32_t AutoBlendLayers() {
  return PlayKeys("mergeAlignedLayers", kDialogShow,
                  {Enumerated("Aply", "autoBlendType", "maxDOF"), Boolean("ClrC", true)});
}

std::int32_t StampVisible() {
  const std::int32_t merged = PlayKeys("MrgV", kDialogNone, {Boolean("Dplc", true)});
  if (merged == 0) {
    // Unread, a copy might be added to a stamp, or the step might be kept
    // empty: it is dropped instead.
    const int nothing = NothingStamped();
    if (nothing < 0) return host::kInterruptedError;
    if (nothing == 0) return 0;
  }
  // The copy is what the mask is applied to: without it the mask applied
  // would be the one of the user's own layer.
  if (const std::int32_t copied = DuplicateLayer(); copied != 0) return copied;
  bool masked = false;
  if (!ReadLayerFlag(StringToTypeID("hasUserMask"), &masked)) return host::kInterruptedError;
  if (!masked) return 0;
  return MaskApply();
}

std::int32_t EditLayerStyle() {
  return PlayKeys("setd", kDialogShow, {Ref("null", {Property("Prpr", "Lefx"), TargetOf("Lyr")})});
}

std::int32_t GetFillOpacity() {
  const TypeID key = StringToTypeID("fillOpacity");
  if (key == 0) return -1;
  ReferenceHolder reference;
  std::int32_t err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutProperty(reference.get(), FourCC("Prpr"), key));
  if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), kLayer, FourCC("Ordn"), FourCC("Trgt")));
  DescriptorHolder answer;
  if (err == 0) err = HostResult(ControlProcs()->Get(answer.out(), reference.get()));
  if (err != 0 || !answer) return -1;
  // The host may answer a whole number or a (unit) float: each is read as
  // what it is.
  const host::DescriptorSuite* d = DescriptorProcs();
  host::Boolean has = 0;
  TypeID type = 0;
  if (d->HasKey(answer.get(), key, &has) != 0 || !has || d->GetType(answer.get(), key, &type) != 0) return -1;
  if (type == host::kTypeInteger) {
    std::int32_t value = -1;
    return d->GetInteger(answer.get(), key, &value) == 0 ? value : -1;
  }
  double value = 0;
  TypeID unit = 0;
  if (type == host::kTypeFloat && d->GetFloat(answer.get(), key, &value) == 0) return std::int32_t(std::lround(value));
  if (type == host::kTypeUnitFloat && d->GetUnitFloat(answer.get(), key, &unit, &value) == 0)
    return std::int32_t(std::lround(value));
  return -1;
}
