// The module's adjustment commands in the pop-up of the Layers panel's
// new-adjustment-layer button: appended while that pop-up is open, taken out
// again when its menu loop ends, so that the editor finds its pop-up as it
// built it.
#pragma once

#include <windows.h>

// The pop-up that holds the module's items now, or null.
extern HMENU AdjustmentPopup;

// Whether the cursor is over the Layers panel's new-adjustment-layer button
// (editor 8 and up, with a Layers view found).
bool CursorOverAdjustmentButton();

// Appends the new-adjustment-layer commands of this editor version (Curves to
// Selective Color) with their separators, and remembers the pop-up. A pop-up
// that already holds them gets nothing twice; the items of another pop-up
// are taken out first.
void AppendAdjustmentItems(HMENU popup);
// Takes the appended items and separators out of AdjustmentPopup and forgets
// it. Items of the editor's own are left alone.
void RemoveAdjustmentItems();
