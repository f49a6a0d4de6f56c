// Mask, path and selection events against the document model: what they
// change, and what the host refuses.
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

// Layers bottom to top; the target is "Photo". Editor 11 makes every kind
// of layer mask.
const Json kLayers = Json::parse(R"({"host":{"version":11},"documents":[{
  "title":"masks.psd",
  "layers":[{"name":"Background","background":true},
            {"name":"Masked","userMask":{}},
            {"name":"Smart","kind":"smartObject","smartFilters":[{"name":"Blur"}],"filterMask":{}},
            {"name":"Photo"}],
  "target":[3]}]})");

class MaskEvents : public HostTest {
 protected:
  void SetUp() override { StartHost(kLayers); }

  // Plays an event with a descriptor given in the transcript's form.
  host::OSErr Play(const char* event, const char* descriptor) {
    host::Descriptor d = descriptor ? sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(descriptor))) : nullptr;
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), d, 2);
    if (result) desc->Free(result);
    if (d) desc->Free(d);
    return e;
  }
  void Edit(const char* edit) { sim::ApplyEdit(Json::parse(edit)); }
  Json Layer(const char* name) {
    const Json doc = Document();
    for (const auto& l : doc["layers"])
      if (l["name"] == name) return l;
    return Json();
  }
};

constexpr const char* kSelection = R"({"ref":[{"class":"Chnl","property":"fsel"}]})";

std::string LoadSelection(const char* from) {
  return std::string(R"([["null",)") + kSelection + R"(],["T   ",{"ref":)" + from + "}]]";
}

struct Refusal {
  const char* what;
  const char* edit;   // a hand edit first (target, selection), or null
  const char* event;
  std::string descriptor;
  host::OSErr code;
};

constexpr const char* kMakeMask =
    R"([["Nw  ",{"class":"Chnl"}],["At  ",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["Usng",{"enum":["UsrM","%s"]}]])";

std::string MakeMask(const char* how) {
  std::string text = kMakeMask;
  text.replace(text.find("%s"), 2, how);
  return text;
}

std::string SetLayer(const char* key) {
  return std::string(R"([["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["T   ",{"object":"Lyr ","items":[[")") +
         key + R"(",{"bool":false}]]}]])";
}

const std::string kVectorMaskOfTarget =
    R"([{"class":"Path","enum":["Path","vectorMask"]},{"class":"Lyr ","enum":["Ordn","Trgt"]}])";
const std::string kWorkPath =
    std::string(R"([["null",{"ref":[{"class":"Path"}]}],["From",)") + kSelection + R"(],["Tlrn",{"unit":"#Pxl","value":2.0}]])";
const std::string kVectorMask =
    R"([["null",{"ref":[{"class":"Path"}]}],["At  ",{"ref":[{"class":"Path","enum":["Path","vectorMask"]}]}],)"
    R"(["Usng",{"ref":[{"class":"Path","enum":["Ordn","Trgt"]}]}]])";

std::string Rasterize(const char* what) {
  return std::string(R"([["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["What",{"enum":["rasterizeItem",")") +
         what + R"("]}]])";
}

TEST_F(MaskEvents, RefusedEventsGiveTheHostsCodeAndLeaveTheModelAlone) {
  const Refusal refusals[] = {
      {"a mask on the background", R"({"selectLayer":"Background"})", "Mk  ", MakeMask("RvlA"), -25920},
      {"a second layer mask", R"({"selectLayer":"Masked"})", "Mk  ", MakeMask("HdAl"), -25920},
      {"reveal selection without one", nullptr, "Mk  ", MakeMask("RvlS"), -25920},
      {"hide selection without one", nullptr, "Mk  ", MakeMask("HdSl"), -25920},
      {"a work path without a selection", nullptr, "Mk  ", kWorkPath, -25920},
      {"a vector mask without a work path", nullptr, "Mk  ", kVectorMask, -25920},
      {"no vector mask to delete", nullptr, "Dlt ", R"([["null",{"ref":)" + kVectorMaskOfTarget + "}]]", -25920},
      {"no vector mask to load", nullptr, "setd", LoadSelection(kVectorMaskOfTarget.c_str()), -25920},
      {"no vector mask to rasterize", nullptr, "rasterizeLayer", Rasterize("vectorMask"), -25920},
      {"simplifying a pixel layer", nullptr, "rasterizeLayer", Rasterize("placed"), -25920},
      {"enabling a missing layer mask", nullptr, "setd", SetLayer("UsrM"), -25920},
      {"unlinking a missing layer mask", nullptr, "setd", SetLayer("Usrs"), -25920},
      {"a missing vector mask", nullptr, "setd", SetLayer("vectorMaskEnabled"), -25920},
      {"a missing filter mask", R"({"selectLayer":"Masked"})", "setd", SetLayer("filterMaskEnable"), -25920},
      {"inverse of no selection", nullptr, "Invs", "[]", -25920},
      {"saving no selection", nullptr, "Dplc", std::string(R"([["null",)") + kSelection + "]]", -25920},
      {"loading a missing channel", nullptr, "setd", LoadSelection(R"([{"class":"Chnl","name":"Alpha 1"}])"), -1728},
      {"loading a missing layer mask", nullptr, "setd",
       LoadSelection(R"([{"class":"Chnl","enum":["Chnl","Msk "]}])"), -25920},
      {"intersecting with a missing mask", R"({"selection":true})", "Intr",
       std::string(R"([["null",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["With",)") + kSelection + "]]",
       -25920},
  };
  for (const Refusal& r : refusals) {
    StartHost(kLayers);
    if (r.edit) Edit(r.edit);
    const Json before = sim::ModelState();
    EXPECT_EQ(Play(r.event, r.descriptor.c_str()), r.code) << r.what;
    EXPECT_EQ(sim::ModelState(), before) << r.what;
  }
  // A document without a background has none to convert.
  StartHost(Json::parse(R"({"documents":[{"layers":[{"name":"Only"}]}]})"));
  const Json before = sim::ModelState();
  EXPECT_EQ(Play("setd", R"([["null",{"ref":[{"class":"Lyr ","property":"Bckg"}]}],["T   ",{"object":"Lyr ","items":[]}]])"),
            -1728);
  EXPECT_EQ(sim::ModelState(), before);
  // Colour channels are the document's own.
  StartHost(Json::parse(R"({"documents":[{"mode":"grayScale","layers":[{"name":"Only"}]}]})"));
  EXPECT_EQ(Play("setd", LoadSelection(R"([{"class":"Chnl","enum":["Chnl","Rd  "]}])").c_str()), -1728);
  EXPECT_EQ(Play("setd", LoadSelection(R"([{"class":"Chnl","enum":["Chnl","RGB "]}])").c_str()), -1728);
}

TEST_F(MaskEvents, AVectorMaskNeedsALayerWithoutOneAndNoBackground) {
  Edit(R"({"selection":true})");
  ASSERT_EQ(Play("Mk  ", kWorkPath.c_str()), 0);
  EXPECT_EQ(Document()["workPath"], "selection");
  ASSERT_EQ(Play("Mk  ", kVectorMask.c_str()), 0);
  EXPECT_EQ(Layer("Photo")["vectorMask"], Json::parse(R"({"enabled":true,"area":"selection"})"));
  const Json once = sim::ModelState();
  EXPECT_EQ(Play("Mk  ", kVectorMask.c_str()), -25920);   // the old one is never replaced
  Edit(R"({"selectLayer":"Background"})");
  EXPECT_EQ(Play("Mk  ", kVectorMask.c_str()), -25920);
  Edit(R"({"selectLayer":"Photo"})");
  EXPECT_EQ(sim::ModelState(), once);
}

TEST_F(MaskEvents, SelectionAreasFollowWhatTheyWereLoadedFrom) {
  // The layer's transparency, inverted, saved, dropped and loaded back.
  ASSERT_EQ(Play("setd", LoadSelection(R"([{"class":"Chnl","enum":["Chnl","Trsp"]}])").c_str()), 0);
  ASSERT_EQ(Play("Invs", nullptr), 0);
  ASSERT_EQ(Play("Dplc", (std::string(R"([["null",)") + kSelection + "]]").c_str()), 0);
  ASSERT_EQ(Play("setd", (std::string(R"([["null",)") + kSelection + R"(],["T   ",{"enum":["Ordn","None"]}]])").c_str()), 0);
  EXPECT_EQ(Document()["selection"], false);
  EXPECT_FALSE(Document().contains("selectionArea"));
  ASSERT_EQ(Play("setd", LoadSelection(R"([{"class":"Chnl","name":"Alpha 1"}])").c_str()), 0);
  Json doc = Document();
  EXPECT_EQ(doc["channels"], Json::parse(R"([{"name":"Alpha 1","area":"not transparency of Photo"}])"));
  EXPECT_EQ(doc["selectionArea"], "not transparency of Photo");
  EXPECT_EQ(doc["history"], Json::parse(R"(["Open","Load Selection","Inverse","Save Selection","Deselect","Load Selection"])"));

  // Intersecting with a mask over another base gives an area of both.
  Edit(R"({"selectLayer":"Masked"})");
  ASSERT_EQ(Play("Intr", (std::string(R"([["null",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["With",)") +
                          kSelection + "]]").c_str()),
            0);
  EXPECT_EQ(Document()["selectionArea"], "not transparency of Photo");   // the mask reveals all
  ASSERT_EQ(Play("setd", LoadSelection(R"([{"class":"Chnl","enum":["Chnl","Rd  "]}])").c_str()), 0);
  EXPECT_EQ(Document()["selectionArea"], "channel Rd");
  ASSERT_EQ(Play("Intr", (std::string(R"([["null",{"ref":[{"class":"Chnl","name":"Alpha 1"}]}],["With",)") +
                          kSelection + "]]").c_str()),
            0);
  EXPECT_EQ(Document()["selectionArea"], "mixed");
  // Deselecting nothing is no step.
  ASSERT_EQ(Play("setd", (std::string(R"([["null",)") + kSelection + R"(],["T   ",{"enum":["Ordn","None"]}]])").c_str()), 0);
  const size_t states = Document()["history"].size();
  ASSERT_EQ(Play("setd", (std::string(R"([["null",)") + kSelection + R"(],["T   ",{"enum":["Ordn","None"]}]])").c_str()), 0);
  EXPECT_EQ(Document()["history"].size(), states);
}

TEST_F(MaskEvents, MasksMadeFromTheSelectionTakeItAndBecomeTheEditedChannel) {
  Edit(R"({"selection":true})");
  ASSERT_EQ(Play("Mk  ", MakeMask("HdSl").c_str()), 0);
  Json doc = Document();
  EXPECT_EQ(doc["layers"][3]["userMask"], Json::parse(R"({"enabled":true,"linked":true,"reveals":"not selection"})"));
  EXPECT_EQ(doc["selection"], false);
  EXPECT_EQ(doc["targetChannels"], Json::array({"Msk "}));
  // Inverting now reaches the mask, not the pixels.
  ASSERT_EQ(Play("Invr", nullptr), 0);
  EXPECT_EQ(Layer("Photo")["userMask"]["reveals"], "selection");
  EXPECT_FALSE(Layer("Photo").contains("inverted"));
}

TEST_F(MaskEvents, RasterizingAndSimplifying) {
  // A vector mask rasterized onto a layer with a layer mask narrows it.
  Edit(R"({"selection":true})");
  Play("Mk  ", kWorkPath.c_str());
  Edit(R"({"selectLayer":"Masked"})");
  ASSERT_EQ(Play("Mk  ", kVectorMask.c_str()), 0);
  ASSERT_EQ(Play("rasterizeLayer", Rasterize("vectorMask").c_str()), 0);
  EXPECT_EQ(Layer("Masked")["userMask"]["reveals"], "selection");
  EXPECT_TRUE(Layer("Masked")["vectorMask"].is_null());

  Edit(R"({"selectLayer":"Smart"})");
  ASSERT_EQ(Play("rasterizeLayer", Rasterize("placed").c_str()), 0);
  const Json smart = Layer("Smart");
  EXPECT_EQ(smart["kind"], "pixel");
  EXPECT_EQ(smart["smartFilters"], Json::array());
  EXPECT_TRUE(smart["filterMask"].is_null());
  EXPECT_EQ(Document()["history"].back(), "Simplify Layer");
}

}  // namespace
}  // namespace simtest
