// Quick Mask mode end to end: entered and left as two named history steps,
// on an 8-bit document in place and on a 16-bit one through its 8-bit working
// document; Quick Mask Options and Transform Selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kQuickMask = 0x8865;
constexpr int kQuickMaskOptions = 0x8866;
constexpr int kTransformSelection = 0x8864;

Json Document(const char* title, int depth, bool selection) {
  return {{"title", title},
          {"depth", depth},
          {"selection", selection},
          {"layers", {{{"name", "Background"}, {"background", true}}, {{"name", "Sky"}}}}};
}

Json Scenario(int version, Json documents, Json steps, Json answers = Json::object()) {
  return {{"host", {{"version", version}}}, {"documents", documents}, {"answers", answers}, {"steps", steps}};
}

std::vector<Json> States(const EditorRun& run) { return OfKind(run.transcript, "state"); }

const Json* DocumentTitled(const Json& state, const std::string& title) {
  for (const Json& doc : state["documents"])
    if (doc["title"] == title) return &doc;
  return nullptr;
}

Json ChannelNames(const Json& doc) {
  Json names = Json::array();
  for (const Json& c : doc["channels"]) names.push_back(c.is_object() ? c["name"] : c);
  return names;
}

// ---- 8 bits per channel ----

// Entering with a selection, editor 6 and later: the channel, the composite
// shown, the selection filled in and dropped. Leaving: the channel loaded
// and deleted.
const std::vector<ExpectedLine> kEightBitOnAndOff = {
    {"step-begin", R"({"name":"Edit in Quick Mask Mode..."})"},
    {"play", R"({"event":"Mk  ","descriptor":[["Nw  ",{"object":"Chnl","items":[["Nm  ",{"string":"Quick Mask"}],["ClrI",{"enum":["MskI","MskA"]}],["Clr ",{"object":"RGBC","items":[["Rd  ",{"float":255.0}],["Grn ",{"float":0.0}],["Bl  ",{"float":0.0}]]}],["Opct",{"int":50}]]}]],"result":0})"},
    {"play", R"({"event":"Shw ","result":0})"},
    {"play", R"({"event":"Fl  ","result":0})"},
    {"play", R"({"event":"setd","descriptor":[["null",{"ref":[{"class":"Chnl","property":"fsel"}]}],["T   ",{"enum":["Ordn","None"]}]],"result":0})"},
    {"step-end", R"({"name":"Edit in Quick Mask Mode...","result":0,"kept":true})"},
    {"step-begin", R"({"name":"Edit in Quick Mask Mode Off"})"},
    {"play", R"({"event":"setd","descriptor":[["null",{"ref":[{"class":"Chnl","property":"fsel"}]}],["T   ",{"ref":[{"class":"Chnl","name":"Quick Mask"}]}]],"result":0})"},
    {"play", R"({"event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","name":"Quick Mask"}]}]],"result":0})"},
    {"play", R"({"event":"Dlt ","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}]],"result":0})"},
    {"step-end", R"({"name":"Edit in Quick Mask Mode Off","result":0,"kept":true})"},
};

class EightBitQuickMask : public ::testing::TestWithParam<int> {};

TEST_P(EightBitQuickMask, OnAndOffAreTwoNamedStepsAndTheSelectionComesBack) {
  EditorRun run = RunEditor(Scenario(GetParam(), {Document("Harbour.psd", 8, true)},
                                     {{{"command", kQuickMask}}, {{"state", true}}, {{"menu", "Select"}},
                                      {{"command", kQuickMask}}, {{"state", true}}, {{"menu", "Select"}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"step-begin", "step-end", "play"}, kEightBitOnAndOff);
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 2u);
  const Json& on = states[0]["documents"][0];
  EXPECT_EQ(on["quickMask"], true);
  EXPECT_EQ(on["selection"], false);
  EXPECT_EQ(on["channels"], Json::parse(R"([{"name":"Quick Mask","area":"selection","colorIndicates":"MskA"}])"));
  const Json& off = states[1]["documents"][0];
  EXPECT_EQ(off["quickMask"], false);
  EXPECT_EQ(off["selection"], true);
  EXPECT_EQ(off.value("selectionArea", "selection"), "selection");
  EXPECT_EQ(off["channels"], Json::array());
  EXPECT_EQ(off["history"], Json::parse(R"(["Open","Edit in Quick Mask Mode...","Edit in Quick Mask Mode Off"])"));

  // The item is checked while the mode is on, and Quick Mask Options with it.
  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_EQ(menus.size(), 2u);
  auto item = [](const Json& menu, int id) -> Json {
    for (const Json& i : menu["items"])
      if (i["id"] == id) return i;
    return Json();
  };
  EXPECT_EQ(item(menus[0], kQuickMask).value("checked", false), true);
  EXPECT_EQ(item(menus[0], kQuickMaskOptions).value("enabled", false), true);
  EXPECT_EQ(item(menus[1], kQuickMask).value("checked", true), false);
  EXPECT_EQ(item(menus[1], kQuickMaskOptions).value("enabled", true), false);
}

INSTANTIATE_TEST_SUITE_P(Editors, EightBitQuickMask, ::testing::Values(6, 8, 11),
                         [](const ::testing::TestParamInfo<int>& info) { return "Editor" + std::to_string(info.param); });

TEST(EightBitQuickMask, WithoutASelectionTheChannelStaysEmptyAndLoadsAsNone) {
  EditorRun run = RunEditor(Scenario(8, {Document("Harbour.psd", 8, false)},
                                     {{{"command", kQuickMask}}, {{"state", true}}, {{"command", kQuickMask}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"Mk  ","result":0})"},
                    {"play", R"({"event":"Shw ","result":0})"},
                    {"play", R"({"event":"setd","result":0})"},
                    {"play", R"({"event":"slct","result":0})"},
                    {"play", R"({"event":"Dlt ","result":0})"}});
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]["documents"][0]["channels"][0]["area"], "none");
  EXPECT_EQ(states[1]["documents"][0]["selection"], false);
  EXPECT_EQ(states[1]["documents"][0]["channels"], Json::array());
}

// Editors 4 and 5 save the selection as the channel instead.
TEST(EightBitQuickMask, EditorFiveSavesTheSelectionAsTheChannel) {
  EditorRun run = RunEditor(Scenario(5, {Document("Harbour.psd", 8, true)}, {{{"command", kQuickMask}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"Dplc","descriptor":[["null",{"ref":[{"class":"Chnl","property":"fsel"}]}],["Nm  ",{"string":"Quick Mask"}]],"result":0})"},
                    {"play", R"({"event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","name":"Quick Mask"}]}]],"result":0})"},
                    {"play", R"({"event":"Shw ","result":0})"},
                    {"play", R"({"event":"setd","result":0})"}});
}

// A step that fails drops the whole entry: no half-made mode, and the next
// command enters again rather than leaving.
TEST(EightBitQuickMask, AFailedEntryLeavesTheDocumentAndTheModeOff) {
  Json scenario = Scenario(8, {Document("Harbour.psd", 8, true)},
                           {{{"faults", {{{"event", "Fl  "}, {"nth", 1}}}}},
                            {{"command", kQuickMask}},
                            {{"state", true}},
                            {{"command", kQuickMask}},
                            {{"state", true}}});
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> steps = OfKind(run.transcript, "step-end");
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0]["kept"], false);
  EXPECT_EQ(steps[1]["name"], "Edit in Quick Mask Mode...");
  EXPECT_EQ(steps[1]["kept"], true);
  const std::vector<Json> states = States(run);
  EXPECT_EQ(states[0]["documents"][0]["channels"], Json::array());
  EXPECT_EQ(states[0]["documents"][0]["selection"], true);
  EXPECT_EQ(states[1]["documents"][0]["quickMask"], true);
}

// ---- 16 bits per channel ----

TEST(SixteenBitQuickMask, TheMaskIsPaintedInAnEightBitCopyAndCarriedBack) {
  // Two rounds: the notice comes once. Below 11 the working document closes
  // half a second after leaving, when the timer fires.
  Json steps = {{{"command", kQuickMask}}, {{"state", true}}, {{"command", kQuickMask}}, {{"state", true}},
                {{"wait", 800}},           {{"state", true}}, {{"command", kQuickMask}}, {{"command", kQuickMask}},
                {{"wait", 800}},           {{"state", true}}};
  EditorRun run = RunEditor(Scenario(8, {Document("Deep.psd", 16, true)}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> messages = OfKind(run.transcript, "message");
  int notices = 0;
  for (const Json& m : messages)
    if (m["title"] == "Quick Mask Mode") {
      ++notices;
      EXPECT_EQ(m["text"].get<std::string>().rfind("This image is in 16-bit/channel mode", 0), 0u);
    }
  EXPECT_EQ(notices, 1);

  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 4u);
  // On: the 16-bit document as it was; the working copy, 8 bits, current,
  // holds the mask as the target channel.
  ASSERT_EQ(states[0]["documents"].size(), 2u);
  const Json* source = DocumentTitled(states[0], "Deep.psd");
  const Json* working = DocumentTitled(states[0], "Quick Mask Mode");
  ASSERT_TRUE(source && working);
  EXPECT_EQ((*source)["depth"], 16);
  EXPECT_EQ(ChannelNames(*source), Json::array());
  EXPECT_EQ((*working)["depth"], 8);
  EXPECT_EQ((*working)["quickMask"], true);
  EXPECT_EQ((*working)["targetChannels"], Json::array({"Quick Mask"}));
  EXPECT_EQ(states[0]["current"], 1);
  // Off: the 16-bit document has the selection back and no channel left;
  // the working document closes when the timer fires.
  ASSERT_EQ(states[1]["documents"].size(), 2u);
  source = DocumentTitled(states[1], "Deep.psd");
  ASSERT_TRUE(source);
  EXPECT_EQ((*source)["selection"], true);
  EXPECT_EQ(ChannelNames(*source), Json::array());
  EXPECT_EQ(states[1]["current"], 0);
  ASSERT_EQ(states[2]["documents"].size(), 1u);
  EXPECT_EQ(states[2]["documents"][0]["title"], "Deep.psd");
  ASSERT_EQ(states[3]["documents"].size(), 1u);
  EXPECT_EQ(states[3]["documents"][0]["depth"], 16);
}

TEST(SixteenBitQuickMask, LeavingFromTheSixteenBitDocumentGoesToTheWorkingOneFirst) {
  Json steps = {{{"command", kQuickMask}}, {{"edit", {{"selectDocument", 0}}}}, {{"command", kQuickMask}},
                {{"state", true}}};
  EditorRun run = RunEditor(Scenario(11, {Document("Deep.psd", 16, true)}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  // Editor 11 closes the working document at once, within the step.
  ExpectTranscript(run.transcript, {"play", "step-begin"},
                   {{"step-begin", R"({"name":"Edit in Quick Mask Mode..."})"},
                    {"play", R"({"event":"Mk  "})"}, {"play", R"({"event":"Fl  "})"}, {"play", R"({"event":"Shw "})"},
                    {"play", R"({"event":"Dplc"})"}, {"play", R"({"event":"CnvM"})"}, {"play", R"({"event":"slct"})"},
                    {"play", R"({"event":"Dplc"})"}, {"play", R"({"event":"slct"})"}, {"play", R"({"event":"Dlt "})"},
                    {"play", R"({"event":"slct"})"}, {"play", R"({"event":"slct"})"}, {"play", R"({"event":"Shw "})"},
                    {"step-begin", R"({"name":"Edit in Quick Mask Mode Off"})"},
                    {"play", R"({"event":"slct","descriptor":[["null",{"ref":[{"class":"Dcmn","offset":1}]}]],"result":0})"},
                    {"play", R"({"event":"Dplc","descriptor":[["null",{"ref":[{"class":"Chnl","name":"Quick Mask"}]}],["T   ",{"ref":[{"class":"Dcmn","name":"Deep.psd"}]}],["Vrsn",{"int":2}]],"result":0})"},
                    {"play", R"({"event":"Cls ","descriptor":[["Svng",{"enum":["YsN ","N   "]}]],"result":0})"},
                    {"play", R"({"event":"setd","result":0})"},
                    {"play", R"({"event":"slct","result":0})"},
                    {"play", R"({"event":"Dlt ","result":0})"}});
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  EXPECT_EQ(states[0]["documents"][0]["title"], "Deep.psd");
  EXPECT_EQ(states[0]["documents"][0]["selection"], true);
  EXPECT_EQ(states[0]["documents"][0]["channels"], Json::array());
}

TEST(SixteenBitQuickMask, AClosedWorkingDocumentLeavesTheSixteenBitDocumentAlone) {
  Json steps = {{{"command", kQuickMask}}, {{"edit", {{"closeDocument", 1}}}}, {{"state", true}},
                {{"command", kQuickMask}}, {{"state", true}},
                // The mode is over: the next command enters again.
                {{"command", kQuickMask}}, {{"state", true}}};
  EditorRun run = RunEditor(Scenario(8, {Document("Deep.psd", 16, true)}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[1]["documents"], states[0]["documents"]);
  const std::vector<Json> steps_ = OfKind(run.transcript, "step-end");
  ASSERT_EQ(steps_.size(), 3u);
  EXPECT_EQ(steps_[1]["kept"], false);
  EXPECT_EQ(steps_[2]["name"], "Edit in Quick Mask Mode...");
  EXPECT_EQ(states[2]["documents"].size(), 2u);
}

TEST(SixteenBitQuickMask, GermanNamesTheChannelTheWorkingDocumentAndTheSteps) {
  Json scenario = Scenario(8, {Document("Tief.psd", 16, false)},
                           {{{"command", kQuickMask}}, {{"state", true}}, {{"command", kQuickMask}}});
  scenario["host"]["german"] = true;
  scenario["host"]["locale"] = "de_de";
  scenario["host"]["uiLanguage"] = "de_DE";
  scenario["host"]["dictionary"] = {{"$$$/Actions/Key/QuickMask", "Im Maskierungsmodus bearbeiten"},
                                    {"$$$/BrushDynamics/Off", "Aus"}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"step-end"},
                   {{"step-end", R"({"name":"Im Maskierungsmodus bearbeiten...","kept":true})"},
                    {"step-end", R"({"name":"Im Maskierungsmodus bearbeiten Aus","kept":true})"}});
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 1u);
  const Json* working = DocumentTitled(states[0], "Maskierungsmodus");
  ASSERT_TRUE(working);
  EXPECT_EQ(ChannelNames(*working), Json::array({"Schnellmaskierung"}));
}

// ---- Quick Mask Options, Transform Selection ----

TEST(QuickMaskOptions, OpensTheHostsChannelOptionsWithTheChannelsName) {
  EditorRun run = RunEditor(Scenario(8, {Document("Harbour.psd", 8, true)},
                                     {{{"command", kQuickMask}}, {{"command", kQuickMaskOptions}}, {{"command", kQuickMaskOptions}}},
                                     {{"hostDialogs", {{"setd", "cancel"}}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> plays = OfKind(run.transcript, "play");
  ASSERT_GE(plays.size(), 2u);
  const Json& options = plays.back();
  EXPECT_EQ(options["event"], "setd");
  EXPECT_EQ(options["mode"], 1);
  EXPECT_EQ(options["descriptor"],
            Json::parse(R"([["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}],["T   ",{"object":"Chnl","items":[["Nm  ",{"string":"Quick Mask"}]]}]])"));
  EXPECT_EQ(options["result"], -128);
}

TEST(TransformSelection, TransformsAnInvisibleLayerAndRemovesItInOneStep) {
  EditorRun run = RunEditor(Scenario(8, {Document("Harbour.psd", 8, true)},
                                     {{{"command", kTransformSelection}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"step-end"}, {{"step-end", R"({"name":"Transform Selection...","kept":true})"}});
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"Mk  ","descriptor":[["null",{"ref":[{"class":"Lyr "}]}],["Usng",{"object":"Lyr ","items":[["Nm  ",{"string":"Transform Selection"}]]}]],"result":0})"},
                    {"play", R"({"event":"Fl  ","result":0})"},
                    {"play", R"({"event":"setd","descriptor":[["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["T   ",{"object":"Lyr ","items":[["Opct",{"unit":"#Prc","value":0.0}]]}]],"result":0})"},
                    {"play", R"({"event":"Trnf","mode":1,"descriptor":[["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["FTcs",{"enum":["QCSt","Qcsa"]}],["Ofst",{"object":"Ofst","items":[["Hrzn",{"unit":"#Pxl","value":0.0}],["Vrtc",{"unit":"#Pxl","value":0.0}]]}],["Wdth",{"unit":"#Prc","value":100.0}],["Hght",{"unit":"#Prc","value":100.0}],["Lnkd",{"bool":true}]],"result":0})"},
                    {"play", R"({"event":"setd","result":0})"},
                    {"play", R"({"event":"Dlt ","descriptor":[["null",{"ref":[{"class":"Lyr ","name":"Transform Selection"}]}]],"result":0})"}});
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 1u);
  const Json& doc = states[0]["documents"][0];
  EXPECT_EQ(doc["layers"].size(), 2u);
  EXPECT_EQ(doc["selectionArea"], "transformed selection");
  EXPECT_EQ(doc["history"], Json::parse(R"(["Open","Transform Selection..."])"));
}

// Cancelled in the host's transform: the temporary layer goes with the
// dropped step.
TEST(TransformSelection, ACancelledTransformLeavesNothing) {
  EditorRun run = RunEditor(Scenario(8, {Document("Harbour.psd", 8, true)},
                                     {{{"state", true}}, {{"command", kTransformSelection}}, {{"state", true}}},
                                     {{"hostDialogs", {{"Trnf", "cancel"}}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"step-end"}, {{"step-end", R"({"name":"Transform Selection...","kept":false})"}});
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[1]["documents"], states[0]["documents"]);
}

// Below 11 the working document is closed by a timer after the step. When
// that close fails, the working document stays open and the 16-bit
// document keeps its mask as the selection.
TEST(SixteenBitQuickMask, AWorkingDocumentTheTimerCannotCloseStaysOpen) {
  Json steps = {{{"command", kQuickMask}}, {{"faults", {{{"event", "Cls "}}}}}, {{"command", kQuickMask}},
                {{"wait", 800}},           {{"state", true}}};
  EditorRun run = RunEditor(Scenario(8, {Document("Deep.psd", 16, true)}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 2u);
  const Json* source = DocumentTitled(states[0], "Deep.psd");
  ASSERT_TRUE(source);
  EXPECT_EQ((*source)["selection"], true);
  EXPECT_EQ((*source)["channels"], Json::array());
  EXPECT_TRUE(DocumentTitled(states[0], "Quick Mask Mode"));
}

TEST(TransformSelection, WithoutASelectionNothingIsPlayed) {
  EditorRun run = RunEditor(Scenario(8, {Document("Harbour.psd", 8, false)}, {{{"command", kTransformSelection}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "play").empty());
}

// The temporary layer is not made: nothing of the user's is filled, hidden
// or deleted in its place.
TEST(TransformSelection, ALayerThatCannotBeMadeEndsTheCommand) {
  EditorRun run = RunEditor(Scenario(8, {Document("Harbour.psd", 8, true)},
                                     {{{"faults", {{{"event", "Mk  "}}}}}, {{"command", kTransformSelection}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"play"}, {{"play", R"({"event":"Mk  ","result":-25920})"}});
}

}  // namespace
}  // namespace integration
