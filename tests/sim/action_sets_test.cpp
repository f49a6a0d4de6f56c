// The host's action sets: what a Get of a set or an action answers, and the
// deletion of a set by name.
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

const Json kSets = Json::parse(R"({"actionSets":[
  {"name":"Default Actions","actions":["Vignette","Sepia","Frame"]},
  {"name":"Mine","actions":[]}]})");

class ActionSets : public HostTest {
 protected:
  void SetUp() override { StartHost(kSets); }

  // The answer to a Get of `reference` (REF form) as DESC text, or "error N".
  std::string Get(const char* reference) {
    sim::ReferenceData data;
    for (const auto& part : Json::parse(reference)) {
      sim::RefPart p;
      p.cls = sim::IdFromText(part["class"].get<std::string>());
      if (part.contains("index")) {
        p.form = host::kFormIndex;
        p.number = part["index"].get<std::int64_t>();
      } else {
        p.form = host::kFormName;
        p.name = part["name"].get<std::string>();
      }
      data.push_back(p);
    }
    host::Reference r = sim::NewReference(data);
    host::Descriptor answer = nullptr;
    const host::OSErr e = control->Get(&answer, r);
    ref->Free(r);
    if (e != 0) return "error " + std::to_string(e);
    std::string text = sim::ToText(sim::DescribeDescriptor(answer));
    desc->Free(answer);
    return text;
  }

 public:
  host::OSErr Delete(const char* target) {
    host::Descriptor d = sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(std::string(R"([["null",{"ref":)") + target + "}]]")));
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, C("Dlt "), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    return e;
  }
};

TEST_F(ActionSets, SetsAndTheirActionsAnswerByIndexUntilThePastTheEndOne) {
  EXPECT_EQ(Get(R"([{"class":"ASet","index":1}])"),
            R"([["Nm  ",{"string":"Default Actions"}],["ItmI",{"int":1}],["NmbC",{"int":3}]])");
  EXPECT_EQ(Get(R"([{"class":"ASet","index":2}])"),
            R"([["Nm  ",{"string":"Mine"}],["ItmI",{"int":2}],["NmbC",{"int":0}]])");
  EXPECT_EQ(Get(R"([{"class":"Actn","index":3},{"class":"ASet","index":1}])"),
            R"([["Nm  ",{"string":"Frame"}],["ItmI",{"int":3}],["NmbC",{"int":0}]])");
  EXPECT_EQ(Get(R"([{"class":"Actn","name":"Sepia"},{"class":"ASet","name":"Default Actions"}])"),
            R"([["Nm  ",{"string":"Sepia"}],["ItmI",{"int":2}],["NmbC",{"int":0}]])");
  // The end of the sets, and of one set's actions, is a missing object; no
  // `error` line, for the plug-in asked in the host's own terms.
  EXPECT_EQ(Get(R"([{"class":"ASet","index":3}])"), "error -1728");
  EXPECT_EQ(Get(R"([{"class":"ASet","index":0}])"), "error -1728");
  EXPECT_EQ(Get(R"([{"class":"Actn","index":4},{"class":"ASet","index":1}])"), "error -1728");
  EXPECT_EQ(Get(R"([{"class":"Actn","index":1},{"class":"ASet","index":2}])"), "error -1728");
  EXPECT_EQ(Get(R"([{"class":"Actn","index":1},{"class":"ASet","index":4294967297}])"), "error -1728");
  EXPECT_TRUE(OfKind(sim::TakeTranscript(), {"error"}).empty());
}

TEST_F(ActionSets, AnActionOutsideItsSetIsTheCallersFault) {
  EXPECT_EQ(Get(R"([{"class":"Actn","index":1}])"), "error -1728");
  EXPECT_EQ(Get(R"([{"class":"ASet","index":1},{"class":"Dcmn","index":1}])"), "error -1728");
  EXPECT_EQ(OfKind(sim::TakeTranscript(), {"error"}).size(), 2u);
}

TEST_F(ActionSets, DeletingASetByNameRemovesItAndAnUnknownOneIsAStateRefusal) {
  EXPECT_EQ(Delete(R"([{"class":"ASet","name":"Default Actions"}])"), 0);
  EXPECT_EQ(sim::ModelState()["actionSets"], Json::parse(R"([{"name":"Mine","actions":[]}])"));
  EXPECT_EQ(Get(R"([{"class":"ASet","index":1}])"),
            R"([["Nm  ",{"string":"Mine"}],["ItmI",{"int":1}],["NmbC",{"int":0}]])");
  EXPECT_EQ(Document()["history"], Json::parse(R"(["Open"])")) << "no history state for a set";

  EXPECT_EQ(Delete(R"([{"class":"ASet","name":"Default Actions"}])"), -25920);
  EXPECT_TRUE(OfKind(sim::TakeTranscript(), {"error"}).empty());

  // By index is not how the host takes it.
  EXPECT_EQ(Delete(R"([{"class":"ASet","index":1}])"), -1700);
  const auto errors = OfKind(sim::TakeTranscript(), {"error"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0]["event"], "Dlt ");
  EXPECT_EQ(sim::ModelState()["actionSets"].size(), 1u);
}

struct StepPlay {
  ActionSets* test;
  const char* target;
};

TEST_F(ActionSets, ADroppedHistoryStepDoesNotBringADeletedSetBack) {
  host::Reference document = TargetRef(C("Dcmn"));
  StepPlay play{this, R"([{"class":"ASet","name":"Mine"}])"};
  auto procedure = [](void* data) -> host::SPErr {
    auto* p = static_cast<StepPlay*>(data);
    EXPECT_EQ(p->test->Delete(p->target), 0);
    return host::kInterruptedError;
  };
  EXPECT_NE(control->SuspendHistory(document, procedure, &play, nullptr), 0);
  ref->Free(document);
  EXPECT_EQ(sim::ModelState()["actionSets"].size(), 1u);
  EXPECT_EQ(sim::ModelState()["actionSets"][0]["name"], "Default Actions");
}

TEST_F(ActionSets, TheStateLineShowsTheSets) {
  sim::RecordState();
  const auto states = OfKind(sim::TakeTranscript(), {"state"});
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0]["actionSets"], kSets["actionSets"]);
  EXPECT_TRUE(states[0].contains("documents"));
}

}  // namespace
}  // namespace simtest
