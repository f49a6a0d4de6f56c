// The Actions pop-up rebuilt from the host's action sets, in-process: the
// 256-item cap, groups, the drawing flags, and what a host error leaves.
#include <windows.h>

#include <string>

#include "entry/module_state.h"
#include "localization/dictionary.h"
#include "localization_support.h"
#include "menus/action_script_menus.h"
#include "menus/command_table.h"
#include "menus/menu_drawing.h"
#include "menus/module_menus.h"
#include "plugin_fixture.h"

namespace {

class ActionMenus : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    LoadHostDictionaryFrom(host_.path().c_str());  // none there: English defaults
    HostMajorVersion = 9;
    CommandTable = InitialCommandTable;
    AdjustCommandTable();
    BuildMenuLabels();
    CreateModuleMenus();
  }
  void TearDown() override {
    DestroyModuleMenus();
    FreeHostDictionary();
    CommandTable = InitialCommandTable;
    ActionSetNames.clear();
    ActionNames.clear();
    PluginTest::TearDown();
  }
  // Sets of the given sizes, their actions named "<set> <n>".
  void Sets(std::initializer_list<std::pair<const char*, int>> sets) {
    sim::Json scenario = {{"actionSets", sim::Json::array()}};
    for (const auto& [name, count] : sets) {
      sim::Json actions = sim::Json::array();
      for (int n = 1; n <= count; ++n) actions.push_back(std::string(name) + " " + std::to_string(n));
      scenario["actionSets"].push_back({{"name", name}, {"actions", actions}});
    }
    StartHost(scenario.dump().c_str());
  }
  static MENUITEMINFOA Info(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoA(menu, UINT(position), TRUE, &info);
    return info;
  }
  TempFolder host_;
};

TEST_F(ActionMenus, AtMostTwoHundredFiftySixActionsGetItemsAndARebuildDoublesNothing) {
  Sets({{"Big", 200}, {"Next", 100}});
  for (int pass = 0; pass < 2; ++pass) {
    RebuildActionsMenus(MF_OWNERDRAW, MF_OWNERDRAW);
    HMENU popup = ActionsPopupMenu;
    // Load Actions, a separator, Clear All Actions; a separator; 200 items;
    // a separator; the first 56 of the next set.
    ASSERT_EQ(GetMenuItemCount(popup), 3 + 1 + 200 + 1 + 56) << "pass " << pass;
    EXPECT_EQ(Info(popup, 0).wID, UINT(CommandId(5)));
    EXPECT_EQ(Info(popup, 2).wID, UINT(CommandId(6)));
    EXPECT_EQ(Info(popup, 4).wID, 0x8900u);
    EXPECT_EQ(Info(popup, 204).wID, 0u) << "the second set's group begins";
    EXPECT_EQ(Info(popup, 205).wID, 0x8900u + 200);
    EXPECT_EQ(Info(popup, 260).wID, 0x89FFu);
    for (const int position : {1, 3, 204}) {
      const MENUITEMINFOA separator = Info(popup, position);
      EXPECT_TRUE(separator.fType & MFT_SEPARATOR) << position;
      EXPECT_TRUE(separator.fType & MFT_OWNERDRAW) << position;
      EXPECT_EQ(separator.dwItemData, kModuleSeparatorData) << position;
    }
    EXPECT_TRUE(Info(popup, 5).fType & MFT_OWNERDRAW);
  }
  // The lists keep every action; only the items stop at 256.
  EXPECT_EQ(ActionNames.size(), 300u);
  EXPECT_EQ(ListedItemLabel(0x8900 + 255), "Next 56");
  EXPECT_EQ(ListedItemLabel(0x8900 + 256), "");
}

TEST_F(ActionMenus, PlainItemsCarryTheirNamesAndNoActionsLeaveTheThreeCommands) {
  Sets({{"Frames", 2}});
  RebuildActionsMenus(0, 0);
  HMENU popup = ActionsPopupMenu;
  ASSERT_EQ(GetMenuItemCount(popup), 6);
  char label[64] = {};
  GetMenuStringA(popup, 0x8901, label, sizeof label, MF_BYCOMMAND);
  EXPECT_STREQ(label, "Frames 2");
  EXPECT_FALSE(Info(popup, 3).fType & MFT_OWNERDRAW);

  Sets({});
  RebuildActionsMenus(0, 0);
  EXPECT_EQ(GetMenuItemCount(popup), 3);
  EXPECT_TRUE(ActionNames.empty());
}

TEST_F(ActionMenus, AnActionTheHostCannotAnswerIsSkippedAndASetEndsTheList) {
  Sets({{"A", 3}, {"B", 2}, {"C", 1}});
  // Gets: set 1, its actions 1 to 3, set 2, its actions 1 and 2, set 3 ...
  sim::ArmFaults(sim::Json::parse(
      R"([{"suite": "control", "call": "Get", "nth": 3}, {"suite": "control", "call": "Get", "nth": 8}])"));
  ReadHostActions();
  EXPECT_EQ(ActionNames, (std::vector<std::string>{"A 1", "A 3", "B 1", "B 2"}));
  EXPECT_EQ(ActionSetNames, (std::vector<std::string>{"A", "A", "B", "B"}));
}

}  // namespace
