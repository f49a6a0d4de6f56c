// Start-up and shutdown as the editor sees them: which host is accepted, in
// which language the module greets, which windows get its procedures, which
// hooks it installs, and what it gives back at shutdown.
#include <gtest/gtest.h>

#include <string>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr const char* kWelcomeEnglish = "Welcome to Quillbright!";
constexpr const char* kWelcomeGerman = "Wilkommen zu to Quillbright!";

Json Scenario(const char* product, int version, bool german, const char* windows,
              const char* layersPanel = "docked") {
  Json scenario = Json::parse(R"({"steps": [{"select": "Startup"}, {"event": "Opn "}, {"select": "Shutdown"}]})");
  scenario["host"] = {{"product", product}, {"version", version}, {"german", german},
                      {"windows", windows}, {"layersPanel", layersPanel}};
  return scenario;
}

std::string Welcome(const EditorRun& run) {
  for (const Json& box : OfKind(run.transcript, "message"))
    if (box.value("text", "").find("Quillbright!") != std::string::npos) return box.value("text", "");
  return "";
}

struct Row {
  int version;
  bool german;
  const char* windows;                 // the Windows version the editor reports
  std::vector<ExpectedLine> expected;  // hooks and window procedures, in order
};

// Hooks go in before any window procedure; what is given back depends on the
// Windows and host versions (nothing on Vista and later, nor for hosts 11+).
const Row kRows[] = {
    {4, false, "xp",
     {{"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"},
      {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"},
      {"subclass", R"({"window": "main", "op": "replace"})"},
      {"subclass", R"({"window": "main", "op": "restore"})"},
      {"hook", R"({"op": "remove", "type": "keyboard"})"},
      {"hook", R"({"op": "remove", "type": "mouse"})"}}},
    {6, true, "xp",
     {{"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"},
      {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"},
      {"subclass", R"({"window": "main", "op": "replace"})"},
      {"subclass", R"({"window": "main", "op": "restore"})"},
      {"hook", R"({"op": "remove", "type": "keyboard"})"},
      {"hook", R"({"op": "remove", "type": "mouse"})"}}},
    {8, false, "xp",  // version 8: the Layers and control-bar views too
     {{"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"},
      {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"},
      {"subclass", R"({"window": "main", "op": "replace"})"},
      {"subclass", R"({"window": "layers", "op": "replace"})"},
      {"subclass", R"({"window": "controlBar", "op": "replace"})"},
      {"subclass", R"({"window": "main", "op": "restore"})"},
      {"subclass", R"({"window": "layers", "op": "restore"})"},
      {"subclass", R"({"window": "controlBar", "op": "restore"})"},
      {"hook", R"({"op": "remove", "type": "keyboard"})"},
      {"hook", R"({"op": "remove", "type": "mouse"})"}}},
    {8, true, "7",  // Windows 7: the procedures stay while the host closes
     {{"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"},
      {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"},
      {"subclass", R"({"window": "main", "op": "replace"})"},
      {"subclass", R"({"window": "layers", "op": "replace"})"},
      {"subclass", R"({"window": "controlBar", "op": "replace"})"},
      {"hook", R"({"op": "remove", "type": "keyboard"})"},
      {"hook", R"({"op": "remove", "type": "mouse"})"}}},
    {11, false, "xp",  // version 11: the toolbar too, and nothing given back
     {{"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"},
      {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"},
      {"subclass", R"({"window": "main", "op": "replace"})"},
      {"subclass", R"({"window": "layers", "op": "replace"})"},
      {"subclass", R"({"window": "controlBar", "op": "replace"})"},
      {"subclass", R"({"window": "toolbar", "op": "replace"})"},
      {"hook", R"({"op": "remove", "type": "keyboard"})"},
      {"hook", R"({"op": "remove", "type": "mouse"})"}}},
    {12, true, "xp",  // version 12: no toolbar
     {{"hook", R"({"op": "install", "type": "keyboard", "thread": "all"})"},
      {"hook", R"({"op": "install", "type": "mouse", "thread": "ui"})"},
      {"subclass", R"({"window": "main", "op": "replace"})"},
      {"subclass", R"({"window": "layers", "op": "replace"})"},
      {"subclass", R"({"window": "controlBar", "op": "replace"})"},
      {"hook", R"({"op": "remove", "type": "keyboard"})"},
      {"hook", R"({"op": "remove", "type": "mouse"})"}}},
};

TEST(Startup, EachVersionGetsItsHooksAndProceduresAndGivesBackWhatItMay) {
  for (const Row& row : kRows) {
    SCOPED_TRACE("version " + std::to_string(row.version) + (row.german ? " German" : " English") +
                 " on Windows " + row.windows);
    EditorRun run = RunEditor(Scenario("Elements", row.version, row.german, row.windows));
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    ExpectTranscript(run.transcript, {"hook", "subclass", "error"}, row.expected);
    EXPECT_EQ(Welcome(run).rfind(row.german ? kWelcomeGerman : kWelcomeEnglish, 0), 0u) << Welcome(run);
  }
}

TEST(Startup, PhotoshopAndVersion13StaySilentAndInstallNothing) {
  for (const Json& scenario : {Scenario("Photoshop", 8, false, "xp"), Scenario("Elements", 13, true, "xp")}) {
    SCOPED_TRACE(scenario["host"].dump());
    EditorRun run = RunEditor(scenario);
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    ExpectTranscript(run.transcript, {"hook", "subclass", "message", "leak", "error"}, {});
  }
}

TEST(Startup, AFloatingOrAbsentLayersPanel) {
  EditorRun floating = RunEditor(Scenario("Elements", 8, false, "xp", "floating"));
  ExpectTranscript(floating.transcript, {"subclass"},
                   {{"subclass", R"({"window": "main", "op": "replace"})"},
                    {"subclass", R"({"window": "layers", "op": "replace"})"},
                    {"subclass", R"({"window": "controlBar", "op": "replace"})"},
                    {"subclass", R"({"window": "main", "op": "restore"})"},
                    {"subclass", R"({"window": "layers", "op": "restore"})"},
                    {"subclass", R"({"window": "controlBar", "op": "restore"})"}});
  EditorRun absent = RunEditor(Scenario("Elements", 8, false, "xp", "absent"));
  ExpectTranscript(absent.transcript, {"subclass"},
                   {{"subclass", R"({"window": "main", "op": "replace"})"},
                    {"subclass", R"({"window": "controlBar", "op": "replace"})"},
                    {"subclass", R"({"window": "main", "op": "restore"})"},
                    {"subclass", R"({"window": "controlBar", "op": "restore"})"}});
}

TEST(Startup, WithoutAMainWindowTheUserIsToldAndNoProcedureIsReplaced) {
  Json scenario = Scenario("Elements", 8, false, "xp");
  scenario["host"]["mainWindow"] = false;
  EditorRun run = RunEditor(scenario);
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"message", "hook", "subclass"},
                   {{"message", R"({"title": "Quillbright", "text": "Error: Cannot find Photoshop Elements window!",
                                    "buttons": "OK", "icon": "information", "owner": "none"})"},
                    {"message", R"({"title": "Quillbright", "owner": "none"})"},  // the welcome note
                    {"hook", R"({"op": "install", "type": "keyboard"})"},
                    {"hook", R"({"op": "install", "type": "mouse"})"},
                    {"hook", R"({"op": "remove", "type": "keyboard"})"},
                    {"hook", R"({"op": "remove", "type": "mouse"})"}});
}

}  // namespace
}  // namespace integration
