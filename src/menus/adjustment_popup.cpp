#include "menus/adjustment_popup.h"

#include <cstddef>

#include "entry/module_state.h"
#include "menus/command_table.h"
#include "menus/menu_drawing.h"
#include "ui/view_rects.h"

HMENU AdjustmentPopup = nullptr;

namespace {

// Rows of the new-adjustment-layer commands: Curves, Exposure, Vibrance,
// Color Balance, Black & White, Channel Mixer, Selective Color.
constexpr std::size_t kFirstAdjustmentRow = 93;
constexpr std::size_t kLastAdjustmentRow = 99;

// Separators appended to AdjustmentPopup, so that exactly they go again.
int AppendedSeparators = 0;

bool IsSeparator(HMENU menu, int position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoA(menu, UINT(position), TRUE, &info) && (info.fType & MFT_SEPARATOR) != 0;
}

}  // namespace

bool CursorOverAdjustmentButton() {
  if (HostMajorVersion < 8 || !LayersView) return false;
  ScreenRect view;
  if (!ClientRectOnScreen(LayersView, view)) return false;
  return CursorIn(AdjustmentButtonRect(view, HostMajorVersion));
}

void AppendAdjustmentItems(HMENU popup) {
  if (!popup || !IsMenu(popup)) return;
  if (AdjustmentPopup == popup) return;
  if (AdjustmentPopup) RemoveAdjustmentItems();
  AdjustmentPopup = popup;
  AppendedSeparators = 0;
  for (std::size_t row = kFirstAdjustmentRow; row <= kLastAdjustmentRow; ++row) {
    if (!CommandExists(row, HostMajorVersion)) continue;
    // The pop-up is the Layers panel's own, drawn by the editor in every
    // version that has it: the module's items and separators are drawn too.
    if (CommandTable[row].Separator == kSeparatorBefore &&
        AppendMenuA(popup, MF_SEPARATOR | MF_OWNERDRAW, 0, reinterpret_cast<LPCSTR>(kModuleSeparatorData)))
      ++AppendedSeparators;
    AppendMenuA(popup, MF_OWNERDRAW, UINT_PTR(CommandId(row)), nullptr);
  }
}

void RemoveAdjustmentItems() {
  HMENU popup = AdjustmentPopup;
  AdjustmentPopup = nullptr;
  const int separators = AppendedSeparators;
  AppendedSeparators = 0;
  if (!popup || !IsMenu(popup)) return;
  for (std::size_t row = kFirstAdjustmentRow; row <= kLastAdjustmentRow; ++row)
    RemoveMenu(popup, UINT(CommandId(row)), MF_BYCOMMAND);
  // With the commands gone, the module's separators are the last items; an
  // item of the editor's that ended up behind them is not taken instead.
  for (int k = 0; k < separators; ++k) {
    const int last = GetMenuItemCount(popup) - 1;
    if (last < 0 || !IsSeparator(popup, last)) break;
    RemoveMenu(popup, UINT(last), MF_BYPOSITION);
  }
}
