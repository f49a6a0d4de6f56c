// The module's commands: one row per menu item, saying into which of the
// editor's menus the item goes, where, with which separators, in which host
// versions it exists, what enables it, and how it is drawn. The editor's menus
// are never edited ahead of time; the rows are read each time a menu opens.
//
// The labels of the rows are in menus/label_texts.h (by the same index);
// start-up translates them into MenuLabels and AltLabels below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "menus/label_texts.h"
#include "menus/module_menus.h"
#include "menus/version_pair.h"

// The command of row i has the identifier 0x8800 + i. The neighbouring
// ranges hold the smart-filter items (0x8600), the script items (0x8700) and
// the action items (0x8900) of the module's own submenus.
constexpr std::int32_t kFirstCommandId = 0x8800;
constexpr std::int32_t kLastCommandId = kFirstCommandId + std::int32_t(kCommandCount) - 1;

constexpr std::int32_t CommandId(std::size_t index) { return kFirstCommandId + std::int32_t(index); }
// The row of a command identifier, or -1 for any other identifier.
constexpr int CommandIndex(std::int32_t id) {
  return id >= kFirstCommandId && id <= kLastCommandId ? int(id - kFirstCommandId) : -1;
}

// The layer and document conditions that enable items, recomputed each time a
// menu opens. A row requires flag k through bit k + 1 of its RequiredFlags.
enum class MenuFlag : int {
  Always, DocumentOpen, SeveralTargets, NotBackground, TextLayer, SmartObject, SmartFilters,
  MaskAddable, HasLayerMask, GroupLayer, PixelCommands, ConvertibleLayer, RgbImage, EightBit,
  DeepImage, QuickMaskOn, QuickMaskOff, SelectionPresent,
  Count
};
constexpr int kMenuFlagCount = int(MenuFlag::Count);

constexpr std::int32_t RequiredBit(MenuFlag flag) { return std::int32_t(2) << int(flag); }
template <typename... Flags>
constexpr std::int32_t Requires(Flags... flags) {
  return (RequiredBit(flags) | ...);
}

// Menu states are kept in the same bits: an item is enabled exactly when
// every flag it requires is set.
constexpr bool RequiredFlagsMet(std::int32_t required, std::int32_t stateBits) {
  return (required & ~stateBits) == 0;
}

// Separator: which separators are inserted together with the item.
constexpr std::int32_t kSeparatorNone = 0;
constexpr std::int32_t kSeparatorBefore = 1;
constexpr std::int32_t kSeparatorAfter = 2;
constexpr std::int32_t kSeparatorBoth = 3;

// Ten signed 32-bit fields, in this order.
struct CommandEntry {
  std::int32_t AnchorId;      // a host command among the first three items of the item's menu
  std::int32_t Position;      // where in the host menu (0 for items of a module submenu)
  std::int32_t OpensSubmenu;  // 1: the item is the parent of module submenu SubmenuIndex
  std::int32_t SubmenuIndex;  // 0: in the host menu; 1 to 10: a module submenu (ModuleSubmenu + 1)
  std::int32_t Checked;       // the item's check; changed at run time by radio groups and commands
  std::int32_t Separator;     // kSeparatorNone, Before, After or Both
  std::int32_t VersionA;      // host versions the item exists in: see VersionPairAdmits
  std::int32_t VersionB;
  std::int32_t IndentClass;   // 0, 1 or 2: the indent the item is drawn with
  std::int32_t RequiredFlags; // RequiredBit of every flag that must be set to enable the item

  constexpr bool operator==(const CommandEntry&) const = default;
};

// The module submenu a row stands in or opens, or -1 for a host-menu item.
constexpr int SubmenuOf(const CommandEntry& entry) {
  return entry.SubmenuIndex >= 1 && entry.SubmenuIndex <= kSubmenuCount ? entry.SubmenuIndex - 1 : -1;
}

namespace command_rows {

struct Placement {
  std::int32_t opensSubmenu;
  std::int32_t submenuIndex;
};
constexpr Placement kHostMenu{0, 0};
constexpr Placement Opens(ModuleSubmenu menu) { return {1, std::int32_t(menu) + 1}; }
constexpr Placement In(ModuleSubmenu menu) { return {0, std::int32_t(menu) + 1}; }

constexpr CommandEntry Row(std::int32_t anchor, std::int32_t position, Placement placed, std::int32_t separator,
                           std::int32_t versionA, std::int32_t versionB, std::int32_t required,
                           std::int32_t checked, std::int32_t indent) {
  return {anchor, position, placed.opensSubmenu, placed.submenuIndex, checked, separator,
          versionA, versionB, indent, required};
}

using enum MenuFlag;
using enum ModuleSubmenu;
constexpr std::int32_t kNone = kSeparatorNone, kBefore = kSeparatorBefore, kAfter = kSeparatorAfter,
                       kBoth = kSeparatorBoth;

// The rows as the editor's latest layout wants them; AdjustCommandTable moves
// them for older editors. Columns: anchor, position, placement, separator,
// versions, required flags, checked at start, indent.
inline constexpr std::array<CommandEntry, kCommandCount> InitialCommandTable = {{
    Row(16203, 2, kHostMenu, kNone, 4, 0, Requires(Always), 0, 2),  // 0 Browse in Organizer...
    Row(16203, 3, kHostMenu, kNone, 5, 0, Requires(Always), 0, 2),  // 1 Open as Smart Object...
    Row(16203, 20, Opens(kScriptsMenu), kNone, 6, 0, Requires(Always), 0, 1),  // 2 Scripts
    Row(16203, 0, In(kScriptsMenu), kNone, 6, 0, Requires(Always), 0, 0),  // 3 Browse...
    Row(16203, 21, Opens(kActionsMenu), kNone, 6, 0, Requires(Always), 0, 1),  // 4 Actions
    Row(16203, 0, In(kActionsMenu), kAfter, 6, 0, Requires(Always), 0, 0),  // 5 Load Actions...
    Row(16203, 0, In(kActionsMenu), kNone, 6, 0, Requires(Always), 0, 0),  // 6 Clear All Actions
    Row(1961, 3, kHostMenu, kBefore, 0, 0, Requires(EightBit), 0, 1),  // 7 Fade...
    Row(1961, 10, kHostMenu, kBefore, 8, 11, Requires(TextLayer), 0, 1),  // 8 Spell Check... (never in 1)
    Row(1961, 10, kHostMenu, kNone, 0, 0, Requires(TextLayer), 0, 1),  // 9 Find and Replace Text...
    Row(1006, 6, kHostMenu, kNone, 6, 0, Requires(EightBit), 0, 0),  // 10 16 Bits/Channel
    Row(2990, 2, kHostMenu, kNone, 6, 0, Requires(SeveralTargets, EightBit), 0, 1),  // 11 Auto-Align Layers...
    Row(2990, 2, kHostMenu, kAfter, 6, 0, Requires(SeveralTargets, EightBit), 0, 1),  // 12 Auto-Blend Layers...
    Row(2990, 3, kHostMenu, kNone, 0, 0, Requires(PixelCommands), 0, 2),  // 13 Trim...
    Row(2990, 8, Opens(kChannelsMenu), kNone, 0, 0, Requires(RgbImage, QuickMaskOff), 0, 2),  // 14 Channels
    Row(2990, 0, In(kChannelsMenu), kNone, 0, 0, Requires(RgbImage), 1, 0),  // 15 RGB
    Row(2990, 0, In(kChannelsMenu), kBefore, 0, 0, Requires(RgbImage), 0, 0),  // 16 Red
    Row(2990, 0, In(kChannelsMenu), kNone, 0, 0, Requires(RgbImage), 0, 0),  // 17 Green
    Row(2990, 0, In(kChannelsMenu), kNone, 0, 0, Requires(RgbImage), 0, 0),  // 18 Blue
    Row(2990, 0, In(kChannelsMenu), kBefore, 0, 0, Requires(RgbImage), 0, 0),  // 19 Red + Green
    Row(2990, 0, In(kChannelsMenu), kNone, 0, 0, Requires(RgbImage), 0, 0),  // 20 Red + Blue
    Row(2990, 0, In(kChannelsMenu), kNone, 0, 0, Requires(RgbImage), 0, 0),  // 21 Green + Blue
    Row(2990, 0, In(kChannelsMenu), kBefore, 0, 0, Requires(RgbImage), 0, 0),  // 22 Show All
    Row(2990, 11, kHostMenu, kAfter, 11, 0, Requires(PixelCommands), 0, 1),  // 23 Apply Image...
    Row(3065, 3, kHostMenu, kBefore, 4, 4, Requires(PixelCommands), 0, 0),  // 24 Curves...
    Row(3065, 3, kHostMenu, kNone, 6, 0, Requires(PixelCommands, EightBit), 0, 0),  // 25 Exposure...
    Row(1812, 8, kHostMenu, kBefore, 4, 4, Requires(PixelCommands), 0, 0),  // 26 Channel Mixer...
    Row(1812, 8, kHostMenu, kNone, 8, 0, Requires(PixelCommands, EightBit), 0, 0),  // 27 Vibrance...
    Row(1812, 8, kHostMenu, kNone, 3, 11, Requires(PixelCommands, EightBit), 0, 0),  // 28 Color Balance...
    Row(1812, 8, kHostMenu, kNone, 3, 11, Requires(PixelCommands, EightBit), 0, 0),  // 29 Selective Color...
    Row(16314, 11, kHostMenu, kNone, 6, 0, Requires(PixelCommands, EightBit), 0, 1),  // 30 Black && White...
    Row(16314, 14, kHostMenu, kNone, 4, 0, Requires(PixelCommands), 0, 2),  // 31 Sharpen
    Row(16314, 14, kHostMenu, kNone, 4, 0, Requires(PixelCommands), 0, 2),  // 32 Sharpen More
    Row(16314, 14, kHostMenu, kNone, 4, 0, Requires(PixelCommands), 0, 2),  // 33 Sharpen Edges
    Row(1350, 1, kHostMenu, kNone, 0, 0, Requires(NotBackground), 0, 0),  // 34 Fill Opacity...
    Row(1223, 0, kHostMenu, kAfter, 0, 0, Requires(Always), 0, 0),  // 35 Convert to Shape
    Row(1223, 4, kHostMenu, kNone, 0, 0, Requires(Always), 1, 0),  // 36 Anti-Alias Crisp
    Row(1223, 4, kHostMenu, kNone, 0, 0, Requires(Always), 0, 0),  // 37 Anti-Alias Sharp
    Row(1223, 4, kHostMenu, kNone, 0, 0, Requires(Always), 0, 0),  // 38 Anti-Alias Strong
    Row(1223, 4, kHostMenu, kNone, 0, 0, Requires(Always), 0, 0),  // 39 Anti-Alias Smooth
    Row(1223, 5, kHostMenu, kNone, 0, 0, Requires(Always), 0, 0),  // 40 Convert to Paragraph Text
    Row(1223, 5, kHostMenu, kAfter, 0, 0, Requires(Always), 0, 0),  // 41 Tracking
    Row(2400, 6, Opens(kSmartFilterMenu), kNone, 6, 0, Requires(SmartFilters, EightBit), 0, 1),  // 42 Smart Filter
    Row(2400, 0, In(kSmartFilterMenu), kBefore, 6, 0, Requires(SmartFilters), 0, 0),  // 43 Edit Smart Filters...
    Row(2400, 0, In(kSmartFilterMenu), kBefore, 6, 0, Requires(SmartFilters), 0, 0),  // 44 Disable Smart Filters
    Row(2400, 0, In(kSmartFilterMenu), kNone, 0, 7, Requires(SmartFilters), 0, 0),  // 45 Enable Smart Filters
    Row(2400, 0, In(kSmartFilterMenu), kNone, 6, 0, Requires(SmartFilters), 0, 0),  // 46 Clear Smart Filters
    Row(2400, 0, In(kSmartFilterMenu), kBefore, 6, 0, Requires(SmartFilters), 0, 0),  // 47 Select Filter Mask
    Row(2400, 0, In(kSmartFilterMenu), kNone, 6, 0, Requires(SmartFilters), 0, 0),  // 48 Disable Filter Mask
    Row(2400, 0, In(kSmartFilterMenu), kNone, 6, 0, Requires(SmartFilters), 0, 0),  // 49 Enable Filter Mask
    Row(2400, 0, In(kSmartFilterMenu), kNone, 6, 0, Requires(SmartFilters), 0, 0),  // 50 Clear Filter Mask
    Row(2400, 14, Opens(kSmartObjectMenu), kNone, 5, 0, Requires(PixelCommands, EightBit), 0, 1),  // 51 Smart Object
    Row(2400, 0, In(kSmartObjectMenu), kNone, 5, 0, Requires(ConvertibleLayer), 0, 0),  // 52 Convert to Smart Object
    Row(2400, 0, In(kSmartObjectMenu), kNone, 5, 0, Requires(SmartObject), 0, 0),  // 53 New Smart Object via Copy
    Row(2400, 0, In(kSmartObjectMenu), kBefore, 6, 0, Requires(SmartObject), 0, 0),  // 54 Edit Contents
    Row(2400, 0, In(kSmartObjectMenu), kBefore, 5, 0, Requires(SmartObject), 0, 0),  // 55 Export Contents...
    Row(2400, 0, In(kSmartObjectMenu), kNone, 5, 0, Requires(SmartObject), 0, 0),  // 56 Replace Contents...
    Row(2400, 17, Opens(kLayerMaskMenu), kNone, 0, 8, Requires(NotBackground, EightBit), 0, 1),  // 57 Layer Mask
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(MaskAddable), 0, 0),  // 58 Reveal All
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(MaskAddable), 0, 0),  // 59 Hide All
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(MaskAddable, SelectionPresent), 0, 0),  // 60 Reveal Selection
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(MaskAddable, SelectionPresent), 0, 0),  // 61 Hide Selection
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(MaskAddable), 0, 0),  // 62 From Transparency
    Row(2400, 0, In(kLayerMaskMenu), kBefore, 0, 8, Requires(HasLayerMask), 0, 0),  // 63 Delete
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(HasLayerMask), 0, 0),  // 64 Apply
    Row(2400, 0, In(kLayerMaskMenu), kBefore, 0, 8, Requires(HasLayerMask), 0, 0),  // 65 Disable
    Row(2400, 0, In(kLayerMaskMenu), kNone, 0, 8, Requires(HasLayerMask), 0, 0),  // 66 Unlink
    Row(1157, 4, kHostMenu, kNone, 9, 0, Requires(MaskAddable), 0, 0),  // 67 From Transparency
    Row(2400, 18, Opens(kVectorMaskMenu), kNone, 1, 0, Requires(NotBackground, EightBit), 0, 1),  // 68 Vector Mask
    Row(2400, 0, In(kVectorMaskMenu), kNone, 1, 0, Requires(SelectionPresent), 0, 0),  // 69 From Selection
    Row(2400, 0, In(kVectorMaskMenu), kNone, 1, 0, Requires(NotBackground), 0, 0),  // 70 From Shape
    Row(2400, 0, In(kVectorMaskMenu), kBefore, 1, 0, Requires(NotBackground), 0, 0),  // 71 Delete
    Row(2400, 0, In(kVectorMaskMenu), kNone, 1, 0, Requires(NotBackground), 0, 0),  // 72 Rasterize
    Row(2400, 0, In(kVectorMaskMenu), kBefore, 1, 0, Requires(NotBackground), 0, 0),  // 73 Disable
    Row(2400, 0, In(kVectorMaskMenu), kNone, 1, 0, Requires(NotBackground), 0, 0),  // 74 Enable
    Row(2400, 16, kHostMenu, kBefore, 4, 0, Requires(NotBackground), 0, 1),  // 75 Group Layers
    Row(2400, 16, kHostMenu, kNone, 4, 0, Requires(GroupLayer), 0, 1),  // 76 Ungroup Layers
    Row(2400, 16, kHostMenu, kNone, 0, 0, Requires(NotBackground), 0, 1),  // 77 Hide Layers
    Row(2400, 21, Opens(kAlignMenu), kNone, 0, 0, Requires(NotBackground), 0, 1),  // 78 Align
    Row(2400, 0, In(kAlignMenu), kNone, 0, 0, Requires(NotBackground), 0, 0),  // 79 Top Edges
    Row(2400, 0, In(kAlignMenu), kNone, 0, 0, Requires(NotBackground), 0, 0),  // 80 Vertical Centers
    Row(2400, 0, In(kAlignMenu), kNone, 0, 0, Requires(NotBackground), 0, 0),  // 81 Bottom Edges
    Row(2400, 0, In(kAlignMenu), kBefore, 0, 0, Requires(NotBackground), 0, 0),  // 82 Left Edges
    Row(2400, 0, In(kAlignMenu), kNone, 0, 0, Requires(NotBackground), 0, 0),  // 83 Horizontal Centers
    Row(2400, 0, In(kAlignMenu), kNone, 0, 0, Requires(NotBackground), 0, 0),  // 84 Right Edges
    Row(2400, 22, Opens(kDistributeMenu), kNone, 4, 0, Requires(SeveralTargets), 0, 1),  // 85 Distribute
    Row(2400, 0, In(kDistributeMenu), kNone, 4, 0, Requires(SeveralTargets), 0, 0),  // 86 Top Edges
    Row(2400, 0, In(kDistributeMenu), kNone, 4, 0, Requires(SeveralTargets), 0, 0),  // 87 Vertical Centers
    Row(2400, 0, In(kDistributeMenu), kNone, 4, 0, Requires(SeveralTargets), 0, 0),  // 88 Bottom Edges
    Row(2400, 0, In(kDistributeMenu), kBefore, 4, 0, Requires(SeveralTargets), 0, 0),  // 89 Left Edges
    Row(2400, 0, In(kDistributeMenu), kNone, 4, 0, Requires(SeveralTargets), 0, 0),  // 90 Horizontal Centers
    Row(2400, 0, In(kDistributeMenu), kNone, 4, 0, Requires(SeveralTargets), 0, 0),  // 91 Right Edges
    Row(2400, 25, kHostMenu, kNone, 4, 0, Requires(EightBit), 0, 1),  // 92 Stamp Visible
    Row(6303, 11, kHostMenu, kNone, 3, 11, Requires(Always), 0, 0),  // 93 Curves...
    Row(6303, 11, kHostMenu, kNone, 6, 0, Requires(Always), 0, 0),  // 94 Exposure...
    Row(6303, 11, kHostMenu, kNone, 8, 0, Requires(Always), 0, 0),  // 95 Vibrance...
    Row(6303, 11, kHostMenu, kNone, 3, 11, Requires(Always), 0, 0),  // 96 Color Balance...
    Row(6303, 11, kHostMenu, kNone, 6, 0, Requires(Always), 0, 0),  // 97 Black && White...
    Row(6303, 11, kHostMenu, kNone, 3, 11, Requires(Always), 0, 0),  // 98 Channel Mixer...
    Row(6303, 11, kHostMenu, kNone, 3, 11, Requires(Always), 0, 0),  // 99 Selective Color...
    Row(1017, 16, kHostMenu, kBefore, 0, 7, Requires(DocumentOpen, EightBit), 0, 0),  // 100 Transform Selection...
    Row(1017, 17, kHostMenu, kBefore, 0, 0, Requires(DocumentOpen), 0, 0),  // 101 Edit in Quick Mask Mode...
    Row(1017, 17, kHostMenu, kNone, 0, 0, Requires(QuickMaskOn), 0, 0),  // 102 Quick Mask Options...
    Row(1017, 18, Opens(kSelectionFromMenu), kNone, 0, 0, Requires(DocumentOpen), 0, 0),  // 103 Selection From
    Row(1017, 0, In(kSelectionFromMenu), kNone, 0, 0, Requires(DocumentOpen, HasLayerMask), 0, 0),  // 104 Layer Mask
    Row(1017, 0, In(kSelectionFromMenu), kNone, 0, 0, Requires(DocumentOpen, NotBackground), 0, 0),  // 105 Layer Opacity
    Row(1017, 0, In(kSelectionFromMenu), kBefore, 0, 0, Requires(DocumentOpen), 0, 0),  // 106 Luminosity
    Row(1017, 0, In(kSelectionFromMenu), kNone, 0, 0, Requires(DocumentOpen), 0, 0),  // 107 Red Channel
    Row(1017, 0, In(kSelectionFromMenu), kNone, 0, 0, Requires(DocumentOpen), 0, 0),  // 108 Green Channel
    Row(1017, 0, In(kSelectionFromMenu), kNone, 0, 0, Requires(DocumentOpen), 0, 0),  // 109 Blue Channel
    Row(1019, 1, kHostMenu, kBoth, 6, 0, Requires(ConvertibleLayer, EightBit), 0, 0),  // 110 Convert for Smart Filters
    Row(1001, 1, kHostMenu, kBefore, 0, 0, Requires(DocumentOpen), 0, 1),  // 111 Proof Colors...
    Row(1001, 1, kHostMenu, kNone, 3, 0, Requires(DocumentOpen), 0, 1),  // 112 Custom Pixel Aspect Ratio...
    Row(10258, 1, kHostMenu, kNone, 0, 0, Requires(Always), 0, 1),  // 113 Quillbright Help...
    Row(24570, 8, kHostMenu, kBefore, 6, 0, Requires(Always), 0, 1),  // 114 History Options...
    Row(2311, 10, kHostMenu, kBefore, 0, 0, Requires(Always), 0, 0),  // 115 Quillbright...
}};

}  // namespace command_rows

using command_rows::InitialCommandTable;

// The rows in use: InitialCommandTable as AdjustCommandTable left it for the
// running host, with the check states of the session.
extern std::array<CommandEntry, kCommandCount> CommandTable;

// Whether row `index` of CommandTable exists in host major version v: its
// version pair admits v, and Spell Check (8) never exists in version 1.
bool CommandExists(std::size_t index, int v);

// Start-up: fits the rows to HostMajorVersion (anchors of the older editors'
// menus, positions, separators). Every field it changes is first set back to
// its initial value, so a second start-up gives the same table.
void AdjustCommandTable();

// Translated labels, cut to fit.
constexpr std::size_t kMenuLabelSize = 128;
extern char MenuLabels[kCommandCount][kMenuLabelSize];
// The other texts of the labels that change with the layer (AltLabelSources).
extern char AltLabels[kAltLabelCount][kMenuLabelSize];

// Start-up, once the host's dictionary can be read: fills MenuLabels and
// AltLabels for HostMajorVersion.
void BuildMenuLabels();

// The label of a command identifier; "" for an identifier outside the table.
const char* CommandLabel(std::int32_t id);
