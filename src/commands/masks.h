// Layer masks, vector masks and the filter mask of smart filters, and the
// small selection and channel steps they are made of. Every step plays one
// host event on the current document and target layer with no dialog unless
// the caller says otherwise, and returns the host's result (0 for success).
#pragma once

#include <cstdint>

#include "host_types.h"

// Selection and channel steps.
std::int32_t SelectAll();
std::int32_t Deselect();
std::int32_t InverseSelection();
// `Trsp`, `RGB `, `Rd  `, `Grn `, `Bl  `, or `Msk ` for the target channel.
std::int32_t LoadChannelAsSelection(host::TypeID channel);
std::int32_t LoadSelectionFromNamedChannel(const char* name);
// `name` null: the host names the channel. `mode` is the dialog mode.
std::int32_t SaveSelectionAsChannel(const char* name, std::int32_t mode);
std::int32_t SelectChannelByName(const char* name);
std::int32_t FillSelection(host::TypeID contents);  // `Wht `, ...
std::int32_t DeleteLayer(const char* name);          // null: the target layer
std::int32_t ConvertBackgroundToLayer();

// Kinds of a new layer mask.
enum class MaskKind : int { RevealAll = 0, HideAll = 1, RevealSelection = 2, HideSelection = 3 };

// 0, or `intr` when the host refused the mask (nothing more is played).
std::int32_t AddLayerMask(MaskKind kind);
std::int32_t AddLayerMaskFromTransparency();
std::int32_t SetLayerMaskEnabled(bool enabled);
std::int32_t SetLayerMaskLinked(bool linked);
std::int32_t LoadLayerMaskAsSelection();
std::int32_t SelectFilterMask();
std::int32_t SetFilterMaskEnabled(bool enabled);
std::int32_t MakeWorkPathFromSelection(std::int32_t mode);
std::int32_t MakeVectorMaskFromPath();
std::int32_t LoadVectorMaskAsSelection(std::int32_t mode);
std::int32_t SetVectorMaskEnabled(bool enabled);
std::int32_t DeleteVectorMask();
std::int32_t RasterizeVectorMask();
std::int32_t SimplifySmartObjectLayer();

// The mask commands that run as one named history step. Each returns 0 when
// it ran to its end, or `intr` when it ended early (the host then drops the
// step).
std::int32_t MaskDelete();                // "Mask Delete"
std::int32_t MaskApply();                 // "Mask Apply"
std::int32_t MaskToggleEnabled();         // "Mask Disable"
std::int32_t MaskToggleLinked();          // "Mask Unlink"
std::int32_t VectorMaskFromSelection();   // "Vector Mask From Selection"
std::int32_t VectorMaskFromShape();       // "Vector Mask From Shape"
std::int32_t ClearFilterMask();           // "Clear Filter Mask"

// Before a command edits the pixels of a smart object: asks whether to
// simplify the layer. 1 when the layer is no smart object, 0 when the user
// declined (the caller stops), -2 after simplifying (the caller goes on).
std::int32_t EnsureEditableLayer();
