// Adjusting the current layer's pixels with one of the host's own
// adjustment or filter events, its dialog shown.
#pragma once

#include <cstdint>

#include "host_types.h"

// Plays the event named by `event` (`Crvs`, `ChnM`, `BanW`, `Shrp`, ...)
// with the host's dialog; the host's result, non-zero when cancelled.
std::int32_t ApplyAdjustmentDirectly(host::TypeID event);
