// Read-only questions about the current layer and document, and the two
// small changes made by name or index. None shows a message; a failed read
// gives the neutral answer (false, 0, or 1 for the target-layer count).
#pragma once

#include <cstdint>

#include "host_types.h"

bool HasFilterMask();
bool HasUserMask();
bool HasVectorMask();
bool IsTextLayer();
bool IsSmartObjectLayer();
bool IsLayerGroup();
bool HasSelection();
// 1 with a selection, 0 without, -1 when the host did not answer.
int ReadSelectionState();
bool HasBackgroundLayer();

std::int32_t CountTargetLayers();
// Writes the host's index of each target layer into `indices` (the caller
// sizes it; at most `capacity` are written) and returns the count.
std::int32_t GetTargetLayerIndices(std::int32_t* indices, std::int32_t capacity);

host::TypeID GetAdjustmentClass();
bool GetAdjustmentKindName(char* buffer, std::uint32_t size);

std::int32_t CountSmartFilters();
std::int32_t CountSmartFiltersByProbing();
// Whether the target layer's smart filter of this index (1-based) is shown;
// false when it cannot be read.
bool IsSmartFilterEnabled(std::int32_t index);

// Both answer the host's result; the background keeps its name (0).
std::int32_t RenameTargetLayer(const char* name);
std::int32_t SelectLayerByIndex(std::int32_t index, bool makeVisible, bool addToSelection);
