// Adjustment layers the editor renders but cannot make or change itself:
// re-edited from a double click on their thumbnail (the settings bytes the
// editor keeps read back into the make event), made from the Layers panel's
// pop-up, and used to adjust a layer's pixels through a clipped layer that is
// merged down. A step that fails or is cancelled leaves the old layer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

// Settings bytes laid out as the editor writes them, as "hex:..." text.
class Blob {
 public:
  explicit Blob(std::size_t size) : bytes_(size, 0) {}
  Blob& Byte(std::size_t at, int v) {
    bytes_.at(at) = std::uint8_t(v);
    return *this;
  }
  Blob& Int16(std::size_t at, int v) {
    const auto u = std::uint16_t(std::int16_t(v));
    return Byte(at, u >> 8).Byte(at + 1, u & 0xFF);
  }
  Blob& Float32(std::size_t at, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) Byte(at + std::size_t(i), int(u >> (24 - 8 * i)) & 0xFF);
    return *this;
  }
  Blob& Float64(std::size_t at, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) Byte(at + std::size_t(i), int(u >> (56 - 8 * i)) & 0xFF);
    return *this;
  }
  std::string Hex() const {
    static const char digits[] = "0123456789abcdef";
    std::string out = "hex:";
    for (std::uint8_t b : bytes_) {
      out += digits[b >> 4];
      out += digits[b & 15];
    }
    return out;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

// A document whose top layer is an adjustment of `cls` with these bytes,
// over a pixel layer.
Json AdjustedDocument(const std::string& cls, const std::string& data) {
  return {{"title", "Harbour.psd"},
          {"layers",
           {{{"name", "Background"}, {"background", true}},
            {{"name", "Sky"}},
            {{"name", "Mood"},
             {"kind", "adjustment"},
             {"adjustment", {{"class", cls}, {"data", data}}},
             {"opacity", 153},
             {"blendMode", "Mltp"},
             {"grouped", true},
             {"userMask", {{"enabled", false}, {"linked", false}, {"reveals", "channel Rd"}}}}}}};
}

// A double click on the current layer's thumbnail, inside its column in
// every editor at the default thumbnail size: a clipped layer's thumbnail
// stands further right.
const Json kDoubleClick = {{"click", "layers"}, {"x", 90}, {"y", 60}, {"double", true}};
const Json kDoubleClickUnclipped = {{"click", "layers"}, {"x", 60}, {"y", 60}, {"double", true}};

Json EditScenario(int version, const Json& document, const Json& steps, const Json& answers = Json::object()) {
  return {{"host", {{"version", version}}}, {"documents", {document}}, {"answers", answers}, {"steps", steps}};
}

// The adjustment object of the run's make events, in order.
std::vector<Json> MadeAdjustments(const EditorRun& run) {
  std::vector<Json> made;
  for (const Json& play : OfKind(run.transcript, "play")) {
    if (play["event"] != "Mk  " || !play["descriptor"].is_array()) continue;
    for (const Json& entry : play["descriptor"])
      if (entry[0] == "Usng")
        for (const Json& key : entry[1]["items"])
          if (key[0] == "Type") made.push_back(key[1]);
  }
  return made;
}

// The value of a key of a DESC, null when absent.
Json ValueOf(const Json& items, const std::string& key) {
  for (const Json& entry : items)
    if (entry[0] == key) return entry[1];
  return nullptr;
}

struct EditCase {
  const char* what;
  int version;
  std::string cls;       // as the editor names the layer's adjustment
  std::string typeClass; // the class of the remade adjustment
  std::string data;
  std::vector<std::pair<std::string, Json>> keys;   // keys of the adjustment object the make must carry
  std::vector<std::string> absent;                  // keys it must not carry
};

std::vector<EditCase> EditCases() {
  std::vector<EditCase> cases;
  {
    Blob b(19);
    const int shares[9] = {-100, 100, 0, 25, -25, 7, 1, -1, 50};
    for (int i = 0; i < 9; ++i) b.Int16(std::size_t(2 * i), shares[i]);
    b.Byte(18, 0);
    cases.push_back({"Color Balance", 8, "colorBalance", "ClrB", b.Hex(),
                     {{"ShdL", {{"list", {{{"int", -100}}, {{"int", 100}}, {{"int", 0}}}}}},
                      {"HghL", {{"list", {{{"int", 1}}, {{"int", -1}}, {{"int", 50}}}}}},
                      {"PrsL", {{"bool", false}}}},
                     {}});
  }
  {
    Blob b(14);
    b.Int16(0, 1).Float32(2, 1.5f).Float32(6, -0.125f).Float32(10, 2.25f);
    cases.push_back({"Exposure", 11, "exposure", "Exps", b.Hex(),
                     {{"Exps", {{"float", 1.5}}}, {"Ofst", {{"float", -0.125}}}, {"gammaCorrection", {{"float", 2.25}}}},
                     {}});
  }
  {
    Blob b(58);
    b.Byte(41, 30).Byte(57, -10);
    cases.push_back({"Vibrance", 11, "vibrance", "vibrance", b.Hex(),
                     {{"vibrance", {{"int", 30}}}, {"Strt", {{"int", -10}}}}, {}});
    Blob shorter(57);
    shorter.Byte(41, 30);
    cases.push_back({"Vibrance of 57 bytes", 12, "vibrance", "vibrance", shorter.Hex(),
                     {{"vibrance", {{"int", 0}}}, {"Strt", {{"int", 0}}}}, {}});
  }
  {
    Blob b(229);
    const int shares[6] = {40, 60, -200, 300, 20, 80};
    const std::size_t at[6] = {36, 52, 68, 84, 100, 116};
    for (int i = 0; i < 6; ++i) b.Int16(at[i], shares[i]);
    b.Byte(133, 1).Float64(181, 225.0).Float64(201, 211.5).Float64(221, 179.0);
    cases.push_back({"Black & White with a tint", 11, "blackAndWhite", "BanW", b.Hex(),
                     {{"Grn ", {{"int", -200}}},
                      {"Cyn ", {{"int", 300}}},
                      {"useTint", {{"bool", true}}},
                      {"tintColor", Json::parse(R"({"object": "RGBC", "items": [["Rd  ", {"float": 225.0}],
                                                    ["Grn ", {"float": 211.5}], ["Bl  ", {"float": 179.0}]]})")}},
                     {}});
  }
  {
    // Monochrome: only the gray output, whatever the other two hold.
    Blob b(34);
    b.Int16(0, 1).Int16(2, 1).Int16(4, 40).Int16(6, 30).Int16(8, 30).Int16(12, -5).Int16(14, 77).Int16(24, 88);
    cases.push_back({"monochrome Channel Mixer", 8, "channelMixer", "ChnM", b.Hex(),
                     {{"Mnch", {{"bool", true}}},
                      {"Gry ", Json::parse(R"({"object": "ChMx", "items": [
                                  ["Rd  ", {"unit": "#Prc", "value": 40.0}], ["Grn ", {"unit": "#Prc", "value": 30.0}],
                                  ["Bl  ", {"unit": "#Prc", "value": 30.0}], ["Cnst", {"unit": "#Prc", "value": -5.0}]]})")}},
                     {"Rd  ", "Grn ", "Bl  "}});
  }
  {
    Blob b(84);
    b.Int16(0, 1).Int16(2, 1);
    for (int i = 0; i < 36; ++i) b.Int16(12 + 2 * std::size_t(i), i - 18);
    cases.push_back({"Selective Color, absolute", 8, "selectiveColor", "SlcC", b.Hex(),
                     {{"Mthd", {{"enum", {"CrcM", "Absl"}}}}}, {}});
    b.Int16(2, 0);
    cases.push_back({"Selective Color, relative", 8, "selectiveColor", "SlcC", b.Hex(),
                     {{"Mthd", {{"enum", {"CrcM", "Rltv"}}}}}, {}});
  }
  {
    Blob b(9 + 4 * 3);
    b.Int16(7, 3);
    const int pairs[6] = {10, 0, 200, 128, 255, 255};
    for (int k = 0; k < 6; ++k) b.Int16(9 + 2 * std::size_t(k), pairs[k]);
    cases.push_back({"Curves, three points", 8, "curves", "Crvs", b.Hex(), {}, {}});
    Blob map(263);
    map.Byte(0, 1);
    for (int i = 0; i < 256; ++i) map.Byte(7 + std::size_t(i), 255 - i);
    cases.push_back({"Curves, a map", 8, "curves", "Crvs", map.Hex(), {}, {}});
  }
  return cases;
}

void CheckCurves(const EditCase& c, const Json& adjustment) {
  const Json curves = ValueOf(adjustment["items"], "Adjs");
  ASSERT_TRUE(curves.contains("list"));
  ASSERT_EQ(curves["list"].size(), 1u);
  const Json& curve = curves["list"][0]["items"];
  EXPECT_EQ(ValueOf(curve, "Chnl"), Json::parse(R"({"ref": [{"class": "Chnl", "enum": ["Chnl", "Cmps"]}]})"));
  if (c.what == std::string("Curves, a map")) {
    const Json map = ValueOf(curve, "Mpng");
    ASSERT_EQ(map["list"].size(), 256u);
    EXPECT_EQ(map["list"][0], Json({{"int", 255}}));
    EXPECT_EQ(map["list"][255], Json({{"int", 0}}));
    EXPECT_TRUE(ValueOf(curve, "Crv ").is_null());
    return;
  }
  const Json points = ValueOf(curve, "Crv ");
  ASSERT_EQ(points["list"].size(), 3u);
  EXPECT_EQ(points["list"][1],
            Json::parse(R"({"object": "Pnt ", "items": [["Vrtc", {"float": 200.0}], ["Hrzn", {"float": 128.0}]]})"));
  EXPECT_TRUE(ValueOf(curve, "Mpng").is_null());
}

TEST(AdjustmentLayers, ReEditingEachKindHandsTheEditorItsSettingsAndKeepsTheLayer) {
  for (const EditCase& c : EditCases()) {
    SCOPED_TRACE(c.what);
    // Edited twice: what the editor stored from the first edit reads back
    // as the same settings.
    EditorRun run = RunEditor(EditScenario(c.version, AdjustedDocument(c.cls, c.data),
                                           {kDoubleClick, {{"state", true}}, kDoubleClick, {{"state", true}}}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> made = MadeAdjustments(run);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0], made[1]);
    const Json& adjustment = made[0];
    EXPECT_EQ(adjustment["object"], c.typeClass);
    EXPECT_EQ(ValueOf(adjustment["items"], "presetKind"),
              Json::parse(R"({"enum": ["presetKindType", "presetKindDefault"]})"));
    for (const auto& [key, value] : c.keys) EXPECT_EQ(ValueOf(adjustment["items"], key), value) << key;
    for (const std::string& key : c.absent) EXPECT_TRUE(ValueOf(adjustment["items"], key).is_null()) << key;
    if (c.typeClass == "Crvs") CheckCurves(c, adjustment);

    // One kept step each; the editor's new-layer prompt confirmed by the
    // module and the kind's own dialog by the user.
    for (const Json& end : OfKind(run.transcript, "step-end")) EXPECT_EQ(end["kept"], true);
    const std::vector<Json> dialogs = OfKind(run.transcript, "host-dialog");
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_TRUE(LineMatches(dialogs[0], {{"dialog", "newLayer"}, {"answer", "ok"}, {"by", "keyboard"}}));
    EXPECT_TRUE(LineMatches(dialogs[1], {{"dialog", c.typeClass}, {"answer", "ok"}}));

    // The remade layer in the old one's place, with its name, opacity, blend
    // mode, clipping and mask.
    const std::vector<Json> states = OfKind(run.transcript, "state");
    ASSERT_EQ(states.size(), 2u);
    for (const Json& state : states) {
      const Json& layers = state["documents"][0]["layers"];
      ASSERT_EQ(layers.size(), 3u);
      const Json& layer = layers[2];
      EXPECT_EQ(layer["name"], "Mood");
      EXPECT_EQ(layer["kind"], "adjustment");
      EXPECT_EQ(layer["adjustment"]["class"], c.cls);
      EXPECT_EQ(layer["opacity"], 153);
      EXPECT_EQ(layer["blendMode"], "Mltp");
      EXPECT_EQ(layer["grouped"], true);
      EXPECT_EQ(layer["userMask"],
                Json::parse(R"({"enabled": false, "linked": false, "reveals": "channel Rd"})"));
      EXPECT_EQ(layers[1]["name"], "Sky");
    }
  }
}

TEST(AdjustmentLayers, ADroppedEditLeavesTheOldLayerAsItWas) {
  Blob b(19);
  b.Int16(0, 20).Byte(18, 1);
  const Json document = AdjustedDocument("colorBalance", b.Hex());
  struct Case {
    const char* what;
    Json answers;
    Json faults;
  };
  const Case cases[] = {
      {"the user cancels the Color Balance dialog", {{"hostDialogs", {{"ClrB", "cancel"}}}}, Json::array()},
      {"the editor refuses the make", Json::object(), {{{"event", "Mk  "}, {"nth", 1}}}},
      {"the mask cannot be loaded as the selection", Json::object(), {{{"event", "Intr"}, {"nth", 1}}}},
      {"the settings cannot be read", Json::object(), {{{"suite", "descriptor"}, {"call", "GetData"}, {"nth", 1}}}},
      {"the old layer cannot be deleted", Json::object(), {{{"event", "Dlt "}, {"nth", 1}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Json scenario =
        EditScenario(8, document, {{{"state", true}}, {{"faults", c.faults}}, kDoubleClick, {{"state", true}}}, c.answers);
    EditorRun run = RunEditor(scenario);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> ends = OfKind(run.transcript, "step-end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["kept"], false);
    const std::vector<Json> states = OfKind(run.transcript, "state");
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[1]["documents"], states[0]["documents"]);
  }
}

TEST(AdjustmentLayers, AnEditOfALayerWithoutSettingsOpensTheEditorsDefaults) {
  // No bytes kept with the layer: the make carries only the preset kind.
  const Json document = {{"layers",
                          {{{"name", "Background"}, {"background", true}},
                           {{"name", "Balance"}, {"kind", "adjustment"}, {"adjustment", {{"class", "colorBalance"}}}}}}};
  EditorRun run = RunEditor(EditScenario(8, document, {kDoubleClickUnclipped, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> made = MadeAdjustments(run);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0], Json::parse(R"({"object": "ClrB", "items": [["presetKind", {"enum": ["presetKindType", "presetKindDefault"]}]]})"));
  const Json layers = OfKind(run.transcript, "state")[0]["documents"][0]["layers"];
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[1]["name"], "Balance");
}

TEST(AdjustmentLayers, AdjustingAsAFilterMergesIntoTheLayerAndKeepsTheSelection) {
  constexpr int kColorBalanceRow = 0x8800 + 28;
  const Json document = {{"selection", true},
                         {"layers", {{{"name", "Background"}, {"background", true}}, {{"name", "Sky"}}}}};
  EditorRun run = RunEditor({{"host", {{"version", 11}}},
                             {"documents", {document}},
                             {"steps", {{{"command", kColorBalanceRow}}, {{"state", true}}}}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> made = MadeAdjustments(run);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0]["object"], "ClrB");
  // Clipped, with the editor's own defaults, and then merged down.
  std::vector<std::string> events;
  for (const Json& play : OfKind(run.transcript, "play")) events.push_back(play["event"]);
  EXPECT_EQ(events, (std::vector<std::string>{"Mk  ", "setd", "Intr", "Mrg2"}));
  const std::vector<Json> ends = OfKind(run.transcript, "step-end");
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0]["kept"], true);
  const Json doc = OfKind(run.transcript, "state")[0]["documents"][0];
  ASSERT_EQ(doc["layers"].size(), 2u);
  EXPECT_EQ(doc["layers"][1]["name"], "Sky");
  EXPECT_EQ(doc["selection"], true);
  EXPECT_EQ(doc.value("selectionArea", std::string("selection")), "selection");
}

TEST(AdjustmentLayers, TheNewAdjustmentLayerPopupMakesEachKind) {
  // Items 0x885D to 0x8863 of the Layers panel's pop-up, and the class each
  // makes; from editor 11 the module confirms the editor's new-layer prompt.
  const std::pair<int, const char*> items[] = {{0x885D, "Crvs"}, {0x885E, "Exps"}, {0x885F, "vibrance"},
                                              {0x8860, "ClrB"}, {0x8861, "BanW"}, {0x8862, "ChnM"},
                                              {0x8863, "SlcC"}};
  Json steps = Json::array();
  for (const auto& item : items) steps.push_back({{"popup", "layersAdjustment"}, {"choose", item.first}});
  steps.push_back({{"state", true}});
  const Json document = {{"layers", {{{"name", "Background"}, {"background", true}}}}};
  EditorRun run = RunEditor({{"host", {{"version", 11}}}, {"documents", {document}}, {"steps", steps}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> made = MadeAdjustments(run);
  ASSERT_EQ(made.size(), std::size(items));
  for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i]["object"], items[i].second) << i;
  for (const Json& dialog : OfKind(run.transcript, "host-dialog"))
    if (dialog["dialog"] == "newLayer") {
      EXPECT_EQ(dialog["by"], "keyboard");
    }
  // Seven new layers over the background, each made in one event.
  EXPECT_EQ(OfKind(run.transcript, "state")[0]["documents"][0]["layers"].size(), 1u + std::size(items));
  EXPECT_TRUE(OfKind(run.transcript, "step-begin").empty());
}

TEST(AdjustmentLayers, TheMenuItemLeavesThePromptToTheUser) {
  // Chosen from the editor's menu, not the Layers panel's pop-up, the module
  // confirms nothing on the user's behalf: the user answers the prompt, here
  // with Cancel, and no layer is made.
  constexpr int kCurvesRow = 0x8800 + 93;
  const Json document = {{"layers", {{{"name", "Background"}, {"background", true}}}}};
  EditorRun run = RunEditor({{"host", {{"version", 11}}},
                             {"documents", {document}},
                             {"answers", {{"hostDialogs", {{"newLayer", "cancel"}}}}},
                             {"steps", {{{"command", kCurvesRow}}, {{"state", true}}}}});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> dialogs = OfKind(run.transcript, "host-dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_TRUE(LineMatches(dialogs[0], {{"dialog", "newLayer"}, {"answer", "cancel"}, {"by", "user"}}));
  EXPECT_EQ(OfKind(run.transcript, "state")[0]["documents"][0]["layers"].size(), 1u);
}

}  // namespace
}  // namespace integration
