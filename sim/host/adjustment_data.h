// The settings bytes the host keeps with an adjustment layer
// ("legacyContentData"), written from the adjustment object of a make or set
// event as the host lays them out. Keys the object leaves out take the
// host's defaults. No windows: the bytes alone.
#pragma once

#include <string>
#include <string_view>

#include "host_state.h"

namespace sim {

// The kinds whose settings the host writes: their class code (empty for
// Vibrance, known by its string identifier only) and string identifier.
struct AdjustmentClass {
  std::string_view code;
  std::string_view stringId;
};
const AdjustmentClass* FindAdjustmentClass(TypeID cls);

// The bytes for an adjustment of `stringId` holding `settings`; empty for a
// kind the host keeps no such bytes for.
std::string AdjustmentSettingsBytes(std::string_view stringId, const DescriptorData& settings);

// Vibrance's two values put into bytes of that kind (a set event changes
// them in place); other bytes are kept.
std::string WithVibrance(std::string bytes, const DescriptorData& settings);

}  // namespace sim
