#include <windows.h>

#include <cstdint>
#include <optional>

#include "adjustments/dialog_state.h"
#include "commands/dispatcher.h"
#include "commands/masks.h"
#include "commands/smart_filters.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/layer_queries.h"
#include "menus/adjustment_popup.h"
#include "menus/filter_menu.h"
#include "menus/host_menu_ids.h"
#include "menus/menu_drawing.h"
#include "menus/menu_insertion.h"
#include "modes/quick_mask.h"
#include "ui/procedure_state.h"
#include "ui/window_procedures.h"

namespace {

// WM_COMMAND identifiers that go to the dispatcher, compared with the whole
// wParam: an accelerator's notification code makes it the host's.
constexpr WPARAM kFirstDispatchedCommand = 0x8600;
constexpr WPARAM kLastDispatchedCommand = 0x8A00;

// The host's command that opens the Filter menu's last filter again; on a
// smart object its pixels must be made editable first.
constexpr WPARAM kHostFilterCommand = host_menu::kLastFilter;

// Items of pop-ups the host tracks itself, run when the menu loop ends.
constexpr std::uint16_t kHistoryOptions = 0x8872;
constexpr std::uint16_t kFirstNewAdjustment = 0x885D;  // Curves ...
constexpr std::uint16_t kLastNewAdjustment = 0x8863;   // ... Selective Color
constexpr std::uint16_t kHostThumbnailSize = host_menu::kThumbnailSize;     // the Layers panel's thumbnail size options

constexpr std::size_t kThumbnailSizeNotice = 4;  // MessageTable

// Every mnemonic key in an open menu closes nothing and chooses nothing.
constexpr LRESULT kMenuCharAnswer = 0x0002FFFF;

bool IsNewAdjustment(std::uint16_t id) { return id >= kFirstNewAdjustment && id <= kLastNewAdjustment; }

bool RunsWhenMenuEnds(std::uint16_t id) {
  return id == kHistoryOptions || (HostMajorVersion >= 8 && IsNewAdjustment(id)) || id == kHostThumbnailSize;
}

using Answer = std::optional<LRESULT>;  // empty: pass the message on

Answer OnCommand(WPARAM wParam) {
  // A tool dialog of the module runs its own message loop inside a host
  // call: nothing may start another command now.
  if (ToolDialogRunning) return 1;
  const std::int32_t id = LOWORD(wParam);
  char templateLayer[kFilterTextSize] = {};
  char historyName[kFilterTextSize] = {};
  std::int32_t filterIndex = 0;
  if (LookupFilterCommand(id, templateLayer, &filterIndex, historyName) && IsSmartObjectLayer() &&
      ApplyFilterAsSmartFilter(templateLayer, filterIndex, historyName))
    return 1;
  if (HostMajorVersion >= 6 && wParam == kHostFilterCommand) {
    if (IsSmartObjectLayer() && EnsureEditableLayer() == 0) return 1;
    return {};
  }
  if (wParam >= kFirstDispatchedCommand && wParam <= kLastDispatchedCommand) {
    DispatchCommand(std::uint32_t(wParam));
    return 1;
  }
  return {};
}

void OnInitMenuPopup(HMENU popup) {
  if (CursorOverAdjustmentButton())
    AppendAdjustmentItems(popup);
  else
    UpdatePopupMenu(popup);
}

void OnMenuSelect(WPARAM wParam) {
  const std::uint16_t item = LOWORD(wParam);
  if ((HIWORD(wParam) & MF_MOUSESELECT) && item != 0) {
    LastMenuPick = item;
    MenuClickSeen = false;
  }
}

void RunMenuPick(std::uint16_t id) {
  if (id == kHostThumbnailSize) {
    if (MessageShownOnce) return;
    MessageShownOnce = true;
    ShowMessage(kProductName, "%s", MessageTable[kThumbnailSizeNotice]);
    return;
  }
  DispatchCommand(id);
}

void OnExitMenuLoop(bool shortcutMenu) {
  const std::uint16_t pick = LastMenuPick;
  // Only a click on the item runs it: the mouse released over the main
  // window while it was highlighted, in a shortcut menu.
  const bool runs = RunsWhenMenuEnds(pick) && shortcutMenu && MenuClickSeen;
  LastMenuPick = 0;
  MenuClickSeen = false;
  if (AdjustmentPopup) {
    // An item that opens the host's own adjustment dialog has it confirmed.
    // Only for an item that runs now: a flag left over would press Enter in
    // whatever window is activated next.
    if (runs && IsNewAdjustment(pick) && HostMajorVersion >= 11) AutoConfirmPending = true;
    RemoveAdjustmentItems();
  }
  // The dialog the item opened has been shown and closed when it returns.
  struct ClearAutoConfirm {
    ~ClearAutoConfirm() { AutoConfirmPending = false; }
  } clearAfterRun;
  if (runs) RunMenuPick(pick);
}

void OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) != WA_INACTIVE || !AutoConfirmPending) return;
  AutoConfirmPending = false;
  constexpr BYTE kReturnScanCode = 0x9C;
  keybd_event(VK_RETURN, kReturnScanCode, 0, 0);
  keybd_event(VK_RETURN, kReturnScanCode, KEYEVENTF_KEYUP, 0);
}

Answer HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam);
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return {};
    case WM_MENUSELECT:
      OnMenuSelect(wParam);
      return {};
    case WM_MENUCHAR:
      return kMenuCharAnswer;
    case WM_EXITMENULOOP:
      OnExitMenuLoop(wParam != 0);
      return {};
    case WM_ACTIVATE:
      OnActivate(wParam);
      return {};
    case WM_TIMER:
      if (wParam != kQuickMaskCloseTimer) return {};
      OnQuickMaskCloseTimer(window);
      return 0;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!item || item->CtlType != ODT_MENU) return {};
      if (IsModuleSeparator(item->itemData)) return MeasureModuleSeparator(*item);
      if (IsOwnerDrawnId(item->itemID)) return MeasureMenuItem(window, *item);
      return {};
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!item || item->CtlType != ODT_MENU) return {};
      if (IsModuleSeparator(item->itemData)) return DrawModuleSeparator(*item);
      if (IsOwnerDrawnId(item->itemID)) return DrawMenuItem(*item);
      return {};
    }
    default:
      return {};
  }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ProceduresIdle) {
    try {
      if (const Answer answer = HandleMainWindowMessage(window, message, wParam, lParam)) return *answer;
    } catch (...) {
      // The editor's message loop must never see the module's failure: the
      // message goes on as if the module had not looked at it.
    }
  }
  return PassOn(SavedMainProc, window, message, wParam, lParam);
}
