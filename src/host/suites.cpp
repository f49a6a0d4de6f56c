#include "host/suites.h"

#include <array>

#include "entry/module_state.h"

namespace {

enum SlotIndex { kDescriptor, kControl, kReference, kList, kUIHooks, kHandle, kZString, kProperty,
                 kSlotCount };

std::array<SuiteSlot, kSlotCount> SuiteSlots = {{
    {nullptr, 3, host::kDescriptorSuiteName, 0, 0},
    {nullptr, 2, host::kControlSuiteName, 0, 0},
    {nullptr, 3, host::kReferenceSuiteName, 0, 0},
    {nullptr, 2, host::kListSuiteName, 0, 0},
    {nullptr, 1, host::kUIHooksSuiteName, 0, 0},
    {nullptr, 2, host::kHandleSuiteName, 0, 0},
    {nullptr, 1, host::kZStringSuiteName, 0, 0},
    {nullptr, 1, host::kPropertySuiteName, 0, 0},
}};

template <typename T>
const T* Acquired(SlotIndex index) {
  SuiteSlot& slot = SuiteSlots[index];
  if (!slot.suite) AcquireSuite(slot);
  return static_cast<const T*>(slot.suite);
}

// Version 1 of the handle suite has no DisposeRegularHandle: every later
// operation sits one slot earlier than in version 2, so its table cannot be
// read through the version-2 layout.
struct HandleSuiteV1 {
  host::Handle (*New)(std::int32_t size);
  void (*Dispose)(host::Handle h);
  void (*SetLock)(host::Handle h, host::Boolean lock, host::Ptr* address, host::Boolean* oldLock);
  std::int32_t (*GetSize)(host::Handle h);
  host::OSErr (*SetSize)(host::Handle h, std::int32_t size);
  void (*RecoverSpace)(std::int32_t size);
};

// A version-1 suite's operations in the version-2 layout; the one that
// version lacks stays null.
host::HandleSuite HandleProcsOfVersion1{};

}  // namespace

void AcquireSuite(SuiteSlot& slot) {
  if (slot.suite) return;
  if (!BasicSuite) throw SuiteError{host::kBadParameterError};
  for (std::int32_t version : {slot.version, std::int32_t(2), std::int32_t(1)}) {
    const std::int32_t err = BasicSuite->AcquireSuite(slot.name, version, &slot.suite);
    slot.lastError = err;
    if (err == 0) {
      slot.acquiredVersion = version;
      return;
    }
  }
  slot.suite = nullptr;
  throw SuiteError{slot.lastError};
}

void ReleaseSuites() {
  for (SuiteSlot& slot : SuiteSlots) {
    if (!slot.suite) continue;
    // The slot is cleared even without a basic suite: the pointer is stale
    // once the host has shut the module down.
    if (BasicSuite) BasicSuite->ReleaseSuite(slot.name, slot.acquiredVersion);
    slot.suite = nullptr;
  }
}

const host::DescriptorSuite* DescriptorProcs() { return Acquired<host::DescriptorSuite>(kDescriptor); }
const host::ControlSuite* ControlProcs() { return Acquired<host::ControlSuite>(kControl); }
const host::ReferenceSuite* ReferenceProcs() { return Acquired<host::ReferenceSuite>(kReference); }
const host::ListSuite* ListProcs() { return Acquired<host::ListSuite>(kList); }
const host::UIHooksSuite* UIHooksProcs() { return Acquired<host::UIHooksSuite>(kUIHooks); }
const host::HandleSuite* HandleProcs() {
  const void* suite = Acquired<void>(kHandle);
  if (SuiteSlots[kHandle].acquiredVersion != 1) return static_cast<const host::HandleSuite*>(suite);
  // Filled at each use: the host may answer another table after a release.
  const auto* v1 = static_cast<const HandleSuiteV1*>(suite);
  HandleProcsOfVersion1 = {v1->New,     v1->Dispose, nullptr, v1->SetLock,
                           v1->GetSize, v1->SetSize, v1->RecoverSpace};
  return &HandleProcsOfVersion1;
}
const host::ZStringSuite* ZStringProcs() { return Acquired<host::ZStringSuite>(kZString); }
const host::PropertySuite* PropertyProcs() { return Acquired<host::PropertySuite>(kProperty); }

ScopedSuite::ScopedSuite(const char* suiteName, std::int32_t first, std::int32_t fallback)
    : name(suiteName) {
  if (!BasicSuite) throw SuiteError{host::kBadParameterError};
  std::int32_t err = BasicSuite->AcquireSuite(name, first, &suite);
  version = first;
  if (err != 0 && fallback != 0) {
    err = BasicSuite->AcquireSuite(name, fallback, &suite);
    version = fallback;
  }
  if (err != 0) {
    suite = nullptr;
    throw SuiteError{err};
  }
}

ScopedSuite::~ScopedSuite() {
  if (suite && BasicSuite) BasicSuite->ReleaseSuite(name, version);
}
