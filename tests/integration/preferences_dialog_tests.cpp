// The module's Preferences, used through the simulated editor as a person
// would: its pages, what it does to the settings and the editor's
// preferences, and its texts on German and older editors. And the editor's
// `dialog` steps themselves: what becomes of a dialog nobody answers.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kHistoryOptions = 0x8800 + 114;
constexpr int kPreferences = 0x8800 + 115;

// Controls that show on every page: the page list and the buttons.
const std::set<int> kAlwaysShown = {1022, 1090, 1091, 1097, 1098, 1099};

const char* const kRestartNote = "Please restart Photoshop Elements in order to deactivate Quillbright.";

Json Scenario(const Json& host, const Json& steps) {
  Json all = Json::parse(R"([{"select": "Startup"}, {"event": "Opn "}])");
  for (const Json& step : steps) all.push_back(step);
  all.push_back({{"select", "Shutdown"}});
  return {{"host", host}, {"steps", all}};
}

// The page's own controls that show.
std::set<int> ShownOnPage(const Json& dialog) {
  std::set<int> shown;
  for (const Json& control : dialog["controls"])
    if (control["visible"] == true && !kAlwaysShown.count(control["id"].get<int>())) shown.insert(control["id"].get<int>());
  return shown;
}

std::vector<Json> Messages(const std::vector<Json>& transcript, const std::string& text) {
  std::vector<Json> found;
  for (const Json& line : OfKind(transcript, "message"))
    if (line["text"] == text) found.push_back(line);
  return found;
}

TEST(PreferencesDialog, EachWayInOpensItsPageAndPrevAndNextStopAtTheEnds) {
  // History Options opens the History page; Prev twice reaches the module's
  // page, where one more Prev does nothing; the list picks the last page,
  // where Next does nothing. "Do It" and the Preferences item open page 0.
  const Json steps = Json::parse(R"([
      {"dialog": [{"capture": true}, {"press": 1098}, {"press": 1098}, {"capture": true}, {"press": 1098},
                  {"capture": true}, {"pick": 1022, "index": 3}, {"capture": true}, {"press": 1099},
                  {"capture": true}, {"press": 1091}]},
      {"command": )" + std::to_string(kHistoryOptions) + R"(},
      {"dialog": [{"capture": true}, {"press": 1091}]},
      {"select": "Do It"},
      {"dialog": [{"capture": true}, {"press": 1091}]},
      {"command": )" + std::to_string(kPreferences) + R"(}])");
  EditorRun run = RunEditor(Scenario({{"version", 8}}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 7u);
  EXPECT_EQ(dialogs[0]["title"], "Quillbright Preferences");
  EXPECT_EQ(ControlIn(dialogs[0], 1022)["items"], Json::parse(R"(["Quillbright", "General", "History", "Key Shortcuts"])"));

  struct Page {
    size_t capture;
    int selected;
    std::set<int> shown;
  };
  const Page pages[] = {
      {0, 2, {1036, 1037, 1038}},         // History Options: the History page
      {1, 0, {1030, 1031}},               // two Prev: the module's page
      {2, 0, {1030, 1031}},               // Prev on page 0: nothing
      {3, 3, {1039, 1023}},               // the list: Key Shortcuts
      {4, 3, {1039, 1023}},               // Next on page 3: nothing
      {5, 0, {1030, 1031}},               // "Do It"
      {6, 0, {1030, 1031}},               // Edit > Preferences > Quillbright
  };
  for (const Page& page : pages) {
    SCOPED_TRACE("capture " + std::to_string(page.capture));
    EXPECT_EQ(ControlIn(dialogs[page.capture], 1022)["value"], page.selected);
    EXPECT_EQ(ShownOnPage(dialogs[page.capture]), page.shown);
    EXPECT_FALSE(ControlIn(dialogs[page.capture], 1032)["visible"].get<bool>()) << "the reserved box never shows";
  }
  // Cancel each time: nothing left open, no note.
  EXPECT_TRUE(OfKind(run.transcript, "dialog-closed").empty());
  EXPECT_TRUE(Messages(run.transcript, kRestartNote).empty());
}

TEST(PreferencesDialog, DeactivatingShowsTheRestartNoteOnlyOnOkAndCancelPutsTheBoxBack) {
  const Json steps = Json::parse(R"([
      {"dialog": [{"check": 1030, "on": true}, {"capture": true}, {"press": 1091}]},
      {"command": )" + std::to_string(kPreferences) + R"(},
      {"dialog": [{"capture": true}, {"check": 1030, "on": true}, {"press": 1090}]},
      {"command": )" + std::to_string(kPreferences) + R"(}])");
  EditorRun run = RunEditor(Scenario({{"version", 8}}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(ControlIn(dialogs[0], 1030)["value"], 1) << "ticked";
  EXPECT_EQ(ControlIn(dialogs[1], 1030)["value"], 0) << "Cancel put it back";
  const std::vector<Json> notes = Messages(run.transcript, kRestartNote);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0]["title"], "Info");
  EXPECT_EQ(notes[0]["owner"], "main");
  // The note belongs to the second opening's OK, not to the first's Cancel.
  std::vector<std::string> order;
  for (const Json& line : run.transcript) {
    const std::string kind = line.value("kind", "");
    if (kind == "dialog" || (kind == "message" && line["text"] == kRestartNote)) order.push_back(kind);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"dialog", "dialog", "message"}));
}

TEST(PreferencesDialog, OkPutsTheEditorsPreferencesIntoEffectAndResetTakesChangesBack) {
  // OK with Bicubic Sharper and non-linear history: the preference script
  // sets them in the editor. The next opening changes them again but Reset
  // takes the changes back before OK.
  const Json steps = Json::parse(R"([
      {"dialog": [{"pick": 1022, "index": 1}, {"pick": 1021, "index": 2}, {"press": 1099},
                  {"check": 1037, "on": true}, {"press": 1090}]},
      {"command": )" + std::to_string(kPreferences) + R"(},
      {"state": true},
      {"dialog": [{"pick": 1022, "index": 1}, {"pick": 1021, "index": 0}, {"press": 1097}, {"capture": true},
                  {"press": 1090}]},
      {"command": )" + std::to_string(kPreferences) + R"(},
      {"state": true}])");
  EditorRun run = RunEditor(Scenario({{"version", 8}}, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 2u);
  for (const Json& state : states) {
    EXPECT_EQ(state["preferences"]["interpolation"], "ResampleMethod.BICUBICSHARPER");
    EXPECT_EQ(state["preferences"]["nonLinearHistory"], true);
  }
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(ControlIn(dialogs[0], 1021)["value"], 2) << "Reset showed the value as it was";
  EXPECT_EQ(ControlIn(dialogs[0], 1021)["text"], "Bicubic Sharper");
}

TEST(PreferencesDialog, OlderEditorsDisableWhatTheyLack) {
  struct Case {
    int version;
    bool colorize;       // 1031
    bool hostBoxes;      // 1033 to 1038
  };
  const Case cases[] = {{3, false, false}, {5, true, false}, {6, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("editor " + std::to_string(c.version));
    EditorRun run = RunEditor(Scenario({{"version", c.version}}, Json::parse(R"([
        {"dialog": [{"capture": true}, {"press": 1090}]},
        {"command": )" + std::to_string(kPreferences) + R"(}])")));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(ControlIn(dialogs[0], 1030)["enabled"], true);
    EXPECT_EQ(ControlIn(dialogs[0], 1031)["enabled"], c.colorize);
    for (int id : {1033, 1034, 1036, 1037, 1038}) EXPECT_EQ(ControlIn(dialogs[0], id)["enabled"], c.hostBoxes) << id;
    EXPECT_EQ(ControlIn(dialogs[0], 1021)["enabled"], true) << "the interpolation list stays usable";
    EXPECT_EQ(ControlIn(dialogs[0], 1039)["enabled"], true);
    // The editor's preferences are set by script only from 6 on.
    EXPECT_EQ(OfKind(run.transcript, "script").empty(), c.version < 6);
  }
}

TEST(PreferencesDialog, TheShortcutListHoldsTheRowsOfTheRunningEditor) {
  struct Case {
    int version;
    size_t rows;
    std::vector<std::vector<std::string>> present;
    std::vector<std::string> absent;   // first-column texts
  };
  const Case cases[] = {
      {8, 19,
       {{"Browse in Organizer...", "Alt+Shift+Ctrl+O"}, {"Fill...", "Shift+F5"}, {"Curves...", "Ctrl+M"},
        {"Black & White...", "Alt+Shift+Ctrl+B"}, {"Lens Correction...", "Ctrl+R"},
        {"Edit in Quick Mask Mode...", "Shift+Q"}},
       {"Color Balance...", "Liquify...", "Duplicate Layer"}},
      // 4: no Curves, no Black & White, no Lens Correction yet.
      {4, 16, {{"Stamp Visible", "Alt+Shift+Ctrl+E"}, {"New Image from Clipboard", "Ctrl+V"}},
       {"Curves...", "Black & White...", "Lens Correction..."}},
      {11, 21, {{"Color Balance...", "Ctrl+B"}, {"Liquify...", "Shift+Ctrl+X"}}, {"Duplicate Layer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("editor " + std::to_string(c.version));
    EditorRun run = RunEditor(Scenario({{"version", c.version}}, Json::parse(R"([
        {"dialog": [{"pick": 1022, "index": 3}, {"capture": true}, {"press": 1091}]},
        {"command": )" + std::to_string(kPreferences) + R"(}])")));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
    ASSERT_EQ(dialogs.size(), 1u);
    const Json& list = ControlIn(dialogs[0], 1023);
    EXPECT_EQ(list["columns"], Json::parse(R"([{"text": "Menu Command", "width": 175}, {"text": "Shortcut", "width": 136}])"));
    EXPECT_EQ(list["rows"].size(), c.rows);
    EXPECT_EQ(list["rows"][0], Json::array({"Browse in Organizer...", "Alt+Shift+Ctrl+O"})) << "table order";
    for (const auto& row : c.present) {
      bool found = false;
      for (const Json& shown : list["rows"]) found = found || shown == Json(row);
      EXPECT_TRUE(found) << Json(row).dump();
    }
    for (const std::string& name : c.absent)
      for (const Json& shown : list["rows"]) EXPECT_NE(shown[0], name);
  }
}

TEST(PreferencesDialog, AGermanEditorGetsGermanTexts) {
  const Json host = Json::parse(R"({"version": 8, "german": true, "locale": "de_de", "uiLanguage": "de_DE",
      "dictionary": {"$$$/Menu/Preferences": "Voreinstellungen", "$$$/Menu/Prefs/General": "Allgemein",
                     "$$$/Actions/Enum/History": "Protokoll", "$$$/Menu/Preferences/Keyboard": "Tastaturbefehle",
                     "$$$/ControlStrings/Cancel": "Abbrechen", "$$$/Actions/Event/Next": "Weiter",
                     "$$$/Actions/Event/Fade": "Verblassen",
                     "$$$/PlatformSpecific/Windows/CommandKeyModifierName": "Strg",
                     "$$$/PlatformSpecific/Windows/ShiftKeyModifierName": "Umschalt"}})");
  EditorRun run = RunEditor(Scenario(host, Json::parse(R"([
      {"dialog": [{"capture": true}, {"press": 1091}]},
      {"command": )" + std::to_string(kPreferences) + R"(}])")));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  const Json& d = dialogs[0];
  EXPECT_EQ(d["title"], "Quillbright Voreinstellungen");
  EXPECT_EQ(ControlIn(d, 1022)["items"], Json::parse(R"(["Quillbright", "Allgemein", "Protokoll", "Tastaturbefehle"])"));
  EXPECT_EQ(ControlIn(d, 1091)["text"], "Abbrechen");
  EXPECT_EQ(ControlIn(d, 1099)["text"], "Weiter");
  EXPECT_EQ(ControlIn(d, 1090)["text"], "OK") << "not in the dictionary: the default";
  EXPECT_EQ(ControlIn(d, 1030)["text"], "Quillbright deaktivieren");
  EXPECT_EQ(ControlIn(d, 1031)["text"], "Icons && Menübefehle einfärben");
  EXPECT_EQ(ControlIn(d, 1033)["text"], "Geöffnete Dokumente automatisch aktualisieren");
  EXPECT_EQ(ControlIn(d, 1034)["text"], "Große Schriftvorschau");
  EXPECT_EQ(ControlIn(d, 1039)["text"], "Tastaturkürzel deaktivieren");
  EXPECT_EQ(ControlIn(d, 1032)["text"], "None") << "never shown, never translated";
  EXPECT_EQ(ControlIn(d, 1021)["items"], Json::parse(R"(["Bikubisch", "Bikubisch glatter", "Bikubisch schärfer"])"));
  const Json& list = ControlIn(d, 1023);
  EXPECT_EQ(list["columns"][0]["text"], "Menübefehl");
  EXPECT_EQ(list["columns"][1]["text"], "Kürzel");
  EXPECT_EQ(list["rows"][1], Json::array({"Verblassen...", "Umschalt+Strg+F"}));
}

TEST(PreferencesPictures, TheScenarioPicturesEachPage) {
  for (const char* file : {"preferences-pages.json", "preferences-pages-german.json"}) {
    SCOPED_TRACE(file);
    const std::wstring folder = TempFolder() + L"\\" + Widen(file) + L".pictures";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string text = ReadBytes(Widen(std::string(QB_SCENARIO_FOLDER) + "/" + file));
    ASSERT_FALSE(text.empty()) << "the scenario file is missing";
    EditorRun run = RunEditor(Json::parse(text), {L"--screenshots", folder});
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> shots = OfKind(run.transcript, "screenshot");
    ASSERT_EQ(shots.size(), 4u);
    std::set<std::string> pictures;
    for (const Json& shot : shots) {
      EXPECT_EQ(shot["of"], "dialog");
      ASSERT_TRUE(shot.contains("file")) << shot.dump();
      const std::string bytes = ReadBytes(folder + L"\\" + Widen(shot["file"].get<std::string>()));
      EXPECT_FALSE(bytes.empty());
      pictures.insert(bytes);
    }
    EXPECT_EQ(pictures.size(), 4u) << "each page looks different";
    // Each page was left open by its actions for its picture, then cancelled.
    EXPECT_EQ(OfKind(run.transcript, "dialog-closed").size(), 4u);
  }
}

TEST(DialogSteps, ADialogNobodyAnswersIsCancelledAndStrayActionsAreReported) {
  // No dialog step: the dialog is cancelled and the run goes on. A press
  // that closes the dialog before the rest of its actions, a control the
  // page hides, and a dialog step no dialog comes for are each an error.
  const Json steps = Json::parse(R"([
      {"command": )" + std::to_string(kPreferences) + R"(},
      {"dialog": [{"check": 1036, "on": true}, {"press": 1091}, {"capture": true}]},
      {"command": )" + std::to_string(kPreferences) + R"(},
      {"state": true},
      {"dialog": [{"press": 1090}]}])");
  EditorRun run = RunEditor(Scenario({{"version", 8}}, steps), {},
                            {R"({"kind":"error","text":"dialog action {\"check\":1036,\"on\":true}: control 1036 is hidden or disabled, out of a person's reach"})",
                             R"({"kind":"error","text":"the dialog closed before 1 of its actions, from {\"capture\":true} on"})",
                             R"({"kind":"error","text":"the dialog step {\"dialog\":[{\"press\":1090}]} found no dialog of the plug-in"})"});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> closed = OfKind(run.transcript, "dialog-closed");
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["title"], "Quillbright Preferences");
  EXPECT_EQ(closed[0]["reason"], "no dialog step");
  EXPECT_EQ(closed[0]["answer"], "Cancel");
  EXPECT_EQ(OfKind(run.transcript, "error").size(), 3u);
  EXPECT_EQ(OfKind(run.transcript, "state").size(), 1u) << "the run went on";
}

TEST(DialogSteps, SlidersEditBoxesAndHeldKeysReachTheDialogAsAPersonsWould) {
  // The probe's dialog tells what it heard: Shift held for the first Report
  // and let go for the second; the slider's move and the typed text on OK.
  const Json scenario = Json::parse(R"({"steps": [
      {"dialog": [{"set": 1040, "value": 50}, {"type": 1052, "text": "2.5"}, {"key": "Shift", "down": true},
                  {"press": 1091}, {"key": "Shift", "down": false}, {"press": 1091}, {"press": 1090}]},
      {"select": "Do It"}]})");
  EditorRun run = RunEditor(scenario, {L"--plugin", BinFolder() + L"\\dialog_probe.8li"});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<std::string> told;
  for (const Json& line : OfKind(run.transcript, "message")) told.push_back(line["text"]);
  // TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK; one change for the text typed over.
  EXPECT_EQ(told, (std::vector<std::string>{"Shift down", "Shift up", "scrolls 5,4,8, at 50; changes 1, text 2.5"}));
  EXPECT_TRUE(OfKind(run.transcript, "dialog-closed").empty());
}

}  // namespace
}  // namespace integration
