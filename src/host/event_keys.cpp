#include "host/event_keys.h"

#include "host/event_player.h"
#include "host/host_objects.h"

namespace event_keys {

RefPart Property(std::string_view cls, std::string_view key) { return {RefPart::Form::Property, cls, key, {}, {}}; }
RefPart EnumPart(std::string_view cls, std::string_view type, std::string_view value) {
  return {RefPart::Form::Enumerated, cls, type, value, {}};
}
RefPart TargetOf(std::string_view cls) { return EnumPart(cls, "Ordn", "Trgt"); }
RefPart ClassPart(std::string_view cls) { return {RefPart::Form::Class, cls, {}, {}, {}}; }
RefPart NamePart(std::string_view cls, std::string name) { return {RefPart::Form::Name, cls, {}, {}, std::move(name)}; }
RefPart IndexPart(std::string_view cls, std::uint32_t index) { return {RefPart::Form::Index, cls, {}, {}, {}, index}; }

namespace {
EventKey KeyOf(EventKey::Kind kind, std::string_view key) {
  EventKey k{};
  k.kind = kind;
  k.key = key;
  return k;
}
}  // namespace

EventKey Ref(std::string_view key, std::vector<RefPart> parts) {
  EventKey k = KeyOf(EventKey::Kind::Reference, key);
  k.parts = std::move(parts);
  return k;
}
EventKey Enumerated(std::string_view key, std::string_view type, std::string_view value) {
  EventKey k = KeyOf(EventKey::Kind::Enumerated, key);
  k.a = type;
  k.b = value;
  return k;
}
EventKey Boolean(std::string_view key, bool value) {
  EventKey k = KeyOf(EventKey::Kind::Boolean, key);
  k.flag = value;
  return k;
}
EventKey Integer(std::string_view key, std::int32_t value) {
  EventKey k = KeyOf(EventKey::Kind::Integer, key);
  k.integer = value;
  return k;
}
EventKey Float(std::string_view key, double value) {
  EventKey k = KeyOf(EventKey::Kind::Float, key);
  k.number = value;
  return k;
}
EventKey UnitFloat(std::string_view key, std::string_view unit, double value) {
  EventKey k = KeyOf(EventKey::Kind::UnitFloat, key);
  k.a = unit;
  k.number = value;
  return k;
}
EventKey Text(std::string_view key, std::string text) {
  EventKey k = KeyOf(EventKey::Kind::Text, key);
  k.text = std::move(text);
  return k;
}
EventKey ClassKey(std::string_view key, std::string_view cls) {
  EventKey k = KeyOf(EventKey::Kind::Class, key);
  k.a = cls;
  return k;
}
EventKey Object(std::string_view key, std::string_view cls, std::vector<EventKey> items) {
  EventKey k = KeyOf(EventKey::Kind::Object, key);
  k.a = cls;
  k.items = std::move(items);
  return k;
}
EventKey Alias(std::string_view key, std::string path) {
  EventKey k = KeyOf(EventKey::Kind::Alias, key);
  k.text = std::move(path);
  return k;
}

TypeID IdentifierOf(std::string_view text) {
  if (const TypeID code = CodeOfIdentifier(text); code != 0) return code;
  if (!text.empty() && text[0] == '~') text.remove_prefix(1);
  if (text.empty()) return 0;
  return StringToTypeID(std::string(text).c_str());
}

namespace {

// Every identifier a key list names, converted; false when one is unknown.
bool Resolve(std::string_view text, TypeID* out) {
  *out = IdentifierOf(text);
  return *out != 0;
}

std::int32_t PutPart(host::Reference r, const RefPart& part) {
  const host::ReferenceSuite* refs = ReferenceProcs();
  TypeID cls = 0, type = 0, value = 0;
  if (!Resolve(part.cls, &cls)) return host::kBadParameterError;
  switch (part.form) {
    case RefPart::Form::Property:
      if (!Resolve(part.type, &type)) return host::kBadParameterError;
      return HostResult(refs->PutProperty(r, cls, type));
    case RefPart::Form::Enumerated:
      if (!Resolve(part.type, &type) || !Resolve(part.value, &value)) return host::kBadParameterError;
      return HostResult(refs->PutEnumerated(r, cls, type, value));
    case RefPart::Form::Class:
      return HostResult(refs->PutClass(r, cls));
    case RefPart::Form::Name:
      return HostResult(refs->PutName(r, cls, part.name.c_str()));
    case RefPart::Form::Index:
      return HostResult(refs->PutIndex(r, cls, part.index));
  }
  return host::kBadParameterError;
}

// The handles of the aliases put into a descriptor, kept until its play.
using AliasHandles = std::vector<HandleHolder>;

std::int32_t PutKeys(host::Descriptor d, const std::vector<EventKey>& keys, AliasHandles& aliases);

std::int32_t PutKey(host::Descriptor d, const EventKey& k, AliasHandles& aliases) {
  const host::DescriptorSuite* ds = DescriptorProcs();
  TypeID key = 0, a = 0, b = 0;
  if (!Resolve(k.key, &key)) return host::kBadParameterError;
  switch (k.kind) {
    case EventKey::Kind::Reference: {
      ReferenceHolder reference;
      std::int32_t err = MakeReference(reference);
      for (const RefPart& part : k.parts)
        if (err == 0) err = PutPart(reference.get(), part);
      if (err == 0) err = HostResult(ds->PutReference(d, key, reference.get()));
      return err;
    }
    case EventKey::Kind::Enumerated:
      // An empty value is the value 0, which leaves the host's own in place.
      if (!Resolve(k.a, &a) || (!k.b.empty() && !Resolve(k.b, &b))) return host::kBadParameterError;
      return HostResult(ds->PutEnumerated(d, key, a, b));
    case EventKey::Kind::Boolean:
      return HostResult(ds->PutBoolean(d, key, k.flag ? 1 : 0));
    case EventKey::Kind::Integer:
      return HostResult(ds->PutInteger(d, key, k.integer));
    case EventKey::Kind::Float:
      return HostResult(ds->PutFloat(d, key, k.number));
    case EventKey::Kind::UnitFloat:
      if (!Resolve(k.a, &a)) return host::kBadParameterError;
      return HostResult(ds->PutUnitFloat(d, key, a, k.number));
    case EventKey::Kind::Text:
      return HostResult(ds->PutString(d, key, k.text.c_str()));
    case EventKey::Kind::Class:
      if (!Resolve(k.a, &a)) return host::kBadParameterError;
      return HostResult(ds->PutClass(d, key, a));
    case EventKey::Kind::Object: {
      if (!Resolve(k.a, &a)) return host::kBadParameterError;
      DescriptorHolder object;
      std::int32_t err = MakeDescriptor(object);
      if (err == 0) err = PutKeys(object.get(), k.items, aliases);
      if (err == 0) err = HostResult(ds->PutObject(d, key, a, object.get()));
      return err;
    }
    case EventKey::Kind::Alias: {
      HandleHolder alias;
      std::int32_t err = MakeTextHandle(k.text.c_str(), alias.out());
      if (err == 0) err = HostResult(ds->PutAlias(d, key, alias.get()));
      aliases.push_back(std::move(alias));
      return err;
    }
  }
  return host::kBadParameterError;
}

std::int32_t PutKeys(host::Descriptor d, const std::vector<EventKey>& keys, AliasHandles& aliases) {
  for (const EventKey& k : keys)
    if (const std::int32_t err = PutKey(d, k, aliases); err != 0) return err;
  return 0;
}

}  // namespace

std::int32_t PlayKeys(std::string_view eventName, std::int32_t mode, const std::vector<EventKey>& keys) {
  const TypeID event = IdentifierOf(eventName);
  if (event == 0) return host::kBadParameterError;
  if (keys.empty()) return PlayDescriptor(event, nullptr, mode);
  AliasHandles aliases;   // disposed of after the descriptor
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = PutKeys(descriptor.get(), keys, aliases);
  if (err != 0) return err;
  return PlayDescriptor(event, descriptor.get(), mode);
}

}  // namespace event_keys
