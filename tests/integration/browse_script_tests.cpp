// Scripts > Browse...: the user picks a script file, which runs through the
// host's JavaScript engine; cancelling the chooser runs nothing.
#include <gtest/gtest.h>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kBrowseScripts = 0x8803;

TEST(BrowseScript, ChosenFileRunsWithoutItsByteOrderMarkCancelRunsNothing) {
  // "app.refresh();" behind a UTF-8 byte-order mark.
  const Json scenario = {
      {"host", {{"version", 8}}},
      {"files", {{"C:\\Users\\Public\\Tidy.jsx", "hex:efbbbf6170702e7265667265736828293b"}}},
      {"answers", {{"files", {"C:\\Users\\Public\\Tidy.jsx", nullptr}}}},
      {"steps", {{{"command", kBrowseScripts}}, {{"command", kBrowseScripts}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"file", "script"},
                   {{"file", R"({"title":"Browse...","answer":"C:\\Users\\Public\\Tidy.jsx"})"},
                    {"script", R"({"text":"app.refresh();","result":0})"},
                    {"file", R"({"title":"Browse...","answer":null})"}});
}

TEST(BrowseScript, AScriptWithASyntaxErrorShowsTheEnginesMessage) {
  // "var = 1;"
  const Json scenario = {
      {"host", {{"version", 8}}},
      {"files", {{"C:\\Users\\Public\\Broken.jsx", "hex:766172203d20313b"}}},
      {"answers", {{"files", {"C:\\Users\\Public\\Broken.jsx"}}}},
      {"steps", {{{"command", kBrowseScripts}}}}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> scripts = OfKind(run.transcript, "script");
  ASSERT_EQ(scripts.size(), 1u);
  EXPECT_EQ(scripts[0]["text"], "var = 1;");
  EXPECT_EQ(scripts[0]["result"], 0x53634572);   // 'ScEr'
  const std::string message = scripts[0].value("message", "");
  EXPECT_TRUE(message.starts_with("SyntaxError: ")) << message;
  std::vector<Json> boxes;   // the first run's welcome note aside
  for (const Json& box : OfKind(run.transcript, "message"))
    if (box["title"] == "JavaScript Error") boxes.push_back(box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]["title"], "JavaScript Error");
  EXPECT_EQ(boxes[0]["text"], message);
  EXPECT_EQ(boxes[0]["buttons"], "OK");
}

}  // namespace
}  // namespace integration
