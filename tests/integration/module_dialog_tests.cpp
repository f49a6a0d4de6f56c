// The module's adjustment dialogs used as a person would: sliders dragged
// and clicked, values typed, presets picked, Preview switched off and on,
// Alt held over Cancel; and what each leaves in the document: the result
// after OK, nothing after Cancel.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kCommandBase = 0x8800;
constexpr int kFade = kCommandBase + 7;
constexpr int kAutoAlign = kCommandBase + 11;
constexpr int kExposureFilter = kCommandBase + 25;
constexpr int kBlackAndWhiteFilter = kCommandBase + 30;
constexpr int kFillOpacity = kCommandBase + 34;
constexpr int kTracking = kCommandBase + 41;
constexpr int kNewExposure = kCommandBase + 94;
constexpr int kNewVibrance = kCommandBase + 95;

Json Photo() {
  return Json::parse(R"({"title": "Harbour", "history": ["Open", "Gaussian Blur"],
      "layers": [{"name": "Background", "background": true}, {"name": "Sky", "fillOpacity": 204},
                 {"name": "Caption", "kind": "text"}, {"name": "Sea"}], "target": [1]})");
}

Json Scenario(int version, const Json& document, const Json& dialogActions, int command, const Json& more = {}) {
  Json steps = Json::parse(R"([{"select": "Startup"}, {"event": "Opn "}])");
  steps.push_back({{"dialog", dialogActions}});
  steps.push_back({{"command", command}});
  steps.push_back({{"state", true}});
  if (more.is_array())
    for (const Json& step : more) steps.push_back(step);
  steps.push_back({{"select", "Shutdown"}});
  return {{"host", {{"version", version}}}, {"documents", Json::array({document})}, {"steps", steps}};
}

std::vector<Json> Plays(const std::vector<Json>& lines, const char* event) {
  std::vector<Json> out;
  for (const Json& line : lines)
    if (line["kind"] == "play" && line["event"] == event) out.push_back(line);
  return out;
}

// The value of a key of the `T   ` object (or of the descriptor) of a play line.
Json KeyOf(const Json& play, const std::string& key) {
  for (const Json& entry : play["descriptor"]) {
    if (entry[0] == key) return entry[1];
    if (entry[0] == "T   " && entry[1].contains("items"))
      for (const Json& item : entry[1]["items"])
        if (item[0] == key) return item[1];
  }
  return nullptr;
}

// The document after the command, as the state line shows it.
Json LastState(const std::vector<Json>& transcript) {
  const std::vector<Json> states = OfKind(transcript, "state");
  if (states.empty()) {
    ADD_FAILURE() << "no state line";
    return Json::object();
  }
  return states.front()["documents"][0];
}

Json StepEnd(const std::vector<Json>& transcript) {
  const std::vector<Json> ends = OfKind(transcript, "step-end");
  return ends.empty() ? Json() : ends.front();
}

TEST(ModuleDialog, AThumbDragPreviewsOnlyOnReleaseAndATrackClickOnceAfterTheDelay) {
  const Json actions = Json::parse(R"([
      {"set": 1040, "value": 40, "hold": true}, {"wait": 150}, {"capture": true},
      {"set": 1040, "value": 40}, {"wait": 150}, {"capture": true},
      {"set": 1040, "value": 20, "click": true}, {"capture": true}, {"wait": 150}, {"capture": true},
      {"press": 1090}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kFillOpacity));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const auto segments = SegmentsAtCaptures(run.transcript);
  ASSERT_EQ(segments.size(), 5u);
  // Held: nothing previewed however long it is held.
  EXPECT_TRUE(Plays(segments[0], "setd").empty());
  // Let go: one preview.
  const std::vector<Json> released = Plays(segments[1], "setd");
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(KeyOf(released[0], "fillOpacity")["value"], 40.0);
  // A click: nothing at once, one preview once the delay has passed.
  EXPECT_TRUE(Plays(segments[2], "setd").empty());
  const std::vector<Json> clicked = Plays(segments[3], "setd");
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(KeyOf(clicked[0], "fillOpacity")["value"], 20.0);
  // OK with everything previewed plays nothing more.
  EXPECT_TRUE(Plays(segments[4], "setd").empty());
  EXPECT_EQ(StepEnd(run.transcript)["kept"], true);
  EXPECT_EQ(LastState(run.transcript)["layers"][1]["fillOpacity"], 51);
}

TEST(ModuleDialog, OkRightAfterAChangeAppliesWhatTheDialogShows) {
  // The preview of the last change had not run yet when OK was pressed.
  const Json actions = Json::parse(R"([{"set": 1040, "value": 60}, {"press": 1090}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kFillOpacity));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> sets = Plays(run.transcript, "setd");
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(KeyOf(sets.back(), "fillOpacity")["value"], 60.0);
  EXPECT_EQ(LastState(run.transcript)["layers"][1]["fillOpacity"], 153);
}

TEST(ModuleDialog, FillOpacityOpensAtTheLayersValueAndCancelPutsItBack) {
  const Json actions = Json::parse(R"([{"capture": true}, {"type": 1050, "text": "10"}, {"wait": 150},
                                       {"press": 1091}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kFillOpacity));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["title"], "Fill Opacity");
  EXPECT_EQ(ControlIn(dialogs[0], 1040)["value"], 80);   // 204 of 255
  EXPECT_EQ(ControlIn(dialogs[0], 1050)["text"], "80");
  const std::vector<Json> sets = Plays(run.transcript, "setd");
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(KeyOf(sets[0], "fillOpacity")["value"], 10.0);
  EXPECT_EQ(KeyOf(sets[1], "fillOpacity")["value"], 80.0);
  EXPECT_EQ(StepEnd(run.transcript)["kept"], false);
  EXPECT_EQ(LastState(run.transcript)["layers"][1]["fillOpacity"], 204);
}

TEST(ModuleDialog, TypingAGammaSetsItsSliderAndOkKeepsTheNewExposureLayer) {
  const Json actions = Json::parse(R"([{"type": 1052, "text": "2.5"}, {"wait": 150}, {"capture": true},
                                       {"press": 1090}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kNewExposure));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["title"], "Exposure");
  EXPECT_EQ(ControlIn(dialogs[0], 1042)["value"], 84);
  // The layer is remade with the slider's gamma.
  const std::vector<Json> makes = Plays(run.transcript, "Mk  ");
  ASSERT_EQ(makes.size(), 2u);
  const std::string remade = makes[1].dump();
  EXPECT_NE(remade.find(R"(["gammaCorrection",{"float":2.45}])"), std::string::npos) << remade;
  EXPECT_TRUE(Plays(run.transcript, "Mrg2").empty());
  EXPECT_EQ(StepEnd(run.transcript)["kept"], true);
  const Json layers = LastState(run.transcript)["layers"];
  ASSERT_EQ(layers.size(), 5u);
  EXPECT_EQ(layers[2]["adjustment"]["class"], "exposure");
}

TEST(ModuleDialog, TheInfraredPresetClampsYellowsAndStaysChosenAndTheFilterIsMergedDown) {
  const Json actions = Json::parse(R"([{"pick": 1021, "index": 6}, {"wait": 150}, {"capture": true},
                                       {"set": 1040, "value": 10}, {"capture": true}, {"press": 1090}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kBlackAndWhiteFilter));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0]["title"], "Black & White");
  EXPECT_EQ(ControlIn(dialogs[0], 1041)["value"], 200);
  EXPECT_EQ(ControlIn(dialogs[0], 1051)["text"], "200");
  EXPECT_EQ(ControlIn(dialogs[0], 1040)["value"], -40);
  EXPECT_EQ(ControlIn(dialogs[0], 1021)["value"], 6);
  // A weight moved by hand makes it Custom.
  EXPECT_EQ(ControlIn(dialogs[1], 1021)["value"], 13);
  EXPECT_EQ(Plays(run.transcript, "Mrg2").size(), 1u);
  EXPECT_EQ(StepEnd(run.transcript)["kept"], true);
  // The history names the step as the menu shows it, with one "&".
  EXPECT_EQ(StepEnd(run.transcript)["name"], "Black & White...");
  EXPECT_EQ(LastState(run.transcript)["layers"].size(), 4u);
}

TEST(ModuleDialog, TheTintSwatchTakesAColourFromThePickerAndSetsHueAndSaturation) {
  const Json actions = Json::parse(R"([{"check": 1031, "on": true}, {"press": 1110}, {"wait": 150},
                                       {"capture": true}, {"press": 1110}, {"capture": true}, {"press": 1090}])");
  Json scenario = Scenario(8, Photo(), actions, kBlackAndWhiteFilter);
  // Blue, then the picker cancelled.
  scenario["answers"] = {{"colors", {{0, 0, 255}, nullptr}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> pickers = OfKind(run.transcript, "color");
  ASSERT_EQ(pickers.size(), 2u);
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 2u);
  // Blue is a hue of 240 degrees at full saturation.
  const int hue = ControlIn(dialogs[0], 1046)["value"];
  EXPECT_GE(hue, 238);
  EXPECT_LE(hue, 240);
  EXPECT_EQ(ControlIn(dialogs[0], 1047)["value"], 100);
  // The remade layer carries the tint's colour.
  const std::vector<Json> makes = Plays(run.transcript, "Mk  ");
  ASSERT_FALSE(makes.empty());
  EXPECT_NE(makes.back().dump().find(
                R"("tintColor",{"object":"RGBC","items":[["Rd  ",{"float":0.0}],["Grn ",{"float":0.0}],["Bl  ",{"float":255.0}]]})"),
            std::string::npos)
      << makes.back().dump();
  // Cancelled, the picker changes nothing.
  EXPECT_EQ(ControlIn(dialogs[1], 1046)["value"], hue);
  EXPECT_EQ(ControlIn(dialogs[1], 1047)["value"], 100);
  EXPECT_EQ(StepEnd(run.transcript)["kept"], true);
}

TEST(ModuleDialog, AltTurnsCancelIntoResetThatKeepsTheDialogOpen) {
  const Json actions = Json::parse(R"([
      {"set": 1040, "value": 50}, {"set": 1041, "value": -30}, {"key": "Alt", "down": true}, {"capture": true},
      {"press": 1091}, {"capture": true}, {"key": "Alt", "down": false}, {"capture": true}, {"press": 1091}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kNewVibrance));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(ControlIn(dialogs[0], 1091)["text"], "Reset");
  EXPECT_EQ(ControlIn(dialogs[0], 1040)["value"], 50);
  EXPECT_EQ(ControlIn(dialogs[1], 1040)["value"], 0);
  EXPECT_EQ(ControlIn(dialogs[1], 1041)["value"], 0);
  EXPECT_EQ(ControlIn(dialogs[1], 1050)["text"], "0");
  EXPECT_EQ(ControlIn(dialogs[2], 1091)["text"], "Cancel");
  // Cancel without Alt: the new layer goes and the step is dropped.
  EXPECT_EQ(Plays(run.transcript, "Dlt ").size(), 1u);
  EXPECT_EQ(StepEnd(run.transcript)["kept"], false);
  EXPECT_EQ(LastState(run.transcript)["layers"].size(), 4u);
}

TEST(ModuleDialog, AnExposureFilterCancelledLeavesThePixelsAlone) {
  const Json actions = Json::parse(R"([{"set": 1040, "value": 120}, {"wait": 150}, {"press": 1091}])");
  EditorRun run = RunEditor(Scenario(10, Photo(), actions, kExposureFilter));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(Plays(run.transcript, "Mrg2").empty());
  EXPECT_EQ(StepEnd(run.transcript)["kept"], false);
  const Json state = LastState(run.transcript);
  EXPECT_EQ(state["layers"].size(), 4u);
  EXPECT_EQ(state["history"], Json::parse(R"(["Open", "Gaussian Blur"])"));
}

TEST(ModuleDialog, FadeCancelMergesAtFullOpacityAndNormalBeforeTheStepIsDropped) {
  const Json actions = Json::parse(R"([{"set": 1040, "value": 30}, {"pick": 1021, "index": 3}, {"wait": 150},
                                       {"press": 1091}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kFade));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<Json> order;
  for (const Json& line : run.transcript)
    if (line["kind"] == "play" || line["kind"] == "step-end") order.push_back(line);
  ASSERT_GE(order.size(), 3u);
  const Json& last = order[order.size() - 1];
  const Json& merge = order[order.size() - 2];
  const Json& reset = order[order.size() - 3];
  EXPECT_EQ(reset["event"], "setd");
  EXPECT_EQ(KeyOf(reset, "Opct")["value"], 100.0);
  EXPECT_EQ(KeyOf(reset, "Md  ")["enum"][1], "Nrml");
  EXPECT_EQ(merge["event"], "Mrg2");
  EXPECT_EQ(last["kind"], "step-end");
  EXPECT_EQ(last["kept"], false);
  const Json state = LastState(run.transcript);
  EXPECT_EQ(state["layers"].size(), 4u);
  EXPECT_EQ(state["history"], Json::parse(R"(["Open", "Gaussian Blur"])"));
  // The temporary document is gone.
  EXPECT_EQ(OfKind(run.transcript, "state").front()["documents"].size(), 1u);
}

TEST(ModuleDialog, FadeOkFadesTheLastStepIntoItsOwnStep) {
  const Json actions = Json::parse(R"([{"capture": true}, {"set": 1040, "value": 30}, {"pick": 1021, "index": 3},
                                       {"wait": 150}, {"press": 1090}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kFade));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["title"], "Fade");
  EXPECT_EQ(ControlIn(dialogs[0], 1021)["items"].size(), 25u);
  EXPECT_EQ(ControlIn(dialogs[0], 1021)["text"], "Normal");
  const std::vector<Json> sets = Plays(run.transcript, "setd");
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(KeyOf(sets.back(), "Opct")["value"], 30.0);
  EXPECT_EQ(KeyOf(sets.back(), "Md  ")["enum"][1], "Mltp");
  EXPECT_EQ(Plays(run.transcript, "Mrg2").size(), 1u);
  const Json end = StepEnd(run.transcript);
  EXPECT_EQ(end["name"], "Fade Gaussian Blur");
  EXPECT_EQ(end["kept"], true);
  const Json state = LastState(run.transcript);
  EXPECT_EQ(state["layers"].size(), 4u);
  EXPECT_EQ(OfKind(run.transcript, "state").front()["documents"].size(), 1u);
}

// Up to editor 2 the last step is copied, stepped back from and pasted over
// the earlier state.
TEST(ModuleDialog, FadeOnEditorTwoPastesTheLastStepOverTheStateBefore) {
  const Json document = Json::parse(R"({"title": "Harbour", "history": ["Open", "Gaussian Blur"],
      "layers": [{"name": "Background", "background": true}, {"name": "Sky"}], "target": [1]})");
  const Json actions = Json::parse(R"([{"set": 1040, "value": 40}, {"wait": 150}, {"press": 1090}])");
  EditorRun run = RunEditor(Scenario(2, document, actions, kFade));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<std::string> events;
  for (const Json& play : OfKind(run.transcript, "play")) events.push_back(play["event"]);
  EXPECT_EQ(events, (std::vector<std::string>{"setd", "copy", "slct", "slct", "past", "Prge", "setd", "MrgL"}));
  const std::vector<Json> sets = Plays(run.transcript, "setd");
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(KeyOf(sets.back(), "Opct")["value"], 40.0);
  const Json end = StepEnd(run.transcript);
  EXPECT_EQ(end["name"], "Fade Gaussian Blur");
  EXPECT_EQ(end["kept"], true);
  const Json state = LastState(run.transcript);
  EXPECT_EQ(state["history"], Json({"Open", "Fade Gaussian Blur"}));
  EXPECT_EQ(state["layers"].size(), 2u);
}

TEST(ModuleDialog, TrackingPreviewOffRestoresTheStartAndOnAppliesTheSliderAgain) {
  Json caption = Photo();
  caption["target"] = {2};
  const Json actions = Json::parse(R"([{"set": 1040, "value": 75}, {"wait": 150}, {"check": 1030, "on": false},
                                       {"check": 1030, "on": true}, {"wait": 150}, {"press": 1091}])");
  EditorRun run = RunEditor(Scenario(8, caption, actions, kTracking));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<int> tracking;
  for (const Json& set : Plays(run.transcript, "setd")) {
    EXPECT_TRUE(KeyOf(set, "Opct").is_null()) << "the layer's opacity is not the Tracking dialog's";
    tracking.push_back(KeyOf(set, "Trck")["int"].get<int>());
  }
  EXPECT_EQ(tracking, (std::vector<int>{75, 0, 75, 0}));
  EXPECT_EQ(StepEnd(run.transcript)["kept"], false);
}

TEST(ModuleDialog, AutoAlignPlaysTheChosenProjectionAndCancelPlaysNothing) {
  Json two = Photo();
  two["target"] = {1, 3};
  const Json actions = Json::parse(R"([{"check": 1072}, {"capture": true}, {"check": 1073}, {"check": 1031},
                                       {"capture": true}, {"press": 1090}])");
  const Json more = Json::parse(R"([{"dialog": [{"check": 1071}, {"press": 1091}]},
                                    {"command": )" + std::to_string(kAutoAlign) + "}]");
  EditorRun run = RunEditor(Scenario(8, two, actions, kAutoAlign, more));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0]["title"], "Auto-Align Layers");
  // Collage leaves no lens to correct.
  EXPECT_EQ(ControlIn(dialogs[0], 1031)["enabled"], false);
  EXPECT_EQ(ControlIn(dialogs[0], 1032)["enabled"], false);
  EXPECT_EQ(ControlIn(dialogs[1], 1031)["enabled"], true);
  const std::vector<Json> aligns = Plays(run.transcript, "Algn");
  ASSERT_EQ(aligns.size(), 1u);
  EXPECT_EQ(KeyOf(aligns[0], "Aply")["enum"][1], "cylindrical");
  EXPECT_EQ(KeyOf(aligns[0], "vignette")["bool"], true);
  EXPECT_EQ(KeyOf(aligns[0], "radialDistort")["bool"], false);
  EXPECT_EQ(aligns[0]["mode"], 1);
  EXPECT_EQ(LastState(run.transcript)["layers"][3]["autoAligned"]["projection"], "cylindrical");
}

TEST(ModuleDialog, ASecondDialogWhileOneRunsReturnsAtOnce) {
  // The Fade shortcut while the Fill Opacity dialog shows.
  const Json actions = Json::parse(R"([{"key": "Ctrl+Shift+F", "down": true}, {"key": "Ctrl+Shift+F", "down": false},
                                       {"wait": 150}, {"capture": true}, {"press": 1091}])");
  EditorRun run = RunEditor(Scenario(8, Photo(), actions, kFillOpacity));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["title"], "Fill Opacity");
  EXPECT_TRUE(Plays(run.transcript, "Mk  ").empty()) << "no Fade was prepared";
  EXPECT_TRUE(OfKind(run.transcript, "dialog-closed").empty());
}

TEST(ModuleDialogPictures, EachDialogIsPicturedInTheEditorsLanguage) {
  struct Expected {
    const char* file;
    std::vector<std::string> titles;
    const char* cancel;
  };
  const Expected runs[] = {
      {"module-dialogs.json",
       {"Fade", "Exposure", "Vibrance", "Black & White", "Fill Opacity", "Tracking", "Edit Smart Filters",
        "Auto-Align Layers"},
       "Cancel"},
      {"module-dialogs-german.json",
       {"Verblassen", "Belichtung", "Dynamik", "Schwarzwei\xC3\x9F", "Fl\xC3\xA4" "chendeckkraft", "Laufweite",
        "Smartfilter bearbeiten", "Ebenen automatisch ausrichten"},
       "Abbrechen"},
  };
  for (const Expected& expected : runs) {
    SCOPED_TRACE(expected.file);
    const std::wstring folder = TempFolder() + L"\\" + Widen(expected.file) + L".pictures";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string text = ReadBytes(Widen(std::string(QB_SCENARIO_FOLDER) + "/" + expected.file));
    ASSERT_FALSE(text.empty()) << "the scenario file is missing";
    EditorRun run = RunEditor(Json::parse(text), {L"--screenshots", folder});
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
    ASSERT_EQ(dialogs.size(), expected.titles.size());
    for (size_t i = 0; i < dialogs.size(); ++i) {
      EXPECT_EQ(dialogs[i]["title"], expected.titles[i]);
      EXPECT_EQ(ControlIn(dialogs[i], 1091)["text"], expected.cancel);
    }
    const std::vector<Json> shots = OfKind(run.transcript, "screenshot");
    ASSERT_EQ(shots.size(), expected.titles.size());
    std::set<std::string> pictures;
    for (const Json& shot : shots) {
      EXPECT_EQ(shot["of"], "dialog");
      ASSERT_TRUE(shot.contains("file")) << shot.dump();
      pictures.insert(ReadBytes(folder + L"\\" + Widen(shot["file"].get<std::string>())));
    }
    EXPECT_EQ(pictures.size(), expected.titles.size()) << "each dialog looks different";
    // Each was left open for its picture, then cancelled: nothing was kept.
    EXPECT_EQ(OfKind(run.transcript, "dialog-closed").size(), expected.titles.size());
    for (const Json& end : OfKind(run.transcript, "step-end")) EXPECT_EQ(end["kept"], false);
  }
}

}  // namespace
}  // namespace integration
