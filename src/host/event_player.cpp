#include "host/event_player.h"

#include "entry/module_state.h"
#include "host/host_objects.h"

namespace {

constexpr TypeID kNull = FourCC("null");
constexpr TypeID kProperty = FourCC("Prpr");
constexpr TypeID kOrdinal = FourCC("Ordn");
constexpr TypeID kTarget = FourCC("Trgt");
constexpr TypeID kChannel = FourCC("Chnl");
constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kSelect = FourCC("slct");
constexpr TypeID kDelete = FourCC("Dlt ");

// Plays an event and frees what the host answered.
std::int32_t Play(TypeID event, host::Descriptor params, std::int32_t mode) {
  DescriptorHolder result;
  return HostResult(ControlProcs()->Play(result.out(), event, params, mode));
}

// Asks the host for the object a reference names; the holder receives it.
std::int32_t GetReferenced(host::Reference reference, TypeID key, void* out, void* extra) {
  DescriptorHolder result;
  const std::int32_t err = HostResult(ControlProcs()->Get(result.out(), reference));
  if (err != 0) return err;
  if (key == 0) {
    *static_cast<host::Descriptor*>(out) = result.release();
    return 0;
  }
  return GetDescriptorItem(result.get(), key, out, extra);
}

// A reference to the current object of a class, or to a key of it.
std::int32_t MakeTargetReference(ReferenceHolder& reference, TypeID cls, TypeID key) {
  std::int32_t err = MakeReference(reference);
  if (err == 0 && key != 0) err = HostResult(ReferenceProcs()->PutProperty(reference.get(), kProperty, key));
  if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), cls, kOrdinal, kTarget));
  return err;
}

}  // namespace

std::int32_t PlayDescriptor(TypeID event, host::Descriptor params, std::int32_t mode) {
  return Play(event, params, mode);
}

TypeID StringToTypeID(const char* text) {
  TypeID id = 0;
  if (ControlProcs()->StringIDToTypeID(text, &id) != 0) return 0;
  return id;
}

std::int32_t GetDescriptorItem(host::Descriptor descriptor, TypeID key, void* out, void* extra) {
  if (!out) return host::kBadParameterError;
  const host::DescriptorSuite* d = DescriptorProcs();
  host::Boolean has = 0;
  std::int32_t err = HostResult(d->HasKey(descriptor, key, &has));
  if (err != 0) return err;
  if (!has) return 0;
  TypeID type = 0;
  err = HostResult(d->GetType(descriptor, key, &type));
  if (err != 0) return err;

  switch (type) {
    case host::kTypeInteger:
      return HostResult(d->GetInteger(descriptor, key, static_cast<std::int32_t*>(out)));
    case host::kTypeFloat:
      return HostResult(d->GetFloat(descriptor, key, static_cast<double*>(out)));
    case host::kTypeUnitFloat:
      if (!extra) return host::kBadParameterError;
      return HostResult(d->GetUnitFloat(descriptor, key, static_cast<TypeID*>(extra),
                                        static_cast<double*>(out)));
    case host::kTypeBoolean:
      return HostResult(d->GetBoolean(descriptor, key, static_cast<host::Boolean*>(out)));
    case host::kTypeText: {
      // `extra` holds the buffer's size and receives the text's length.
      if (!extra) return host::kBadParameterError;
      auto* sizeAndLength = static_cast<std::uint32_t*>(extra);
      const std::uint32_t size = *sizeAndLength;
      err = HostResult(d->GetStringLength(descriptor, key, sizeAndLength));
      if (err != 0) return err;
      if (*sizeAndLength >= size) return host::kBadParameterError;
      return HostResult(d->GetString(descriptor, key, static_cast<char*>(out), *sizeAndLength + 1));
    }
    case host::kTypeEnumerated:
      if (!extra) return host::kBadParameterError;
      return HostResult(d->GetEnumerated(descriptor, key, static_cast<TypeID*>(extra),
                                         static_cast<TypeID*>(out)));
    case host::kTypeObject:
      if (!extra) return host::kBadParameterError;
      return HostResult(d->GetObjectValue(descriptor, key, static_cast<TypeID*>(extra),
                                     static_cast<host::Descriptor*>(out)));
    case host::kTypeGlobalObject:
      if (!extra) return host::kBadParameterError;
      return HostResult(d->GetGlobalObject(descriptor, key, static_cast<TypeID*>(extra),
                                           static_cast<host::Descriptor*>(out)));
    case host::kTypeReference:
      return HostResult(d->GetReference(descriptor, key, static_cast<host::Reference*>(out)));
    case host::kTypeList:
      return HostResult(d->GetList(descriptor, key, static_cast<host::List*>(out)));
    case host::kTypeClass:
    case host::kTypeGlobalClass:
      return HostResult(d->GetClass(descriptor, key, static_cast<TypeID*>(out)));
    case host::kTypeAlias:
    case host::kTypePath:
      return HostResult(d->GetAlias(descriptor, key, static_cast<host::Handle*>(out)));
    default:
      return host::kUnimplementedError;
  }
}

std::int32_t GetTargetProperty(TypeID cls, TypeID key, void* out, void* extra) {
  if (!out) return host::kBadParameterError;
  ReferenceHolder reference;
  const std::int32_t err = MakeTargetReference(reference, cls, key);
  if (err != 0) return err;
  return GetReferenced(reference.get(), key, out, extra);
}

std::int32_t GetIndexedProperty(std::uint32_t index, TypeID cls, TypeID key, void* out, void* extra) {
  if (!out) return host::kBadParameterError;
  ReferenceHolder reference;
  std::int32_t err = MakeReference(reference);
  if (err == 0 && key != 0) err = HostResult(ReferenceProcs()->PutProperty(reference.get(), kProperty, key));
  if (err == 0) err = HostResult(ReferenceProcs()->PutIndex(reference.get(), cls, index));
  if (err != 0) return err;
  return GetReferenced(reference.get(), key, out, extra);
}

std::int32_t GetDocumentInteger(TypeID key) {
  std::int32_t value = -1;
  GetTargetProperty(FourCC("Dcmn"), key, &value, nullptr);
  return value;
}

std::int32_t PlayEvent(TypeID event, std::int32_t mode) {
  Play(event, nullptr, mode);
  return 0;
}

std::int32_t PlayEventByName(const char* name, std::int32_t mode) {
  return PlayEvent(StringToTypeID(name), mode);
}

std::int32_t PlayOnTargetWithFlag(TypeID cls, TypeID enumType, TypeID enumValue, TypeID key,
                                  bool flag, TypeID event, std::int32_t mode) {
  ReferenceHolder reference;
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), cls, enumType, enumValue));
  if (err == 0) err = HostResult(DescriptorProcs()->PutReference(descriptor.get(), kNull, reference.get()));
  if (err == 0 && key != 0) err = HostResult(DescriptorProcs()->PutBoolean(descriptor.get(), key, flag ? 1 : 0));
  if (err != 0) return err;
  return Play(event, descriptor.get(), mode);
}

std::int32_t PlayOnTarget(TypeID cls, TypeID enumType, TypeID enumValue, TypeID event,
                          std::int32_t mode) {
  return PlayOnTargetWithFlag(cls, enumType, enumValue, 0, false, event, mode);
}

std::int32_t PlayOnOffset(TypeID cls, std::int32_t offset, TypeID event, std::int32_t mode) {
  ReferenceHolder reference;
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutOffset(reference.get(), cls, offset));
  if (err == 0) err = HostResult(DescriptorProcs()->PutReference(descriptor.get(), kNull, reference.get()));
  if (err != 0) return err;
  return Play(event, descriptor.get(), mode);
}

std::int32_t PlayWithFlag(TypeID key, bool flag, TypeID event, std::int32_t mode) {
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = HostResult(DescriptorProcs()->PutBoolean(descriptor.get(), key, flag ? 1 : 0));
  if (err != 0) return err;
  return Play(event, descriptor.get(), mode);
}

std::int32_t PlayNewAt(TypeID newKey, TypeID newClass, TypeID refClass, TypeID refEnumType,
                       TypeID refEnumValue, TypeID usingKey, TypeID usingEnumType,
                       TypeID usingEnumValue, TypeID event, std::int32_t mode) {
  ReferenceHolder reference;
  DescriptorHolder descriptor;
  const host::DescriptorSuite* d = DescriptorProcs();
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeReference(reference);
  if (err == 0) err = HostResult(d->PutClass(descriptor.get(), newKey, newClass));
  if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), refClass, refEnumType, refEnumValue));
  if (err == 0) err = HostResult(d->PutReference(descriptor.get(), FourCC("At  "), reference.get()));
  if (err == 0) err = HostResult(d->PutEnumerated(descriptor.get(), usingKey, usingEnumType, usingEnumValue));
  if (err != 0) return err;
  return Play(event, descriptor.get(), mode);
}

std::int32_t FlattenImage() { return PlayEvent(FourCC("FltI"), kDialogNone); }
std::int32_t InvertImage() { return PlayEvent(FourCC("Invr"), kDialogNone); }

std::int32_t MergeLayers() {
  const bool oldMerge = (HostIsPhotoshop && HostMajorVersion < 9) || (HostIsElements && HostMajorVersion < 5);
  return Play(oldMerge ? FourCC("MrgL") : FourCC("Mrg2"), nullptr, kDialogNone);
}

std::int32_t DuplicateLayer() {
  return PlayOnTarget(kLayer, kOrdinal, kTarget, FourCC("Dplc"), kDialogNone);
}

std::int32_t DeleteTargetChannel() {
  return PlayOnTarget(kChannel, kOrdinal, kTarget, kDelete, kDialogNone);
}

std::int32_t SelectLayerMask() {
  // The mask becomes the edited channel without being shown.
  return PlayOnTargetWithFlag(kChannel, kOrdinal, FourCC("Msk "), FourCC("MkVs"), false, kSelect,
                              kDialogNone);
}

std::int32_t TargetChannel(TypeID channel, bool extend) {
  if (!extend) return PlayOnTarget(kChannel, kChannel, channel, kSelect, kDialogNone);
  return PlayOnTargetWithFlag(kChannel, kChannel, channel, FourCC("Extd"), true, kSelect, kDialogNone);
}

std::int32_t SelectChannel(TypeID channel, TypeID extra) {
  // Extending what was targeted before would target a third channel.
  if (const std::int32_t first = TargetChannel(channel, false); first != 0) return first;
  if (extra == 0) return 0;
  return TargetChannel(extra, true);
}

std::int32_t DeleteCurrentHistoryState() {
  ReferenceHolder reference;
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutProperty(reference.get(), FourCC("HstS"), FourCC("CrnH")));
  if (err == 0) err = HostResult(DescriptorProcs()->PutReference(descriptor.get(), kNull, reference.get()));
  if (err != 0) return err;
  return Play(kDelete, descriptor.get(), kDialogNone);
}
