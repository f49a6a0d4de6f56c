// The module's own dialogs: Fade, Exposure, Vibrance, Black & White, Fill
// Opacity, Tracking and Edit Smart Filters, run modeless in a message loop
// of their own inside a named history step, previewing live on the
// document; and the modal Auto-Align Layers dialog.
#pragma once

#include <windows.h>

#include <cstdint>

#include "adjustments/adjustment_values.h"
#include "adjustments/dialog_tables.h"
#include "host_types.h"

// The dialog the shared procedure runs; set before RunModuleDialog.
extern DialogKind RunningDialogKind;
// 1 after OK, 0 after Cancel.
extern int DialogResult;
// Set while a dialog adjusts the pixels of a layer through a clipped
// adjustment layer, and whether the document had a selection then.
extern bool AdjustingAsFilter;
extern bool SelectionBeforeAdjust;
// The Black & White tint, and the custom colours of the colour picker: kept
// for the whole run.
extern std::uint8_t TintColor[3];
extern COLORREF CustomColors[16];

// Runs the dialog of this resource to its end: its DialogResult, or 0 at
// once while another of the module's dialogs runs.
int RunModuleDialog(int resource);
INT_PTR CALLBACK ModuleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the dialog's values (or, with `restore`, the starting state) into the
// document.
void UpdateDialogPreview(HWND dialog, bool restore);
// Sets a slider and its edit text from a value in the dialog's own units.
void SetSliderValue(HWND dialog, int slider, double value);
// `setd` of the target layer's opacity and fill opacity (percent, -1: kept)
// and blend mode (0: kept).
std::int32_t SetLayerOpacityModeFill(int opacity, host::TypeID blendMode, int fillOpacity);
// Dispatches what waits for the host's main window, so it repaints.
void PumpMainWindowMessages();

// `Algn` of the target layers by their content (projection 0 to 5).
std::int32_t AutoAlignLayers(int projection, bool vignette, bool distortion);
// The modal Auto-Align Layers dialog, and the alignment when it is answered OK.
void AutoAlignCommand();
INT_PTR CALLBACK AutoAlignDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A clipped adjustment layer of `kind` with the host's defaults, edited in
// the module's dialog and merged down on OK. The dialog's result as success.
bool AdjustWithModuleDialog(AdjustmentKind kind);
// A new adjustment layer of `kind`, set in the module's dialog.
bool NewAdjustmentWithModuleDialog(AdjustmentKind kind);
// The target adjustment layer of `kind` edited in the module's dialog.
bool EditWithModuleDialog(AdjustmentKind kind);
// The dialogs of the named steps "Fade", "Fill", "Tracking" and "Edit Smart
// Filters".
bool RunKindDialog(DialogKind kind);
