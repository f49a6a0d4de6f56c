#include "adjustments/smart_filter_dialog.h"

#include <algorithm>
#include <string>

#include "commands/smart_filters.h"
#include "entry/module_state.h"
#include "localization/dialog_labels.h"

namespace {

constexpr std::size_t kEditRow = 21, kBlendingRow = 22, kToggleRow = 23, kDisableRow = 24, kEnableRow = 25,
                      kDeleteRow = 26;

bool Changed = false;

// Remembers that a change the host made stands.
void Note(std::int32_t result) {
  if (result == 0) Changed = true;
}

// From version 8 one button shows or hides the chosen filter, and the list
// tells which filters are shown.
bool OneToggleButton() { return HostMajorVersion > 7; }

void SetLabel(HWND dialog, int control, std::size_t row) { SetDlgItemTextA(dialog, control, DialogLabelTable[row]); }

int RowCount(HWND dialog) {
  const LRESULT count = SendDlgItemMessageA(dialog, kSmartFilterList, LB_GETCOUNT, 0, 0);
  return count > 0 ? int(count) : 0;
}

// The index of the filter the chosen row shows (the top row shows the
// highest); 0 when no row is chosen.
std::int32_t ChosenFilter(HWND dialog) {
  const LRESULT row = SendDlgItemMessageA(dialog, kSmartFilterList, LB_GETCURSEL, 0, 0);
  const int rows = RowCount(dialog);
  if (row < 0 || row >= rows) return 0;
  return std::int32_t(rows - int(row));
}

}  // namespace

void FillSmartFilterList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kSmartFilterList);
  if (!list) return;
  const LRESULT chosen = SendMessageA(list, LB_GETCURSEL, 0, 0);
  const std::int32_t listed = ListSmartFilters();
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  if (listed < 1) return;
  const int count = int(std::min<std::size_t>({std::size_t(listed), kSmartFilterItemLimit, SmartFilterNames.size()}));
  for (int position = count - 1; position >= 0; --position) {
    std::string text;
    if (OneToggleButton()) text = SmartFilterShownState(position + 1) == 1 ? "+ " : "- ";
    text += SmartFilterNames[std::size_t(position)];
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM(text.c_str()));
  }
  // The row chosen before, or the last one when the list has grown shorter
  // than that; the first when none was.
  int row = chosen >= 0 ? int(chosen) : 0;
  if (row >= count) row = count - 1;
  SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0);
}

bool SmartFilterDialogChanged() { return Changed; }

void OpenSmartFilterDialog(HWND dialog) {
  Changed = false;
  SetLabel(dialog, kEditFilterButton, kEditRow);
  SetLabel(dialog, kBlendingButton, kBlendingRow);
  SetLabel(dialog, kDeleteFilterButton, kDeleteRow);
  if (!OneToggleButton()) {
    SetLabel(dialog, kDisableButton, kDisableRow);
    SetLabel(dialog, kEnableButton, kEnableRow);
  } else {
    SetLabel(dialog, kDisableButton, kToggleRow);
    // Delete takes the place of the Enable button, which goes.
    HWND enable = GetDlgItem(dialog, kEnableButton), remove = GetDlgItem(dialog, kDeleteFilterButton);
    RECT place{};
    if (enable && remove && GetWindowRect(enable, &place)) {
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
      SetWindowPos(remove, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (enable) ShowWindow(enable, SW_HIDE);
  }
  FillSmartFilterList(dialog);
}

bool SmartFilterDialogCommand(HWND dialog, int control, WORD code) {
  if (control == kSmartFilterList) {
    if (code == LBN_DBLCLK)
      if (const std::int32_t index = ChosenFilter(dialog)) Note(EditSmartFilter(index));
    return true;
  }
  if (control < kEditFilterButton || control > kDeleteFilterButton) return false;
  if (code != BN_CLICKED) return true;
  const std::int32_t index = ChosenFilter(dialog);
  if (index == 0) return true;
  switch (control) {
    case kEditFilterButton: Note(EditSmartFilter(index)); break;
    case kBlendingButton: Note(EditSmartFilterBlending(index)); break;
    case kDisableButton:
      if (OneToggleButton()) {
        // A state that cannot be read is not guessed at: nothing changes.
        if (const int shown = SmartFilterShownState(index); shown >= 0) Note(ShowSmartFilter(index, shown == 1 ? 0 : 1));
        FillSmartFilterList(dialog);
      } else {
        Note(ShowSmartFilter(index, 0));
      }
      break;
    case kEnableButton:
      if (!OneToggleButton()) Note(ShowSmartFilter(index, 1));
      break;
    case kDeleteFilterButton:
      Note(DeleteSmartFilter(index));
      FillSmartFilterList(dialog);
      break;
  }
  return true;
}
