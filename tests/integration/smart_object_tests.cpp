// Smart objects and smart filters in the editor: a layer made a smart
// object through a document of its own saved to the temporary folder, the
// user's layer kept whenever a step of that fails, the smart filters hidden,
// shown, cleared and listed in the Smart Filter submenu, and the contents
// opened, exported and replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kToggleSmartFilters = 0x882C;
constexpr int kClearSmartFilters = 0x882E;
constexpr int kConvertToSmartObject = 0x8834;
constexpr int kNewViaCopy = 0x8835;
constexpr int kEditContents = 0x8836;
constexpr int kExportContents = 0x8837;
constexpr int kReplaceContents = 0x8838;
constexpr int kFirstListedFilter = 0x8600;
constexpr int kOpenAsSmartObject = 0x8801;

const char* const kNotice =
    "The content of the smart object was opened as a new document.\n"
    "After editing it, choose File > Save to commit the changes.\n"
    "These changes can be seen after returning to the original document.\n"
    "\n"
    "The new document has to be saved at the predefined location with\n"
    "the predefined name, in order to update the smart object.\n";

Json Layered(const std::string& leafName = "Leaf") {
  return {{"title", "Photo.psd"},
          {"path", "C:\\users\\Public\\Photo.psd"},
          {"layers", {{{"name", "Background"}, {"background", true}}, {{"name", leafName}}, {{"name", "Sky"}}}},
          {"target", {1}}};
}

Json WithFilters(Json filters) {
  return {{"title", "Smart.psd"},
          {"path", "C:\\users\\Public\\Smart.psd"},
          {"layers",
           {{{"name", "Background"}, {"background", true}},
            {{"name", "Leaf"}, {"kind", "smartObject"}, {"smartFilters", std::move(filters)}}}}};
}

Json Scenario(const Json& document, Json steps, int version = 8) {
  return {{"host", {{"version", version}}}, {"documents", {document}}, {"steps", std::move(steps)}};
}

Json Choose(int id) { return {{"menu", "Layer"}, {"choose", id}}; }

std::vector<Json> States(const EditorRun& run) { return OfKind(run.transcript, "state"); }
Json LastDocuments(const EditorRun& run) { return States(run).back()["documents"]; }

std::vector<std::string> LayerNames(const Json& document) {
  std::vector<std::string> names;
  for (const Json& layer : document["layers"]) names.push_back(layer["name"].get<std::string>());
  return names;
}

std::vector<std::string> PlayedEvents(const EditorRun& run) {
  std::vector<std::string> events;
  for (const Json& line : OfKind(run.transcript, "play")) events.push_back(line["event"].get<std::string>());
  return events;
}

// The temporary file the command saved the layer to.
std::string SavedPath(const EditorRun& run) {
  for (const Json& line : OfKind(run.transcript, "play"))
    if (line["event"] == "save") return line["descriptor"][1][1]["alias"].get<std::string>();
  return {};
}

TEST(SmartObjects, ALayerAmongOthersBecomesASmartObjectInItsPlace) {
  EditorRun run = RunEditor(Scenario(Layered(), {Choose(kConvertToSmartObject), {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json documents = LastDocuments(run);
  ASSERT_EQ(documents.size(), 1u) << "the documents the command made are closed again";
  const Json& photo = documents[0];
  EXPECT_EQ(LayerNames(photo), (std::vector<std::string>{"Background", "Leaf", "Sky"}));
  const Json& made = photo["layers"][1];
  EXPECT_EQ(made["kind"], "smartObject");
  ASSERT_TRUE(made["contents"].is_array());
  ASSERT_EQ(made["contents"].size(), 1u);
  EXPECT_EQ(made["contents"][0]["name"], "Leaf");
  EXPECT_EQ(photo["layers"][2]["kind"], "pixel");
  EXPECT_EQ(photo["target"], Json::array({1}));
  EXPECT_EQ(photo["history"].back(), "Convert to Smart Object");
  const std::string saved = SavedPath(run);
  ASSERT_FALSE(saved.empty());
  EXPECT_NE(saved.find("Leaf.psd"), std::string::npos);
  EXPECT_FALSE(Exists(Widen(saved))) << "the temporary file is left: " << saved;
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["kept"], true);
}

// A document never saved, holding a single layer: the smart object is the
// only layer left, and the document is found by its title.
TEST(SmartObjects, TheOnlyLayerOfAnUnsavedDocumentBecomesItsOnlyLayer) {
  const Json single = {{"title", "Untitled-1"}, {"layers", {{{"name", "Only"}}}}};
  EditorRun run = RunEditor(Scenario(single, {Choose(kConvertToSmartObject), {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json documents = LastDocuments(run);
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(LayerNames(documents[0]), (std::vector<std::string>{"Only"}));
  EXPECT_EQ(documents[0]["layers"][0]["kind"], "smartObject");
  EXPECT_FALSE(Exists(Widen(SavedPath(run))));
}

TEST(SmartObjects, TheBackgroundBecomesALayerFirst) {
  Json document = Layered();
  document["target"] = {0};
  EditorRun run = RunEditor(Scenario(document, {Choose(kConvertToSmartObject), {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Json photo = LastDocuments(run)[0];
  ASSERT_EQ(photo["layers"].size(), 3u);
  EXPECT_EQ(photo["layers"][0]["kind"], "smartObject");
  EXPECT_EQ(photo["layers"][0]["background"], false);
}

// Whichever step fails, nothing after it is played: the user's layer is
// deleted only once its smart object is in the document, and no document
// the command did not save is closed.
struct FailingStep {
  const char* what;
  Json faults;
  std::string leafName;
  const char* lastPlayed;   // the event that failed
};

TEST(SmartObjects, AFailingStepLeavesTheUsersLayerAndClosesNothingUnsaved) {
  const FailingStep cases[] = {
      {"the new document", Json::array({{{"event", "Mk  "}}}), "Leaf", "Mk  "},
      {"a layer name that makes no file name", Json::array(), "Leaf: 1/2", "save"},
      {"the save", Json::array({{{"event", "save"}, {"error", -43}}}), "Leaf", "save"},
      {"the placing", Json::array({{{"event", "Opn "}}}), "Leaf", "Opn "},
      {"the copy into the document", Json::array({{{"event", "Dplc"}}}), "Leaf", "Dplc"},
  };
  for (const FailingStep& c : cases) {
    SCOPED_TRACE(c.what);
    Json scenario = Scenario(Layered(c.leafName), {{{"state", true}}, Choose(kConvertToSmartObject), {{"state", true}}});
    scenario["faults"] = c.faults;
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<std::string> played = PlayedEvents(run);
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(played.back(), c.lastPlayed) << "a step was played after the failure";
    for (const std::string& event : played) EXPECT_NE(event, "Dlt ") << "the user's layer was deleted";
    if (played.front() == "Cls ") ADD_FAILURE() << "a close came first";
    const std::vector<Json> ends = OfKind(run.transcript, "step-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["kept"], false);
    const Json before = States(run).front()["documents"][0];
    const Json after = LastDocuments(run)[0];
    EXPECT_EQ(after["layers"], before["layers"]);
    if (std::string(c.lastPlayed) == "Opn ") {
      EXPECT_FALSE(Exists(Widen(SavedPath(run))));
    }
  }
}

TEST(SmartFilters, TheToggleHidesShownFiltersAndShowsHiddenOnesAndClearRemovesThem) {
  const Json filters = {{{"name", "Gaussian Blur"}, {"enabled", true}}, {{"name", "Add Noise"}, {"enabled", true}}};
  Json document = WithFilters(filters);
  document["layers"][1]["filterMask"] = {{"enabled", true}};
  EditorRun run = RunEditor(Scenario(document,
                                     {Choose(kToggleSmartFilters), {{"state", true}}, Choose(kToggleSmartFilters),
                                      {{"state", true}}, Choose(kClearSmartFilters), {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = States(run);
  ASSERT_EQ(states.size(), 3u);
  for (const Json& f : states[0]["documents"][0]["layers"][1]["smartFilters"]) EXPECT_EQ(f["enabled"], false);
  for (const Json& f : states[1]["documents"][0]["layers"][1]["smartFilters"]) EXPECT_EQ(f["enabled"], true);
  EXPECT_TRUE(states[1]["documents"][0]["layers"][1]["filterMask"].is_object());
  EXPECT_TRUE(states[2]["documents"][0]["layers"][1]["smartFilters"].empty());
  EXPECT_TRUE(states[2]["documents"][0]["layers"][1]["filterMask"].is_null()) << "the filter mask outlived its filters";
  const std::vector<Json> begins = OfKind(run.transcript, "step-begin");
  ASSERT_EQ(begins.size(), 2u);
  EXPECT_EQ(begins[0]["name"], "Disable Smart Filters");
  EXPECT_EQ(begins[1]["name"], "Enable Smart Filters");
}

// Before editor 8 the toggle only hides, whatever the filters show.
TEST(SmartFilters, OnEditorSevenTheToggleAlwaysHides) {
  const Json filters = {{{"name", "Blur"}, {"enabled", false}}};
  EditorRun run = RunEditor(Scenario(WithFilters(filters), {Choose(kToggleSmartFilters), {{"state", true}}}, 7));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  // The steps of the command, not the host's probing of the filters.
  std::vector<std::string> steps;
  for (const Json& begin : OfKind(run.transcript, "step-begin"))
    if (begin["name"].get<std::string>().find("Smart Filters") != std::string::npos) steps.push_back(begin["name"]);
  EXPECT_EQ(steps, (std::vector<std::string>{"Disable Smart Filters"}));
  EXPECT_EQ(LastDocuments(run)[0]["layers"][1]["smartFilters"][0]["enabled"], false);
}

// The listed items of the Smart Filter submenu, as the last menu showed them.
std::vector<std::string> ListedFilters(const EditorRun& run) {
  std::vector<std::string> labels;
  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  if (menus.empty()) return labels;
  std::vector<const Json*> pending = {&menus.back()["items"]};
  while (!pending.empty()) {
    const Json* items = pending.back();
    pending.pop_back();
    for (const Json& item : *items) {
      if (item.contains("items")) pending.push_back(&item["items"]);
      const int id = item.value("id", 0);
      if (id >= kFirstListedFilter && id < kFirstListedFilter + 256)
        labels.push_back(std::to_string(id - kFirstListedFilter) + " " + item.value("label", ""));
    }
  }
  return labels;
}

TEST(SmartFilters, TheSubmenuListsTheFiltersFromEditorEight) {
  const Json filters = {{{"name", "Gaussian Blur"}, {"enabled", true}}, {{"enabled", true}}, {{"name", "Add Noise"}}};
  {
    EditorRun run = RunEditor(Scenario(WithFilters(filters), {{{"menu", "Layer"}}, {{"menu", "Layer"}}}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    std::vector<std::string> listed = ListedFilters(run);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"0 Gaussian Blur", "1 Unknown Filter", "2 Add Noise"}))
        << "opened twice, listed once";
  }
  {
    EditorRun run = RunEditor(Scenario(WithFilters(filters), {{{"menu", "Layer"}}}, 7));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    EXPECT_TRUE(ListedFilters(run).empty());
  }
  {
    // The filter goes once a step drops it.
    EditorRun run = RunEditor(Scenario(WithFilters(filters), {{{"menu", "Layer"}}, Choose(kClearSmartFilters), {{"menu", "Layer"}}}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    EXPECT_TRUE(ListedFilters(run).empty());
  }
}

TEST(SmartFilters, AListedFilterOpensItsDialogAndThenItsBlendingOptions) {
  const Json filters = {{{"name", "Gaussian Blur"}}, {{"name", "Add Noise"}}};
  Json scenario = Scenario(WithFilters(filters), {{{"menu", "Layer"}}, Choose(kFirstListedFilter + 1), {{"state", true}}});
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"setd","mode":1,"descriptor":[["null",{"ref":[{"class":"filterFX","index":2},{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["filterFX",{"object":"filterFX","items":[]}]]})"},
                    {"play", R"({"event":"setd","mode":1,"result":0})"}});
  const Json edited = LastDocuments(run)[0]["layers"][1]["smartFilters"][1];
  EXPECT_EQ(edited["edits"], 1);
  EXPECT_EQ(edited["blendingEdits"], 1);

  // Cancelled, the filter's dialog leaves its blending options alone.
  scenario["answers"] = {{"hostDialogs", {{"setd", "cancel"}}}};
  EditorRun cancelled = RunEditor(scenario);
  ASSERT_EQ(cancelled.exitCode, 0) << cancelled.errorText;
  EXPECT_EQ(OfKind(cancelled.transcript, "play").size(), 1u);
}

// ---- The Edit Smart Filters dialog ----

constexpr int kEditSmartFilters = 0x882B;
constexpr int kFilterList = 1020, kEditButton = 1092, kBlendingButton = 1093, kDisableButton = 1094,
              kEnableButton = 1095, kDeleteButton = 1096, kOkButton = 1090, kCancelButton = 1091;

Json InDialog(const Json& document, const Json& actions, int version) {
  return Scenario(document, {{{"dialog", actions}}, Choose(kEditSmartFilters), {{"state", true}}}, version);
}

// The smart-filter events the dialog's step played, each as its event, the
// index of the filter it names and, for the blending options, "blending".
// What the module plays in steps of its own within (editor 7 counts the
// filters by showing them in a step the host drops) is left out.
std::vector<std::string> FilterEvents(const std::vector<Json>& lines) {
  std::vector<std::string> events;
  std::vector<std::string> steps;
  for (const Json& line : lines) {
    if (line["kind"] == "step-begin") steps.push_back(line.value("name", ""));
    if (line["kind"] == "step-end" && !steps.empty()) steps.pop_back();
    if (steps.empty() || steps.back() != "Edit Smart Filters...") continue;
    if (line["kind"] != "play" || !line.contains("descriptor")) continue;
    for (const Json& entry : line["descriptor"]) {
      if (entry[0] != "null" || !entry[1].contains("ref")) continue;
      const Json& part = entry[1]["ref"][0];
      if (part.value("class", "") != "filterFX" || !part.contains("index")) continue;
      std::string event = line["event"].get<std::string>();
      event.erase(event.find_last_not_of(' ') + 1);
      event.append(1, ' ').append(std::to_string(part["index"].get<int>()));
      if (line["descriptor"].dump().find("blendOptions") != std::string::npos) event.append(" blending");
      events.push_back(event);
    }
  }
  return events;
}

std::vector<std::string> FilterNames(const Json& document) {
  std::vector<std::string> names;
  for (const Json& filter : document["layers"][1]["smartFilters"]) names.push_back(filter.value("name", "?"));
  return names;
}

TEST(SmartFilterDialog, FromEditorEightTheListShowsEachFiltersStateAndOneButtonTogglesIt) {
  const Json filters = {{{"name", "Gaussian Blur"}, {"enabled", true}},
                        {{"enabled", false}},
                        {{"name", "Add Noise"}, {"enabled", true}}};
  const Json actions = {{{"capture", true}},
                        {{"pick", kFilterList}, {"index", 1}},
                        {{"press", kDisableButton}},
                        {{"capture", true}},
                        {{"press", kDeleteButton}},
                        {{"capture", true}},
                        {{"press", kOkButton}}};
  EditorRun run = RunEditor(InDialog(WithFilters(filters), actions, 8));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(dialogs[0]["title"], "Edit Smart Filters");
  // The top filter first; a filter the host cannot name is listed all the same.
  EXPECT_EQ(ControlIn(dialogs[0], kFilterList)["items"],
            Json({"+ Add Noise", "- Unknown Filter", "+ Gaussian Blur"}));
  EXPECT_EQ(ControlIn(dialogs[0], kFilterList)["value"], 0);
  EXPECT_EQ(ControlIn(dialogs[0], kEditButton)["text"], "Edit");
  EXPECT_EQ(ControlIn(dialogs[0], kBlendingButton)["text"], "Blending");
  EXPECT_EQ(ControlIn(dialogs[0], kDisableButton)["text"], "En-/Disable");
  EXPECT_EQ(ControlIn(dialogs[0], kDeleteButton)["text"], "Delete");
  EXPECT_EQ(ControlIn(dialogs[0], kEnableButton)["visible"], false);
  EXPECT_EQ(ControlIn(dialogs[0], kDeleteButton)["visible"], true);
  EXPECT_EQ(ControlIn(dialogs[0], kDeleteButton)["rect"], ControlIn(dialogs[0], kEnableButton)["rect"])
      << "Delete takes the place of the second button";
  // Shown now, and still the chosen row.
  EXPECT_EQ(ControlIn(dialogs[1], kFilterList)["items"],
            Json({"+ Add Noise", "+ Unknown Filter", "+ Gaussian Blur"}));
  EXPECT_EQ(ControlIn(dialogs[1], kFilterList)["value"], 1);
  EXPECT_EQ(ControlIn(dialogs[2], kFilterList)["items"], Json({"+ Add Noise", "+ Gaussian Blur"}));
  EXPECT_EQ(ControlIn(dialogs[2], kFilterList)["value"], 1);

  EXPECT_EQ(FilterEvents(run.transcript), (std::vector<std::string>{"Shw 2", "Dlt 2"}));
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["kept"], true);
  EXPECT_EQ(OfKind(run.transcript, "step-begin")[0]["name"], "Edit Smart Filters...");
  EXPECT_EQ(FilterNames(LastDocuments(run)[0]), (std::vector<std::string>{"Gaussian Blur", "Add Noise"}));
}

TEST(SmartFilterDialog, OnEditorSevenTheRowsAreNumberedFromTheTopAndTheTopRowIsTheLastFilter) {
  const Json filters = {{{"name", "Gaussian Blur"}}, {{"name", "Add Noise"}}, {{"name", "Twirl"}}};
  const Json actions = {{{"capture", true}},        {{"press", kDisableButton}}, {{"press", kEnableButton}},
                        {{"press", kDeleteButton}}, {{"capture", true}},         {{"press", kCancelButton}}};
  EditorRun run = RunEditor(InDialog(WithFilters(filters), actions, 7));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(ControlIn(dialogs[0], kFilterList)["items"], Json({"Filter 1", "Filter 2", "Filter 3"}));
  EXPECT_EQ(ControlIn(dialogs[0], kEnableButton)["visible"], true);
  EXPECT_NE(ControlIn(dialogs[0], kDeleteButton)["rect"], ControlIn(dialogs[0], kEnableButton)["rect"]);
  EXPECT_EQ(ControlIn(dialogs[1], kFilterList)["items"], Json({"Filter 1", "Filter 2"}));
  // Hide, show and delete each work on the top row: the filter of index 3.
  EXPECT_EQ(FilterEvents(run.transcript), (std::vector<std::string>{"Hd 3", "Shw 3", "Dlt 3"}));
  // Cancelled: the host drops the step, and the filters are as they were.
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_FALSE(ends.empty());
  EXPECT_EQ(ends.back()["kept"], false);
  EXPECT_EQ(FilterNames(LastDocuments(run)[0]), (std::vector<std::string>{"Gaussian Blur", "Add Noise", "Twirl"}));
}

TEST(SmartFilterDialog, EditBlendingAndADoubleClickOpenTheHostsDialogsOfTheChosenFilter) {
  const Json filters = {{{"name", "Gaussian Blur"}}, {{"name", "Add Noise"}}};
  const Json actions = {{{"pick", kFilterList}, {"index", 1}, {"double", true}},
                        {{"press", kEditButton}},
                        {{"press", kBlendingButton}},
                        {{"pick", kFilterList}, {"index", 0}},
                        {{"press", kBlendingButton}},
                        {{"press", kOkButton}}};
  EditorRun run = RunEditor(InDialog(WithFilters(filters), actions, 8));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_EQ(FilterEvents(run.transcript),
            (std::vector<std::string>{"setd 1", "setd 1", "setd 1 blending", "setd 2 blending"}));
  for (const Json& play : OfKind(run.transcript, "play"))
    if (play["event"] == "setd") {
      EXPECT_EQ(play["mode"], 1) << "the host shows its dialog";
    }
  const Json document = LastDocuments(run)[0];
  EXPECT_EQ(document["layers"][1]["smartFilters"][0]["edits"], 2);
  EXPECT_EQ(document["layers"][1]["smartFilters"][0]["blendingEdits"], 1);
  EXPECT_EQ(document["layers"][1]["smartFilters"][1]["blendingEdits"], 1);
}

TEST(SmartFilterDialog, WithNoFilterLeftTheButtonsDoNothing) {
  const Json filters = {{{"name", "Gaussian Blur"}}};
  const Json actions = {{{"press", kDeleteButton}}, {{"capture", true}},       {{"press", kEditButton}},
                        {{"press", kBlendingButton}}, {{"press", kDisableButton}}, {{"press", kDeleteButton}},
                        {{"press", kOkButton}}};
  EditorRun run = RunEditor(InDialog(WithFilters(filters), actions, 10));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(ControlIn(dialogs[0], kFilterList)["items"], Json::array());
  EXPECT_EQ(FilterEvents(run.transcript), (std::vector<std::string>{"Dlt 1"}));
  EXPECT_TRUE(LastDocuments(run)[0]["layers"][1]["smartFilters"].empty());
}

TEST(SmartFilterDialog, OkWithNothingDoneLeavesNoEmptyStep) {
  const Json document = WithFilters({{{"name", "Gaussian Blur"}}});
  EditorRun run = RunEditor(InDialog(document, {{{"press", kOkButton}}}, 8));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["kept"], false);
  EXPECT_EQ(LastDocuments(run)[0]["history"], Json({"Open"}));
}

TEST(SmartObjects, EditContentsTellsHowToCommitOnceAndSavesTheContents) {
  for (const bool german : {false, true}) {
    SCOPED_TRACE(german ? "German" : "English");
    const Json document = WithFilters(Json::array());
    Json scenario = Scenario(document, {Choose(kEditContents),
                                        {{"edit", {{"openDocument", document}}}},
                                        Choose(kEditContents),
                                        {{"state", true}}});
    if (german) scenario["host"]["german"] = true;
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    std::vector<Json> notices;
    for (const Json& m : OfKind(run.transcript, "message"))
      if (m["text"].get<std::string>().find(german ? "Smartobjekts" : "smart object was opened") != std::string::npos)
        notices.push_back(m);
    ASSERT_EQ(notices.size(), 1u);
    if (!german) {
      EXPECT_EQ(notices[0]["text"], kNotice);
    }
    EXPECT_EQ(notices[0]["title"], "Quillbright");
    int saves = 0;
    for (const Json& line : OfKind(run.transcript, "play"))
      if (line["event"] == "save") {
        ++saves;
        EXPECT_EQ(line["descriptor"][0][1]["object"], "Pht3");
        EXPECT_NE(line["descriptor"][1][1]["alias"].get<std::string>().find("Leaf.psb"), std::string::npos);
        EXPECT_EQ(line["result"], 0);
      }
    EXPECT_EQ(saves, 2);
  }
}

TEST(SmartObjects, ContentsAreExportedToTheChosenFileAndReplacedFromOne) {
  const std::string file = "C:\\users\\Public\\Exported leaf.psd";
  DeleteFileW(Widen(file).c_str());
  Json document = WithFilters(Json::array());
  document["layers"][1]["contents"] = {{{"name", "Inner"}}};
  document["layers"].push_back({{"name", "Other"}, {"kind", "smartObject"}});
  // The lower smart object exported, then copied.
  document["target"] = {1};
  Json scenario = Scenario(document, {Choose(kExportContents), Choose(kNewViaCopy), {{"state", true}}});
  scenario["answers"] = {{"files", {file}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(Exists(Widen(file)));
  const Json copied = LastDocuments(run)[0];
  EXPECT_EQ(LayerNames(copied), (std::vector<std::string>{"Background", "Leaf", "Leaf copy", "Other"}));

  Json replacing = WithFilters(Json::array());
  replacing["layers"][1]["name"] = "Old";
  Json replace = Scenario(replacing, {Choose(kReplaceContents), {{"state", true}}});
  replace["answers"] = {{"files", {file}}};
  EditorRun replaced = RunEditor(replace);
  ASSERT_EQ(replaced.exitCode, 0) << replaced.errorText;
  const Json layer = LastDocuments(replaced)[0]["layers"][1];
  EXPECT_EQ(layer["name"], "Exported leaf");
  ASSERT_EQ(layer["contents"].size(), 1u);
  EXPECT_EQ(layer["contents"][0]["name"], "Inner");
  DeleteFileW(Widen(file).c_str());

  // No file chosen: nothing is replaced.
  Json cancel = Scenario(replacing, {Choose(kReplaceContents), {{"state", true}}});
  EditorRun cancelled = RunEditor(cancel);
  ASSERT_EQ(cancelled.exitCode, 0) << cancelled.errorText;
  EXPECT_EQ(LastDocuments(cancelled)[0]["layers"][1]["name"], "Old");
}

// Editor 5 has no smart-object flag on its Open event: the file the user
// picks in the host's Open dialog is opened, and its layers then become one
// smart object.
TEST(SmartObjects, OnEditorFiveOpenAsSmartObjectOpensThePickedFileAndConvertsItsLayers) {
  const std::string file = "C:\\users\\Public\\Picked.psd";
  DeleteFileW(Widen(file).c_str());
  Json exporting = WithFilters(Json::array());
  exporting["layers"][1]["contents"] = {{{"name", "Inner"}}, {{"name", "Outer"}}};
  exporting["target"] = {1};
  Json write = Scenario(exporting, {Choose(kExportContents)});
  write["answers"] = {{"files", {file}}};
  EditorRun written = RunEditor(write);
  ASSERT_EQ(written.exitCode, 0) << written.errorText;
  ASSERT_TRUE(Exists(Widen(file)));

  const Json open = {{"menu", "File"}, {"choose", kOpenAsSmartObject}};
  Json scenario = Scenario(Layered(), {open, {{"state", true}}}, 5);
  scenario["answers"] = {{"files", {file}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<std::string> played = PlayedEvents(run);
  ASSERT_FALSE(played.empty());
  EXPECT_EQ(played[0], "Opn ");
  EXPECT_EQ(OfKind(run.transcript, "play")[0]["mode"], 1) << "the host's Open dialog was not asked for";
  const Json documents = LastDocuments(run);
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(LayerNames(documents[0]), LayerNames(Layered()));
  EXPECT_EQ(documents[1]["title"], "Picked.psd");
  ASSERT_EQ(documents[1]["layers"].size(), 1u) << documents[1]["layers"].dump();
  EXPECT_EQ(documents[1]["layers"][0]["kind"], "smartObject");
  EXPECT_EQ(documents[1]["layers"][0]["name"], "Outer");
  EXPECT_EQ(LayerNames(Json{{"layers", documents[1]["layers"][0]["contents"]}}), (std::vector<std::string>{"Inner", "Outer"}));
  DeleteFileW(Widen(file).c_str());

  // The Open dialog cancelled: nothing opened, nothing converted.
  EditorRun cancelled = RunEditor(Scenario(Layered(), {open, {{"state", true}}}, 5));
  ASSERT_EQ(cancelled.exitCode, 0) << cancelled.errorText;
  EXPECT_EQ(PlayedEvents(cancelled), std::vector<std::string>{"Opn "});
  EXPECT_EQ(LastDocuments(cancelled).size(), 1u);
  EXPECT_TRUE(OfKind(cancelled.transcript, "step-begin").empty());
}

}  // namespace
}  // namespace integration
