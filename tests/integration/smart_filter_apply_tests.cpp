// A filter of the host's Filter menu chosen while the target layer is a
// smart object: the module copies that filter from its template image onto
// the layer as a smart filter and shows its dialog, in one step of the
// document's history; cancelled, or failing anywhere, the step is dropped
// and the user's layers stay as they were. Filters the template does not
// offer go to the host as they came.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

Json SmartDocument() {
  return {{"title", "Smart.psd"},
          {"path", "C:\\users\\Public\\Smart.psd"},
          {"layers",
           {{{"name", "Background"}, {"background", true}},
            {{"name", "Leaf"}, {"kind", "smartObject"}, {"smartFilters", {{{"name", "Add Noise"}, {"enabled", true}}}}},
            {{"name", "Sky"}}}},
          {"target", {1}}};
}

Json FilterChoice(const char* family, const char* filter) {
  return {{"menu", "Filter"}, {"choose", {family, filter}}};
}

Json Scenario(Json choice, int version = 8) {
  return {{"host", {{"version", version}}},
          {"documents", {SmartDocument()}},
          {"steps", {{{"state", true}}, std::move(choice), {{"state", true}}}}};
}

std::vector<Json> States(const EditorRun& run) { return OfKind(run.transcript, "state"); }

std::vector<std::string> PlayedEvents(const EditorRun& run) {
  std::vector<std::string> events;
  for (const Json& line : OfKind(run.transcript, "play")) events.push_back(line["event"].get<std::string>());
  return events;
}

// The template file the command opened; empty when it opened none.
std::string OpenedPath(const EditorRun& run) {
  for (const Json& line : OfKind(run.transcript, "play"))
    if (line["event"] == "Opn ") return line["descriptor"][0][1]["alias"].get<std::string>();
  return {};
}

Json WithoutIds(Json layers) {
  for (Json& layer : layers) layer.erase("id");
  return layers;
}

TEST(SmartFilterApply, GaussianBlurBecomesTheSmartObjectsFirstFilter) {
  EditorRun run = RunEditor(Scenario(FilterChoice("Blur", "Gaussian Blur...")));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["name"], "Gaussian Blur");
  EXPECT_EQ(ends[0]["kept"], true);

  const Json after = States(run).back()["documents"];
  ASSERT_EQ(after.size(), 1u) << "the template was left open";
  const Json& layers = after[0]["layers"];
  ASSERT_EQ(layers.size(), 3u) << "the copied family layer was left, or a layer of the user's went";
  EXPECT_EQ(layers[1]["name"], "Leaf");
  EXPECT_EQ(layers[2]["name"], "Sky");
  const Json& filters = layers[1]["smartFilters"];
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0]["name"], "Gaussian Blur");
  EXPECT_EQ(filters[0]["edits"], 1) << "its dialog was not shown";
  EXPECT_EQ(filters[0]["blendingEdits"], 1);
  EXPECT_EQ(filters[1]["name"], "Add Noise");
  EXPECT_EQ(after[0]["target"], Json::array({1}));
  EXPECT_FALSE(layers[2].contains("smartFilters") && !layers[2]["smartFilters"].empty());

  const std::string opened = OpenedPath(run);
  ASSERT_FALSE(opened.empty());
  EXPECT_NE(opened.find("SmartFilters.psd"), std::string::npos);
  EXPECT_FALSE(Exists(Widen(opened))) << "the template file was left behind";
}

TEST(SmartFilterApply, AFirstSmartFilterComesWithItsFilterMaskWhichIsThenSelected) {
  Json scenario = Scenario(FilterChoice("Blur", "Gaussian Blur..."));
  scenario["documents"][0]["layers"][1]["smartFilters"] = Json::array();
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json after = States(run).back()["documents"][0];
  ASSERT_EQ(after["layers"].size(), 3u);
  EXPECT_EQ(after["layers"][1]["smartFilters"].size(), 1u);
  EXPECT_TRUE(after["layers"][1]["filterMask"].is_object());
  EXPECT_FALSE(after["layers"][2]["filterMask"].is_object());
  const std::vector<Json> plays = OfKind(run.transcript, "play");
  ASSERT_FALSE(plays.empty());
  EXPECT_EQ(plays.back()["event"], "slct");
  EXPECT_EQ(plays.back()["result"], 0) << "the new filter mask was not there to select";

  // Cancelled, the filter goes, and its mask with it.
  scenario["answers"] = {{"hostDialogs", {{"setd", "cancel"}}}};
  EditorRun cancelled = RunEditor(scenario);
  ASSERT_EQ(cancelled.exitCode, 0) << cancelled.errorText;
  EXPECT_EQ(WithoutIds(States(cancelled).back()["documents"][0]["layers"]),
            WithoutIds(States(cancelled).front()["documents"][0]["layers"]));
}

TEST(SmartFilterApply, ADocumentNeverSavedIsFoundByItsTitle) {
  Json scenario = Scenario(FilterChoice("Noise", "Median..."));
  scenario["documents"][0].erase("path");
  scenario["documents"][0]["title"] = "Untitled-1";
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  for (const Json& line : OfKind(run.transcript, "play"))
    if (line["event"] == "Dplc" && line["descriptor"][1][1]["ref"][0].value("class", "") == "Dcmn") {
      EXPECT_EQ(line["descriptor"][1][1]["ref"][0]["name"], "Untitled-1");
    }
  const Json after = States(run).back()["documents"];
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0]["layers"][1]["smartFilters"][0]["name"], "Median");
  EXPECT_EQ(after[0]["layers"].size(), 3u);
}

TEST(SmartFilterApply, CancellingTheFiltersDialogTakesItAwayAgain) {
  Json scenario = Scenario(FilterChoice("Blur", "Gaussian Blur..."));
  scenario["answers"] = {{"hostDialogs", {{"setd", "cancel"}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["kept"], false);
  EXPECT_EQ(ends[0]["result"], 0x696E7472);   // 'intr'
  const std::vector<std::string> played = PlayedEvents(run);
  ASSERT_GE(played.size(), 2u);
  // The new filter deleted, and no blending options asked for.
  EXPECT_EQ(played[played.size() - 2], "Dlt ");
  EXPECT_EQ(std::count(played.begin(), played.end(), "setd"), 1);
  EXPECT_EQ(WithoutIds(States(run).back()["documents"][0]["layers"]),
            WithoutIds(States(run).front()["documents"][0]["layers"]));
}

TEST(SmartFilterApply, FiltersTheTemplateDoesNotOfferGoToTheHost) {
  struct Case {
    const char* what;
    Json choice;
    int version;
  };
  const Case cases[] = {
      {"Lens Blur", FilterChoice("Blur", "Lens Blur..."), 11},
      {"Find Edges on editor 7", FilterChoice("Stylize", "Find Edges"), 7},
      {"Liquify", FilterChoice("Distort", "Liquify..."), 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EditorRun run = RunEditor(Scenario(c.choice, c.version));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    EXPECT_TRUE(OfKind(run.transcript, "step-begin").empty());
    EXPECT_TRUE(PlayedEvents(run).empty());
    EXPECT_EQ(States(run).back()["documents"], States(run).front()["documents"]);
  }
  // Find Edges is offered from editor 8 on.
  EditorRun run = RunEditor(Scenario(FilterChoice("Stylize", "Find Edges"), 8));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_EQ(States(run).back()["documents"][0]["layers"][1]["smartFilters"][0]["name"], "Find Edges");
}

TEST(SmartFilterApply, AFailingStepTouchesNoLayerOfTheUsersAndLeavesNoFile) {
  struct Case {
    const char* what;
    Json faults;
    const char* lastPlayed;
  };
  const Case cases[] = {
      {"the template cannot be opened", Json::array({{{"event", "Opn "}}}), "Opn "},
      {"its family layer cannot be found", Json::array({{{"event", "slct"}}}), "Cls "},
      {"the copy into the user's document", Json::array({{{"event", "Dplc"}}}), "Cls "},
      {"the template cannot be closed", Json::array({{{"event", "Cls "}}}), "Cls "},
      {"the filter cannot be copied", Json::array({{{"event", "Dplc"}, {"nth", 2}}}), "Dplc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Json scenario = Scenario(FilterChoice("Blur", "Gaussian Blur..."));
    scenario["faults"] = c.faults;
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<std::string> played = PlayedEvents(run);
    // The step's last event, then only the filter mask selected after it.
    ASSERT_GE(played.size(), 2u);
    EXPECT_EQ(played[played.size() - 2], c.lastPlayed) << "a step was played after the failure";
    for (const std::string& event : played) EXPECT_NE(event, "Dlt ") << "a layer was deleted";
    const std::vector<Json> ends = OfKind(run.transcript, "step-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["kept"], false);
    const Json after = States(run).back()["documents"];
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(WithoutIds(after[0]["layers"]), WithoutIds(States(run).front()["documents"][0]["layers"]));
    const std::string opened = OpenedPath(run);
    ASSERT_FALSE(opened.empty());
    EXPECT_FALSE(Exists(Widen(opened)));
  }
}

}  // namespace
}  // namespace integration
