// Small pieces that events are built from, so that a command's code reads
// like the list of its keys. Each returns the host's first error; nothing
// is played when building fails.
#pragma once

#include <cstdint>

#include "host/event_player.h"
#include "host/host_objects.h"

namespace build {

constexpr TypeID kNull = FourCC("null");
constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kChannel = FourCC("Chnl");

// Reference parts.
inline std::int32_t PutTargetOf(host::Reference r, TypeID cls) {
  return HostResult(ReferenceProcs()->PutEnumerated(r, cls, FourCC("Ordn"), FourCC("Trgt")));
}
inline std::int32_t PutTargetLayer(host::Reference r) { return PutTargetOf(r, kLayer); }
inline std::int32_t PutNamed(host::Reference r, TypeID cls, const char* name) {
  return HostResult(ReferenceProcs()->PutName(r, cls, name));
}
inline std::int32_t PutClassOf(host::Reference r, TypeID cls) { return HostResult(ReferenceProcs()->PutClass(r, cls)); }

// A new reference filled by `fill`.
template <typename Fill>
std::int32_t BuildReference(ReferenceHolder& holder, Fill fill) {
  std::int32_t err = MakeReference(holder);
  if (err == 0) err = fill(holder.get());
  if (err != 0) holder.reset();
  return err;
}

// `key` = a reference built by `fill`.
template <typename Fill>
std::int32_t PutReferenceTo(host::Descriptor d, TypeID key, Fill fill) {
  ReferenceHolder reference;
  std::int32_t err = BuildReference(reference, fill);
  if (err == 0) err = HostResult(DescriptorProcs()->PutReference(d, key, reference.get()));
  return err;
}

// `key` = an object of class `cls` whose keys `fill` puts.
template <typename Fill>
std::int32_t PutObjectTo(host::Descriptor d, TypeID key, TypeID cls, Fill fill) {
  DescriptorHolder object;
  std::int32_t err = MakeDescriptor(object);
  if (err == 0) err = fill(object.get());
  if (err == 0) err = HostResult(DescriptorProcs()->PutObject(d, key, cls, object.get()));
  return err;
}

// `key` = a list holding one reference built by `fill`.
template <typename Fill>
std::int32_t PutReferenceListTo(host::Descriptor d, TypeID key, Fill fill) {
  ListHolder list;
  std::int32_t err = HostResult(ListProcs()->Make(list.out()));
  ReferenceHolder reference;
  if (err == 0) err = BuildReference(reference, fill);
  if (err == 0) err = HostResult(ListProcs()->PutReference(list.get(), reference.get()));
  if (err == 0) err = HostResult(DescriptorProcs()->PutList(d, key, list.get()));
  return err;
}

// Builds a descriptor with `fill` and plays it.
template <typename Fill>
std::int32_t PlayBuilt(TypeID event, std::int32_t mode, Fill fill) {
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = fill(descriptor.get());
  if (err != 0) return err;
  return PlayDescriptor(event, descriptor.get(), mode);
}

}  // namespace build
