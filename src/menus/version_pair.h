// The rule that says in which host versions a row of the module's tables
// (commands, shortcuts, filters, pop-ups) exists.
#pragma once

#include <cstdint>

// Whether a row with version pair (a, b) exists in host major version v:
// (0, 0) always; (0, b) up to b; (a, 0) from a on; (a, a) in every version but
// a; otherwise up to a and from b on, the versions between left out.
constexpr bool VersionPairAdmits(std::int32_t a, std::int32_t b, int v) {
  if (a == 0 && b == 0) return true;
  if (a == 0) return v <= b;
  if (b == 0) return v >= a;
  if (a == b) return v != a;
  return v <= a || v >= b;
}
