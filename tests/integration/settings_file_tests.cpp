// The settings file through the editor: what start-up makes of the file the
// last run left (or of none), the scripts it runs because of it, and the
// file shut-down leaves for the next run.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

std::wstring AppData() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
  return path;
}

std::wstring SettingsFile(int version) {
  return AppData() + L"\\Dovetailworks\\Quillbright\\QuillbrightElements" + std::to_wstring(version) + L".ini";
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += char(c);
  return narrow;
}

// The default run (Startup, one Opn event, Shutdown) of an editor of that
// version with the file's lines as the last run left them (null: no file).
Json Scenario(int version, const Json& settings) {
  Json scenario = Json::object();
  scenario["host"] = {{"version", version}};
  scenario["plugin"] = {{"settings", settings}};
  return scenario;
}

const Json kStartThenDoIt = Json::parse(
    R"([{"select": "Startup"}, {"event": "Opn "}, {"select": "Do It"}, {"select": "Shutdown"}])");

constexpr const char* kDefaultFile =
    "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";

// The preference script for the defaults but the given non-linear history
// and history log settings.
std::string PreferenceScript(int nonLinear, int historyLog, const char* interpolation = "ResampleMethod.BICUBIC") {
  return "app.preferences.autoUpdateOpenDocuments =  0;\n"
         "app.preferences.fontPreviewSize =  FontPreviewType.MEDIUM;\n"
         "app.preferences.interpolation =  " +
         std::string(interpolation) +
         ";\n"
         "app.preferences.createFirstSnapshot =  1;\n"
         "app.preferences.nonLinearHistory =  " +
         std::to_string(nonLinear) + ";\nvar value =  " + std::to_string(historyLog) +
         ";\n app.preferences.useHistoryLog = value;\n if (value) {\n"
         "app.preferences.saveLogItems = SaveLogItemsType.METADATA;\n"
         " app.preferences.editLogItems = EditLogItemsType.DETAILED;\n}";
}

std::string LoadScript(const char* scriptPath) {
  return std::string("var atnFile = new File('") + scriptPath + "'); app.load(atnFile);";
}

bool HasWelcome(const EditorRun& run) {
  for (const Json& box : OfKind(run.transcript, "message"))
    if (box.value("text", "").rfind("Welcome to Quillbright!", 0) == 0) return true;
  return false;
}

TEST(SettingsFile, AFirstRunGreetsRunsNoScriptAndLeavesTheDefaults) {
  EditorRun run = RunEditor(Scenario(8, nullptr));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(HasWelcome(run));
  EXPECT_TRUE(OfKind(run.transcript, "script").empty());
  EXPECT_EQ(OfKind(run.transcript, "hook").size(), 4u) << "a first run starts the module";
  EXPECT_EQ(ReadBytes(SettingsFile(8)), kDefaultFile);
}

TEST(SettingsFile, AKeptFileIsAppliedAndWrittenBackAsItWas) {
  // Version 8 with a script and two action files: the preferences go to the
  // host first, then the action files are loaded in their order, and
  // nothing greets.
  const Json lines = Json::parse(R"(["Quillbright1.0", 0, 1, 0, 0, 0, 2, 1, 1, 1, 0,
      "C:\\Scripts\\it's mine.jsx", 2, "C:\\Users\\Public\\Sepia Tones.atn", "D:\\atn\\o'clock.atn"])");
  EditorRun run = RunEditor(Scenario(8, lines));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_FALSE(HasWelcome(run));
  const std::string preferences = PreferenceScript(1, 1, "ResampleMethod.BICUBICSHARPER");
  const std::string first = LoadScript("/C/Users/Public/Sepia Tones.atn");
  const std::string second = LoadScript("/D/atn/o\\'clock.atn");
  const Json texts = Json::array({preferences, first, second});
  std::vector<Json> scripts = OfKind(run.transcript, "script");
  ASSERT_EQ(scripts.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(scripts[i]["text"], texts[i]) << i;
  EXPECT_EQ(ReadBytes(SettingsFile(8)),
            "Quillbright1.0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n2\r\n1\r\n1\r\n1\r\n0\r\n"
            "C:\\Scripts\\it's mine.jsx\r\n2\r\nC:\\Users\\Public\\Sepia Tones.atn\r\nD:\\atn\\o'clock.atn\r\n");
}

TEST(SettingsFile, TheHostTakesThePreferencesTheFileKeeps) {
  struct Case {
    const char* lines;
    const char* preferences;  // what the host then holds
  };
  const Case cases[] = {
      {R"(["Quillbright1.0", 0, 0, 0, 1, 1, 2, 0, 1, 1, 0, "0", 0])",
       R"({"autoUpdateOpenDocuments": true, "fontPreviewSize": "FontPreviewType.LARGE",
           "interpolation": "ResampleMethod.BICUBICSHARPER", "createFirstSnapshot": false,
           "nonLinearHistory": true, "useHistoryLog": true, "saveLogItems": "SaveLogItemsType.METADATA",
           "editLogItems": "EditLogItemsType.DETAILED"})"},
      // A hand-edited interpolation the host has no method for: its own stays.
      {R"(["Quillbright1.0", 0, 0, 0, 0, 0, 7, 1, 0, 0, 0, "0", 0])",
       R"({"autoUpdateOpenDocuments": false, "fontPreviewSize": "FontPreviewType.MEDIUM",
           "interpolation": "ResampleMethod.BICUBIC", "createFirstSnapshot": true,
           "nonLinearHistory": false, "useHistoryLog": false, "editLogItems": "EditLogItemsType.SESSIONONLY"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    Json scenario = Scenario(8, Json::parse(c.lines));
    scenario["steps"] = Json::parse(R"([{"select": "Startup"}, {"event": "Opn "}, {"state": true}, {"select": "Shutdown"}])");
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> states = OfKind(run.transcript, "state");
    ASSERT_EQ(states.size(), 1u);
    const Json held = states[0].value("preferences", Json::object());
    const Json expected = Json::parse(c.preferences);
    for (const auto& [name, value] : expected.items())
      EXPECT_EQ(held.value(name, Json()), value) << name << " in " << held.dump();
  }
}

TEST(SettingsFile, Version11LoadsTheActionFilesButDoesNotKeepThem) {
  const Json lines = Json::parse(R"(["Quillbright1.0", 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, "0", 1, "C:\\a.atn"])");
  EditorRun run = RunEditor(Scenario(11, lines));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"script"},
                   {{"script", R"({"text": "app.preferences.autoUpdateOpenDocuments =  0;\napp.preferences.fontPreviewSize =  FontPreviewType.MEDIUM;\napp.preferences.interpolation =  ResampleMethod.BICUBIC;\napp.preferences.createFirstSnapshot =  1;\napp.preferences.nonLinearHistory =  0;\nvar value =  0;\n app.preferences.useHistoryLog = value;\n if (value) {\napp.preferences.saveLogItems = SaveLogItemsType.METADATA;\n app.preferences.editLogItems = EditLogItemsType.DETAILED;\n}"})"},
                    {"script", R"({"text": "var atnFile = new File('/C/a.atn'); app.load(atnFile);"})"}});
  EXPECT_EQ(ReadBytes(SettingsFile(11)), kDefaultFile) << "line 13 is 0 and no path follows";
}

TEST(SettingsFile, ASwitchedOffModuleRunsNothingAndKeepsItsFile) {
  const Json lines = Json::parse(R"(["Quillbright1.0", 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, "C:\\s.jsx", 1, "C:\\a.atn"])");
  EditorRun run = RunEditor(Scenario(8, lines));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"script", "hook", "subclass", "message"}, {});
  EXPECT_EQ(ReadBytes(SettingsFile(8)),
            "Quillbright1.0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\nC:\\s.jsx\r\n1\r\nC:\\a.atn\r\n");
}

TEST(SettingsFile, SwitchingBackOnWritesTheFileBeforeStartingAgain) {
  const Json lines = Json::parse(R"(["Quillbright1.0", 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, "0", 1, "C:\\a.atn"])");
  for (const char* answer : {"No", "Yes"}) {
    SCOPED_TRACE(answer);
    Json scenario = Scenario(8, lines);
    scenario["steps"] = kStartThenDoIt;
    scenario["answers"] = {{"messages", Json::array({answer})}};
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    if (std::string(answer) == "No") {
      ExpectTranscript(run.transcript, {"script", "hook", "message"},
                       {{"message", R"({"text": "Do you want to activate Quillbright again?", "answer": "No"})"}});
      EXPECT_EQ(ReadBytes(SettingsFile(8)).substr(0, 19), "Quillbright1.0\r\n1\r\n");
      continue;
    }
    // The new start-up reads the file: the module starts only because the
    // 0 was written before it, and it loads what the file keeps.
    ExpectTranscript(run.transcript, {"script", "hook", "message"},
                     {{"message", R"({"text": "Do you want to activate Quillbright again?", "answer": "Yes"})"},
                      {"script", R"({"text": "app.preferences.autoUpdateOpenDocuments =  0;\napp.preferences.fontPreviewSize =  FontPreviewType.MEDIUM;\napp.preferences.interpolation =  ResampleMethod.BICUBIC;\napp.preferences.createFirstSnapshot =  1;\napp.preferences.nonLinearHistory =  1;\nvar value =  0;\n app.preferences.useHistoryLog = value;\n if (value) {\napp.preferences.saveLogItems = SaveLogItemsType.METADATA;\n app.preferences.editLogItems = EditLogItemsType.DETAILED;\n}"})"},
                      {"script", R"({"text": "var atnFile = new File('/C/a.atn'); app.load(atnFile);"})"},
                      {"hook", R"({"op": "install", "type": "keyboard"})"},
                      {"hook", R"({"op": "install", "type": "mouse"})"},
                      {"hook", R"({"op": "remove", "type": "keyboard"})"},
                      {"hook", R"({"op": "remove", "type": "mouse"})"}});
    EXPECT_EQ(ReadBytes(SettingsFile(8)),
              "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n1\r\nC:\\a.atn\r\n");
  }
}

TEST(SettingsFile, ADamagedFileKeepsTheDefaultsFromTheFirstUnreadableNumber) {
  const Json lines = Json::parse(R"(["Quillbright1.0", 0, 1, 0, 0, 0, 0, 0, "on", 1, 0, "C:\\s.jsx", 1, "C:\\a.atn"])");
  EditorRun run = RunEditor(Scenario(8, lines));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_FALSE(HasWelcome(run)) << "the file was there: not a first run";
  // Index 6 was read as 0; 7 and on are the defaults, and so are the script
  // and the action files, which no longer stand where they are looked for.
  std::vector<Json> scripts = OfKind(run.transcript, "script");
  ASSERT_EQ(scripts.size(), 1u);
  EXPECT_NE(scripts[0].value("text", "").find("createFirstSnapshot =  0;\napp.preferences.nonLinearHistory =  0;\n"
                                               "var value =  0;"),
            std::string::npos)
      << scripts[0].dump();
  EXPECT_EQ(ReadBytes(SettingsFile(8)),
            "Quillbright1.0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(SettingsFile, EachVersionKeepsItsOwnFile) {
  // A version 11 file beside the version 8 one the run reads.
  const std::string eleven = "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n1\r\n0\r\n0\r\n0\r\n";
  Json scenario = Scenario(8, Json::parse(R"(["Quillbright1.0", 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, "0", 0])"));
  scenario["files"] = {{Narrow(SettingsFile(11)), eleven}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"script"}, {{"script", "{}"}});
  EXPECT_EQ(OfKind(run.transcript, "script")[0]["text"], PreferenceScript(1, 0)) << "version 8's own values";
  EXPECT_EQ(ReadBytes(SettingsFile(11)), eleven);
  EXPECT_EQ(ReadBytes(SettingsFile(8)),
            "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(SettingsFile, EditorsBefore6RunNoPreferenceScriptButLoadTheActionFiles) {
  const Json lines = Json::parse(R"(["Quillbright1.0", 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, "0", 1, "C:\\a.atn"])");
  EditorRun run = RunEditor(Scenario(5, lines));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"script"},
                   {{"script", R"({"text": "var atnFile = new File('/C/a.atn'); app.load(atnFile);"})"}});
  EXPECT_EQ(ReadBytes(SettingsFile(5)), "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(SettingsFile, ScriptsTheHostFailsDoNotStopTheStartOrLoseTheFile) {
  // The preference script cannot get an engine, the first action file's
  // script fails: start-up still installs everything and the file keeps
  // both action files.
  Json scenario = Scenario(8, Json::parse(R"(["Quillbright1.0", 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, "0", 2,
      "C:\\a.atn", "C:\\b.atn"])"));
  scenario["faults"] = Json::parse(R"([{"suite": "javascript", "call": "CreateEngine", "nth": 1},
                                       {"suite": "javascript", "call": "ExecuteScript", "nth": 1}])");
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"fault", "script", "message"},
                   {{"fault", R"({"suite": "javascript", "call": "CreateEngine"})"},
                    {"fault", R"({"suite": "javascript", "call": "ExecuteScript"})"},
                    {"script", R"({"text": "var atnFile = new File('/C/b.atn'); app.load(atnFile);"})"}});
  EXPECT_EQ(OfKind(run.transcript, "hook").size(), 4u);
  EXPECT_EQ(ReadBytes(SettingsFile(8)),
            "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n2\r\n"
            "C:\\a.atn\r\nC:\\b.atn\r\n");
}

// The backgrounds the module's own menu items were drawn on (read from the
// pixels), by label.
std::map<std::string, Json> ItemBackgrounds(const EditorRun& run) {
  std::set<std::string> labels;
  const std::function<void(const Json&)> collect = [&](const Json& items) {
    for (const Json& item : items) {
      if (item.value("ownerDraw", false) && !item.value("label", std::string()).empty())
        labels.insert(item["label"].get<std::string>());
      if (item.contains("items")) collect(item["items"]);
    }
  };
  for (const Json& menu : OfKind(run.transcript, "menu")) collect(menu["items"]);
  std::map<std::string, Json> backgrounds;
  for (const Json& line : OfKind(run.transcript, "paint"))
    if (line["window"] == "menu")
      for (const Json& entry : line["what"])
        if (entry.contains("text") && labels.count(entry["text"].get<std::string>()))
          backgrounds[entry["text"].get<std::string>()] = entry["background"];
  return backgrounds;
}

TEST(SettingsFile, TheColourSettingDecidesHowTheModulesItemsAreDrawn) {
  const Json steps = Json::parse(R"([{"menu": "Layer", "open": ["Layer Mask"]}, {"screenshot": "layer-mask"}])");
  const auto drawn = [&](const Json& settings) {
    Json scenario = Scenario(8, settings);
    // A layer with a mask, so that the Layer Mask submenu opens.
    scenario["documents"] = Json::parse(R"([{"title": "Harbour.psd", "layers": [
        {"name": "Background", "background": true},
        {"name": "Sky", "userMask": {"enabled": true, "linked": true}}]}])");
    scenario["steps"] = steps;
    EditorRun run = RunEditor(scenario);
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    return ItemBackgrounds(run);
  };
  const auto plain = drawn(Json::parse(R"(["Quillbright1.0", 0, 0])"));
  const auto coloured = drawn(Json::parse(R"(["Quillbright1.0", 0, 1])"));
  const auto firstRun = drawn(nullptr);
  ASSERT_GE(plain.size(), 3u) << "too few of the module's items were seen drawn";
  EXPECT_EQ(coloured, firstRun) << "a first run is drawn in colour";
  // The item under the pointer is drawn selected either way: the look of
  // the others is the one most of them share.
  const auto usual = [](const std::map<std::string, Json>& backgrounds) {
    std::map<std::string, int> counts;
    for (const auto& [label, background] : backgrounds) ++counts[background.dump()];
    return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  };
  EXPECT_NE(usual(coloured), usual(plain));
}

TEST(SettingsFile, AnEditorTheModuleRefusesGetsNoFile) {
  Json scenario = Scenario(13, nullptr);
  scenario["steps"] = kStartThenDoIt;
  scenario["answers"] = {{"messages", Json::array({"Yes"})}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_FALSE(Exists(SettingsFile(13)));
  EXPECT_TRUE(OfKind(run.transcript, "script").empty());
}

}  // namespace
}  // namespace integration
