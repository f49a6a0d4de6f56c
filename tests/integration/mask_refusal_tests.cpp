// The layer mask's commands where the editor cannot do what they ask: the
// history keeps no empty step, and nothing but the mask is ever deleted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kHideAll = 0x883B;
constexpr int kDelete = 0x883F;
constexpr int kApply = 0x8840;
constexpr int kDisable = 0x8841;

const Json* FindItem(const Json& items, int id) {
  for (const Json& item : items) {
    if (item.value("id", 0) == id) return &item;
    if (item.contains("items"))
      if (const Json* found = FindItem(item["items"], id)) return found;
  }
  return nullptr;
}

// A background, a plain layer and, when asked for, a masked one above.
Json Document(bool withMaskedLayer) {
  Json layers = {{{"name", "Background"}, {"background", true}}, {{"name", "Sky"}}};
  if (withMaskedLayer) layers.push_back({{"name", "Masked"}, {"userMask", {{"enabled", true}, {"linked", true}}}});
  return {{"title", "Harbour.psd"}, {"selection", true}, {"history", {"Open"}}, {"layers", layers}};
}

// The command arrives by its identifier, as from a menu opened before the
// layer got its mask: the editor makes no second mask.
TEST(MaskRefusal, AMaskTheEditorRefusesLeavesNoHistoryStep) {
  const Json scenario = {{"host", {{"version", 8}}},
                         {"documents", {Document(true)}},
                         {"steps", {{{"command", kHideAll}}, {{"state", true}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "error").empty());
  ExpectTranscript(run.transcript, {"step-begin", "step-end", "play"},
                   {{"step-begin", R"({"name":"Hide All"})"},
                    {"play", R"({"event":"Mk  ","result":-25920})"},
                    {"step-end", R"({"name":"Hide All","result":1768846450,"kept":false})"}});
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  const Json& doc = states[0]["documents"][0];
  EXPECT_EQ(doc["history"], Json::array({"Open"}));
  EXPECT_EQ(doc["layers"][2]["userMask"], Json({{"enabled", true}, {"linked", true}}));
}

// Editor 5 counts every layer as masked; Delete and Apply still wait for a
// mask, while the toggle stays offered as before.
TEST(MaskRefusal, OldEditorOffersDeleteAndApplyOnlyOnAMaskedLayer) {
  const Json scenario = {{"host", {{"version", 5}}},
                         {"documents", {Document(true)}},
                         {"steps",
                          {{{"edit", {{"selectLayer", 1}}}},
                           {{"menu", "Layer"}},
                           {{"edit", {{"selectLayer", 2}}}},
                           {{"menu", "Layer"}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "error").empty());
  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_EQ(menus.size(), 2u);
  struct Row {
    int id;
    bool plain;
    bool masked;
  };
  for (const Row row : {Row{kDelete, false, true}, Row{kApply, false, true}, Row{kDisable, true, true}}) {
    for (std::size_t opening = 0; opening < 2; ++opening) {
      const Json* item = FindItem(menus[opening]["items"], row.id);
      ASSERT_NE(item, nullptr) << std::hex << row.id;
      EXPECT_EQ((*item)["enabled"], opening == 0 ? row.plain : row.masked)
          << std::hex << row.id << (opening == 0 ? " on the plain layer" : " on the masked layer");
    }
  }
}

}  // namespace
}  // namespace integration
