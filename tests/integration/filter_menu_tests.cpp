// The editor's Filter menu with the module running: the module reads the
// editor's numbering from it and puts in its one item, and leaves the
// editor's own items as they were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

constexpr int kConvertForSmartFilters = 0x886E;

Json FilterMenuScenario(bool withModule, int openings) {
  Json scenario = Json::parse(R"({"host": {"version": 8},
    "documents": [{"title": "Harbour.psd", "layers": [{"name": "Background", "background": true}, {"name": "Sky"}]}]})");
  Json steps = Json::array();
  if (!withModule) steps.push_back({{"select", "About"}});  // the module never starts
  for (int k = 0; k < openings; ++k) steps.push_back({{"menu", "Filter"}});
  scenario["steps"] = steps;
  return scenario;
}

std::vector<Json> FilterMenus(const Json& scenario) {
  EditorRun run = RunEditor(scenario);
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "error").empty());
  std::vector<Json> menus;
  for (const Json& line : OfKind(run.transcript, "menu")) menus.push_back(line["items"]);
  return menus;
}

// An item as it reads wherever it stands.
Json Unplaced(Json item) {
  item.erase("pos");
  return item;
}

TEST(FilterMenu, EditorsItemsStayAsTheyAreBesideTheModulesItem) {
  const std::vector<Json> host = FilterMenus(FilterMenuScenario(false, 1));
  const std::vector<Json> withModule = FilterMenus(FilterMenuScenario(true, 2));
  ASSERT_EQ(host.size(), 1u);
  ASSERT_EQ(withModule.size(), 2u);
  const Json& editor = host[0];
  const Json& first = withModule[0];
  ASSERT_GT(editor.size(), 6u);
  ASSERT_TRUE(editor[2].value("separator", false));

  // The editor's separator at 2 goes; the module's item comes in at 1
  // between two separators of its own. Everything else, submenus and states
  // included, is the editor's.
  ASSERT_EQ(first.size(), editor.size() + 2);
  EXPECT_EQ(Unplaced(first[0]), Unplaced(editor[0]));
  EXPECT_TRUE(first[1].value("separator", false));
  EXPECT_EQ(first[2]["id"], kConvertForSmartFilters);
  EXPECT_TRUE(first[3].value("separator", false));
  EXPECT_EQ(Unplaced(first[4]), Unplaced(editor[1]));
  for (std::size_t i = 3; i < editor.size(); ++i)
    EXPECT_EQ(Unplaced(first[i + 2]), Unplaced(editor[i])) << "editor item " << i;

  // A second opening changes nothing.
  EXPECT_EQ(withModule[1], first);
}

}  // namespace
}  // namespace integration
