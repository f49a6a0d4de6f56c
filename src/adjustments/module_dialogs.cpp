#include "adjustments/module_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "adjustments/adjustment_layers.h"
#include "adjustments/dialog_state.h"
#include "adjustments/smart_filter_dialog.h"
#include "commands/layer_arrangement.h"
#include "commands/masks.h"
#include "commands/text_commands.h"
#include "entry/module_state.h"
#include "host/event_building.h"
#include "host/event_keys.h"
#include "host/event_player.h"
#include "host/layer_queries.h"
#include "host/suites.h"
#include "localization/dialog_labels.h"
#include "localization/dictionary.h"
#include "localization/text_edit.h"
#include "menus/command_table.h"
#include "modes/document_steps.h"
#include "ui/dialog_position.h"

DialogKind RunningDialogKind = DialogKind::Fade;
int DialogResult = 0;
bool AdjustingAsFilter = false;
bool SelectionBeforeAdjust = false;
std::uint8_t TintColor[3] = {225, 211, 179};
COLORREF CustomColors[16] = {};

namespace {

constexpr int kFirstSlider = 1040, kFirstEdit = 1050, kFirstCaption = 1060;
constexpr int kOkButton = 1090, kCancelButton = 1091, kPreviewBox = 1030, kListBox = 1021;
constexpr int kTintBox = 1031, kSwatch = 1110, kPresetCaption = 1068;
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kPreviewDelayMs = 40;
// The quit message's code, told from a quit the host posted meanwhile.
constexpr int kDialogQuitCode = 0x5142;

constexpr std::size_t kOkRow = 0, kCancelRow = 1, kPreviewRow = 2, kOpacityRow = 3, kModeRow = 4, kResetRow = 31;
constexpr std::size_t kTintHueSlider = 6, kTintSaturationSlider = 7;

// The menu rows whose labels title the dialogs.
constexpr std::size_t kTitleRows[] = {7, 25, 27, 30, 34, 41, 43};

// Process-wide state of the running dialog.
bool DialogDone = false;
bool EditEchoGuard = false;
int StartingValue = 0;
bool PreviewPending = false;
// A preview that could not remake or set the adjustment layer: the document
// no longer holds what the dialog shows, and OK may not keep it.
bool PreviewFailed = false;
HHOOK AltHook = nullptr;
HWND RunningDialog = nullptr;
// Fade's Mode codes, the string-identified ones looked up at each opening.
std::array<TypeID, BlendModeTable.size()> BlendCodes = {};

const KindSliders& SlidersOf(DialogKind kind) {
  static constexpr KindSliders kNone = {0, {}};
  return std::size_t(kind) < SliderTable.size() ? SliderTable[std::size_t(kind)] : kNone;
}

int SliderPosition(HWND dialog, std::size_t index) {
  return int(SendDlgItemMessageA(dialog, kFirstSlider + int(index), TBM_GETPOS, 0, 0));
}

// The edit text of a slider, written without taking the resulting change
// for the user's typing.
void WriteEditText(HWND dialog, std::size_t index) {
  const SliderRow& row = SlidersOf(RunningDialogKind).rows[index];
  const std::string text = SliderPositionText(row.text, SliderPosition(dialog, index));
  EditEchoGuard = true;
  SetDlgItemTextA(dialog, kFirstEdit + int(index), text.c_str());
  EditEchoGuard = false;
}

void SetPosition(HWND dialog, std::size_t index, int position) {
  SendDlgItemMessageA(dialog, kFirstSlider + int(index), TBM_SETPOS, TRUE, position);
  WriteEditText(dialog, index);
}

bool PreviewChecked(HWND dialog) { return IsDlgButtonChecked(dialog, kPreviewBox) == BST_CHECKED; }

void SchedulePreview(HWND dialog) {
  if (!PreviewChecked(dialog)) return;
  PreviewPending = true;
  SetTimer(dialog, kPreviewTimer, kPreviewDelayMs, nullptr);
}

void StopPreviewTimer(HWND dialog) {
  KillTimer(dialog, kPreviewTimer);
  PreviewPending = false;
}

void SetText(HWND dialog, int control, std::size_t row) { SetDlgItemTextA(dialog, control, DialogLabelTable[row]); }

bool IsAdjustmentKind(DialogKind kind) {
  return kind == DialogKind::Exposure || kind == DialogKind::Vibrance || kind == DialogKind::BlackAndWhite;
}

AdjustmentKind AdjustmentOf(DialogKind kind) {
  switch (kind) {
    case DialogKind::Exposure: return AdjustmentKind::Exposure;
    case DialogKind::Vibrance: return AdjustmentKind::Vibrance;
    default: return AdjustmentKind::BlackAndWhite;
  }
}

int DialogResourceOfAdjustment(AdjustmentKind kind) {
  switch (kind) {
    case AdjustmentKind::Exposure: return kExposureDialogId;
    case AdjustmentKind::Vibrance: return kVibranceDialogId;
    default: return kBlackAndWhiteDialogId;
  }
}

// ---- The tint colour ----

void ConvertThroughHost(std::int16_t from, std::int16_t to, const std::uint8_t in[3], std::uint8_t out[3],
                        bool* done) {
  *done = false;
  try {
    ScopedSuite scoped(host::kColorSpaceSuiteName, 1, 1);
    const auto* suite = static_cast<const host::ColorSpaceSuite*>(scoped.suite);
    if (!suite || !suite->Make || !suite->Delete || !suite->StuffComponents || !suite->ExtractComponents) return;
    host::ColorID color{};
    if (suite->Make(&color) != 0) return;
    // The first of the four components is unused by both spaces.
    std::uint8_t c[4] = {};
    host::Boolean outOfGamut = 0;
    if (suite->StuffComponents(color, from, 0, in[0], in[1], in[2]) == 0 &&
        suite->ExtractComponents(color, to, &c[0], &c[1], &c[2], &c[3], &outOfGamut) == 0) {
      std::copy_n(c + 1, 3, out);
      *done = true;
    }
    suite->Delete(&color);
  } catch (const SuiteError&) {
  }
}

constexpr std::int16_t kRgbSpace = 0, kHslSpace = 5;

void RecomputeTint(HWND dialog) {
  const HslBytes hsl = TintBytes(SliderPosition(dialog, kTintHueSlider), SliderPosition(dialog, kTintSaturationSlider));
  const std::uint8_t in[3] = {hsl.hue, hsl.saturation, hsl.lightness};
  bool done = false;
  ConvertThroughHost(kHslSpace, kRgbSpace, in, TintColor, &done);
  if (!done) HslToRgb(hsl, TintColor);
  InvalidateRect(GetDlgItem(dialog, kSwatch), nullptr, TRUE);
}

void PickTintColor(HWND dialog) {
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = dialog;
  choose.rgbResult = RGB(TintColor[0], TintColor[1], TintColor[2]);
  choose.lpCustColors = CustomColors;
  choose.Flags = CC_FULLOPEN | CC_RGBINIT;
  if (!ChooseColorA(&choose)) return;
  TintColor[0] = GetRValue(choose.rgbResult);
  TintColor[1] = GetGValue(choose.rgbResult);
  TintColor[2] = GetBValue(choose.rgbResult);
  std::uint8_t hsl[3] = {};
  bool done = false;
  ConvertThroughHost(kRgbSpace, kHslSpace, TintColor, hsl, &done);
  if (!done) {
    const HslBytes own = RgbToHsl(TintColor);
    hsl[0] = own.hue;
    hsl[1] = own.saturation;
  }
  SetPosition(dialog, kTintHueSlider, HuePositionOfByte(hsl[0]));
  SetPosition(dialog, kTintSaturationSlider, SaturationPositionOfByte(hsl[1]));
  InvalidateRect(GetDlgItem(dialog, kSwatch), nullptr, TRUE);
  SchedulePreview(dialog);
}

void DrawSwatch(const DRAWITEMSTRUCT& item) {
  HBRUSH brush = CreateSolidBrush(RGB(TintColor[0], TintColor[1], TintColor[2]));
  RECT inside = item.rcItem;
  FrameRect(item.hDC, &inside, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  InflateRect(&inside, -1, -1);
  if (brush) {
    FillRect(item.hDC, &inside, brush);
    DeleteObject(brush);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

// ---- Black & White presets ----

void SelectPresetRow(HWND dialog, std::size_t row) {
  SendDlgItemMessageA(dialog, kListBox, CB_SETCURSEL, WPARAM(row), 0);
}

void ApplyPreset(HWND dialog, std::size_t row) {
  if (row >= BlackAndWhitePresets.size()) return;
  for (std::size_t i = 0; i < 6; ++i) SetPosition(dialog, i, BlackAndWhitePresets[row].weights[i]);
  CheckDlgButton(dialog, kTintBox, BST_UNCHECKED);
  SelectPresetRow(dialog, row);
  SchedulePreview(dialog);
}

// After a weight changed by hand.
void WeightChanged(HWND dialog, std::size_t index) {
  if (RunningDialogKind != DialogKind::BlackAndWhite) return;
  if (index < 6) SelectPresetRow(dialog, kCustomPresetRow);
  else RecomputeTint(dialog);
}

// ---- The Fade preparation ----

constexpr const char* kFadeDocumentName = "AEGhhjgukq3Vadj4t";

std::int32_t TargetLayerIndex(std::int32_t* index) {
  std::int32_t indices[1] = {};
  if (GetTargetLayerIndices(indices, 1) < 1) return host::kBadParameterError;
  *index = indices[0];
  return 0;
}

std::int32_t BakeInLayerMask() {
  if (!HasUserMask()) return 0;
  std::int32_t err = SelectLayerMask();
  if (err == 0)
    err = event_keys::PlayKeys("Dlt", kDialogNone,
                               {event_keys::Ref("null", {event_keys::TargetOf("Chnl")}),
                                event_keys::Boolean("Aply", true)});
  return err;
}

std::int32_t DuplicateLayerTo(const char* document) {
  using namespace event_keys;
  return PlayKeys("Dplc", kDialogNone,
                  {Ref("null", {TargetOf("Lyr")}), Ref("T", {NamePart("Dcmn", document)})});
}

double ReadResolution() {
  double resolution = 72.0;
  TypeID unit = 0;
  if (GetTargetProperty(FourCC("Dcmn"), FourCC("Rslt"), &resolution, &unit) != 0 || !(resolution > 0))
    resolution = 72.0;
  return resolution;
}

std::int32_t MakeFadeDocument() {
  using namespace event_keys;
  std::int32_t width = 0, height = 0;
  std::int32_t err = ReadDocumentWidth(&width);
  if (err == 0) err = ReadDocumentHeight(&height);
  if (err != 0) return err;
  if (width < 1 || height < 1) return host::kBadParameterError;
  return PlayKeys("Mk", kDialogNone,
                  {Object("Nw", "Dcmn",
                          {Text("Nm", kFadeDocumentName), ClassKey("Md", "RGBM"), UnitFloat("Wdth", "#Rlt", width),
                           UnitFloat("Hght", "#Rlt", height), UnitFloat("Rslt", "#Rsl", ReadResolution()),
                           Float("pixelScaleFactor", 1.0), Enumerated("Fl", "Fl", "Trns"), Integer("Dpth", 8),
                           Text("profile", "sRGB IEC61966-2.1")})});
}

// Closes the temporary document, and only it: the user's document is never
// closed unsaved.
void CloseFadeDocument() {
  char title[256] = {};
  if (ActivateDocumentByTitle(kFadeDocumentName) != 1) return;
  if (!ReadDocumentTitle(title, sizeof title) || std::strcmp(title, kFadeDocumentName) != 0) return;
  CloseDocument(false);
}

// Turns the last step into a layer above the state before it. False when a
// step failed: the dialog then ends at once and the host drops the step.
bool PrepareFade() {
  std::int32_t layer = 0;
  if (TargetLayerIndex(&layer) != 0) return false;
  if (BakeInLayerMask() != 0) return false;
  if (HostMajorVersion <= 2) {
    if (SelectAll() != 0 || CopySelection() != 0) return false;
    if (PlayOnOffset(FourCC("HstS"), -1, FourCC("slct"), kDialogNone) != 0) return false;
    if (SelectLayerByIndex(layer, false, false) != 0) return false;
    if (event_keys::PlayKeys("past", kDialogNone, {event_keys::Enumerated("AntA", "Annt", "Anno")}) != 0)
      return false;
    PurgeClipboard();
    return true;
  }
  char title[256] = {};
  if (!ReadDocumentTitle(title, sizeof title) || title[0] == '\0') return false;
  if (MakeFadeDocument() != 0) return false;
  // From here on the temporary document exists and goes whatever happens.
  bool done = ActivateDocumentByTitle(title) == 1 && DuplicateLayerTo(kFadeDocumentName) == 0 &&
              PlayOnOffset(FourCC("HstS"), -1, FourCC("slct"), kDialogNone) == 0 &&
              SelectLayerByIndex(layer, false, false) == 0 && ActivateDocumentByTitle(kFadeDocumentName) == 1 &&
              DuplicateLayerTo(title) == 0;
  CloseFadeDocument();
  if (ActivateDocumentByTitle(title) != 1) done = false;
  return done;
}

// ---- Opening ----

void LookUpBlendCodes() {
  for (std::size_t i = 0; i < BlendModeTable.size(); ++i) {
    const BlendModeRow& row = BlendModeTable[i];
    BlendCodes[i] = row.code.empty() ? StringToTypeID(std::string(row.stringId).c_str())
                                     : CodeOfIdentifier(row.code);
  }
}

void AddLabelledRow(HWND dialog, std::string_view labelled) {
  const std::string text = LocalizeString(std::string(labelled).c_str());
  SendDlgItemMessageA(dialog, kListBox, CB_ADDSTRING, 0, LPARAM(text.c_str()));
}

void SetTitle(HWND dialog) {
  std::string title = MenuLabels[kTitleRows[std::size_t(RunningDialogKind)]];
  if (RunningDialogKind == DialogKind::BlackAndWhite) ReplaceAll(title, "&&", "&");
  // The menu's "..." is no part of a dialog's title.
  if (title.size() > 3 && title.ends_with("...")) title.resize(title.size() - 3);
  SetWindowTextA(dialog, title.c_str());
}

// The sliders from the target layer's settings, when they are of the
// dialog's kind (values of another kind read before are not used).
void SetSlidersFromValues(HWND dialog, std::size_t count) {
  AdjustmentKind read{};
  if (ReadAdjustmentSettings(&read) != SettingsRead::Decoded || read != AdjustmentOf(RunningDialogKind)) return;
  for (std::size_t i = 0; i < count && i < AdjustmentValues.size(); ++i)
    SetSliderValue(dialog, kFirstSlider + int(i), AdjustmentValues[i]);
  if (read == AdjustmentKind::BlackAndWhite && AdjustmentValues.size() > 6 && AdjustmentValues[6] != 0)
    CheckDlgButton(dialog, kTintBox, BST_CHECKED);
}

// False when the dialog cannot start (the Fade preparation failed).
bool OpenDialog(HWND dialog) {
  CenterOverMainWindow(dialog);
  SetText(dialog, kOkButton, kOkRow);
  SetText(dialog, kCancelButton, kCancelRow);
  SetText(dialog, kPreviewBox, kPreviewRow);
  CheckDlgButton(dialog, kPreviewBox, BST_CHECKED);
  const KindSliders& sliders = SlidersOf(RunningDialogKind);
  for (std::size_t i = 0; i < sliders.count; ++i) {
    const SliderRow& row = sliders.rows[i];
    HWND slider = GetDlgItem(dialog, kFirstSlider + int(i));
    SendMessageA(slider, TBM_SETRANGEMIN, FALSE, row.minimum);
    SendMessageA(slider, TBM_SETRANGEMAX, TRUE, row.maximum);
    SendMessageA(slider, TBM_SETPAGESIZE, 0, std::max(1, (row.maximum - row.minimum) / 10));
    // A position equal to the old one would leave the thumb where the old
    // range put it.
    SendMessageA(slider, TBM_SETPOS, TRUE, row.maximum);
    SetPosition(dialog, i, row.position);
  }
  SetTitle(dialog);
  switch (RunningDialogKind) {
    case DialogKind::Fade:
      SetText(dialog, kFirstCaption, kOpacityRow);
      SetText(dialog, kFirstCaption + 1, kModeRow);
      for (const BlendModeRow& row : BlendModeTable) AddLabelledRow(dialog, row.name);
      SendDlgItemMessageA(dialog, kListBox, CB_SETCURSEL, 0, 0);
      LookUpBlendCodes();
      return PrepareFade();
    case DialogKind::Exposure:
      SetText(dialog, kFirstCaption, 5);
      SetText(dialog, kFirstCaption + 1, 7);
      SetText(dialog, kFirstCaption + 2, 6);
      SetSlidersFromValues(dialog, 3);
      return true;
    case DialogKind::Vibrance:
      SetText(dialog, kFirstCaption, 9);
      SetText(dialog, kFirstCaption + 1, 8);
      SetSlidersFromValues(dialog, 2);
      return true;
    case DialogKind::BlackAndWhite:
      SetText(dialog, kPresetCaption, 10);
      for (int i = 0; i < 6; ++i) SetText(dialog, kFirstCaption + i, std::size_t(11 + i));
      SetText(dialog, kTintBox, 17);
      SetText(dialog, kFirstCaption + 6, 18);
      SetText(dialog, kFirstCaption + 7, 19);
      for (const BlackAndWhitePreset& preset : BlackAndWhitePresets) AddLabelledRow(dialog, preset.name);
      AddLabelledRow(dialog, CustomPresetName);
      SelectPresetRow(dialog, 0);
      SetSlidersFromValues(dialog, 6);
      RecomputeTint(dialog);
      return true;
    case DialogKind::FillOpacity: {
      SetText(dialog, kFirstCaption, kOpacityRow);
      std::int32_t fill = GetFillOpacity();
      if (fill < 0) fill = 255;
      StartingValue = fill * 100 / 255;
      SetPosition(dialog, 0, StartingValue);
      return true;
    }
    case DialogKind::Tracking:
      SetText(dialog, kFirstCaption, 20);
      StartingValue = GetTracking();
      SetPosition(dialog, 0, StartingValue);
      return true;
    case DialogKind::EditSmartFilters:
      OpenSmartFilterDialog(dialog);
      return true;
  }
  return false;
}

// ---- OK, Cancel, Reset ----

void Finish(HWND dialog, int result) {
  StopPreviewTimer(dialog);
  DialogResult = result;
  DialogDone = true;
  PostQuitMessage(kDialogQuitCode);
}

bool CancelShowsReset(HWND dialog) {
  char text[kDialogLabelSize] = {};
  GetDlgItemTextA(dialog, kCancelButton, text, sizeof text);
  return std::strcmp(text, DialogLabelTable[kResetRow]) == 0 &&
         std::strcmp(DialogLabelTable[kResetRow], DialogLabelTable[kCancelRow]) != 0;
}

void ResetValues(HWND dialog) {
  switch (RunningDialogKind) {
    case DialogKind::Fade:
      SendDlgItemMessageA(dialog, kListBox, CB_SETCURSEL, 0, 0);
      [[fallthrough]];
    case DialogKind::FillOpacity: SetPosition(dialog, 0, 100); break;
    case DialogKind::Tracking: SetPosition(dialog, 0, 0); break;
    case DialogKind::Exposure:
      SetSliderValue(dialog, kFirstSlider, 0);
      SetSliderValue(dialog, kFirstSlider + 1, 0);
      SetSliderValue(dialog, kFirstSlider + 2, 1.0);
      break;
    case DialogKind::Vibrance:
      SetPosition(dialog, 0, 0);
      SetPosition(dialog, 1, 0);
      break;
    case DialogKind::BlackAndWhite: ApplyPreset(dialog, 0); return;
    case DialogKind::EditSmartFilters: return;
  }
  SchedulePreview(dialog);
}

void Ok(HWND dialog) {
  const DialogKind kind = RunningDialogKind;
  // A change still waiting for its preview is what the user sees in the
  // dialog: it goes into the document before the dialog ends.
  const bool pending = PreviewPending && PreviewChecked(dialog);
  StopPreviewTimer(dialog);
  bool kept = true;
  if (kind == DialogKind::Fade) {
    if (!PreviewChecked(dialog) || pending) UpdateDialogPreview(dialog, false);
    kept = MergeLayers() == 0;
  } else if (kind == DialogKind::FillOpacity || kind == DialogKind::Tracking) {
    if (!PreviewChecked(dialog) || pending) UpdateDialogPreview(dialog, false);
  } else if (IsAdjustmentKind(kind)) {
    if (pending) UpdateDialogPreview(dialog, false);
    // What a failed preview left is not the adjustment: nothing is merged,
    // and the host drops the step.
    kept = !PreviewFailed && IsAdjustmentLayer();
    if (kept && !PreviewChecked(dialog)) kept = SetLayerOpacityModeFill(100, 0, -1) == 0;
    if (kept && AdjustingAsFilter) kept = MergeLayers() == 0;
  } else if (kind == DialogKind::EditSmartFilters) {
    kept = SmartFilterDialogChanged();
  }
  // A step that did not finish is dropped whole rather than kept half done.
  Finish(dialog, kept ? 1 : 0);
}

void Cancel(HWND dialog) {
  if (CancelShowsReset(dialog)) {
    ResetValues(dialog);
    return;
  }
  StopPreviewTimer(dialog);
  const DialogKind kind = RunningDialogKind;
  if (kind == DialogKind::Fade) {
    if (SetLayerOpacityModeFill(100, FourCC("Nrml"), -1) == 0) MergeLayers();
  } else if (kind == DialogKind::FillOpacity || kind == DialogKind::Tracking) {
    UpdateDialogPreview(dialog, true);
  } else if (IsAdjustmentKind(kind)) {
    // Only the adjustment layer goes; the host brings back what the step changed.
    if (IsAdjustmentLayer()) DeleteLayer(nullptr);
  }
  Finish(dialog, 0);
}

void PreviewToggled(HWND dialog) {
  const DialogKind kind = RunningDialogKind;
  if (!PreviewChecked(dialog)) {
    StopPreviewTimer(dialog);
    if (!IsAdjustmentKind(kind)) UpdateDialogPreview(dialog, true);
    else if (!PreviewFailed && IsAdjustmentLayer()) SetLayerOpacityModeFill(0, 0, -1);
    PumpMainWindowMessages();
    return;
  }
  if (IsAdjustmentKind(kind) && !PreviewFailed && IsAdjustmentLayer()) SetLayerOpacityModeFill(100, 0, -1);
  SchedulePreview(dialog);
}

void SliderMoved(HWND dialog, HWND slider, WORD code) {
  const int index = GetDlgCtrlID(slider) - kFirstSlider;
  if (index < 0 || std::size_t(index) >= SlidersOf(RunningDialogKind).count) return;
  WriteEditText(dialog, std::size_t(index));
  WeightChanged(dialog, std::size_t(index));
  // While the thumb is dragged nothing is previewed; its release is.
  if (code != TB_THUMBTRACK) SchedulePreview(dialog);
}

void EditChanged(HWND dialog, int control) {
  if (EditEchoGuard) {
    EditEchoGuard = false;
    return;
  }
  const int index = control - kFirstEdit;
  if (index < 0 || std::size_t(index) >= SlidersOf(RunningDialogKind).count) return;
  char text[7] = {};
  GetDlgItemTextA(dialog, control, text, sizeof text);
  int position = 0;
  if (!PositionOfText(SlidersOf(RunningDialogKind).rows[std::size_t(index)].text, text, &position)) return;
  SendDlgItemMessageA(dialog, kFirstSlider + index, TBM_SETPOS, TRUE, position);
  WeightChanged(dialog, std::size_t(index));
  SchedulePreview(dialog);
}

void Command(HWND dialog, int control, WORD code) {
  if (RunningDialogKind == DialogKind::EditSmartFilters && SmartFilterDialogCommand(dialog, control, code)) return;
  switch (control) {
    case IDOK:
    case kOkButton:
      if (code == BN_CLICKED) Ok(dialog);
      return;
    case IDCANCEL:
    case kCancelButton:
      if (code == BN_CLICKED) Cancel(dialog);
      return;
    case kPreviewBox:
      if (code == BN_CLICKED) PreviewToggled(dialog);
      return;
    case kTintBox:
      if (code == BN_CLICKED) SchedulePreview(dialog);
      return;
    case kSwatch:
      if (code == BN_CLICKED) PickTintColor(dialog);
      return;
    case kListBox:
      if (code != CBN_SELCHANGE) return;
      if (RunningDialogKind == DialogKind::Fade) {
        SchedulePreview(dialog);
      } else if (RunningDialogKind == DialogKind::BlackAndWhite) {
        const LRESULT row = SendDlgItemMessageA(dialog, kListBox, CB_GETCURSEL, 0, 0);
        if (row >= 0 && std::size_t(row) < BlackAndWhitePresets.size()) ApplyPreset(dialog, std::size_t(row));
      }
      return;
    default:
      if (code == EN_CHANGE) EditChanged(dialog, control);
  }
}

// Alt going down or up, wherever the key message was taken from the queue.
void AltKey(HWND dialog, bool down) {
  if (RunningDialogKind == DialogKind::EditSmartFilters) return;
  SetText(dialog, kCancelButton, down ? kResetRow : kCancelRow);
}

bool IsAltMessage(const MSG& msg, bool* down) {
  if (msg.wParam != VK_MENU) return false;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) *down = true;
  else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) *down = false;
  else return false;
  return true;
}

// Another loop of the thread may take the Alt key from the queue (the host's
// own, while it repaints): the dialog hears of it all the same.
LRESULT CALLBACK AltWatch(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && RunningDialog) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    bool down = false;
    if (IsAltMessage(msg, &down) && RunningDialogKind != DialogKind::EditSmartFilters)
      SendMessageA(RunningDialog, down ? WM_KEYDOWN : WM_KEYUP, VK_MENU, msg.lParam);
  }
  return CallNextHookEx(AltHook, code, wParam, lParam);
}

}  // namespace

void SetSliderValue(HWND dialog, int slider, double value) {
  const std::size_t index = std::size_t(slider - kFirstSlider);
  const KindSliders& sliders = SlidersOf(RunningDialogKind);
  if (slider < kFirstSlider || index >= sliders.count) return;
  SendDlgItemMessageA(dialog, slider, TBM_SETPOS, TRUE, PositionOfValue(sliders.rows[index].text, value));
  WriteEditText(dialog, index);
}

std::int32_t SetLayerOpacityModeFill(int opacity, TypeID blendMode, int fillOpacity) {
  return build::PlayBuilt(FourCC("setd"), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = build::PutReferenceTo(d, build::kNull, build::PutTargetLayer);
    if (err == 0)
      err = build::PutObjectTo(d, FourCC("T   "), build::kLayer, [&](host::Descriptor layer) {
        const host::DescriptorSuite* s = DescriptorProcs();
        std::int32_t e = 0;
        if (opacity >= 0) e = HostResult(s->PutUnitFloat(layer, FourCC("Opct"), FourCC("#Prc"), opacity));
        if (e == 0 && blendMode != 0) e = HostResult(s->PutEnumerated(layer, FourCC("Md  "), FourCC("BlnM"), blendMode));
        if (e == 0 && fillOpacity >= 0) {
          const TypeID key = StringToTypeID("fillOpacity");
          e = key ? HostResult(s->PutUnitFloat(layer, key, FourCC("#Prc"), fillOpacity)) : host::kBadParameterError;
        }
        return e;
      });
    return err;
  });
}

void PumpMainWindowMessages() {
  if (!MainWindow || !IsWindow(MainWindow)) return;
  MSG msg;
  while (PeekMessageA(&msg, MainWindow, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT || msg.message == WM_CLOSE) return;
    if (!PeekMessageA(&msg, MainWindow, 0, 0, PM_REMOVE)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void UpdateDialogPreview(HWND dialog, bool restore) {
  const DialogKind kind = RunningDialogKind;
  switch (kind) {
    case DialogKind::Fade: {
      if (restore) {
        SetLayerOpacityModeFill(100, FourCC("Nrml"), -1);
        break;
      }
      const LRESULT row = SendDlgItemMessageA(dialog, kListBox, CB_GETCURSEL, 0, 0);
      const TypeID code = row >= 0 && std::size_t(row) < BlendCodes.size() ? BlendCodes[std::size_t(row)] : 0;
      SetLayerOpacityModeFill(SliderPosition(dialog, 0), code ? code : FourCC("Nrml"), -1);
      break;
    }
    case DialogKind::Exposure: {
      const double values[3] = {SliderPosition(dialog, 0) / 100.0, SliderPosition(dialog, 1) / 10000.0,
                                GammaOfPosition(SliderPosition(dialog, 2))};
      if (!RemakeAdjustmentLayer(AdjustmentKind::Exposure, values)) PreviewFailed = true;
      break;
    }
    case DialogKind::Vibrance: {
      const double values[2] = {double(SliderPosition(dialog, 0)), double(SliderPosition(dialog, 1))};
      if (SetAdjustmentOnTarget(AdjustmentKind::Vibrance, values, kDialogNone) != 0) PreviewFailed = true;
      break;
    }
    case DialogKind::BlackAndWhite: {
      double values[10] = {};
      for (std::size_t i = 0; i < 6; ++i) values[i] = SliderPosition(dialog, i);
      values[6] = IsDlgButtonChecked(dialog, kTintBox) == BST_CHECKED ? 1 : 0;
      for (std::size_t i = 0; i < 3; ++i) values[7 + i] = TintColor[i];
      if (!RemakeAdjustmentLayer(AdjustmentKind::BlackAndWhite, values)) PreviewFailed = true;
      break;
    }
    case DialogKind::FillOpacity:
      SetLayerOpacityModeFill(-1, 0, restore ? StartingValue : SliderPosition(dialog, 0));
      break;
    case DialogKind::Tracking: SetTracking(restore ? StartingValue : SliderPosition(dialog, 0)); break;
    case DialogKind::EditSmartFilters: break;
  }
  // The remade layer took the selection into its mask: it is loaded again,
  // and a selection that cannot be is a document no longer whole.
  if (IsAdjustmentKind(kind) && SelectionBeforeAdjust && !PreviewFailed) {
    const bool loaded = HasUserMask() && LoadLayerMaskAsSelection() == 0;
    if (!loaded && kind != DialogKind::Vibrance) PreviewFailed = true;
  }
  PumpMainWindowMessages();
}

INT_PTR CALLBACK ModuleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  // Nothing may escape into the host's message loop.
  try {
    switch (message) {
      case WM_INITDIALOG:
        if (!OpenDialog(dialog)) Finish(dialog, 0);
        return TRUE;
      case WM_COMMAND:
        Command(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_TIMER:
        if (wParam != kPreviewTimer) return FALSE;
        StopPreviewTimer(dialog);
        if (PreviewChecked(dialog) && !PreviewFailed) UpdateDialogPreview(dialog, false);
        return TRUE;
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (wParam != VK_MENU) return FALSE;
        AltKey(dialog, message == WM_KEYDOWN);
        return TRUE;
      case WM_CLOSE:
        Cancel(dialog);
        return TRUE;
      default:
        return FALSE;
    }
  } catch (...) {
    return FALSE;
  }
}

namespace {

// The scroll messages carry the slider in lParam.
INT_PTR CALLBACK DialogProcWithSliders(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_HSCROLL && lParam) {
      SliderMoved(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      return TRUE;
    }
    if (message == WM_DRAWITEM && wParam == kSwatch && lParam) {
      DrawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    }
  } catch (...) {
    return FALSE;
  }
  return ModuleDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

int RunModuleDialog(int resource) {
  if (ToolDialogRunning) return 0;
  ToolDialogRunning = true;
  DialogResult = 0;
  DialogDone = false;
  PreviewPending = false;
  PreviewFailed = false;
  EditEchoGuard = false;
  HWND dialog = CreateDialogParamA(ModuleInstance, MAKEINTRESOURCEA(resource), MainWindow, DialogProcWithSliders, 0);
  if (!dialog) {
    ToolDialogRunning = false;
    return 0;
  }
  RunningDialog = dialog;
  AltHook = SetWindowsHookExA(WH_GETMESSAGE, AltWatch, nullptr, GetCurrentThreadId());
  if (!DialogDone) ShowWindow(dialog, SW_SHOW);
  bool sawOwnQuit = false;
  int hostQuit = -1;   // a quit the host posted while the dialog ran: passed on after it
  MSG msg;
  while (!DialogDone) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      if (msg.wParam == WPARAM(kDialogQuitCode) && DialogDone) {
        sawOwnQuit = true;
        break;
      }
      hostQuit = int(msg.wParam);
      if (IsWindow(dialog)) Cancel(dialog);
      break;
    }
    bool down = false;
    if (RunningDialogKind != DialogKind::EditSmartFilters && IsAltMessage(msg, &down)) {
      // The watch above has told the dialog already when it could be set.
      if (!AltHook) SendMessageA(dialog, down ? WM_KEYDOWN : WM_KEYUP, VK_MENU, msg.lParam);
      continue;
    }
    if (!IsWindow(dialog) || !IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (!IsWindow(dialog)) break;
  }
  // The dialog's own quit is not left for the host's loop.
  if (!sawOwnQuit && DialogDone && PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) &&
      msg.wParam == WPARAM(kDialogQuitCode))
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  if (AltHook) UnhookWindowsHookEx(AltHook);
  AltHook = nullptr;
  RunningDialog = nullptr;
  if (IsWindow(dialog)) DestroyWindow(dialog);
  ToolDialogRunning = false;
  if (hostQuit >= 0) PostQuitMessage(hostQuit);
  return DialogResult;
}

// ---- Auto-Align Layers ----

std::int32_t AutoAlignLayers(int projection, bool vignette, bool distortion) {
  using namespace event_keys;
  static constexpr const char* kProjections[] = {"Auto", "Prsp", "sceneCollage", "cylindrical", "Sph ", "translation"};
  if (projection < 0 || projection > 5) projection = 0;
  return PlayKeys("Algn", kDialogShow,
                  {Ref("null", {TargetOf("Lyr")}), Enumerated("Usng", "ADSt", "ADSContent"),
                   Enumerated("Aply", "projection", kProjections[projection]), Boolean("vignette", vignette),
                   Boolean("radialDistort", distortion)});
}

namespace {

constexpr int kFirstProjection = 1070, kProjectionCount = 6;
constexpr int kVignetteBox = 1031, kDistortBox = 1032;

struct AutoAlignChoice {
  int projection = 0;
  bool vignette = false, distortion = false;
};
AutoAlignChoice AlignChoice;

// The dialog's own texts on a German editor (code page 1252); the title and
// the buttons come from the editor's dictionary.
struct GermanText {
  int control;
  const char* text;
};
constexpr GermanText kGermanAlignTexts[] = {
    {1080, "Projektion"},          {1070, "Auto"},          {1071, "Perspektivisch"},
    {1072, "Collage"},             {1073, "Zylindrisch"},   {1074, "Sph\xE4risch"},
    {1075, "Repositionieren"},     {1081, "Objektivkorrektur"},
    {1031, "Vignettierung entfernen"}, {1032, "Geometrische Verzerrung"},
};

void SetAlignTexts(HWND dialog) {
  std::string title = MenuLabels[11];
  if (title.size() > 3 && title.ends_with("...")) title.resize(title.size() - 3);
  SetWindowTextA(dialog, title.c_str());
  SetText(dialog, kOkButton, kOkRow);
  SetText(dialog, kCancelButton, kCancelRow);
  if (HostIsGerman)
    for (const GermanText& t : kGermanAlignTexts) SetDlgItemTextA(dialog, t.control, t.text);
}

void EnableLensBoxes(HWND dialog) {
  const bool flat = IsDlgButtonChecked(dialog, kFirstProjection + 2) == BST_CHECKED ||
                    IsDlgButtonChecked(dialog, kFirstProjection + 5) == BST_CHECKED;
  EnableWindow(GetDlgItem(dialog, kVignetteBox), !flat);
  EnableWindow(GetDlgItem(dialog, kDistortBox), !flat);
}

}  // namespace

INT_PTR CALLBACK AutoAlignDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        CenterOverMainWindow(dialog);
        SetAlignTexts(dialog);
        CheckRadioButton(dialog, kFirstProjection, kFirstProjection + kProjectionCount - 1, kFirstProjection);
        EnableLensBoxes(dialog);
        return TRUE;
      case WM_COMMAND: {
        const int control = LOWORD(wParam);
        if (control >= kFirstProjection && control < kFirstProjection + kProjectionCount) {
          EnableLensBoxes(dialog);
        } else if (control == kOkButton || control == IDOK) {
          AlignChoice = {};
          for (int i = 0; i < kProjectionCount; ++i)
            if (IsDlgButtonChecked(dialog, kFirstProjection + i) == BST_CHECKED) {
              AlignChoice.projection = i;
              break;
            }
          AlignChoice.vignette = IsDlgButtonChecked(dialog, kVignetteBox) == BST_CHECKED;
          AlignChoice.distortion = IsDlgButtonChecked(dialog, kDistortBox) == BST_CHECKED;
          EndDialog(dialog, 1);
        } else if (control == kCancelButton || control == IDCANCEL) {
          EndDialog(dialog, 0);
        }
        return TRUE;
      }
      case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
      default:
        return FALSE;
    }
  } catch (...) {
    return FALSE;
  }
}

void AutoAlignCommand() {
  const INT_PTR answer =
      DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(kAutoAlignDialogId), MainWindow, AutoAlignDialogProc, 0);
  if (answer == 1) AutoAlignLayers(AlignChoice.projection, AlignChoice.vignette, AlignChoice.distortion);
}

// ---- The named steps ----

bool RunKindDialog(DialogKind kind) {
  if (ToolDialogRunning) return false;
  RunningDialogKind = kind;
  return RunModuleDialog(DialogResourceOf(kind)) == 1;
}

namespace {
bool RunAdjustmentDialog(AdjustmentKind kind) {
  RunningDialogKind = kind == AdjustmentKind::Exposure   ? DialogKind::Exposure
                      : kind == AdjustmentKind::Vibrance ? DialogKind::Vibrance
                                                         : DialogKind::BlackAndWhite;
  return RunModuleDialog(DialogResourceOfAdjustment(kind)) == 1;
}
}  // namespace

bool AdjustWithModuleDialog(AdjustmentKind kind) {
  if (ToolDialogRunning) return false;
  AdjustingAsFilter = true;
  const int selection = ReadSelectionState();
  SelectionBeforeAdjust = selection == 1;
  bool done = selection >= 0 && MakeAdjustmentLayer(kind, kDialogNone, {}, true, nullptr, -1, 0) == 0;
  // The new layer's mask was made from the selection, which went into it:
  // loaded again, so that OK with nothing previewed keeps it too.
  if (done && SelectionBeforeAdjust) done = LoadLayerMaskAsSelection() == 0;
  if (done) done = RunAdjustmentDialog(kind);
  AdjustingAsFilter = false;
  SelectionBeforeAdjust = false;
  return done;
}

bool NewAdjustmentWithModuleDialog(AdjustmentKind kind) {
  if (ToolDialogRunning) return false;
  if (MakeAdjustmentLayer(kind, kDialogNone, {}, false, nullptr, -1, 0) != 0) return false;
  return RunAdjustmentDialog(kind);
}

bool EditWithModuleDialog(AdjustmentKind kind) {
  if (ToolDialogRunning) return false;
  if (KindOfClass(GetAdjustmentClass()) != kind) return false;
  return RunAdjustmentDialog(kind);
}
