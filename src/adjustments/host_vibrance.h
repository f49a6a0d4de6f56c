// Editing a Vibrance adjustment layer with the host's own Vibrance
// adjustment, which editors 11 and later offer.
#pragma once

// Opens the host's Vibrance dialog on the target adjustment layer. True when
// the edit was handed to the host; false when it could not be, and the
// caller edits the layer with the module's own Vibrance editing instead.
//
// The host's adjustment is not reached yet: the module's editing serves every
// version.
inline bool EditVibranceWithHostAdjustment() { return false; }
