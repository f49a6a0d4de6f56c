// The action descriptor suite: keyed values in the order put.
#include "action_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("descriptor", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("descriptor", fn)

namespace sim {
namespace {

using host::Boolean;
using host::Descriptor;
using host::Handle;

template <class F>
OSErr On(const char* call, Descriptor d, F&& body) {
  return Guard<OSErr>(call, err::kParam, [&]() -> OSErr {
    DescriptorData* data = FindDescriptor(d);
    if (!data) return Misuse(call, "unknown descriptor", err::kParam);
    return body(*data);
  });
}

OSErr Put(const char* call, Descriptor d, TypeID key, const Value& v) {
  return On(call, d, [&](DescriptorData& data) {
    PutEntry(data, key, v);
    return err::kNone;
  });
}

// Finds `key`, checks the out pointer and the item's type, then reads it.
template <class F>
OSErr Get(const char* call, Descriptor d, TypeID key, const void* out, std::initializer_list<TypeID> types, F&& read) {
  return On(call, d, [&](DescriptorData& data) -> OSErr {
    if (!out) return Misuse(call, "null out pointer", err::kParam);
    const Value* v = FindEntry(data, key);
    if (!v) return err::kNoSuchKey;
    if (!OneOf(v->type, types)) return err::kWrongType;
    return read(*v);
  });
}

OSErr Make(Descriptor* out) {
  return Guard<OSErr>("Descriptor.Make", err::kMemFull, [&]() -> OSErr {
    if (!out) return Misuse("Descriptor.Make", "null out pointer", err::kParam);
    *out = NewDescriptor();
    return err::kNone;
  });
}

OSErr Free(Descriptor d) {
  return Guard<OSErr>("Descriptor.Free", err::kParam, [&]() -> OSErr {
    if (!State().descriptors.Remove(d)) return Misuse("Descriptor.Free", "unknown descriptor", err::kParam);
    return err::kNone;
  });
}

OSErr GetType(Descriptor d, TypeID key, TypeID* type) {
  return On("Descriptor.GetType", d, [&](DescriptorData& data) -> OSErr {
    if (!type) return Misuse("Descriptor.GetType", "null out pointer", err::kParam);
    const Value* v = FindEntry(data, key);
    if (!v) return err::kNoSuchKey;
    *type = v->type;
    return err::kNone;
  });
}

OSErr GetKey(Descriptor d, std::uint32_t index, TypeID* key) {
  return On("Descriptor.GetKey", d, [&](DescriptorData& data) -> OSErr {
    if (!key) return Misuse("Descriptor.GetKey", "null out pointer", err::kParam);
    if (index >= data.size()) return err::kBadIndex;
    *key = data[index].key;
    return err::kNone;
  });
}

OSErr HasKey(Descriptor d, TypeID key, Boolean* has) {
  return On("Descriptor.HasKey", d, [&](DescriptorData& data) -> OSErr {
    if (!has) return Misuse("Descriptor.HasKey", "null out pointer", err::kParam);
    *has = FindEntry(data, key) != nullptr;
    return err::kNone;
  });
}

OSErr GetCount(Descriptor d, std::uint32_t* count) {
  return On("Descriptor.GetCount", d, [&](DescriptorData& data) -> OSErr {
    if (!count) return Misuse("Descriptor.GetCount", "null out pointer", err::kParam);
    *count = std::uint32_t(data.size());
    return err::kNone;
  });
}

OSErr IsEqual(Descriptor d, Descriptor other, Boolean* equal) {
  return On("Descriptor.IsEqual", d, [&](DescriptorData& data) -> OSErr {
    DescriptorData* second = FindDescriptor(other);
    if (!second) return Misuse("Descriptor.IsEqual", "unknown descriptor", err::kParam);
    if (!equal) return Misuse("Descriptor.IsEqual", "null out pointer", err::kParam);
    *equal = DescriptorToJson(data) == DescriptorToJson(*second);
    return err::kNone;
  });
}

OSErr Erase(Descriptor d, TypeID key) {
  return On("Descriptor.Erase", d, [&](DescriptorData& data) -> OSErr {
    for (auto it = data.begin(); it != data.end(); ++it)
      if (it->key == key) {
        data.erase(it);
        return err::kNone;
      }
    return err::kNoSuchKey;
  });
}

OSErr Clear(Descriptor d) {
  return On("Descriptor.Clear", d, [&](DescriptorData& data) {
    data.clear();
    return err::kNone;
  });
}

OSErr PutInteger(Descriptor d, TypeID key, std::int32_t v) { return Put("Descriptor.PutInteger", d, key, IntValue(v)); }
OSErr PutFloat(Descriptor d, TypeID key, double v) { return Put("Descriptor.PutFloat", d, key, FloatValue(v)); }
OSErr PutUnitFloat(Descriptor d, TypeID key, TypeID unit, double v) {
  return Put("Descriptor.PutUnitFloat", d, key, UnitValue(unit, v));
}
OSErr PutString(Descriptor d, TypeID key, const char* text) {
  if (!text) return Misuse("Descriptor.PutString", "null text", err::kParam);
  return Put("Descriptor.PutString", d, key, TextValue(text));
}
OSErr PutBoolean(Descriptor d, TypeID key, Boolean v) { return Put("Descriptor.PutBoolean", d, key, BoolValue(v != 0)); }

OSErr PutList(Descriptor d, TypeID key, host::List list) {
  ListData* items = FindList(list);
  if (!items) return Misuse("Descriptor.PutList", "unknown list", err::kParam);
  return Put("Descriptor.PutList", d, key, ListValue(*items));
}

OSErr PutObjectOfType(const char* call, TypeID type, Descriptor d, TypeID key, TypeID cls, Descriptor value) {
  DescriptorData* items = FindDescriptor(value);
  if (!items) return Misuse(call, "unknown descriptor", err::kParam);
  Value v = ObjectValue(cls, *items);
  v.type = type;
  return Put(call, d, key, v);
}
OSErr PutObject(Descriptor d, TypeID key, TypeID cls, Descriptor value) {
  return PutObjectOfType("Descriptor.PutObject", host::kTypeObject, d, key, cls, value);
}
OSErr PutGlobalObject(Descriptor d, TypeID key, TypeID cls, Descriptor value) {
  return PutObjectOfType("Descriptor.PutGlobalObject", host::kTypeGlobalObject, d, key, cls, value);
}
OSErr PutEnumerated(Descriptor d, TypeID key, TypeID type, TypeID value) {
  return Put("Descriptor.PutEnumerated", d, key, EnumValue(type, value));
}
OSErr PutReference(Descriptor d, TypeID key, host::Reference ref) {
  ReferenceData* parts = FindReference(ref);
  if (!parts) return Misuse("Descriptor.PutReference", "unknown reference", err::kParam);
  return Put("Descriptor.PutReference", d, key, RefValue(*parts));
}
OSErr PutClass(Descriptor d, TypeID key, TypeID cls) { return Put("Descriptor.PutClass", d, key, ClassValue(cls)); }
OSErr PutGlobalClass(Descriptor d, TypeID key, TypeID cls) {
  Value v = ClassValue(cls);
  v.type = host::kTypeGlobalClass;
  return Put("Descriptor.PutGlobalClass", d, key, v);
}
OSErr PutAlias(Descriptor d, TypeID key, Handle alias) {
  HandleData* h = FindHandle(alias);
  if (!h) return Misuse("Descriptor.PutAlias", "unknown handle", err::kParam);
  Value v = PathValue(HandleText(*h));
  v.type = host::kTypeAlias;
  return Put("Descriptor.PutAlias", d, key, v);
}

OSErr GetInteger(Descriptor d, TypeID key, std::int32_t* out) {
  return Get("Descriptor.GetInteger", d, key, out, {host::kTypeInteger}, [&](const Value& v) {
    *out = std::int32_t(v.integer);
    return err::kNone;
  });
}
OSErr GetFloat(Descriptor d, TypeID key, double* out) {
  return Get("Descriptor.GetFloat", d, key, out, {host::kTypeFloat}, [&](const Value& v) {
    *out = v.number;
    return err::kNone;
  });
}
OSErr GetUnitFloat(Descriptor d, TypeID key, TypeID* unit, double* out) {
  if (!unit) return Misuse("Descriptor.GetUnitFloat", "null out pointer", err::kParam);
  return Get("Descriptor.GetUnitFloat", d, key, out, {host::kTypeUnitFloat}, [&](const Value& v) {
    *unit = v.unit;
    *out = v.number;
    return err::kNone;
  });
}
OSErr GetStringLength(Descriptor d, TypeID key, std::uint32_t* length) {
  return Get("Descriptor.GetStringLength", d, key, length, {host::kTypeText}, [&](const Value& v) {
    *length = std::uint32_t(v.text.size());
    return err::kNone;
  });
}
OSErr GetString(Descriptor d, TypeID key, char* buffer, std::uint32_t maxLength) {
  return Get("Descriptor.GetString", d, key, buffer, {host::kTypeText}, [&](const Value& v) {
    if (maxLength == 0) return Misuse("Descriptor.GetString", "zero buffer length", err::kParam);
    CopyText(v.text, buffer, maxLength);
    return err::kNone;
  });
}
OSErr GetBoolean(Descriptor d, TypeID key, Boolean* out) {
  return Get("Descriptor.GetBoolean", d, key, out, {host::kTypeBoolean}, [&](const Value& v) {
    *out = v.flag ? 1 : 0;
    return err::kNone;
  });
}
OSErr GetList(Descriptor d, TypeID key, host::List* out) {
  return Get("Descriptor.GetList", d, key, out, {host::kTypeList}, [&](const Value& v) {
    *out = NewList(v.list);
    return err::kNone;
  });
}
OSErr GetObject(Descriptor d, TypeID key, TypeID* cls, Descriptor* out) {
  return Get("Descriptor.GetObject", d, key, out, {host::kTypeObject},
             [&](const Value& v) { return ReadObject(v, cls, out); });
}
OSErr GetGlobalObject(Descriptor d, TypeID key, TypeID* cls, Descriptor* out) {
  return Get("Descriptor.GetGlobalObject", d, key, out, {host::kTypeGlobalObject, host::kTypeObject},
             [&](const Value& v) { return ReadObject(v, cls, out); });
}
OSErr GetEnumerated(Descriptor d, TypeID key, TypeID* type, TypeID* value) {
  if (!type) return Misuse("Descriptor.GetEnumerated", "null out pointer", err::kParam);
  return Get("Descriptor.GetEnumerated", d, key, value, {host::kTypeEnumerated}, [&](const Value& v) {
    *type = v.enumType;
    *value = v.enumValue;
    return err::kNone;
  });
}
OSErr GetReference(Descriptor d, TypeID key, host::Reference* out) {
  return Get("Descriptor.GetReference", d, key, out, {host::kTypeReference}, [&](const Value& v) {
    *out = NewReference(v.ref);
    return err::kNone;
  });
}
OSErr GetClass(Descriptor d, TypeID key, TypeID* cls) {
  return Get("Descriptor.GetClass", d, key, cls, {host::kTypeClass, host::kTypeGlobalClass}, [&](const Value& v) {
    *cls = v.cls;
    return err::kNone;
  });
}
OSErr GetGlobalClass(Descriptor d, TypeID key, TypeID* cls) {
  return Get("Descriptor.GetGlobalClass", d, key, cls, {host::kTypeGlobalClass, host::kTypeClass},
             [&](const Value& v) {
               *cls = v.cls;
               return err::kNone;
             });
}
OSErr GetAlias(Descriptor d, TypeID key, Handle* alias) {
  return Get("Descriptor.GetAlias", d, key, alias, {host::kTypeAlias, host::kTypePath},
             [&](const Value& v) { return ReadAlias(v, alias); });
}

OSErr HasKeys(Descriptor d, TypeID* keys, Boolean* has) {
  return On("Descriptor.HasKeys", d, [&](DescriptorData& data) -> OSErr {
    if (!keys || !has) return Misuse("Descriptor.HasKeys", "null pointer", err::kParam);
    *has = 1;
    for (const TypeID* k = keys; *k != 0; ++k)
      if (!FindEntry(data, *k)) *has = 0;
    return err::kNone;
  });
}

OSErr PutIntegers(Descriptor d, TypeID key, std::uint32_t count, std::int32_t* values) {
  if (count > 0 && !values) return Misuse("Descriptor.PutIntegers", "null values", err::kParam);
  ListData items;
  for (std::uint32_t i = 0; i < count; ++i) items.push_back(IntValue(values[i]));
  return Put("Descriptor.PutIntegers", d, key, ListValue(std::move(items)));
}
OSErr GetIntegers(Descriptor d, TypeID key, std::uint32_t count, std::int32_t* values) {
  return Get("Descriptor.GetIntegers", d, key, values, {host::kTypeList}, [&](const Value& v) -> OSErr {
    if (count > v.list.size()) return err::kBadIndex;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (v.list[i].type != host::kTypeInteger) return err::kWrongType;
      values[i] = std::int32_t(v.list[i].integer);
    }
    return err::kNone;
  });
}

// A flattened descriptor is its transcript form as text.
OSErr AsHandle(Descriptor d, Handle* out) {
  return On("Descriptor.AsHandle", d, [&](DescriptorData& data) -> OSErr {
    if (!out) return Misuse("Descriptor.AsHandle", "null out pointer", err::kParam);
    *out = NewTextHandle(ToText(DescriptorToJson(data)));
    return *out ? err::kNone : err::kMemFull;
  });
}
OSErr HandleToDescriptor(Handle h, Descriptor* out) {
  return Guard<OSErr>("Descriptor.HandleToDescriptor", err::kParam, [&]() -> OSErr {
    HandleData* data = FindHandle(h);
    if (!data) return Misuse("Descriptor.HandleToDescriptor", "unknown handle", err::kParam);
    if (!out) return Misuse("Descriptor.HandleToDescriptor", "null out pointer", err::kParam);
    *out = NewDescriptor(DescriptorFromJson(Json::parse(HandleText(*data))));
    return err::kNone;
  });
}

OSErr PutZString(Descriptor d, TypeID key, host::ZString z) {
  ZStringData* text = FindZString(z);
  if (!text) return Misuse("Descriptor.PutZString", "unknown zstring", err::kParam);
  return Put("Descriptor.PutZString", d, key, TextValue(text->text));
}
OSErr GetZString(Descriptor d, TypeID key, host::ZString* out) {
  return Get("Descriptor.GetZString", d, key, out, {host::kTypeText}, [&](const Value& v) {
    *out = NewZString(v.text);
    return err::kNone;
  });
}

OSErr PutData(Descriptor d, TypeID key, std::int32_t length, void* bytes) {
  if (length < 0 || (length > 0 && !bytes)) return Misuse("Descriptor.PutData", "bad data", err::kParam);
  Value v;
  v.type = host::kTypeRawData;
  v.text.assign(static_cast<const char*>(bytes), size_t(length));
  return Put("Descriptor.PutData", d, key, v);
}
OSErr GetDataLength(Descriptor d, TypeID key, std::int32_t* length) {
  return Get("Descriptor.GetDataLength", d, key, length, {host::kTypeRawData}, [&](const Value& v) {
    *length = std::int32_t(v.text.size());
    return err::kNone;
  });
}
OSErr GetData(Descriptor d, TypeID key, void* buffer) {
  return Get("Descriptor.GetData", d, key, buffer, {host::kTypeRawData}, [&](const Value& v) {
    std::memcpy(buffer, v.text.data(), v.text.size());
    return err::kNone;
  });
}

OSErr PutInteger64(Descriptor d, TypeID key, std::int64_t v) {
  Value x = IntValue(v);
  x.type = host::kTypeInteger64;
  return Put("Descriptor.PutInteger64", d, key, x);
}
OSErr GetInteger64(Descriptor d, TypeID key, std::int64_t* out) {
  return Get("Descriptor.GetInteger64", d, key, out, {host::kTypeInteger64, host::kTypeInteger}, [&](const Value& v) {
    *out = v.integer;
    return err::kNone;
  });
}

const host::DescriptorSuite kSuite = {
    SLOT(Make),          SLOT(Free),           SLOT(GetType),         SLOT(GetKey),         SLOT(HasKey),          SLOT(GetCount),
    SLOT(IsEqual),       SLOT(Erase),          SLOT(Clear),           SLOT(PutInteger),     SLOT(PutFloat),        SLOT(PutUnitFloat),
    SLOT(PutString),     SLOT(PutBoolean),     SLOT(PutList),         SLOT(PutObject),      SLOT(PutGlobalObject), SLOT(PutEnumerated),
    SLOT(PutReference),  SLOT(PutClass),       SLOT(PutGlobalClass),  SLOT(PutAlias),       SLOT(GetInteger),      SLOT(GetFloat),
    SLOT(GetUnitFloat),  SLOT(GetStringLength), SLOT(GetString),      SLOT(GetBoolean),     SLOT(GetList),         SLOT(GetObject),
    SLOT(GetGlobalObject), SLOT(GetEnumerated), SLOT(GetReference),   SLOT(GetClass),       SLOT(GetGlobalClass),  SLOT(GetAlias),
    SLOT(HasKeys),       SLOT(PutIntegers),    SLOT(GetIntegers),     SLOT(AsHandle),       SLOT(HandleToDescriptor), SLOT(PutZString),
    SLOT(GetZString),    SLOT(PutData),        SLOT(GetDataLength),   SLOT(GetData),        SLOT(PutInteger64),    SLOT(GetInteger64),
};

}  // namespace

// Version 3 is offered; version 2 (and 1, which no host knows) is its prefix.
const void* DescriptorSuiteTable(std::int32_t version) { return version >= 1 && version <= 3 ? &kSuite : nullptr; }

}  // namespace sim
