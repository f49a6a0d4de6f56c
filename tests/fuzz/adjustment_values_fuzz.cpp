// The settings bytes of an adjustment layer, decoded as each of the seven
// kinds. Beyond "no crash, nothing read past the bytes" (the address
// sanitizer sees every byte read): a decoded array has the size its kind's
// keys need, and the bytes cut shorter never decode to more.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "adjustments/adjustment_values.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the input's size, so that a read past it is caught.
  std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size ? size : 1]);
  if (size) std::memcpy(bytes.get(), data, size);
  for (const AdjustmentKindName& name : AdjustmentKindNames) {
    const auto values = DecodeAdjustmentValues(name.kind, size ? bytes.get() : nullptr, size);
    if (name.kind == AdjustmentKind::Vibrance) FUZZ_CHECK(values.has_value());
    if (!values) continue;
    FUZZ_CHECK(ValuesNeeded(name.kind, *values) == values->size());
    // Whatever a prefix decodes, the whole decodes too, to as many values,
    // except where the prefix's first values choose a shorter layout.
    if (size > 0 && name.kind != AdjustmentKind::Curves && name.kind != AdjustmentKind::Vibrance) {
      const auto shorter = DecodeAdjustmentValues(name.kind, bytes.get(), size - 1);
      if (shorter) FUZZ_CHECK(shorter->size() == values->size());
    }
  }
  return 0;
}
