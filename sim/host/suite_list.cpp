// The action list suite: values by 0-based index, in the order put.
#include "action_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("list", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("list", fn)

namespace sim {
namespace {

using host::Boolean;
using host::Descriptor;
using host::Handle;
using host::List;

template <class F>
OSErr On(const char* call, List l, F&& body) {
  return Guard<OSErr>(call, err::kParam, [&]() -> OSErr {
    ListData* data = FindList(l);
    if (!data) return Misuse(call, "unknown list", err::kParam);
    return body(*data);
  });
}

OSErr Put(const char* call, List l, const Value& v) {
  return On(call, l, [&](ListData& data) {
    data.push_back(v);
    return err::kNone;
  });
}

template <class F>
OSErr Get(const char* call, List l, std::uint32_t index, const void* out, std::initializer_list<TypeID> types,
          F&& read) {
  return On(call, l, [&](ListData& data) -> OSErr {
    if (!out) return Misuse(call, "null out pointer", err::kParam);
    if (index >= data.size()) return err::kBadIndex;
    const Value& v = data[index];
    if (!OneOf(v.type, types)) return err::kWrongType;
    return read(v);
  });
}

OSErr Make(List* out) {
  return Guard<OSErr>("List.Make", err::kMemFull, [&]() -> OSErr {
    if (!out) return Misuse("List.Make", "null out pointer", err::kParam);
    *out = NewList();
    return err::kNone;
  });
}
OSErr Free(List l) {
  return Guard<OSErr>("List.Free", err::kParam, [&]() -> OSErr {
    if (!State().lists.Remove(l)) return Misuse("List.Free", "unknown list", err::kParam);
    return err::kNone;
  });
}
OSErr GetType(List l, std::uint32_t index, TypeID* type) {
  return Get("List.GetType", l, index, type,
             {host::kTypeInteger, host::kTypeFloat, host::kTypeUnitFloat, host::kTypeText, host::kTypeBoolean,
              host::kTypeEnumerated, host::kTypeObject, host::kTypeGlobalObject, host::kTypeList,
              host::kTypeReference, host::kTypeClass, host::kTypeGlobalClass, host::kTypeAlias, host::kTypePath,
              host::kTypeRawData, host::kTypeInteger64},
             [&](const Value& v) {
               *type = v.type;
               return err::kNone;
             });
}
OSErr GetCount(List l, std::uint32_t* count) {
  return On("List.GetCount", l, [&](ListData& data) -> OSErr {
    if (!count) return Misuse("List.GetCount", "null out pointer", err::kParam);
    *count = std::uint32_t(data.size());
    return err::kNone;
  });
}

OSErr PutInteger(List l, std::int32_t v) { return Put("List.PutInteger", l, IntValue(v)); }
OSErr PutFloat(List l, double v) { return Put("List.PutFloat", l, FloatValue(v)); }
OSErr PutUnitFloat(List l, TypeID unit, double v) { return Put("List.PutUnitFloat", l, UnitValue(unit, v)); }
OSErr PutString(List l, const char* text) {
  if (!text) return Misuse("List.PutString", "null text", err::kParam);
  return Put("List.PutString", l, TextValue(text));
}
OSErr PutBoolean(List l, Boolean v) { return Put("List.PutBoolean", l, BoolValue(v != 0)); }
OSErr PutList(List l, List value) {
  ListData* items = FindList(value);
  if (!items) return Misuse("List.PutList", "unknown list", err::kParam);
  return Put("List.PutList", l, ListValue(*items));
}
OSErr PutObjectOfType(const char* call, TypeID type, List l, TypeID cls, Descriptor value) {
  DescriptorData* items = FindDescriptor(value);
  if (!items) return Misuse(call, "unknown descriptor", err::kParam);
  Value v = ObjectValue(cls, *items);
  v.type = type;
  return Put(call, l, v);
}
OSErr PutObject(List l, TypeID cls, Descriptor value) {
  return PutObjectOfType("List.PutObject", host::kTypeObject, l, cls, value);
}
OSErr PutGlobalObject(List l, TypeID cls, Descriptor value) {
  return PutObjectOfType("List.PutGlobalObject", host::kTypeGlobalObject, l, cls, value);
}
OSErr PutEnumerated(List l, TypeID type, TypeID value) { return Put("List.PutEnumerated", l, EnumValue(type, value)); }
OSErr PutReference(List l, host::Reference ref) {
  ReferenceData* parts = FindReference(ref);
  if (!parts) return Misuse("List.PutReference", "unknown reference", err::kParam);
  return Put("List.PutReference", l, RefValue(*parts));
}
OSErr PutClass(List l, TypeID cls) { return Put("List.PutClass", l, ClassValue(cls)); }
OSErr PutGlobalClass(List l, TypeID cls) {
  Value v = ClassValue(cls);
  v.type = host::kTypeGlobalClass;
  return Put("List.PutGlobalClass", l, v);
}
OSErr PutAlias(List l, Handle alias) {
  HandleData* h = FindHandle(alias);
  if (!h) return Misuse("List.PutAlias", "unknown handle", err::kParam);
  Value v = PathValue(HandleText(*h));
  v.type = host::kTypeAlias;
  return Put("List.PutAlias", l, v);
}

OSErr GetInteger(List l, std::uint32_t i, std::int32_t* out) {
  return Get("List.GetInteger", l, i, out, {host::kTypeInteger}, [&](const Value& v) {
    *out = std::int32_t(v.integer);
    return err::kNone;
  });
}
OSErr GetFloat(List l, std::uint32_t i, double* out) {
  return Get("List.GetFloat", l, i, out, {host::kTypeFloat}, [&](const Value& v) {
    *out = v.number;
    return err::kNone;
  });
}
OSErr GetUnitFloat(List l, std::uint32_t i, TypeID* unit, double* out) {
  if (!unit) return Misuse("List.GetUnitFloat", "null out pointer", err::kParam);
  return Get("List.GetUnitFloat", l, i, out, {host::kTypeUnitFloat}, [&](const Value& v) {
    *unit = v.unit;
    *out = v.number;
    return err::kNone;
  });
}
OSErr GetStringLength(List l, std::uint32_t i, std::uint32_t* length) {
  return Get("List.GetStringLength", l, i, length, {host::kTypeText}, [&](const Value& v) {
    *length = std::uint32_t(v.text.size());
    return err::kNone;
  });
}
OSErr GetString(List l, std::uint32_t i, char* buffer, std::uint32_t maxLength) {
  return Get("List.GetString", l, i, buffer, {host::kTypeText}, [&](const Value& v) {
    if (maxLength == 0) return Misuse("List.GetString", "zero buffer length", err::kParam);
    CopyText(v.text, buffer, maxLength);
    return err::kNone;
  });
}
OSErr GetBoolean(List l, std::uint32_t i, Boolean* out) {
  return Get("List.GetBoolean", l, i, out, {host::kTypeBoolean}, [&](const Value& v) {
    *out = v.flag ? 1 : 0;
    return err::kNone;
  });
}
OSErr GetList(List l, std::uint32_t i, List* out) {
  return Get("List.GetList", l, i, out, {host::kTypeList}, [&](const Value& v) {
    *out = NewList(v.list);
    return err::kNone;
  });
}
OSErr GetObject(List l, std::uint32_t i, TypeID* cls, Descriptor* out) {
  return Get("List.GetObject", l, i, out, {host::kTypeObject}, [&](const Value& v) { return ReadObject(v, cls, out); });
}
OSErr GetGlobalObject(List l, std::uint32_t i, TypeID* cls, Descriptor* out) {
  return Get("List.GetGlobalObject", l, i, out, {host::kTypeGlobalObject, host::kTypeObject},
             [&](const Value& v) { return ReadObject(v, cls, out); });
}
OSErr GetEnumerated(List l, std::uint32_t i, TypeID* type, TypeID* value) {
  if (!type) return Misuse("List.GetEnumerated", "null out pointer", err::kParam);
  return Get("List.GetEnumerated", l, i, value, {host::kTypeEnumerated}, [&](const Value& v) {
    *type = v.enumType;
    *value = v.enumValue;
    return err::kNone;
  });
}
OSErr GetReference(List l, std::uint32_t i, host::Reference* out) {
  return Get("List.GetReference", l, i, out, {host::kTypeReference}, [&](const Value& v) {
    *out = NewReference(v.ref);
    return err::kNone;
  });
}
OSErr GetClass(List l, std::uint32_t i, TypeID* cls) {
  return Get("List.GetClass", l, i, cls, {host::kTypeClass, host::kTypeGlobalClass}, [&](const Value& v) {
    *cls = v.cls;
    return err::kNone;
  });
}
OSErr GetGlobalClass(List l, std::uint32_t i, TypeID* cls) {
  return Get("List.GetGlobalClass", l, i, cls, {host::kTypeGlobalClass, host::kTypeClass}, [&](const Value& v) {
    *cls = v.cls;
    return err::kNone;
  });
}
OSErr GetAlias(List l, std::uint32_t i, Handle* alias) {
  return Get("List.GetAlias", l, i, alias, {host::kTypeAlias, host::kTypePath},
             [&](const Value& v) { return ReadAlias(v, alias); });
}
OSErr PutIntegers(List l, std::uint32_t count, std::int32_t* values) {
  if (count > 0 && !values) return Misuse("List.PutIntegers", "null values", err::kParam);
  return On("List.PutIntegers", l, [&](ListData& data) {
    for (std::uint32_t i = 0; i < count; ++i) data.push_back(IntValue(values[i]));
    return err::kNone;
  });
}
OSErr GetIntegers(List l, std::uint32_t count, std::int32_t* values) {
  return On("List.GetIntegers", l, [&](ListData& data) -> OSErr {
    if (count > 0 && !values) return Misuse("List.GetIntegers", "null out pointer", err::kParam);
    if (count > data.size()) return err::kBadIndex;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (data[i].type != host::kTypeInteger) return err::kWrongType;
      values[i] = std::int32_t(data[i].integer);
    }
    return err::kNone;
  });
}
OSErr PutData(List l, std::int32_t length, void* bytes) {
  if (length < 0 || (length > 0 && !bytes)) return Misuse("List.PutData", "bad data", err::kParam);
  Value v;
  v.type = host::kTypeRawData;
  v.text.assign(static_cast<const char*>(bytes), size_t(length));
  return Put("List.PutData", l, v);
}
OSErr GetDataLength(List l, std::uint32_t i, std::int32_t* length) {
  return Get("List.GetDataLength", l, i, length, {host::kTypeRawData}, [&](const Value& v) {
    *length = std::int32_t(v.text.size());
    return err::kNone;
  });
}
OSErr GetData(List l, std::uint32_t i, void* buffer) {
  return Get("List.GetData", l, i, buffer, {host::kTypeRawData}, [&](const Value& v) {
    std::memcpy(buffer, v.text.data(), v.text.size());
    return err::kNone;
  });
}
OSErr PutZString(List l, host::ZString z) {
  ZStringData* text = FindZString(z);
  if (!text) return Misuse("List.PutZString", "unknown zstring", err::kParam);
  return Put("List.PutZString", l, TextValue(text->text));
}
OSErr GetZString(List l, std::uint32_t i, host::ZString* out) {
  return Get("List.GetZString", l, i, out, {host::kTypeText}, [&](const Value& v) {
    *out = NewZString(v.text);
    return err::kNone;
  });
}
OSErr PutInteger64(List l, std::int64_t v) {
  Value x = IntValue(v);
  x.type = host::kTypeInteger64;
  return Put("List.PutInteger64", l, x);
}
OSErr GetInteger64(List l, std::uint32_t i, std::int64_t* out) {
  return Get("List.GetInteger64", l, i, out, {host::kTypeInteger64, host::kTypeInteger}, [&](const Value& v) {
    *out = v.integer;
    return err::kNone;
  });
}

const host::ListSuite kSuite = {
    SLOT(Make),          SLOT(Free),          SLOT(GetType),        SLOT(GetCount),      SLOT(PutInteger),     SLOT(PutFloat),
    SLOT(PutUnitFloat),  SLOT(PutString),     SLOT(PutBoolean),     SLOT(PutList),       SLOT(PutObject),      SLOT(PutGlobalObject),
    SLOT(PutEnumerated), SLOT(PutReference),  SLOT(PutClass),       SLOT(PutGlobalClass), SLOT(PutAlias),      SLOT(GetInteger),
    SLOT(GetFloat),      SLOT(GetUnitFloat),  SLOT(GetStringLength), SLOT(GetString),    SLOT(GetBoolean),     SLOT(GetList),
    SLOT(GetObject),     SLOT(GetGlobalObject), SLOT(GetEnumerated), SLOT(GetReference), SLOT(GetClass),       SLOT(GetGlobalClass),
    SLOT(GetAlias),      SLOT(PutIntegers),   SLOT(GetIntegers),    SLOT(PutData),       SLOT(GetDataLength),  SLOT(GetData),
    SLOT(PutZString),    SLOT(GetZString),    SLOT(PutInteger64),   SLOT(GetInteger64),
};

}  // namespace

// Version 2 is offered; version 1 is its prefix.
const void* ListSuiteTable(std::int32_t version) { return version >= 1 && version <= 2 ? &kSuite : nullptr; }

}  // namespace sim
