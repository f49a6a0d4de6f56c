#include "commands/dispatcher.h"

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "adjustments/adjustment_layers.h"
#include "adjustments/direct_adjustment.h"
#include "adjustments/module_dialogs.h"
#include "commands/channels.h"
#include "commands/document_commands.h"
#include "commands/layer_arrangement.h"
#include "commands/groups.h"
#include "commands/masks.h"
#include "commands/script_files.h"
#include "commands/smart_filters.h"
#include "commands/smart_objects.h"
#include "commands/text_commands.h"
#include "entry/entry_point.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/layer_queries.h"
#include "localization/dictionary.h"
#include "localization/text_edit.h"
#include "menus/action_script_menus.h"
#include "menus/command_table.h"
#include "modes/quick_mask.h"
#include "modes/script_bridge.h"
#include "modes/sixteen_bit.h"
#include "ui/file_chooser.h"
#include "host_types.h"

namespace {

constexpr std::int32_t kCancelled = host::kInterruptedError;

// The work of each named command. Names are tried in this order, and a
// given name runs the first entry it begins with; so "Mask Hide All" must
// come before anything it could be mistaken for.
using NamedWork = std::int32_t (*)();

// A mask the host refuses ends the command with `intr`, so that no empty
// step is left in the history.
std::int32_t MaskRevealAll() { return AddLayerMask(MaskKind::RevealAll); }
std::int32_t MaskHideAll() { return AddLayerMask(MaskKind::HideAll); }
std::int32_t MaskRevealSelection() { return AddLayerMask(MaskKind::RevealSelection); }
std::int32_t MaskHideSelection() { return AddLayerMask(MaskKind::HideSelection); }

// Adjusting pixels through a clipped adjustment layer, and re-editing one.
// Each fails the step (the host drops it) when anything in it failed.
template <AdjustmentKind kind>
std::int32_t AdjustAs() {
  return AdjustAsFilter(kind) ? 0 : kCancelled;
}
std::int32_t EditAdjustment() { return EditAdjustmentLayer() ? 0 : kCancelled; }

// Some adjustments are the host's in some versions only; in the others the
// module's own dialog does the work.
bool HostAdjustsExposureAndVibrance() { return HostMajorVersion >= 11; }
bool HostAdjustsBlackAndWhite() { return HostMajorVersion == 7; }
bool HostEditsBlackAndWhite() { return HostMajorVersion == 7 || HostMajorVersion >= 11; }

// The module's own dialogs; Cancel fails the step, which the host drops.
std::int32_t Succeeded(bool done) { return done ? 0 : kCancelled; }
std::int32_t FadeDialog() { return Succeeded(RunKindDialog(DialogKind::Fade)); }
std::int32_t FillOpacityDialog() { return Succeeded(RunKindDialog(DialogKind::FillOpacity)); }
std::int32_t TrackingDialog() { return Succeeded(RunKindDialog(DialogKind::Tracking)); }
std::int32_t EditSmartFiltersDialog() { return Succeeded(RunKindDialog(DialogKind::EditSmartFilters)); }
template <AdjustmentKind kind>
std::int32_t NewInModuleDialog() {
  return Succeeded(NewAdjustmentWithModuleDialog(kind));
}
// Below version 11 (and for Black & White not on 7) the module's dialog
// adjusts and edits Exposure, Vibrance and Black & White.
template <AdjustmentKind kind>
std::int32_t AdjustInDialogOrHost() {
  const bool host = kind == AdjustmentKind::BlackAndWhite ? HostAdjustsBlackAndWhite() : HostAdjustsExposureAndVibrance();
  return host ? AdjustAs<kind>() : Succeeded(AdjustWithModuleDialog(kind));
}
template <AdjustmentKind kind>
std::int32_t EditInDialogOrHost() {
  const bool host = kind == AdjustmentKind::BlackAndWhite ? HostEditsBlackAndWhite() : HostAdjustsExposureAndVibrance();
  return host ? EditAdjustment() : Succeeded(EditWithModuleDialog(kind));
}

struct NamedCommand {
  std::string_view name;
  NamedWork work;  // null: the work is not part of the module yet
  bool (*builtFor)() = nullptr;  // the host versions the work serves; null: all
};

constexpr std::array<NamedCommand, 41> kNamedCommands = {{
    {"Fade", FadeDialog},
    {"Fill", FillOpacityDialog},
    {"Tracking", TrackingDialog},
    {"Edit Smart Filters", EditSmartFiltersDialog},
    {"Mask Reveal All", MaskRevealAll},
    {"Mask Hide All", MaskHideAll},
    {"Mask Reveal Selection", MaskRevealSelection},
    {"Mask Hide Selection", MaskHideSelection},
    {"Mask Delete", MaskDelete},
    {"Mask Apply", MaskApply},
    {"Mask Disable", MaskToggleEnabled},
    {"Mask Unlink", MaskToggleLinked},
    {"Vector Mask From Selection", VectorMaskFromSelection},
    {"Vector Mask From Shape", VectorMaskFromShape},
    {"Store Group", StoreGroupProperties},
    {"Restore Group", RestoreGroup},
    {"Create New Group", CreateNewGroup},
    {"Create Smart Object", CreateSmartObject},
    {"Disable Smart Filters", DisableSmartFilters},
    {"Enable Smart Filters", EnableSmartFilters},
    {"Clear Filter Mask", ClearFilterMask},
    {"Ungroup Layers", UngroupLayers},
    {"Start Quick Mask", EnterQuickMask},
    {"End Quick Mask", LeaveQuickMask},
    {"Exposure", NewInModuleDialog<AdjustmentKind::Exposure>},
    {"Vibrance", NewInModuleDialog<AdjustmentKind::Vibrance>},
    {"Black & White", NewInModuleDialog<AdjustmentKind::BlackAndWhite>},
    {"AdjustmentFilter Curves", AdjustAs<AdjustmentKind::Curves>},
    {"AdjustmentFilter ChannelMixer", AdjustAs<AdjustmentKind::ChannelMixer>},
    {"AdjustmentFilter ColorBalance", AdjustAs<AdjustmentKind::ColorBalance>},
    {"AdjustmentFilter SelectiveColor", AdjustAs<AdjustmentKind::SelectiveColor>},
    {"AdjustmentFilter Black & White", AdjustInDialogOrHost<AdjustmentKind::BlackAndWhite>},
    {"AdjustmentFilter Exposure", AdjustInDialogOrHost<AdjustmentKind::Exposure>},
    {"AdjustmentFilter Vibrance", AdjustInDialogOrHost<AdjustmentKind::Vibrance>},
    {"Edit Curves", EditAdjustment},
    {"Edit ChannelMixer", EditAdjustment},
    {"Edit ColorBalance", EditAdjustment},
    {"Edit SelectiveColor", EditAdjustment},
    {"Edit Black & White", EditInDialogOrHost<AdjustmentKind::BlackAndWhite>},
    {"Edit Exposure", EditInDialogOrHost<AdjustmentKind::Exposure>},
    {"Edit Vibrance", EditInDialogOrHost<AdjustmentKind::Vibrance>},
}};

const NamedCommand* FindNamedCommand(std::string_view name) {
  for (const NamedCommand& command : kNamedCommands)
    if (name.starts_with(command.name)) return &command;
  return nullptr;
}

// Whether the module can do the work of a named command. A command whose
// work it cannot do yet is not started at all: no question is asked and no
// empty step is left for the host to drop.
bool Available(const NamedCommand* command) {
  return command && command->work && (!command->builtFor || command->builtFor());
}
bool Available(const char* command) { return Available(FindNamedCommand(command)); }

// A command row that runs as one named history step: the command name the
// step runs, and the label that names the step.
void RunNamed(const char* command, const char* stepName) {
  if (Available(command)) RunNamedHistoryStep(command, stepName);
}
// The history shows the label as the menu shows it: a menu's "&&" is one "&".
void RunNamed(const char* command, std::size_t row) {
  char name[kMenuLabelSize] = {};
  std::snprintf(name, sizeof name, "%s", MenuLabels[row]);
  ReplaceAll(name, sizeof name, "&&", "&");
  RunNamed(command, name);
}

// Direct commands of several events that only make sense whole: run as one
// history step named after the item, which the host drops, putting back
// everything played before, when a part fails. `data` is the work.
host::SPErr WholeStepProcedure(void* data) {
  // Nothing may escape into the host's call.
  try {
    const NamedWork work = data ? *static_cast<const NamedWork*>(data) : nullptr;
    if (!work) return kCancelled;
    return work() == 0 ? 0 : kCancelled;
  } catch (...) {
    return kCancelled;
  }
}
void RunWhole(NamedWork work, std::size_t row) {
  RunHistoryStep(WholeStepProcedure, &work, MenuLabels[row]);
}

// Commands that change the pixels of the target layer first ask whether a
// smart object may be simplified; the named ones only when they can run.
bool Guard() { return EnsureEditableLayer() != 0; }
void GuardedNamed(const char* command, std::size_t row) {
  if (Available(command) && Guard()) RunNamed(command, row);
}
void GuardedDirect(TypeID event) {
  if (Guard()) ApplyAdjustmentDirectly(event);
}

// Rows 93 to 99: a new adjustment layer in the host's own dialog, which
// first asks for the layer's properties.
void NewAdjustmentLayer(AdjustmentKind kind) { MakeAdjustmentLayer(kind, kDialogShow, {}, false, nullptr, -1, 0); }

// Rows 15 to 21: the channel commands; 22: Show All.
void ShowAll() {
  if (GetChannelMask(true) == kAllColorBits) {
    ShowAllChannels = false;
    SelectChannelCommand(0);
  } else {
    ShowColorChannels();
    ShowAllChannels = true;
  }
}

// Row 0: the Organizer, or the editor's own command when it cannot start.
void BrowseInOrganizer() {
  if (StartOrganizer()) return;
  if (MainWindow) SendMessageA(MainWindow, WM_COMMAND, HostMajorVersion == 9 ? 61441 : 16229, 0);
}

// Row 44: one item that disables the smart filters when they are shown and
// shows them when they are not.
// A state that cannot be read is not guessed at: nothing is done.
void ToggleSmartFilters() {
  const int shown = HostMajorVersion < 8 ? 1 : SmartFilterShownState(1);
  if (shown == 1)
    RunNamed("Disable Smart Filters", AltLabels[4]);
  else if (shown == 0)
    RunNamed("Enable Smart Filters", AltLabels[5]);
}

// Rows 69 and 70 name their step after the submenu and the item.
void VectorMaskCommand(const char* command, std::size_t row) {
  char name[2 * kMenuLabelSize + 2] = {};
  std::snprintf(name, sizeof name, "%s %s", MenuLabels[68], MenuLabels[row]);
  RunNamed(command, name);
}

// Row 101: one item that starts the mode and ends it. The toggle follows
// the step the host kept: a start that was dropped leaves the mode off, an
// end that was dropped leaves it on to be tried again, unless there was
// nothing left to end.
void QuickMaskCommand() {
  constexpr std::size_t kRow = 101;
  // With every document closed no mode is left to end.
  if (!IsDocumentOpen(false)) {
    SetQuickMaskActive(false);
    return;
  }
  if (!QuickMaskActive) {
    if (RunNamedHistoryStep("Start Quick Mask", MenuLabels[kRow]) == 0) SetQuickMaskActive(true);
    return;
  }
  // The label without its "..." and the host's word for "Off".
  const std::string off = LocalizeString("$$$/BrushDynamics/Off=Off");
  const std::size_t length = std::strlen(MenuLabels[kRow]);
  char name[2 * kMenuLabelSize] = {};
  std::snprintf(name, sizeof name, "%.*s %s", int(length >= 3 ? length - 3 : 0), MenuLabels[kRow], off.c_str());
  if (RunNamedHistoryStep("End Quick Mask", name) == 0 || QuickMaskLeftNothing()) SetQuickMaskActive(false);
}

// Row 6: every action set goes, and none is loaded again at the next start.
void ClearAllActionsAfterQuestion() {
  constexpr std::size_t kDeleteAllActionsQuestion = 3;  // MessageTable
  if (MessageBoxA(MainWindow, MessageTable[kDeleteAllActionsQuestion], kProductName,
                  MB_OKCANCEL | MB_ICONWARNING) != IDOK)
    return;
  LoadedActionFiles.clear();
  ClearAllActions();
}

void RunTableCommand(std::size_t row) {
  const int v = HostMajorVersion;
  switch (row) {
    case 0: BrowseInOrganizer(); break;
    case 1: if (OpenAsSmartObjectCommand()) RunNamed("Create Smart Object", row); break;
    case 3: BrowseScript(MenuLabels[3]); break;
    case 5: LoadActionsCommand(MenuLabels[5]); break;
    case 6: ClearAllActionsAfterQuestion(); break;
    case 7: RunNamed("Fade", nullptr); break;  // named after the step it fades
    case 8: SpellCheck(); break;
    case 9: FindReplaceText(); break;
    case 10: ConvertTo16Bit(); break;
    case 11: AutoAlignCommand(); break;
    case 12: AutoBlendLayers(); break;
    case 13: TrimDocument(); break;
    case 15: case 16: case 17: case 18: case 19: case 20: case 21:
      SelectChannelCommand(std::uint32_t(CommandId(row)));
      break;
    case 22: ShowAll(); break;
    case 23: if (Guard()) ApplyImage(); break;
    case 24: v > 3 ? GuardedDirect(FourCC("Crvs")) : GuardedNamed("AdjustmentFilter Curves", row); break;
    case 25: GuardedNamed("AdjustmentFilter Exposure", row); break;
    case 26: v > 3 ? GuardedDirect(FourCC("ChnM")) : GuardedNamed("AdjustmentFilter ChannelMixer", row); break;
    case 27: GuardedNamed("AdjustmentFilter Vibrance", row); break;
    case 28: GuardedNamed("AdjustmentFilter ColorBalance", row); break;
    case 29: GuardedNamed("AdjustmentFilter SelectiveColor", row); break;
    case 30: v < 11 ? GuardedNamed("AdjustmentFilter Black & White", row) : GuardedDirect(FourCC("BanW")); break;
    case 31: ApplyAdjustmentDirectly(FourCC("Shrp")); break;
    case 32: ApplyAdjustmentDirectly(FourCC("ShrM")); break;
    case 33: ApplyAdjustmentDirectly(FourCC("ShrE")); break;
    case 34: RunNamed("Fill", row); break;
    case 35: ConvertTextToShape(); break;
    case 36: case 37: case 38: case 39: SetTextAntiAlias(int(row) - 35); break;
    case 40: ToggleTextType(); break;
    case 41: RunNamed("Tracking", row); break;
    case 43: RunNamed("Edit Smart Filters", row); break;
    case 44: ToggleSmartFilters(); break;
    case 45: RunNamed("Enable Smart Filters", AltLabels[5]); break;
    case 46: ClearSmartFilters(); break;
    case 47: SelectFilterMask(); break;
    case 48: SetFilterMaskEnabled(false); break;
    case 49: SetFilterMaskEnabled(true); break;
    case 50: RunNamed("Clear Filter Mask", row); break;
    case 52: case 110: RunNamed("Create Smart Object", row); break;
    case 53: NewSmartObjectViaCopy(); break;
    case 54: EditSmartObjectContents(); break;
    case 55: ExportSmartObjectContents(""); break;
    case 56: ReplaceSmartObjectContents(""); break;
    case 58: RunNamed("Mask Reveal All", row); break;
    case 59: RunNamed("Mask Hide All", row); break;
    case 60: RunNamed("Mask Reveal Selection", row); break;
    case 61: RunNamed("Mask Hide Selection", row); break;
    case 62: case 67: RunWhole(AddLayerMaskFromTransparency, row); break;
    case 63: RunNamed("Mask Delete", row); break;
    case 64: RunNamed("Mask Apply", row); break;
    case 65: RunNamed("Mask Disable", row); break;
    case 66: RunNamed("Mask Unlink", row); break;
    case 69: VectorMaskCommand("Vector Mask From Selection", row); break;
    case 70: VectorMaskCommand("Vector Mask From Shape", row); break;
    case 71: DeleteVectorMask(); break;
    case 72: RasterizeVectorMask(); break;
    case 73: SetVectorMaskEnabled(false); break;
    case 74: SetVectorMaskEnabled(true); break;
    case 75: GroupLayersCommand(MenuLabels[row]); break;
    case 76: UngroupLayersCommand(MenuLabels[row]); break;
    case 77: HideLayersCommand(); break;
    case 79: case 80: case 81: case 82: case 83: case 84: AlignLayers(int(row) - 79); break;
    case 86: case 87: case 88: case 89: case 90: case 91: DistributeLayers(int(row) - 86); break;
    case 92: RunWhole(StampVisible, row); break;
    case 93: NewAdjustmentLayer(AdjustmentKind::Curves); break;
    // With no document there is no step to run the module's dialog in: the
    // host answers the make event as it does in the later versions.
    case 94: v < 11 && IsDocumentOpen(false) ? RunNamed("Exposure", row) : NewAdjustmentLayer(AdjustmentKind::Exposure); break;
    case 95: v < 11 && IsDocumentOpen(false) ? RunNamed("Vibrance", row) : NewAdjustmentLayer(AdjustmentKind::Vibrance); break;
    case 96: NewAdjustmentLayer(AdjustmentKind::ColorBalance); break;
    case 97:
      v == 7 || v >= 11 || !IsDocumentOpen(false) ? NewAdjustmentLayer(AdjustmentKind::BlackAndWhite)
                                                  : RunNamed("Black & White", row);
      break;
    case 98: NewAdjustmentLayer(AdjustmentKind::ChannelMixer); break;
    case 99: NewAdjustmentLayer(AdjustmentKind::SelectiveColor); break;
    case 100: TransformSelection(); break;
    case 101: QuickMaskCommand(); break;
    case 102: QuickMaskOptions(); break;
    case 104: RunWhole(LoadLayerMaskAsSelection, row); break;
    case 105: LoadChannelAsSelection(FourCC("Trsp")); break;
    case 106: LoadChannelAsSelection(FourCC("RGB ")); break;
    case 107: LoadChannelAsSelection(FourCC("Rd  ")); break;
    case 108: LoadChannelAsSelection(FourCC("Grn ")); break;
    case 109: LoadChannelAsSelection(FourCC("Bl  ")); break;
    case 111: ProofColors(); break;
    case 112: SetPixelAspectRatio("Square", 1.0, true); break;
    case 113: OpenManual(); break;
    case 114: OpenPreferences(2); break;
    case 115: OpenPreferences(0); break;
    default: break;  // submenu parents, and commands whose feature is not in the module yet
  }
}

}  // namespace

std::int32_t DispatchCommand(std::uint32_t id) {
  if (const int row = CommandIndex(std::int32_t(id)); row >= 0) {
    RunTableCommand(std::size_t(row));
  } else if (id >= kFirstSmartFilterItemId && id < kFirstSmartFilterItemId + kSmartFilterItemLimit) {
    EditListedSmartFilter(id - kFirstSmartFilterItemId);
  } else if (id >= kFirstScriptItemId && id < kFirstScriptItemId + kListedItemLimit) {
    RunListedScript(id - kFirstScriptItemId);
  } else if (id >= kFirstActionItemId && id < kFirstActionItemId + kListedItemLimit) {
    PlayListedAction(id - kFirstActionItemId);
  }
  return 0;
}

std::int32_t RunNamedCommand(const char* commandName) {
  if (!commandName) return kCancelled;
  const NamedCommand* command = FindNamedCommand(commandName);
  return Available(command) ? command->work() : kCancelled;
}

std::string_view NamedCommandOf(const char* commandName) {
  if (!commandName) return {};
  const NamedCommand* command = FindNamedCommand(commandName);
  return command ? command->name : std::string_view{};
}

void InstallCommandDispatcher() { SetNamedCommandRunner(RunNamedCommand); }

bool ReadInstallPath(char* folder, std::size_t size) {
  if (!folder || size == 0) return false;
  folder[0] = '\0';
  for (const char* keyName : {"Software\\Dovetailworks\\Quillbright", "Software\\Dovetailworks\\Quillbright64bit"}) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) continue;
    // A stored text need not end in a zero byte: one byte is kept back for it.
    std::string value(size, '\0');
    DWORD type = 0;
    DWORD bytes = DWORD(size - 1);
    const LONG status =
        RegQueryValueExA(key, "InstallPath", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) continue;
    if (type == REG_SZ) {
      const std::size_t length = strnlen(value.c_str(), size - 1);
      std::memcpy(folder, value.data(), length);
      folder[length] = '\0';
      return true;
    }
    if (type == REG_EXPAND_SZ) {
      // A folder that does not fit once expanded is no folder (not a cut one).
      const DWORD needed = ExpandEnvironmentStringsA(value.c_str(), folder, DWORD(size));
      if (needed != 0 && needed <= size) return true;
      folder[0] = '\0';
    }
  }
  return false;
}

bool OpenManual() {
  char folder[512] = {};
  ReadInstallPath(folder, sizeof folder);
  for (const char* file : {"QuillbrightManual.pdf", "Manual.htm"}) {
    char path[600] = {};
    std::snprintf(path, sizeof path, "%s%s", folder, file);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
  }
  return false;
}

bool StartOrganizer() {
  if (!HostIsElements || !MainWindow) return false;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE));
  char path[512] = {};
  const DWORD length = GetModuleFileNameA(instance, path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  const auto cutAtLastBackslash = [&path] {
    char* slash = std::strrchr(path, '\\');
    if (slash) *slash = '\0';
  };
  cutAtLastBackslash();
  const int v = HostMajorVersion;
  char organizer[600] = {};
  if (v >= 3 && v <= 7) {
    std::snprintf(organizer, sizeof organizer, "%s\\PhotoshopElementsOrganizer.exe", path);
  } else if (v == 8) {
    cutAtLastBackslash();
    std::snprintf(organizer, sizeof organizer, "%s\\Elements Organizer 8.0\\PhotoshopElementsOrganizer.exe", path);
  } else if (v > 8) {
    cutAtLastBackslash();
    std::snprintf(organizer, sizeof organizer, "%s\\Elements %d Organizer\\PhotoshopElementsOrganizer.exe", path, v);
  } else {
    return false;
  }
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", organizer, nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

bool BrowseScript(const char* title) {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  const std::string folder = ScriptChooserFolder(LastScriptPath, current);
  char path[kScriptPathSize] = {};
  constexpr const char kScriptFilter[] =
      "All JavaScript Files (*.jsx;*.js;*.jsxbin)\0*.jsx;*.js;*.jsxbin\0"
      "Adobe JavaScript File (*.jsx)\0*.jsx\0"
      "JavaScript File (*.js)\0*.js\0"
      "Adobe JavaScript Binary File (*.jsxbin)\0*.jsxbin\0";
  if (!ChooseFile(kScriptFilter, "jsx", title, folder.c_str(), path, sizeof path)) return false;
  std::snprintf(LastScriptPath, sizeof LastScriptPath, "%s", path);
  // An unreadable file is not reported: the chooser has just shown it, so
  // it went away or is locked, and the user can simply pick it again.
  if (const std::optional<std::string> text = ReadScriptFile(path)) RunJavaScript(text->c_str(), true, true);
  return true;
}
