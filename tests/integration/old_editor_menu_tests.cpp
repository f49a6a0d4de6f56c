// Editors 3 and older: the module's items go to the end of each menu they
// belong to, behind one separator, and a second opening adds nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

constexpr int kFirstModuleId = 0x8800;
constexpr int kLastModuleId = 0x8873;

bool IsModuleItem(const Json& item) {
  const int id = item.value("id", 0);
  return id >= kFirstModuleId && id <= kLastModuleId;
}

TEST(OldEditorMenus, ModuleItemsFollowTheHostItemsBehindOneSeparator) {
  for (int version : {1, 2, 3}) {
    SCOPED_TRACE("version " + std::to_string(version));
    const Json scenario = {
        {"host", {{"version", version}}},
        {"documents", {{{"layers", {{{"name", "Background"}, {"background", true}}, {{"name", "Top"}}}}}}},
        {"steps", {{{"menu", "Layer"}}, {{"menu", "Layer"}}, {{"menu", "Image"}}, {{"menu", "Edit"}}}}};
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> menus = OfKind(run.transcript, "menu");
    ASSERT_EQ(menus.size(), 4u);
    EXPECT_EQ(menus[0]["items"], menus[1]["items"]) << "the second opening changed the menu";
    for (const Json& menu : menus) {
      const Json& items = menu["items"];
      size_t first = 0;
      while (first < items.size() && !IsModuleItem(items[first])) ++first;
      ASSERT_LT(first, items.size()) << menu["menu"] << " got no module item";
      ASSERT_GT(first, 0u);
      EXPECT_EQ(items[first - 1]["separator"], true) << menu["menu"];
      for (size_t i = first; i < items.size(); ++i)
        EXPECT_TRUE(IsModuleItem(items[i])) << menu["menu"] << " item " << i << ": " << items[i].dump();
      for (size_t i = 0; i + 1 < first; ++i) EXPECT_FALSE(IsModuleItem(items[i])) << menu["menu"];
    }
  }
}

}  // namespace
}  // namespace integration
