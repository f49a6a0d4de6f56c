// Calls failed on purpose: a suite operation's nth call or an event's nth
// play answers the scenario's error instead of doing its work, each fault
// that fires is recorded, and faults armed by a step count from there.
#include "sim_host_test_support.h"

namespace simtest {
namespace {

class Faults : public HostTest {
 protected:
  // Selects all in the current document: a change the model shows.
  host::OSErr SelectAll() {
    host::Reference r = nullptr;
    ref->Make(&r);
    ref->PutProperty(r, C("Chnl"), C("fsel"));
    host::Descriptor d = DescriptorWithTarget(r);
    desc->PutEnumerated(d, C("T   "), C("Ordn"), C("Al  "));
    host::Descriptor result = nullptr;
    host::OSErr e = control->Play(&result, C("setd"), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    ref->Free(r);
    return e;
  }
};

TEST_F(Faults, TheNthCallOfAnOperationAnswersTheErrorAndDoesNothing) {
  StartHost(Json::parse(R"({"faults":[{"suite":"descriptor","call":"PutReference","nth":2,"error":-108},
                                      {"suite":"descriptor","call":"Make","nth":2},
                                      {"suite":"handle","call":"New"},
                                      {"suite":"handle","call":"GetSize"}]})"));
  host::Descriptor d = nullptr;
  ASSERT_EQ(desc->Make(&d), 0);
  host::Reference r = TargetRef(C("Lyr "));
  EXPECT_EQ(desc->PutReference(d, C("null"), r), 0);
  EXPECT_EQ(desc->PutReference(d, C("T   "), r), -108);
  EXPECT_EQ(desc->PutReference(d, C("With"), r), 0);   // counted on: the third call works
  EXPECT_EQ(sim::ToText(sim::DescribeDescriptor(d)),
            R"([["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["With",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]])");

  // No object is made and the out value is left alone; the error defaults
  // to the host's "cannot apply".
  host::Descriptor second = reinterpret_cast<host::Descriptor>(0x1234);
  EXPECT_EQ(desc->Make(&second), -25920);
  EXPECT_EQ(second, reinterpret_cast<host::Descriptor>(0x1234));
  // Operations that return a value and no result code answer nothing.
  EXPECT_EQ(handles->New(8), nullptr);
  host::Handle h = handles->New(8);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(handles->GetSize(h), 0);
  EXPECT_EQ(handles->GetSize(h), 8);
  handles->Dispose(h);
  desc->Free(d);
  ref->Free(r);
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
  ExpectLines(OfKind(sim::TakeTranscript(), {"fault", "misuse"}),
              {
                  R"({"kind":"fault","suite":"descriptor","call":"PutReference","nth":2,"error":-108})",
                  R"({"kind":"fault","suite":"descriptor","call":"Make","nth":2,"error":-25920})",
                  R"({"kind":"fault","suite":"handle","call":"New","nth":1,"error":-25920})",
                  R"({"kind":"fault","suite":"handle","call":"GetSize","nth":1,"error":-25920})",
              });
}

TEST_F(Faults, TheNthPlayOfAnEventFailsAndLeavesTheModel) {
  StartHost(Json::parse(R"({"faults":[{"event":"setd","nth":1,"error":-128}]})"));
  const Json before = Document();
  EXPECT_EQ(SelectAll(), -128);
  EXPECT_EQ(Document(), before);
  EXPECT_EQ(SelectAll(), 0);
  EXPECT_EQ(Document()["selection"], true);
  const auto lines = OfKind(sim::TakeTranscript(), {"fault", "play"});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(sim::ToText(lines[0]), R"({"kind":"fault","event":"setd","nth":1,"error":-128})");
  EXPECT_EQ(lines[1]["result"], -128);
  EXPECT_EQ(lines[2]["result"], 0);
}

TEST_F(Faults, ArmedFaultsCountFromTheStepAndReplaceThoseNotFired) {
  StartHost(Json::parse(R"({"faults":[{"suite":"control","call":"StringIDToTypeID","nth":5}]})"));
  host::TypeID id = 0;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(control->StringIDToTypeID("vectorMask", &id), 0);
  sim::ArmFaults(Json::parse(R"([{"suite":"control","call":"StringIDToTypeID","nth":2,"error":-50}])"));
  EXPECT_EQ(control->StringIDToTypeID("vectorMask", &id), 0);     // 4th overall, 1st since armed
  EXPECT_EQ(control->StringIDToTypeID("vectorMask", &id), -50);   // 5th overall: the replaced fault is gone
  EXPECT_EQ(control->StringIDToTypeID("vectorMask", &id), 0);
  ExpectLines(OfKind(sim::TakeTranscript(), {"fault"}),
              {R"({"kind":"fault","suite":"control","call":"StringIDToTypeID","nth":2,"error":-50})"});
}

TEST_F(Faults, RecordedCallsAndLiveObjectsInStates) {
  StartHost(Json::parse(R"({"recordCalls":true})"));
  sim::TakeTranscript();   // the acquisitions of the fixture
  host::Descriptor d = nullptr;
  desc->Make(&d);
  sim::RecordState();
  desc->Free(d);
  const auto lines = OfKind(sim::TakeTranscript(), {"call", "state"});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(sim::ToText(lines[0]), R"({"kind":"call","suite":"descriptor","call":"Make","nth":1})");
  EXPECT_EQ(lines[1]["objects"]["descriptor"], 1);
  EXPECT_EQ(sim::ToText(lines[2]), R"({"kind":"call","suite":"descriptor","call":"Free","nth":1})");
}

}  // namespace
}  // namespace simtest
