// The handle suite: real `char**` handles whose master pointers the host
// owns. Its void operations cannot answer an error; misuse is recorded.
#include "host_suites.h"
#include "suite_helpers.h"

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

void Dispose(Handle h) {
  Guard<int>("Handle.Dispose", 0, [&] {
    if (!DisposeHandle(h)) RecordMisuse("Handle.Dispose", "unknown handle");
    return 0;
  });
}

void DisposeRegularHandle(Handle h) {
  Guard<int>("Handle.DisposeRegularHandle", 0, [&] {
    if (!DisposeHandle(h)) RecordMisuse("Handle.DisposeRegularHandle", "unknown handle");
    return 0;
  });
}

void SetLock(Handle h, Boolean lock, host::Ptr* address, Boolean* oldLock) {
  Guard<int>("Handle.SetLock", 0, [&] {
    HandleData* data = FindHandle(h);
    if (!data) {
      if (address) *address = nullptr;
      RecordMisuse("Handle.SetLock", "unknown handle");
      return 0;
    }
    if (oldLock) *oldLock = data->locked ? 1 : 0;
    data->locked = lock != 0;
    if (address) *address = data->bytes.get();
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

host::OSErr SetSize(Handle h, std::int32_t size) {
  return Guard<host::OSErr>("Handle.SetSize", err::kMemFull, [&]() -> host::OSErr {
    HandleData* data = FindHandle(h);
    if (!data) return Misuse("Handle.SetSize", "unknown handle", err::kNilHandle);
    if (size < 0) return Misuse("Handle.SetSize", "negative size", err::kParam);
    auto bytes = std::make_unique<char[]>(size_t(size) + 1);
    std::memset(bytes.get(), 0, size_t(size) + 1);
    std::memcpy(bytes.get(), data->bytes.get(), size_t(std::min(size, data->size)));
    data->bytes = std::move(bytes);
    data->size = size;
    *h = data->bytes.get();   // the master pointer follows the block
    return err::kNone;
  });
}

void RecoverSpace(std::int32_t) {}

const host::HandleSuite kSuite = {New, Dispose, DisposeRegularHandle, SetLock, GetSize, SetSize, RecoverSpace};

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
const HandleSuiteV1 kSuiteV1 = {New, Dispose, SetLock, GetSize, SetSize, RecoverSpace};

}  // namespace

const void* HandleSuiteTable(std::int32_t version) {
  if (version == 2) return &kSuite;
  if (version == 1) return &kSuiteV1;
  return nullptr;
}

}  // namespace sim
