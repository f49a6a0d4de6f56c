// The rows of the event table (events.cpp) that live in files of their own.
#pragma once

#include <string>

#include "model.h"

namespace sim {

// One played event as a row sees it.
struct Play {
  Model& model;
  const DescriptorData& params;
  std::string* historyName;
  std::int32_t mode = host::kDialogSilent;   // kDialogDisplay: the host shows its dialog and the user answers it
};

// A row answers this when the event is not of its kind: the next row whose
// descriptor fits is asked. Not a host code (they are all 0 or negative).
constexpr host::OSErr kNotThisRow = 1;

// Masks and the selection (events_masks.cpp).
host::OSErr OnMakeMaskOrPath(Play& play);        // Mk  : layer mask, work path, vector mask
host::OSErr OnSetSelectionOrMasks(Play& play);   // setd: selection, mask flags, background
host::OSErr OnDeleteVectorMask(Play& play);      // Dlt : the vector mask
host::OSErr OnInvertMask(Play& play);            // Invr: the edited mask channel
host::OSErr OnInverseSelection(Play& play);      // Invs
host::OSErr OnIntersectSelection(Play& play);    // Intr
host::OSErr OnSaveSelection(Play& play);         // Dplc of the selection
host::OSErr OnFill(Play& play);                  // Fl
host::OSErr OnRasterize(Play& play);             // rasterizeLayer: vector mask, smart object

// The host's dialogs of an adjustment layer's make event (new_layer_prompt.cpp):
// the prompt for the new layer's properties, a real window confirmed by
// Enter or answered by the user from the scenario's "answers.hostDialogs"
// key "newLayer"; then the kind's own dialog, answered from the key of the
// kind's class ("Crvs", "vibrance", ...). Each answer is recorded as a
// `host-dialog` line; true when confirmed.
bool ConfirmNewLayer(const std::string& name);
bool ConfirmAdjustmentDialog(const std::string& kind);

// A row the model keeps nothing for: the host takes the event, and the
// transcript shows that it was played.
host::OSErr Unmodelled(Play& play);

// Each document's `quickMask`: whether it holds a channel that shows the
// masked areas in colour (events_modes.cpp).
void NoteQuickMasks(Model& m);

}  // namespace sim
