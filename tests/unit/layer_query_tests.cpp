// The layer and document queries, neutral without a document and true on a
// document that has what they ask about.
#include <cstring>
#include <string>

#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/layer_queries.h"
#include "plugin_fixture.h"

namespace {

using LayerQueryTest = PluginTest;

// Positions count from the bottom layer, 0 first.
constexpr const char* kRichDocument = R"({"documents": [{"title": "rich.psd", "selection": true,
  "layers": [
    {"name": "Background", "kind": "pixel", "background": true},
    {"name": "Title", "kind": "text", "text": {"antiAlias": "AnCr"}},
    {"name": "Smart", "kind": "smartObject", "filterMask": {"enabled": true},
     "smartFilters": [{"name": "Gaussian Blur", "enabled": true}, {"name": "Unsharp Mask", "enabled": false}]},
    {"name": "Group end", "kind": "groupEnd"},
    {"name": "Masked", "kind": "pixel", "userMask": {"enabled": true, "linked": true}, "vectorMask": {"enabled": true}},
    {"name": "Group", "kind": "groupStart"},
    {"name": "Curves 1", "kind": "adjustment", "adjustment": {"class": "curves"}}],
  "target": [4]}]})";

struct Answers {
  bool filterMask, userMask, vectorMask, text, smartObject, group;
  int smartFilters;
};

struct Row {
  int position;
  Answers answers;
};

constexpr Row kRows[] = {
    {0, {false, false, false, false, false, false, 0}},  // background
    {1, {false, false, false, true, false, false, 0}},   // text
    {2, {true, false, false, false, true, false, 2}},    // smart object with two filters
    {3, {false, false, false, false, false, false, 0}},  // a group's end marker is no group
    {4, {false, true, true, false, false, false, 0}},    // masks
    {5, {false, false, false, false, false, true, 0}},   // group start
};

Answers Ask() {
  return {HasFilterMask(), HasUserMask(), HasVectorMask(), IsTextLayer(), IsSmartObjectLayer(),
          IsLayerGroup(), CountSmartFilters()};
}

void ExpectAnswers(const Answers& got, const Answers& want, int position) {
  EXPECT_EQ(got.filterMask, want.filterMask) << "layer " << position;
  EXPECT_EQ(got.userMask, want.userMask) << "layer " << position;
  EXPECT_EQ(got.vectorMask, want.vectorMask) << "layer " << position;
  EXPECT_EQ(got.text, want.text) << "layer " << position;
  EXPECT_EQ(got.smartObject, want.smartObject) << "layer " << position;
  EXPECT_EQ(got.group, want.group) << "layer " << position;
  EXPECT_EQ(got.smartFilters, want.smartFilters) << "layer " << position;
}

TEST_F(LayerQueryTest, NoDocumentGivesNeutralAnswers) {
  StartHost(R"({"documents": []})");
  ExpectAnswers(Ask(), Answers{}, -1);
  EXPECT_FALSE(HasSelection());
  EXPECT_FALSE(HasBackgroundLayer());
  EXPECT_EQ(CountTargetLayers(), 1);
  std::int32_t indices[4] = {-5, -5, -5, -5};
  EXPECT_EQ(GetTargetLayerIndices(indices, 4), 1);
  EXPECT_EQ(indices[0], -5);
  EXPECT_EQ(GetAdjustmentClass(), 0u);
}

TEST_F(LayerQueryTest, EachLayerAnswersWhatItHas) {
  StartHost(kRichDocument);
  for (const Row& row : kRows) {
    sim::ApplyEdit(sim::Json{{"selectLayer", row.position}});
    ExpectAnswers(Ask(), row.answers, row.position);
  }
  EXPECT_TRUE(HasSelection());
  EXPECT_TRUE(HasBackgroundLayer());
}

TEST_F(LayerQueryTest, SmartFiltersAreProbedBeforeVersion8AndListedFrom8) {
  StartHost(kRichDocument);
  sim::ApplyEdit(sim::Json{{"selectLayer", 2}});
  HostMajorVersion = 7;
  Take();
  EXPECT_EQ(CountSmartFilters(), 2);
  const auto probe = Take({"step-begin", "step-end", "play"});
  ASSERT_EQ(probe.size(), 5u);  // the step, two shown filters, the failing third, the end
  EXPECT_EQ(probe[1]["event"], "Shw ");
  EXPECT_NE(probe[3]["result"], 0);
  EXPECT_EQ(probe[4]["kept"], false);

  HostMajorVersion = 8;
  EXPECT_EQ(CountSmartFilters(), 2);
  EXPECT_TRUE(Take({"step-begin", "play"}).empty());

  sim::ApplyEdit(sim::Json{{"selectLayer", 1}});
  HostMajorVersion = 7;
  EXPECT_EQ(CountSmartFilters(), 0);  // not a smart object: no probing
  EXPECT_TRUE(Take({"step-begin"}).empty());
}

TEST_F(LayerQueryTest, TargetLayersAndAdjustmentClass) {
  StartHost(kRichDocument);
  sim::ApplyEdit(sim::Json{{"selectLayers", {1, 4}}});
  EXPECT_EQ(CountTargetLayers(), 2);
  std::int32_t indices[2] = {};
  EXPECT_EQ(GetTargetLayerIndices(indices, 2), 2);
  EXPECT_EQ(indices[0], 1);  // indices as the host gives them, background 0
  EXPECT_EQ(indices[1], 4);
  std::int32_t one[1] = {-1};
  EXPECT_EQ(GetTargetLayerIndices(one, 1), 2);  // the count, but no overrun
  EXPECT_EQ(one[0], 1);

  sim::ApplyEdit(sim::Json{{"selectLayer", 6}});
  EXPECT_EQ(GetAdjustmentClass(), StringToTypeID("curves"));
  char kind[128];
  ASSERT_TRUE(GetAdjustmentKindName(kind, sizeof kind));
  EXPECT_STREQ(kind, "curves");
}

TEST_F(LayerQueryTest, RenameLeavesTheBackgroundAloneAndSelectByIndexAddsToSelection) {
  StartHost(kRichDocument);
  sim::ApplyEdit(sim::Json{{"selectLayer", 0}});
  Take();
  RenameTargetLayer("Renamed");
  EXPECT_TRUE(Take({"play"}).empty());

  sim::ApplyEdit(sim::Json{{"selectLayer", 4}});
  RenameTargetLayer("Renamed");
  char name[64];
  ASSERT_TRUE(GetLayerName(name, sizeof name));
  EXPECT_STREQ(name, "Renamed");
  SelectLayerByIndex(1, false, true);
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"setd","descriptor":[["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["T   ",{"object":"Lyr ","items":[["Nm  ",{"string":"Renamed"}]]}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Lyr ","index":1}]}],["selectionModifier",{"enum":["selectionModifierType","addToSelection"]}],["MkVs",{"bool":false}]],"mode":2,"result":0})"}});
}

}  // namespace
