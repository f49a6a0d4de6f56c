// The mask commands as the host receives them, on the Elements versions that
// build masks differently, and what they leave in the document.
#include <windows.h>

#include <string>
#include <vector>

#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "localization/host_language.h"
#include "localization_support.h"
#include "plugin_fixture.h"

namespace {

class MaskCommandTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    HostIsElements = true;
    HostMajorVersion = 8;
  }
  // One document: a background, then the given layers; the top one targeted.
  void Layers(const std::string& layers, const std::string& document = "", const std::string& answers = "") {
    StartHost((R"({"documents": [{"title": "a.psd")" + document +
               R"(, "layers": [{"name": "Background", "background": true}, )" + layers + "]}]" +
               (answers.empty() ? "" : R"(, "answers": {"messages": [)" + answers + "]}") + "}")
                  .c_str());
  }
  static sim::Json Doc() { return sim::ModelState()["documents"][0]; }
  static sim::Json Top() { return Doc()["layers"].back(); }
};

constexpr const char* kPhoto = R"({"name": "Photo"})";
constexpr const char* kSelected = R"(, "selection": true)";

// ---- Lines ----

#define PLAY(event, descriptor) R"({"kind":"play","event":")" event R"(","descriptor":)" descriptor R"(,"mode":2,"result":0})"
#define REFUSED(event, descriptor) \
  R"({"kind":"play","event":")" event R"(","descriptor":)" descriptor R"(,"mode":2,"result":-25920})"
#define SELECTION R"({"ref":[{"class":"Chnl","property":"fsel"}]})"
#define TARGET_LAYER R"({"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]})"
#define MAKE_MASK(value) \
  R"([["Nw  ",{"class":"Chnl"}],["At  ",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["Usng",{"enum":["UsrM",")" value R"("]}]])"
#define WORK_PATH R"([["null",{"ref":[{"class":"Path"}]}],["From",)" SELECTION R"(],["Tlrn",{"unit":"#Pxl","value":2.0}]])"
#define VECTOR_MASK_OF_TARGET \
  R"({"ref":[{"class":"Path","enum":["Path","vectorMask"]},{"class":"Lyr ","enum":["Ordn","Trgt"]}]})"

constexpr ExpectedLine kRevealAll{PLAY("Mk  ", MAKE_MASK("RvlA"))};
constexpr ExpectedLine kHideAll{PLAY("Mk  ", MAKE_MASK("HdAl"))};
constexpr ExpectedLine kRevealSelection{PLAY("Mk  ", MAKE_MASK("RvlS"))};
constexpr ExpectedLine kHideSelection{PLAY("Mk  ", MAKE_MASK("HdSl"))};
constexpr ExpectedLine kRevealAllRefused{REFUSED("Mk  ", MAKE_MASK("RvlA"))};
constexpr ExpectedLine kRevealSelectionRefused{REFUSED("Mk  ", MAKE_MASK("RvlS"))};
constexpr ExpectedLine kInvert{PLAY("Invr", "null")};
constexpr ExpectedLine kInverse{PLAY("Invs", "null")};
constexpr ExpectedLine kSelectAll{PLAY("setd", R"([["null",)" SELECTION R"(],["T   ",{"enum":["Ordn","Al  "]}]])")};
constexpr ExpectedLine kDeselect{PLAY("setd", R"([["null",)" SELECTION R"(],["T   ",{"enum":["Ordn","None"]}]])")};
constexpr ExpectedLine kLoadTransparency{
    PLAY("setd", R"([["null",)" SELECTION R"(],["T   ",{"ref":[{"class":"Chnl","enum":["Chnl","Trsp"]}]}]])")};
constexpr ExpectedLine kLoadTransparencyRefused{
    REFUSED("setd", R"([["null",)" SELECTION R"(],["T   ",{"ref":[{"class":"Chnl","enum":["Chnl","Trsp"]}]}]])")};
constexpr ExpectedLine kSelectMask{
    PLAY("slct", R"([["null",{"ref":[{"class":"Chnl","enum":["Ordn","Msk "]}]}],["MkVs",{"bool":false}]])")};
constexpr ExpectedLine kDeleteTargetChannel{
    PLAY("Dlt ", R"([["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}]])")};
constexpr ExpectedLine kApplyTargetChannel{
    PLAY("Dlt ", R"([["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}],["Aply",{"bool":true}]])")};
constexpr ExpectedLine kMaskOff{
    PLAY("setd", R"([["null",)" TARGET_LAYER R"(],["T   ",{"object":"Lyr ","items":[["UsrM",{"bool":false}]]}]])")};
constexpr ExpectedLine kMaskOn{
    PLAY("setd", R"([["null",)" TARGET_LAYER R"(],["T   ",{"object":"Lyr ","items":[["UsrM",{"bool":true}]]}]])")};
constexpr ExpectedLine kUnlink{
    PLAY("setd", R"([["null",)" TARGET_LAYER R"(],["T   ",{"object":"Lyr ","items":[["Usrs",{"bool":false}]]}]])")};
constexpr ExpectedLine kLink{
    PLAY("setd", R"([["null",)" TARGET_LAYER R"(],["T   ",{"object":"Lyr ","items":[["Usrs",{"bool":true}]]}]])")};
constexpr ExpectedLine kMakeWorkPath{PLAY("Mk  ", WORK_PATH)};
constexpr ExpectedLine kMakeWorkPathRefused{REFUSED("Mk  ", WORK_PATH)};
constexpr ExpectedLine kMakeVectorMask{
    PLAY("Mk  ", R"([["null",{"ref":[{"class":"Path"}]}],["At  ",{"ref":[{"class":"Path","enum":["Path","vectorMask"]}]}],)"
                 R"(["Usng",{"ref":[{"class":"Path","enum":["Ordn","Trgt"]}]}]])")};
constexpr ExpectedLine kDeleteVectorMask{PLAY("Dlt ", R"([["null",)" VECTOR_MASK_OF_TARGET "]]")};
#define LOAD_VECTOR_MASK \
  R"([["null",)" SELECTION R"(],["T   ",)" VECTOR_MASK_OF_TARGET R"(],["Vrsn",{"int":1}],["vectorMaskParams",{"bool":true}]])"
constexpr ExpectedLine kLoadVectorMask{PLAY("setd", LOAD_VECTOR_MASK)};
constexpr ExpectedLine kLoadVectorMaskRefused{REFUSED("setd", LOAD_VECTOR_MASK)};
constexpr ExpectedLine kDeleteTargetLayer{PLAY("Dlt ", R"([["null",)" TARGET_LAYER "]]")};
constexpr ExpectedLine kConvertBackground{
    PLAY("setd", R"([["null",{"ref":[{"class":"Lyr ","property":"Bckg"}]}],["T   ",{"object":"Lyr ","items":[)"
                 R"(["Opct",{"unit":"#Prc","value":100.0}],["Md  ",{"enum":["BlnM","Nrml"]}]]}]])")};
constexpr ExpectedLine kSelectFilterMask{
    PLAY("slct", R"([["null",{"ref":[{"class":"Chnl","enum":["Chnl","filterMask"]}]}],["MkVs",{"bool":false}]])")};
constexpr ExpectedLine kFillWhite{
    PLAY("Fl  ", R"([["Usng",{"enum":["FlCn","Wht "]}],["Opct",{"unit":"#Prc","value":100.0}],["Md  ",{"enum":["BlnM","Nrml"]}]])")};
constexpr ExpectedLine kIntersectWithMask{
    PLAY("Intr", R"([["null",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["With",)" SELECTION
                 R"(],["Vrsn",{"int":1}],["maskParameters",{"bool":true}]])")};
constexpr ExpectedLine kSimplify{
    PLAY("rasterizeLayer", R"([["null",)" TARGET_LAYER R"(],["What",{"enum":["rasterizeItem","placed"]}]])")};

// ---- Adding a layer mask ----

struct AddCase {
  int version;
  MaskKind kind;
  bool selection;
  std::vector<ExpectedLine> lines;
  const char* reveals;     // the new mask's area
  bool selectionAfter;
};

// Elements 8 builds every kind from a reveal-all mask; 9 asks for each kind.
const AddCase kAddCases[] = {
    {8, MaskKind::RevealAll, true, {kRevealAll}, "all", true},
    {8, MaskKind::HideAll, true, {kRevealAll, kInvert, kInverse, kInvert, kInverse}, "none", true},
    {8, MaskKind::HideAll, false, {kRevealAll, kInvert}, "none", false},
    {8, MaskKind::RevealSelection, true, {kRevealAll, kInverse, kInvert, kDeselect}, "selection", false},
    {8, MaskKind::RevealSelection, false, {kRevealAll}, "all", false},
    {8, MaskKind::HideSelection, true, {kRevealAll, kInvert, kDeselect}, "not selection", false},
    {8, MaskKind::HideSelection, false, {kRevealAll, kInvert, kDeselect}, "none", false},
    {9, MaskKind::RevealAll, true, {kRevealAll}, "all", true},
    {9, MaskKind::HideAll, true, {kHideAll}, "none", true},
    {9, MaskKind::HideAll, false, {kHideAll}, "none", false},
    {9, MaskKind::RevealSelection, true, {kRevealSelection}, "selection", false},
    {9, MaskKind::HideSelection, true, {kHideSelection}, "not selection", false},
    {12, MaskKind::HideSelection, true, {kHideSelection}, "not selection", false},
};

TEST_F(MaskCommandTest, AddingALayerMaskByKindAndVersion) {
  for (const AddCase& c : kAddCases) {
    SCOPED_TRACE("Elements " + std::to_string(c.version) + ", kind " + std::to_string(int(c.kind)) +
                 (c.selection ? ", with a selection" : ", without a selection"));
    Layers(kPhoto, c.selection ? kSelected : "");
    HostMajorVersion = c.version;
    EXPECT_EQ(AddLayerMask(c.kind), 0);
    ExpectLines(Take({"play"}), c.lines);
    const sim::Json doc = Doc();
    EXPECT_EQ(doc["layers"][1]["userMask"]["reveals"], c.reveals);
    EXPECT_EQ(doc["layers"][1].value("inverted", 0), 0) << "the pixels were inverted";
    EXPECT_EQ(doc["selection"], c.selectionAfter);
  }
}

TEST_F(MaskCommandTest, AMaskTheHostRefusesEndsTheCommandBeforeAnyInversion) {
  // Elements 8 would invert the layer's own pixels without its new mask.
  Layers(R"({"name": "Masked", "userMask": {"enabled": true, "linked": true}})", kSelected);
  const sim::Json before = sim::ModelState();
  EXPECT_EQ(AddLayerMask(MaskKind::HideAll), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kRevealAllRefused});
  EXPECT_EQ(sim::ModelState(), before);

  // Elements 9 refuses a selection mask without a selection.
  Layers(kPhoto);
  HostMajorVersion = 9;
  EXPECT_EQ(AddLayerMask(MaskKind::RevealSelection), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kRevealSelectionRefused});
  EXPECT_TRUE(Top()["userMask"].is_null());
}

TEST_F(MaskCommandTest, MaskFromTransparency) {
  Layers(kPhoto);
  EXPECT_EQ(AddLayerMaskFromTransparency(), 0);
  ExpectLines(Take({"play"}), {kLoadTransparency, kRevealAll, kInverse, kInvert, kDeselect, kDeselect});
  EXPECT_EQ(Top()["userMask"]["reveals"], "transparency of Photo");
  EXPECT_EQ(Doc()["selection"], false);

  Layers(kPhoto);
  HostMajorVersion = 9;
  EXPECT_EQ(AddLayerMaskFromTransparency(), 0);
  ExpectLines(Take({"play"}), {kLoadTransparency, kRevealSelection, kDeselect});
  EXPECT_EQ(Top()["userMask"]["reveals"], "transparency of Photo");
  EXPECT_EQ(Doc()["selection"], false);

  // No target layer: nothing loaded, so no mask is made from it.
  Layers(kPhoto, R"(, "target": [])");
  HostMajorVersion = 8;
  EXPECT_EQ(AddLayerMaskFromTransparency(), -25920);
  ExpectLines(Take({"play"}), {kLoadTransparencyRefused});
}

// ---- The layer mask's own commands ----

constexpr const char* kMasked = R"({"name": "Masked", "userMask": {"enabled": true, "linked": true, "reveals": "not selection"}})";

TEST_F(MaskCommandTest, DeletingAndApplyingTheMask) {
  Layers(kMasked);
  EXPECT_EQ(MaskDelete(), 0);
  ExpectLines(Take({"play"}), {kSelectMask, kDeleteTargetChannel});
  EXPECT_TRUE(Top()["userMask"].is_null());
  EXPECT_EQ(Top().value("appliedMasks", 0), 0);

  Layers(kMasked);
  EXPECT_EQ(MaskApply(), 0);
  ExpectLines(Take({"play"}), {kSelectMask, kApplyTargetChannel});
  EXPECT_TRUE(Top()["userMask"].is_null());
  EXPECT_EQ(Top()["appliedMasks"], 1);
}

constexpr ExpectedLine kSelectMaskRefused{
    REFUSED("slct", R"([["null",{"ref":[{"class":"Chnl","enum":["Ordn","Msk "]}]}],["MkVs",{"bool":false}]])")};

TEST_F(MaskCommandTest, WithoutAMaskDeleteAndApplyStopBeforeTheTargetedChannel) {
  // A saved selection is the edited channel: deleting "the target channel"
  // would delete it.
  for (auto command : {MaskDelete, MaskApply}) {
    Layers(kPhoto, R"(, "channels": [{"name": "Alpha 1", "area": "selection"}])");
    ASSERT_EQ(SelectChannelByName("Alpha 1"), 0);
    Take();
    EXPECT_EQ(command(), host::kInterruptedError);
    ExpectLines(Take({"play"}), {kSelectMaskRefused});
    EXPECT_EQ(Doc()["channels"], sim::Json::parse(R"([{"name": "Alpha 1", "area": "selection"}])"));
    EXPECT_EQ(Top().value("appliedMasks", 0), 0);
  }
}

TEST_F(MaskCommandTest, DisableAndUnlinkToggleAndTwiceLeaveTheMaskAsItWas) {
  Layers(kMasked);
  const sim::Json mask = Top()["userMask"];
  EXPECT_EQ(MaskToggleEnabled(), 0);
  EXPECT_EQ(Top()["userMask"]["enabled"], false);
  EXPECT_EQ(MaskToggleEnabled(), 0);
  ExpectLines(Take({"play"}), {kMaskOff, kMaskOn});
  EXPECT_EQ(Top()["userMask"], mask);

  EXPECT_EQ(MaskToggleLinked(), 0);
  EXPECT_EQ(Top()["userMask"]["linked"], false);
  EXPECT_EQ(MaskToggleLinked(), 0);
  ExpectLines(Take({"play"}), {kUnlink, kLink});
  EXPECT_EQ(Top()["userMask"], mask);
}

TEST_F(MaskCommandTest, LoadingTheLayerMaskAsTheSelection) {
  Layers(kMasked);
  EXPECT_EQ(LoadLayerMaskAsSelection(), 0);
  ExpectLines(Take({"play"}), {kSelectAll, kIntersectWithMask});
  EXPECT_EQ(Doc()["selectionArea"], "not selection");
}

// ---- Vector masks ----

TEST_F(MaskCommandTest, VectorMaskFromSelection) {
  for (int version : {8, 9}) {
    SCOPED_TRACE(version);
    HostMajorVersion = version;
    Layers(kPhoto, kSelected);
    EXPECT_EQ(VectorMaskFromSelection(), 0);
    ExpectLines(Take({"play"}), {kMakeWorkPath, kMakeVectorMask});
    EXPECT_EQ(Top()["vectorMask"], sim::Json::parse(R"({"enabled": true, "area": "selection"})"));
    EXPECT_EQ(Doc()["workPath"], "selection");

    // An old vector mask goes first.
    Layers(R"({"name": "Photo", "vectorMask": {"enabled": false, "area": "old"}})", kSelected);
    EXPECT_EQ(VectorMaskFromSelection(), 0);
    ExpectLines(Take({"play"}), {kMakeWorkPath, kDeleteVectorMask, kMakeVectorMask});
    EXPECT_EQ(Top()["vectorMask"]["area"], "selection");

    // Without a selection nothing is played.
    Layers(R"({"name": "Photo", "vectorMask": {"enabled": true, "area": "old"}})");
    EXPECT_EQ(VectorMaskFromSelection(), host::kInterruptedError);
    EXPECT_TRUE(Take({"play"}).empty());
  }
}

TEST_F(MaskCommandTest, VectorMaskFromSelectionOnOldHostsKeepsTheOldMaskWhenNoPathIsMade) {
  // Below 6 the selection is not asked about first; the refused path ends
  // the command before the old mask is deleted.
  HostMajorVersion = 5;
  Layers(R"({"name": "Photo", "vectorMask": {"enabled": true, "area": "old"}})");
  EXPECT_EQ(VectorMaskFromSelection(), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kMakeWorkPathRefused});
  EXPECT_EQ(Top()["vectorMask"]["area"], "old");
}

constexpr const char* kShape = R"({"name": "Shape 1", "kind": "shape", "vectorMask": {"enabled": true}})";

TEST_F(MaskCommandTest, VectorMaskFromShapeOverTheBackground) {
  StartHost((std::string(R"({"documents": [{"layers": [{"name": "Background", "background": true}, )") + kShape + "]}]}")
                .c_str());
  EXPECT_EQ(VectorMaskFromShape(), 0);
  ExpectLines(Take({"play"}), {kLoadVectorMask, kDeleteTargetLayer, kMakeWorkPath, kDeselect, kConvertBackground,
                               kMakeVectorMask});
  const sim::Json doc = Doc();
  ASSERT_EQ(doc["layers"].size(), 1u);
  EXPECT_EQ(doc["layers"][0]["background"], false);
  EXPECT_EQ(doc["layers"][0]["vectorMask"], sim::Json::parse(R"({"enabled": true, "area": "vector mask of Shape 1"})"));
  EXPECT_EQ(doc["selection"], false);
}

TEST_F(MaskCommandTest, VectorMaskFromShapeReplacesTheOldMaskOfTheLayerBelow) {
  Layers(std::string(R"({"name": "Photo", "vectorMask": {"enabled": true, "area": "old"}}, )") + kShape);
  EXPECT_EQ(VectorMaskFromShape(), 0);
  ExpectLines(Take({"play"}),
              {kLoadVectorMask, kDeleteTargetLayer, kMakeWorkPath, kDeselect, kDeleteVectorMask, kMakeVectorMask});
  EXPECT_EQ(Top()["name"], "Photo");
  EXPECT_EQ(Top()["vectorMask"]["area"], "vector mask of Shape 1");
}

TEST_F(MaskCommandTest, VectorMaskFromShapeStopsWhenTheOutlineCannotBeLoaded) {
  Layers(kPhoto);
  const sim::Json before = sim::ModelState();
  EXPECT_EQ(VectorMaskFromShape(), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kLoadVectorMaskRefused});
  EXPECT_EQ(sim::ModelState(), before);
}

// ---- Filter mask ----

TEST_F(MaskCommandTest, ClearingTheFilterMaskFillsItWhite) {
  Layers(R"({"name": "Smart", "kind": "smartObject", "smartFilters": [{"name": "Blur"}],
             "filterMask": {"enabled": true, "reveals": "none"}})");
  EXPECT_EQ(ClearFilterMask(), 0);
  ExpectLines(Take({"play"}), {kSelectFilterMask, kSelectAll, kFillWhite, kDeselect});
  EXPECT_EQ(Top()["filterMask"]["reveals"], "all");
  EXPECT_EQ(Doc()["selection"], false);
}

// ---- Failing steps end the named commands ----

// The masked layer's document with faults of the scenario's form.
std::string WithFaults(const std::string& layer, const char* faults) {
  return R"({"documents": [{"title": "a.psd", "layers": [{"name": "Background", "background": true}, )" + layer +
         R"(]}], "faults": )" + faults + "}";
}

TEST_F(MaskCommandTest, ATogglesUnreadFlagOrRefusedChangeEndsTheCommand) {
  // The flag's Get fails: nothing is played, and the step is to be dropped.
  StartHost(WithFaults(kMasked, R"([{"suite": "control", "call": "Get"}])").c_str());
  EXPECT_EQ(MaskToggleEnabled(), host::kInterruptedError);
  EXPECT_EQ(MaskToggleLinked(), 0);   // the fault has fired: the next read works
  EXPECT_EQ(Top()["userMask"]["enabled"], true);
  EXPECT_EQ(Top()["userMask"]["linked"], false);
  ExpectLines(Take({"play"}), {kUnlink});

  StartHost(WithFaults(kMasked, R"([{"event": "setd"}])").c_str());
  EXPECT_EQ(MaskToggleEnabled(), host::kInterruptedError);
  EXPECT_EQ(Top()["userMask"]["enabled"], true);
}

TEST_F(MaskCommandTest, AMaskPartThatCannotBeReadOrPlayedEndsTheCommand) {
  // Elements 8 builds from the selection: unread, it is not taken for none,
  // and no mask is made.
  StartHost(WithFaults(kPhoto, R"([{"suite": "control", "call": "Get"}])").c_str());
  sim::ApplyEdit(sim::Json::parse(R"({"selection": true})"));
  EXPECT_EQ(AddLayerMask(MaskKind::RevealSelection), host::kInterruptedError);
  EXPECT_TRUE(Take({"play"}).empty());
  StartHost(WithFaults(kPhoto, R"([{"suite": "control", "call": "Get"}])").c_str());
  EXPECT_NE(AddLayerMaskFromTransparency(), 0);
  // A refused inversion of the mask from transparency ends it too.
  StartHost(WithFaults(kPhoto, R"([{"event": "Invr"}])").c_str());
  EXPECT_NE(AddLayerMaskFromTransparency(), 0);

  // Without the host's identifier of a key, nothing is played.
  StartHost(WithFaults(kMasked, R"([{"suite": "control", "call": "StringIDToTypeID"}])").c_str());
  EXPECT_NE(LoadLayerMaskAsSelection(), 0);
  EXPECT_TRUE(Take({"play"}).empty());
  StartHost(WithFaults(std::string(R"({"name": "Photo"}, )") + kShape,
                       R"([{"suite": "control", "call": "StringIDToTypeID"}])").c_str());
  EXPECT_NE(LoadVectorMaskAsSelection(kDialogNone), 0);
  EXPECT_TRUE(Take({"play"}).empty());
}

TEST_F(MaskCommandTest, ClearingTheFilterMaskStopsAtTheFirstFailingStep) {
  const std::string smart = R"({"name": "Smart", "kind": "smartObject", "smartFilters": [{"name": "Blur"}],
                                "filterMask": {"enabled": true, "reveals": "none"}})";
  // Not selected, the filter mask is not what would be filled.
  StartHost(WithFaults(smart, R"([{"event": "slct"}])").c_str());
  EXPECT_EQ(ClearFilterMask(), host::kInterruptedError);
  EXPECT_EQ(Take({"play"}).size(), 1u);
  // Filled but still selected: the step is dropped rather than kept so.
  StartHost(WithFaults(smart, R"([{"event": "setd", "nth": 2}])").c_str());
  EXPECT_EQ(ClearFilterMask(), host::kInterruptedError);
  StartHost(WithFaults(smart, R"([{"event": "Fl  "}])").c_str());
  EXPECT_EQ(ClearFilterMask(), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kSelectFilterMask, kSelectAll,
                               {REFUSED("Fl  ", R"([["Usng",{"enum":["FlCn","Wht "]}],["Opct",{"unit":"#Prc","value":100.0}],["Md  ",{"enum":["BlnM","Nrml"]}]])")}});
}

TEST_F(MaskCommandTest, AVectorMaskFromAShapeThatCannotGoIsNotMadeOnTheShape) {
  StartHost(WithFaults(std::string(R"({"name": "Photo"}, )") + kShape, R"([{"event": "Dlt "}])").c_str());
  EXPECT_EQ(VectorMaskFromShape(), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kLoadVectorMask, {REFUSED("Dlt ", R"([["null",)" TARGET_LAYER "]]")}});
  // An old mask that cannot be deleted is not made over.
  StartHost(WithFaults(R"({"name": "Photo", "vectorMask": {"enabled": true, "area": "old"}})",
                       R"([{"event": "Dlt "}])").c_str());
  sim::ApplyEdit(sim::Json::parse(R"({"selection": true})"));
  EXPECT_EQ(VectorMaskFromSelection(), host::kInterruptedError);
  ExpectLines(Take({"play"}), {kMakeWorkPath, {REFUSED("Dlt ", R"([["null",)" VECTOR_MASK_OF_TARGET "]]")}});
}

TEST_F(MaskCommandTest, AMaskFromTransparencyNeedsTheTransparencyLoadedAndInverted) {
  // The transparency cannot be loaded: no mask from the old selection.
  StartHost(WithFaults(kPhoto, R"([{"event": "setd"}])").c_str());
  EXPECT_NE(AddLayerMaskFromTransparency(), 0);
  ExpectLines(Take({"play"}), {kLoadTransparencyRefused});
  EXPECT_TRUE(Top()["userMask"].is_null());
  // Elements 8 builds it: without the inverse the mask is not inverted.
  StartHost(WithFaults(kPhoto, R"([{"event": "Invs"}])").c_str());
  EXPECT_NE(AddLayerMaskFromTransparency(), 0);
  ExpectLines(Take({"play"}), {kLoadTransparency, kRevealAll, {REFUSED("Invs", "null")}, kDeselect});
}

TEST_F(MaskCommandTest, TheLayerMaskIsNotLoadedIntoWhatWasSelectedBefore) {
  StartHost(WithFaults(kMasked, R"([{"event": "setd"}])").c_str());
  EXPECT_NE(LoadLayerMaskAsSelection(), 0);
  EXPECT_EQ(Take({"play"}).size(), 1u);   // no intersection played
}

TEST_F(MaskCommandTest, AVectorMaskReferenceNeedsTheHostsIdentifier) {
  StartHost(WithFaults(R"({"name": "Photo", "vectorMask": {"enabled": true}})",
                       R"([{"suite": "control", "call": "StringIDToTypeID"}])").c_str());
  EXPECT_NE(DeleteVectorMask(), 0);
  EXPECT_TRUE(Take({"play"}).empty());
  EXPECT_TRUE(Top()["vectorMask"].is_object());
}

// ---- Steps as the host receives them ----

struct StepCase {
  const char* what;
  std::int32_t (*run)();
  ExpectedLine line;
};

const StepCase kSteps[] = {
    {"layer mask channel as selection", [] { return LoadChannelAsSelection(FourCC("Msk ")); },
     {PLAY("setd", R"([["null",)" SELECTION R"(],["T   ",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}]])")}},
    {"save with a name, the host's dialog", [] { return SaveSelectionAsChannel("Keep", kDialogShow); },
     {R"({"kind":"play","event":"Dplc","descriptor":[["null",)" SELECTION R"(],["Nm  ",{"string":"Keep"}]],"mode":1,"result":0})"}},
    {"load by name", [] { return LoadSelectionFromNamedChannel("Keep"); },
     {PLAY("setd", R"([["null",)" SELECTION R"(],["T   ",{"ref":[{"class":"Chnl","name":"Keep"}]}]])")}},
    {"save unnamed", [] { return SaveSelectionAsChannel(nullptr, kDialogNone); },
     {PLAY("Dplc", R"([["null",)" SELECTION "]]")}},
    {"luminosity", [] { return LoadChannelAsSelection(FourCC("RGB ")); },
     {PLAY("setd", R"([["null",)" SELECTION R"(],["T   ",{"ref":[{"class":"Chnl","enum":["Chnl","RGB "]}]}]])")}},
    {"select by name", [] { return SelectChannelByName("Keep"); },
     {PLAY("slct", R"([["null",{"ref":[{"class":"Chnl","name":"Keep"}]}]])")}},
    {"vector mask off", [] { return SetVectorMaskEnabled(false); },
     {PLAY("setd", R"([["null",)" TARGET_LAYER R"(],["T   ",{"object":"Lyr ","items":[["vectorMaskEnabled",{"bool":false}]]}]])")}},
    {"rasterize vector mask", RasterizeVectorMask,
     {PLAY("rasterizeLayer", R"([["null",)" TARGET_LAYER R"(],["What",{"enum":["rasterizeItem","vectorMask"]}]])")}},
    {"select the filter mask", SelectFilterMask, kSelectFilterMask},
    {"filter mask off", [] { return SetFilterMaskEnabled(false); },
     {PLAY("setd", R"([["null",)" TARGET_LAYER R"(],["T   ",{"object":"Lyr ","items":[["filterMaskEnable",{"bool":false}]]}]])")}},
    {"delete by name", [] { return DeleteLayer("Smart"); },
     {PLAY("Dlt ", R"([["null",{"ref":[{"class":"Lyr ","name":"Smart"}]}]])")}},
};

TEST_F(MaskCommandTest, StepsPlayTheirDescriptorsAndReportTheHostsResult) {
  // In this order each step finds what it needs in the document.
  Layers(R"({"name": "Smart", "kind": "smartObject", "filterMask": {"enabled": true}},
            {"name": "Masked", "userMask": {"enabled": true, "linked": true, "reveals": "selection"},
             "vectorMask": {"enabled": true, "area": "selection"}})",
         kSelected);
  sim::ApplyEdit(sim::Json::parse(R"({"selectLayer": "Masked"})"));
  SelectLayerMask();
  Take();
  for (const StepCase& s : kSteps) {
    SCOPED_TRACE(s.what);
    if (std::string(s.what) == "select the filter mask") sim::ApplyEdit(sim::Json::parse(R"({"selectLayer": "Smart"})"));
    if (std::string(s.what) == "delete by name") sim::ApplyEdit(sim::Json::parse(R"({"selectLayer": "Masked"})"));
    EXPECT_EQ(s.run(), 0);
    ExpectLines(Take({"play"}), {s.line});
  }
  const sim::Json doc = Doc();
  EXPECT_EQ(doc["channels"], sim::Json::parse(R"([{"name": "Keep", "area": "selection"}, {"name": "Alpha 1", "area": "selection"}])"));
  ASSERT_EQ(doc["layers"].size(), 2u);
  EXPECT_EQ(doc["layers"][1]["userMask"]["reveals"], "selection");
  EXPECT_TRUE(doc["layers"][1]["vectorMask"].is_null());

  // A refusal is the host's code.
  EXPECT_EQ(RasterizeVectorMask(), -25920);
  EXPECT_EQ(LoadSelectionFromNamedChannel(nullptr), host::kBadParameterError);
}

// ---- Before a smart object is edited ----

constexpr const char* kSmart = R"({"name": "Smart", "kind": "smartObject", "smartFilters": [{"name": "Blur"}], "filterMask": {}})";

constexpr ExpectedLine kSimplifyQuestion{
    R"({"kind":"message","title":"Simplify","text":"This Smart Layer must be simplified before it can be\nedited. Would you like to proceed?",)"
    R"("buttons":"OKCANCEL","icon":"none","owner":"main","answer":"OK"})"};
constexpr ExpectedLine kSimplifyQuestionCancelled{
    R"({"kind":"message","title":"Simplify","text":"This Smart Layer must be simplified before it can be\nedited. Would you like to proceed?",)"
    R"("buttons":"OKCANCEL","icon":"none","owner":"main","answer":"Cancel"})"};
constexpr ExpectedLine kSimplifyQuestionGerman{
    R"({"kind":"message","title":"Ebene Vereinfachen","text":"Diese Ebene muss vereinfacht werden, bevor sie bearbeitet werden\nkann. Möchten Sie die Ebene vereinfachen?",)"
    R"("buttons":"OKCANCEL","icon":"none","owner":"main","answer":"OK"})"};

class EditableLayerTest : public MaskCommandTest {
 protected:
  void SetUp() override {
    MaskCommandTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kEditorClass;
    RegisterClassA(&wc);
    main_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kEditorClass, "", WS_POPUP, 0, 0, 200, 100,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(main_, nullptr) << "error " << GetLastError();
  }
  void TearDown() override {
    sim::SetMainWindow(nullptr);
    if (main_) DestroyWindow(main_);
    UnregisterClassA(kEditorClass, GetModuleHandleA(nullptr));
    MaskCommandTest::TearDown();
  }
  static constexpr const char* kEditorClass = "MaskTestEditor";
  void Start(const char* layer, const char* answer = "") {
    Layers(layer, "", answer);
    MainWindow = main_;
    sim::SetMainWindow(main_);
  }
  HWND main_ = nullptr;
};

TEST_F(EditableLayerTest, APixelOrTextLayerIsEditableAsItIs) {
  for (const char* layer : {kPhoto, R"({"name": "Title", "kind": "text"})"}) {
    Start(layer);
    EXPECT_EQ(EnsureEditableLayer(), 1);
    EXPECT_TRUE(Take({"play", "message"}).empty());
  }
}

TEST_F(EditableLayerTest, ASmartObjectIsSimplifiedWhenTheUserAgrees) {
  Start(kSmart, R"("OK")");
  EXPECT_EQ(EnsureEditableLayer(), -2);
  ExpectLines(Take({"message", "play"}), {kSimplifyQuestion, kSimplify});
  const sim::Json layer = Top();
  EXPECT_EQ(layer["kind"], "pixel");
  EXPECT_EQ(layer["smartFilters"], sim::Json::array());
  EXPECT_TRUE(layer["filterMask"].is_null());
}

TEST_F(EditableLayerTest, CancelLeavesTheSmartObjectAndStopsTheCaller) {
  Start(kSmart, R"("Cancel")");
  const sim::Json before = sim::ModelState();
  EXPECT_EQ(EnsureEditableLayer(), 0);
  ExpectLines(Take({"message", "play"}), {kSimplifyQuestionCancelled});
  EXPECT_EQ(sim::ModelState(), before);
}

TEST_F(EditableLayerTest, AGermanHostAsksInGerman) {
  TempFolder host;
  MakeFolder(host / "Zusatzmodule");
  ASSERT_TRUE(DetectGermanHostIn((host.path() + "\\").c_str()));
  HostIsGerman = true;
  UseGermanMessages(true);
  Start(kSmart, R"("OK")");
  EXPECT_EQ(EnsureEditableLayer(), -2);
  ExpectLines(Take({"message", "play"}), {kSimplifyQuestionGerman, kSimplify});
}

}  // namespace

namespace {

// Editors before 9 build the other kinds of mask from a reveal-all one: a
// step of that building that fails ends the command, so that its named step
// is dropped rather than kept with a mask of another kind.
TEST_F(MaskCommandTest, AFailingStepOfBuildingAMaskEndsTheCommand) {
  struct Case {
    MaskKind kind;
    const char* faults;
    size_t plays;   // the events played, the failing one the last
  };
  const Case cases[] = {
      {MaskKind::HideAll, R"([{"event": "Invs", "nth": 2}])", 5},
      {MaskKind::HideAll, R"([{"event": "Invr", "nth": 1}])", 2},
      {MaskKind::RevealSelection, R"([{"event": "Invr"}])", 3},
      {MaskKind::HideSelection, R"([{"event": "setd"}])", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.faults);
    StartHost((R"({"documents": [{"title": "a.psd", "selection": true, "layers": [{"name": "Background", "background": true}, {"name": "Photo"}]}], "faults": )" +
               std::string(c.faults) + "}")
                  .c_str());
    EXPECT_EQ(AddLayerMask(c.kind), host::kInterruptedError);
    EXPECT_EQ(Take({"play"}).size(), c.plays);
  }
}

TEST_F(MaskCommandTest, AFailingDeleteOrApplyEndsTheCommand) {
  StartHost(WithFaults(kMasked, R"([{"event": "Dlt "}])").c_str());
  EXPECT_EQ(MaskDelete(), host::kInterruptedError);
  EXPECT_EQ(MaskApply(), 0);   // the fault has fired: the next delete works
}

}  // namespace

namespace {

TEST_F(MaskCommandTest, AnUnreadSelectionEndsBuildingAMaskThatDependsOnIt) {
  // The selection's Get fails: in editor 8 nothing is played, rather than a
  // reveal-all mask made for a reveal-selection one.
  StartHost(R"({"documents": [{"title": "a.psd", "selection": true, "layers": [{"name": "Background", "background": true}, {"name": "Photo"}]}],
                "faults": [{"suite": "control", "call": "Get"}]})");
  EXPECT_EQ(AddLayerMask(MaskKind::RevealSelection), host::kInterruptedError);
  EXPECT_TRUE(Take({"play"}).empty());
  // No selection is an answer, not a failure.
  Layers(kPhoto);
  EXPECT_EQ(AddLayerMask(MaskKind::RevealSelection), 0);
  EXPECT_EQ(Top()["userMask"]["reveals"], "all");
}

}  // namespace

namespace {

TEST_F(MaskCommandTest, ASelectionOfTheWholeImageRevealsTheWholeLayerInEditor8) {
  // Inverted, a full selection is none, and inverting the mask then would
  // hide everything the selection revealed.
  Layers(kPhoto, R"(, "selection": true, "selectionArea": "all")");
  EXPECT_EQ(AddLayerMask(MaskKind::RevealSelection), 0);
  EXPECT_EQ(Top()["userMask"]["reveals"], "all");
  EXPECT_FALSE(Doc()["selection"].get<bool>());
  ExpectLines(Take({"play"}), {kRevealAll, kInverse});
}

}  // namespace
