// The editor's windows as the plug-in finds them, and the hooks and window
// procedures it puts on them, as the simulated editor records them.
#include <gtest/gtest.h>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

// Hooks and hooks left installed, and the procedures replaced. Whether start-up's procedures
// are given back at shutdown depends on the Windows version Wine reports, so
// `restore` lines are left out.
std::vector<Json> HooksAndReplacements(const std::vector<Json>& transcript) {
  std::vector<Json> kept;
  for (const Json& line : transcript) {
    const std::string kind = line.value("kind", "");
    const bool leftHook = kind == "leak" && line.value("what", "").rfind("hook ", 0) == 0;
    if (kind == "hook" || leftHook || (kind == "subclass" && line.value("op", "") == "replace"))
      kept.push_back(line);
  }
  return kept;
}

constexpr ExpectedLine kKeyboardHook = {"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"};
constexpr ExpectedLine kMouseHook = {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"};
constexpr ExpectedLine kKeyboardUnhook = {"hook", R"({"op": "remove", "type": "keyboard", "thread": "all"})"};
constexpr ExpectedLine kMouseUnhook = {"hook", R"({"op": "remove", "type": "mouse", "thread": "ui"})"};

ExpectedLine Replaced(const char* window) {
  static std::vector<std::string> texts;  // kept alive for the rows
  texts.push_back(std::string(R"({"op": "replace", "window": ")") + window + "\"}");
  return {"subclass", texts.back().c_str()};
}

TEST(HostWindows, StartUpHooksAndReplacesTheProceduresOfTheWindowsItsVersionUses) {
  struct Case {
    const char* what;
    const char* host;
    std::vector<const char*> windows;
  };
  const Case cases[] = {
      // Version 8: the Layers view and the control bar, with the panel docked.
      {"version 8, docked", R"({"version": 8})", {"main", "layers", "controlBar"}},
      // Version 11 adds the toolbar; a floating panel is found among the top-level windows.
      {"version 11, floating", R"({"version": 11, "layersPanel": "floating"})",
       {"main", "layers", "controlBar", "toolbar"}},
      // No Layers panel; a dock whose first control-bar container lacks the bar comes first.
      {"version 10, absent, decoy", R"({"version": 10, "layersPanel": "absent", "controlBarDecoy": true})",
       {"main", "controlBar"}},
      // Below 8 only the main window.
      {"version 7", R"({"version": 7})", {"main"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Json scenario = Json::parse(R"({"steps": [{"select": "Startup"}, {"event": "Opn "}, {"select": "Shutdown"}]})");
    scenario["host"] = Json::parse(c.host);
    EditorRun run = RunEditor(scenario);
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    std::vector<ExpectedLine> expected = {kKeyboardHook, kMouseHook};
    for (const char* window : c.windows) expected.push_back(Replaced(window));
    expected.push_back(kKeyboardUnhook);
    expected.push_back(kMouseUnhook);
    ExpectTranscript(HooksAndReplacements(run.transcript), {}, expected);
    ExpectTranscript(run.transcript, {"error"}, {});
  }
}

TEST(HostWindows, HooksLeftInstalledAtTheEndOfARunAreReported) {
  // No "Shutdown": the module never removes its hooks.
  // Nor are its suites released.
  EditorRun run = RunEditor(Json::parse(R"({"host": {"version": 6}, "steps": [{"select": "Startup"}, {"event": "Opn "}]})"),
                            {}, {R"({"kind":"leak"})"});
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(HooksAndReplacements(run.transcript), {},
                   {kKeyboardHook, kMouseHook, Replaced("main"),
                    {"leak", R"({"what": "hook keyboard", "count": 1})"},
                    {"leak", R"({"what": "hook mouse", "count": 1})"}});
}

TEST(HostWindows, FullPhotoshopGetsNeitherHooksNorProcedures) {
  EditorRun run = RunEditor(Json::parse(R"({"host": {"product": "Photoshop"},
      "steps": [{"select": "Startup"}, {"event": "Opn "}, {"select": "Shutdown"}]})"));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(HooksAndReplacements(run.transcript), {}, {});
}

}  // namespace
}  // namespace integration
