// The plug-in's entry point as the simulated editor drives it: the selectors,
// the notifier, the boxes it shows, and the editor's own menu steps.
#include <gtest/gtest.h>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

TEST(EntryPoint, ADefaultRunAddsAndRemovesTheNotifierAndLeaksNothing) {
  // No "select" step: the editor calls "Startup", sends `Opn `, then "Shutdown".
  const std::vector<ExpectedLine> expected = {
      {"notifier", R"({"op": "add", "event": "All "})"},      // "Startup" registers for every event
      {"select", R"({"selector": "Startup", "caller": "SP Interface", "result": 0})"},
      {"notifier", R"({"op": "remove", "event": "All "})"},   // "Shutdown" takes it back
      {"select", R"({"selector": "Shutdown", "caller": "SP Interface", "result": 0})"},
  };
  EditorRun run = RunEditor(Json::object());
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"notifier", "select", "leak", "error"}, expected);
}

TEST(EntryPoint, AboutNamesTheProductAndItsVersion) {
  EditorRun run = RunEditor(Json::parse(R"({"steps": [{"select": "About"}]})"));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"message", "select", "error"},
                   {
                       {"message", R"({"title": "About", "buttons": "OK", "answer": "OK"})"},
                       {"select", R"({"selector": "About", "result": 0})"},
                   });
  std::vector<Json> boxes = OfKind(run.transcript, "message");
  ASSERT_EQ(boxes.size(), 1u);
  const std::string text = boxes[0].value("text", "");
  EXPECT_NE(text.find("Quillbright"), std::string::npos) << text;
  EXPECT_NE(text.find("1.01"), std::string::npos) << text;
}

TEST(EntryPoint, DoItOnAnIdleModuleAsksToActivateItInTheHostsLanguage) {
  // Full Photoshop: start-up stops at the host test, before any window is
  // looked for, so the module stays idle and the prompt has no owner.
  struct Case {
    bool german;
    const char* prompt;
  };
  const Case cases[] = {
      {false, R"({"title": "Quillbright", "text": "Do you want to activate Quillbright again?",
                  "buttons": "YESNO", "owner": "none", "answer": "No"})"},
      // A German host (Locales\de_DE in its folder): the transcript carries the
      // plug-in's code-page-1252 text as UTF-8.
      {true, R"({"title": "Quillbright", "text": "Möchten Sie Quillbright reaktivieren?",
                 "buttons": "YESNO", "owner": "none", "answer": "No"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.german ? "German host" : "English host");
    Json scenario = Json::parse(R"({"answers": {"messages": ["No"]},
        "steps": [{"select": "Startup"}, {"event": "Opn "}, {"select": "Do It"}, {"select": "Shutdown"}]})");
    scenario["host"] = {{"product", "Photoshop"}, {"version", 8}, {"german", c.german}};
    EditorRun run = RunEditor(scenario);
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    ExpectTranscript(run.transcript, {"message", "select", "error", "leak"},
                     {
                         {"select", R"({"selector": "Startup", "result": 0})"},
                         {"message", c.prompt},  // answered No: the module stays off
                         {"select", R"({"selector": "Do It", "caller": "PS Photoshop", "result": 0})"},
                         {"select", R"({"selector": "Shutdown", "result": 0})"},
                     });
  }
}

TEST(EntryPoint, DoItOnAnActiveModuleOfVersion12AsksForAnUpdate) {
  Json scenario = Json::parse(R"({"host": {"version": 12},
      "steps": [{"select": "Startup"}, {"event": "Opn "}, {"select": "Do It"}, {"select": "Shutdown"}]})");
  EditorRun run = RunEditor(scenario);
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> boxes = OfKind(run.transcript, "message");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].value("text", "").rfind("Welcome to Quillbright!", 0), 0u);  // a first run
  EXPECT_EQ(boxes[1]["owner"], "main");
  EXPECT_EQ(boxes[1]["icon"], "information");
  EXPECT_EQ(boxes[1].value("text", "").rfind("Please update to the latest version of Quillbright at", 0), 0u);
}

TEST(EditorMenus, OpeningRecordsTheMenuAndChoosingAMissingItemIsReported) {
  const std::vector<ExpectedLine> expected = {
      {"error", R"({"text": "the menu \"Layer\" has no item \"No Such Item\""})"},
      {"error", R"({"text": "the menu bar has no menu \"Nowhere\""})"},
  };
  EditorRun run = RunEditor(Json::parse(R"({"steps": [
      {"select": "About"},
      {"menu": "Layer"},
      {"menu": "Layer", "choose": ["No Such Item"]},
      {"menu": "Nowhere"}]})"), {}, ProblemsIn(expected));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0]["menu"], "Layer");
  ASSERT_FALSE(menus[0]["items"].empty());
  for (const char* field : {"pos", "id", "label", "enabled", "checked", "separator", "ownerDraw"})
    EXPECT_TRUE(menus[0]["items"][0].contains(field)) << field;
  ExpectTranscript(run.transcript, {"error"}, expected);
}

}  // namespace
}  // namespace integration
