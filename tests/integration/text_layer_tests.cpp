// The text commands through the editor's menus: the anti-alias items set the
// text layer's method and carry the check mark of the one it has, Convert to
// Paragraph Text turns point text into paragraph text and back, and on a
// layer without text the host refuses what is played.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

constexpr int kFirstAntiAlias = 0x8824;   // Crisp, Sharp, Strong, Smooth
constexpr int kTextKind = 0x8828;

// The Layer menu with its Type submenu open, where the anti-alias items are.
const Json kLayerMenuWithType = {{"menu", "Layer"}, {"open", {"Type"}}};

// The menus recorded with their items.
std::vector<Json> Menus(const EditorRun& run) {
  std::vector<Json> menus;
  for (const Json& line : OfKind(run.transcript, "menu"))
    if (line.contains("items")) menus.push_back(line);
  return menus;
}

const Json* FindItem(const Json& items, int id) {
  for (const Json& item : items) {
    if (item.value("id", 0) == id) return &item;
    if (item.contains("items"))
      if (const Json* found = FindItem(item["items"], id)) return found;
  }
  return nullptr;
}

// The anti-alias item checked in a Layer menu: its number (1 to 4), 0 for
// none, -1 when an item is missing.
int CheckedAntiAlias(const Json& menu) {
  int checked = 0;
  for (int k = 1; k <= 4; ++k) {
    const Json* item = FindItem(menu["items"], kFirstAntiAlias + k - 1);
    if (!item) return -1;
    if (item->value("checked", false)) checked = checked == 0 ? k : 99;
  }
  return checked;
}

Json TextDocument(const char* layerKind, const Json& text) {
  Json layer = {{"name", "Title"}, {"kind", layerKind}};
  if (!text.is_null()) layer["text"] = text;
  return {{"title", "Poster.psd"}, {"layers", {{{"name", "Background"}, {"background", true}}, layer}}};
}

Json AntiAliasDescriptor(const char* method) {
  return Json::parse(std::string(R"([["null",{"ref":[{"class":"Prpr","property":"AntA"},{"class":"TxLr","enum":["Ordn","Trgt"]}]}],)") +
                     R"(["T   ",{"enum":["Annt",")" + method + R"("]}]])");
}

TEST(TextLayerCommands, EachAntiAliasItemSetsTheTextsMethodAndTheCheckFollowsIt) {
  Json steps = {kLayerMenuWithType};
  for (int k = 1; k <= 4; ++k) {
    steps.push_back({{"command", kFirstAntiAlias + k - 1}});
    steps.push_back(kLayerMenuWithType);
  }
  steps.push_back({{"state", true}});
  EditorRun run = RunEditor({{"host", {{"version", 8}}},
                             {"documents", {TextDocument("text", {{"antiAlias", "Anno"}})}},
                             {"steps", steps}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;

  const std::vector<Json> menus = Menus(run);
  ASSERT_EQ(menus.size(), 5u);
  EXPECT_EQ(CheckedAntiAlias(menus[0]), 0);   // none: no item for it
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(CheckedAntiAlias(menus[size_t(k)]), k) << k;

  const std::vector<Json> plays = OfKind(run.transcript, "play");
  const char* methods[] = {"AnCr", "antiAliasSharp", "AnSt", "AnSm"};
  ASSERT_EQ(plays.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(plays[i]["event"], "setd");
    EXPECT_EQ(plays[i]["mode"], 2);
    EXPECT_EQ(plays[i]["result"], 0);
    EXPECT_EQ(plays[i]["descriptor"], AntiAliasDescriptor(methods[i])) << methods[i];
  }
  EXPECT_EQ(OfKind(run.transcript, "state").back()["documents"][0]["layers"][1]["text"]["antiAlias"], "AnSm");
}

TEST(TextLayerCommands, OnAnImageLayerNoAntiAliasItemIsCheckedAndTheHostRefusesTheEvent) {
  EditorRun run = RunEditor({{"host", {{"version", 11}}},
                             {"documents", {TextDocument("pixel", nullptr)}},
                             {"steps", {kLayerMenuWithType, {{"command", kFirstAntiAlias + 1}}, {{"state", true}}}}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> menus = Menus(run);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(CheckedAntiAlias(menus[0]), 0);
  const std::vector<Json> plays = OfKind(run.transcript, "play");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0]["descriptor"], AntiAliasDescriptor("antiAliasSharp"));
  EXPECT_EQ(plays[0]["result"], -25920);
  const Json layer = OfKind(run.transcript, "state")[0]["documents"][0]["layers"][1];
  EXPECT_TRUE(layer["text"].is_null());
  EXPECT_EQ(layer["kind"], "pixel");
}

TEST(TextLayerCommands, ConvertToParagraphTextTurnsPointTextIntoParagraphTextAndBack) {
  EditorRun run = RunEditor({{"host", {{"version", 8}}},
                             {"documents", {TextDocument("text", {{"paragraph", false}})}},
                             {"steps",
                              {{{"command", kTextKind}},
                               {{"state", true}},
                               {{"command", kTextKind}},
                               {{"state", true}}}}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]["documents"][0]["layers"][1]["text"]["paragraph"], true);
  EXPECT_EQ(states[1]["documents"][0]["layers"][1]["text"]["paragraph"], false);
  const Json& history = states[1]["documents"][0]["history"];
  ASSERT_GE(history.size(), 2u);
  EXPECT_EQ(history[history.size() - 2], "Convert to Paragraph Text");
  EXPECT_EQ(history.back(), "Convert to Point Text");
  const std::vector<Json> plays = OfKind(run.transcript, "play");
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_EQ(plays[0]["descriptor"][1], Json::parse(R"(["T   ",{"enum":["TEXT","box"]}])"));
  EXPECT_EQ(plays[1]["descriptor"][1], Json::parse(R"(["T   ",{"enum":["TEXT","Pnt "]}])"));
}

TEST(TextLayerCommands, ConvertToShapeMakesAShapeLayerOfTheText) {
  EditorRun run = RunEditor({{"host", {{"version", 8}}},
                             {"documents", {TextDocument("text", nullptr)}},
                             {"steps", {{{"command", 0x8823}}, {{"state", true}}}}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json layer = OfKind(run.transcript, "state")[0]["documents"][0]["layers"][1];
  EXPECT_EQ(layer["kind"], "shape");
  EXPECT_TRUE(layer["text"].is_null());
}

}  // namespace
}  // namespace integration
