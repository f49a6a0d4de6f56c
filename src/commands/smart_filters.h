// Smart objects and smart filters.
#pragma once

#include <cstdint>

// A filter of the host's menus chosen while the target layer is a smart
// object becomes a smart filter of that layer: the filter `index` of the
// template layer `templateLayer`, in one history step named `historyName`
// (as LookupFilterCommand found them). True when the module took the command;
// false leaves it to the host, which then filters the layer's pixels as usual.
//
// Applying filters as smart filters is not part of the module yet: every
// command goes to the host.
inline bool ApplyFilterAsSmartFilter(const char* templateLayer, std::int32_t index, const char* historyName) {
  (void)templateLayer;
  (void)index;
  (void)historyName;
  return false;
}
