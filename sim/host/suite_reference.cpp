// The action reference suite: parts in the order put; the first part is the
// object addressed, the following ones its containers.
#include "action_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("reference", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("reference", fn)

namespace sim {
namespace {

using host::Reference;

template <class F>
OSErr On(const char* call, Reference r, F&& body) {
  return Guard<OSErr>(call, err::kParam, [&]() -> OSErr {
    ReferenceData* data = FindReference(r);
    if (!data) return Misuse(call, "unknown reference", err::kParam);
    return body(*data);
  });
}

OSErr Put(const char* call, Reference r, RefPart part) {
  return On(call, r, [&](ReferenceData& data) {
    data.push_back(std::move(part));
    return err::kNone;
  });
}

// Reads the first part when it has the wanted form.
template <class F>
OSErr Get(const char* call, Reference r, const void* out, TypeID form, F&& read) {
  return On(call, r, [&](ReferenceData& data) -> OSErr {
    if (!out) return Misuse(call, "null out pointer", err::kParam);
    if (data.empty()) return err::kNoSuchKey;
    if (form != 0 && data[0].form != form) return err::kWrongType;
    return read(data[0]);
  });
}

RefPart Part(TypeID cls, TypeID form) {
  RefPart p;
  p.cls = cls;
  p.form = form;
  return p;
}

OSErr Make(Reference* out) {
  return Guard<OSErr>("Reference.Make", err::kMemFull, [&]() -> OSErr {
    if (!out) return Misuse("Reference.Make", "null out pointer", err::kParam);
    *out = NewReference();
    return err::kNone;
  });
}
OSErr Free(Reference r) {
  return Guard<OSErr>("Reference.Free", err::kParam, [&]() -> OSErr {
    if (!State().references.Remove(r)) return Misuse("Reference.Free", "unknown reference", err::kParam);
    return err::kNone;
  });
}
OSErr GetForm(Reference r, TypeID* form) {
  return Get("Reference.GetForm", r, form, 0, [&](const RefPart& p) {
    *form = p.form;
    return err::kNone;
  });
}
OSErr GetDesiredClass(Reference r, TypeID* cls) {
  return Get("Reference.GetDesiredClass", r, cls, 0, [&](const RefPart& p) {
    *cls = p.cls;
    return err::kNone;
  });
}
OSErr PutName(Reference r, TypeID cls, const char* name) {
  if (!name) return Misuse("Reference.PutName", "null name", err::kParam);
  RefPart p = Part(cls, host::kFormName);
  p.name = name;
  return Put("Reference.PutName", r, p);
}
OSErr PutIndex(Reference r, TypeID cls, std::uint32_t index) {
  RefPart p = Part(cls, host::kFormIndex);
  p.number = index;
  return Put("Reference.PutIndex", r, p);
}
OSErr PutIdentifier(Reference r, TypeID cls, std::uint32_t identifier) {
  RefPart p = Part(cls, host::kFormIdentifier);
  p.number = identifier;
  return Put("Reference.PutIdentifier", r, p);
}
OSErr PutOffset(Reference r, TypeID cls, std::int32_t offset) {
  RefPart p = Part(cls, host::kFormOffset);
  p.number = offset;
  return Put("Reference.PutOffset", r, p);
}
OSErr PutEnumerated(Reference r, TypeID cls, TypeID type, TypeID value) {
  RefPart p = Part(cls, host::kFormEnumerated);
  p.enumType = type;
  p.enumValue = value;
  return Put("Reference.PutEnumerated", r, p);
}
OSErr PutProperty(Reference r, TypeID cls, TypeID key) {
  RefPart p = Part(cls, host::kFormProperty);
  p.property = key;
  return Put("Reference.PutProperty", r, p);
}
OSErr PutClass(Reference r, TypeID cls) { return Put("Reference.PutClass", r, Part(cls, host::kFormClass)); }
OSErr GetNameLength(Reference r, std::uint32_t* length) {
  return Get("Reference.GetNameLength", r, length, host::kFormName, [&](const RefPart& p) {
    *length = std::uint32_t(p.name.size());
    return err::kNone;
  });
}
OSErr GetName(Reference r, char* buffer, std::uint32_t maxLength) {
  return Get("Reference.GetName", r, buffer, host::kFormName, [&](const RefPart& p) {
    if (maxLength == 0) return Misuse("Reference.GetName", "zero buffer length", err::kParam);
    CopyText(p.name, buffer, maxLength);
    return err::kNone;
  });
}
OSErr GetIndex(Reference r, std::uint32_t* index) {
  return Get("Reference.GetIndex", r, index, host::kFormIndex, [&](const RefPart& p) {
    *index = std::uint32_t(p.number);
    return err::kNone;
  });
}
OSErr GetIdentifier(Reference r, std::uint32_t* identifier) {
  return Get("Reference.GetIdentifier", r, identifier, host::kFormIdentifier, [&](const RefPart& p) {
    *identifier = std::uint32_t(p.number);
    return err::kNone;
  });
}
OSErr GetOffset(Reference r, std::int32_t* offset) {
  return Get("Reference.GetOffset", r, offset, host::kFormOffset, [&](const RefPart& p) {
    *offset = std::int32_t(p.number);
    return err::kNone;
  });
}
OSErr GetEnumerated(Reference r, TypeID* type, TypeID* value) {
  if (!type) return Misuse("Reference.GetEnumerated", "null out pointer", err::kParam);
  return Get("Reference.GetEnumerated", r, value, host::kFormEnumerated, [&](const RefPart& p) {
    *type = p.enumType;
    *value = p.enumValue;
    return err::kNone;
  });
}
OSErr GetProperty(Reference r, TypeID* key) {
  return Get("Reference.GetProperty", r, key, host::kFormProperty, [&](const RefPart& p) {
    *key = p.property;
    return err::kNone;
  });
}
OSErr GetContainer(Reference r, Reference* container) {
  return On("Reference.GetContainer", r, [&](ReferenceData& data) -> OSErr {
    if (!container) return Misuse("Reference.GetContainer", "null out pointer", err::kParam);
    *container = nullptr;
    if (data.size() < 2) return err::kNoSuchObject;
    *container = NewReference(ReferenceData(data.begin() + 1, data.end()));
    return err::kNone;
  });
}
OSErr PutNameZString(Reference r, TypeID cls, host::ZString name) {
  ZStringData* text = FindZString(name);
  if (!text) return Misuse("Reference.PutNameZString", "unknown zstring", err::kParam);
  RefPart p = Part(cls, host::kFormName);
  p.name = text->text;
  return Put("Reference.PutNameZString", r, p);
}
OSErr GetNameZString(Reference r, host::ZString* name) {
  return Get("Reference.GetNameZString", r, name, host::kFormName, [&](const RefPart& p) {
    *name = NewZString(p.name);
    return err::kNone;
  });
}

const host::ReferenceSuite kSuite = {
    SLOT(Make),           SLOT(Free),          SLOT(GetForm),       SLOT(GetDesiredClass), SLOT(PutName),      SLOT(PutIndex),      SLOT(PutIdentifier),
    SLOT(PutOffset),      SLOT(PutEnumerated), SLOT(PutProperty),   SLOT(PutClass),        SLOT(GetNameLength), SLOT(GetName),      SLOT(GetIndex),
    SLOT(GetIdentifier),  SLOT(GetOffset),     SLOT(GetEnumerated), SLOT(GetProperty),     SLOT(GetContainer), SLOT(PutNameZString), SLOT(GetNameZString),
};

}  // namespace

// Version 3 is offered; versions 2 and 1 are its prefix.
const void* ReferenceSuiteTable(std::int32_t version) { return version >= 1 && version <= 3 ? &kSuite : nullptr; }

}  // namespace sim
