// Layer groups end to end: grouping, ungrouping with the group's properties
// and mask kept for the next grouping, the questions in English and German,
// Hide Layers and Show Layers, and ungroups that must stop halfway.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kGroupLayers = 0x884B;
constexpr int kUngroupLayers = 0x884C;
constexpr int kHideLayers = 0x884D;
constexpr const char* kMarker = "584AMDG2df5365adfds09";

const char* const kRestoreQuestion =
    "Do you want to restore the properties of the old layer group\n'Harbour'?\n\n"
    "(Warning: Clicking No discards these properties.)";
const char* const kUngroupQuestion =
    "Ungrouping deletes the properties and mask of the\nlayer group. Do you want to save them for restoring\n"
    "them again later?";

Json Pixel(const char* name) { return {{"name", name}}; }
Json GroupEnd() { return {{"name", "</Layer group>"}, {"kind", "groupEnd"}}; }
Json Group(const char* name, bool masked, const char* blendMode = "passThrough", int opacity = 255) {
  Json group = {{"name", name}, {"kind", "groupStart"}, {"blendMode", blendMode}, {"opacity", opacity}};
  if (masked) group["userMask"] = {{"enabled", true}, {"linked", true}};
  return group;
}

// Sea, then the group Harbour holding Boat and Sail, then Sky; the group
// targeted. Multiply at 50 % (128 of 255).
Json HarbourDocument(bool masked) {
  return {{"title", "Harbour.psd"},
          {"layers",
           {{{"name", "Background"}, {"background", true}}, Pixel("Sea"), GroupEnd(), Pixel("Boat"), Pixel("Sail"),
            Group("Harbour", masked, "Mltp", 128), Pixel("Sky")}},
          {"target", {5}}};
}

// The first answer is the welcome note's.
Json Scenario(Json document, Json steps, std::vector<std::string> answers = {}, Json host = {{"version", 8}}) {
  Json messages = Json::array({"OK"});
  for (const std::string& a : answers) messages.push_back(a);
  return {{"host", host},
          {"documents", {document}},
          {"answers", {{"messages", messages}}},
          {"steps", steps}};
}

Json Names(const Json& doc) {
  Json names = Json::array();
  for (const Json& layer : doc["layers"]) names.push_back(layer["name"]);
  return names;
}

Json ChannelNames(const Json& doc) {
  Json names = Json::array();
  for (const Json& c : doc["channels"]) names.push_back(c.is_object() ? c["name"] : c);
  return names;
}

std::vector<Json> Documents(const EditorRun& run) {
  std::vector<Json> docs;
  for (const Json& state : OfKind(run.transcript, "state")) docs.push_back(state["documents"][0]);
  return docs;
}

// The module's questions, without the welcome note.
std::vector<Json> Questions(const EditorRun& run) {
  std::vector<Json> questions;
  for (const Json& m : OfKind(run.transcript, "message"))
    if (m["buttons"] == "YESNO" || m["buttons"] == "YESNOCANCEL") questions.push_back(m);
  return questions;
}

std::vector<std::string> StepNames(const EditorRun& run) {
  std::vector<std::string> names;
  for (const Json& line : OfKind(run.transcript, "step-end"))
    names.push_back(line["name"].get<std::string>() + (line["kept"].get<bool>() ? "" : " (dropped)"));
  return names;
}

const Json& LayerNamed(const Json& doc, const std::string& name) {
  for (const Json& layer : doc["layers"])
    if (layer["name"] == name) return layer;
  static const Json none;
  ADD_FAILURE() << "no layer " << name << " in " << Names(doc).dump();
  return none;
}

void ExpectNoMarker(const EditorRun& run) {
  for (const Json& doc : Documents(run))
    for (const Json& layer : doc["layers"]) EXPECT_NE(layer.value("name", std::string()), kMarker) << Names(doc).dump();
}

Json Select(Json layers) { return {{"edit", {{"selectLayers", layers}}}}; }

// ---- Grouping ----

TEST(LayerGroups, GroupingWithNothingStoredMakesTheGroupAtOnce) {
  const Json doc = {{"title", "Boats.psd"},
                    {"layers", {{{"name", "Background"}, {"background", true}}, Pixel("Boat"), Pixel("Sail"), Pixel("Sky")}}};
  EditorRun run = RunEditor(Scenario(doc, {Select({"Boat", "Sail"}), {{"command", kGroupLayers}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(Questions(run).empty());
  EXPECT_TRUE(StepNames(run).empty()) << "a single event needs no step of its own";
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"Mk  ","descriptor":[["null",{"ref":[{"class":"layerSection"}]}],)"
                             R"(["From",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]],"result":0})"}});
  const Json after = Documents(run).back();
  EXPECT_EQ(Names(after), Json::parse(R"(["Background","</Layer group>","Boat","Sail","Group 1","Sky"])"));
  EXPECT_EQ(after["target"], Json::array({4}));
}

// ---- A masked group ungrouped and restored ----

TEST(LayerGroups, AMaskedGroupSavedWhenUngroupedIsRestoredByTheNextGrouping) {
  EditorRun run = RunEditor(Scenario(HarbourDocument(true),
                                     {{{"command", kUngroupLayers}}, {{"state", true}}, Select({"Boat", "Sail"}),
                                      {{"command", kGroupLayers}}, {{"state", true}}},
                                     {"Yes", "Yes"}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> questions = Questions(run);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0]["title"], "Ungroup Layers");
  EXPECT_EQ(questions[0]["text"], kUngroupQuestion);
  EXPECT_EQ(questions[0]["buttons"], "YESNO");
  EXPECT_EQ(questions[0]["owner"], "main");
  EXPECT_EQ(questions[1]["title"], "Group Layers");
  EXPECT_EQ(questions[1]["text"], kRestoreQuestion);
  EXPECT_EQ(questions[1]["buttons"], "YESNOCANCEL");
  // The properties are saved inside the ungroup's step, which holds both.
  EXPECT_EQ(StepNames(run), (std::vector<std::string>{"Save Group Properties", "Ungroup Layers", "Restore Group"}));

  const std::vector<Json> docs = Documents(run);
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(Names(docs[0]), Json::parse(R"(["Background","Sea","Boat","Sail","Sky"])"));
  ASSERT_EQ(ChannelNames(docs[0]), Json::array({"Harbour Group Mask"}));
  EXPECT_EQ(docs[0]["history"].back(), "Ungroup Layers");

  const Json& group = LayerNamed(docs[1], "Harbour");
  EXPECT_EQ(Names(docs[1]), Json::parse(R"(["Background","Sea","</Layer group>","Boat","Sail","Harbour","Sky"])"));
  EXPECT_EQ(group["kind"], "groupStart");
  EXPECT_EQ(group["blendMode"], "Mltp");
  EXPECT_EQ(group["opacity"], 128);   // 50 %
  ASSERT_TRUE(group["userMask"].is_object()) << "the mask comes back from the stored channel";
  EXPECT_EQ(group["userMask"]["reveals"], docs[0]["channels"][0]["area"]);
  EXPECT_TRUE(ChannelNames(docs[1]).empty()) << "the stored channel goes";
  EXPECT_FALSE(docs[1].value("selection", false));
  ExpectNoMarker(run);
}

TEST(LayerGroups, NoToTheRestoreQuestionMakesAPlainGroupAndDiscardsTheStoredMask) {
  EditorRun run = RunEditor(Scenario(HarbourDocument(true),
                                     {{{"command", kUngroupLayers}}, Select({"Boat", "Sail"}),
                                      {{"command", kGroupLayers}}, {{"state", true}}, Select({"Sea"}),
                                      {{"command", kGroupLayers}}, {{"state", true}}},
                                     {"Yes", "No"}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_EQ(Questions(run).size(), 2u) << "the third grouping asks nothing";
  EXPECT_EQ(StepNames(run),
            (std::vector<std::string>{"Save Group Properties", "Ungroup Layers", "Group Layers"}));
  const std::vector<Json> docs = Documents(run);
  ASSERT_EQ(docs.size(), 2u);
  const Json& group = LayerNamed(docs[0], "Group 1");
  EXPECT_EQ(group["blendMode"], "passThrough");
  EXPECT_EQ(group["opacity"], 255);
  EXPECT_TRUE(group["userMask"].is_null());
  EXPECT_TRUE(ChannelNames(docs[0]).empty());
  EXPECT_EQ(Names(docs[1]),
            Json::parse(R"(["Background","</Layer group>","Sea","Group 2","</Layer group>","Boat","Sail","Group 1","Sky"])"));
}

// ---- What an ungroup keeps ----

// Boat in the masked group Harbour, Net in Fleet (normal at 50 %).
Json FleetDocument() {
  return {{"title", "Fleet.psd"},
          {"layers",
           {{{"name", "Background"}, {"background", true}}, GroupEnd(), Pixel("Boat"), Group("Harbour", true), GroupEnd(),
            Pixel("Net"), Group("Fleet", false, "Nrml", 128), Pixel("Sky")}},
          {"target", {6}}};
}

TEST(LayerGroups, NoToSavingAMaskedGroupKeepsWhatAnEarlierUngroupStored) {
  EditorRun run = RunEditor(Scenario(FleetDocument(),
                                     {{{"command", kUngroupLayers}}, Select({"Harbour"}), {{"command", kUngroupLayers}},
                                      {{"state", true}}, {{"command", kGroupLayers}}, {{"state", true}}},
                                     {"No", "Cancel"}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> questions = Questions(run);
  ASSERT_EQ(questions.size(), 2u) << "Fleet has no mask: its properties are kept without a question";
  EXPECT_EQ(questions[0]["title"], "Ungroup Layers");
  EXPECT_NE(questions[1]["text"].get<std::string>().find("\n'Fleet'?"), std::string::npos) << questions[1]["text"];
  const std::vector<Json> docs = Documents(run);
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(Names(docs[0]), Json::parse(R"(["Background","Boat","Net","Sky"])"));
  EXPECT_TRUE(ChannelNames(docs[0]).empty()) << "nothing of Harbour is saved";
  EXPECT_EQ(docs[1], docs[0]) << "Cancel groups nothing";
  ExpectNoMarker(run);
}

TEST(LayerGroups, AGroupAsTheHostMadeItLeavesNothingToRestore) {
  const Json doc = {{"title", "Boats.psd"},
                    {"layers", {{{"name", "Background"}, {"background", true}}, Pixel("Boat"), Pixel("Sail")}}};
  // Grouped by the module (the host names it), ungrouped at once, grouped
  // again: nothing to ask about.
  const Json steps = {Select({"Boat", "Sail"}), {{"command", kGroupLayers}}, {{"command", kUngroupLayers}},
                      {{"state", true}}, Select({"Boat"}), {{"command", kGroupLayers}}, {{"state", true}}};
  EditorRun run = RunEditor(Scenario(doc, steps));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(Questions(run).empty());
  const std::vector<Json> docs = Documents(run);
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_EQ(Names(docs[0]), Json::parse(R"(["Background","Boat","Sail"])")) << "the group's layers stay, in order";
  EXPECT_EQ(Names(docs[1]), Json::parse(R"(["Background","</Layer group>","Boat","Group 1","Sail"])"));
  ExpectNoMarker(run);
}

// ---- Hide Layers / Show Layers ----

const Json* FindItem(const Json& items, int id) {
  for (const Json& item : items) {
    if (item.value("id", 0) == id) return &item;
    if (item.contains("items"))
      if (const Json* found = FindItem(item["items"], id)) return found;
  }
  return nullptr;
}

TEST(LayerGroups, HideLayersHidesAndShowsTheTargetLayerAndTheLabelFollows) {
  const Json doc = {{"title", "Sky.psd"}, {"layers", {{{"name", "Background"}, {"background", true}}, Pixel("Sky")}}};
  EditorRun run = RunEditor(Scenario(doc, {{{"menu", "Layer"}}, {{"command", kHideLayers}}, {{"state", true}},
                                           {{"menu", "Layer"}}, {{"command", kHideLayers}}, {{"state", true}},
                                           {{"menu", "Layer"}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> docs = Documents(run);
  ASSERT_EQ(docs.size(), 2u);
  EXPECT_FALSE(docs[0]["layers"][1]["visible"].get<bool>());
  EXPECT_TRUE(docs[1]["layers"][1]["visible"].get<bool>());
  const char* const list = R"([["null",{"list":[{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]}]])";
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", (std::string(R"({"event":"Hd  ","mode":2,"result":0,"descriptor":)") + list + "}").c_str()},
                    {"play", (std::string(R"({"event":"Shw ","mode":2,"result":0,"descriptor":)") + list + "}").c_str()}});
  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_EQ(menus.size(), 3u);
  std::vector<std::string> labels;
  for (const Json& menu : menus)
    if (const Json* item = FindItem(menu["items"], kHideLayers)) labels.push_back((*item)["label"]);
  EXPECT_EQ(labels, (std::vector<std::string>{"Hide Layers", "Show Layers", "Hide Layers"}));
}

// ---- German ----

TEST(LayerGroups, TheQuestionsAndStepsSpeakTheHostsGerman) {
  const Json host = {{"version", 8}, {"german", true}, {"locale", "de_de"}, {"uiLanguage", "de_DE"}};
  EditorRun run = RunEditor(Scenario(HarbourDocument(true),
                                     {{{"command", kUngroupLayers}}, Select({"Boat"}), {{"command", kGroupLayers}}},
                                     {"Yes", "Yes"}, host));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> questions = Questions(run);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0]["title"], "Ebenengruppierung aufheben");
  EXPECT_EQ(questions[0]["text"],
            "Das Aufheben der Gruppierung löscht die Eigenschaften und\ndie Maske der Ebenengruppe. Möchten Sie "
            "diese speichern,\num sie später wieder herzustellen?");
  EXPECT_EQ(questions[1]["title"], "Ebenen gruppieren");
  EXPECT_EQ(questions[1]["text"],
            "Möchten Sie die Eigenschaften der alten Ebenengruppe\n'Harbour' wieder herstellen?\n\n(Achtung: Wenn Sie "
            "Nein klicken, gehen diese Eigenschaften\nverloren.)");
  const std::vector<std::string> steps = StepNames(run);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0], "Gruppeneigenschaften speichern");
  EXPECT_EQ(steps[2], "Gruppe wiederherstellen");
}

// ---- Ungroups and restores that cannot go on ----

// Were the marker not made, or the group not selected, the deletes would
// take the marker's place or a layer the group held.
TEST(LayerGroups, AnUngroupWhoseStepsFailDeletesNoLayer) {
  for (const char* event : {"Mk  ", "slct"}) {
    SCOPED_TRACE(event);
    Json scenario = Scenario(HarbourDocument(false), {{{"state", true}}, {{"command", kUngroupLayers}}, {{"state", true}},
                                                      {{"command", kGroupLayers}}});
    scenario["faults"] = {{{"event", event}, {"nth", 1}}};
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> docs = Documents(run);
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[1], docs[0]);
    EXPECT_EQ(StepNames(run), (std::vector<std::string>{"Ungroup Layers (dropped)"}));
    // Nothing was ungrouped: the grouping that follows has nothing to offer.
    EXPECT_TRUE(Questions(run).empty());
  }
}

// A restore whose group cannot be made renames and masks nothing, and the
// stored properties wait for the next grouping.
TEST(LayerGroups, ARestoreWithoutItsGroupKeepsTheStoredProperties) {
  Json scenario = Scenario(HarbourDocument(true),
                           {{{"command", kUngroupLayers}}, Select({"Boat"}), {{"state", true}},
                            {{"command", kGroupLayers}}, {{"state", true}}, {{"command", kGroupLayers}}, {{"state", true}}},
                           {"Yes", "Yes", "Yes"});
  // The marker's is the first, the restore's the second.
  scenario["faults"] = {{{"event", "Mk  "}, {"nth", 2}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> docs = Documents(run);
  ASSERT_EQ(docs.size(), 3u);
  EXPECT_EQ(docs[1], docs[0]);
  EXPECT_EQ(LayerNamed(docs[1], "Boat")["opacity"], 255);
  EXPECT_EQ(Questions(run).size(), 3u) << "the second grouping asks again";
  EXPECT_EQ(LayerNamed(docs[2], "Harbour")["blendMode"], "Mltp");
  EXPECT_TRUE(ChannelNames(docs[2]).empty());
}

}  // namespace
}  // namespace integration
