// The module's commonest use, end to end: the Layer menu opens with the
// module's Layer Mask submenu in it, labelled in the editor's language and
// enabled by the layer; choosing Apply is one step of the editor's history.
// From editor 4 the items are owner-drawn: the editor knows their labels by
// what the module draws, and chooses them by those.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kLayerMaskSubmenu = 0x8839;
constexpr int kApply = 0x8840;

Json MaskedLayerScenario(bool german, const Json& choose) {
  Json host = {{"version", 8}};
  if (german) {
    host["german"] = true;
    host["locale"] = "de_de";
    host["uiLanguage"] = "de_DE";
    host["dictionary"] = {{"$$$/Calculations/UserMask", "Ebenenmaske"},
                          {"$$$/Menu/LayerMask/Apply", "&Anwenden"},
                          {"$$$/Actions/Event/Delete", "Löschen"}};
  }
  return {{"host", host},
          {"documents",
           {{{"title", "Harbour.psd"},
             {"layers",
              {{{"name", "Background"}, {"background", true}},
               {{"name", "Sky"}, {"userMask", {{"enabled", true}, {"linked", true}}}}}}}}},
          {"steps",
           {{{"menu", "Layer"}},
            {{"menu", "Layer"}},
            {{"menu", "Layer"}, {"choose", choose}},
            {{"state", true}}}}};
}

const Json* FindItem(const Json& items, int id) {
  for (const Json& item : items) {
    if (item.value("id", 0) == id) return &item;
    if (item.contains("items"))
      if (const Json* found = FindItem(item["items"], id)) return found;
  }
  return nullptr;
}

int CountItem(const Json& items, int id) {
  int count = 0;
  for (const Json& item : items) {
    if (item.value("id", 0) == id) ++count;
    if (item.contains("items")) count += CountItem(item["items"], id);
  }
  return count;
}

struct Labels {
  const char* submenu;
  const char* apply;
};

void CheckTypicalCommand(bool german, Labels labels, const Json& choose) {
  EditorRun run = RunEditor(MaskedLayerScenario(german, choose));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "error").empty());

  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_GE(menus.size(), 2u);
  for (const Json& menu : menus) {
    // Opened twice: the items are there once.
    EXPECT_EQ(CountItem(menu["items"], kLayerMaskSubmenu), 1);
    EXPECT_EQ(CountItem(menu["items"], kApply), 1);
  }
  const Json* submenu = FindItem(menus[0]["items"], kLayerMaskSubmenu);
  ASSERT_NE(submenu, nullptr);
  EXPECT_EQ((*submenu)["label"], labels.submenu);
  EXPECT_EQ((*submenu)["enabled"], true);
  EXPECT_EQ((*submenu)["ownerDraw"], true);
  const Json* apply = FindItem(menus[0]["items"], kApply);
  ASSERT_NE(apply, nullptr);
  EXPECT_EQ((*apply)["label"], labels.apply);  // the mnemonic's "&" removed
  EXPECT_EQ((*apply)["enabled"], true);        // the layer has a mask
  EXPECT_EQ((*apply)["ownerDraw"], true);

  const std::string begin = std::string(R"({"name":")") + labels.apply + R"("})";
  const std::string end = std::string(R"({"name":")") + labels.apply + R"(","result":0,"kept":true})";
  ExpectTranscript(
      run.transcript, {"step-begin", "step-end", "play"},
      {{"step-begin", begin.c_str()},
       {"play", R"({"event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Msk "]}]}],["MkVs",{"bool":false}]],"mode":2,"result":0})"},
       {"play", R"({"event":"Dlt ","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}],["Aply",{"bool":true}]],"mode":2,"result":0})"},
       {"step-end", end.c_str()}});

  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  const Json& sky = states[0]["documents"][0]["layers"][1];
  EXPECT_EQ(sky["name"], "Sky");
  EXPECT_TRUE(!sky.contains("userMask") || sky["userMask"].is_null()) << sky.dump();
}

TEST(LayerMaskCommand, ApplyFromTheLayerMenuInEnglish) {
  CheckTypicalCommand(false, {"Layer Mask", "Apply"}, Json::array({"Layer Mask", "Apply"}));
}

TEST(LayerMaskCommand, ApplyFromTheLayerMenuInGerman) {
  CheckTypicalCommand(true, {"Ebenenmaske", "Anwenden"}, Json::array({"Ebenenmaske", "Anwenden"}));
}

TEST(LayerMaskCommand, ApplyChosenByItsIdentifier) {
  CheckTypicalCommand(false, {"Layer Mask", "Apply"}, kApply);
}

// Editor 3 draws no menu items: the module's carry their labels as text and
// are chosen by them all the same.
TEST(LayerMaskCommand, OldEditorItemsArePlainWithTheirLabels) {
  Json scenario = MaskedLayerScenario(false, Json::array({"Layer Mask", "Apply"}));
  scenario["host"]["version"] = 3;
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "error").empty());
  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_GE(menus.size(), 1u);
  const Json* submenu = FindItem(menus[0]["items"], kLayerMaskSubmenu);
  ASSERT_NE(submenu, nullptr);
  EXPECT_EQ((*submenu)["label"], "Layer Mask");
  EXPECT_EQ((*submenu)["ownerDraw"], false);
  const Json* apply = FindItem(menus[0]["items"], kApply);
  ASSERT_NE(apply, nullptr);
  EXPECT_EQ((*apply)["label"], "Apply");
  EXPECT_EQ((*apply)["ownerDraw"], false);
  ExpectTranscript(run.transcript, {"step-begin"}, {{"step-begin", R"({"name":"Apply"})"}});
}

}  // namespace
}  // namespace integration
