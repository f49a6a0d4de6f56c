// The control suite against the document model: Get answers, played events
// and their refusals, named history steps, notifiers, identifiers, and the
// property suite.
#include <cstring>

#include "host_errors.h"
#include "script_engine.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

const Json kPhoto = Json::parse(R"({"documents":[{
  "title":"photo.psd","path":"C:\\Temp\\photo.psd","depth":16,"width":640,"height":480,
  "history":["Open","Levels"],
  "layers":[{"name":"Background","background":true},
            {"name":"Sky","userMask":{"enabled":true,"linked":false},"opacity":128},
            {"name":"Curves 1","kind":"adjustment","adjustment":{"class":"CrvA"}},
            {"name":"Top","filterMask":{}}],
  "target":[1]}],
  "answers":{"hostDialogs":{"Dplc":"cancel"}}})");

class ControlSuite : public HostTest {
 protected:
  void SetUp() override { StartHost(kPhoto); }
  host::OSErr PlayPlain(const char* event) {
    host::Descriptor result = nullptr;
    host::OSErr e = control->Play(&result, sim::IdFromText(event), nullptr, 2);
    if (result) desc->Free(result);
    return e;
  }
  host::OSErr SelectLayerNamed(const char* name) {
    host::Reference r = nullptr;
    ref->Make(&r);
    ref->PutName(r, C("Lyr "), name);
    host::Descriptor d = DescriptorWithTarget(r);
    host::Descriptor result = nullptr;
    host::OSErr e = control->Play(&result, C("slct"), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    ref->Free(r);
    return e;
  }
};

struct GetCase {
  host::TypeID cls;
  const char* key;   // four characters or a string identifier
  const char* answer;
};

// The target document is photo.psd, the target layer "Sky".
const GetCase kGets[] = {
    {C("capp"), "NmbD", R"([["NmbD",{"int":1}]])"},
    {C("Dcmn"), "Ttl ", R"([["Ttl ",{"string":"photo.psd"}]])"},
    {C("Dcmn"), "Md  ", R"([["Md  ",{"enum":["Md  ","RGBC"]}]])"},
    {C("Dcmn"), "Dpth", R"([["Dpth",{"int":16}]])"},
    {C("Dcmn"), "Wdth", R"([["Wdth",{"unit":"#Pxl","value":640.0}]])"},
    {C("Dcmn"), "File", R"([["File",{"alias":"C:\\Temp\\photo.psd"}]])"},
    {C("Dcmn"), "NmbL", R"([["NmbL",{"int":3}]])"},
    {C("Dcmn"), "targetLayers", R"([["targetLayers",{"list":[{"ref":[{"class":"Lyr ","index":1}]}]}]])"},
    {C("Dcmn"), "fsel", "error -1715"},   // no selection
    {C("Lyr "), "Nm  ", R"([["Nm  ",{"string":"Sky"}]])"},
    {C("Lyr "), "Opct", R"([["Opct",{"int":128}]])"},
    {C("Lyr "), "Bckg", R"([["Bckg",{"bool":false}]])"},
    {C("Lyr "), "UsrM", R"([["UsrM",{"bool":true}]])"},
    {C("Lyr "), "Usrs", R"([["Usrs",{"bool":false}]])"},
    {C("Lyr "), "Md  ", R"([["Md  ",{"enum":["BlnM","Nrml"]}]])"},
    {C("Lyr "), "hasUserMask", R"([["hasUserMask",{"bool":true}]])"},
    {C("Lyr "), "hasFilterMask", R"([["hasFilterMask",{"bool":false}]])"},
    {C("Lyr "), "ItmI", R"([["ItmI",{"int":2}]])"},
    {C("Lyr "), "Adjs", "error -1715"},   // not an adjustment layer
    {C("Lyr "), "Txt ", "error -1715"},
    {C("BckL"), "Nm  ", R"([["Nm  ",{"string":"Background"}]])"},
    {C("HstS"), "Cnt ", R"([["Cnt ",{"int":2}]])"},
    {C("HstS"), "CrnH", R"([["CrnH",{"bool":true}]])"},
    {C("HstS"), "Nm  ", R"([["Nm  ",{"string":"Levels"}]])"},
};

TEST_F(ControlSuite, GetAnswersFromTheModel) {
  for (const auto& g : kGets)
    EXPECT_EQ(GetTarget(g.cls, sim::IdFromText(g.key)), g.answer) << sim::TextFromId(g.cls) << " " << g.key;
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

TEST_F(ControlSuite, GetByIndexAndPathItems) {
  // History state 1 of 2, whole.
  host::Reference r = nullptr;
  ref->Make(&r);
  ref->PutIndex(r, C("HstS"), 1);
  host::Descriptor answer = nullptr;
  ASSERT_EQ(control->Get(&answer, r), 0);
  EXPECT_EQ(sim::ToText(sim::DescribeDescriptor(answer)),
            R"([["Nm  ",{"string":"Open"}],["ItmI",{"int":1}],["CrnH",{"bool":false}],["Cnt ",{"int":2}]])");
  desc->Free(answer);
  ref->Free(r);

  // With a background, layer index 0 is the background and 3 the top layer.
  ref->Make(&r);
  ref->PutProperty(r, C("Prpr"), C("Nm  "));
  ref->PutIndex(r, C("Lyr "), 3);
  ASSERT_EQ(control->Get(&answer, r), 0);
  EXPECT_EQ(sim::ToText(sim::DescribeDescriptor(answer)), R"([["Nm  ",{"string":"Top"}]])");
  desc->Free(answer);
  ref->Free(r);

  // The file path is a path item, read as an alias.
  r = TargetRef(C("Dcmn"), C("File"));
  ASSERT_EQ(control->Get(&answer, r), 0);
  host::TypeID type = 0;
  desc->GetType(answer, C("File"), &type);
  EXPECT_EQ(type, host::kTypePath);
  host::Handle path = nullptr;
  ASSERT_EQ(desc->GetAlias(answer, C("File"), &path), 0);
  EXPECT_STREQ(*path, "C:\\Temp\\photo.psd");
  handles->Dispose(path);
  desc->Free(answer);
  ref->Free(r);

  EXPECT_EQ(control->Get(nullptr, r), host::kParamErr);   // r is freed, and no out pointer
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

TEST_F(ControlSuite, WithNoDocumentOnlyTheApplicationAnswers) {
  StartHost(Json{{"documents", Json::array()}});
  EXPECT_EQ(GetTarget(C("capp"), C("NmbD")), R"([["NmbD",{"int":0}]])");
  EXPECT_EQ(GetTarget(C("Dcmn"), C("Ttl ")), "error -1728");
  EXPECT_EQ(GetTarget(C("Lyr "), C("Nm  ")), "error -1728");
  EXPECT_EQ(GetTarget(C("HstS"), C("Cnt ")), "error -1728");
  EXPECT_EQ(PlayOnTarget(C("Dplc"), C("Lyr "), C("Ordn"), C("Trgt")), -1728);
  EXPECT_EQ(PlayPlain("FltI"), -1728);
  std::intptr_t width = 0;
  EXPECT_NE(props->GetProperty(host::kHostSignature, host::kPropDocumentWidth, 0, &width, nullptr), 0);
}

TEST_F(ControlSuite, ApplyingTheLayerMaskPlaysAndChangesTheModel) {
  host::TypeID mask = C("Msk ");
  ASSERT_EQ(PlayOnTarget(C("slct"), C("Chnl"), C("Ordn"), mask, C("MkVs"), false), 0);
  EXPECT_EQ(Document()["targetChannels"], Json::array({"Msk "}));
  ASSERT_EQ(PlayOnTarget(C("Dlt "), C("Chnl"), C("Ordn"), C("Trgt"), C("Aply"), true), 0);
  Json doc = Document();
  EXPECT_TRUE(doc["layers"][1]["userMask"].is_null());
  EXPECT_EQ(doc["layers"][1]["appliedMasks"], 1);
  EXPECT_EQ(doc["history"], Json::array({"Open", "Levels", "Apply Layer Mask"}));
  EXPECT_EQ(doc["targetChannels"], Json::array({"Rd  ", "Grn ", "Bl  "}));
  ExpectLines(sim::TakeTranscript(),
              {
                  R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Msk "]}]}],["MkVs",{"bool":false}]],"mode":2,"result":0})",
                  R"({"kind":"play","event":"Dlt ","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}],["Aply",{"bool":true}]],"mode":2,"result":0})",
              });
}

TEST_F(ControlSuite, RefusedEventsLeaveTheModelAlone) {
  ASSERT_EQ(SelectLayerNamed("Top"), 0);
  const Json before = sim::ModelState();
  host::TypeID filterMask = 0;
  control->StringIDToTypeID("filterMask", &filterMask);
  EXPECT_EQ(PlayOnTarget(C("slct"), C("Chnl"), C("Chnl"), C("Msk ")), -25920);   // Top has no layer mask
  EXPECT_EQ(PlayOnTarget(C("Dlt "), C("Chnl"), C("Ordn"), C("Trgt"), C("Aply"), true), -25920);   // composite
  EXPECT_EQ(sim::ModelState(), before);
  // Top has a filter mask: selecting it works and is not a history state.
  EXPECT_EQ(PlayOnTarget(C("slct"), C("Chnl"), C("Chnl"), filterMask, C("MkVs"), false), 0);
  EXPECT_EQ(Document()["targetChannels"], Json::array({"filterMask"}));
  EXPECT_EQ(Document()["history"], before["documents"][0]["history"]);

  ASSERT_EQ(SelectLayerNamed("Background"), 0);
  const Json bottom = sim::ModelState();
  EXPECT_EQ(PlayPlain("Mrg2"), -25920);   // nothing below the bottom layer
  EXPECT_EQ(sim::ModelState(), bottom);
  // The host's own dialog, cancelled by the user.
  host::Reference r = TargetRef(C("Lyr "));
  host::Descriptor d = DescriptorWithTarget(r);
  host::Descriptor result = reinterpret_cast<host::Descriptor>(1);
  EXPECT_EQ(control->Play(&result, C("Dplc"), d, 1), host::kUserCanceledErr);
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(sim::ModelState(), bottom);
  desc->Free(d);
  ref->Free(r);
  auto lines = OfKind(sim::TakeTranscript(), {"play"});
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(sim::ToText(lines[3]),
            R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","filterMask"]}]}],["MkVs",{"bool":false}]],"mode":2,"result":0})");
  EXPECT_EQ(sim::ToText(lines[6]),
            R"({"kind":"play","event":"Dplc","descriptor":[["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]],"mode":1,"result":-128})");
}

TEST_F(ControlSuite, LayerEventsAndHistoryStates) {
  ASSERT_EQ(PlayOnTarget(C("Dplc"), C("Lyr "), C("Ordn"), C("Trgt")), 0);
  Json doc = Document();
  ASSERT_EQ(doc["layers"].size(), 5u);
  EXPECT_EQ(doc["layers"][2]["name"], "Sky copy");
  EXPECT_EQ(doc["target"], Json::array({2}));
  EXPECT_EQ(PlayPlain("Invr"), 0);
  EXPECT_EQ(Document()["layers"][2]["inverted"], 1);
  EXPECT_EQ(PlayPlain("Mrg2"), 0);   // Sky copy into Sky
  doc = Document();
  ASSERT_EQ(doc["layers"].size(), 4u);
  EXPECT_EQ(doc["layers"][1]["name"], "Sky");
  EXPECT_EQ(doc["history"], Json::array({"Open", "Levels", "Duplicate Layer", "Invert", "Merge Down"}));

  // Dropping the current history state.
  host::Reference r = nullptr;
  ref->Make(&r);
  ref->PutProperty(r, C("HstS"), C("CrnH"));
  host::Descriptor d = DescriptorWithTarget(r);
  host::Descriptor result = nullptr;
  ASSERT_EQ(control->Play(&result, C("Dlt "), d, 2), 0);
  desc->Free(result);
  desc->Free(d);
  ref->Free(r);
  EXPECT_EQ(Document()["history"], Json::array({"Open", "Levels", "Duplicate Layer", "Invert"}));

  EXPECT_EQ(PlayPlain("FltI"), 0);
  doc = Document();
  ASSERT_EQ(doc["layers"].size(), 1u);
  EXPECT_EQ(doc["layers"][0]["background"], true);

  // An event the host has no row for: refused, the model as it was.
  const Json before = sim::ModelState();
  EXPECT_EQ(PlayPlain("Xyzw"), sim::err::kEventNotHandled);
  EXPECT_EQ(sim::ModelState(), before);
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

TEST_F(ControlSuite, HandEditsChangeWhatGetAnswersAndStateShowsIt) {
  sim::ApplyEdit(Json{{"selectLayer", "Top"}});
  EXPECT_EQ(GetTarget(C("Lyr "), C("Nm  ")), R"([["Nm  ",{"string":"Top"}]])");
  sim::ApplyEdit(Json{{"selection", true}});
  EXPECT_EQ(GetTarget(C("Dcmn"), C("fsel")),
            R"([["fsel",{"object":"Rctn","items":[["Top ",{"unit":"#Pxl","value":0.0}],["Left",{"unit":"#Pxl","value":0.0}],)"
            R"(["Btom",{"unit":"#Pxl","value":480.0}],["Rght",{"unit":"#Pxl","value":640.0}]]}]])");
  sim::ApplyEdit(Json{{"closeDocument", true}});
  EXPECT_EQ(GetTarget(C("capp"), C("NmbD")), R"([["NmbD",{"int":0}]])");
  sim::RecordState();
  ExpectLines(OfKind(sim::TakeTranscript(), {"state", "error"}), {R"({"kind":"state","documents":[],"current":null,"actionSets":[],"preferences":)" +
                                                         sim::ToText(sim::DefaultPreferences()) + "}"});
}

TEST_F(ControlSuite, GetsAreRecordedWhenTheScenarioAsks) {
  Json scenario = kPhoto;
  scenario["recordGets"] = true;
  StartHost(scenario);
  GetTarget(C("Lyr "), C("Opct"));
  GetTarget(C("Lyr "), C("Txt "));
  ExpectLines(sim::TakeTranscript(),
              {
                  R"({"kind":"get","reference":[{"class":"Prpr","property":"Opct"},{"class":"Lyr ","enum":["Ordn","Trgt"]}],"result":0})",
                  R"({"kind":"get","reference":[{"class":"Prpr","property":"Txt "},{"class":"Lyr ","enum":["Ordn","Trgt"]}],"result":-1715})",
              });
}

struct StepData {
  const host::ControlSuite* control;
  const host::DescriptorSuite* desc;
  const host::ReferenceSuite* ref;
  host::SPErr answer;
};

host::SPErr DuplicateInStep(void* data) {
  auto* s = static_cast<StepData*>(data);
  host::Reference r = nullptr;
  s->ref->Make(&r);
  s->ref->PutEnumerated(r, C("Lyr "), C("Ordn"), C("Trgt"));
  host::Descriptor d = nullptr;
  s->desc->Make(&d);
  s->desc->PutReference(d, C("null"), r);
  host::Descriptor result = nullptr;
  s->control->Play(&result, C("Dplc"), d, 2);
  if (result) s->desc->Free(result);
  s->desc->Free(d);
  s->ref->Free(r);
  return s->answer;
}

TEST_F(ControlSuite, SuspendHistoryKeepsOneNamedStateOrRollsBack) {
  host::Reference document = TargetRef(C("Dcmn"));
  host::ZString name = nullptr;
  zstr->MakeFromCString("Restore Group", 13, &name);
  const Json before = sim::ModelState();

  StepData failing{control, desc, ref, host::kInterruptedError};
  EXPECT_NE(control->SuspendHistory(document, DuplicateInStep, &failing, name), 0);
  EXPECT_EQ(sim::ModelState(), before);

  StepData passing{control, desc, ref, 0};
  EXPECT_EQ(control->SuspendHistory(document, DuplicateInStep, &passing, name), 0);
  Json doc = Document();
  EXPECT_EQ(doc["layers"].size(), 5u);
  EXPECT_EQ(doc["history"], Json::array({"Open", "Levels", "Restore Group"}));

  EXPECT_EQ(control->SuspendHistory(document, nullptr, &passing, name), host::kParamErr);
  EXPECT_EQ(control->SuspendHistory(nullptr, DuplicateInStep, &passing, name), host::kParamErr);
  zstr->Release(name);
  EXPECT_EQ(control->SuspendHistory(document, DuplicateInStep, &passing, name), host::kParamErr);   // released
  ref->Free(document);

  ExpectLines(OfKind(sim::TakeTranscript(), {"step-begin", "step-end"}),
              {
                  R"({"kind":"step-begin","name":"Restore Group"})",
                  R"({"kind":"step-end","name":"Restore Group","result":1768846450,"kept":false})",
                  R"({"kind":"step-begin","name":"Restore Group"})",
                  R"({"kind":"step-end","name":"Restore Group","result":0,"kept":true})",
              });
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

struct Heard {
  std::vector<std::string> events;
  int withDescriptor = 0;
};

void Listen(host::TypeID event, host::Descriptor descriptor, std::int32_t, void* data) {
  auto* heard = static_cast<Heard*>(data);
  heard->events.push_back(sim::TextFromId(event));
  if (descriptor) ++heard->withDescriptor;
}

TEST_F(ControlSuite, NotifiersHearHostEventsButNotThePluginsOwnPlays) {
  Heard heard;
  ASSERT_EQ(control->AddNotify(sim::PluginSelf(), C("All "), Listen, &heard), 0);
  EXPECT_EQ(sim::NotifierCount(), 1u);
  sim::NotifyEvent("Opn ");
  PlayPlain("Invr");
  sim::NotifyEvent("slct");
  EXPECT_EQ(heard.events, (std::vector<std::string>{"Opn ", "slct"}));
  EXPECT_EQ(heard.withDescriptor, 0);
  EXPECT_EQ(control->RemoveNotify(sim::PluginSelf(), C("All ")), 0);
  EXPECT_EQ(control->RemoveNotify(sim::PluginSelf(), C("All ")), host::kParamErr);
  sim::NotifyEvent("slct");
  EXPECT_EQ(heard.events.size(), 2u);
  ExpectLines(OfKind(sim::TakeTranscript(), {"notifier"}),
              {
                  R"({"kind":"notifier","op":"add","event":"All "})",
                  R"({"kind":"notifier","op":"remove","event":"All "})",
              });
}

TEST_F(ControlSuite, StringIdentifiers) {
  host::TypeID id = 0;
  control->StringIDToTypeID("RGBColor", &id);
  EXPECT_EQ(id, C("RGBC"));
  control->StringIDToTypeID("layer", &id);
  EXPECT_EQ(id, C("Lyr "));
  host::TypeID generated = 0, again = 0;
  control->StringIDToTypeID("hasFilterMask", &generated);
  control->StringIDToTypeID("hasFilterMask", &again);
  EXPECT_EQ(generated, again);
  EXPECT_EQ(sim::TextFromId(generated), "hasFilterMask");
  EXPECT_EQ(sim::IdFromText("hasFilterMask"), generated);

  char buffer[256];
  ASSERT_EQ(control->TypeIDToStringID(C("Grys"), buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "grayScale");
  ASSERT_EQ(control->TypeIDToStringID(generated, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "hasFilterMask");
  char small[4];
  ASSERT_EQ(control->TypeIDToStringID(generated, small, sizeof small), 0);
  EXPECT_STREQ(small, "has");
  EXPECT_NE(control->TypeIDToStringID(C("zzzz"), buffer, sizeof buffer), 0);   // no string identifier
  EXPECT_EQ(control->StringIDToTypeID(nullptr, &id), host::kParamErr);
  sim::TakeTranscript();
}

TEST_F(ControlSuite, PropertySuiteAnswersSizeAndTitle) {
  std::intptr_t value = 0;
  ASSERT_EQ(props->GetProperty(host::kHostSignature, host::kPropDocumentWidth, 0, &value, nullptr), 0);
  EXPECT_EQ(value, 640);
  ASSERT_EQ(props->GetProperty(host::kHostSignature, host::kPropDocumentHeight, 0, &value, nullptr), 0);
  EXPECT_EQ(value, 480);
  host::Handle title = nullptr;
  ASSERT_EQ(props->GetProperty(host::kHostSignature, host::kPropDocumentTitle, 0, nullptr, &title), 0);
  EXPECT_STREQ(*title, "photo.psd");
  handles->Dispose(title);
  EXPECT_EQ(props->GetProperty(host::kHostSignature, host::kPropDocumentWidth, 0, nullptr, nullptr), host::kParamErr);
  EXPECT_NE(props->GetProperty(C("XXXX"), host::kPropDocumentWidth, 0, &value, nullptr), 0);
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
  sim::TakeTranscript();
}

}  // namespace
}  // namespace simtest
