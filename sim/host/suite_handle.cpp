// The handle suite: real `char**` handles whose master pointers the host
// owns. Its void operations cannot answer an error; misuse is recorded.
#include <utility>

#include "host_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("handle", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("handle", fn)

namespace sim {
namespace {

using host::Boolean;
using host::Handle;

Handle New(std::int32_t size) {
  return Guard<Handle>("Handle.New", nullptr, [&]() -> Handle {
    if (size < 0) return Misuse("Handle.New", "negative size", Handle(nullptr));
    return NewHandle(size);
  });
}

// Disposing a locked handle is the plug-in's slip (a pointer into it may
// still be in use); the handle goes all the same.
void DisposeChecked(const char* call, Handle h) {
  HandleData* data = FindHandle(h);
  if (!data) return RecordMisuse(call, "unknown handle");
  if (data->locked) RecordMisuse(call, "disposing a locked handle");
  DisposeHandle(h);
}

void Dispose(Handle h) {
  Guard<int>("Handle.Dispose", 0, [&] {
    DisposeChecked("Handle.Dispose", h);
    return 0;
  });
}

void DisposeRegularHandle(Handle h) {
  Guard<int>("Handle.DisposeRegularHandle", 0, [&] {
    DisposeChecked("Handle.DisposeRegularHandle", h);
    return 0;
  });
}

// The bytes are the plug-in's to read and write only while the handle is
// locked; the old state comes back so that nested locks restore it.
void SetLock(Handle h, Boolean lock, host::Ptr* address, Boolean* oldLock) {
  Guard<int>("Handle.SetLock", 0, [&] {
    HandleData* data = FindHandle(h);
    if (!data) {
      if (address) *address = nullptr;
      RecordMisuse("Handle.SetLock", "unknown handle");
      return 0;
    }
    if (!lock && !data->locked) RecordMisuse("Handle.SetLock", "unlocking an unlocked handle");
    if (oldLock) *oldLock = data->locked ? 1 : 0;
    data->locked = lock != 0;
    data->exposed = false;
    SetHandleAccess(*data, data->locked);
    if (address) *address = data->bytes;
    return 0;
  });
}

std::int32_t GetSize(Handle h) {
  return Guard<std::int32_t>("Handle.GetSize", 0, [&]() -> std::int32_t {
    HandleData* data = FindHandle(h);
    if (!data) return Misuse("Handle.GetSize", "unknown handle", std::int32_t(0));
    return data->size;
  });
}

// A locked block cannot move, so the host does not resize it.
host::OSErr SetSize(Handle h, std::int32_t size) {
  return Guard<host::OSErr>("Handle.SetSize", err::kMemFull, [&]() -> host::OSErr {
    HandleData* data = FindHandle(h);
    if (!data) return Misuse("Handle.SetSize", "unknown handle", err::kNilHandle);
    if (size < 0) return Misuse("Handle.SetSize", "negative size", err::kParam);
    if (data->locked) return Misuse("Handle.SetSize", "resizing a locked handle", err::kMemLocked);
    HandleData moved;
    if (!AllocateHandleBytes(moved, size)) return err::kMemFull;
    WithHandleBytes(moved, [&](char* to) {
      return WithHandleBytes(*data, [&](char* from) { return std::memcpy(to, from, size_t(std::min(size, data->size))); });
    });
    std::swap(data->bytes, moved.bytes);   // the old block goes with `moved`
    std::swap(data->span, moved.span);
    data->size = size;
    data->exposed = false;
    *h = data->bytes;   // the master pointer follows the block
    return err::kNone;
  });
}

void RecoverSpace(std::int32_t) {}

const host::HandleSuite kSuite = {SLOT(New), SLOT(Dispose), SLOT(DisposeRegularHandle), SLOT(SetLock), SLOT_VALUE(GetSize), SLOT(SetSize), SLOT(RecoverSpace)};

// Version 1 lacks DisposeRegularHandle, so it is not a prefix of version 2.
struct HandleSuiteV1 {
  Handle (*New)(std::int32_t);
  void (*Dispose)(Handle);
  void (*SetLock)(Handle, Boolean, host::Ptr*, Boolean*);
  std::int32_t (*GetSize)(Handle);
  host::OSErr (*SetSize)(Handle, std::int32_t);
  void (*RecoverSpace)(std::int32_t);
};
static_assert(sizeof(HandleSuiteV1) == 6 * sizeof(void*));
const HandleSuiteV1 kSuiteV1 = {SLOT(New), SLOT(Dispose), SLOT(SetLock), SLOT_VALUE(GetSize), SLOT(SetSize), SLOT(RecoverSpace)};

}  // namespace

const void* HandleSuiteTable(std::int32_t version) {
  if (version == 2) return &kSuite;
  if (version == 1) return &kSuiteV1;
  return nullptr;
}

}  // namespace sim
