#include "settings/preferences_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "localization/dialog_labels.h"
#include "menus/command_table.h"
#include "menus/version_pair.h"
#include "settings/settings_file.h"
#include "settings/shortcuts.h"
#include "ui/dialog_position.h"

int PreferencesPage = 0;
SettingsValues SettingsBackup = kSettingsDefaults;

namespace {

// Check box 1030 + i edits index i of the record; index 5 is the combo box.
constexpr int kFirstCheckBox = 1030;
constexpr int kInterpolationBox = 1021;
constexpr int kPageList = 1022;
constexpr int kShortcutList = 1023;
constexpr int kInterpolationCaption = 1060;
constexpr int kOkButton = 1090;
constexpr int kCancelButton = 1091;
constexpr int kResetButton = 1097;
constexpr int kPrevButton = 1098;
constexpr int kNextButton = 1099;
constexpr int kUnusedCheckBox = 1032;   // the reserved index 2: never shown

constexpr int kTitleRow = 27, kGeneralRow = 28, kHistoryRow = 29, kShortcutsRow = 30;
constexpr int kOkRow = 0, kCancelRow = 1, kResetRow = 31, kPrevRow = 32, kNextRow = 33;

// The controls of each page; 0 ends a page's list.
constexpr int kPageControls[kPreferencesPageCount][5] = {
    {1030, 1031, 0},
    {1033, 1034, kInterpolationCaption, kInterpolationBox, 0},
    {1036, 1037, 1038, 0},
    {1039, kShortcutList, 0},
};

struct GermanText {
  int control;
  const char* text;   // code page 1252
};
constexpr GermanText kGermanCheckBoxes[] = {
    {1030, "Quillbright deaktivieren"},
    {1031, "Icons && Men\xFC" "befehle einf\xE4rben"},
    {1033, "Ge\xF6" "ffnete Dokumente automatisch aktualisieren"},
    {1034, "Gro\xDF" "e Schriftvorschau"},
    {1036, "Ersten Schnappschuss automatisch erstellen"},
    {1037, "Nicht-lineares Protokoll"},
    {1038, "Protokoll in Metadaten speichern"},
    {1039, "Tastaturk\xFC" "rzel deaktivieren"},
};

constexpr const char* kInterpolationNames[3] = {"Bicubic", "Bicubic Smoother", "Bicubic Sharper"};
constexpr const char* kGermanInterpolationNames[3] = {"Bikubisch", "Bikubisch glatter", "Bikubisch sch\xE4rfer"};

struct ShortcutColumn {
  const char* english;
  const char* german;
  int width;
};
constexpr ShortcutColumn kShortcutColumns[2] = {
    {"Menu Command", "Men\xFC" "befehl", 175},
    {"Shortcut", "K\xFC" "rzel", 136},
};

constexpr std::size_t kCellSize = 256;

void SetText(HWND dialog, int control, const char* text) {
  if (HWND window = GetDlgItem(dialog, control)) SetWindowTextA(window, text);
}

// A menu label as a list shows it: "&&" is an ampersand, a single "&" only
// marks the menu's access key.
void PlainLabel(const char* label, char (&out)[kCellSize]) {
  std::size_t n = 0;
  for (const char* c = label; *c && n + 1 < kCellSize; ++c) {
    if (*c == '&') {
      if (c[1] != '&') continue;
      ++c;
    }
    out[n++] = *c;
  }
  out[n] = '\0';
}

void SelectPage(HWND dialog) {
  SendDlgItemMessageA(dialog, kPageList, LB_SETCURSEL, WPARAM(PreferencesPage), 0);
  ShowPreferencesPage(dialog);
}

void FillPageList(HWND dialog) {
  const char* const entries[kPreferencesPageCount] = {kProductName, DialogLabelTable[kGeneralRow],
                                                      DialogLabelTable[kHistoryRow], DialogLabelTable[kShortcutsRow]};
  for (const char* entry : entries) SendDlgItemMessageA(dialog, kPageList, LB_ADDSTRING, 0, LPARAM(entry));
  SendDlgItemMessageA(dialog, kPageList, LB_SETCURSEL, WPARAM(PreferencesPage), 0);
}

void FillInterpolationList(HWND dialog) {
  for (const char* name : HostIsGerman ? kGermanInterpolationNames : kInterpolationNames)
    SendDlgItemMessageA(dialog, kInterpolationBox, CB_ADDSTRING, 0, LPARAM(name));
}

void InsertCell(HWND list, int row, int column, const char* text) {
  LVITEMA item{};
  item.iItem = row;
  item.iSubItem = column;
  item.mask = LVIF_TEXT;
  item.pszText = const_cast<char*>(text);
  if (column == 0) SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
  else SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&item));
}

void FillShortcutList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kShortcutList);
  if (!list) return;
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(HostIsGerman ? kShortcutColumns[i].german : kShortcutColumns[i].english);
    column.cx = kShortcutColumns[i].width;
    column.iSubItem = i;
    SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&column));
  }
  int row = 0;
  for (const ShortcutRow& shortcut : ShortcutTable) {
    if (!VersionPairAdmits(shortcut.VersionA, shortcut.VersionB, HostMajorVersion)) continue;
    char name[kCellSize] = "";
    if (shortcut.Kind == kShortcutCommand) {
      const int index = CommandIndex(shortcut.Code);
      if (index >= 0) PlainLabel(MenuLabels[index], name);
    } else if (shortcut.Kind >= 0 && std::size_t(shortcut.Kind) < kShortcutKindCount) {
      std::snprintf(name, sizeof name, "%s", ShortcutKindNames[shortcut.Kind]);
    }
    char keys[kShortcutTextSize] = "";
    FormatShortcut(shortcut, keys);
    InsertCell(list, row, 0, name);
    InsertCell(list, row, 1, keys);
    ++row;
  }
}

void OpenDialog(HWND dialog) {
  char title[128];
  std::snprintf(title, sizeof title, "%s %s", kProductName, DialogLabelTable[kTitleRow]);
  SetWindowTextA(dialog, title);
  SetText(dialog, kOkButton, DialogLabelTable[kOkRow]);
  SetText(dialog, kCancelButton, DialogLabelTable[kCancelRow]);
  SetText(dialog, kResetButton, DialogLabelTable[kResetRow]);
  SetText(dialog, kPrevButton, DialogLabelTable[kPrevRow]);
  SetText(dialog, kNextButton, DialogLabelTable[kNextRow]);
  FillPageList(dialog);
  if (HostIsGerman)
    for (const GermanText& german : kGermanCheckBoxes) SetText(dialog, german.control, german.text);
  FillInterpolationList(dialog);
  if (HostMajorVersion < 4) EnableWindow(GetDlgItem(dialog, 1031), FALSE);
  if (HostMajorVersion < 6)
    for (int control = 1033; control <= 1038; ++control)
      if (HWND box = GetDlgItem(dialog, control)) EnableWindow(box, FALSE);
  if (ModuleActive) FillShortcutList(dialog);
  SettingsBackup = SettingsRecord;
  SettingsToControls(dialog);
  ShowPreferencesPage(dialog);
  CenterOverMainWindow(dialog);
}

// The dialog closes whatever the host makes of the preferences: a suite that
// cannot be had must not keep it open, nor unwind through the dialog manager.
void ApplyAndClose(HWND dialog, INT_PTR result) {
  try {
    ApplyPreferences();
  } catch (...) {
  }
  EndDialog(dialog, result);
}

void RestoreSettings(HWND dialog) {
  SettingsRecord = SettingsBackup;
  SettingsToControls(dialog);
}

void OnCommand(HWND dialog, int control) {
  if (control == kPageList) {
    const LRESULT selected = SendDlgItemMessageA(dialog, kPageList, LB_GETCURSEL, 0, 0);
    if (selected >= 0 && selected < kPreferencesPageCount) {
      PreferencesPage = int(selected);
      ShowPreferencesPage(dialog);
    }
  } else if (control == kPrevButton) {
    if (PreferencesPage >= 1) {
      --PreferencesPage;
      SelectPage(dialog);
    }
  } else if (control == kNextButton) {
    if (PreferencesPage < kPreferencesPageCount - 1) {
      ++PreferencesPage;
      SelectPage(dialog);
    }
  } else if (control >= kFirstCheckBox && control < kFirstCheckBox + int(kSettingsCount) &&
             control != kFirstCheckBox + int(kSettingInterpolation)) {
    const LRESULT state = SendDlgItemMessageA(dialog, control, BM_GETCHECK, 0, 0);
    SettingsRecord[std::size_t(control - kFirstCheckBox)] = state == BST_CHECKED ? 1 : 0;
  } else if (control == kInterpolationBox) {
    // Nothing chosen yet (a stored value outside the list) leaves the value.
    const LRESULT selected = SendDlgItemMessageA(dialog, kInterpolationBox, CB_GETCURSEL, 0, 0);
    if (selected >= 0) SettingsRecord[kSettingInterpolation] = std::int32_t(selected);
  } else if (control == kOkButton || control == IDOK) {
    ApplyAndClose(dialog, 1);
  } else if (control == kResetButton) {
    RestoreSettings(dialog);
  } else if (control == kCancelButton || control == IDCANCEL) {
    RestoreSettings(dialog);
    ApplyAndClose(dialog, 0);
  }
}

}  // namespace

void ShowPreferencesPage(HWND dialog) {
  for (int page = 0; page < kPreferencesPageCount; ++page)
    for (const int control : kPageControls[page]) {
      if (control == 0) break;
      if (HWND window = GetDlgItem(dialog, control)) ShowWindow(window, page == PreferencesPage ? SW_SHOW : SW_HIDE);
    }
  if (HWND unused = GetDlgItem(dialog, kUnusedCheckBox)) ShowWindow(unused, SW_HIDE);
}

void SettingsToControls(HWND dialog) {
  for (std::size_t index = 0; index < kSettingsCount; ++index) {
    if (index == kSettingInterpolation) {
      SendDlgItemMessageA(dialog, kInterpolationBox, CB_SETCURSEL, WPARAM(SettingsRecord[index]), 0);
      continue;
    }
    const WPARAM state = SettingsRecord[index] != 0 ? BST_CHECKED : BST_UNCHECKED;
    SendDlgItemMessageA(dialog, kFirstCheckBox + int(index), BM_SETCHECK, state, 0);
  }
}

INT_PTR CALLBACK PreferencesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  // Nothing may escape into the dialog manager.
  try {
    if (message == WM_INITDIALOG) {
      OpenDialog(dialog);
      return TRUE;
    }
    if (message == WM_COMMAND) {
      OnCommand(dialog, LOWORD(wParam));
      return TRUE;
    }
  } catch (...) {
  }
  return FALSE;
}

int RunPreferencesDialog(HWND owner, int page) {
  PreferencesPage = page >= 0 && page < kPreferencesPageCount ? page : 0;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  const INT_PTR result =
      DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(kPreferencesDialogId), owner, PreferencesDialogProc, 0);
  return result == 1 ? 1 : 0;
}
