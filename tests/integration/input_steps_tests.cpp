// The user's hands: clicks, key presses and the pop-ups the editor tracks
// itself, given through real input and seen by the plug-in as on the real
// editor. Each action follows a `state` step, so that what it caused stands
// after that line.
#include <gtest/gtest.h>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

// The kinds in which an action shows: what the plug-in played, ran, showed
// and what went wrong.
const std::set<std::string> kEffects = {"play", "step-begin", "message", "script", "error"};

// Start-up, an open document, a marker, the steps, shut-down.
Json Scenario(int version, const Json& steps, const Json& layers = nullptr) {
  Json scenario = {{"host", {{"version", version}}}};
  if (!layers.is_null()) scenario["documents"] = Json::array({{{"title", "a.psd"}, {"layers", layers}}});
  Json all = Json::parse(R"([{"select": "Startup"}, {"event": "Opn "}, {"state": true}])");
  for (const Json& step : steps) all.push_back(step);
  all.push_back({{"select", "Shutdown"}});
  scenario["steps"] = all;
  return scenario;
}

// The lines after the marker and before shut-down.
std::vector<Json> AfterMarker(const std::vector<Json>& transcript) {
  std::vector<Json> lines;
  bool after = false;
  for (const Json& line : transcript) {
    const std::string kind = line.value("kind", "");
    if (kind == "select" && line.value("selector", "") == "Shutdown") break;
    if (after) lines.push_back(line);
    if (kind == "state") after = true;
  }
  return lines;
}

std::vector<int> Ids(const Json& menuLine) {
  std::vector<int> ids;
  for (const Json& item : menuLine["items"]) ids.push_back(item["id"].get<int>());
  return ids;
}

constexpr int kHistoryOptions = 0x8872;
constexpr int kPanelOptions = 1132;  // the editor's own, in the Layers panel's menu

TEST(InputSteps, BadStepsExitTwoWithOneLineNamingTheField) {
  struct Case {
    const char* step;
    const char* errorLine;
  };
  const Case cases[] = {
      {R"({"key": "Ctrl+Foo"})", "scenario: steps[0].key: unknown key name \"Foo\""},
      {R"({"key": "F+G"})", "scenario: steps[0].key: expected Ctrl, Shift or Alt before '+', found \"F\""},
      {R"({"key": "Ctrl+"})", "scenario: steps[0].key: expected a key name on each side of '+'"},
      {R"({"key": "F25"})", "scenario: steps[0].key: unknown key name \"F25\""},
      {R"({"key": "F1", "repeat": 0})", "scenario: steps[0].repeat: expected an integer 1..100"},
      {R"({"click": "history", "x": 1, "y": 1})",
       "scenario: steps[0].click: expected one of \"layers\" \"controlBar\" \"toolbar\""},
      {R"({"click": "layers", "y": 1})", "scenario: steps[0].x: missing: expected an integer -10000..10000"},
      {R"({"click": "layers", "x": 1, "y": 1, "double": "yes"})", "scenario: steps[0].double: expected true or false"},
      {R"({"click": "layers", "x": 1, "y": 1, "hover": true, "double": true})",
       "scenario: steps[0].hover: a move only cannot be a double click"},
      {R"({"popup": "filters"})",
       "scenario: steps[0].popup: expected one of \"layersAdjustment\" \"history\" \"layers\""},
      {R"({"popup": "history", "choose": -3})",
       "scenario: steps[0].choose: expected an item identifier 0..65535 or a list of labels"},
      {R"({"popup": "layers", "keyboard": 1})", "scenario: steps[0].keyboard: expected true or false"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    EditorRun run = RunEditorOnText(std::string(R"({"steps": [)") + c.step + "]}");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errorLines, std::vector<std::string>{c.errorLine});
    EXPECT_TRUE(run.transcript.empty());
  }
}

TEST(InputSteps, InputTheEditorCannotGiveOrThatGoesAstrayIsReportedAndTheRunGoesOn) {
  // Version 8 has no toolbar; a point below the Layers view; a point on the
  // list's scroll bar; a click that opens no pop-up to choose from; F10,
  // which opens the menu bar's menu loop (closed again, so the run cannot
  // hang in it); a move that is fine.
  const std::vector<ExpectedLine> expected = {
      {"error", R"({"text": "the toolbar view does not exist in this editor's version and layout"})"},
      {"error", R"({"text": "the point (10, 5000) lies outside the layers view's 280 x 412 client area"})"},
      {"error", R"({"text": "the point (275, 40) of the layers view is covered by another window"})"},
      {"error", R"({"text": "no pop-up opened to choose from"})"},
      {"error", R"({"text": "a menu loop of the menu bar opened; it was closed with Escape"})"},
  };
  EditorRun run = RunEditor(Scenario(8, Json::parse(R"([
      {"click": "toolbar", "x": 10, "y": 10},
      {"click": "layers", "x": 10, "y": 5000},
      {"click": "layers", "x": -5, "y": 40},
      {"click": "layers", "x": 100, "y": 100, "choose": 5},
      {"key": "F10"},
      {"click": "layers", "x": -20, "y": -1, "hover": true}])")), {}, ProblemsIn(expected));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(AfterMarker(run.transcript), {"error"}, expected);
}

// ---- What the input looks like from inside a plug-in ----

// The probe's reports as lines of kinds "key" and "mouse", with the fields
// its descriptor carries; coordinates also from the right and bottom edges.
std::vector<Json> ProbeReports(const std::vector<Json>& transcript) {
  std::vector<Json> reports;
  for (const Json& line : OfKind(transcript, "play")) {
    Json fields = Json::object();
    for (const Json& pair : line["descriptor"]) fields[pair[0].get<std::string>()] = pair[1].begin().value();
    const std::string event = line["event"].get<std::string>();
    if (event == "Key ") {
      reports.push_back({{"kind", "key"}, {"key", fields["Key "]}, {"up", fields["Up  "]}, {"repeat", fields["Rpt "]},
                         {"ctrl", fields["Ctrl"]}, {"shift", fields["Shft"]}, {"alt", fields["Alt "]},
                         {"front", fields["Frnt"]}});
    } else if (event == "Mous") {
      const int message = fields["Msg "].get<int>();
      const char* name = message == 0x0201 ? "down" : message == 0x0202 ? "up" : message == 0x0203 ? "double" : "move";
      const int x = fields["X   "].get<int>(), y = fields["Y   "].get<int>();
      reports.push_back({{"kind", "mouse"}, {"message", name}, {"window", fields["Clss"]}, {"x", x}, {"y", y},
                         {"fromRight", fields["Wdth"].get<int>() - x}, {"fromBottom", fields["Hght"].get<int>() - y},
                         {"ctrl", fields["Ctrl"]}, {"alt", fields["Alt "]}});
    }
  }
  return reports;
}

EditorRun RunProbe(const char* steps) {
  Json scenario = {{"steps", Json::parse(steps)}};
  scenario["steps"].insert(scenario["steps"].begin(), Json::object({{"select", "Startup"}}));
  scenario["steps"].push_back(Json::object({{"select", "Shutdown"}}));
  // The probe reports through events of its own, which no host knows.
  return RunEditor(scenario, {L"--plugin", BinFolder() + L"\\input_probe.8li"},
                   {R"({"kind":"error","event":"Key "})", R"({"kind":"error","event":"Mous"})"});
}

TEST(KeySteps, KeysReachTheHooksWithTheirModifiersHeldAndRepeatsMarked) {
  // Ctrl+Shift+F; Alt+F9 held for two auto-repeats; Ctrl+Alt+Left. The main
  // window is in front throughout; the modifiers go down together, the key
  // after them and up before them.
  const std::vector<ExpectedLine> expected = {
      {"key", R"({"key": 17, "up": false, "repeat": false, "ctrl": true, "front": true})"},
      {"key", R"({"key": 16, "up": false, "repeat": false, "ctrl": true, "shift": true, "front": true})"},
      {"key", R"({"key": 70, "up": false, "repeat": false, "ctrl": true, "shift": true, "alt": false, "front": true})"},
      {"key", R"({"key": 70, "up": true, "ctrl": true, "shift": true})"},
      {"key", R"({"key": 16, "up": true})"},
      {"key", R"({"key": 17, "up": true})"},
      {"key", R"({"key": 18, "up": false, "alt": true})"},
      {"key", R"({"key": 120, "up": false, "repeat": false, "ctrl": false, "alt": true, "front": true})"},
      {"key", R"({"key": 120, "up": false, "repeat": true, "alt": true})"},
      {"key", R"({"key": 120, "up": false, "repeat": true, "alt": true})"},
      {"key", R"({"key": 120, "up": true})"},
      {"key", R"({"key": 18, "up": true})"},
      {"key", R"({"key": 17, "up": false})"},
      {"key", R"({"key": 18, "up": false, "ctrl": true, "alt": true})"},
      {"key", R"({"key": 37, "up": false, "repeat": false, "ctrl": true, "alt": true, "front": true})"},
      {"key", R"({"key": 37, "up": true})"},
      {"key", R"({"key": 18, "up": true})"},
      {"key", R"({"key": 17, "up": true})"},
  };
  EditorRun run = RunProbe(R"([{"key": "Ctrl+Shift+F"}, {"key": "alt+f9", "repeat": 3}, {"key": "Ctrl+Alt+Left"}])");
  EXPECT_EQ(run.exitCode, 0) << run.errorText;   // and no error line beyond the probe's reports
  ExpectTranscript(ProbeReports(run.transcript), {"key"}, expected);
}

TEST(ClickSteps, ClicksReachTheViewAtTheirPointWithTheirModifiers) {
  // A Ctrl-click 30 pixels from the left and 10 from the bottom of the
  // Layers view; a plain click on the same spot right after (a click of its
  // own, not the second half of a double click); a double click 30 pixels
  // from the right edge, clear of the list's scroll bar.
  const std::vector<ExpectedLine> expected = {
      {"mouse", R"({"message": "down", "window": "PSViewC", "x": 30, "fromBottom": 10, "ctrl": true, "alt": false})"},
      {"mouse", R"({"message": "up", "x": 30, "fromBottom": 10, "ctrl": true})"},
      {"mouse", R"({"message": "down", "x": 30, "fromBottom": 10, "ctrl": false})"},
      {"mouse", R"({"message": "up", "x": 30, "fromBottom": 10})"},
      {"mouse", R"({"message": "down", "fromRight": 30, "y": 40, "alt": true})"},
      {"mouse", R"({"message": "up", "fromRight": 30, "y": 40})"},
      {"mouse", R"({"message": "double", "fromRight": 30, "y": 40, "alt": true})"},
      {"mouse", R"({"message": "up", "fromRight": 30, "y": 40})"},
  };
  EditorRun run = RunProbe(R"([
      {"click": "layers", "x": 30, "y": -10, "ctrl": true},
      {"click": "layers", "x": 30, "y": -10},
      {"click": "layers", "x": -30, "y": 40, "double": true, "alt": true},
      {"click": "controlBar", "x": 5, "y": 6, "hover": true}])");
  EXPECT_EQ(run.exitCode, 0) << run.errorText;   // and no error line beyond the probe's reports
  std::vector<Json> reports = ProbeReports(run.transcript);
  std::vector<Json> buttons;
  for (const Json& report : reports)
    if (report["kind"] == "mouse" && report["message"] != "move") buttons.push_back(report);
  ExpectTranscript(buttons, {"mouse"}, expected);
  // The hover ends the run with the cursor on the control bar, and no press.
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back()["message"], "move");
  EXPECT_EQ(reports.back()["x"], 5);
  EXPECT_EQ(reports.back()["y"], 6);
}

TEST(HostPopups, TheHistoryMenuGetsTheModulesItemAfterTheEditorsItems) {
  // Opened and closed with Escape on version 8: the editor's eight items,
  // then the module's separator and History Options.
  EditorRun run = RunEditor(Scenario(8, Json::parse(R"([{"popup": "history"}])")));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<Json> lines = AfterMarker(run.transcript);
  ExpectTranscript(lines, {"menu", "play", "message", "error"}, {{"menu", R"({"menu": "history"})"}});
  std::vector<Json> menus = OfKind(lines, "menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(Ids(menus[0]), (std::vector<int>{24568, 24569, 24570, 24571, 0, 24572, 24573, 24574, 0, kHistoryOptions}));
  EXPECT_TRUE(menus[0]["items"][8]["separator"].get<bool>());
}

TEST(HostPopups, HistoryOptionsRunsOnlyWhenClickedWithTheMouse) {
  // Version 12, where History Options shows why the module's preferences
  // cannot open; the keyboard's choice never reaches the module.
  struct Case {
    bool keyboard;
    std::vector<ExpectedLine> expected;
  };
  const Case cases[] = {
      {false,
       {{"menu", R"({"menu": "history"})"},
        {"message", R"({"title": "Quillbright", "text": "Please update to the latest version of Quillbright at\n\nwww.dovetailworks.com/quillbright\n\nto use it with this version of Photoshop Elements.", "owner": "main"})"}}},
      {true, {{"menu", R"({"menu": "history"})"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyboard ? "keyboard" : "mouse");
    Json popup = {{"popup", "history"}, {"choose", kHistoryOptions}, {"keyboard", c.keyboard}};
    EditorRun run = RunEditor(Scenario(12, Json::array({popup})));
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    ExpectTranscript(AfterMarker(run.transcript), {"menu", "play", "step-begin", "message", "error"}, c.expected);
  }
}

TEST(HostPopups, TheThumbnailSizeNoticeShowsOnceHoweverOftenPanelOptionsIsChosen) {
  // Panel Options twice with the mouse, then once with the keyboard (which
  // the module never hears of); the editor's own item is what it returns.
  const std::vector<ExpectedLine> expected = {
      {"menu", R"({"menu": "layers"})"},
      {"message", R"({"title": "Quillbright", "text": "After changing the layer thumbnail size, please restart Photoshop\nElements, otherwise double clicking the thumbnail of an adjustment\nlayer or smart object may not work correctly anymore.", "buttons": "OK", "icon": "information", "owner": "main"})"},
      {"menu", R"({"menu": "layers"})"},
      {"menu", R"({"menu": "layers"})"},
  };
  Json choose = {{"popup", "layers"}, {"choose", kPanelOptions}};
  Json byKeys = choose;
  byKeys["keyboard"] = true;
  EditorRun run = RunEditor(Scenario(8, Json::array({choose, choose, byKeys})));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(AfterMarker(run.transcript), {"menu", "play", "step-begin", "message", "error"}, expected);
}

TEST(HostPopups, TheNewAdjustmentLayerButtonOpensWhereEachVersionHasIt) {
  // The button sits at the panel's foot up to 10 and in its top row from 11;
  // choosing the editor's own Levels item by label returns it to the editor
  // (a different answer would be an error line) and runs nothing of the module.
  for (int version : {8, 10, 11}) {
    SCOPED_TRACE("version " + std::to_string(version));
    EditorRun run = RunEditor(Scenario(version, Json::parse(R"([{"popup": "layersAdjustment", "choose": ["Levels..."]}])")));
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    std::vector<Json> lines = AfterMarker(run.transcript);
    ExpectTranscript(lines, {"menu", "play", "step-begin", "message", "error"}, {{"menu", R"({"menu": "layersAdjustment"})"}});
    std::vector<Json> menus = OfKind(lines, "menu");
    ASSERT_EQ(menus.size(), 1u);
    std::vector<int> ids = Ids(menus[0]);
    ASSERT_GE(ids.size(), 13u);
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 3), (std::vector<int>{6351, 6352, 6353}));
  }
}

TEST(LayerThumbnails, ADoubleClickEditsOnlyTheModulesAdjustmentsAndOnlyOnTheThumbnail) {
  // Version 8, thumbnail size 2: the thumbnail column runs from x 27 to 83 of
  // the Layers view; a layer's name stands to its right.
  struct Case {
    const char* what;
    const char* adjustment;
    int x;
    std::vector<ExpectedLine> expected;
  };
  const Case cases[] = {
      {"Levels thumbnail", "levels", 50, {}},  // the editor's own dialog, not the module's
      // The layer remade in the editor's Curves dialog, with no settings of
      // its own to carry over.
      {"Curves thumbnail", "curves", 50,
       {{"step-begin", R"({"name": "Curves..."})"},
        {"play", R"({"event": "Dlt "})"},
        {"play", R"({"event": "Mk  ", "mode": 1, "result": 0})"}}},
      {"Curves name", "curves", 150, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Json layers = Json::array({{{"name", "Background"}, {"background", true}},
                               {{"name", "Adjustment"}, {"kind", "adjustment"}, {"adjustment", {{"class", c.adjustment}}}}});
    Json click = {{"click", "layers"}, {"x", c.x}, {"y", 100}, {"double", true}};
    EditorRun run = RunEditor(Scenario(8, Json::array({click}), layers));
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    ExpectTranscript(AfterMarker(run.transcript), kEffects, c.expected);
  }
}

TEST(KeySteps, AShortcutRunsOnceHoweverLongItsKeyIsHeld) {
  // Shift+F5 is the editor's Fill with its dialog; with Ctrl as well it is
  // no shortcut of the module's.
  struct Case {
    const char* key;
    int repeat;
    std::vector<ExpectedLine> expected;
  };
  const Case cases[] = {
      {"Shift+F5", 1, {{"play", R"({"event": "Fl  ", "mode": 1})"}}},
      {"Shift+F5", 3, {{"play", R"({"event": "Fl  ", "mode": 1})"}}},  // two auto-repeats change nothing
      {"Ctrl+Shift+F5", 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " x" + std::to_string(c.repeat));
    Json key = {{"key", c.key}, {"repeat", c.repeat}};
    EditorRun run = RunEditor(Scenario(8, Json::array({key})));
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    ExpectTranscript(AfterMarker(run.transcript), kEffects, c.expected);
  }
}

}  // namespace
}  // namespace integration
