// The editor's own menus as each host version lays them out: the plug-in
// finds a menu by the commands among its first three items, counts on the
// positions it inserts at, and numbers the Filter menu's filters itself.
// The runs below never start the plug-in ("About" only), so every item
// recorded is the host's.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

constexpr int kFirstFilterId = 5400;  // the host's first filter command

// Opens each bar menu of a host of `version` and returns its items by name.
std::map<std::string, Json> OpenMenus(int version, const std::vector<std::string>& names) {
  Json scenario = {{"host", {{"version", version}}}, {"steps", Json::array({{{"select", "About"}}})}};
  for (const std::string& name : names) scenario["steps"].push_back({{"menu", name}});
  EditorRun run = RunEditor(scenario);
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  std::map<std::string, Json> menus;
  for (const Json& line : OfKind(run.transcript, "menu")) menus[line["menu"].get<std::string>()] = line["items"];
  EXPECT_EQ(menus.size(), names.size());
  return menus;
}

bool AmongFirstThree(const Json& items, int id) {
  for (size_t i = 0; i < 3 && i < items.size(); ++i)
    if (items[i]["id"] == id) return true;
  return false;
}

// The submenu whose label, without marks, is `label`; null when missing.
const Json* Submenu(const Json& items, const std::string& label) {
  for (const Json& item : items) {
    std::string text;
    for (char c : item.value("label", "")) if (c != '&') text += c;
    if (text == label && item.contains("items")) return &item["items"];
  }
  return nullptr;
}

std::vector<int> AllIds(const Json& items) {
  std::vector<int> ids;
  for (const Json& item : items) {
    ids.push_back(item["id"].get<int>());
    if (item.contains("items"))
      for (int id : AllIds(item["items"])) ids.push_back(id);
  }
  return ids;
}

bool HasId(const Json& items, int id) {
  for (int each : AllIds(items))
    if (each == id) return true;
  return false;
}

TEST(HostMenus, EveryAnchorOfAVersion8HostLeadsItsMenuWithRoomForTheInsertions) {
  // Where the plug-in looks for its anchor and the furthest position it
  // inserts at in a version-8 host (the menu needs that many items).
  struct Expected {
    std::string menu;
    std::vector<std::string> path;  // submenu labels below the bar menu
    int anchor;
    size_t minItems;
  };
  const std::vector<Expected> expected = {
      {"Layer", {}, 2400, 25},
      {"Layer", {"Layer Style"}, 1350, 1},
      {"Layer", {"Type"}, 1223, 5},
      {"Layer", {"New Adjustment Layer"}, 6303, 11},
      {"File", {}, 16203, 21},
      {"Edit", {}, 1961, 10},
      {"Edit", {"Preferences"}, 2311, 10},
      {"Image", {}, 2990, 11},
      {"Image", {"Mode"}, 1006, 6},
      {"Enhance", {}, 16314, 14},
      {"Enhance", {"Adjust Lighting"}, 3065, 3},
      {"Enhance", {"Adjust Color"}, 1812, 8},
      {"Select", {}, 1017, 18},
      {"Filter", {}, 1019, 7},
      {"View", {}, 1001, 1},
      {"Help", {}, 10258, 1},
  };
  std::map<std::string, Json> menus =
      OpenMenus(8, {"File", "Edit", "Image", "Enhance", "Layer", "Select", "Filter", "View", "Window", "Help"});
  for (const Expected& row : expected) {
    std::string where = row.menu;
    const Json* items = &menus[row.menu];
    for (const std::string& label : row.path) {
      where += " > " + label;
      items = Submenu(*items, label);
      if (!items) break;
    }
    ASSERT_NE(items, nullptr) << where;
    EXPECT_TRUE(AmongFirstThree(*items, row.anchor)) << where << " lacks " << row.anchor << " in front";
    EXPECT_GE(items->size(), row.minItems) << where;
  }
  // The host's own anti-alias switch that the plug-in replaces, and Color
  // Variations where the plug-in reads its identifier.
  EXPECT_TRUE(HasId(*Submenu(menus["Layer"], "Type"), 3371));
  ASSERT_GT(menus["Enhance"].size(), 9u);
  ASSERT_TRUE(menus["Enhance"][9].contains("items"));
  ASSERT_GT(menus["Enhance"][9]["items"].size(), 7u);
  EXPECT_EQ(menus["Enhance"][9]["items"][7]["label"], "Color &Variations...");
  // The plug-in's layer-mask anchor belongs to the host's own Layer Mask
  // submenu, which version 8 does not have yet.
  EXPECT_FALSE(HasId(menus["Layer"], 1157));
  EXPECT_TRUE(HasId(menus["Enhance"], 3092));  // Unsharp Mask as numbered from 8
}

TEST(HostMenus, CommandsThatOtherVersionsNumberOrPlaceDifferently) {
  std::map<std::string, Json> v9 = OpenMenus(9, {"Layer"});
  const Json* mask = Submenu(v9["Layer"], "Layer Mask");  // the host's own from 9
  ASSERT_NE(mask, nullptr);
  EXPECT_TRUE(AmongFirstThree(*mask, 1157));
  EXPECT_GE(mask->size(), 4u);
  EXPECT_TRUE(AmongFirstThree(v9["Layer"], 2400));

  std::map<std::string, Json> v6 = OpenMenus(6, {"Enhance", "Filter", "Select"});
  EXPECT_TRUE(HasId(v6["Enhance"], 3088));  // Unsharp Mask before 8
  EXPECT_FALSE(HasId(v6["Enhance"], 3092));
  EXPECT_TRUE(HasId(v6["Filter"], 16044));  // Filter Gallery before 7
  EXPECT_FALSE(HasId(v6["Select"], 1030));  // no Transform Selection of its own before 8
}

// The filter identifiers of the family submenus, family by family.
std::vector<std::vector<int>> FilterFamilies(const Json& filterMenu, std::vector<std::string>& names) {
  std::vector<std::vector<int>> families;
  for (size_t i = 6; i < filterMenu.size(); ++i) {
    if (!filterMenu[i].contains("items")) continue;
    names.push_back(filterMenu[i]["label"].get<std::string>());
    families.emplace_back();
    for (const Json& item : filterMenu[i]["items"]) families.back().push_back(item["id"].get<int>());
  }
  return families;
}

TEST(HostMenus, FilterFamiliesAreNumberedDownwardsWithOneLeftOutBetweenFamilies) {
  struct Case {
    int version;
    size_t filters;      // the filters this version has
    bool video;          // whether the Video family still exists
  };
  for (const Case& c : {Case{8, 98, true}, Case{11, 100, false}}) {
    SCOPED_TRACE("version " + std::to_string(c.version));
    std::map<std::string, Json> menus = OpenMenus(c.version, {"Filter"});
    const Json& filter = menus["Filter"];
    ASSERT_GT(filter.size(), 6u);
    EXPECT_EQ(filter[0]["id"], 1019);
    EXPECT_TRUE(filter[2]["separator"].get<bool>());  // the plug-in takes it out for its own item
    EXPECT_EQ(filter[6]["label"], "Artistic");        // the first family stands at position 6
    std::vector<std::string> names;
    std::vector<std::vector<int>> families = FilterFamilies(filter, names);
    ASSERT_FALSE(families.empty());
    EXPECT_EQ(names.back(), "Other");
    EXPECT_EQ(names[6], "Render");
    EXPECT_EQ(std::find(names.begin(), names.end(), "Video") != names.end(), c.video);
    int expected = kFirstFilterId;
    size_t count = 0;
    for (size_t f = 0; f < families.size(); ++f) {
      ASSERT_FALSE(families[f].empty()) << names[f];
      if (f > 0) --expected;  // one left out between families
      for (int id : families[f]) {
        EXPECT_EQ(id, expected) << names[f] << " item " << count;
        --expected;
        ++count;
      }
    }
    EXPECT_EQ(count, c.filters);
  }
}

}  // namespace
}  // namespace integration
