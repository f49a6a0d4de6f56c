#include "menus/menu_insertion.h"

#include <cstring>
#include <initializer_list>

#include "commands/channels.h"
#include "commands/smart_filters.h"
#include "commands/text_commands.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "host/layer_queries.h"
#include "menus/action_script_menus.h"
#include "menus/filter_menu_host.h"
#include "menus/host_menu_ids.h"
#include "menus/menu_drawing.h"

std::int32_t MenuState = 0;

namespace {

// Host menus recognised by their first items.
constexpr std::int32_t kLayerMenuFirst = host_menu::kLayerNew;
constexpr std::int32_t kOldLayerMenuSecond = host_menu::kOldLayer;  // editors 3 and older
constexpr std::int32_t kSelectMenuFirst = host_menu::kSelectAll;
constexpr std::int32_t kImageMenuFirst = host_menu::kImageCrop;
constexpr std::int32_t kOldImageMenuFirst = host_menu::kOldImage2;   // editor 2
constexpr std::int32_t kOldImageMenuThird = host_menu::kOldImage13;  // editors 1 and 3
constexpr std::int32_t kFileMenuAnchor = host_menu::kFileOpen;
constexpr std::int32_t kFilterMenuAnchor = host_menu::kLastFilter;
constexpr std::int32_t kEnhanceMenuFirst = host_menu::kAutoSmartFix;
constexpr std::int32_t kConvertForSmartFiltersId = 0x886E;
constexpr std::int32_t kTypeMenuAnchor = host_menu::kTypeHorizontal;
// The editor's own item that the module's type commands replace.
constexpr std::int32_t kHostTypeItemToReplace = host_menu::kTypeAntiAlias;

// Rows with a part in the labels and checks below.
constexpr std::size_t kScriptsRow = 2;
constexpr std::size_t kBrowseScriptsRow = 3;
constexpr std::size_t kClearFilterMaskRow = 50;  // the last item of the Smart Filter submenu
constexpr std::size_t kClearActionsRow = 6;
constexpr int kFirstAntiAliasRow = 36;  // Crisp, Sharp, Strong, Smooth
constexpr int kLastAntiAliasRow = 39;
constexpr std::size_t kTextKindRow = 40;
constexpr std::size_t kSmartFilterToggleRow = 44;
constexpr int kFirstChannelRow = 15;  // RGB, then Red ... Green + Blue
constexpr int kLastChannelRow = 21;
constexpr std::size_t kShowAllRow = 22;
constexpr std::size_t kUserMaskToggleRow = 65;
constexpr std::size_t kUserMaskLinkRow = 66;
// Delete and Apply of the Layer Mask submenu: both delete the target channel.
constexpr std::size_t kMaskRemovingRows[] = {63, 64};
constexpr std::size_t kLayerVisibilityRow = 77;
constexpr std::size_t kAlignRow = 78;
constexpr std::size_t kQuickMaskRow = 101;

// Colour mode values of GetDocumentColorMode: below 10 eight bits per
// channel, 10 to 15 sixteen, 16 and 17 thirty-two.
constexpr int kRgb8 = 3;
constexpr int kRgb16 = 11;
constexpr int kFirstDeepMode = 10;
constexpr int kLastDeepMode = 17;

std::int32_t Bit(MenuFlag flag) { return RequiredBit(flag); }

bool ChangeState(HMENU menu, UINT item, BOOL byPosition, UINT clear, UINT set) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!GetMenuItemInfoA(menu, item, byPosition, &info)) return false;
  info.fState = (info.fState & ~clear) | set;
  return SetMenuItemInfoA(menu, item, byPosition, &info) != FALSE;
}

// Which host queries the needed flags call for.
struct Needs {
  std::int32_t flags;
  bool Any(std::initializer_list<MenuFlag> wanted) const {
    for (MenuFlag flag : wanted)
      if (flags & Bit(flag)) return true;
    return false;
  }
};

Needs FlagsNeededBy(std::int32_t id0, std::int32_t id1, std::int32_t id2) {
  if (id0 == 0 && id1 == 0 && id2 == 0) return {~std::int32_t(0)};
  std::int32_t flags = 0;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const std::int32_t anchor = CommandTable[i].AnchorId;
    if ((anchor == id0 || anchor == id1 || anchor == id2) && CommandExists(i, HostMajorVersion))
      flags |= CommandTable[i].RequiredFlags;
  }
  return {flags};
}

// The flags of the current layer (NotBackground to ConvertibleLayer).
std::int32_t LayerFlags(const Needs& needs, int v) {
  using enum MenuFlag;
  if (!needs.Any({NotBackground, TextLayer, SmartObject, SmartFilters, MaskAddable, HasLayerMask, GroupLayer,
                  PixelCommands, ConvertibleLayer}))
    return 0;
  // On the background layer the layer kinds are all off, and the pixel and
  // conversion commands apply.
  if (IsBackgroundLayer()) return Bit(PixelCommands) | Bit(ConvertibleLayer);

  const bool text = needs.Any({TextLayer, PixelCommands, ConvertibleLayer}) && IsTextLayer();
  const bool smart = needs.Any({SmartObject, SmartFilters, PixelCommands, ConvertibleLayer}) && IsSmartObjectLayer();
  const bool adjustment = needs.Any({PixelCommands, ConvertibleLayer}) && IsAdjustmentLayer();
  // Before 8 the filters cannot be listed; any smart object may carry some.
  const bool filters = needs.Any({SmartFilters}) && smart && (v < 8 || CountSmartFilters() > 0);
  const bool userMask = (needs.Any({MaskAddable}) || (needs.Any({HasLayerMask}) && v >= 6)) && HasUserMask();
  const bool group = needs.Any({GroupLayer}) && IsLayerGroup();

  std::int32_t state = Bit(NotBackground);
  if (text) state |= Bit(TextLayer);
  if (smart) state |= Bit(SmartObject);
  if (filters) state |= Bit(SmartFilters);
  if (!userMask) state |= Bit(MaskAddable);
  if (v < 6 || userMask) state |= Bit(HasLayerMask);
  if (group) state |= Bit(GroupLayer);
  if (smart || !(adjustment || text)) state |= Bit(PixelCommands);
  if (!(smart || adjustment || text)) state |= Bit(ConvertibleLayer);
  return state & needs.flags;
}

std::int32_t ModeFlags(const Needs& needs) {
  using enum MenuFlag;
  if (!needs.Any({RgbImage, EightBit, DeepImage})) return 0;
  const int mode = GetDocumentColorMode();
  std::int32_t state = 0;
  if (mode == kRgb8 || mode == kRgb16) state |= Bit(RgbImage);
  if (mode >= 0 && mode < kFirstDeepMode) state |= Bit(EightBit);
  if (mode >= kFirstDeepMode && mode <= kLastDeepMode) state |= Bit(DeepImage);
  return state;
}

// A label that changed goes into its item too while the item carries its
// text; owner-drawn items read MenuLabels when drawn. Only the text is set,
// so a submenu parent keeps its submenu.
void SetLabel(HMENU popup, std::size_t row, const char* text) {
  if (std::strcmp(MenuLabels[row], text) == 0) return;
  std::strncpy(MenuLabels[row], text, kMenuLabelSize - 1);
  MenuLabels[row][kMenuLabelSize - 1] = '\0';
  const UINT id = UINT(CommandId(row));
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoA(popup, id, FALSE, &info) || (info.fType & MFT_OWNERDRAW)) return;
  info.fMask = MIIM_STRING;
  info.dwTypeData = MenuLabels[row];
  SetMenuItemInfoA(popup, id, FALSE, &info);
}

void UpdateLayerMenuLabels(HMENU popup, int v) {
  if (v >= 4) SetLabel(popup, kAlignRow, AltLabels[HasSelection() ? 0 : 1]);
  SetLabel(popup, kLayerVisibilityRow, AltLabels[IsLayerVisible() ? 2 : 3]);
  const int kind = GetTextShapeKind();
  if (kind == kPointText) SetLabel(popup, kTextKindRow, AltLabels[6]);
  if (kind == kParagraphText) SetLabel(popup, kTextKindRow, AltLabels[7]);
  // The anti-alias items sit in the editor's Type submenu of this menu. No
  // setting (or no text at all) leaves none of them checked.
  const int antiAlias = GetTextAntiAlias();
  CheckRadioCommand(popup, antiAlias >= 1 ? kFirstAntiAliasRow - 1 + antiAlias : -1, kFirstAntiAliasRow,
                    kLastAntiAliasRow);
  if (v >= 8) SetLabel(popup, kSmartFilterToggleRow, AltLabels[IsSmartFilterEnabled(1) ? 4 : 5]);
  if (v >= 9) return;
  SetLabel(popup, kUserMaskToggleRow, AltLabels[IsLayerMaskEnabled() ? 10 : 11]);
  SetLabel(popup, kUserMaskLinkRow, AltLabels[IsLayerMaskLinked() ? 12 : 13]);
}

// Host filters chosen on such a layer become smart filters, so the ones the
// host disables there are opened up. Before 8 the filters cannot be counted.
bool LayerTakesSmartFilters(int v) { return v >= 8 ? CountSmartFilters() > 0 : IsSmartObjectLayer(); }

// The Channels submenu shows which colour channels are targeted; "Show All"
// is on while a single channel or a pair is shown with all three visible.
void UpdateChannelChecks() {
  HMENU channels = LiveModuleSubmenu(kChannelsMenu);
  const std::int32_t choice = ChannelChoiceOfMask(GetChannelMask(false));
  if (choice < 0) return;
  CheckRadioCommand(channels, kFirstChannelRow + choice, kFirstChannelRow, kLastChannelRow);
  const bool showAll = choice > 0 ? GetChannelMask(true) == kAllColorBits : ShowAllChannels;
  CommandTable[kShowAllRow].Checked = showAll ? 1 : 0;
  if (channels)
    SetCommandCheck(channels, CommandId(kShowAllRow), showAll ? CheckMode::Check : CheckMode::Uncheck);
}

bool RemovesLayerMask(std::size_t row) {
  for (std::size_t r : kMaskRemovingRows)
    if (r == row) return true;
  return false;
}

// Whether the item of `row` is enabled in the current menu state. Before 6
// every layer counts as having a layer mask, which is harmless for the
// toggles; but Delete and Apply on a layer without one would delete
// whatever channel is targeted, so they also need the mask itself.
bool ItemEnabled(std::size_t row, int v) {
  if (!RequiredFlagsMet(CommandTable[row].RequiredFlags, MenuState)) return false;
  if (v < 6 && RemovesLayerMask(row)) return HasUserMask();
  return true;
}

// The editor draws its own items from 4 and its separators from 6; the
// module's items look the same as theirs in each version.
bool ItemsOwnerDrawn(int v) { return v >= 4; }

// Inserts a separator; the counter of its menu grows.
void InsertSeparator(HMENU menu, int position, int& counter) {
  InsertModuleSeparator(menu, position, HostMajorVersion);
  ++counter;
}

}  // namespace

std::int32_t ComputeMenuState(std::int32_t id0, std::int32_t id1, std::int32_t id2) {
  using enum MenuFlag;
  const int v = HostMajorVersion;
  const Needs needs = FlagsNeededBy(id0, id1, id2);
  std::int32_t state = Bit(Always);
  if (IsDocumentOpen(false)) {
    state |= Bit(DocumentOpen);
    if (needs.Any({SeveralTargets}) && CountTargetLayers() > 1) state |= Bit(SeveralTargets);
    state |= LayerFlags(needs, v);
    state |= ModeFlags(needs);
    if (needs.Any({QuickMaskOn, QuickMaskOff}))
      state |= CommandTable[kQuickMaskRow].Checked == 1 ? Bit(QuickMaskOn) : Bit(QuickMaskOff);
    if (needs.Any({SelectionPresent}) && (v < 6 || HasSelection())) state |= Bit(SelectionPresent);
  }
  MenuState = state;
  return state;
}

std::int32_t ItemIdAt(HMENU menu, int position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  if (!GetMenuItemInfoA(menu, UINT(position), TRUE, &info)) return 0;
  return std::int32_t(info.wID);
}

bool MenuHasCommand(HMENU menu, std::int32_t id) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position)
    if (ItemIdAt(menu, position) == id) return true;
  return false;
}

bool SetCommandEnabled(HMENU menu, std::int32_t id, bool enabled) {
  return ChangeState(menu, UINT(id), FALSE, MFS_DISABLED | MFS_GRAYED, enabled ? 0 : MFS_DISABLED | MFS_GRAYED);
}

bool SetPositionEnabled(HMENU menu, int position, bool enabled) {
  if (position < 0) return false;
  return ChangeState(menu, UINT(position), TRUE, MFS_DISABLED | MFS_GRAYED,
                     enabled ? 0 : MFS_DISABLED | MFS_GRAYED);
}

bool SetCommandCheck(HMENU menu, std::int32_t id, CheckMode mode) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!GetMenuItemInfoA(menu, UINT(id), FALSE, &info)) return false;
  const bool checked = mode == CheckMode::Check || (mode == CheckMode::Toggle && !(info.fState & MFS_CHECKED));
  info.fState = checked ? info.fState | MFS_CHECKED : info.fState & ~UINT(MFS_CHECKED);
  return SetMenuItemInfoA(menu, UINT(id), FALSE, &info) != FALSE;
}

void CheckRadioCommand(HMENU menu, int index, int first, int last) {
  if (first < 0) first = 0;
  if (last >= int(kCommandCount)) last = int(kCommandCount) - 1;
  for (int row = first; row <= last; ++row) {
    const bool checked = row == index;
    CommandTable[std::size_t(row)].Checked = checked ? 1 : 0;
    if (menu) SetCommandCheck(menu, CommandId(std::size_t(row)), checked ? CheckMode::Check : CheckMode::Uncheck);
  }
}

void UpdateToggleLabels(HMENU popup, std::int32_t id0, std::int32_t id1, std::int32_t id2) {
  (void)id2;
  if (id0 == kLayerMenuFirst || id1 == kOldLayerMenuSecond) UpdateLayerMenuLabels(popup, HostMajorVersion);
  if (id0 == kImageMenuFirst || id0 == kOldImageMenuFirst || id2 == kOldImageMenuThird) UpdateChannelChecks();
  if (id0 == kSelectMenuFirst)
    SetCommandCheck(popup, CommandId(kQuickMaskRow),
                    CommandTable[kQuickMaskRow].Checked == 1 ? CheckMode::Check : CheckMode::Uncheck);
}

int UpdatePopupMenu(HMENU popup) {
  const int count = GetMenuItemCount(popup);
  if (count < 0) return 1;
  const std::int32_t id0 = ItemIdAt(popup, 0), id1 = ItemIdAt(popup, 1), id2 = ItemIdAt(popup, 2);
  UpdateToggleLabels(popup, id0, id1, id2);
  if (id0 == kFilterMenuAnchor || id0 == kEnhanceMenuFirst) ReadFilterMenuIds(popup, id0 == kEnhanceMenuFirst);

  const int v = HostMajorVersion;
  // Editors 3 and older get the module's items at the end of the menu,
  // behind one separator.
  const bool appendAll = v <= 3;
  const bool separatorsInHostMenu = v > 3;
  int topCount = 0;  // items put into the host menu since the anchor changed
  int subCount = 0;  // items put into the current module submenu
  bool anchorSeen = false;
  std::int32_t previousAnchor = 0;
  bool stateKnown = false;
  bool insertedIntoPopup = false;

  for (std::size_t i = 0; i < kCommandCount; ++i) {
    if (!CommandExists(i, v)) continue;
    const CommandEntry& entry = CommandTable[i];
    if (!anchorSeen || entry.AnchorId != previousAnchor) topCount = 0;
    anchorSeen = true;
    previousAnchor = entry.AnchorId;
    if (entry.AnchorId != id0 && entry.AnchorId != id1 && entry.AnchorId != id2) continue;
    if (!stateKnown) {
      ComputeMenuState(id0, id1, id2);
      stateKnown = true;
    }

    const int submenu = SubmenuOf(entry);
    const bool opens = entry.OpensSubmenu == 1 && submenu >= 0;
    HMENU own = submenu >= 0 ? LiveModuleSubmenu(ModuleSubmenu(submenu)) : nullptr;
    if (submenu >= 0 && !own) continue;  // the module's submenus are not made yet
    HMENU target = submenu >= 0 && !opens ? own : popup;
    int& counter = target == popup ? topCount : subCount;
    // A submenu's items count from its top, also when its parent was
    // already there.
    if (opens) subCount = 0;

    const int base = appendAll ? count + 1 : entry.Position;
    const std::int32_t id = CommandId(i);
    if (!MenuHasCommand(target, id)) {
      if (entry.AnchorId == kFileMenuAnchor && i == kScriptsRow) {
        InsertSeparator(popup, 19 + topCount, topCount);
      } else if (v >= 6 && entry.AnchorId == kFilterMenuAnchor) {
        DeleteMenu(popup, 2, MF_BYPOSITION);  // the editor's own item, replaced by the module's
      } else if (v >= 4 && entry.AnchorId == kTypeMenuAnchor) {
        DeleteMenu(popup, kHostTypeItemToReplace, MF_BYCOMMAND);
      }
      const bool separators = separatorsInHostMenu || entry.SubmenuIndex != 0;
      if (separators && (entry.Separator & kSeparatorBefore)) InsertSeparator(target, base + counter, counter);
      if (opens) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        info.wID = UINT(id);
        info.hSubMenu = own;
        if (ItemsOwnerDrawn(v)) {
          info.fType = MFT_OWNERDRAW;
        } else {
          info.fMask |= MIIM_STRING;
          info.fType = MFT_STRING;
          info.dwTypeData = MenuLabels[i];
        }
        InsertMenuItemA(popup, UINT(base + topCount), TRUE, &info);
      } else {
        // An owner-drawn item's text is read by its identifier when drawn.
        if (ItemsOwnerDrawn(v))
          InsertMenuA(target, UINT(base + counter), MF_BYPOSITION | MF_OWNERDRAW, UINT_PTR(id), nullptr);
        else
          InsertMenuA(target, UINT(base + counter), MF_BYPOSITION | MF_STRING, UINT_PTR(id), MenuLabels[i]);
        ++counter;
      }
      if (separators && (entry.Separator & kSeparatorAfter)) InsertSeparator(target, base + counter, counter);
      if (entry.Checked == 1) SetCommandCheck(target, id, CheckMode::Check);
      if (target == popup) insertedIntoPopup = true;
    }
    SetCommandEnabled(target, id, ItemEnabled(i, v));
    // The lists of these two submenus change while the host runs: they are
    // read again each time their parent opens.
    if (i == kClearActionsRow) RebuildActionsMenus(ItemsOwnerDrawn(v) ? MF_OWNERDRAW : 0, v >= 6 ? MF_OWNERDRAW : 0);
    if (i == kBrowseScriptsRow) RebuildScriptsMenus();
    if (i == kClearFilterMaskRow && v >= 8) RebuildSmartFilterSubmenu(ItemsOwnerDrawn(v) ? MF_OWNERDRAW : 0);
    if (id == kConvertForSmartFiltersId && LayerTakesSmartFilters(v)) EnableRenderSubmenu(popup);
  }

  if (appendAll && insertedIntoPopup) InsertModuleSeparator(popup, count, v);
  return 1;
}
