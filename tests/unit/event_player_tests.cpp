// Reading properties and playing events against the simulated host.
#include <cstring>
#include <string>

#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/host_objects.h"
#include "plugin_fixture.h"

namespace {

using EventPlayerTest = PluginTest;

std::string OneDocument(const std::string& fields) {
  return R"({"documents": [{"title": "a.psd", )" + fields + "}]}";
}

TEST_F(EventPlayerTest, TextThatJustFitsIsReadOneMoreCharacterIsRefused) {
  StartHost(OneDocument(R"("layers": [{"name": "123456789", "kind": "pixel"}])").c_str());
  char fits[10];
  ASSERT_TRUE(GetLayerName(fits, sizeof fits));
  EXPECT_STREQ(fits, "123456789");

  char tooSmall[9] = "unchangd";
  EXPECT_FALSE(GetLayerName(tooSmall, sizeof tooSmall));
  EXPECT_STREQ(tooSmall, "unchangd");
  std::uint32_t extra = 9;
  EXPECT_EQ(GetTargetProperty(FourCC("Lyr "), FourCC("Nm  "), tooSmall, &extra), host::kBadParameterError);
  EXPECT_EQ(GetTargetProperty(FourCC("Lyr "), FourCC("Nm  "), nullptr, &extra), host::kBadParameterError);
}

TEST_F(EventPlayerTest, LayerFlagsAndTheBackgroundLayersName) {
  StartHost(OneDocument(R"("layers": [{"name": "Background", "kind": "pixel", "background": true}])").c_str());
  EXPECT_TRUE(IsBackgroundLayer());
  char name[64];
  ASSERT_TRUE(GetLayerName(name, sizeof name));
  EXPECT_STREQ(name, "Background");
  EXPECT_FALSE(IsAdjustmentLayer());
  EXPECT_FALSE(IsLayerMaskEnabled());

  StartHost(OneDocument(R"("layers": [{"name": "Back", "kind": "pixel", "background": true},
      {"name": "Top", "kind": "pixel", "visible": true, "grouped": true,
       "userMask": {"enabled": true, "linked": true}, "blendMode": "Mltp"}])").c_str());
  EXPECT_FALSE(IsBackgroundLayer());
  EXPECT_TRUE(IsLayerVisible());
  EXPECT_TRUE(IsLayerGrouped());
  EXPECT_TRUE(IsLayerMaskEnabled());
  EXPECT_TRUE(IsLayerMaskLinked());
  EXPECT_EQ(GetLayerBlendMode(), FourCC("Mltp"));
  char title[260];
  ASSERT_TRUE(GetDocumentTitle(title, sizeof title));
  EXPECT_STREQ(title, "a.psd");
}

TEST_F(EventPlayerTest, NoDocumentGivesThePresets) {
  StartHost(R"({"documents": []})");
  EXPECT_EQ(GetLayerOpacityPercent(), 100);
  EXPECT_EQ(GetLayerBlendMode(), 0u);
  EXPECT_FALSE(IsBackgroundLayer());
  EXPECT_FALSE(IsLayerVisible());
  EXPECT_EQ(GetDocumentColorMode(), -1);
  EXPECT_EQ(GetDocumentInteger(FourCC("Dpth")), -1);
  std::int32_t width = 7;
  EXPECT_NE(ReadDocumentWidth(&width), 0);
  EXPECT_EQ(width, 7);
}

TEST_F(EventPlayerTest, OpacityInPercentTruncates) {
  struct Row { int opacity; int percent; };
  for (const Row row : {Row{0, 0}, Row{128, 50}, Row{255, 100}, Row{3, 1}}) {
    StartHost(OneDocument(R"("layers": [{"name": "L", "kind": "pixel", "opacity": )" +
                          std::to_string(row.opacity) + "}]").c_str());
    EXPECT_EQ(GetLayerOpacityPercent(), row.percent) << "opacity " << row.opacity;
  }
}

TEST_F(EventPlayerTest, ColorModeByNameAndDepth) {
  struct Row { const char* mode; int depth; int expected; };
  constexpr Row rows[] = {
      {"RGBColor", 8, 3},   {"RGBColor", 16, 11},  {"RGBColor", 32, 16}, {"grayScale", 32, 17},
      {"grayScale", 16, 10}, {"labColor", 8, 9},   {"labColor", 16, 12}, {"CMYKColor", 16, 13},
      {"indexedColor", 8, 2}, {"bitmap", 8, 0},    {"duotone", 16, 15},  {"halftoneScreen", 8, -1},
  };
  for (const Row& row : rows) {
    StartHost(OneDocument(std::string(R"("mode": ")") + row.mode + R"(", "depth": )" +
                          std::to_string(row.depth)).c_str());
    EXPECT_EQ(GetDocumentColorMode(), row.expected) << row.mode << " " << row.depth;
  }
}

TEST_F(EventPlayerTest, DocumentSizeThroughThePropertySuite) {
  StartHost(OneDocument(R"("width": 640, "height": 480)").c_str());
  std::int32_t width = 0, height = 0;
  EXPECT_EQ(ReadDocumentWidth(&width), 0);
  EXPECT_EQ(ReadDocumentHeight(&height), 0);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
}

TEST_F(EventPlayerTest, TextHandlesRoundTripAndCutToTheBuffer) {
  host::Handle raw = nullptr;
  ASSERT_EQ(MakeTextHandle("C:\\Temp\\x.psd", &raw), 0);
  HandleHolder handle(raw);
  char whole[260];
  CopyHandleText(handle.get(), whole, sizeof whole);
  EXPECT_STREQ(whole, "C:\\Temp\\x.psd");
  char cut[5];
  CopyHandleText(handle.get(), cut, sizeof cut);
  EXPECT_STREQ(cut, "C:\\T");
  char empty[4] = "abc";
  CopyHandleText(nullptr, empty, sizeof empty);
  EXPECT_STREQ(empty, "");
}

TEST_F(EventPlayerTest, APathItemIsReadAsAnAlias) {
  StartHost(OneDocument(R"("path": "C:\\Temp\\x.psd")").c_str());
  HandleHolder alias;
  ASSERT_EQ(GetTargetProperty(FourCC("Dcmn"), FourCC("File"), alias.out(), nullptr), 0);
  ASSERT_TRUE(alias);
  char path[260];
  CopyHandleText(alias.get(), path, sizeof path);
  EXPECT_STREQ(path, "C:\\Temp\\x.psd");

  StartHost(OneDocument(R"("path": null)").c_str());  // never saved: no path, nothing read
  HandleHolder none;
  EXPECT_NE(GetTargetProperty(FourCC("Dcmn"), FourCC("File"), none.out(), nullptr), 0);
  EXPECT_FALSE(none);
}

TEST_F(EventPlayerTest, SelectChannelPlaysOnceOrExtendsTheSelection) {
  StartHost(OneDocument(R"("layers": [{"name": "L", "kind": "pixel"}])").c_str());
  EXPECT_EQ(SelectChannel(FourCC("Rd  "), 0), 0);
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","Rd  "]}]}]],"mode":2,"result":0})"}});
  EXPECT_EQ(SelectChannel(FourCC("Rd  "), FourCC("Grn ")), 0);
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","Rd  "]}]}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","Grn "]}]}],["Extd",{"bool":true}]],"mode":2,"result":0})"}});
}

TEST_F(EventPlayerTest, FixedEventsAsTheHostReceivesThem) {
  StartHost(OneDocument(R"("layers": [{"name": "B", "kind": "pixel", "background": true},
      {"name": "L", "kind": "pixel", "userMask": {"enabled": true, "linked": true}}])").c_str());
  EXPECT_EQ(SelectLayerMask(), 0);
  EXPECT_EQ(DuplicateLayer(), 0);
  EXPECT_EQ(InvertImage(), 0);
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Msk "]}]}],["MkVs",{"bool":false}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"Dplc","descriptor":[["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"Invr","descriptor":null,"mode":2,"result":0})"}});
}

TEST_F(EventPlayerTest, MergeEventByHostAndVersion) {
  struct Row { bool photoshop; int version; const char* event; };
  constexpr Row rows[] = {{false, 4, "MrgL"}, {false, 5, "Mrg2"}, {false, 8, "Mrg2"},
                          {true, 8, "MrgL"},  {true, 9, "Mrg2"}};
  StartHost(OneDocument(R"("layers": [{"name": "B", "kind": "pixel"}, {"name": "T", "kind": "pixel"}])").c_str());
  for (const Row& row : rows) {
    HostIsPhotoshop = row.photoshop;
    HostIsElements = !row.photoshop;
    HostMajorVersion = row.version;
    MergeLayers();
    const auto lines = Take({"play"});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["event"], row.event) << row.version;
  }
}

std::int32_t DuplicateThenCancel(const char*) {
  DuplicateLayer();
  return host::kInterruptedError;
}
std::int32_t DuplicateAndKeep(const char*) { return DuplicateLayer(); }

TEST_F(EventPlayerTest, AFailingNamedStepIsDroppedAndTheDocumentIsAsBefore) {
  StartHost(OneDocument(R"("layers": [{"name": "L", "kind": "pixel"}], "history": ["Open"])").c_str());
  const sim::Json before = sim::ModelState();
  SetNamedCommandRunner(DuplicateThenCancel);
  EXPECT_NE(RunNamedHistoryStep("Duplicate", "Duplicate Layer"), 0);  // the host reports the drop
  ExpectLines(Take({"step-begin", "step-end"}),
              {{R"({"kind":"step-begin","name":"Duplicate Layer"})"},
               {R"({"kind":"step-end","name":"Duplicate Layer","result":1768846450,"kept":false})"}});
  EXPECT_EQ(sim::ModelState(), before);

  SetNamedCommandRunner(DuplicateAndKeep);
  RunNamedHistoryStep("Duplicate", nullptr);
  ExpectLines(Take({"step-begin", "step-end"}),
              {{R"({"kind":"step-begin","name":"Duplicate"})"},
               {R"({"kind":"step-end","name":"Duplicate","result":0,"kept":true})"}});
  EXPECT_NE(sim::ModelState(), before);
}

TEST_F(EventPlayerTest, FadeIsNamedAfterTheStepItFadesWithoutDoublingThePrefix) {
  SetNamedCommandRunner(DuplicateAndKeep);
  struct Row { const char* history; const char* step; };
  constexpr Row rows[] = {{R"(["Open", "Levels"])", "Fade Levels"},
                          {R"(["Open", "Fade Levels"])", "Fade Levels"},
                          {R"(["Open", "Fader"])", "Fade Fader"}};
  for (const Row& row : rows) {
    StartHost(OneDocument(std::string(R"("layers": [{"name": "L", "kind": "pixel"}], "history": )") + row.history).c_str());
    char current[128] = {};
    ASSERT_TRUE(GetCurrentHistoryStateName(current));
    RunNamedHistoryStep("Fade", "ignored");
    const auto lines = Take({"step-begin"});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["name"], row.step) << row.history;
  }
}

}  // namespace
