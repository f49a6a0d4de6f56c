// The scenario reader, in-process: a key it does not know, at any depth, is
// refused with the key and where it stands; everything the scenario format
// names is taken; the bundled scenarios are valid.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"
#include "text.h"

namespace {

using sim::Json;

// The reader's message for a scenario, or "" when it takes it.
std::string Refusal(const std::string& text) {
  try {
    simapp::ValidateScenario(Json::parse(text));
  } catch (const simapp::ScenarioError& e) {
    return e.what();
  }
  return "";
}

TEST(ScenarioKeys, AnUnknownKeyIsRefusedWithItsPlaceAtEveryLevel) {
  struct Case {
    const char* scenario;
    const char* message;
  };
  const Case cases[] = {
      {R"({"hots": {"version": 8}})", R"(unknown key "hots" in the top level)"},
      {R"({"host": {"verison": 9}})", R"(unknown key "verison" in host)"},
      {R"({"plugin": {"setings": ["a"]}})", R"(unknown key "setings" in plugin)"},
      {R"({"answers": {"message": ["No"]}})", R"(unknown key "message" in answers)"},
      {R"({"actionSets": [{"name": "Set", "action": ["A"]}]})", R"(unknown key "action" in actionSets[0])"},
      {R"({"documents": [{"title": "a.psd"}, {"titel": "b.psd"}]})", R"(unknown key "titel" in documents[1])"},
      {R"({"documents": [{"channels": ["Alpha 1", {"name": "Alpha 2", "aera": "x"}]}]})",
       R"(unknown key "aera" in documents[0].channels[1])"},
      {R"({"documents": [{"layers": [{"name": "a"}, {"opactiy": 10}]}]})",
       R"(unknown key "opactiy" in documents[0].layers[1])"},
      {R"({"documents": [{"layers": [{"userMask": {"enabled": true, "linkd": false}}]}]})",
       R"(unknown key "linkd" in documents[0].layers[0].userMask)"},
      {R"({"documents": [{"layers": [{"vectorMask": {"reveals": "all"}}]}]})",
       R"(unknown key "reveals" in documents[0].layers[0].vectorMask)"},
      {R"({"documents": [{"layers": [{"filterMask": {"area": "all"}}]}]})",
       R"(unknown key "area" in documents[0].layers[0].filterMask)"},
      {R"({"documents": [{"layers": [{"smartFilters": [{"name": "Blur", "enable": false}]}]}]})",
       R"(unknown key "enable" in documents[0].layers[0].smartFilters[0])"},
      {R"({"documents": [{"layers": [{"adjustment": {"class": "curves", "date": "hex:00"}}]}]})",
       R"(unknown key "date" in documents[0].layers[0].adjustment)"},
      {R"({"documents": [{"layers": [{"text": {"antialias": "AnCr"}}]}]})",
       R"(unknown key "antialias" in documents[0].layers[0].text)"},
      {R"({"faults": [{"suite": "descriptor", "call": "Make", "nht": 2}]})", R"(unknown key "nht" in faults[0])"},
      // A step's fields depend on its kind: "double" belongs to clicks only.
      {R"({"steps": [{"select": "Startup"}, {"key": "F1", "double": true}]})",
       R"(unknown key "double" in steps[1])"},
      {R"({"steps": [{"click": "layers", "x": 1, "y": 1, "shift": true}]})", R"(unknown key "shift" in steps[0])"},
      {R"({"steps": [{"menu": "Layer", "chose": 5}]})", R"(unknown key "chose" in steps[0])"},
      {R"({"steps": [{"wait": 10, "state": true}]})", R"(steps[0]: expected one step, found "wait" and "state")"},
      {R"({"steps": [{"screenshot": "a", "off": "menu"}]})", R"(unknown key "off" in steps[0])"},
      {R"({"steps": [{"edit": {"selectLayer": 1, "ad": true}}]})", R"(unknown key "ad" in steps[0].edit)"},
      {R"({"steps": [{"edit": {"actionSets": [{"name": "A", "action": []}]}}]})",
       R"(unknown key "action" in steps[0].edit.actionSets[0])"},
      {R"({"steps": [{"dialog": [{"set": 1040, "valu": 50}]}]})", R"(unknown key "valu" in steps[0].dialog[0])"},
      {R"({"steps": [{"dialog": [{"press": 1090, "on": true}]}]})", R"(unknown key "on" in steps[0].dialog[0])"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    EXPECT_EQ(Refusal(c.scenario), c.message);
  }
}

TEST(ScenarioKeys, EveryFieldOfTheFormatIsTaken) {
  // Each level with all the keys it may hold, the fields a step kind takes
  // beside its own included.
  const char* scenario = R"({
    "host": {"product": "Photoshop", "version": 11, "german": true, "locale": null, "uiLanguage": "de_DE",
             "dictionary": {"$$$/Menu/Actions": "Aktionen"}, "dictionaryPlace": "Required", "thumbnailSize": 1,
             "layersPanel": "floating", "scripts": ["a.jsx"], "windows": "10", "mainWindow": false,
             "controlBarDecoy": true},
    "plugin": {"settings": ["x=1", 2], "installPath": "C:\\Q"},
    "files": {"C:\\Users\\Public\\a.atn": "hex:00ff"},
    "documents": [{"title": "a.psd", "path": null, "mode": "RGBColor", "depth": 16, "width": 10, "height": 20,
                   "resolution": 72.5, "profile": null, "selection": true, "selectionArea": "not Alpha 1",
                   "workPath": "all", "channels": ["Alpha 1", {"name": "Alpha 2", "area": "none"}],
                   "targetChannels": ["Rd  "], "visibleChannels": ["Rd  ", "Grn "], "history": ["Open"],
                   "layers": [
                     {"name": "Background", "kind": "pixel", "background": true, "visible": true, "opacity": 255,
                      "fillOpacity": 128, "blendMode": "Mltp", "grouped": false,
                      "userMask": {"enabled": true, "linked": false, "reveals": "all"},
                      "vectorMask": {"enabled": false, "area": "Alpha 1"},
                      "filterMask": {"enabled": true, "reveals": "none"},
                      "smartFilters": [{"name": "Blur", "enabled": false}],
                      "adjustment": {"class": "curves", "data": "hex:0102"},
                      "text": {"antiAlias": "AnCr", "paragraph": true, "tracking": 5}}],
                   "target": [0]}],
    "actionSets": [{"name": "Default Actions", "actions": ["Vignette"]}],
    "answers": {"messages": ["OK"], "hostDialogs": {"Crvs": "cancel"}, "files": [null], "colors": [[1, 2, 3]]},
    "faults": [{"suite": "descriptor", "call": "PutReference", "nth": 2, "error": -108},
               {"event": "save", "nth": 1, "error": -25920}],
    "recordGets": true,
    "clipboard": {"image": [640, 480]},
    "steps": [
      {"select": "Do It", "caller": "PS Photoshop"},
      {"event": "slct"},
      {"menu": "Layer", "open": ["Layer Mask"]},
      {"menu": "Layer", "choose": ["Layer Mask", "Apply"]},
      {"popup": "history", "choose": 34930, "keyboard": true},
      {"command": 1132},
      {"key": "Ctrl+Shift+F", "repeat": 3, "choose": 5, "keyboard": false, "foreground": "other"},
      {"click": "layers", "x": 190, "y": -10, "double": true, "ctrl": true, "alt": true, "choose": 5, "keyboard": true},
      {"click": "controlBar", "x": 1, "y": 1, "hover": true},
      {"dialog": [{"set": 1040, "value": 50}, {"type": 1052, "text": "2.5"}, {"pick": 1021, "index": 3},
                  {"pick": 1020, "index": 1, "double": true}, {"check": 1030, "on": true}, {"press": 1090}, {"key": "Alt", "down": true}, {"wait": 100},
                  {"capture": true}]},
      {"wait": 600},
      {"state": true},
      {"screenshot": "layer-menu", "of": "menu"},
      {"edit": {"selectDocument": 0, "selectLayer": 0, "add": true, "selectLayers": [0], "selection": true,
                "closeDocument": 0, "closeAllDocuments": true, "actionSets": [{"name": "Frames", "actions": ["Wood"]}]}}
    ]
  })";
  EXPECT_EQ(Refusal(scenario), "");
}

TEST(ScenarioKeys, ADoubleClickOnAListRowIsAYesOrNo) {
  EXPECT_EQ(Refusal(R"({"steps": [{"dialog": [{"pick": 1020, "index": 0, "double": 1}]}]})"),
            "steps[0].dialog[0].double: expected true or false");
}

TEST(ScenarioKeys, TheClipboardHoldsAnImageOfASizeOrNothing) {
  EXPECT_EQ(Refusal(R"({"clipboard": null})"), "");
  EXPECT_EQ(Refusal(R"({"clipboard": {"image": null}})"), "");
  EXPECT_EQ(Refusal(R"({"clipboard": {"text": "x"}})"), R"(unknown key "text" in clipboard)");
  for (const char* image : {R"([640])", R"([0, 10])", R"([10, 30001])", R"([1.5, 2])", R"("640x480")"})
    EXPECT_EQ(Refusal(std::string(R"({"clipboard": {"image": )") + image + "}}"),
              "clipboard.image: expected [width, height], each 1..30000, or null")
        << image;
  EXPECT_EQ(Refusal(R"({"steps": [{"key": "Ctrl+M", "foreground": "notepad"}]})").rfind("steps[0].foreground: expected one of", 0),
            0u);
}

TEST(ScenarioKeys, AFaultNamesASuiteCallOrAnEvent) {
  EXPECT_EQ(Refusal(R"({"faults": [{"suite": "descriptor", "nth": 1}]})"),
            "faults[0].call: expected the operation's slot name");
  EXPECT_EQ(Refusal(R"({"faults": [{"suite": "descriptors", "call": "Make"}]})").rfind("faults[0].suite: expected one of", 0),
            0u);
  EXPECT_EQ(Refusal(R"({"faults": [{"event": "save", "call": "Make"}]})"),
            R"(faults[0]: expected "suite" and "call", or "event")");
  EXPECT_EQ(Refusal(R"({"faults": [{"event": "save", "nth": 0}]})"), "faults[0].nth: expected an integer 1..1099511627776");
}

TEST(ScenarioFiles, TheBundledScenariosAreValid) {
  // The source tree's scenarios folder, as Wine sees it.
  const std::string folder = QB_SCENARIOS_DIR;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(simapp::Widen(folder + "/*.json").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no scenarios in the scenarios folder";
  int count = 0;
  do {
    const std::string path = folder + "/" + simapp::Narrow(found.cFileName);
    SCOPED_TRACE(path);
    ++count;
    try {
      simapp::LoadScenario(simapp::Widen(path));
    } catch (const simapp::ScenarioError& e) {
      ADD_FAILURE() << e.what();
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  EXPECT_GE(count, 1);
}

}  // namespace
