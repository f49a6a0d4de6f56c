#include "menus/command_table.h"

#include <climits>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "entry/module_state.h"
#include "localization/dictionary.h"
#include "menus/host_menu_ids.h"
#include "localization/text_edit.h"

std::array<CommandEntry, kCommandCount> CommandTable = InitialCommandTable;
char MenuLabels[kCommandCount][kMenuLabelSize] = {};
char AltLabels[kAltLabelCount][kMenuLabelSize] = {};

namespace {

constexpr std::size_t kSpellCheck = 8;

// A text that replaces a row's translated label in some host versions.
struct VersionLabel {
  std::size_t index;
  int lowest, highest;  // host major versions, inclusive
  const char* text;
};

constexpr int kOldest = INT_MIN;

// The older editors name some commands differently.
constexpr VersionLabel MenuLabelOverrides[] = {
    {52, 5, 7, "$$$/Layer/GroupintoNewSmartObject=Convert to Smart Object"},
    {110, 5, 7, "$$$/Layer/GroupintoNewSmartObject=Convert to Smart Object"},
    {47, 6, 7, "$$$/Layer/AddFilterMask=Select Filter Mask"},
    {65, kOldest, 5, "$$$/Commands/DisableUserMask=Disable/Enable"},
    {73, kOldest, 5, "$$$/Commands/DisableVectorMask=Disable"},
    {74, kOldest, 5, "$$$/Commands/EnableVectorMask=Enable"},
    {36, kOldest, 5, "$$$/Commands/TypeTool/AntiAliasCrisp=Anti-Alias Crisp"},
    {37, kOldest, 5, "$$$/Commands/TypeTool/AntiAliasSharp=Anti-Alias Sharp"},
    {38, kOldest, 5, "$$$/Commands/TypeTool/AntiAliasStrong=Anti-Alias Strong"},
    {39, kOldest, 5, "$$$/Commands/TypeTool/AntiAliasSmooth=Anti-Alias Smooth"},
    {64, kOldest, 3, "$$$/Actions/Key/Apply=Apply"},
    {78, kOldest, 3, "$$$/Commands/AlignToSelection=Align to Selection"},
};

constexpr VersionLabel AltLabelOverrides[] = {
    {2, kOldest, 3, "$$$/Menu/Window/HideLayers=Hide Layers"},
    {3, kOldest, 3, "$$$/Menu/Window/ShowLayers=Show Layers"},
    {10, kOldest, 5, "$$$/Commands/DisableUserMask=Disable"},
    {11, kOldest, 5, "$$$/Commands/EnableUserMask=Enable"},
};

template <std::size_t N>
const char* OverrideFor(const VersionLabel (&overrides)[N], std::size_t index, int v) {
  for (const VersionLabel& row : overrides)
    if (row.index == index && v >= row.lowest && v <= row.highest) return row.text;
  return nullptr;
}

// Copies as much of `text` as fits, always terminated.
void CopyLabel(char (&label)[kMenuLabelSize], std::string_view text) {
  const std::size_t kept = text.size() < kMenuLabelSize - 1 ? text.size() : kMenuLabelSize - 1;
  std::memcpy(label, text.data(), kept);
  label[kept] = '\0';
}

void ShiftPositions(std::initializer_list<std::size_t> rows, std::int32_t by) {
  for (std::size_t row : rows) CommandTable[row].Position += by;
}

void SetSeparators(std::initializer_list<std::size_t> rows, std::int32_t separator) {
  for (std::size_t row : rows) CommandTable[row].Separator = separator;
}

void MoveAnchor(std::int32_t from, std::int32_t to) {
  for (CommandEntry& entry : CommandTable)
    if (entry.AnchorId == from) entry.AnchorId = to;
}

// Editors 3 and older list these commands in other menus.
void AnchorOnOldMenus(int v) {
  using namespace host_menu;
  if (v == 1 || v == 2) MoveAnchor(kFileOpen, kOldFileOpen12);
  if (v == 3) MoveAnchor(kFileOpen, kOldFileOpen3);
  if (v == 1 || v == 2) MoveAnchor(kEditUndo, kOldEditUndo);
  if (v == 1 || v == 3) MoveAnchor(kImageCrop, kOldImage13);
  if (v == 2) MoveAnchor(kImageCrop, kOldImage2);
  MoveAnchor(kLayerNew, kOldLayer);
  if (v == 1 || v == 2) MoveAnchor(kShadowsHighlights, kOldShadowsHighlights);
  if (v == 1) MoveAnchor(kLevelsLayer, kOldLevelsLayer1);
  if (v == 2) MoveAnchor(kLevelsLayer, kOldLevelsLayer2);
}

// The translated label of a row before the per-version rules: its text with
// its suffix, mnemonic marks and colons dropped (but "Black && White" keeps
// its doubled ampersand).
std::string TranslatedLabel(std::size_t index) {
  const LabelSource& source = MenuLabelSources[index];
  std::string label = LocalizeString(source.text) + source.suffix;
  char buffer[kMenuLabelSize];
  CopyLabel(buffer, label);
  if (index != 30 && index != 97) RemoveAllChars(buffer, '&');
  RemoveAllChars(buffer, ':');
  return buffer;
}

}  // namespace

bool CommandExists(std::size_t index, int v) {
  if (index >= kCommandCount) return false;
  if (index == kSpellCheck && v == 1) return false;
  const CommandEntry& entry = CommandTable[index];
  return VersionPairAdmits(entry.VersionA, entry.VersionB, v);
}

void AdjustCommandTable() {
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    CommandTable[i].AnchorId = InitialCommandTable[i].AnchorId;
    CommandTable[i].Position = InitialCommandTable[i].Position;
    CommandTable[i].Separator = InitialCommandTable[i].Separator;
  }
  const int v = HostMajorVersion;
  if (v >= 11) {
    SetSeparators({93, 97}, kSeparatorBefore);
    SetSeparators({33}, kSeparatorAfter);
  } else if (v == 9 || v == 10) {
    SetSeparators({9, 94}, kSeparatorBefore);
  } else if (v == 8) {
    SetSeparators({94}, kSeparatorBefore);
  } else if (v == 6 || v == 7) {
    ShiftPositions({14, 100}, -1);
    ShiftPositions({51, 57, 68, 75, 76, 77}, +1);
    ShiftPositions({78, 85, 92}, +2);
    ShiftPositions({101, 102, 103}, -2);
    SetSeparators({94}, kSeparatorBefore);
    SetSeparators({43}, kSeparatorNone);
  } else if (v == 5) {
    ShiftPositions({78, 85, 92}, +1);
    ShiftPositions({14}, -1);
    ShiftPositions({100}, -2);
    ShiftPositions({101, 102, 103}, -3);
  } else if (v == 4) {
    ShiftPositions({57, 68, 75, 76, 77}, -1);
    ShiftPositions({14}, -1);
    ShiftPositions({100}, -2);
    ShiftPositions({101, 102, 103}, -3);
  } else {
    SetSeparators({93}, kSeparatorBefore);
    AnchorOnOldMenus(v);
  }
}

void BuildMenuLabels() {
  const int v = HostMajorVersion;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    std::string label;
    if (const char* text = OverrideFor(MenuLabelOverrides, i, v)) {
      label = LocalizeString(text);
    } else {
      label = TranslatedLabel(i);
      if (i == 0) ReplaceAll(label, "Bridge", "Organizer");
      if (i == 19) label = label + " + " + MenuLabels[17];  // Red + Green
      if (i == 20 || i == 21) label = label + " + " + MenuLabels[18];  // Red + Blue, Green + Blue
      if (i == 113) label = "Quillbright " + label;
    }
    CopyLabel(MenuLabels[i], label);
  }
  for (std::size_t i = 0; i < kAltLabelCount; ++i) {
    const char* text = OverrideFor(AltLabelOverrides, i, v);
    CopyLabel(AltLabels[i], LocalizeString(text ? text : AltLabelSources[i]));
  }
}

const char* CommandLabel(std::int32_t id) {
  const int index = CommandIndex(id);
  return index < 0 ? "" : MenuLabels[index];
}
