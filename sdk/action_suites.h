// The action descriptor, control, reference and list suites. Slot order,
// argument widths and the cdecl convention follow the host exactly: every
// slot occupies its place even when the plug-in never calls it. Slots whose
// host names clash with <windows.h> macros (GetObject) carry our own names.
#pragma once

#include "host_types.h"

namespace host {

extern "C" {

using EventNotifier = void (*)(TypeID event, Descriptor descriptor, std::int32_t recordOptions,
                               void* data);
using SuspendProc = SPErr (*)(void* data);
using CommandNotifier = void (*)(std::uint32_t command, OSErr result, TypeID event,
                                 Descriptor descriptor, std::int32_t recordOptions, void* data);

struct DescriptorSuite {
  OSErr (*Make)(Descriptor* out);                                                     // 1
  OSErr (*Free)(Descriptor d);                                                        // 2
  OSErr (*GetType)(Descriptor d, TypeID key, TypeID* type);                           // 3
  OSErr (*GetKey)(Descriptor d, std::uint32_t index, TypeID* key);                    // 4
  OSErr (*HasKey)(Descriptor d, TypeID key, Boolean* has);                            // 5
  OSErr (*GetCount)(Descriptor d, std::uint32_t* count);                              // 6
  OSErr (*IsEqual)(Descriptor d, Descriptor other, Boolean* equal);                   // 7
  OSErr (*Erase)(Descriptor d, TypeID key);                                           // 8
  OSErr (*Clear)(Descriptor d);                                                       // 9
  OSErr (*PutInteger)(Descriptor d, TypeID key, std::int32_t value);                  // 10
  OSErr (*PutFloat)(Descriptor d, TypeID key, double value);                          // 11
  OSErr (*PutUnitFloat)(Descriptor d, TypeID key, TypeID unit, double value);         // 12
  OSErr (*PutString)(Descriptor d, TypeID key, const char* text);                     // 13
  OSErr (*PutBoolean)(Descriptor d, TypeID key, Boolean value);                       // 14
  OSErr (*PutList)(Descriptor d, TypeID key, List value);                             // 15
  OSErr (*PutObject)(Descriptor d, TypeID key, TypeID cls, Descriptor value);         // 16
  OSErr (*PutGlobalObject)(Descriptor d, TypeID key, TypeID cls, Descriptor value);   // 17
  OSErr (*PutEnumerated)(Descriptor d, TypeID key, TypeID type, TypeID value);        // 18
  OSErr (*PutReference)(Descriptor d, TypeID key, Reference value);                   // 19
  OSErr (*PutClass)(Descriptor d, TypeID key, TypeID cls);                            // 20
  OSErr (*PutGlobalClass)(Descriptor d, TypeID key, TypeID cls);                      // 21
  OSErr (*PutAlias)(Descriptor d, TypeID key, Handle alias);                          // 22
  OSErr (*GetInteger)(Descriptor d, TypeID key, std::int32_t* value);                 // 23
  OSErr (*GetFloat)(Descriptor d, TypeID key, double* value);                         // 24
  OSErr (*GetUnitFloat)(Descriptor d, TypeID key, TypeID* unit, double* value);       // 25
  OSErr (*GetStringLength)(Descriptor d, TypeID key, std::uint32_t* length);          // 26
  OSErr (*GetString)(Descriptor d, TypeID key, char* buffer, std::uint32_t maxLength);  // 27
  OSErr (*GetBoolean)(Descriptor d, TypeID key, Boolean* value);                      // 28
  OSErr (*GetList)(Descriptor d, TypeID key, List* value);                            // 29
  OSErr (*GetObjectValue)(Descriptor d, TypeID key, TypeID* cls, Descriptor* value);       // 30
  OSErr (*GetGlobalObject)(Descriptor d, TypeID key, TypeID* cls, Descriptor* value);  // 31
  OSErr (*GetEnumerated)(Descriptor d, TypeID key, TypeID* type, TypeID* value);      // 32
  OSErr (*GetReference)(Descriptor d, TypeID key, Reference* value);                  // 33
  OSErr (*GetClass)(Descriptor d, TypeID key, TypeID* cls);                           // 34
  OSErr (*GetGlobalClass)(Descriptor d, TypeID key, TypeID* cls);                     // 35
  OSErr (*GetAlias)(Descriptor d, TypeID key, Handle* alias);                         // 36
  OSErr (*HasKeys)(Descriptor d, TypeID* keys, Boolean* has);                         // 37
  OSErr (*PutIntegers)(Descriptor d, TypeID key, std::uint32_t count, std::int32_t* values);  // 38
  OSErr (*GetIntegers)(Descriptor d, TypeID key, std::uint32_t count, std::int32_t* values);  // 39
  OSErr (*AsHandle)(Descriptor d, Handle* out);                                       // 40
  OSErr (*HandleToDescriptor)(Handle h, Descriptor* out);                             // 41
  OSErr (*PutZString)(Descriptor d, TypeID key, ZString value);                       // 42
  OSErr (*GetZString)(Descriptor d, TypeID key, ZString* value);                      // 43
  OSErr (*PutData)(Descriptor d, TypeID key, std::int32_t length, void* bytes);       // 44
  OSErr (*GetDataLength)(Descriptor d, TypeID key, std::int32_t* length);             // 45
  OSErr (*GetData)(Descriptor d, TypeID key, void* buffer);                           // 46
  OSErr (*PutInteger64)(Descriptor d, TypeID key, std::int64_t value);                // 47 (v3)
  OSErr (*GetInteger64)(Descriptor d, TypeID key, std::int64_t* value);               // 48 (v3)
};

struct ControlSuite {
  OSErr (*Play)(Descriptor* result, TypeID event, Descriptor params, std::int32_t dialogMode);  // 1
  OSErr (*Get)(Descriptor* result, Reference reference);                               // 2
  OSErr (*StringIDToTypeID)(const char* stringID, TypeID* typeID);                     // 3
  OSErr (*TypeIDToStringID)(TypeID typeID, char* buffer, std::uint32_t bufferLength);  // 4
  OSErr (*AddNotify)(PluginRef self, TypeID event, EventNotifier notifier, void* data);  // 5
  OSErr (*RemoveNotify)(PluginRef self, TypeID event);                                 // 6
  // Not confirmed which of slots 7 and 8 a strictly version-2 host has; every
  // supported host has SuspendHistory in slot 7.
  OSErr (*SuspendHistory)(Reference document, SuspendProc proc, void* data, ZString name);  // 7
  OSErr (*MakeStringAlias)(const char* newStringID, const char* existingStringID);    // 8
};

struct ReferenceSuite {
  OSErr (*Make)(Reference* out);                                                      // 1
  OSErr (*Free)(Reference r);                                                         // 2
  OSErr (*GetForm)(Reference r, TypeID* form);                                        // 3
  OSErr (*GetDesiredClass)(Reference r, TypeID* cls);                                 // 4
  OSErr (*PutName)(Reference r, TypeID cls, const char* name);                        // 5
  OSErr (*PutIndex)(Reference r, TypeID cls, std::uint32_t index);                    // 6
  OSErr (*PutIdentifier)(Reference r, TypeID cls, std::uint32_t identifier);          // 7
  OSErr (*PutOffset)(Reference r, TypeID cls, std::int32_t offset);                   // 8
  OSErr (*PutEnumerated)(Reference r, TypeID cls, TypeID type, TypeID value);         // 9
  OSErr (*PutProperty)(Reference r, TypeID cls, TypeID key);                          // 10
  OSErr (*PutClass)(Reference r, TypeID cls);                                         // 11
  OSErr (*GetNameLength)(Reference r, std::uint32_t* length);                         // 12
  OSErr (*GetName)(Reference r, char* buffer, std::uint32_t maxLength);               // 13
  OSErr (*GetIndex)(Reference r, std::uint32_t* index);                               // 14
  OSErr (*GetIdentifier)(Reference r, std::uint32_t* identifier);                     // 15
  OSErr (*GetOffset)(Reference r, std::int32_t* offset);                              // 16
  OSErr (*GetEnumerated)(Reference r, TypeID* type, TypeID* value);                   // 17
  OSErr (*GetProperty)(Reference r, TypeID* key);                                     // 18
  OSErr (*GetContainer)(Reference r, Reference* container);                           // 19
  OSErr (*PutNameZString)(Reference r, TypeID cls, ZString name);                     // 20 (v3)
  OSErr (*GetNameZString)(Reference r, ZString* name);                                // 21 (v3)
};

struct ListSuite {
  OSErr (*Make)(List* out);                                                           // 1
  OSErr (*Free)(List l);                                                              // 2
  OSErr (*GetType)(List l, std::uint32_t index, TypeID* type);                        // 3
  OSErr (*GetCount)(List l, std::uint32_t* count);                                    // 4
  OSErr (*PutInteger)(List l, std::int32_t value);                                    // 5
  OSErr (*PutFloat)(List l, double value);                                            // 6
  OSErr (*PutUnitFloat)(List l, TypeID unit, double value);                           // 7
  OSErr (*PutString)(List l, const char* text);                                       // 8
  OSErr (*PutBoolean)(List l, Boolean value);                                         // 9
  OSErr (*PutList)(List l, List value);                                               // 10
  OSErr (*PutObject)(List l, TypeID cls, Descriptor value);                           // 11
  OSErr (*PutGlobalObject)(List l, TypeID cls, Descriptor value);                     // 12
  OSErr (*PutEnumerated)(List l, TypeID type, TypeID value);                          // 13
  OSErr (*PutReference)(List l, Reference value);                                     // 14
  OSErr (*PutClass)(List l, TypeID cls);                                              // 15
  OSErr (*PutGlobalClass)(List l, TypeID cls);                                        // 16
  OSErr (*PutAlias)(List l, Handle alias);                                            // 17
  OSErr (*GetInteger)(List l, std::uint32_t index, std::int32_t* value);              // 18
  OSErr (*GetFloat)(List l, std::uint32_t index, double* value);                      // 19
  OSErr (*GetUnitFloat)(List l, std::uint32_t index, TypeID* unit, double* value);    // 20
  OSErr (*GetStringLength)(List l, std::uint32_t index, std::uint32_t* length);       // 21
  OSErr (*GetString)(List l, std::uint32_t index, char* buffer, std::uint32_t maxLength);  // 22
  OSErr (*GetBoolean)(List l, std::uint32_t index, Boolean* value);                   // 23
  OSErr (*GetList)(List l, std::uint32_t index, List* value);                         // 24
  OSErr (*GetObjectValue)(List l, std::uint32_t index, TypeID* cls, Descriptor* value);    // 25
  OSErr (*GetGlobalObject)(List l, std::uint32_t index, TypeID* cls, Descriptor* value);  // 26
  OSErr (*GetEnumerated)(List l, std::uint32_t index, TypeID* type, TypeID* value);   // 27
  OSErr (*GetReference)(List l, std::uint32_t index, Reference* value);               // 28
  OSErr (*GetClass)(List l, std::uint32_t index, TypeID* cls);                        // 29
  OSErr (*GetGlobalClass)(List l, std::uint32_t index, TypeID* cls);                  // 30
  OSErr (*GetAlias)(List l, std::uint32_t index, Handle* alias);                      // 31
  OSErr (*PutIntegers)(List l, std::uint32_t count, std::int32_t* values);            // 32
  OSErr (*GetIntegers)(List l, std::uint32_t count, std::int32_t* values);            // 33
  OSErr (*PutData)(List l, std::int32_t length, void* bytes);                         // 34
  OSErr (*GetDataLength)(List l, std::uint32_t index, std::int32_t* length);          // 35
  OSErr (*GetData)(List l, std::uint32_t index, void* buffer);                        // 36
  OSErr (*PutZString)(List l, ZString value);                                         // 37
  OSErr (*GetZString)(List l, std::uint32_t index, ZString* value);                   // 38
  OSErr (*PutInteger64)(List l, std::int64_t value);                                  // 39 (v2)
  OSErr (*GetInteger64)(List l, std::uint32_t index, std::int64_t* value);            // 40 (v2)
};

}  // extern "C"

static_assert(sizeof(DescriptorSuite) == 48 * sizeof(void*));
static_assert(sizeof(ControlSuite) == 8 * sizeof(void*));
static_assert(sizeof(ReferenceSuite) == 21 * sizeof(void*));
static_assert(sizeof(ListSuite) == 40 * sizeof(void*));

constexpr const char* kDescriptorSuiteName = "df135115-c769-11d0-8079-00c04fd7ec47";
constexpr const char* kControlSuiteName = "bc1e4d70-f953-11d0-8d9f-00c04fd5f7ee";
constexpr const char* kReferenceSuiteName = "df135117-c769-11d0-8079-00c04fd7ec47";
constexpr const char* kListSuiteName = "df135116-c769-11d0-8079-00c04fd7ec47";

// Slot counts by version: older tables are prefixes of newer ones.
constexpr int kDescriptorSlotsV2 = 46, kDescriptorSlotsV3 = 48;
constexpr int kControlSlotsV2 = 8;
constexpr int kReferenceSlotsV2 = 19, kReferenceSlotsV3 = 21;
constexpr int kListSlotsV1 = 38, kListSlotsV2 = 40;

}  // namespace host
