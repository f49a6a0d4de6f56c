#include "host/layer_queries.h"

#include <cstring>

#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"

namespace {

constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kDocument = FourCC("Dcmn");

// A Boolean property of the target layer named by a string identifier.
bool LayerFlagByName(const char* name) {
  host::Boolean value = 0;
  const TypeID key = StringToTypeID(name);
  if (key == 0) return false;
  GetTargetProperty(kLayer, key, &value, nullptr);
  return value != 0;
}

// True when a property of the target object reads as an object.
bool HasObject(TypeID cls, TypeID key) {
  DescriptorHolder object;
  TypeID objectClass = 0;
  GetTargetProperty(cls, key, object.out(), &objectClass);
  return bool(object);
}

// The target document's `targetLayers` list; empty when it cannot be read.
ListHolder ReadTargetLayers() {
  DescriptorHolder document;
  ListHolder list;
  if (GetTargetProperty(kDocument, 0, document.out(), nullptr) != 0 || !document) return list;
  const TypeID key = StringToTypeID("targetLayers");
  if (key != 0) GetDescriptorItem(document.get(), key, list.out(), nullptr);
  return list;
}

// The first element of the target layer's adjustment list, as an object.
TypeID ReadAdjustmentClass() {
  ListHolder list;
  if (GetTargetProperty(kLayer, FourCC("Adjs"), list.out(), nullptr) != 0 || !list) return 0;
  TypeID cls = 0;
  DescriptorHolder first;
  if (ListProcs()->GetObjectValue(list.get(), 0, &cls, first.out()) != 0) return 0;
  return cls;
}

extern "C" host::SPErr CountByProbing(void* data) {
  try {
    auto* counter = static_cast<std::int32_t*>(data);
    const TypeID filter = StringToTypeID("filterFX");
    for (std::int32_t n = 1;; ++n) {
      ReferenceHolder reference;
      DescriptorHolder descriptor;
      std::int32_t err = MakeDescriptor(descriptor);
      if (err == 0) err = MakeReference(reference);
      if (err == 0) err = HostResult(ReferenceProcs()->PutIndex(reference.get(), filter, std::uint32_t(n)));
      if (err == 0)
        err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), kLayer, FourCC("Ordn"), FourCC("Trgt")));
      if (err == 0) err = HostResult(DescriptorProcs()->PutReference(descriptor.get(), FourCC("null"), reference.get()));
      if (err == 0) {
        DescriptorHolder result;
        err = HostResult(ControlProcs()->Play(result.out(), FourCC("Shw "), descriptor.get(), kDialogNone));
      }
      if (err != 0) {
        *counter = n - 1;
        return host::kInterruptedError;
      }
    }
  } catch (...) {
    return host::kInterruptedError;
  }
}

}  // namespace

bool HasFilterMask() { return LayerFlagByName("hasFilterMask"); }
bool HasUserMask() { return LayerFlagByName("hasUserMask"); }
bool HasVectorMask() { return LayerFlagByName("hasVectorMask"); }
bool IsTextLayer() { return HasObject(kLayer, FourCC("Txt ")); }

bool IsSmartObjectLayer() {
  const TypeID key = StringToTypeID("smartObject");
  return key != 0 && HasObject(kLayer, key);
}

bool IsLayerGroup() {
  const TypeID key = StringToTypeID("layerSection");
  if (key == 0) return false;
  TypeID value = 0, type = 0;
  if (GetTargetProperty(kLayer, key, &value, &type) != 0 || value == 0) return false;
  char name[256] = {};
  if (ControlProcs()->TypeIDToStringID(value, name, sizeof name) != 0) return false;
  name[sizeof name - 1] = '\0';
  return std::strcmp(name, "layerSectionStart") == 0;
}

bool HasSelection() { return ReadSelectionState() == 1; }

namespace {
constexpr std::int32_t kNoSuchKeyError = -1715;   // the host's answer for a key the object lacks
}  // namespace

int ReadSelectionState() {
  const TypeID key = StringToTypeID("selection");
  if (key == 0) return -1;
  DescriptorHolder object;
  TypeID cls = 0;
  const std::int32_t err = GetTargetProperty(kDocument, key, object.out(), &cls);
  if (err == 0) return cls != 0 ? 1 : 0;
  // A document without a selection has no such key; anything else is a
  // question the host did not answer.
  return err == kNoSuchKeyError ? 0 : -1;
}

bool HasBackgroundLayer() {
  ReferenceHolder reference;
  std::int32_t err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutProperty(reference.get(), FourCC("BckL"), FourCC("Bckg")));
  if (err == 0)
    err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), kDocument, FourCC("Ordn"), FourCC("Trgt")));
  if (err != 0) return false;
  DescriptorHolder result;
  return ControlProcs()->Get(result.out(), reference.get()) == 0;
}

std::int32_t CountTargetLayers() {
  ListHolder list = ReadTargetLayers();
  std::uint32_t count = 0;
  if (!list || ListProcs()->GetCount(list.get(), &count) != 0) return 1;
  return std::int32_t(count);
}

std::int32_t GetTargetLayerIndices(std::int32_t* indices, std::int32_t capacity) {
  ListHolder list = ReadTargetLayers();
  std::uint32_t count = 0;
  if (!list || ListProcs()->GetCount(list.get(), &count) != 0) return 1;
  for (std::uint32_t i = 0; i < count && indices && std::int32_t(i) < capacity; ++i) {
    ReferenceHolder element;
    if (ListProcs()->GetReference(list.get(), i, element.out()) != 0) continue;
    std::uint32_t index = 0;
    if (ReferenceProcs()->GetIndex(element.get(), &index) == 0) indices[i] = std::int32_t(index);
  }
  return std::int32_t(count);
}

host::TypeID GetAdjustmentClass() { return ReadAdjustmentClass(); }

bool GetAdjustmentKindName(char* buffer, std::uint32_t size) {
  if (!buffer || size == 0) return false;
  const TypeID cls = ReadAdjustmentClass();
  if (cls == 0) return false;
  if (ControlProcs()->TypeIDToStringID(cls, buffer, size) != 0) return false;
  buffer[size - 1] = '\0';
  return true;
}

std::int32_t CountSmartFilters() {
  const TypeID smartObject = StringToTypeID("smartObject");
  if (smartObject == 0) return 0;
  DescriptorHolder object;
  TypeID cls = 0;
  if (GetTargetProperty(kLayer, smartObject, object.out(), &cls) != 0 || !object) return 0;
  if (HostIsElements && HostMajorVersion < 8) return CountSmartFiltersByProbing();
  ListHolder filters;
  const TypeID key = StringToTypeID("filterFX");
  if (key == 0 || GetDescriptorItem(object.get(), key, filters.out(), nullptr) != 0 || !filters) return 0;
  std::uint32_t count = 0;
  if (ListProcs()->GetCount(filters.get(), &count) != 0) return 0;
  return std::int32_t(count);
}

bool IsSmartFilterEnabled(std::int32_t index) {
  if (index < 1) return false;
  const TypeID smartObject = StringToTypeID("smartObject");
  const TypeID key = StringToTypeID("filterFX");
  if (smartObject == 0 || key == 0) return false;
  DescriptorHolder object;
  TypeID cls = 0;
  if (GetTargetProperty(kLayer, smartObject, object.out(), &cls) != 0 || !object) return false;
  ListHolder filters;
  if (GetDescriptorItem(object.get(), key, filters.out(), nullptr) != 0 || !filters) return false;
  DescriptorHolder filter;
  TypeID filterClass = 0;
  if (ListProcs()->GetObjectValue(filters.get(), std::uint32_t(index - 1), &filterClass, filter.out()) != 0 ||
      !filter)
    return false;
  host::Boolean enabled = 0;
  if (GetDescriptorItem(filter.get(), FourCC("enab"), &enabled, nullptr) != 0) return false;
  return enabled != 0;
}

std::int32_t CountSmartFiltersByProbing() {
  ReferenceHolder document;
  std::int32_t err = MakeReference(document);
  if (err == 0)
    err = HostResult(ReferenceProcs()->PutEnumerated(document.get(), kDocument, FourCC("Ordn"), FourCC("Trgt")));
  if (err != 0) return 0;
  std::int32_t counter = 0;
  ControlProcs()->SuspendHistory(document.get(), CountByProbing, &counter, nullptr);
  return counter;
}

std::int32_t RenameTargetLayer(const char* name) {
  if (!name) return host::kBadParameterError;
  host::Boolean background = 0;
  GetTargetProperty(kLayer, FourCC("Bckg"), &background, nullptr);
  if (background) return 0;
  ReferenceHolder reference;
  DescriptorHolder layer;
  DescriptorHolder descriptor;
  const host::DescriptorSuite* d = DescriptorProcs();
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeDescriptor(layer);
  if (err == 0) err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), kLayer, FourCC("Ordn"), FourCC("Trgt")));
  if (err == 0) err = HostResult(d->PutReference(descriptor.get(), FourCC("null"), reference.get()));
  if (err == 0) err = HostResult(d->PutString(layer.get(), FourCC("Nm  "), name));
  if (err == 0) err = HostResult(d->PutObject(descriptor.get(), FourCC("T   "), kLayer, layer.get()));
  if (err != 0) return err;
  DescriptorHolder result;
  return HostResult(ControlProcs()->Play(result.out(), FourCC("setd"), descriptor.get(), kDialogNone));
}

std::int32_t SelectLayerByIndex(std::int32_t index, bool makeVisible, bool addToSelection) {
  ReferenceHolder reference;
  DescriptorHolder descriptor;
  const host::DescriptorSuite* d = DescriptorProcs();
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutIndex(reference.get(), kLayer, std::uint32_t(index)));
  if (err == 0) err = HostResult(d->PutReference(descriptor.get(), FourCC("null"), reference.get()));
  if (err == 0 && addToSelection)
    err = HostResult(d->PutEnumerated(descriptor.get(), StringToTypeID("selectionModifier"),
                                      StringToTypeID("selectionModifierType"), StringToTypeID("addToSelection")));
  if (err == 0) err = HostResult(d->PutBoolean(descriptor.get(), FourCC("MkVs"), makeVisible ? 1 : 0));
  if (err != 0) return err;
  DescriptorHolder result;
  return HostResult(ControlProcs()->Play(result.out(), FourCC("slct"), descriptor.get(), kDialogNone));
}
