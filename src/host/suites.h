// The host suites the module uses, acquired on first use and released at
// shutdown. A suite that cannot be acquired throws SuiteError.
#pragma once

#include <cstdint>

#include "action_suites.h"
#include "host_suites.h"

struct SuiteError {
  std::int32_t code;
};

struct SuiteSlot {
  const void* suite;       // null until acquired
  std::int32_t version;    // the version asked first
  const char* name;
  std::int32_t lastError;
  std::int32_t acquiredVersion;  // the version the host answered, released as such
};

// Acquires the slot's suite if it is not yet acquired: the slot's version,
// then 2, then 1. Throws SuiteError with the last error when none is offered,
// and SuiteError{Parm} when there is no basic suite.
void AcquireSuite(SuiteSlot& slot);
// Releases every acquired suite in table order.
void ReleaseSuites();

// Each accessor acquires on first use and throws like AcquireSuite.
const host::DescriptorSuite* DescriptorProcs();
const host::ControlSuite* ControlProcs();
const host::ReferenceSuite* ReferenceProcs();
const host::ListSuite* ListProcs();
const host::UIHooksSuite* UIHooksProcs();
// Always in the version-2 layout; from a host that offers only version 1,
// DisposeRegularHandle is null (the module never disposes regular handles).
const host::HandleSuite* HandleProcs();
const host::ZStringSuite* ZStringProcs();
const host::PropertySuite* PropertyProcs();

// Suites acquired at each use and released right after.
struct ScopedSuite {
  const void* suite = nullptr;
  const char* name = nullptr;
  std::int32_t version = 0;
  ScopedSuite(const char* name, std::int32_t version, std::int32_t fallback);
  ~ScopedSuite();
  ScopedSuite(const ScopedSuite&) = delete;
  ScopedSuite& operator=(const ScopedSuite&) = delete;
};

// Sign-extends a 16-bit host result.
inline std::int32_t HostResult(host::OSErr err) { return std::int32_t(err); }
