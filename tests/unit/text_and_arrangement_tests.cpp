// The text, arrangement and document commands against the simulated host:
// the host's answers read back into menu states and dialog values, and the
// fall-back of Stamp Visible when the host stamps nothing.
#include <string>
#include <vector>

#include "commands/channels.h"
#include "commands/document_commands.h"
#include "commands/layer_arrangement.h"
#include "commands/text_commands.h"
#include "host/event_keys.h"
#include "plugin_fixture.h"

namespace {

// ---- The pure pieces ----

TEST(CommandEnumerations, EveryNumberAndNameMapOntoEachOtherAndNothingElseMaps) {
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    EXPECT_FALSE(AntiAliasMethod(k).empty());
    EXPECT_EQ(AntiAliasNumber(AntiAliasMethod(k)), k);
    for (int other = 0; other < k; ++other) EXPECT_NE(AntiAliasMethod(other), AntiAliasMethod(k));
  }
  for (int k = 0; k < 6; ++k)
    for (int other = 0; other < k; ++other) EXPECT_NE(AlignmentOf(other), AlignmentOf(k));
  // Out of range, nothing is named and so nothing can be played.
  for (int k : {-1, 5, 1000}) EXPECT_TRUE(AntiAliasMethod(k).empty()) << k;
  for (int k : {-1, 6}) EXPECT_TRUE(AlignmentOf(k).empty()) << k;
  EXPECT_EQ(AntiAliasNumber(""), -1);
  EXPECT_EQ(AntiAliasNumber("antiAlias"), -1);   // a prefix is no method
  EXPECT_EQ(AntiAliasNumber("AnCr "), -1);
}

TEST(CommandEnumerations, ShortIdentifiersArePaddedCodesAndLongOnesAreNoCodes) {
  EXPECT_EQ(CodeOfIdentifier("Mk"), host::FourCC("Mk  "));
  EXPECT_EQ(CodeOfIdentifier("T"), host::FourCC("T   "));
  EXPECT_EQ(CodeOfIdentifier("AntA"), host::FourCC("AntA"));
  EXPECT_EQ(CodeOfIdentifier("antiAliasSharp"), 0u);
  EXPECT_EQ(CodeOfIdentifier("trimX"), 0u);
  EXPECT_EQ(CodeOfIdentifier("~box"), 0u);   // a short string identifier
  EXPECT_EQ(CodeOfIdentifier(""), 0u);
}

TEST(ChannelMaskBits, AChannelIndexSetsItsBitAndIndicesPast31WrapRound) {
  EXPECT_EQ(ChannelBit(1) | ChannelBit(2) | ChannelBit(3), kAllColorBits);
  EXPECT_EQ(ChannelBit(0), 1u);
  EXPECT_EQ(ChannelBit(31), 0x80000000u);
  EXPECT_EQ(ChannelBit(32), 1u);
  EXPECT_EQ(ChannelBit(33), kRedBit);
  EXPECT_EQ(ChannelBit(0xFFFFFFFFu), 0x80000000u);   // never a shift past the word
}

// ---- Against the host ----

class TextAndArrangementTest : public PluginTest {
 protected:
  // One document: a background, then the given layers, the top one
  // targeted.
  void Layers(const std::string& layers, const std::string& document = "", const std::string& faults = "") {
    StartHost((R"({"documents": [{"title": "a.psd")" + document +
               R"(, "layers": [{"name": "Background", "background": true}, )" + layers + "]}]" +
               (faults.empty() ? "" : R"(, "faults": [)" + faults + "]") + "}")
                  .c_str());
  }
  static sim::Json Doc() { return sim::ModelState()["documents"][0]; }
  std::vector<std::string> PlayedEvents() {
    std::vector<std::string> events;
    for (const sim::Json& line : Take({"play"})) events.push_back(line["event"].get<std::string>() + " " +
                                                                  std::to_string(line["result"].get<int>()));
    return events;
  }
};

TEST_F(TextAndArrangementTest, TheTextQueriesReadWhatTheHostKeepsAndNothingOnOtherLayers) {
  const char* methods[] = {"Anno", "AnCr", "antiAliasSharp", "AnSt", "AnSm"};
  for (int k = 0; k < 5; ++k) {
    Layers(std::string(R"({"name": "Title", "kind": "text", "text": {"antiAlias": ")") + methods[k] +
           R"(", "paragraph": )" + (k % 2 ? "true" : "false") + R"(, "tracking": )" + std::to_string(k * 25 - 50) +
           "}}");
    SCOPED_TRACE(methods[k]);
    EXPECT_EQ(GetTextAntiAlias(), k);
    EXPECT_EQ(GetTextShapeKind(), k % 2 ? kParagraphText : kPointText);
    EXPECT_EQ(GetTracking(), k * 25 - 50);
  }
  Layers(R"({"name": "Photo"})");
  EXPECT_EQ(GetTextAntiAlias(), -1);
  EXPECT_EQ(GetTextShapeKind(), kNoTextShape);
  EXPECT_EQ(GetTracking(), 0);
  // A method the module has no item for is no setting of its.
  Layers(R"({"name": "Title", "kind": "text", "text": {"antiAlias": "Nrml"}})");
  EXPECT_EQ(GetTextAntiAlias(), -1);
  EXPECT_TRUE(Take({"error", "misuse"}).empty());
}

TEST_F(TextAndArrangementTest, TrackingAndTextKindSetThroughTheHostReadBack) {
  Layers(R"({"name": "Title", "kind": "text", "text": {"tracking": 0}})");
  EXPECT_EQ(SetTracking(-120), 0);
  EXPECT_EQ(GetTracking(), -120);
  EXPECT_EQ(ToggleTextType(), 0);
  EXPECT_EQ(GetTextShapeKind(), kParagraphText);
  EXPECT_EQ(ToggleTextType(), 0);
  EXPECT_EQ(GetTextShapeKind(), kPointText);
  EXPECT_EQ(SetTextAntiAlias(2), 0);
  EXPECT_EQ(GetTextAntiAlias(), 2);
  EXPECT_EQ(SetTextAntiAlias(7), host::kBadParameterError);   // nothing played for it
  EXPECT_EQ(PlayedEvents(), (std::vector<std::string>{"setd 0", "setd 0", "setd 0", "setd 0"}));
  EXPECT_TRUE(Take({"error", "misuse"}).empty());
}

TEST_F(TextAndArrangementTest, StampVisibleOfOneLayerCopiesItWithItsMaskApplied) {
  StartHost(R"({"documents": [{"layers": [{"name": "Sky", "userMask": {}}]}]})");
  EXPECT_EQ(StampVisible(), 0);
  EXPECT_EQ(PlayedEvents(), (std::vector<std::string>{"MrgV 0", "Dplc 0", "slct 0", "Dlt  0"}));
  const sim::Json layers = Doc()["layers"];
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_TRUE(layers[0]["userMask"].is_object());   // the user's own layer keeps its mask
  EXPECT_EQ(layers[1]["name"], "Sky copy");
  EXPECT_TRUE(layers[1]["userMask"].is_null());
  EXPECT_EQ(layers[1].value("appliedMasks", 0), 1);
}

TEST_F(TextAndArrangementTest, StampVisibleWhoseCopyFailedAppliesNoMaskOfTheUsersLayer) {
  Layers(R"({"name": "Sky", "userMask": {}})", "", R"({"event": "MrgV", "nth": 1, "error": -25920},
                                                    {"event": "Dplc", "nth": 1, "error": -25920})");
  EXPECT_NE(StampVisible(), 0);
  EXPECT_EQ(PlayedEvents(), (std::vector<std::string>{"MrgV -25920", "Dplc -25920"}));
  const sim::Json layers = Doc()["layers"];
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_TRUE(layers[1]["userMask"].is_object());
}

TEST_F(TextAndArrangementTest, StampVisibleThatStampedKeepsTheStampAlone) {
  Layers(R"({"name": "Sky", "userMask": {}})");
  EXPECT_EQ(StampVisible(), 0);
  EXPECT_EQ(PlayedEvents(), (std::vector<std::string>{"MrgV 0"}));
  const sim::Json layers = Doc()["layers"];
  ASSERT_EQ(layers.size(), 3u);
  EXPECT_EQ(layers[2]["merged"], sim::Json::array({"Background", "Sky"}));
  EXPECT_TRUE(layers[1]["userMask"].is_object());
}

TEST_F(TextAndArrangementTest, ProofColorsProofsTheDocumentsProfileOrSrgbWhenItHasNone) {
  Layers(R"({"name": "Sky"})", R"x(, "profile": "Adobe RGB (1998)")x");
  EXPECT_EQ(ProofColors(), 0);
  EXPECT_EQ(Doc()["proofProfile"], "Adobe RGB (1998)");
  Layers(R"({"name": "Sky"})", R"(, "profile": null)");
  EXPECT_EQ(ProofColors(), 0);
  EXPECT_EQ(Doc()["proofProfile"], kSrgbProfile);
  EXPECT_TRUE(Take({"error", "misuse"}).empty());
}

TEST_F(TextAndArrangementTest, FillOpacityIsReadAsTheHostKeepsItAndMinusOneWithoutALayer) {
  Layers(R"({"name": "Sky", "fillOpacity": 128})");
  EXPECT_EQ(GetFillOpacity(), 128);
  StartHost(R"({"documents": []})");
  EXPECT_EQ(GetFillOpacity(), -1);
}

TEST_F(TextAndArrangementTest, ANewDocumentIsMadeAsAskedAndTheClipboardDocumentStopsAtItsFirstFailure) {
  StartHost(R"({"documents": [], "clipboard": null})");
  EXPECT_EQ(NewDocument("Preview", 320, 200), 0);
  const sim::Json doc = Doc();
  EXPECT_EQ(doc["title"], "Preview");
  EXPECT_EQ(doc["width"], 320);
  EXPECT_EQ(doc["height"], 200);
  EXPECT_EQ(doc["profile"], kSrgbProfile);
  EXPECT_EQ(NewDocumentFromClipboard(), -25920);   // nothing to make it of
  EXPECT_EQ(sim::ModelState()["documents"].size(), 1u);
  EXPECT_TRUE(Take({"error", "misuse"}).empty());
}

}  // namespace
