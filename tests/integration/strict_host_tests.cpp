// The editor refuses what the real host refuses: a plug-in's malformed or
// unknown event is answered with the host's error and leaves an `error` line
// naming the fault; the document's own refusal is the host's ordinary answer
// and no fault of the plug-in.
#include <gtest/gtest.h>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

TEST(StrictHost, APluginsMistakesAreRefusedAndNamedTheDocumentsRefusalIsNot) {
  const Json scenario = Json::parse(R"({"documents": [{"title": "a.psd",
      "layers": [{"name": "Background", "background": true}], "target": [0]}],
      "steps": [{"select": "Do It"}, {"state": true}]})");
  const std::vector<ExpectedLine> expected = {
      {"play", R"({"event": "Mrg3", "result": -1708})"},
      {"error", R"({"event": "Mrg3", "text": "an event the host does not know"})"},
      {"play", R"({"event": "setd", "result": -1700})"},
      {"error", R"({"event": "setd", "key": "Opct"})"},
      {"play", R"({"event": "setd", "result": -1700})"},
      {"error", R"({"event": "setd", "key": "Md  "})"},
      {"play", R"({"event": "Dlt ", "result": -1700})"},
      {"error", R"({"event": "Dlt ", "key": "null"})"},
      {"play", R"({"event": "setd", "result": -1700})"},
      {"error", R"({"event": "setd", "key": "Vsbk"})"},
      {"play", R"({"event": "Mk  ", "result": -25920})"},
  };
  EditorRun run = RunEditor(scenario, {L"--plugin", BinFolder() + L"\\careless_plugin.8li"}, ProblemsIn(expected));
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"play", "error"}, expected);
  // Nothing of it reached the document.
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  const Json& layer = states[0]["documents"][0]["layers"][0];
  EXPECT_EQ(layer["opacity"], 255);
  EXPECT_TRUE(layer.value("userMask", Json()).is_null());
}

}  // namespace
}  // namespace integration
