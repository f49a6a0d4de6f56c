// Owners for host objects: each frees its object through the suite that made
// it, on every path. Destruction order matters where the host expects it, so
// declare holders in the order the objects are made.
#pragma once

#include <utility>

#include "host/suites.h"

template <typename T, typename Release>
class HostObject {
 public:
  HostObject() = default;
  explicit HostObject(T object) : object_(object) {}
  ~HostObject() { reset(); }
  HostObject(HostObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  HostObject& operator=(HostObject&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;

  T get() const { return object_; }
  T* out() {  // for a host call that makes the object
    reset();
    return &object_;
  }
  T release() { return std::exchange(object_, nullptr); }
  explicit operator bool() const { return object_ != nullptr; }
  void reset() {
    if (object_) Release{}(object_);
    object_ = nullptr;
  }

 private:
  T object_ = nullptr;
};

// The host may hand over an object (a play's result) before the module has
// asked for the suite that frees it: acquire it then, without throwing.
template <typename Procs>
const Procs* ProcsForRelease(const Procs* (*acquire)()) noexcept {
  try {
    return acquire();
  } catch (...) {
    return nullptr;
  }
}

struct FreeDescriptor {
  void operator()(host::Descriptor d) const {
    if (auto procs = ProcsForRelease(DescriptorProcs)) procs->Free(d);
  }
};
struct FreeReference {
  void operator()(host::Reference r) const {
    if (auto procs = ProcsForRelease(ReferenceProcs)) procs->Free(r);
  }
};
struct FreeList {
  void operator()(host::List l) const {
    if (auto procs = ProcsForRelease(ListProcs)) procs->Free(l);
  }
};
struct DisposeHandle {
  void operator()(host::Handle h) const {
    if (auto procs = ProcsForRelease(HandleProcs)) procs->Dispose(h);
  }
};
struct ReleaseZString {
  void operator()(host::ZString z) const {
    if (auto procs = ProcsForRelease(ZStringProcs)) procs->Release(z);
  }
};

using DescriptorHolder = HostObject<host::Descriptor, FreeDescriptor>;
using ReferenceHolder = HostObject<host::Reference, FreeReference>;
using ListHolder = HostObject<host::List, FreeList>;
using HandleHolder = HostObject<host::Handle, DisposeHandle>;
using ZStringHolder = HostObject<host::ZString, ReleaseZString>;

// A new descriptor or reference; the host's error, if any, is returned and
// the holder stays empty.
inline std::int32_t MakeDescriptor(DescriptorHolder& holder) {
  return HostResult(DescriptorProcs()->Make(holder.out()));
}
inline std::int32_t MakeReference(ReferenceHolder& holder) {
  return HostResult(ReferenceProcs()->Make(holder.out()));
}
