// Adjustment layers against the document model: the make event of each
// kind, the settings bytes the host keeps (read back by the plug-in's own
// decoder, so that the two sides agree on the layout), and what the host
// refuses.
#include <cstdint>
#include <string>
#include <vector>

#include "adjustments/adjustment_values.h"
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

const Json kDocument = Json::parse(R"({"host":{"version":11},"documents":[{
  "title":"adjust.psd","selection":true,
  "layers":[{"name":"Background","background":true},{"name":"Photo"}]}]})");

constexpr const char* kPreset = R"(["presetKind",{"enum":["presetKindType","presetKindDefault"]}])";

// The make event of an adjustment of `cls` holding these keys (DESC text
// after the preset kind), with the layer keys after it.
std::string Make(const std::string& cls, const std::string& keys, const std::string& layerKeys = "") {
  return R"([["null",{"ref":[{"class":"AdjL"}]}],["Usng",{"object":"AdjL","items":[["Type",{"object":")" + cls +
         R"(","items":[)" + kPreset + (keys.empty() ? "" : "," + keys) + "]}]" +
         (layerKeys.empty() ? "" : "," + layerKeys) + "]}]]";
}

class AdjustmentEvents : public HostTest {
 protected:
  void SetUp() override { StartHost(kDocument); }
  host::OSErr Play(const char* event, const std::string& descriptor) {
    host::Descriptor d = sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(descriptor)));
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    return e;
  }
  Json TopLayer() { return Document()["layers"].back(); }
  // The top layer's settings bytes, decoded as the plug-in decodes them.
  std::vector<double> Decoded(AdjustmentKind kind) {
    const Json layer = TopLayer();
    const std::string bytes = sim::ValueFromJson(Json{{"data", layer["adjustment"]["data"]}}).text;
    const auto values =
        DecodeAdjustmentValues(kind, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    EXPECT_TRUE(values.has_value());
    return values.value_or(std::vector<double>());
  }
};

TEST_F(AdjustmentEvents, TheSettingsOfEachKindAreKeptAsTheHostLaysThemOut) {
  ASSERT_EQ(Play("Mk  ", Make("ClrB", R"(["ShdL",{"list":[{"int":-100},{"int":5},{"int":0}]}],)"
                                      R"(["MdtL",{"list":[{"int":1},{"int":2},{"int":3}]}],)"
                                      R"(["HghL",{"list":[{"int":4},{"int":-5},{"int":100}]}],["PrsL",{"bool":false}])")),
            0);
  EXPECT_EQ(Decoded(AdjustmentKind::ColorBalance), (std::vector<double>{-100, 5, 0, 1, 2, 3, 4, -5, 100, 0}));

  ASSERT_EQ(Play("Mk  ", Make("Exps", R"(["Exps",{"float":1.5}],["Ofst",{"float":-0.25}],["gammaCorrection",{"float":0.5}])")), 0);
  EXPECT_EQ(Decoded(AdjustmentKind::Exposure), (std::vector<double>{1.5, -0.25, 0.5}));

  ASSERT_EQ(Play("Mk  ", Make("vibrance", R"(["vibrance",{"int":-40}],["Strt",{"int":25}])")), 0);
  EXPECT_EQ(Decoded(AdjustmentKind::Vibrance), (std::vector<double>{-40, 25}));

  ASSERT_EQ(Play("Mk  ", Make("BanW", R"(["Rd  ",{"int":10}],["Mgnt",{"int":-20}],["useTint",{"bool":true}],)"
                                      R"(["tintColor",{"object":"RGBC","items":[["Rd  ",{"float":1.5}],["Grn ",{"float":2}],["Bl  ",{"float":3}]]}])")),
            0);
  EXPECT_EQ(Decoded(AdjustmentKind::BlackAndWhite), (std::vector<double>{10, 60, 40, 60, 20, -20, 1, 1.5, 2, 3}));

  // Monochrome: the gray output is the first.
  ASSERT_EQ(Play("Mk  ", Make("ChnM", R"(["Mnch",{"bool":true}],["Gry ",{"object":"ChMx","items":[)"
                                      R"(["Rd  ",{"unit":"#Prc","value":50}],["Grn ",{"unit":"#Prc","value":30}],)"
                                      R"(["Bl  ",{"unit":"#Prc","value":20}],["Cnst",{"unit":"#Prc","value":-4}]]}])")),
            0);
  EXPECT_EQ(Decoded(AdjustmentKind::ChannelMixer), (std::vector<double>{1, 50, 30, 20, -4, 0, 0, 0, 0, 0, 0, 0, 0}));

  // Without settings the host's defaults: the identity mix.
  ASSERT_EQ(Play("Mk  ", Make("ChnM", "")), 0);
  EXPECT_EQ(Decoded(AdjustmentKind::ChannelMixer), (std::vector<double>{0, 100, 0, 0, 0, 0, 100, 0, 0, 0, 0, 100, 0}));

  std::string colours;
  const char* names[] = {"Rds ", "Ylws", "Grns", "Cyns", "Bls ", "Mgnt", "Whts", "Ntrl", "Blks"};
  for (int c = 0; c < 9; ++c) {
    if (c) colours += ",";
    colours += R"({"object":"ClrC","items":[["Clrs",{"enum":["Clrs",")" + std::string(names[c]) + R"("]}],)" +
               R"(["Cyn ",{"unit":"#Prc","value":)" + std::to_string(c) + R"(}],["Mgnt",{"unit":"#Prc","value":0}],)" +
               R"(["Ylw ",{"unit":"#Prc","value":0}],["Blck",{"unit":"#Prc","value":)" + std::to_string(-c) + "}]]}";
  }
  ASSERT_EQ(Play("Mk  ", Make("SlcC", R"(["Mthd",{"enum":["CrcM","Absl"]}],["ClrC",{"list":[)" + colours + "]}]")), 0);
  const std::vector<double> selective = Decoded(AdjustmentKind::SelectiveColor);
  ASSERT_EQ(selective.size(), 37u);
  EXPECT_EQ(selective[0], 1);
  EXPECT_EQ(selective[1 + 4 * 8], 8);       // blacks: cyan
  EXPECT_EQ(selective[1 + 4 * 8 + 3], -8);  // blacks: black

  ASSERT_EQ(Play("Mk  ", Make("Crvs", R"(["Adjs",{"list":[{"object":"CrvA","items":[["Chnl",{"ref":[{"class":"Chnl","enum":["Chnl","Cmps"]}]}],)"
                                      R"(["Crv ",{"list":[{"object":"Pnt ","items":[["Vrtc",{"float":20}],["Hrzn",{"float":0}]]}]}]]}]}])")),
            0);
  EXPECT_EQ(Decoded(AdjustmentKind::Curves), (std::vector<double>{0, 1, 20, 0}));
}

TEST_F(AdjustmentEvents, TheNewLayerTakesTheSelectionAsItsMaskAndTheGivenProperties) {
  ASSERT_EQ(Play("Mk  ", Make("ClrB", "", R"(["Nm  ",{"string":"Warm"}],["Opct",{"unit":"#Prc","value":60}],)"
                                          R"(["Md  ",{"enum":["BlnM","Scrn"]}],["Grup",{"bool":true}])")),
            0);
  const Json layer = TopLayer();
  EXPECT_EQ(layer["name"], "Warm");
  EXPECT_EQ(layer["kind"], "adjustment");
  EXPECT_EQ(layer["adjustment"]["class"], "colorBalance");
  EXPECT_EQ(layer["opacity"], 153);
  EXPECT_EQ(layer["blendMode"], "Scrn");
  EXPECT_EQ(layer["grouped"], true);
  EXPECT_EQ(layer["userMask"]["reveals"], "selection");
  EXPECT_EQ(Document()["selection"], false);
  EXPECT_EQ(Document()["target"], Json::array({2}));
}

TEST_F(AdjustmentEvents, WhatTheHostRefuses) {
  struct Refusal {
    const char* what;
    std::string descriptor;
  };
  const Refusal refusals[] = {
      {"a key Color Balance has no place for", Make("ClrB", R"(["Exps",{"float":1}])")},
      {"a map of 255 outputs", Make("Crvs", R"(["Adjs",{"list":[{"object":"CrvA","items":[["Chnl",{"ref":[{"class":"Chnl","enum":["Chnl","Cmps"]}]}],["Mpng",{"list":[)" +
                                         [] {
                                           std::string ints;
                                           for (int i = 0; i < 255; ++i) ints += std::string(i ? "," : "") + R"({"int":1})";
                                           return ints;
                                         }() +
                                         "]}]]}]}]")},
      {"a shadows list of two", Make("ClrB", R"(["ShdL",{"list":[{"int":1},{"int":2}]}])")},
      {"no preset kind", R"([["null",{"ref":[{"class":"AdjL"}]}],["Usng",{"object":"AdjL","items":[["Type",{"object":"ClrB","items":[]}]]}]])"},
      {"a percentage as an integer", Make("SlcC", R"(["Mthd",{"enum":["CrcM","Rltv"]}])", R"(["Opct",{"int":50}])")},
  };
  const Json before = Document();
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    EXPECT_NE(Play("Mk  ", r.descriptor), 0);
    EXPECT_EQ(Document(), before);
  }
  sim::TakeTranscript();
  // A set of the target adjustment layer: refused on a pixel layer.
  const std::string setVibrance =
      R"([["null",{"ref":[{"class":"AdjL","enum":["Ordn","Trgt"]}]}],["T   ",{"object":"vibrance","items":[["vibrance",{"int":5}]]}]])";
  EXPECT_EQ(Play("setd", setVibrance), sim::err::kCannotApply);
  // On a Vibrance layer it changes the kept value.
  ASSERT_EQ(Play("Mk  ", Make("vibrance", R"(["vibrance",{"int":1}],["Strt",{"int":2}])")), 0);
  ASSERT_EQ(Play("setd", setVibrance), 0);
  EXPECT_EQ(Decoded(AdjustmentKind::Vibrance), (std::vector<double>{5, 2}));
}

}  // namespace
}  // namespace simtest
