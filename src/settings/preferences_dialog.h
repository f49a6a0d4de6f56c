// The module's Preferences: a modal dialog of four pages that edits the
// settings record and puts it into effect when it closes.
#pragma once

#include <windows.h>

#include "settings/settings_text.h"

constexpr int kPreferencesDialogId = 18500;
constexpr int kPreferencesPageCount = 4;

// The page showing (0 the module, 1 General, 2 History, 3 Key Shortcuts):
// set before the dialog opens, changed by the page list and Prev/Next.
extern int PreferencesPage;
// The settings as they were when the dialog opened.
extern SettingsValues SettingsBackup;

// Shows the controls of PreferencesPage and hides the other pages'.
void ShowPreferencesPage(HWND dialog);
// Puts the check states and the interpolation choice of SettingsRecord into
// the controls.
void SettingsToControls(HWND dialog);

// Ends with 1 after OK (the settings applied), 0 after Cancel or the close
// box (the settings as they were, applied again).
INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over `owner` at `page`; its result, 0 when it
// could not be shown.
int RunPreferencesDialog(HWND owner, int page);
