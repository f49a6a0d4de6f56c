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
                    {"script", R"({"text":"app.refresh();"})"},
                    {"file", R"({"title":"Browse...","answer":null})"}});
}

}  // namespace
}  // namespace integration
