// Layer-group events against the document model: a group made around the
// target layers, removed keeping what it holds, and what the host refuses.
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

// Bottom to top: the group Harbour holds Boat, Fleet holds Harbour and Net.
const Json kLayers = Json::parse(R"({"documents":[{
  "title":"groups.psd",
  "layers":[{"name":"Background","background":true},
            {"name":"</Layer group>","kind":"groupEnd"},
            {"name":"</Layer group>","kind":"groupEnd"},
            {"name":"Boat"},
            {"name":"Harbour","kind":"groupStart"},
            {"name":"Net"},
            {"name":"Fleet","kind":"groupStart"},
            {"name":"Sky"}],
  "target":[7]}]})");

constexpr const char* kTarget = R"({"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]})";
const std::string kMakeGroup =
    std::string(R"([["null",{"ref":[{"class":"layerSection"}]}],["From",)") + kTarget + "]]";
const std::string kUngroup = std::string(R"([["null",)") + kTarget + R"(],["deleteContained",{"bool":false}]])";

class GroupEvents : public HostTest {
 protected:
  void SetUp() override { StartHost(kLayers); }
  host::OSErr Play(const char* event, const std::string& descriptor) {
    host::Descriptor d = sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(descriptor)));
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    return e;
  }
  void Edit(const char* edit) { sim::ApplyEdit(Json::parse(edit)); }
  Json Names() {
    const Json doc = Document();
    Json names = Json::array();
    for (const auto& l : doc["layers"]) names.push_back(l["name"]);
    return names;
  }
};

TEST_F(GroupEvents, AGroupTakesTheTargetLayersAndATargetedGroupWhole) {
  Edit(R"({"selectLayers": ["Sky", "Fleet"]})");
  ASSERT_EQ(Play("Mk  ", kMakeGroup), 0);
  EXPECT_EQ(Names(), Json::parse(R"(["Background","</Layer group>","</Layer group>","</Layer group>","Boat",
      "Harbour","Net","Fleet","Sky","Group 3"])"));
  const Json doc = Document();
  EXPECT_EQ(doc["target"], Json::array({9}));
  EXPECT_EQ(doc["layers"][9]["kind"], "groupStart");
  EXPECT_EQ(doc["layers"][9]["blendMode"], "passThrough");
  EXPECT_EQ(doc["history"].back(), "Group Layers");
}

TEST_F(GroupEvents, RemovingAGroupKeepsWhatItHoldsInOrder) {
  Edit(R"({"selectLayer": "Fleet"})");
  ASSERT_EQ(Play("Dlt ", kUngroup), 0);
  EXPECT_EQ(Names(), Json::parse(R"(["Background","</Layer group>","Boat","Harbour","Net","Sky"])"));
  EXPECT_EQ(Document()["target"], Json::array({4})) << "the group's top layer";
  // Without the key the group goes with everything in it.
  Edit(R"({"selectLayer": "Harbour"})");
  ASSERT_EQ(Play("Dlt ", std::string(R"([["null",)") + kTarget + R"(],["deleteContained",{"bool":true}]])"), 0);
  EXPECT_EQ(Names(), Json::parse(R"(["Background","Net","Sky"])"));
}

TEST_F(GroupEvents, TheHostRefusesWhatCannotBeGrouped) {
  Edit(R"({"selectLayer": "Background"})");
  EXPECT_EQ(Play("Mk  ", kMakeGroup), -25920);
  Edit(R"({"selectLayer": 1})");
  EXPECT_EQ(Play("Mk  ", kMakeGroup), -25920) << "a group's end marker";
  EXPECT_EQ(Play("Dlt ", kUngroup), -25920);
  EXPECT_EQ(Names().size(), 8u);
}

TEST_F(GroupEvents, ANamedLayerAndLayersHiddenByAList) {
  ASSERT_EQ(Play("Mk  ", R"([["null",{"ref":[{"class":"Lyr "}]}],["Usng",{"object":"Lyr ","items":[["Nm  ",{"string":"Marker"}]]}]])"), 0);
  EXPECT_EQ(Names().back(), "Marker");
  const std::string list = std::string(R"([["null",{"list":[)") + kTarget + "]}]]";
  ASSERT_EQ(Play("Hd  ", list), 0);
  EXPECT_FALSE(Document()["layers"].back()["visible"].get<bool>());
  ASSERT_EQ(Play("Shw ", list), 0);
  EXPECT_TRUE(Document()["layers"].back()["visible"].get<bool>());
  // A name the row does not take is the plug-in's fault.
  EXPECT_NE(Play("Mk  ", R"([["null",{"ref":[{"class":"Lyr "}]}],["Usng",{"object":"Lyr ","items":[["Nm  ",{"int":1}]]}]])"), 0);
}

}  // namespace
}  // namespace simtest
