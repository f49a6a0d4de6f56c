// The whole module chosen item by item: every item the module puts into the
// editor's menus and pop-ups, in each editor version, with no document, with
// a plain one and with a layered one. An item is either disabled or, chosen
// in a fresh document, shows for it: an event played, a step begun, a script
// run, a message, a dialog or a file chooser. None is enabled and does
// nothing, and no choice leaves a fault, a leak or a misuse behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

// The identifiers the module gives its items: its commands (0x8800), the
// smart-filter (0x8600), script (0x8700) and action (0x8900) items.
constexpr int kFirstModuleId = 0x8600;
constexpr int kModuleIdEnd = 0x8A00;
constexpr int kFirstCommandId = 0x8800;

const char* const kBarMenus[] = {"File", "Edit", "Image", "Enhance", "Layer", "Select", "Filter", "View", "Window", "Help"};
const char* const kPopups[] = {"layersAdjustment", "layers", "history"};

// The lines that show a choice did something the user sees.
const std::set<std::string> kEvidence = {"play",   "step-begin", "script", "message",
                                         "dialog", "dialog-closed", "file", "action"};

// Help opens the manual with the shell, outside the editor, where the
// transcript cannot see it.
constexpr int kHelpRow = 113;
// Transform Selection has nothing to do without a selection.
constexpr int kTransformSelectionRow = 100;

struct Item {
  std::string where;  // a bar menu or a pop-up
  bool popup = false;
  int id = 0;
  std::string label;
  bool enabled = false;
};

void Collect(const Json& items, const std::string& where, bool popup, std::vector<Item>& out) {
  for (const Json& item : items) {
    if (item.contains("items")) {
      Collect(item["items"], where, popup, out);
      continue;
    }
    const int id = item.value("id", 0);
    if (item.value("separator", false) || id < kFirstModuleId || id >= kModuleIdEnd) continue;
    out.push_back({where, popup, id, item.value("label", ""), item.value("enabled", false)});
  }
}

struct Setting {
  const char* name;
  Json documents;  // null: the scenario's own default document
  bool selection;
};

Json LayeredDocument() {
  return {{"title", "Layered"},
          {"selection", true},
          {"layers",
           {{{"name", "Background"}, {"background", true}},
            {{"name", "Text"}, {"kind", "text"}},
            {{"name", "Masked"}, {"userMask", {{"enabled", true}, {"linked", true}}}, {"vectorMask", {{"enabled", true}}}}}}};
}

// The popups each version's panels offer.
bool HasPopup(int version, const std::string& name) {
  if (name == "history") return version >= 6;
  return version >= 4;
}

std::vector<Item> Discover(int version, const Json& documents) {
  Json steps = Json::array();
  for (const char* menu : kBarMenus) steps.push_back({{"menu", menu}});
  for (const char* popup : kPopups)
    if (HasPopup(version, popup)) steps.push_back({{"popup", popup}});
  Json scenario = {{"host", {{"version", version}}}, {"steps", steps}};
  if (!documents.is_null()) scenario["documents"] = documents;
  EditorRun run = RunEditor(scenario);
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<Item> items;
  for (const Json& line : OfKind(run.transcript, "menu")) {
    const std::string where = line["menu"].get<std::string>();
    const bool popup = std::find(std::begin(kPopups), std::end(kPopups), where) != std::end(kPopups);
    Collect(line["items"], where, popup, items);
  }
  return items;
}

TEST(ModuleSweep, EveryEnabledItemOfEveryVersionDoesWhatItSays) {
  const Setting settings[] = {
      {"no document", Json::array(), false},
      {"a plain document", nullptr, false},
      {"a layered document", {LayeredDocument()}, true}};
  int swept = 0, disabled = 0, chosen = 0;
  for (int version : {4, 6, 8, 9, 10, 11, 12}) {
    for (const Setting& setting : settings) {
      SCOPED_TRACE("version " + std::to_string(version) + ", " + setting.name);
      const std::vector<Item> items = Discover(version, setting.documents);
      ASSERT_FALSE(items.empty());
      swept += int(items.size());

      // Each enabled item in a fresh copy of the setting's documents; the
      // state line after each choice closes its part of the transcript.
      std::vector<const Item*> enabled;
      Json steps = Json::array();
      for (const Item& item : items) {
        if (!item.enabled) {
          ++disabled;
          continue;
        }
        enabled.push_back(&item);
        steps.push_back({{"edit", {{"closeAllDocuments", true}}}});
        const Json reopened = setting.documents.is_null() ? Json::array({Json::object()}) : setting.documents;
        for (const Json& document : reopened) steps.push_back({{"edit", {{"openDocument", document}}}});
        steps.push_back({{item.popup ? "popup" : "menu", item.where}, {"choose", item.id}});
        steps.push_back({{"state", true}});
      }
      chosen += int(enabled.size());
      Json scenario = {{"host", {{"version", version}}}, {"steps", steps}};
      if (!setting.documents.is_null()) scenario["documents"] = setting.documents;
      EditorRun run = RunEditor(scenario);
      ASSERT_EQ(run.exitCode, 0) << run.errorText;

      std::vector<std::set<std::string>> shown(1);
      for (const Json& line : run.transcript) {
        const std::string kind = line["kind"].get<std::string>();
        if (kind == "state") shown.emplace_back();
        else if (kEvidence.contains(kind)) shown.back().insert(kind);
      }
      ASSERT_GE(shown.size(), enabled.size() + 1) << "a choice left no state line";
      for (size_t i = 0; i < enabled.size(); ++i) {
        const Item& item = *enabled[i];
        const int row = item.id - kFirstCommandId;
        if (row == kHelpRow || (row == kTransformSelectionRow && !setting.selection)) continue;
        EXPECT_FALSE(shown[i].empty()) << item.where << " > " << item.label << " (0x" << std::hex << item.id
                                       << ") is enabled and did nothing";
      }
    }
  }
  std::cout << "swept " << swept << " items: " << disabled << " disabled, " << chosen << " chosen\n";
}

}  // namespace
}  // namespace integration
