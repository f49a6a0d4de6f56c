// The fault sweep: every landed command runs once cleanly, recording how
// many calls of each suite operation it makes, and then once per call with
// that call failing. However a call fails, the editor keeps running, nothing
// is leaked or misused, and the document is either as it was or as the clean
// run left it (a dropped step rolls back).
//
// Each command runs on a fresh document of its own, opened by hand before and
// closed after, so that many failing runs share one start of the editor; the
// fault of each run is armed by a step and counts calls from there.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "action_file_fixture.h"
#include "editor_run.h"

namespace integration {
namespace {

constexpr int kRow = 0x8800;   // the command of row r has the identifier 0x8800 + r

const char* const kScriptPath = "C:\\Users\\Public\\Tidy.jsx";

// Documents the commands act on, the target layer on top.
const char* const kPlain = R"({"title":"Plain.psd","layers":[{"name":"Background","background":true},{"name":"Sky"}]})";
const char* const kSelected =
    R"({"title":"Selected.psd","selection":true,"layers":[{"name":"Background","background":true},{"name":"Sky"}]})";
const char* const kMasked =
    R"({"title":"Masked.psd","layers":[{"name":"Background","background":true},{"name":"Sky","userMask":{"enabled":true,"linked":true}}]})";
const char* const kVector =
    R"({"title":"Vector.psd","layers":[{"name":"Background","background":true},{"name":"Sky","vectorMask":{"enabled":true}}]})";
const char* const kVectorOff =
    R"({"title":"Vector.psd","layers":[{"name":"Background","background":true},{"name":"Sky","vectorMask":{"enabled":false}}]})";
const char* const kShape =
    R"({"title":"Shape.psd","layers":[{"name":"Background","background":true},{"name":"Sky"},{"name":"Shape 1","kind":"shape","vectorMask":{"enabled":true}}]})";
const char* const kSmart =
    R"({"title":"Smart.psd","layers":[{"name":"Background","background":true},{"name":"Sky","kind":"smartObject","filterMask":{"enabled":true},"smartFilters":[{"name":"Blur","enabled":true}]}]})";
// Saved to a file of its own: the document is found by its file's name.
const char* const kSaved =
    R"({"title":"Garden.psd","path":"C:\\users\\Public\\Garden.psd","layers":[{"name":"Background","background":true},{"name":"Leaf"}]})";
const char* const kSmartOff =
    R"({"title":"Smart.psd","layers":[{"name":"Background","background":true},{"name":"Sky","kind":"smartObject","filterMask":{"enabled":false},"smartFilters":[{"name":"Blur","enabled":true}]}]})";

// Boat in the group Harbour (multiply at 50 %), with and without a mask.
const char* const kGroup =
    R"({"title":"Group.psd","target":[3],"layers":[{"name":"Background","background":true},{"name":"</Layer group>","kind":"groupEnd"},{"name":"Boat"},{"name":"Harbour","kind":"groupStart","blendMode":"Mltp","opacity":128}]})";
const char* const kMaskedGroup =
    R"({"title":"Group.psd","target":[3],"layers":[{"name":"Background","background":true},{"name":"</Layer group>","kind":"groupEnd"},{"name":"Boat"},{"name":"Harbour","kind":"groupStart","blendMode":"Mltp","opacity":128,"userMask":{"enabled":true,"linked":true}}]})";
// Grouping first leaves nothing stored (a stored group is restored on the
// way); ungrouping the masked group first stores it with its mask.
const char* const kGroupedFirst = R"([{"command":34891}])";     // kRow + 75
const char* const kUngroupedFirst = R"([{"command":34892}])";   // kRow + 76
// A Color Balance layer with its settings bytes and a mask, over a pixel layer.
const char* const kBalance =
    R"({"title":"Balance.psd","layers":[{"name":"Background","background":true},{"name":"Sky"},)"
    R"({"name":"Balance","kind":"adjustment","adjustment":{"class":"colorBalance","data":"hex:000affec001e00000005fffb0064ff9c000101"},)"
    R"("userMask":{"enabled":true,"linked":true}}]})";

const char* const kDeep =
    R"({"title":"Deep.psd","depth":16,"selection":true,"layers":[{"name":"Background","background":true},{"name":"Sky"}]})";
const char* const kQuickMasked =
    R"({"title":"Masked.psd","channels":[{"name":"Quick Mask","area":"none","colorIndicates":"MskA"}],"targetChannels":["Quick Mask"],"layers":[{"name":"Background","background":true}]})";
const char* const kText =
    R"({"title":"Poster.psd","layers":[{"name":"Background","background":true},{"name":"Title","kind":"text","text":{"antiAlias":"AnCr","paragraph":false}}]})";
const char* const kTwoTargets =
    R"({"title":"Layout.psd","layers":[{"name":"Background","background":true},{"name":"Sky"},{"name":"Sea"}],"target":[1,2]})";
const char* const kThreeTargets =
    R"({"title":"Layout.psd","layers":[{"name":"Background","background":true},{"name":"Sky"},{"name":"Sea"},{"name":"Sand"}],"target":[1,2,3]})";
// One layer: the host stamps nothing, and the copy of the layer with its
// mask applied is made instead.
const char* const kOneMaskedLayer =
    R"({"title":"Masked.psd","layers":[{"name":"Sky","userMask":{"enabled":true,"linked":true}}]})";

// A step to fade: the last state of the history.
const char* const kBlurred =
    R"({"title":"Blurred.psd","history":["Open","Gaussian Blur"],"layers":[{"name":"Background","background":true},{"name":"Sky"}]})";
// The module's dialog answered: a slider moved, then OK.
const char* const kDialogOk = R"([{"dialog":[{"set":1040,"value":50},{"press":1090}]}])";
// The Edit Smart Filters dialog answered: the top filter hidden or shown
// (deleted), then OK.
const char* const kFilterToggledOk = R"([{"dialog":[{"press":1094},{"press":1090}]}])";
const char* const kFilterDeletedOk = R"([{"dialog":[{"press":1096},{"press":1090}]}])";
const char* const kAnsweredDialogs[] = {kDialogOk, kFilterToggledOk, kFilterDeletedOk};

constexpr int kQuickMaskRow = 101;
constexpr int kGaussianBlur = 5381;   // the host's Filter > Blur > Gaussian Blur
// Quick Mask mode started, unchecked, before the document is taken.
const char* const kQuickMaskOn = R"([{"command":34917}])";   // kRow + kQuickMaskRow

struct SweptCommand {
  const char* name;
  int row;
  const char* document;   // null: none open
  int lowest, highest;    // host versions the command is in
  int item = 0;                    // an item of a module submenu's list instead of a row
  const char* prepare = nullptr;   // steps (JSON array text) before the document's first state
  // The first script of an editor 11 run wakes the host's scripting user
  // interface, once per run: each of its failing calls gets a run of its own.
  bool firstScriptOfRun = false;
  const char* key = nullptr;   // a keyboard shortcut pressed instead of choosing the row's item
  // A new image may be left without what was to be pasted into it: the
  // user's own documents stay as they were.
  bool newImageMayStayEmpty = false;
  bool doubleClick = false;    // a double click on the current layer's thumbnail instead
};

const char* const kActionPath = "C:\\Users\\Public\\Frames.atn";
// Two sets, the second without actions, put back before each command that
// reads or deletes them; the File menu opened builds the submenus' lists.
const char* const kWithActionSets =
    R"([{"edit":{"actionSets":[{"name":"Frames","actions":["Wood","Brushed"]},{"name":"Empty","actions":[]}]}},)"
    R"({"menu":"File"}])";
const char* const kWithScripts = R"([{"menu":"File"}])";

// The mask commands (Layer Mask submenu to editor 8, From Transparency in the
// Layer menu from 9, the vector and filter masks, Selection From), the
// channel commands, the Scripts and Actions submenus, and the Preferences.
const SweptCommand kCommands[] = {
    // First, so that every other command runs after it, as in a clean run.
    {"Scripts > first script (wakes scripting)", 0, kPlain, 11, 11, 0x8700, kWithScripts, true},
    {"Layer Mask > Reveal All", 58, kPlain, 0, 8},
    {"Layer Mask > Hide All", 59, kPlain, 0, 8},
    {"Layer Mask > Reveal Selection", 60, kSelected, 0, 8},
    {"Layer Mask > Hide Selection", 61, kSelected, 0, 8},
    {"Layer Mask > From Transparency", 62, kPlain, 0, 8},
    {"Layer Mask > Delete", 63, kMasked, 0, 8},
    {"Layer Mask > Apply", 64, kMasked, 0, 8},
    {"Layer Mask > Disable", 65, kMasked, 0, 8},
    {"Layer Mask > Unlink", 66, kMasked, 0, 8},
    {"Layer Mask From Transparency", 67, kPlain, 9, 99},
    {"Vector Mask > From Selection", 69, kSelected, 0, 99},
    {"Vector Mask > From Shape", 70, kShape, 0, 99},
    {"Vector Mask > Delete", 71, kVector, 0, 99},
    {"Vector Mask > Rasterize", 72, kVector, 0, 99},
    {"Vector Mask > Disable", 73, kVector, 0, 99},
    {"Vector Mask > Enable", 74, kVectorOff, 0, 99},
    {"Smart Filter > Disable Smart Filters", 44, kSmart, 6, 99},
    {"Smart Filter > Clear Smart Filters", 46, kSmart, 6, 99},
    {"Smart Object > Convert to Smart Object", 52, kSaved, 6, 99},
    {"Smart Filter > Select Filter Mask", 47, kSmart, 6, 99},
    {"Smart Filter > Disable Filter Mask", 48, kSmart, 6, 99},
    {"Smart Filter > Enable Filter Mask", 49, kSmartOff, 6, 99},
    {"Smart Filter > Clear Filter Mask", 50, kSmart, 6, 99},
    {"Filter > Blur > Gaussian Blur on a smart object", 0, kSmart, 6, 99, kGaussianBlur},
    {"Channels > RGB", 15, kPlain, 0, 99},
    {"Channels > Red", 16, kPlain, 0, 99},
    {"Channels > Green", 17, kPlain, 0, 99},
    {"Channels > Blue", 18, kPlain, 0, 99},
    {"Channels > Red + Green", 19, kPlain, 0, 99},
    {"Channels > Red + Blue", 20, kPlain, 0, 99},
    {"Channels > Green + Blue", 21, kPlain, 0, 99},
    {"Channels > Show All", 22, kPlain, 0, 99},
    {"Selection From > Layer Mask", 104, kMasked, 0, 99},
    {"Selection From > Layer Opacity", 105, kPlain, 0, 99},
    {"Selection From > Luminosity", 106, kPlain, 0, 99},
    {"Selection From > Red Channel", 107, kPlain, 0, 99},
    {"Group Layers", 75, kPlain, 4, 99, 0, kGroupedFirst},
    {"Group Layers, restoring the stored group", 75, kMaskedGroup, 4, 99, 0, kUngroupedFirst},
    {"Ungroup Layers", 76, kGroup, 4, 99},
    {"Ungroup Layers, saving the mask", 76, kMaskedGroup, 4, 99},
    {"Hide Layers", 77, kPlain, 0, 99},
    {"Scripts > Browse...", 3, kPlain, 6, 99},
    // Text, arrangement and document commands (one of each kind that
    // builds its event the same way).
    {"Spell Check...", 8, kText, 0, 99},
    {"Find and Replace Text...", 9, kText, 0, 99},
    {"Auto-Blend Layers...", 12, kTwoTargets, 6, 99},
    {"Trim...", 13, kPlain, 0, 99},
    {"Apply Image...", 23, kPlain, 11, 99},
    {"Convert to Shape", 35, kText, 0, 99},
    {"Anti-Alias Sharp", 37, kText, 0, 99},
    {"Anti-Alias Smooth", 39, kText, 0, 99},
    {"Convert to Paragraph Text", 40, kText, 0, 99},
    {"Align > Top Edges", 79, kTwoTargets, 0, 99},
    {"Distribute > Right Edges", 91, kThreeTargets, 4, 99},
    {"Stamp Visible", 92, kOneMaskedLayer, 4, 99},
    {"Proof Colors...", 111, kPlain, 0, 99},
    {"Custom Pixel Aspect Ratio...", 112, kPlain, 3, 99},
    // The shortcuts that are no command of the table.
    {"Shortcut Shift+N: new image from the clipboard", -1, kPlain, 0, 99, 0, nullptr, false, "Shift+N", true},
    {"Shortcut Ctrl+V: new image from the clipboard, no document open", -1, nullptr, 0, 99, 0, nullptr, false, "Ctrl+V", true},
    {"Shortcut Shift+F5: the editor's Fill", -1, kPlain, 0, 99, 0, nullptr, false, "Shift+F5"},
    {"Shortcut Ctrl+R: the editor's Lens Correction", -1, kPlain, 5, 99, 0, nullptr, false, "Ctrl+R"},
    {"Shortcut Shift+Ctrl+X: the editor's Liquify", -1, kPlain, 11, 99, 0, nullptr, false, "Ctrl+Shift+X"},
    {"Scripts > a script", 0, kPlain, 6, 99, 0x8700, kWithScripts},
    {"Actions > Load Actions...", 5, kPlain, 6, 99},
    {"Actions > Clear All Actions", 6, kPlain, 6, 99, 0, kWithActionSets},
    {"Actions > an action", 0, kPlain, 6, 99, 0x8901, kWithActionSets},
    {"Edit in Quick Mask Mode (on)", kQuickMaskRow, kSelected, 0, 99},
    {"Edit in Quick Mask Mode (off)", kQuickMaskRow, kSelected, 0, 99, 0, kQuickMaskOn},
    {"Edit in Quick Mask Mode, 16 bits (on)", kQuickMaskRow, kDeep, 6, 99},
    // From 11 the working document closes within the step; below, a timer
    // closes it after the step (its own tests are in quick_mask_tests).
    {"Edit in Quick Mask Mode, 16 bits (off)", kQuickMaskRow, kDeep, 11, 99, 0, kQuickMaskOn},
    {"Quick Mask Options...", 102, kQuickMasked, 0, 99},
    {"Transform Selection...", 100, kSelected, 0, 99},
    {"16 Bits/Channel", 10, kSelected, 6, 99},
    // The Preferences, closed with Cancel as nobody answers them: the
    // settings as they were are put into effect again.
    {"Edit > Preferences > Quillbright...", 115, kPlain, 0, 11},
    {"History Options...", 114, kPlain, 6, 11},
    // Adjustment layers: made in the editor's dialog, adjusting a layer
    // through a clipped one merged down, and re-edited from the thumbnail.
    {"New Adjustment Layer > Curves...", 93, kPlain, 11, 99},
    {"New Adjustment Layer > Color Balance...", 96, kPlain, 11, 99},
    {"New Adjustment Layer > Channel Mixer...", 98, kPlain, 11, 99},
    {"New Adjustment Layer > Selective Color...", 99, kPlain, 11, 99},
    {"Color Balance... (a clipped layer merged down)", 28, kSelected, 11, 99},
    {"Color Balance layer: double click on its thumbnail", -1, kBalance, 0, 99, 0, nullptr, false, nullptr, false, true},
    // The module's own dialogs, closed with Cancel as nobody answers them,
    // and one answered OK.
    {"Fade...", 7, kBlurred, 0, 99},
    {"Fill Opacity...", 34, kPlain, 0, 99},
    {"Tracking", 41, kText, 0, 99},
    {"Exposure... (the module's dialog, OK)", 25, kSelected, 4, 10, 0, kDialogOk},
    {"Edit Smart Filters... (the filter toggled, OK)", 43, kSmart, 6, 99, 0, kFilterToggledOk},
    {"Edit Smart Filters... (the filter deleted, OK)", 43, kSmart, 6, 99, 0, kFilterDeletedOk},
};

// A document made by the command that holds nothing but its background.
bool OnlyAnEmptyNewImageAdded(const Json& before, const Json& after) {
  if (!before.is_array() || !after.is_array() || after.size() != before.size() + 1) return false;
  for (size_t i = 0; i < before.size(); ++i)
    if (after[i] != before[i]) return false;
  const Json& made = after.back();
  return made["layers"].size() == 1 && made["history"] == Json::array({"New"});
}

// Freeing calls are not failed: a host that cannot free leaves nothing the
// plug-in could do about it, and every such run would end in a leak.
const std::set<std::string> kNotFailed = {
    "descriptor.Free", "reference.Free",   "list.Free",         "handle.Dispose",      "handle.DisposeRegularHandle",
    "zstring.Release", "basic.ReleaseSuite", "basic.FreeBlock", "javascript.DeleteEngine", "colorspace.Delete",
    "control.RemoveNotify"};

// One command's run inside an editor run: the document it gets and the fault
// armed for it (null: none).
struct Segment {
  const SweptCommand* command;
  Json fault;
};

// A suite call as the recording run saw it: the operation and its count
// within the command's run.
struct Call {
  std::string suite, call;
  int nth;
};

// What one segment left in the transcript, between its two states.
struct SegmentResult {
  Json before, after;        // the documents, normalised
  Json objectsBefore, objectsAfter;
  std::vector<Json> lines;   // everything between the states
};

// Layer identifiers are numbered over the whole run; a fresh document gets
// new ones, so they are left out of the comparison.
Json Normalised(Json documents) {
  for (Json& doc : documents)
    if (doc.contains("layers"))
      for (Json& layer : doc["layers"]) layer.erase("id");
  return documents;
}

int CommandOf(const SweptCommand& c) { return c.item != 0 ? c.item : kRow + c.row; }

// The steps that run one command, before and after its checked stretch.
void AppendPrepare(Json& steps, const SweptCommand& c) {
  if (c.prepare)
    for (const Json& step : Json::parse(c.prepare)) steps.push_back(step);
}

Json ScenarioFor(int version, const std::vector<Segment>& segments) {
  Json steps = Json::array();
  Json answers = Json::array();   // the file choosers' answers, in order
  for (const Segment& s : segments) {
    if (s.command->document) steps.push_back({{"edit", {{"openDocument", Json::parse(s.command->document)}}}});
    AppendPrepare(steps, *s.command);
    steps.push_back({{"state", true}});
    steps.push_back({{"faults", s.fault.is_null() ? Json::array() : Json::array({s.fault})}});
    if (s.command->key) steps.push_back({{"key", s.command->key}});
    else if (s.command->doubleClick) steps.push_back({{"click", "layers"}, {"x", 60}, {"y", 60}, {"double", true}});
    else steps.push_back({{"command", CommandOf(*s.command)}});
    steps.push_back({{"state", true}});
    // A shortcut may have made a document of its own.
    if (s.command->key) steps.push_back({{"edit", {{"closeAllDocuments", true}}}});
    else steps.push_back({{"edit", {{"closeDocument", true}}}});
    if (s.command->item == 0 && s.command->row == 3) answers.push_back(kScriptPath);
    if (s.command->item == 0 && s.command->row == 5) answers.push_back(kActionPath);
    // The mode ends with its documents, and the next command starts afresh.
    if (s.command->item == 0 && (s.command->row == kQuickMaskRow || s.command->row == 10)) {
      steps.push_back({{"edit", {{"closeAllDocuments", true}}}});
      steps.push_back({{"command", kRow + kQuickMaskRow}});
    }
  }
  return {{"host", {{"version", version}, {"scripts", {"Tidy.jsx"}}}},
          {"recordCalls", true},
          {"files", {{kScriptPath, "hex:6170702e7265667265736828293b"},   // app.refresh();
                     {kActionPath, kActionFileHex}}},
          {"answers", {{"files", answers}}},
          {"documents", Json::array()},
          {"clipboard", {{"image", {64, 48}}}},
          {"steps", steps}};
}

// Splits a run's transcript by its state lines, two per segment.
std::vector<SegmentResult> SplitSegments(const std::vector<Json>& transcript) {
  std::vector<SegmentResult> out;
  bool inside = false;
  for (const Json& line : transcript) {
    if (line.value("kind", "") == "state") {
      if (!inside) {
        out.emplace_back();
        out.back().before = Normalised(line["documents"]);
        out.back().objectsBefore = line.value("objects", Json());
      } else {
        out.back().after = Normalised(line["documents"]);
        out.back().objectsAfter = line.value("objects", Json());
      }
      inside = !inside;
    } else if (inside) {
      out.back().lines.push_back(line);
    }
  }
  return out;
}

std::vector<Call> CallsOf(const SegmentResult& segment) {
  std::vector<Call> calls;
  std::map<std::string, int> counts;
  for (const Json& line : segment.lines) {
    if (line.value("kind", "") != "call") continue;
    const std::string suite = line["suite"], call = line["call"];
    const int nth = ++counts[suite + "." + call];
    if (!kNotFailed.count(suite + "." + call)) calls.push_back({suite, call, nth});
  }
  return calls;
}

struct Figures {
  int commands = 0, callsFailed = 0, faultsFired = 0, crashes = 0, leaks = 0, misuses = 0, wrongStates = 0,
      editorRuns = 0;
};

class FaultSweep : public ::testing::TestWithParam<int> {};

TEST_P(FaultSweep, EveryFailingCallLeavesTheDocumentWholeAndNothingBehind) {
  const int version = GetParam();
  const auto started = std::chrono::steady_clock::now();
  Figures figures;

  std::vector<Segment> clean;
  for (const SweptCommand& c : kCommands)
    if (version >= c.lowest && version <= c.highest) clean.push_back({&c, Json()});
  figures.commands = int(clean.size());

  // The clean runs: what each command calls and what it leaves.
  EditorRun recording = RunEditor(ScenarioFor(version, clean));
  ++figures.editorRuns;
  ASSERT_EQ(recording.exitCode, 0) << recording.errorText;
  const std::vector<SegmentResult> cleanResults = SplitSegments(recording.transcript);
  ASSERT_EQ(cleanResults.size(), clean.size());
  std::map<const SweptCommand*, Json> cleanAfter;
  std::vector<Segment> failing;
  std::vector<Segment> firstUses;
  for (size_t i = 0; i < clean.size(); ++i) {
    const SegmentResult& r = cleanResults[i];
    cleanAfter[clean[i].command] = r.after;
    for (const Call& c : CallsOf(r)) {
      const Json fault = {{"suite", c.suite}, {"call", c.call}, {"nth", c.nth}, {"error", -25920}};
      if (c.suite == "basic" || clean[i].command->firstScriptOfRun) {
        // Suites are acquired once, by the first command that needs them,
        // and the scripting user interface is woken once: such a fault runs
        // after the commands the clean run ran before.
        firstUses.push_back({clean[i].command, fault});
      } else {
        failing.push_back({clean[i].command, fault});
      }
    }
  }
  figures.callsFailed = int(failing.size() + firstUses.size());
  std::map<const SweptCommand*, int> wrongByCommand;

  // The failing runs, many to one start of the editor.
  constexpr size_t kPerRun = 150;
  std::vector<std::pair<std::vector<Segment>, size_t>> runs;   // the segments and the first one checked
  // The module keeps some state between commands (the last channel choice,
  // suites acquired): each run first replays, unchecked, the clean runs of
  // the commands before its first one.
  const auto cleanBefore = [&](const SweptCommand* command) {
    std::vector<Segment> prefix;
    for (const Segment& c : clean) {
      if (c.command == command) break;
      prefix.push_back(c);
    }
    return prefix;
  };
  for (size_t first = 0; first < failing.size(); first += kPerRun) {
    std::vector<Segment> batch = cleanBefore(failing[first].command);
    const size_t checkedFrom = batch.size();
    batch.insert(batch.end(), failing.begin() + long(first),
                 failing.begin() + long(std::min(failing.size(), first + kPerRun)));
    runs.push_back({batch, checkedFrom});
  }
  for (const Segment& s : firstUses) {
    std::vector<Segment> batch = cleanBefore(s.command);
    batch.push_back(s);
    runs.push_back({batch, batch.size() - 1});
  }
  for (const auto& [batch, checkedFrom] : runs) {
    // A dialog answered by the scenario that a failing call kept from
    // showing leaves its answer unused.
    ExpectedProblems expected;
    for (const char* answer : kAnsweredDialogs)
      for (const Segment& s : batch)
        if (s.command->prepare == answer) {
          const Json step = Json::parse(answer)[0];
          expected.push_back(
              Json{{"kind", "error"}, {"text", "the dialog step " + step.dump() + " found no dialog of the plug-in"}}.dump());
          break;
        }
    EditorRun run = RunEditor(ScenarioFor(version, batch), {}, expected);
    ++figures.editorRuns;
    const std::vector<SegmentResult> results = SplitSegments(run.transcript);
    if (run.exitCode != 0 || results.size() != batch.size() || !results.back().after.is_array()) {
      ++figures.crashes;
      const size_t at = results.empty() ? 0 : results.size() - 1;
      ADD_FAILURE() << "the editor ended with " << run.exitCode << " in the run of "
                    << (at < batch.size() ? batch[at].command->name : "?") << " with "
                    << (at < batch.size() ? batch[at].fault.dump() : "?") << "\n"
                    << run.errorText;
      continue;
    }
    for (const Json& line : run.transcript)
      if (line.value("kind", "") == "leak") {
        ++figures.leaks;
        ADD_FAILURE() << "leak at shutdown: " << line.dump();
      }
    for (size_t i = checkedFrom; i < batch.size(); ++i) {
      const Segment& s = batch[i];
      const SegmentResult& r = results[i];
      const std::string what = std::string(s.command->name) + " with " + s.fault.dump();
      bool fired = false;
      for (const Json& line : r.lines) {
        const std::string kind = line.value("kind", "");
        if (kind == "fault") fired = true;
        if (kind == "misuse") {
          ++figures.misuses;
          ADD_FAILURE() << what << ": " << line.dump();
        }
      }
      if (fired) ++figures.faultsFired;
      else ADD_FAILURE() << what << ": the fault never fired (the run strayed from the clean one)";
      if (r.objectsAfter != r.objectsBefore) {
        ++figures.leaks;
        ADD_FAILURE() << what << ": host objects left " << r.objectsBefore.dump() << " -> " << r.objectsAfter.dump();
      }
      if (r.after != r.before && r.after != cleanAfter[s.command] &&
          !(s.command->newImageMayStayEmpty && OnlyAnEmptyNewImageAdded(r.before, r.after))) {
        ++figures.wrongStates;
        // The first few of a command in full, then only how many.
        if (++wrongByCommand[s.command] <= 3)
          ADD_FAILURE() << what << ": the document is neither as it was nor as the clean run left it"
                        << "\n  changed:          " << Json::diff(r.before, r.after).dump()
                        << "\n  against clean:    " << Json::diff(cleanAfter[s.command], r.after).dump();
      }
    }
  }

  for (const auto& [command, count] : wrongByCommand)
    if (count > 3) ADD_FAILURE() << command->name << ": " << count << " failing calls left a wrong document";
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::ostringstream summary;
  summary << "editor " << version << ": " << figures.commands << " commands, " << figures.callsFailed
          << " calls failed (" << figures.faultsFired << " faults fired), " << figures.crashes << " crashes, "
          << figures.leaks << " leaks, " << figures.misuses << " misuses, " << figures.wrongStates
          << " wrong documents; " << figures.editorRuns << " editor runs in " << int(seconds) << " s";
  std::cout << summary.str() << std::endl;
  RecordProperty("commands", figures.commands);
  RecordProperty("callsFailed", figures.callsFailed);
  RecordProperty("crashes", figures.crashes);
  RecordProperty("leaks", figures.leaks);
  RecordProperty("misuses", figures.misuses);
  RecordProperty("wrongDocuments", figures.wrongStates);
}

INSTANTIATE_TEST_SUITE_P(Editors, FaultSweep, ::testing::Values(8, 11),
                         [](const ::testing::TestParamInfo<int>& info) { return "Editor" + std::to_string(info.param); });

}  // namespace
}  // namespace integration
