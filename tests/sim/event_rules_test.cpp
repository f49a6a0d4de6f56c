// The host's strictness about played events: an event it does not know, or
// a descriptor outside what it takes, is refused with an `error` line naming
// the fault; a refusal because of the document's state is the host's
// ordinary answer, with no `error` line.
#include "event_rules.h"
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

const Json kDocument = Json::parse(R"({"host":{"version":8},"documents":[{
  "title":"strict.psd",
  "layers":[{"name":"Background","background":true},{"name":"Photo"}],
  "target":[1]}]})");

class StrictEvents : public HostTest {
 protected:
  void SetUp() override { StartHost(kDocument); }

  // Plays an event with a descriptor in the transcript's form (null: none);
  // the transcript's lines of the play are kept in `lines`.
  host::OSErr Play(const char* event, const char* descriptor) {
    sim::TakeTranscript();
    host::Descriptor d = descriptor ? sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(descriptor))) : nullptr;
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), d, 2);
    if (result) desc->Free(result);
    if (d) desc->Free(d);
    lines = sim::TakeTranscript();
    return e;
  }
  std::vector<Json> Errors() const { return OfKind(lines, {"error"}); }
  Json Layer(size_t position) { return Document()["layers"][position]; }

  std::vector<Json> lines;
};

constexpr const char* kTargetLayer = R"(["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}])";

std::string SetLayer(const char* items) {
  return std::string("[") + kTargetLayer + R"(,["T   ",{"object":"Lyr ","items":)" + items + "}]]";
}

TEST(EventRuleTables, EveryRuleIsWrittenInTheNotation) {
  for (auto table : {sim::LayerEventRules(), sim::MaskEventRules(), sim::GroupEventRules(), sim::AdjustmentEventRules(),
                     sim::DocumentEventRules(), sim::ActionEventRules(),
                     sim::ShortcutEventRules(), sim::ModeEventRules(), sim::TextEventRules(),
                     sim::ArrangementEventRules(), sim::DocumentCommandEventRules()})
    for (const sim::EventRule& rule : table) {
      EXPECT_FALSE(rule.event.empty());
      EXPECT_EQ(sim::CheckRuleNotation(rule.keys), "") << "a row of " << rule.event;
      EXPECT_NE(rule.apply, nullptr) << rule.event;
    }
}

// Each of these is a plug-in's mistake the host would refuse.
struct Fault {
  const char* what;
  const char* event;
  std::string descriptor;
  const char* key;   // the key the error line names, or null
  host::OSErr code;
};

TEST_F(StrictEvents, DescriptorsOutsideTheRowsAreRefusedWithAnErrorLine) {
  const Fault kFaults[] = {
      {"an unknown event", "Xyzw", "[]", nullptr, sim::err::kEventNotHandled},
      {"a misspelt event", "Mrg3", "[]", nullptr, sim::err::kEventNotHandled},
      {"opacity as an integer", "setd", SetLayer(R"([["Opct",{"int":50}]])"), "Opct", sim::err::kWrongType},
      {"opacity in pixels", "setd", SetLayer(R"([["Opct",{"unit":"#Pxl","value":50.0}]])"), "Opct",
       sim::err::kWrongType},
      {"a blend mode of the wrong enumeration type", "setd", SetLayer(R"([["Md  ",{"enum":["Ordn","Nrml"]}]])"),
       "Md  ", sim::err::kWrongType},
      {"a key the host does not know", "setd", SetLayer(R"([["Opqt",{"unit":"#Prc","value":50.0}]])"), "Opqt",
       sim::err::kWrongType},
      {"a layer mask of a value the host has not", "Mk  ",
       R"([["Nw  ",{"class":"Chnl"}],["At  ",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["Usng",{"enum":["UsrM","RvlX"]}]])",
       "Usng", sim::err::kWrongType},
      {"a layer mask without its kind", "Mk  ",
       R"([["Nw  ",{"class":"Chnl"}],["At  ",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}]])", "Usng",
       sim::err::kNoSuchKey},
      {"a wrong class in a reference", "Dlt ", R"([["null",{"ref":[{"class":"Dcmn","enum":["Ordn","Msk "]}]}]])",
       "null", sim::err::kWrongType},
      {"a selection reference of another property", "setd",
       R"([["null",{"ref":[{"class":"Chnl","property":"fsek"}]}],["T   ",{"enum":["Ordn","Al  "]}]])", "null",
       sim::err::kWrongType},
      {"a descriptor for an event that takes none", "FltI", R"([["null",{"bool":true}]])", "null",
       sim::err::kWrongType},
      {"the editor's Fill played silently with nothing to fill with", "Fl  ", "[]", "Usng", sim::err::kNoSuchKey},
      {"Liquify played silently", "LqFy", "[]", nullptr, sim::err::kEventNotHandled},
      {"a paste with an anti-alias of another type", "past", R"([["AntA",{"enum":["Ordn","Anno"]}]])", "AntA",
       sim::err::kWrongType},
      {"a new document made from a preset the host has not", "Mk  ",
       R"([["Nw  ",{"object":"Dcmn","items":[["preset",{"string":"Letter"}]]}]])", "Nw  ",
       sim::err::kWrongType},
  };
  for (const Fault& f : kFaults) {
    SCOPED_TRACE(f.what);
    const Json before = Document();
    EXPECT_EQ(Play(f.event, f.descriptor.c_str()), f.code);
    EXPECT_EQ(Document(), before);
    const auto errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]["event"], sim::TextFromId(sim::IdFromText(f.event)));
    if (f.key) EXPECT_EQ(errors[0].value("key", ""), f.key) << errors[0].dump();
    else EXPECT_FALSE(errors[0].contains("key"));
    EXPECT_FALSE(errors[0].value("text", "").empty());
  }
}

TEST_F(StrictEvents, TheClipboardMakesAnImageAndIsPastedIntoIt) {
  StartHost(Json::parse(R"({"host":{"version":8},"documents":[],"clipboard":{"image":[320,240]}})"));
  const char* kFromClipboard = R"([["Nw  ",{"object":"Dcmn","items":[["preset",{"string":"Clipboard"}]]}]])";
  EXPECT_EQ(Play("past", R"([["AntA",{"enum":["Annt","Anno"]}]])"), sim::err::kCannotApply) << "no document";
  EXPECT_EQ(Play("Mk  ", kFromClipboard), sim::err::kNone);
  EXPECT_EQ(Play("past", R"([["AntA",{"enum":["Annt","Anno"]}]])"), sim::err::kNone);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Document()["width"], 320);
  EXPECT_EQ(Document()["height"], 240);
  EXPECT_EQ(Document()["history"], Json::parse(R"(["New", "Paste"])"));
  EXPECT_EQ(Layer(1)["pasted"]["antiAlias"], "Anno");

  StartHost(Json::parse(R"({"host":{"version":8},"documents":[],"clipboard":null})"));
  EXPECT_EQ(Play("Mk  ", kFromClipboard), sim::err::kCannotApply);
  EXPECT_TRUE(Errors().empty()) << "nothing to paste is the host's ordinary refusal";
}

TEST_F(StrictEvents, TheEditorsDialogEventsChangeTheLayerOnlyWhenShown) {
  const auto playShown = [&](const char* event) {
    sim::TakeTranscript();
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), nullptr, host::kDialogDisplay);
    if (result) desc->Free(result);
    lines = sim::TakeTranscript();
    return e;
  };
  EXPECT_EQ(playShown("Fl  "), sim::err::kNone);
  EXPECT_EQ(playShown("LqFy"), sim::err::kNone);
  EXPECT_EQ(playShown("LnCr"), sim::err::kNone);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Document()["history"], Json::parse(R"(["Open", "Fill Layer", "Liquify", "Lens Correction"])"));

  StartHost(Json::parse(R"({"host":{"version":4},"documents":[{"layers":[{"name":"Photo"}]}]})"));
  EXPECT_EQ(playShown("LnCr"), sim::err::kEventNotHandled) << "no Lens Correction before editor 5";
  EXPECT_EQ(Errors().size(), 1u);
}

TEST_F(StrictEvents, ErrorLinesSayWhatWasWrong) {
  Play("setd", SetLayer(R"([["Opct",{"int":50}]])").c_str());
  ASSERT_EQ(Errors().size(), 1u);
  const std::string text = Errors()[0]["text"];
  EXPECT_NE(text.find("integer"), std::string::npos) << text;
  EXPECT_NE(text.find("#Prc"), std::string::npos) << text;
}

TEST_F(StrictEvents, DocumentStateRefusalsAreTheHostsOrdinaryAnswer) {
  // A reveal-selection mask without a selection, a hide-all mask in editor 8,
  // opacity of the background.
  EXPECT_EQ(Play("Mk  ",
                 R"([["Nw  ",{"class":"Chnl"}],["At  ",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["Usng",{"enum":["UsrM","HdAl"]}]])"),
            sim::err::kCannotApply);
  EXPECT_TRUE(Errors().empty());
  EXPECT_FALSE(Layer(1)["userMask"].is_object());

  EXPECT_EQ(Play("slct", R"([["null",{"ref":[{"class":"Lyr ","name":"Background"}]}]])"), sim::err::kNone);
  EXPECT_EQ(Play("setd", SetLayer(R"([["Opct",{"unit":"#Prc","value":50.0}]])").c_str()), sim::err::kCannotApply);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Layer(0)["opacity"], 255);
}

TEST_F(StrictEvents, HideAllMasksFromEditorNine) {
  StartHost(Json::parse(R"({"host":{"version":9},"documents":[{"layers":[{"name":"Photo"}]}]})"));
  EXPECT_EQ(Play("Mk  ",
                 R"([["Nw  ",{"class":"Chnl"}],["At  ",{"ref":[{"class":"Chnl","enum":["Chnl","Msk "]}]}],["Usng",{"enum":["UsrM","HdAl"]}]])"),
            sim::err::kNone);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Layer(0)["userMask"]["reveals"], "none");
}

TEST_F(StrictEvents, OpacityAndFillOpacityInPercent) {
  EXPECT_EQ(Play("setd", SetLayer(R"([["Opct",{"unit":"#Prc","value":50.0}],["fillOpacity",{"unit":"#Prc","value":0.0}]])").c_str()),
            sim::err::kNone);
  EXPECT_TRUE(Errors().empty());
  EXPECT_EQ(Layer(1)["opacity"], 128);
  EXPECT_EQ(Layer(1)["fillOpacity"], 0);
}

TEST_F(StrictEvents, EventsOfLaterEditorsAreUnknownToEarlierOnes) {
  EXPECT_EQ(Play("BanW", "[]"), sim::err::kEventNotHandled);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0]["text"].get<std::string>().find("version 8"), std::string::npos);
  StartHost(Json::parse(R"({"host":{"version":11}})"));
  EXPECT_EQ(Play("BanW", "[]"), sim::err::kNone);
  EXPECT_TRUE(Errors().empty());
}

}  // namespace
}  // namespace simtest
