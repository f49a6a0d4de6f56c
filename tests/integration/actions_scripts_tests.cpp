// The Actions and Scripts submenus of the File menu, as the user opens them:
// what they list, what their items run, and the commands beside them (Load
// Actions, Clear All Actions); and the script bridge behind them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "action_file_fixture.h"
#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kScriptsParent = 0x8802;
constexpr int kBrowseScripts = 0x8803;
constexpr int kActionsParent = 0x8804;
constexpr int kLoadActions = 0x8805;
constexpr int kClearActions = 0x8806;
constexpr int kFirstScript = 0x8700;
constexpr int kFirstAction = 0x8900;

std::string Narrow(const std::wstring& wide) {
  std::string narrow;
  for (const wchar_t c : wide) narrow += char(c);
  return narrow;
}

// The host's own scripts folder as the plug-in sees it.
std::string HostScriptsFolder() { return Narrow(HostFolder()) + "\\Presets\\Scripts\\"; }

// One item of a recorded submenu: its identifier, or 0 for a separator, and
// its label.
struct Item {
  int id;
  std::string label;
  bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* out) { *out << "{" << std::hex << item.id << ", \"" << item.label << "\"}"; }

// The items of the submenu under `parent` in the n-th recorded File menu.
std::vector<Item> SubmenuItems(const std::vector<Json>& transcript, int parent, std::size_t nth = 0) {
  std::vector<Item> items;
  std::size_t seen = 0;
  for (const Json& line : OfKind(transcript, "menu")) {
    if (line.value("menu", "") != "File") continue;
    if (seen++ != nth) continue;
    for (const Json& item : line["items"]) {
      if (item.value("id", 0) != parent || !item.contains("items")) continue;
      for (const Json& sub : item["items"])
        items.push_back({sub.value("separator", false) ? 0 : sub.value("id", 0), sub.value("label", "")});
    }
  }
  return items;
}

Json OpenFile(const char* submenu) { return {{"menu", "File"}, {"open", {submenu}}}; }

// The labels of a folder's items, in the order the file system lists them:
// sorted for the comparison; each must have its own identifier.
std::vector<std::string> SortedLabels(const std::vector<Item>& items, std::size_t from) {
  std::vector<std::string> labels;
  for (std::size_t i = from; i < items.size(); ++i) labels.push_back(items[i].label);
  std::sort(labels.begin(), labels.end());
  return labels;
}

TEST(ScriptsSubmenu, ListsTheHostsScriptsAndRunsTheChosenFile) {
  const Json scenario = {
      {"host", {{"version", 9}, {"scripts", {"Alpha.jsx", "Beta.js", "notes.js.txt", "readme.txt"}}}},
      {"steps",
       {OpenFile("Scripts"),
        {{"menu", "File"}, {"choose", {"Scripts", "notes.js"}}},
        {{"menu", "File"}, {"choose", {"Scripts", "Alpha"}}},
        {{"command", kFirstScript + 3}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  // A text file whose name merely holds ".js" is listed, by its name up to
  // its last full stop; a plain text file is not.
  const std::vector<Item> items = SubmenuItems(run.transcript, kScriptsParent);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], (Item{kBrowseScripts, "Browse..."}));
  EXPECT_EQ(items[1], (Item{0, ""}));
  EXPECT_EQ(SortedLabels(items, 2), (std::vector<std::string>{"Alpha", "Beta", "notes.js"}));
  for (std::size_t i = 2; i < items.size(); ++i) EXPECT_EQ(items[i].id, kFirstScript + int(i) - 2);
  // Each item runs its own file; an identifier past the list runs nothing.
  ExpectTranscript(run.transcript, {"script"},
                   {{"script", R"({"text":"// notes.js.txt\r\nalert(\"notes.js.txt\");\r\n"})"},
                    {"script", R"({"text":"// Alpha.jsx\r\nalert(\"Alpha.jsx\");\r\n"})"}});
}

TEST(ScriptsSubmenu, AHostScriptsAlertShowsItsMessageBoxAndNoError) {
  const Json scenario = {{"host", {{"version", 9}, {"scripts", {"Tidy.jsx"}}}},
                         {"steps", {OpenFile("Scripts"), {{"menu", "File"}, {"choose", {"Scripts", "Tidy"}}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"message", "script", "error"},
                   {{"message", R"({"icon":"information"})"},   // the welcome
                    {"message", R"({"title":"Script Alert","text":"Tidy.jsx","buttons":"OK","owner":"main","answer":"OK"})"},
                    {"script", R"({"text":"// Tidy.jsx\r\nalert(\"Tidy.jsx\");\r\n","result":0})"}});
}

TEST(ScriptsSubmenu, ImageProcessorIsHiddenInVersionEightAndTheNextScriptRunsItsOwnFile) {
  // Image Processor alone in the folder last used, listed before the host's
  // folder: the host's script comes after it in the list.
  const std::string kit = "C:\\Users\\Public\\Kit\\Image Processor.jsx";
  for (const int version : {8, 9}) {
    const Json scenario = {{"host", {{"version", version}, {"scripts", {"Beta.jsx"}}}},
                           {"files", {{kit, "// processor"}}},
                           {"answers", {{"files", {kit}}}},
                           {"steps",
                            {{{"command", kBrowseScripts}},
                             OpenFile("Scripts"),
                             {{"menu", "File"}, {"choose", {"Scripts", "Beta"}}}}}};
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    std::vector<Item> expected = {{kBrowseScripts, "Browse..."}, {0, ""}};
    if (version != 8) expected.push_back({kFirstScript, "Image Processor"});
    expected.push_back({0, ""});
    expected.push_back({kFirstScript + 1, "Beta"});
    EXPECT_EQ(SubmenuItems(run.transcript, kScriptsParent), expected) << "version " << version;
    ExpectTranscript(run.transcript, {"script"},
                     {{"script", R"({"text":"// processor"})"},
                      {"script", R"({"text":"// Beta.jsx\r\nalert(\"Beta.jsx\");\r\n"})"}});
  }
}

TEST(ScriptsSubmenu, TheLastFolderUsedComesFirstAndTheHostsFolderIsListedOnce) {
  const std::string own = "C:\\Users\\Public\\My Scripts\\Mine.jsx";
  const Json scenario = {
      {"host", {{"version", 8}, {"scripts", {"Alpha.jsx"}}}},
      {"files", {{own, "// mine"}}},
      {"answers", {{"files", {own, HostScriptsFolder() + "Alpha.jsx"}}}},
      {"steps",
       {{{"command", kBrowseScripts}}, OpenFile("Scripts"), {{"command", kBrowseScripts}}, OpenFile("Scripts")}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Item> afterOwn = {{kBrowseScripts, "Browse..."}, {0, ""}, {kFirstScript, "Mine"},
                                      {0, ""}, {kFirstScript + 1, "Alpha"}};
  EXPECT_EQ(SubmenuItems(run.transcript, kScriptsParent, 0), afterOwn);
  const std::vector<Item> afterHosts = {{kBrowseScripts, "Browse..."}, {0, ""}, {kFirstScript, "Alpha"}};
  EXPECT_EQ(SubmenuItems(run.transcript, kScriptsParent, 1), afterHosts);
}

Json TwoSetsOfThree() {
  return Json::array({{{"name", "Photo Effects"}, {"actions", {"Sepia", "Vignette", "Old Photo"}}},
                      {{"name", "Frames"}, {"actions", {"Drop Shadow", "Wood", "Brushed"}}}});
}

TEST(ActionsSubmenu, WithoutActionsHoldsOnlyItsTwoCommands) {
  const Json scenario = {{"host", {{"version", 8}}}, {"steps", {OpenFile("Actions"), OpenFile("Actions")}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Item> expected = {{kLoadActions, "Load Actions..."}, {0, ""}, {kClearActions, "Clear All Actions"}};
  EXPECT_EQ(SubmenuItems(run.transcript, kActionsParent, 0), expected);
  EXPECT_EQ(SubmenuItems(run.transcript, kActionsParent, 1), expected) << "opened again, nothing is doubled";
}

TEST(ActionsSubmenu, TwoSetsOfThreeGiveSixItemsInTwoGroupsAndAnItemPlaysItsAction) {
  const Json scenario = {{"host", {{"version", 9}}},
                         {"actionSets", TwoSetsOfThree()},
                         {"steps",
                          {OpenFile("Actions"), OpenFile("Actions"),
                           {{"menu", "File"}, {"choose", {"Actions", "Wood"}}},
                           {{"command", kFirstAction + 6}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Item> expected = {
      {kLoadActions, "Load Actions..."}, {0, ""}, {kClearActions, "Clear All Actions"}, {0, ""},
      {kFirstAction, "Sepia"}, {kFirstAction + 1, "Vignette"}, {kFirstAction + 2, "Old Photo"}, {0, ""},
      {kFirstAction + 3, "Drop Shadow"}, {kFirstAction + 4, "Wood"}, {kFirstAction + 5, "Brushed"}};
  EXPECT_EQ(SubmenuItems(run.transcript, kActionsParent, 0), expected);
  EXPECT_EQ(SubmenuItems(run.transcript, kActionsParent, 1), expected) << "opened again, nothing is doubled";
  // The item plays its action by name inside its set; past the list, nothing.
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"Ply ","descriptor":[["null",{"ref":[{"class":"Actn","name":"Wood"},)"
                             R"({"class":"ASet","name":"Frames"}]}]],"mode":2,"result":0})"}});
}

TEST(ClearAllActions, AsksFirstAndDeletesEachSetWithActionsOnce) {
  const Json sets = Json::array({{{"name", "Photo Effects"}, {"actions", {"Sepia", "Vignette"}}},
                                 {{"name", "Empty"}, {"actions", Json::array()}},
                                 {{"name", "Frames"}, {"actions", {"Wood"}}}});
  const Json scenario = {{"host", {{"version", 8}}},
                         {"actionSets", sets},
                         {"answers", {{"messages", {"OK", "Cancel", "OK"}}}},  // the first: the welcome
                         {"steps", {{{"command", kClearActions}}, {{"state", true}},
                                    {{"command", kClearActions}}, {{"state", true}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const char* question =
      R"({"title":"Quillbright","text":"Delete all Actions?","buttons":"OKCANCEL","icon":"warning","owner":"main")";
  ExpectTranscript(
      run.transcript, {"message", "play", "state"},
      {{"message", R"({"icon":"information"})"},
       {"message", (std::string(question) + R"(,"answer":"Cancel"})").c_str()},
       {"state", R"({"actionSets":[{"name":"Photo Effects","actions":["Sepia","Vignette"]},)"
                  R"({"name":"Empty","actions":[]},{"name":"Frames","actions":["Wood"]}]})"},
       {"message", (std::string(question) + R"(,"answer":"OK"})").c_str()},
       {"play", R"({"event":"Dlt ","descriptor":[["null",{"ref":[{"class":"ASet","name":"Photo Effects"}]}]],"result":0})"},
       {"play", R"({"event":"Dlt ","descriptor":[["null",{"ref":[{"class":"ASet","name":"Frames"}]}]],"result":0})"},
       {"state", R"({"actionSets":[{"name":"Empty","actions":[]}]})"}});
}

TEST(LoadActions, APathWithSingleQuotesLoadsAndACancelLoadsNothing) {
  const std::string path = "C:\\Users\\Public\\O'Brien's\\Frames.atn";
  const Json scenario = {{"host", {{"version", 8}}},
                         {"files", {{path, kActionFileHex}}},
                         {"answers", {{"files", {path, nullptr}}}},
                         {"steps", {{{"command", kLoadActions}}, {{"state", true}}, {{"command", kLoadActions}},
                                    {{"state", true}}, OpenFile("Actions")}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"file", "script", "message"},
                   {{"message", R"({"icon":"information"})"},   // the welcome
                    {"file", R"({"title":"Load Actions...","answer":"C:\\Users\\Public\\O'Brien's\\Frames.atn"})"},
                    {"script", R"({"text":"var atnFile = new File('/C/Users/Public/O\\'Brien\\'s/Frames.atn'); app.load(atnFile);","result":0})"},
                    {"file", R"({"title":"Load Actions...","answer":null})"}});
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 2u);
  for (const Json& state : states) {
    ASSERT_EQ(state["actionSets"].size(), 1u) << "loaded once: " << state["actionSets"].dump();
    EXPECT_EQ(state["actionSets"][0]["name"], "Quillbright");
    EXPECT_EQ(state["actionSets"][0]["actions"], Json::parse(R"(["UIActivate"])"));
  }
  const std::vector<Item> expected = {{kLoadActions, "Load Actions..."}, {0, ""}, {kClearActions, "Clear All Actions"},
                                      {0, ""}, {kFirstAction, "UIActivate"}};
  EXPECT_EQ(SubmenuItems(run.transcript, kActionsParent), expected);
}

TEST(ScriptErrors, ABrowsedScriptShowsTheEnginesErrorAndALoadingScriptShowsNothing) {
  const std::string script = "C:\\Users\\Public\\Broken.jsx";
  const std::string actions = "C:\\Users\\Public\\Broken.atn";
  const Json scenario = {{"host", {{"version", 9}}},
                         {"files", {{script, "var x = ;"}, {actions, "not an action file"}}},
                         {"answers", {{"files", {script, actions}}}},
                         {"steps", {{{"command", kBrowseScripts}}, {{"command", kLoadActions}}, {{"state", true}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> scripts = OfKind(run.transcript, "script");
  ASSERT_EQ(scripts.size(), 2u);
  EXPECT_NE(scripts[0].value("result", 0), 0);
  EXPECT_NE(scripts[1].value("result", 0), 0) << "the host could not read the action file";
  const std::string engineText = scripts[0].value("message", "");
  EXPECT_EQ(engineText.rfind("SyntaxError", 0), 0u) << engineText;
  const std::vector<Json> messages = OfKind(run.transcript, "message");
  ASSERT_EQ(messages.size(), 2u) << "the welcome and the script's error; nothing for the action file";
  EXPECT_EQ(messages[1]["title"], "JavaScript Error");
  EXPECT_EQ(messages[1]["text"], engineText);
  EXPECT_EQ(messages[1]["buttons"], "OK");
  EXPECT_EQ(messages[1]["owner"], "main");
  EXPECT_TRUE(OfKind(run.transcript, "state").back()["actionSets"].empty());
}

// A script path of the engine ("/C/x/y") as the Windows path it names.
std::wstring WindowsPath(const std::string& scriptPath) {
  std::string path = scriptPath;
  if (path.size() >= 3 && path[0] == '/' && path[2] == '/') path = std::string(1, path[1]) + ":" + path.substr(2);
  for (char& c : path)
    if (c == '/') c = '\\';
  return Widen(path);
}

TEST(ScriptingUi, EditorElevenWakesItOnceWithTwoTemporaryFilesThatGoAgain) {
  const Json scenario = {{"host", {{"version", 11}, {"scripts", {"Tidy.jsx"}}}},
                         {"steps",
                          {OpenFile("Scripts"), {{"command", kFirstScript}}, {{"command", kFirstScript}},
                           {{"state", true}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> scripts = OfKind(run.transcript, "script");
  ASSERT_EQ(scripts.size(), 3u) << "the waking script, then the user's script twice";
  const std::string waking = scripts[0].value("text", "");
  const std::string prefix = "var atnFile = new File('";
  const std::string suffix = "'); app.load(atnFile); app.doAction('UIActivate','Quillbright');";
  ASSERT_EQ(waking.rfind(prefix, 0), 0u) << waking;
  ASSERT_TRUE(waking.ends_with(suffix)) << waking;
  EXPECT_EQ(scripts[0].value("result", -1), 0) << scripts[0].dump();
  const std::string atn = waking.substr(prefix.size(), waking.size() - prefix.size() - suffix.size());
  EXPECT_TRUE(atn.ends_with("/Quillbright.atn")) << atn;
  EXPECT_EQ(scripts[1]["text"], scripts[2]["text"]);
  // The host read the action file and ran its step, the generated script.
  const std::vector<Json> actions = OfKind(run.transcript, "action");
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0]["set"], "Quillbright");
  EXPECT_EQ(actions[0]["name"], "UIActivate");
  ASSERT_EQ(actions[0]["scripts"].size(), 1u);
  const std::string jsx = actions[0]["scripts"][0];
  EXPECT_TRUE(jsx.ends_with("\\UIActivate.jsx")) << jsx;
  // The set is deleted again, and both files are gone.
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"Dlt ","descriptor":[["null",{"ref":[{"class":"ASet","name":"Quillbright"}]}]],"result":0})"}});
  EXPECT_TRUE(OfKind(run.transcript, "state").back()["actionSets"].empty());
  EXPECT_FALSE(Exists(WindowsPath(atn)));
  EXPECT_FALSE(Exists(Widen(jsx)));
}

TEST(ScriptingUi, OtherEditorsWriteNoTemporaryFile) {
  for (const int version : {8, 12}) {
    const Json scenario = {{"host", {{"version", version}, {"scripts", {"Tidy.jsx"}}}},
                           {"steps", {OpenFile("Scripts"), {{"command", kFirstScript}}}}};
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> scripts = OfKind(run.transcript, "script");
    ASSERT_EQ(scripts.size(), 1u) << "version " << version;
    EXPECT_EQ(scripts[0]["text"], "// Tidy.jsx\r\nalert(\"Tidy.jsx\");\r\n");
    EXPECT_TRUE(OfKind(run.transcript, "action").empty());
    EXPECT_TRUE(OfKind(run.transcript, "play").empty());
  }
}

}  // namespace
}  // namespace integration
