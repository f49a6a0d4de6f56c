// Smart filters of the target layer, addressed by index from 1, and the
// host's filters applied to a smart object as smart filters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The names ListSmartFilters found: position k names the filter of index
// k + 1.
extern std::vector<std::string> SmartFilterNames;
constexpr std::size_t kSmartFilterItemLimit = 256;
inline constexpr std::uint32_t kSmartFilterItemBase = 0x8600;  // item k: the filter of index k + 1

std::int32_t EditSmartFilter(std::int32_t index);
std::int32_t EditSmartFilterBlending(std::int32_t index);
std::int32_t DeleteSmartFilter(std::int32_t index);
std::int32_t ShowSmartFilter(std::int32_t index, std::int32_t flag);
// Every smart filter of the target layer shown (or hidden); the first
// failure ends it.
std::int32_t SetAllSmartFiltersShown(bool shown);
std::int32_t ClearSmartFilters();
// Whether the target layer's filter of this index is shown: 1, 0, or -1
// when that cannot be read.
int SmartFilterShownState(std::int32_t index);
std::int32_t CopySmartFilter(std::int32_t sourceIndex, std::int32_t destinationLayerIndex);

// Fills SmartFilterNames from the target layer and returns the count; a
// layer that is no smart object leaves the list as it was and gives 0.
std::int32_t ListSmartFilters();

// The named commands "Disable Smart Filters" and "Enable Smart Filters".
std::int32_t DisableSmartFilters();
std::int32_t EnableSmartFilters();

// The Smart Filter submenu's list of the target layer's smart filters,
// inserted with these item flags.
void RebuildSmartFilterSubmenu(unsigned flags);
// Item k of that list: the filter's dialog, then its blending options.
void EditListedSmartFilter(std::size_t k);
// The label of a listed item; empty when the identifier is none of them.
std::string SmartFilterItemLabel(std::uint32_t id);

// A filter of the host's menus chosen while the target layer is a smart
// object becomes a smart filter of that layer: the filter `index` of the
// template layer `templateLayer`, in one history step named `historyName`
// (as LookupFilterCommand found them). True when the module took the command;
// false leaves it to the host, which then filters the layer's pixels as usual.
bool ApplyFilterAsSmartFilter(const char* templateLayer, std::int32_t index, const char* historyName);
