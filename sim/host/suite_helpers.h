// Shared pieces of the descriptor and list suites: argument checks and the
// reading of one value into the plug-in's out arguments.
#pragma once

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "host_state.h"

namespace sim {

using host::OSErr;

inline bool OneOf(TypeID type, std::initializer_list<TypeID> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

// Copies text into a caller's buffer: at most maxLength - 1 characters and
// the terminator.
inline void CopyText(const std::string& text, char* buffer, std::uint32_t maxLength) {
  if (maxLength == 0) return;
  size_t n = std::min<size_t>(text.size(), maxLength - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

// The reading of one value; `v` has been found and type-checked.
inline OSErr ReadObject(const Value& v, TypeID* cls, host::Descriptor* out) {
  *out = NewDescriptor(v.items);
  if (cls) *cls = v.cls;
  return err::kNone;
}
inline OSErr ReadAlias(const Value& v, host::Handle* out) {
  *out = NewTextHandle(v.text);
  return *out ? err::kNone : err::kMemFull;
}

}  // namespace sim
