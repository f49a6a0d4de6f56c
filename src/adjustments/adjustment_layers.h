// Adjustment layers of the seven kinds the host renders but offers no way to
// make or change: made with a complete settings descriptor, re-opened for
// editing from the settings bytes the host keeps with the layer, and used to
// adjust a layer's pixels through a clipped layer merged down.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "adjustments/adjustment_values.h"
#include "host_types.h"

// The values read last (see DecodeAdjustmentValues for their layout): one
// array for the whole module, replaced by each read, freed at shut-down.
extern std::vector<double> AdjustmentValues;
void FreeAdjustmentValues();

// The host's class of a kind; 0 when the host has no identifier for it.
host::TypeID AdjustmentClassOf(AdjustmentKind kind);
// The kind of a class the host reports; none for any other class.
std::optional<AdjustmentKind> KindOfClass(host::TypeID cls);

// Plays `Mk  ` of an adjustment layer of `kind` with the dialog mode given.
// `values` empty: the host's defaults. `name` null: the host names it;
// `opacity` -1 and `blendMode` 0: the host's. The host's result, non-zero
// when the user cancelled its dialog.
std::int32_t MakeAdjustmentLayer(AdjustmentKind kind, std::int32_t mode, std::span<const double> values,
                                 bool grouped, const char* name, int opacity, host::TypeID blendMode);

// What reading the target layer's settings found.
enum class SettingsRead {
  Decoded,       // AdjustmentValues holds the layer's values
  NoSettings,    // no adjustment list, or another kind: nothing to read
  Unreadable,    // the host did not answer, or the bytes are not the kind's
};
SettingsRead ReadAdjustmentSettings(AdjustmentKind* kind);
// True when the target layer has an adjustment list whose first item could
// be read, whatever its kind (the values are then left as they were).
bool ReadAdjustmentValues();

// `setd` of the target adjustment layer to an object of the kind's class.
std::int32_t SetAdjustmentOnTarget(AdjustmentKind kind, std::span<const double> values, std::int32_t mode);

// Remakes the target adjustment layer with its settings in the host's
// dialog, keeping its mask, name, opacity, blend mode and clipping. False
// when anything failed or the user cancelled: the surrounding history step
// is then dropped and the old layer is back.
bool EditAdjustmentLayer();
// Adjusts the target layer's pixels through a clipped adjustment layer that
// is merged down; a selection is kept.
bool AdjustAsFilter(AdjustmentKind kind);

// Deletes the target adjustment layer and makes it again of `kind` with
// `values` and no dialog, keeping its mask (through the selection), name,
// opacity, blend mode and clipping. Nothing is deleted unless everything
// the new layer needs was read first. False when a step failed.
bool RemakeAdjustmentLayer(AdjustmentKind kind, std::span<const double> values);
