#include <windows.h>
#include <windowsx.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "adjustments/dialog_state.h"
#include "adjustments/host_vibrance.h"
#include "commands/dispatcher.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/layer_queries.h"
#include "localization/host_language.h"
#include "menus/command_table.h"
#include "ui/panel_buttons.h"
#include "ui/procedure_state.h"
#include "ui/view_rects.h"
#include "ui/window_procedures.h"

namespace {

constexpr std::uint32_t kEditSmartFilters = 0x882B;
constexpr std::uint32_t kEditContents = 0x8836;

// Adjustment layers whose own dialog the host opens on a double click.
constexpr std::array<std::string_view, 11> HostEditedKinds = {
    "solidColorLayer", "gradientLayer", "patternLayer", "levels", "brightnessEvent", "hueSaturation",
    "gradientMapClass", "photoFilter", "invert", "thresholdClassEvent", "posterization"};

// Adjustment layers the host cannot edit itself: the module's named command
// edits them in a history step named with the label of the command that
// makes such a layer.
struct ModuleEditedKind {
  std::string_view kind;
  const char* command;
  std::int32_t stepLabelOf;
};

constexpr std::array<ModuleEditedKind, 7> ModuleEditedKinds = {{
    {"curves", "Edit Curves", 0x885D},
    {"exposure", "Edit Exposure", 0x885E},
    {"vibrance", "Edit Vibrance", 0x885F},
    {"colorBalance", "Edit ColorBalance", 0x8860},
    {"blackAndWhite", "Edit Black & White", 0x8861},
    {"channelMixer", "Edit ChannelMixer", 0x8862},
    {"selectiveColor", "Edit SelectiveColor", 0x8863},
}};

constexpr std::size_t kKindNameSize = 128;

bool IsHostEdited(std::string_view kind) {
  for (std::string_view k : HostEditedKinds)
    if (k == kind) return true;
  return false;
}

const ModuleEditedKind* FindModuleEdited(std::string_view kind) {
  for (const ModuleEditedKind& k : ModuleEditedKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

bool CursorInThumbnailColumn(HWND view) {
  ScreenRect client;
  if (!ClientRectOnScreen(view, client)) return false;
  return CursorIn(ThumbnailColumn(client, LayerThumbnailSize, HostMajorVersion, IsLayerGrouped()));
}

using Answer = std::optional<LRESULT>;  // empty: pass the message on

// A double click on an adjustment layer's or a smart object's thumbnail
// opens the module's editing where the host has none.
Answer OnDoubleClick(HWND view) {
  char kind[kKindNameSize] = {};
  if (GetAdjustmentKindName(kind, sizeof kind) && kind[0]) {
    if (IsHostEdited(kind)) return {};
    if (!CursorInThumbnailColumn(view)) return {};
    if (HostMajorVersion >= 11 && std::strcmp(kind, "vibrance") == 0 && EditVibranceWithHostAdjustment()) return 1;
    if (const ModuleEditedKind* edited = FindModuleEdited(kind))
      RunNamedHistoryStep(edited->command, CommandLabel(edited->stepLabelOf));
    // An adjustment the module does not know is not the host's to open either.
    return 1;
  }
  if (!IsSmartObjectLayer()) return {};
  if (CursorInThumbnailColumn(view)) {
    DispatchCommand(kEditContents);
    return 1;
  }
  if (SmartFilterBadgeHit(false)) return 1;
  return {};
}

Answer HandleLayersViewMessage(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  RelayToTooltips(view, message, wParam, lParam);
  switch (message) {
    case WM_NCHITTEST:
      TrackPanelButtonHover(view, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return {};
    case WM_PAINT:
      PassOn(SavedLayersProc, view, message, wParam, lParam);
      DrawPanelButtons(view);
      return 1;
    case WM_LBUTTONDOWN:
      // While a tool dialog of the module runs, the panel must not start
      // another command.
      if (ToolDialogRunning) return 1;
      if (SmartFilterBadgeHit(false)) return 1;
      if (ClickPanelButton(view, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) return 1;
      return {};
    case WM_LBUTTONDBLCLK:
      if (ToolDialogRunning) return 1;
      return OnDoubleClick(view);
    default:
      return {};
  }
}

}  // namespace

bool SmartFilterBadgeHit(bool testOnly) {
  if (CountSmartFilters() < 1) return false;
  ScreenRect client;
  if (!ClientRectOnScreen(LayersView, client)) return false;
  if (!CursorIn(SmartFilterBadgeColumn(client, HostMajorVersion))) return false;
  if (!testOnly) DispatchCommand(kEditSmartFilters);
  return true;
}

LRESULT CALLBACK LayersViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!ProceduresIdle) {
    try {
      if (const Answer answer = HandleLayersViewMessage(window, message, wParam, lParam)) return *answer;
    } catch (...) {
      // Nothing the module throws may reach the editor: the message goes on.
    }
  }
  return PassOn(SavedLayersProc, window, message, wParam, lParam);
}
