// The module's items in the editor's menus: a menu recognised by its first
// three commands gets its rows once, at their places, enabled by the state of
// the document; the menu state itself, flag by flag.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "localization/dictionary.h"
#include "localization_support.h"
#include "menus/command_table.h"
#include "menus/menu_drawing.h"
#include "menus/menu_insertion.h"
#include "menus/module_menus.h"
#include "plugin_fixture.h"
#include "ui/window_procedures.h"

namespace {

using enum MenuFlag;

struct Item {
  std::int32_t id;  // 0 for a separator
  std::string label;
  bool enabled;
  bool checked;
  HMENU submenu;
  bool operator==(const Item&) const = default;
};

std::vector<Item> ReadMenu(HMENU menu) {
  std::vector<Item> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    const bool separator = (info.fType & MFT_SEPARATOR) != 0;
    // An owner-drawn item shows the label the module draws for its command.
    const std::string label = separator                        ? ""
                              : (info.fType & MFT_OWNERDRAW) ? CommandLabel(std::int32_t(info.wID))
                                                             : text;
    items.push_back({separator ? 0 : std::int32_t(info.wID), label,
                     !(info.fState & (MFS_DISABLED | MFS_GRAYED)), (info.fState & MFS_CHECKED) != 0,
                     info.hSubMenu});
  }
  return items;
}

std::vector<std::int32_t> Ids(const std::vector<Item>& items) {
  std::vector<std::int32_t> ids;
  for (const Item& item : items) ids.push_back(item.id);
  return ids;
}

std::string Show(const std::vector<std::int32_t>& ids) {
  std::ostringstream out;
  for (std::int32_t id : ids) out << std::hex << "0x" << id << " ";
  return out.str();
}

// A host menu: the given commands first, then host items 3001 and up until
// there are `total` (0 stands for a separator).
HMENU HostMenu(std::initializer_list<std::int32_t> first, int total = 30) {
  HMENU menu = CreatePopupMenu();
  for (std::int32_t id : first) {
    if (id == 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    else AppendMenuA(menu, MF_STRING, UINT_PTR(id), ("Host " + std::to_string(id)).c_str());
  }
  for (int k = int(first.size()); k < total; ++k)
    AppendMenuA(menu, MF_STRING, UINT_PTR(3000 + k), ("Host " + std::to_string(3000 + k)).c_str());
  return menu;
}

// Owns a host menu for one test.
struct MenuHolder {
  HMENU menu;
  ~MenuHolder() {
    // The module's submenus belong to the module, not to the host's menu.
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
      if (GetSubMenu(menu, i)) RemoveMenu(menu, UINT(i), MF_BYPOSITION);
    DestroyMenu(menu);
  }
};

class MenuInsertionTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Reset();
    LoadHostDictionaryFrom(host_.path().c_str());  // none there: English defaults
    UseVersion(8);
    CreateModuleMenus();
  }
  void TearDown() override {
    DestroyModuleMenus();
    Reset();
    PluginTest::TearDown();
  }
  static void Reset() {
    FreeHostDictionary();
    CommandTable = InitialCommandTable;
    std::memset(MenuLabels, 0, sizeof MenuLabels);
    std::memset(AltLabels, 0, sizeof AltLabels);
    MenuState = 0;
  }
  static void UseVersion(int version) {
    HostMajorVersion = version;
    CommandTable = InitialCommandTable;
    AdjustCommandTable();
    BuildMenuLabels();
  }
  static HMENU Submenu(ModuleSubmenu which) { return ModuleSubmenus[which]; }

  TempFolder host_;
};

constexpr std::int32_t Id(std::size_t row) { return CommandId(row); }

// The Layer menu of a version 8 editor: its 30 items (2400, then 3001 to
// 3029) with the module's rows at their places.
constexpr std::int32_t kLayerMenuAfterOpening[] = {
    2400, 3001, 3002, 3003, 3004, 3005, Id(42) /* Smart Filter */,
    3006, 3007, 3008, 3009, 3010, 3011, 3012, Id(51) /* Smart Object */,
    3013, 0, Id(75) /* Group Layers */, Id(76), Id(77) /* Hide Layers */,
    3014, Id(57) /* Layer Mask */, Id(68) /* Vector Mask */, 3015, 3016,
    Id(78) /* Align */, Id(85) /* Distribute */, 3017, 3018, Id(92) /* Stamp Visible */,
    3019, 3020, 3021, 3022, 3023, 3024, 3025, 3026, 3027, 3028, 3029};

// Its Layer Mask submenu on the background layer of a document without a
// selection: the mask toggles offer to enable and to link.
const Item kLayerMaskSubmenu[] = {
    {Id(58), "Reveal All", false, false, nullptr},
    {Id(59), "Hide All", false, false, nullptr},
    {Id(60), "Reveal Selection", false, false, nullptr},
    {Id(61), "Hide Selection", false, false, nullptr},
    {Id(62), "From Transparency", false, false, nullptr},
    {0, "", true, false, nullptr},
    {Id(63), "Delete", false, false, nullptr},
    {Id(64), "Apply", false, false, nullptr},
    {0, "", true, false, nullptr},
    {Id(65), "Enable", false, false, nullptr},
    {Id(66), "Link", false, false, nullptr},
};

TEST_F(MenuInsertionTest, LayerMenuGetsItsRowsAtTheirPlacesOnce) {
  MenuHolder layer{HostMenu({2400})};
  EXPECT_EQ(UpdatePopupMenu(layer.menu), 1);
  const std::vector<Item> top = ReadMenu(layer.menu);
  const std::vector<std::int32_t> expected(std::begin(kLayerMenuAfterOpening), std::end(kLayerMenuAfterOpening));
  EXPECT_EQ(Ids(top), expected) << "got      " << Show(Ids(top)) << "\nexpected " << Show(expected);

  const auto parent = std::find_if(top.begin(), top.end(), [](const Item& i) { return i.id == Id(57); });
  ASSERT_NE(parent, top.end());
  EXPECT_EQ(parent->submenu, Submenu(kLayerMaskMenu));
  EXPECT_EQ(parent->label, "Layer Mask");
  EXPECT_FALSE(parent->enabled);  // the background layer takes no mask
  const std::vector<Item> mask = ReadMenu(Submenu(kLayerMaskMenu));
  ASSERT_EQ(mask.size(), std::size(kLayerMaskSubmenu));
  for (std::size_t i = 0; i < mask.size(); ++i) {
    EXPECT_EQ(mask[i].id, kLayerMaskSubmenu[i].id) << "item " << i;
    EXPECT_EQ(mask[i].label, kLayerMaskSubmenu[i].label) << "item " << i;
    if (mask[i].id != 0) {
      EXPECT_EQ(mask[i].enabled, kLayerMaskSubmenu[i].enabled) << "item " << i;
    }
  }

  // Opening the same menu again adds nothing, here or in the submenus.
  std::vector<std::vector<Item>> submenus;
  for (HMENU sub : ModuleSubmenus) submenus.push_back(ReadMenu(sub));
  UpdatePopupMenu(layer.menu);
  EXPECT_EQ(ReadMenu(layer.menu), top);
  for (std::size_t k = 0; k < ModuleSubmenus.size(); ++k)
    EXPECT_EQ(ReadMenu(ModuleSubmenus[k]), submenus[k]) << "submenu " << k;
}

TEST_F(MenuInsertionTest, LayerMenuItemsFollowTheTargetLayer) {
  StartHost(R"({"documents": [{"layers": [{"background": true},
    {"name": "Masked", "userMask": {"enabled": false, "linked": true}, "visible": false}], "target": [1]}]})");
  MenuHolder layer{HostMenu({2400})};
  UpdatePopupMenu(layer.menu);
  struct Expected {
    std::int32_t id;
    const char* label;
    bool enabled;
  };
  // A pixel layer with a disabled, linked mask: the mask can be removed but
  // not added again, and the toggles offer what is not the case.
  constexpr Expected kMaskedLayer[] = {
      {Id(57), "Layer Mask", true}, {Id(58), "Reveal All", false}, {Id(60), "Reveal Selection", false},
      {Id(63), "Delete", true},     {Id(65), "Enable", true},      {Id(66), "Unlink", true},
      {Id(77), "Show Layers", true}, {Id(76), "Ungroup Layers", false}, {Id(85), "Distribute", false},
  };
  std::vector<Item> all = ReadMenu(layer.menu);
  for (const Item& item : ReadMenu(Submenu(kLayerMaskMenu))) all.push_back(item);
  for (const Expected& want : kMaskedLayer) {
    const auto it = std::find_if(all.begin(), all.end(), [&](const Item& i) { return i.id == want.id; });
    ASSERT_NE(it, all.end()) << std::hex << want.id;
    EXPECT_EQ(it->label, want.label) << std::hex << want.id;
    EXPECT_EQ(it->enabled, want.enabled) << want.label;
  }
}

TEST_F(MenuInsertionTest, MenuWithoutAnchorsIsLeftAlone) {
  // 2400 at position 3 is too far down to make this the Layer menu.
  MenuHolder other{HostMenu({500, 0, 501, 2400})};
  EnableMenuItem(other.menu, 501, MF_BYCOMMAND | MF_GRAYED);
  CheckMenuItem(other.menu, 3004, MF_BYCOMMAND | MF_CHECKED);
  const std::vector<Item> before = ReadMenu(other.menu);
  Take();
  EXPECT_EQ(UpdatePopupMenu(other.menu), 1);
  EXPECT_EQ(ReadMenu(other.menu), before);
  for (HMENU sub : ModuleSubmenus) EXPECT_EQ(GetMenuItemCount(sub), 0);
  EXPECT_EQ(MenuState, 0);  // nothing was asked of the host
}

TEST_F(MenuInsertionTest, WithoutDocumentOnlyTheUnconditionalItemsAreEnabled) {
  StartHost(R"({"documents": []})");
  // File (16203), Type (1223) and Layer (2400) rows in one menu; 3371 is the
  // editor's type item that the module's replace.
  MenuHolder menu{HostMenu({16203, 1223, 2400, 3371})};
  UpdatePopupMenu(menu.menu);
  EXPECT_EQ(MenuState, RequiredBit(Always));
  // Browse to Clear All Actions, and the type commands.
  constexpr std::size_t kUnconditional[] = {0, 1, 2, 3, 4, 5, 6, 35, 36, 37, 38, 39, 40, 41};
  std::vector<Item> all = ReadMenu(menu.menu);
  for (HMENU sub : ModuleSubmenus)
    for (const Item& item : ReadMenu(sub)) all.push_back(item);
  int moduleItems = 0;
  for (const Item& item : all) {
    const int row = CommandIndex(item.id);
    if (row < 0) continue;
    ++moduleItems;
    const bool unconditional = std::find(std::begin(kUnconditional), std::end(kUnconditional), std::size_t(row)) !=
                               std::end(kUnconditional);
    EXPECT_EQ(item.enabled, unconditional) << "row " << row;
  }
  EXPECT_GT(moduleItems, 50);
  EXPECT_FALSE(std::any_of(all.begin(), all.end(), [](const Item& i) { return i.id == 3371; }));
  // Anti-Alias Crisp starts checked.
  const auto crisp = std::find_if(all.begin(), all.end(), [](const Item& i) { return i.id == Id(36); });
  ASSERT_NE(crisp, all.end());
  EXPECT_TRUE(crisp->checked);
}

// Which rows exist by version, in a menu that is the Layer menu, the Edit
// menu (Fade, Spell Check) and the Adjustments menu (Curves) at once.
struct VersionRow {
  int version;
  std::int32_t anchors[3];  // as that editor numbers these menus
  bool spellCheck, curves, smartFilter, layerMask, vectorMask, groupLayers;
};
constexpr VersionRow kVersionRows[] = {
    {1, {1135, 1962, 1803}, false, true, false, true, true, false},  // Spell Check never in 1
    {4, {2400, 1961, 3065}, true, false, false, true, true, true},   // Curves (4, 4): all but 4
    {9, {2400, 1961, 3065}, false, true, true, false, true, true},   // Spell Check (8, 11); Layer Mask up to 8
    {10, {2400, 1961, 3065}, false, true, true, false, true, true},
};

TEST_F(MenuInsertionTest, RowsExistByVersion) {
  for (const VersionRow& row : kVersionRows) {
    UseVersion(row.version);
    DestroyModuleMenus();
    CreateModuleMenus();
    MenuHolder menu{HostMenu({row.anchors[0], row.anchors[1], row.anchors[2]})};
    UpdatePopupMenu(menu.menu);
    const std::vector<std::int32_t> ids = Ids(ReadMenu(menu.menu));
    auto has = [&](std::size_t r) { return std::find(ids.begin(), ids.end(), Id(r)) != ids.end(); };
    const int v = row.version;
    EXPECT_EQ(has(8), row.spellCheck) << "version " << v;
    EXPECT_EQ(has(24), row.curves) << "version " << v;
    EXPECT_EQ(has(42), row.smartFilter) << "version " << v;
    EXPECT_EQ(has(57), row.layerMask) << "version " << v;
    EXPECT_EQ(has(68), row.vectorMask) << "version " << v;
    EXPECT_EQ(has(75), row.groupLayers) << "version " << v;
  }
}

TEST_F(MenuInsertionTest, OldEditorsGetTheItemsAtTheEndBehindOneSeparator) {
  UseVersion(1);
  MenuHolder layer{HostMenu({1134, 1135})};
  UpdatePopupMenu(layer.menu);
  const std::vector<std::int32_t> ids = Ids(ReadMenu(layer.menu));
  ASSERT_GT(ids.size(), 31u);
  for (std::size_t i = 2; i < 30; ++i) EXPECT_EQ(ids[i], std::int32_t(3000 + i)) << "host item " << i;
  EXPECT_EQ(ids[30], 0);  // the one separator
  for (std::size_t i = 31; i < ids.size(); ++i) EXPECT_GE(CommandIndex(ids[i]), 0) << "item " << i;
  // Layer Mask, Vector Mask, Hide Layers and Align.
  const std::vector<std::int32_t> kAppended = {Id(57), Id(68), Id(77), Id(78)};
  std::vector<std::int32_t> appended(ids.begin() + 31, ids.end());
  std::sort(appended.begin(), appended.end());
  EXPECT_EQ(appended, kAppended) << Show(ids);
  // A second opening adds no second separator.
  UpdatePopupMenu(layer.menu);
  EXPECT_EQ(Ids(ReadMenu(layer.menu)), ids);
}

// The menu state, asked for everything (no menu), on each layer of a
// version 8 document with a selection.
constexpr const char* kLayeredDocument = R"({"documents": [{"selection": true, "layers": [
    {"kind": "pixel", "background": true},
    {"kind": "text"},
    {"kind": "smartObject", "smartFilters": [{"name": "Gaussian Blur"}]},
    {"kind": "pixel", "userMask": {}},
    {"kind": "groupStart"},
    {"kind": "adjustment", "adjustment": {"class": "curves"}}]}]})";

struct StateRow {
  int layer;
  std::int32_t layerFlags;  // besides Always, DocumentOpen, RgbImage, EightBit, QuickMaskOff, SelectionPresent
};
const StateRow kStateRows[] = {
    {0, Requires(PixelCommands, ConvertibleLayer)},                                          // background
    {1, Requires(NotBackground, TextLayer, MaskAddable)},                                    // text
    {2, Requires(NotBackground, SmartObject, SmartFilters, MaskAddable, PixelCommands)},     // smart object
    {3, Requires(NotBackground, HasLayerMask, PixelCommands, ConvertibleLayer)},             // masked pixels
    {4, Requires(NotBackground, MaskAddable, GroupLayer, PixelCommands, ConvertibleLayer)},  // group
    {5, Requires(NotBackground, MaskAddable)},                                               // adjustment
};

TEST_F(MenuInsertionTest, MenuStateFollowsLayerAndDocument) {
  StartHost(kLayeredDocument);
  const std::int32_t common = Requires(Always, DocumentOpen, RgbImage, EightBit, QuickMaskOff, SelectionPresent);
  for (const StateRow& row : kStateRows) {
    sim::ApplyEdit(sim::Json{{"selectLayer", row.layer}});
    EXPECT_EQ(ComputeMenuState(0, 0, 0), common | row.layerFlags) << "layer " << row.layer;
  }
  sim::ApplyEdit(sim::Json{{"selectLayers", {1, 3}}});
  EXPECT_TRUE(MenuFlagSet(ComputeMenuState(0, 0, 0), SeveralTargets));

  // Before 6 every layer has a mask to offer and every document a selection.
  HostMajorVersion = 5;
  sim::ApplyEdit(sim::Json{{"selectLayer", 1}, {"selection", false}});
  const std::int32_t old = ComputeMenuState(0, 0, 0);
  EXPECT_TRUE(MenuFlagSet(old, HasLayerMask));
  EXPECT_TRUE(MenuFlagSet(old, SelectionPresent));

  // Quick Mask mode is kept on the row of its command.
  CommandTable[101].Checked = 1;
  const std::int32_t quick = ComputeMenuState(0, 0, 0);
  EXPECT_TRUE(MenuFlagSet(quick, QuickMaskOn));
  EXPECT_FALSE(MenuFlagSet(quick, QuickMaskOff));
}

TEST_F(MenuInsertionTest, BeforeSixDeleteAndApplyNeedTheLayersMask) {
  // Editor 5 counts every layer as masked; the toggles stay offered, but
  // the commands that delete the edited channel wait for a mask.
  UseVersion(5);
  StartHost(R"({"documents": [{"layers": [{"background": true}, {"name": "Plain"},
    {"name": "Masked", "userMask": {"enabled": true, "linked": true}}], "target": [1]}]})");
  MenuHolder layer{HostMenu({2400})};
  struct Expected {
    std::size_t row;
    bool plain;   // enabled on the layer without a mask
    bool masked;  // and on the masked one
  };
  constexpr Expected kRows[] = {
      {58, true, false},  // Reveal All
      {63, false, true},  // Delete
      {64, false, true},  // Apply
      {65, true, true},   // Disable/Enable
      {66, true, true},   // Unlink
  };
  for (const bool masked : {false, true}) {
    sim::ApplyEdit(sim::Json{{"selectLayer", masked ? 2 : 1}});
    UpdatePopupMenu(layer.menu);
    const std::vector<Item> items = ReadMenu(Submenu(kLayerMaskMenu));
    for (const Expected& row : kRows) {
      const auto item = std::find_if(items.begin(), items.end(), [&](const Item& i) { return i.id == Id(row.row); });
      ASSERT_NE(item, items.end()) << "row " << row.row;
      EXPECT_EQ(item->enabled, masked ? row.masked : row.plain) << "row " << row.row << (masked ? ", masked" : ", plain");
    }
  }
}

TEST_F(MenuInsertionTest, MenuStateByColourMode) {
  struct ModeRow {
    const char* document;
    std::int32_t modeFlags;
  };
  const ModeRow kModes[] = {
      {R"({"documents": [{"mode": "RGBColor", "depth": 16}]})", Requires(RgbImage, DeepImage)},
      {R"({"documents": [{"mode": "RGBColor", "depth": 32}]})", Requires(DeepImage)},
      {R"({"documents": [{"mode": "grayScale", "depth": 8}]})", Requires(EightBit)},
      {R"({"documents": [{"mode": "CMYKColor", "depth": 16}]})", Requires(DeepImage)},
  };
  const std::int32_t modeBits = Requires(RgbImage, EightBit, DeepImage);
  for (const ModeRow& row : kModes) {
    StartHost(row.document);
    EXPECT_EQ(ComputeMenuState(0, 0, 0) & modeBits, row.modeFlags) << row.document;
  }
  StartHost(R"({"documents": []})");
  EXPECT_EQ(ComputeMenuState(0, 0, 0), RequiredBit(Always));
}

// The text the item with a command shows, searched into submenus: its own,
// or for an owner-drawn item the label drawn for the command.
std::string ItemText(HMENU menu, std::int32_t id) {
  if (GetMenuState(menu, UINT(id), MF_BYCOMMAND) & MF_OWNERDRAW) return CommandLabel(id);
  char text[256] = {};
  GetMenuStringA(menu, UINT(id), text, sizeof text, MF_BYCOMMAND);
  return text;
}

TEST_F(MenuInsertionTest, ToggledLabelsFollowTheLayerIntoTheItems) {
  StartHost(R"({"documents": [{"layers": [{"background": true},
    {"name": "Hidden", "visible": false, "userMask": {"enabled": true, "linked": false}}], "target": [0]}]})");
  struct Row {
    int version;
    std::int32_t anchor;  // the Layer menu's second item
    const char* hideOnBackground;
    const char* onHiddenLayer[3];  // Hide Layers, mask Disable, mask Unlink
  };
  constexpr Row kRows[] = {
      {3, 1135, "Hide Layers", {"Show Layers", "Disable", "Link"}},  // plain items
      {8, 2400, "Hide Layers", {"Show Layers", "Disable", "Link"}},
  };
  for (const Row& row : kRows) {
    UseVersion(row.version);
    DestroyModuleMenus();
    CreateModuleMenus();
    sim::ApplyEdit(sim::Json{{"selectLayer", 0}});
    MenuHolder layer{row.version <= 3 ? HostMenu({3000, row.anchor}) : HostMenu({row.anchor})};
    UpdatePopupMenu(layer.menu);
    EXPECT_EQ(ItemText(layer.menu, Id(77)), row.hideOnBackground) << "version " << row.version;
    sim::ApplyEdit(sim::Json{{"selectLayer", 1}});
    UpdatePopupMenu(layer.menu);
    EXPECT_EQ(ItemText(layer.menu, Id(77)), row.onHiddenLayer[0]) << "version " << row.version;
    EXPECT_EQ(ItemText(layer.menu, Id(65)), row.onHiddenLayer[1]) << "version " << row.version;
    EXPECT_EQ(ItemText(layer.menu, Id(66)), row.onHiddenLayer[2]) << "version " << row.version;
    EXPECT_STREQ(MenuLabels[77], row.onHiddenLayer[0]);
  }
}

// The module's items look like the editor's own: owner-drawn from 4, and
// their separators from 6; before, plain items carry their labels.
TEST_F(MenuInsertionTest, ItemsAreOwnerDrawnWhereTheEditorDrawsItsOwn) {
  struct Row {
    int version;
    std::int32_t anchor;  // the Layer menu's second item before 4, else its first
    bool itemsDrawn, separatorsDrawn;
  };
  constexpr Row kRows[] = {{3, 1135, false, false}, {4, 2400, true, false}, {5, 2400, true, false},
                           {6, 2400, true, true},   {8, 2400, true, true}};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.version);
    UseVersion(row.version);
    DestroyModuleMenus();
    CreateModuleMenus();
    MenuHolder layer{row.version <= 3 ? HostMenu({3000, row.anchor}) : HostMenu({row.anchor})};
    UpdatePopupMenu(layer.menu);
    std::vector<HMENU> menus{layer.menu};
    for (HMENU sub : ModuleSubmenus) menus.push_back(sub);
    int items = 0, separators = 0, parents = 0;
    for (HMENU menu : menus) {
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        ASSERT_TRUE(GetMenuItemInfoA(menu, UINT(i), TRUE, &info));
        const bool drawn = (info.fType & MFT_OWNERDRAW) != 0;
        if (info.fType & MFT_SEPARATOR) {  // the host menu has none of its own
          ++separators;
          EXPECT_EQ(drawn, row.separatorsDrawn) << "separator " << i;
          if (drawn) {
            EXPECT_EQ(info.dwItemData, kModuleSeparatorData);
          }
          continue;
        }
        const int index = CommandIndex(std::int32_t(info.wID));
        if (index < 0) continue;
        ++items;
        if (info.hSubMenu) ++parents;
        EXPECT_EQ(drawn, row.itemsDrawn) << std::hex << info.wID;
        if (drawn) {
          EXPECT_EQ(info.dwItemData, 0u) << std::hex << info.wID;
        } else {
          EXPECT_STREQ(text, MenuLabels[index]) << std::hex << info.wID;
        }
      }
    }
    EXPECT_GT(items, 10);
    EXPECT_GT(parents, 0);
    EXPECT_GT(separators, 0);
  }
}

TEST_F(MenuInsertionTest, QuickMaskItemShowsTheStateOfItsRow) {
  MenuHolder select{HostMenu({1017})};
  UpdatePopupMenu(select.menu);
  EXPECT_EQ(GetMenuState(select.menu, UINT(Id(101)), MF_BYCOMMAND) & MF_CHECKED, 0u);
  CommandTable[101].Checked = 1;
  UpdatePopupMenu(select.menu);
  EXPECT_NE(GetMenuState(select.menu, UINT(Id(101)), MF_BYCOMMAND) & MF_CHECKED, 0u);
  // Quick Mask Options needs the mode on.
  EXPECT_EQ(GetMenuState(select.menu, UINT(Id(102)), MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(MenuInsertionTest, SubmenusDestroyedWithAnEditorMenuAreMadeAgain) {
  HMENU first = HostMenu({2400});
  UpdatePopupMenu(first);
  DestroyMenu(first);  // the editor rebuilds its Layer menu; the attached submenus go too
  MenuHolder second{HostMenu({2400})};
  UpdatePopupMenu(second.menu);
  HMENU mask = GetSubMenu(second.menu, 21);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask, ModuleSubmenus[kLayerMaskMenu]);
  EXPECT_EQ(GetMenuItemCount(mask), int(std::size(kLayerMaskSubmenu)));
}

// The editor's own procedure: it sees the menu after the module has filled it.
int ItemsSeenByEditor = -1;
LRESULT CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP) ItemsSeenByEditor = GetMenuItemCount(reinterpret_cast<HMENU>(wParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MenuInsertionTest, MainWindowFillsTheMenuBeforeTheEditorSeesIt) {
  WNDCLASSA type{};
  type.lpfnWndProc = EditorWindowProc;
  type.hInstance = GetModuleHandleA(nullptr);
  type.lpszClassName = "QuillbrightMenuTestMain";
  RegisterClassA(&type);
  HWND main = CreateWindowA(type.lpszClassName, "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                            type.hInstance, nullptr);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ReplaceMainWindowProcedure(main));
  MenuHolder layer{HostMenu({2400})};
  ItemsSeenByEditor = -1;
  SendMessageA(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(layer.menu), MAKELPARAM(3, FALSE));
  EXPECT_EQ(ItemsSeenByEditor, int(std::size(kLayerMenuAfterOpening)));
  // Other messages pass on untouched.
  SendMessageA(main, WM_INITMENU, reinterpret_cast<WPARAM>(layer.menu), 0);
  EXPECT_EQ(GetMenuItemCount(layer.menu), int(std::size(kLayerMenuAfterOpening)));
  RestoreWindowProcedure(SavedMainProc);
  DestroyWindow(main);
  UnregisterClassA(type.lpszClassName, type.hInstance);
}

TEST_F(MenuInsertionTest, AntiAliasItemsFollowTheTextLayer) {
  StartHost(R"({"documents": [{"layers": [{"background": true},
    {"kind": "text", "text": {"antiAlias": "AnSt"}},
    {"kind": "text", "text": {"antiAlias": "antiAliasSharp"}},
    {"kind": "text", "text": {"antiAlias": "Anno"}}], "target": [1]}]})");
  // The editor's Type menu hangs in its Layer menu.
  MenuHolder typeMenu{HostMenu({1223})};
  HMENU type = typeMenu.menu;
  UpdatePopupMenu(type);
  MenuHolder layer{HostMenu({2400})};  // let go of the Type menu before typeMenu destroys it
  InsertMenuA(layer.menu, 3, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(type), "Type");
  struct Row {
    int layer;
    int checkedRow;  // -1: none of 36 to 39
  };
  constexpr Row kRows[] = {{1, 38}, {2, 37}, {3, -1}, {0, -1}};  // Strong, Sharp, none, no text
  for (const Row& row : kRows) {
    sim::ApplyEdit(sim::Json{{"selectLayer", row.layer}});
    UpdatePopupMenu(layer.menu);
    for (int r = 36; r <= 39; ++r) {
      EXPECT_EQ(CommandTable[std::size_t(r)].Checked, r == row.checkedRow ? 1 : 0) << "layer " << row.layer;
      const bool checked = (GetMenuState(type, UINT(Id(std::size_t(r))), MF_BYCOMMAND) & MF_CHECKED) != 0;
      EXPECT_EQ(checked, r == row.checkedRow) << "layer " << row.layer << ", row " << r;
    }
  }
}

}  // namespace
