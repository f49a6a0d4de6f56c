// The Edit Smart Filters dialog's own part: the target layer's smart filters
// in its list, top filter first, and the buttons that edit, blend, show,
// hide and delete the chosen one.
#pragma once

#include <windows.h>

// The list's control and the buttons'.
constexpr int kSmartFilterList = 1020;
constexpr int kEditFilterButton = 1092, kBlendingButton = 1093, kDisableButton = 1094, kEnableButton = 1095,
              kDeleteFilterButton = 1096;

// Labels the buttons for the host's version and fills the list.
void OpenSmartFilterDialog(HWND dialog);
// Refills the list from the target layer, keeping the chosen row.
void FillSmartFilterList(HWND dialog);
// Whether anything the dialog asked of the host since it opened was done:
// OK with nothing done leaves no empty step in the history.
bool SmartFilterDialogChanged();
// A button of the dialog pressed, or the list double-clicked; false when the
// control is none of them.
bool SmartFilterDialogCommand(HWND dialog, int control, WORD code);
