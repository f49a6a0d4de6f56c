// The module's keyboard shortcuts pressed on the keyboard of the simulated
// editor: what the plug-in plays for them, and which keys still reach the
// editor itself (`host-key` lines: a key the hook did not keep).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

// The plug-in's effects, and the keys the editor got (modifiers left out:
// they always reach it).
std::vector<Json> EffectsAndKeys(const std::vector<Json>& transcript) {
  std::vector<Json> lines;
  bool started = false;
  for (const Json& line : transcript) {
    const std::string kind = line.value("kind", "");
    if (kind == "state") started = true;
    if (!started) continue;
    if (kind == "host-key") {
      const int key = line["key"].get<int>();
      if (key == 16 || key == 17 || key == 18) continue;   // Shift, Ctrl, Alt
    }
    if (kind == "play" || kind == "host-key" || kind == "step-begin" || kind == "message" || kind == "error" ||
        kind == "state")
      lines.push_back(line);
  }
  return lines;
}

const Json kHarbour = Json::parse(R"({"title": "Harbour.psd",
    "layers": [{"name": "Background", "background": true}, {"name": "Sky"}]})");

Json Scenario(int version, const Json& documents, const Json& clipboard, const Json& keys,
              const Json& answers = Json::object()) {
  Json steps = Json::parse(R"([{"select": "Startup"}, {"event": "Opn "}, {"state": true}])");
  for (const Json& key : keys) steps.push_back(key);
  steps.push_back({{"state", true}});
  steps.push_back({{"select", "Shutdown"}});
  return {{"host", {{"version", version}}}, {"documents", documents}, {"clipboard", clipboard},
          {"answers", answers},             {"steps", steps}};
}

const std::set<std::string> kKinds = {"play", "host-key", "step-begin", "message", "error"};

TEST(Shortcuts, AHeldShortcutRunsOnceAndOnlyItsExactKeysInFrontOfTheEditorAreTaken) {
  // Ctrl+M held for two auto-repeats is one Curves (the editor's own dialog,
  // answered OK); Ctrl+Shift+M is no shortcut; Ctrl+M typed into another
  // program is that program's; Shift+F5 opens the editor's Fill, which the
  // user cancels.
  const Json keys = Json::parse(R"([
      {"key": "Ctrl+M", "repeat": 3},
      {"key": "Ctrl+Shift+M"},
      {"key": "Ctrl+M", "foreground": "other"},
      {"key": "Shift+F5"}])");
  EditorRun run = RunEditor(Scenario(8, Json::array({kHarbour}), nullptr, keys,
                                     Json::parse(R"({"hostDialogs": {"Fl  ": "cancel"}})")));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(EffectsAndKeys(run.transcript), kKinds,
                   {{"play", R"({"event": "Crvs", "mode": 1, "result": 0})"},
                    {"host-key", R"({"key": 77, "ctrl": true, "shift": true, "alt": false, "window": "main"})"},
                    {"host-key", R"({"key": 77, "ctrl": true, "shift": false, "window": "other"})"},
                    {"play", R"({"event": "Fl  ", "descriptor": null, "mode": 1, "result": -128})"}});
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]["documents"], states[1]["documents"]) << "a cancelled Fill changes nothing";
}

TEST(Shortcuts, AShortcutOutsideItsVersionsIsTheEditorsKey) {
  // Curves' Ctrl+M exists up to 3 and from 5 on; in 4 the key is the editor's.
  // Duplicate Layer's Ctrl+J exists only up to 2.
  EditorRun run = RunEditor(Scenario(4, Json::array({kHarbour}), nullptr,
                                     Json::parse(R"([{"key": "Ctrl+M"}, {"key": "Ctrl+J"}])")));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(EffectsAndKeys(run.transcript), kKinds,
                   {{"host-key", R"({"key": 77, "ctrl": true, "window": "main"})"},
                    {"host-key", R"({"key": 74, "ctrl": true, "window": "main"})"}});
}

TEST(Shortcuts, CtrlVWithNoDocumentMakesOneFromTheClipboardAndPastesIntoIt) {
  // The first Ctrl+V finds no document: a new image of the clipboard's size,
  // pasted into without anti-aliasing. The second finds that image open and
  // is the editor's own paste.
  EditorRun run = RunEditor(Scenario(8, Json::array(), Json::parse(R"({"image": [300, 200]})"),
                                     Json::parse(R"([{"key": "Ctrl+V"}, {"key": "Ctrl+V"}])")));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(EffectsAndKeys(run.transcript), kKinds,
                   {{"play", R"({"event": "Mk  ", "mode": 2, "result": 0,
                        "descriptor": [["Nw  ", {"object": "Dcmn", "items": [["preset", {"string": "Clipboard"}]]}]]})"},
                    {"play", R"({"event": "past", "mode": 2, "result": 0,
                        "descriptor": [["AntA", {"enum": ["Annt", "Anno"]}]]})"},
                    {"host-key", R"({"key": 86, "ctrl": true, "window": "main"})"}});
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(states[0]["documents"].empty());
  ASSERT_EQ(states[1]["documents"].size(), 1u);
  const Json& made = states[1]["documents"][0];
  EXPECT_EQ(made["width"], 300);
  EXPECT_EQ(made["height"], 200);
  ASSERT_EQ(made["layers"].size(), 2u);
  EXPECT_EQ(made["layers"][1]["pasted"]["antiAlias"], "Anno");
  EXPECT_EQ(made["target"], Json::array({1}));
}

TEST(Shortcuts, WithNothingToPasteCtrlVIsSwallowedAndShiftNGoesToTheEditor) {
  EditorRun run = RunEditor(Scenario(8, Json::array(), nullptr,
                                     Json::parse(R"([{"key": "Ctrl+V"}, {"key": "Shift+N"}])")));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;   // and no error line: a refusal by the host's state
  ExpectTranscript(EffectsAndKeys(run.transcript), kKinds,
                   {{"play", R"({"event": "Mk  ", "mode": 2, "result": -25920})"},
                    {"play", R"({"event": "Mk  ", "mode": 2, "result": -25920})"},
                    {"host-key", R"({"key": 78, "shift": true, "ctrl": false, "window": "main"})"}});
  EXPECT_TRUE(OfKind(run.transcript, "state").back()["documents"].empty());
}

TEST(Shortcuts, SwitchedOffInTheSettingsFileEveryKeyIsTheEditors) {
  // The last run left "Deactivate Key Shortcuts" on: Ctrl+M is no Curves.
  Json scenario = Scenario(8, Json::array({kHarbour}), nullptr, Json::parse(R"([{"key": "Ctrl+M"}])"));
  scenario["plugin"] = {{"settings", Json::parse(R"(["Quillbright1.0","0","0","0","0","0","0","1","0","0","1","0","0"])")}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(EffectsAndKeys(run.transcript), kKinds,
                   {{"host-key", R"({"key": 77, "ctrl": true, "shift": false, "alt": false, "window": "main"})"}});
}

TEST(Shortcuts, MenuItemsShowTheirShortcutSixteenPixelsInsideTheirRightEdge) {
  // Read back from the pixels each drawing changed: an item's fill, then its
  // label and its shortcut text, in the open Image > Channels and Edit menus.
  for (int version : {6, 8, 10, 11}) {
    SCOPED_TRACE("editor " + std::to_string(version));
    Json scenario = {{"host", {{"version", version}}},
                     {"documents", Json::array({kHarbour})},
                     {"steps", Json::parse(R"([{"menu": "Image", "open": ["Channels"]}, {"screenshot": "channels"},
                                              {"menu": "Edit", "open": []}, {"screenshot": "edit"}])")}};
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    std::map<std::string, int> gaps;   // shortcut text -> item's right edge less the text's
    for (const Json& line : OfKind(run.transcript, "paint")) {
      if (line["window"] != "menu") continue;
      int itemRight = -1;
      for (const Json& entry : line["what"]) {
        if (entry.contains("fill")) itemRight = entry["rect"][2].get<int>();
        if (entry.contains("text") && itemRight >= 0) {
          const std::string text = entry["text"];
          if (text == "Ctrl+4" || text == "Ctrl+7" || text == "Shift+Ctrl+F")
            gaps[text] = itemRight - entry["rect"][2].get<int>();
        }
      }
    }
    for (const char* text : {"Ctrl+4", "Ctrl+7", "Shift+Ctrl+F"}) {
      SCOPED_TRACE(text);
      ASSERT_TRUE(gaps.count(text)) << "the shortcut text was not drawn";
      // The glyphs' last column may stand a pixel or two short of where the
      // text was aligned.
      EXPECT_GE(gaps[text], 16);
      EXPECT_LE(gaps[text], 19);
    }
  }
}

}  // namespace
}  // namespace integration
