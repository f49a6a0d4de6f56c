// Aligning, distributing and stamping layers through the module's commands:
// each of the six places reaches the host as its enumeration, the host
// refuses what too few layers cannot do, and Stamp Visible falls back to a
// copy of the target with its mask applied when the host stamps nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

constexpr int kFirstAlign = 0x884F;        // Top Edges ... Right Edges
constexpr int kFirstDistribute = 0x8856;
constexpr int kStampVisible = 0x885C;

const char* const kPlaces[] = {"AdTp", "AdCV", "AdBt", "AdLf", "AdCH", "AdRg"};

// A background and `count` layers, the top `targets` of them targeted.
Json Layered(int count, int targets, bool selection = false) {
  Json layers = {{{"name", "Background"}, {"background", true}}};
  Json target = Json::array();
  for (int i = 1; i <= count; ++i) {
    layers.push_back({{"name", "Layer " + std::to_string(i)}});
    if (i > count - targets) target.push_back(i);
  }
  return {{"title", "Layout.psd"}, {"selection", selection}, {"layers", layers}, {"target", target}};
}

Json Scenario(const Json& document, const Json& steps, const Json& extra = Json::object()) {
  Json scenario = {{"host", {{"version", 8}}}, {"documents", {document}}, {"steps", steps}};
  for (auto it = extra.begin(); it != extra.end(); ++it) scenario[it.key()] = it.value();
  return scenario;
}

TEST(Arrangement, EachAlignmentAndDistributionReachesTheHostWithItsPlace) {
  Json steps = Json::array();
  for (int k = 0; k < 6; ++k) steps.push_back({{"command", kFirstAlign + k}});
  for (int k = 0; k < 6; ++k) steps.push_back({{"command", kFirstDistribute + k}});
  steps.push_back({{"state", true}});
  EditorRun run = RunEditor(Scenario(Layered(3, 3), steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;

  const std::vector<Json> plays = OfKind(run.transcript, "play");
  ASSERT_EQ(plays.size(), 12u);
  for (size_t i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(plays[i]["event"], i < 6 ? "Algn" : "Dstr");
    EXPECT_EQ(plays[i]["result"], 0);
    EXPECT_EQ(plays[i]["descriptor"],
              Json::parse(std::string(R"([["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["Usng",{"enum":["ADSt",")") +
                          kPlaces[i % 6] + R"("]}]])"));
  }
  const Json layers = OfKind(run.transcript, "state")[0]["documents"][0]["layers"];
  for (size_t p = 1; p <= 3; ++p) {
    EXPECT_EQ(layers[p]["aligned"], "AdRg");
    EXPECT_EQ(layers[p]["distributed"], "AdRg");
  }
}

TEST(Arrangement, TooFewLayersAreRefusedByTheHostAndASelectionAlignsOne) {
  // One layer: neither; two: alignment only; one with a selection: aligned
  // to the selection.
  const struct {
    Json document;
    int alignResult, distributeResult;
  } cases[] = {{Layered(1, 1), -25920, -25920}, {Layered(2, 2), 0, -25920}, {Layered(1, 1, true), 0, -25920}};
  for (const auto& c : cases) {
    EditorRun run = RunEditor(Scenario(c.document, {{{"command", kFirstAlign}}, {{"command", kFirstDistribute + 3}}}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> plays = OfKind(run.transcript, "play");
    ASSERT_EQ(plays.size(), 2u);
    EXPECT_EQ(plays[0]["result"], c.alignResult) << c.document.dump();
    EXPECT_EQ(plays[1]["result"], c.distributeResult) << c.document.dump();
  }
}

Json MaskedSky() {
  return {{"title", "Harbour.psd"},
          {"layers",
           {{{"name", "Background"}, {"background", true}},
            {{"name", "Sky"}, {"userMask", {{"enabled", true}, {"linked", true}}}}}}};
}

TEST(Arrangement, StampVisibleMakesOneStepOfTheStampedLayer) {
  EditorRun run = RunEditor(Scenario(MaskedSky(), {{{"command", kStampVisible}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json doc = OfKind(run.transcript, "state")[0]["documents"][0];
  ASSERT_EQ(doc["layers"].size(), 3u);
  EXPECT_EQ(doc["layers"][2]["merged"], Json::parse(R"(["Background","Sky"])"));
  EXPECT_TRUE(doc["layers"][1]["userMask"].is_object());
  EXPECT_EQ(doc["history"].back(), "Stamp Visible");
  EXPECT_EQ(OfKind(run.transcript, "play").size(), 1u);   // the stamp alone
}

TEST(Arrangement, StampVisibleWhoseMergeFailsLeavesACopyOfTheTargetWithItsMaskApplied) {
  EditorRun run = RunEditor(Scenario(MaskedSky(), {{{"command", kStampVisible}}, {{"state", true}}},
                                     {{"faults", {{{"event", "MrgV"}, {"nth", 1}, {"error", -25920}}}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json doc = OfKind(run.transcript, "state")[0]["documents"][0];
  ASSERT_EQ(doc["layers"].size(), 3u);
  const Json& sky = doc["layers"][1];
  const Json& copy = doc["layers"][2];
  EXPECT_TRUE(sky["userMask"].is_object()) << "the user's own layer keeps its mask";
  EXPECT_EQ(sky.value("appliedMasks", 0), 0);
  EXPECT_EQ(copy["name"], "Sky copy");
  EXPECT_TRUE(copy["userMask"].is_null());
  EXPECT_EQ(copy.value("appliedMasks", 0), 1);
  EXPECT_EQ(doc["history"].back(), "Stamp Visible");
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["kept"], true);
}

TEST(Arrangement, StampVisibleWhoseCopyAlsoFailsDropsTheStepAndTouchesNoMask) {
  EditorRun run = RunEditor(Scenario(MaskedSky(), {{{"state", true}}, {{"command", kStampVisible}}, {{"state", true}}},
                                     {{"faults",
                                       {{{"event", "MrgV"}, {"nth", 1}, {"error", -25920}},
                                        {{"event", "Dplc"}, {"nth", 1}, {"error", -25920}}}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[1]["documents"], states[0]["documents"]);
  for (const Json& play : OfKind(run.transcript, "play")) EXPECT_NE(play["event"], "Dlt ") << play.dump();
  EXPECT_EQ(OfKind(run.transcript, "step-end")[0]["kept"], false);
}

}  // namespace
}  // namespace integration
