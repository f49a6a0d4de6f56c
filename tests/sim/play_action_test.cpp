// Playing one of the host's actions by name, and the edit that gives the
// host other action sets, as a user loading and deleting them by hand.
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

class PlayAction : public HostTest {
 protected:
  void SetUp() override {
    StartHost(Json::parse(R"({"actionSets":[{"name":"Frames","actions":["Wood","Brushed"]},{"name":"Empty","actions":[]}]})"));
  }
  host::OSErr Play(const char* descriptor) {
    host::Descriptor d = sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(descriptor)));
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, C("Ply "), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    return e;
  }
};

TEST_F(PlayAction, AnActionTheHostHoldsPlaysAndAMissingOneIsAStateRefusal) {
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","name":"Brushed"},{"class":"ASet","name":"Frames"}]}]])"), 0);
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","name":"Sepia"},{"class":"ASet","name":"Frames"}]}]])"), -25920);
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","name":"Wood"},{"class":"ASet","name":"Empty"}]}]])"), -25920);
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","name":"Wood"},{"class":"ASet","name":"Nowhere"}]}]])"), -25920);
  EXPECT_TRUE(OfKind(sim::TakeTranscript(), {"error"}).empty());
  EXPECT_EQ(Document()["history"], Json::parse(R"(["Open"])"));
}

TEST_F(PlayAction, AnActionNotNamedInsideItsSetIsTheCallersFault) {
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","name":"Wood"}]}]])"), -1700);
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","index":1},{"class":"ASet","index":1}]}]])"), -1700);
  EXPECT_EQ(Play("[]"), -1715);
  const auto errors = OfKind(sim::TakeTranscript(), {"error"});
  ASSERT_EQ(errors.size(), 3u);
  for (const auto& e : errors) EXPECT_EQ(e["event"], "Ply ");
}

TEST_F(PlayAction, AnEditReplacesTheHostsActionSets) {
  sim::ApplyEdit(Json::parse(R"({"actionSets":[{"name":"Loaded","actions":["One"]}]})"));
  EXPECT_EQ(sim::ModelState()["actionSets"], Json::parse(R"([{"name":"Loaded","actions":["One"]}])"));
  EXPECT_EQ(Play(R"([["null",{"ref":[{"class":"Actn","name":"One"},{"class":"ASet","name":"Loaded"}]}]])"), 0);
  sim::ApplyEdit(Json::parse(R"({"actionSets":[]})"));
  EXPECT_TRUE(sim::ModelState()["actionSets"].empty());
}

}  // namespace
}  // namespace simtest
