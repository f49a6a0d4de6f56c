// Result codes the simulated host answers with, in one place so that every
// suite agrees on them.
#pragma once

#include "host_types.h"

namespace sim::err {

using host::OSErr;
using host::SPErr;

constexpr OSErr kNone = 0;

// Argument errors of the action, handle and property suites.
constexpr OSErr kParam = host::kParamErr;          // -50: bad token, null out pointer
constexpr OSErr kNilHandle = host::kNilHandleErr;  // -109: unknown handle
constexpr OSErr kMemFull = host::kMemFullErr;      // -108

// Descriptor and reference answers.
constexpr OSErr kNoSuchKey = -1715;      // the descriptor or the object lacks the key
constexpr OSErr kWrongType = -1700;      // the item is of another type than asked for
constexpr OSErr kNoSuchObject = -1728;   // no document, layer, channel or state answers the reference
constexpr OSErr kBadIndex = -1719;       // list index out of range

// Played events.
constexpr OSErr kEventNotHandled = -1708;   // an event the host does not know
constexpr OSErr kCannotApply = -25920;   // the host refuses the event in this state
constexpr OSErr kUserCanceled = host::kUserCanceledErr;  // -128: a host dialog was cancelled

// Property suite.
constexpr OSErr kPropertyUndefined = -30901;

// The SPErr and ASErr suites.
constexpr SPErr kBadParameter = host::kBadParameterError;
constexpr SPErr kSuiteNotFound = host::kSuiteNotFoundError;
constexpr SPErr kUnimplemented = host::kUnimplementedError;
constexpr SPErr kNoMemory = -108;

// An OSErr slot the simulation does not implement answers the host's
// "unimplemented" code cut to 16 bits (non-zero).
constexpr OSErr kUnimplementedOS = static_cast<OSErr>(host::kUnimplementedError & 0xFFFF);

}  // namespace sim::err
