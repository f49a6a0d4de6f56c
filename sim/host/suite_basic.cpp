// The basic suite: suites by name and version, string equality, memory.
#include <cstdlib>
#include <cstring>

#include "action_suites.h"
#include "host_suites.h"
#include "host_state.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("basic", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("basic", fn)

namespace sim {
namespace {

using host::SPErr;

struct Offer {
  const char* name;
  const void* (*table)(std::int32_t version);
};

const void* BasicTable(std::int32_t version) { return version >= 1 && version <= host::kBasicSuiteVersion ? Basic() : nullptr; }

const Offer kOffers[] = {
    {host::kBasicSuiteName, BasicTable},
    {host::kDescriptorSuiteName, DescriptorSuiteTable},
    {host::kControlSuiteName, ControlSuiteTable},
    {host::kReferenceSuiteName, ReferenceSuiteTable},
    {host::kListSuiteName, ListSuiteTable},
    {host::kUIHooksSuiteName, UIHooksSuiteTable},
    {host::kHandleSuiteName, HandleSuiteTable},
    {host::kZStringSuiteName, ZStringSuiteTable},
    {host::kPropertySuiteName, PropertySuiteTable},
    {host::kColorSpaceSuiteName, ColorSpaceSuiteTable},
    {host::kJavaScriptSuiteName, JavaScriptSuiteTable},
};

// Counted by name and version, as the host does: a release must name the
// version that was acquired.
std::pair<std::string, std::int32_t> Key(const char* name, std::int32_t version) { return {name, version}; }

SPErr AcquireSuite(const char* name, std::int32_t version, const void** suite) {
  return Guard<SPErr>("Basic.AcquireSuite", err::kBadParameter, [&]() -> SPErr {
    if (!suite) return Misuse("Basic.AcquireSuite", "null out pointer", err::kBadParameter);
    *suite = nullptr;
    if (!name) return Misuse("Basic.AcquireSuite", "null name", err::kBadParameter);
    for (const auto& offer : kOffers) {
      if (std::strcmp(offer.name, name) != 0) continue;
      const void* table = offer.table(version);
      if (!table) return err::kSuiteNotFound;
      *suite = table;
      ++State().suites[Key(name, version)];
      return host::kNoError;
    }
    return err::kSuiteNotFound;
  });
}

SPErr ReleaseSuite(const char* name, std::int32_t version) {
  return Guard<SPErr>("Basic.ReleaseSuite", err::kBadParameter, [&]() -> SPErr {
    if (!name) return Misuse("Basic.ReleaseSuite", "null name", err::kBadParameter);
    auto& suites = State().suites;
    auto it = suites.find(Key(name, version));
    if (it == suites.end() || it->second <= 0)
      return Misuse("Basic.ReleaseSuite", "suite not acquired", err::kBadParameter);
    if (--it->second == 0) suites.erase(it);
    return host::kNoError;
  });
}

host::SPBoolean IsEqual(const char* a, const char* b) {
  if (!a || !b) return a == b;
  return std::strcmp(a, b) == 0;
}

SPErr AllocateBlock(std::size_t size, void** block) {
  return Guard<SPErr>("Basic.AllocateBlock", err::kNoMemory, [&]() -> SPErr {
    if (!block) return Misuse("Basic.AllocateBlock", "null out pointer", err::kBadParameter);
    *block = std::malloc(size ? size : 1);
    if (!*block) return err::kNoMemory;
    State().blocks[*block] = size;
    return host::kNoError;
  });
}

SPErr FreeBlock(void* block) {
  return Guard<SPErr>("Basic.FreeBlock", err::kBadParameter, [&]() -> SPErr {
    auto& blocks = State().blocks;
    auto it = blocks.find(block);
    if (it == blocks.end()) return Misuse("Basic.FreeBlock", "unknown block", err::kBadParameter);
    blocks.erase(it);
    std::free(block);
    return host::kNoError;
  });
}

SPErr ReallocateBlock(void* block, std::size_t size, void** newBlock) {
  return Guard<SPErr>("Basic.ReallocateBlock", err::kNoMemory, [&]() -> SPErr {
    if (!newBlock) return Misuse("Basic.ReallocateBlock", "null out pointer", err::kBadParameter);
    auto& blocks = State().blocks;
    if (!block) return AllocateBlock(size, newBlock);
    auto it = blocks.find(block);
    if (it == blocks.end()) return Misuse("Basic.ReallocateBlock", "unknown block", err::kBadParameter);
    void* moved = std::realloc(block, size ? size : 1);
    if (!moved) return err::kNoMemory;   // the old block stays valid
    blocks.erase(it);
    blocks[moved] = size;
    *newBlock = moved;
    return host::kNoError;
  });
}

SPErr Undefined() { return err::kUnimplemented; }

host::BasicSuite gBasic = {SLOT(AcquireSuite), SLOT(ReleaseSuite), SLOT_VALUE(IsEqual), SLOT(AllocateBlock), SLOT(FreeBlock), SLOT(ReallocateBlock), SLOT(Undefined)};

}  // namespace

host::BasicSuite* Basic() { return &gBasic; }

}  // namespace sim
