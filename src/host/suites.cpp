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
const host::HandleSuite* HandleProcs() { return Acquired<host::HandleSuite>(kHandle); }
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
