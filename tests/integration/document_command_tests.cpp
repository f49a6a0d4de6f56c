// The commands that show the host's own dialog, answered OK and Cancel: OK
// leaves the host's work in the document as one step, Cancel leaves the
// document as it was. And Proof Colors with the document's profile or
// without one, and Show All of the Channels submenu by the visible channels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {
namespace {

constexpr int kRow = 0x8800;

// A background, a text layer and two photos, both photos targeted.
Json Poster(const Json& extra = Json::object()) {
  Json doc = {{"title", "Poster.psd"},
              {"layers",
               {{{"name", "Background"}, {"background", true}},
                {{"name", "Title"}, {"kind", "text"}},
                {{"name", "Photo"}},
                {{"name", "Photo 2"}}}},
              {"target", {2, 3}}};
  for (auto it = extra.begin(); it != extra.end(); ++it) doc[it.key()] = it.value();
  return doc;
}

struct DialogCommand {
  const char* name;
  int row;
  const char* event;      // as the transcript writes it
  const char* stepName;   // the history state OK leaves
  int version;
};

const DialogCommand kDialogCommands[] = {
    {"Spell Check", 8, "spellCheck", "Check Spelling", 8},
    {"Find and Replace Text", 9, "findReplace", "Find and Replace Text", 8},
    {"Auto-Blend Layers", 12, "mergeAlignedLayers", "Auto-Blend Layers", 8},
    {"Trim", 13, "trim", "Trim", 8},
    {"Apply Image", 23, "AppI", "Apply Image", 11},
    {"Custom Pixel Aspect Ratio", 112, "setd", "Pixel Aspect Ratio", 8},
};

TEST(HostDialogCommands, OkKeepsTheHostsWorkAndCancelLeavesTheDocumentAsItWas) {
  for (const DialogCommand& c : kDialogCommands) {
    for (const bool cancel : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (cancel ? ", cancelled" : ", OK"));
      Json scenario = {{"host", {{"version", c.version}}},
                       {"documents", {Poster()}},
                       {"steps", {{{"state", true}}, {{"command", kRow + c.row}}, {{"state", true}}}}};
      if (cancel) scenario["answers"] = {{"hostDialogs", {{c.event, "cancel"}}}};
      EditorRun run = RunEditor(scenario);
      ASSERT_EQ(run.exitCode, 0) << run.errorText;
      const std::vector<Json> plays = OfKind(run.transcript, "play");
      ASSERT_EQ(plays.size(), 1u);
      EXPECT_EQ(plays[0]["event"], c.event);
      EXPECT_EQ(plays[0]["mode"], 1) << "the host's dialog is shown";
      EXPECT_EQ(plays[0]["result"], cancel ? -128 : 0);
      const std::vector<Json> states = OfKind(run.transcript, "state");
      ASSERT_EQ(states.size(), 2u);
      const Json& before = states[0]["documents"][0];
      const Json& after = states[1]["documents"][0];
      if (cancel) {
        EXPECT_EQ(after, before);
      } else {
        EXPECT_EQ(after["history"].back(), c.stepName);
        EXPECT_EQ(after["history"].size(), before["history"].size() + 1);
      }
    }
  }
}

TEST(HostDialogCommands, ProofColorsProofsTheDocumentsProfileAndSrgbWhenItCannotBeRead) {
  for (const Json& profile : {Json("Adobe RGB (1998)"), Json()}) {
    SCOPED_TRACE(profile.dump());
    EditorRun run = RunEditor({{"host", {{"version", 8}}},
                               {"documents", {Poster({{"profile", profile}})}},
                               {"steps", {{{"command", kRow + 111}}, {{"state", true}}}}});
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> plays = OfKind(run.transcript, "play");
    ASSERT_EQ(plays.size(), 1u);
    const std::string expected = profile.is_null() ? "sRGB IEC61966-2.1" : profile.get<std::string>();
    EXPECT_EQ(plays[0]["event"], "proofSetup");
    EXPECT_EQ(plays[0]["mode"], 1);
    EXPECT_EQ(plays[0]["descriptor"],
              Json::parse(R"([["Prfl",{"string":")" + expected + R"("}],["preserve",{"bool":true}]])"));
    EXPECT_EQ(OfKind(run.transcript, "state")[0]["documents"][0]["proofProfile"], expected);
  }
}

// Show All turns back to the channel chosen before only when exactly the
// three colour channels are visible (the mask 14); otherwise it shows them.
TEST(HostDialogCommands, ShowAllReadsTheVisibleColourChannelsAsTheirMask) {
  const int kShowAll = kRow + 22;
  const struct {
    Json visible;
    const char* event;
  } cases[] = {{Json::parse(R"(["Rd  ","Grn ","Bl  "])"), "slct"}, {Json::parse(R"(["Rd  "])"), "Shw "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.visible.dump());
    EditorRun run = RunEditor({{"host", {{"version", 8}}},
                               {"documents", {Poster({{"visibleChannels", c.visible}})}},
                               {"steps", {{{"command", kShowAll}}, {{"state", true}}}}});
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> plays = OfKind(run.transcript, "play");
    ASSERT_FALSE(plays.empty());
    EXPECT_EQ(plays[0]["event"], c.event);
    EXPECT_EQ(OfKind(run.transcript, "state")[0]["documents"][0]["visibleChannels"],
              Json::parse(R"(["Rd  ","Grn ","Bl  "])"));
  }
}

}  // namespace
}  // namespace integration
