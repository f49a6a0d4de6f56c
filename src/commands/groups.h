// Layer groups: grouping the selected layers, ungrouping a group, and the
// memory of the last ungrouped group's name, blend mode, opacity and mask
// (commands/group_record.h) that the next grouping offers to restore.
#pragma once

#include <cstdint>

#include "host_types.h"

// Single events on the target layer; each returns the host's result.
std::int32_t MakeGroupFromLayers();
// Opacity and fill opacity in percent, left out when -1; the blend mode
// left out when 0. Nothing is played when there is nothing to set.
std::int32_t SetLayerProperties(std::int32_t opacity, host::TypeID blendMode, std::int32_t fillOpacity);
std::int32_t SetTargetLayerHidden(bool hide);

// The named commands. Each returns 0 when it ran to its end, else a code
// that makes the host drop its step; the remembered group changes only
// with a step that was kept.
std::int32_t StoreGroupProperties();   // "Store Group"
std::int32_t RestoreGroup();           // "Restore Group"
std::int32_t CreateNewGroup();         // "Create New Group"
std::int32_t UngroupLayers();          // "Ungroup Layers"

// The menu commands, with their questions; `label` names the step.
void GroupLayersCommand(const char* label);
void UngroupLayersCommand(const char* label);
void HideLayersCommand();
