// The descriptors the host takes for its adjustment and filter commands, and
// adjustment layers: made with their settings, which the host keeps as
// bytes with the layer, and set. Pixels are not simulated: the adjustment
// and filter events change nothing in the model, and the transcript shows
// what was played.
#include <algorithm>
#include <cmath>

#include "adjustment_data.h"
#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr std::string_view kPresetKind = "enum presetKindType = presetKindDefault, presetKindCustom, presetKindUserDefined";

// One output channel of the Channel Mixer: the share of each source channel.
constexpr KeyRule kChannelMix[] = {
    Optional("Rd", "unit #Prc"),
    Optional("Grn", "unit #Prc"),
    Optional("Bl", "unit #Prc"),
    Optional("Cnst", "unit #Prc"),
};
constexpr KeyRule kChannelMixer[] = {
    Optional("presetKind", kPresetKind),
    Optional("Mnch", "bool"),
    Optional("Rd", "object ChMx", kChannelMix),
    Optional("Grn", "object ChMx", kChannelMix),
    Optional("Bl", "object ChMx", kChannelMix),
    Optional("Gry", "object ChMx", kChannelMix),
};

constexpr KeyRule kCurvePoint[] = {
    Key("Hrzn", "float"),
    Key("Vrtc", "float"),
};
constexpr KeyRule kCurve[] = {
    Key("Chnl", "ref Chnl:Chnl/Cmps, Rd, Grn, Bl"),
    Key("Crv", "list object Pnt", kCurvePoint),
};
constexpr KeyRule kCurves[] = {
    Optional("presetKind", kPresetKind),
    Optional("Adjs", "list object CrvA", kCurve),
};

constexpr KeyRule kTintColor[] = {
    Key("Rd", "float"),
    Key("Grn", "float"),
    Key("Bl", "float"),
};
constexpr KeyRule kBlackAndWhite[] = {
    Optional("presetKind", kPresetKind),
    Optional("Rd", "int"),
    Optional("Yllw", "int"),
    Optional("Grn", "int"),
    Optional("Cyn", "int"),
    Optional("Bl", "int"),
    Optional("Mgnt", "int"),
    Optional("useTint", "bool"),
    Optional("tintColor", "object RGBC", kTintColor),
};

// ---- Adjustment layers: the settings object of each kind ----

constexpr KeyRule kCurveMapOrPoints[] = {
    Key("Chnl", "ref Chnl:Chnl/Cmps"),
    Optional("Mpng", "list int"),
    Optional("Crv", "list0 object Pnt", kCurvePoint),
};
constexpr KeyRule kCurvesSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("Adjs", "list object CrvA", kCurveMapOrPoints),
};
constexpr KeyRule kExposureSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("Exps", "float"),
    Optional("Ofst", "float"),
    Optional("gammaCorrection", "float"),
};
constexpr KeyRule kChannelMixerSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("Mnch", "bool"),
    Optional("Rd", "object ChMx", kChannelMix),
    Optional("Grn", "object ChMx", kChannelMix),
    Optional("Bl", "object ChMx", kChannelMix),
    Optional("Gry", "object ChMx", kChannelMix),
};
constexpr KeyRule kVibranceSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("vibrance", "int"),
    Optional("Strt", "int"),
};
constexpr KeyRule kColorBalanceSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("ShdL", "list int"),
    Optional("MdtL", "list int"),
    Optional("HghL", "list int"),
    Optional("PrsL", "bool"),
};
constexpr KeyRule kSelectiveColorOfOne[] = {
    Key("Clrs", "enum Clrs = Rds, Ylws, Grns, Cyns, Bls, Mgnt, Whts, Ntrl, Blks"),
    Key("Cyn", "unit #Prc"),
    Key("Mgnt", "unit #Prc"),
    Key("Ylw", "unit #Prc"),
    Key("Blck", "unit #Prc"),
};
constexpr KeyRule kSelectiveColorSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("Mthd", "enum CrcM = Rltv, Absl"),
    Optional("ClrC", "list object ClrC", kSelectiveColorOfOne),
};
constexpr KeyRule kBlackAndWhiteSettings[] = {
    Key("presetKind", kPresetKind),
    Optional("Rd", "int"),
    Optional("Yllw", "int"),
    Optional("Grn", "int"),
    Optional("Cyn", "int"),
    Optional("Bl", "int"),
    Optional("Mgnt", "int"),
    Optional("useTint", "bool"),
    Optional("tintColor", "object RGBC", kTintColor),
};

// The new layer: its settings object, then what the make may give it.
#define QB_ADJUSTMENT_LAYER(name, cls, settings)       \
  constexpr KeyRule name[] = {                          \
      Key("Type", "object " cls, settings),             \
      Optional("Nm", "text"),                           \
      Optional("Opct", "unit #Prc"),                    \
      Optional("Md", "enum BlnM"),                      \
      Optional("Grup", "bool"),                         \
  };
QB_ADJUSTMENT_LAYER(kCurvesLayer, "Crvs", kCurvesSettings)
QB_ADJUSTMENT_LAYER(kExposureLayer, "Exps", kExposureSettings)
QB_ADJUSTMENT_LAYER(kChannelMixerLayer, "ChnM", kChannelMixerSettings)
QB_ADJUSTMENT_LAYER(kVibranceLayer, "vibrance", kVibranceSettings)
QB_ADJUSTMENT_LAYER(kColorBalanceLayer, "ClrB", kColorBalanceSettings)
QB_ADJUSTMENT_LAYER(kSelectiveColorLayer, "SlcC", kSelectiveColorSettings)
QB_ADJUSTMENT_LAYER(kBlackAndWhiteLayer, "BanW", kBlackAndWhiteSettings)
#undef QB_ADJUSTMENT_LAYER

#define QB_MAKE_ADJUSTMENT_LAYER(name, layer)   \
  constexpr KeyRule name[] = {                   \
      Key("null", "ref AdjL:class"),             \
      Key("Usng", "object AdjL", layer),         \
  };
QB_MAKE_ADJUSTMENT_LAYER(kMakeCurvesLayer, kCurvesLayer)
QB_MAKE_ADJUSTMENT_LAYER(kMakeExposureLayer, kExposureLayer)
QB_MAKE_ADJUSTMENT_LAYER(kMakeChannelMixerLayer, kChannelMixerLayer)
QB_MAKE_ADJUSTMENT_LAYER(kMakeVibranceLayer, kVibranceLayer)
QB_MAKE_ADJUSTMENT_LAYER(kMakeColorBalanceLayer, kColorBalanceLayer)
QB_MAKE_ADJUSTMENT_LAYER(kMakeSelectiveColorLayer, kSelectiveColorLayer)
QB_MAKE_ADJUSTMENT_LAYER(kMakeBlackAndWhiteLayer, kBlackAndWhiteLayer)
#undef QB_MAKE_ADJUSTMENT_LAYER

// A set of the target adjustment layer: only Vibrance takes values.
constexpr KeyRule kVibranceValues[] = {
    Optional("vibrance", "int"),
    Optional("Strt", "int"),
};
constexpr KeyRule kSetAdjustment[] = {
    Key("null", "ref AdjL:Ordn/Trgt"),
    Key("T", "object Crvs, Exps, ChnM, ClrB, SlcC, BanW"),
};
constexpr KeyRule kSetVibrance[] = {
    Key("null", "ref AdjL:Ordn/Trgt"),
    Key("T", "object vibrance", kVibranceValues),
};

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

// The names the host gives a new adjustment layer and its history state.
struct KindTitle {
  std::string_view stringId;
  const char* title;
};
constexpr KindTitle kTitles[] = {
    {"curves", "Curves"},           {"exposure", "Exposure"},         {"channelMixer", "Channel Mixer"},
    {"vibrance", "Vibrance"},       {"colorBalance", "Color Balance"}, {"selectiveColor", "Selective Color"},
    {"blackAndWhite", "Black & White"},
};
std::string TitleOf(std::string_view stringId) {
  for (const KindTitle& t : kTitles)
    if (t.stringId == stringId) return t.title;
  return std::string(stringId);
}

// What the host refuses although the row takes it: settings whose lists do
// not have the length of their kind.
bool ListsWhole(std::string_view stringId, const DescriptorData& settings) {
  auto length = [&](const DescriptorData& d, const char* key) -> long {
    const Value* v = FindEntry(d, IdFromText(key));
    return v && v->type == host::kTypeList ? long(v->list.size()) : -1;
  };
  if (stringId == "colorBalance")
    for (const char* range : {"ShdL", "MdtL", "HghL"})
      if (const long n = length(settings, range); n != -1 && n != 3) return false;
  if (stringId == "selectiveColor")
    if (const long n = length(settings, "ClrC"); n != -1 && n != 9) return false;
  if (stringId == "curves")
    if (const Value* a = FindEntry(settings, C("Adjs")); a && a->type == host::kTypeList) {
      if (a->list.size() != 1) return false;
      const DescriptorData& curve = a->list[0].items;
      const long map = length(curve, "Mpng"), points = length(curve, "Crv ");
      if ((map == -1) == (points == -1)) return false;   // one form, not both or neither
      if (map != -1 && map != 256) return false;
    }
  return true;
}

host::OSErr OnMakeAdjustmentLayer(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* layerObject = FindEntry(play.params, C("Usng"));
  const Value* type = layerObject ? FindEntry(layerObject->items, C("Type")) : nullptr;
  const AdjustmentClass* kind = type ? FindAdjustmentClass(type->cls) : nullptr;
  if (!kind) return err::kCannotApply;
  if (!ListsWhole(kind->stringId, type->items)) return err::kParam;
  const DescriptorData& given = layerObject->items;
  const Value* name = FindEntry(given, C("Nm  "));
  const std::string layerName = name ? AnsiToUtf8(name->text) : TitleOf(kind->stringId) + " 1";
  if (play.mode == host::kDialogDisplay) {
    if (!ConfirmNewLayer(layerName)) return err::kUserCanceled;
    if (!ConfirmAdjustmentDialog(kind->code.empty() ? std::string(kind->stringId) : std::string(kind->code)))
      return err::kUserCanceled;
  }
  const int p = ActiveLayer(*doc);
  Json layer = NewLayer(play.model, layerName);
  layer["kind"] = "adjustment";
  layer["adjustment"] = Json{{"class", std::string(kind->stringId)},
                             {"data", HexBytes(AdjustmentSettingsBytes(kind->stringId, type->items))}};
  if (const Value* opacity = FindEntry(given, C("Opct")))
    layer["opacity"] = int(std::lround(std::clamp(opacity->number, 0.0, 100.0) * 255.0 / 100.0));
  if (const Value* mode = FindEntry(given, C("Md  "))) layer["blendMode"] = TextFromId(mode->enumValue);
  if (const Value* grouped = FindEntry(given, C("Grup"))) layer["grouped"] = grouped->flag;
  // The layer's mask reveals what was selected, and the selection went into it.
  std::string reveals = "all";
  if ((*doc).value("selection", false)) {
    reveals = (*doc).value("selectionArea", std::string("selection"));
    (*doc)["selection"] = false;
    doc->erase("selectionArea");
  }
  layer["userMask"] = Json{{"enabled", true}, {"linked", true}, {"reveals", reveals}};
  Json& layers = (*doc)["layers"];
  layers.insert(layers.begin() + (p + 1), std::move(layer));
  (*doc)["target"] = Json::array({p + 1});
  ResetTargetChannels(*doc);
  *play.historyName = TitleOf(kind->stringId) + " Layer";
  return err::kNone;
}

host::OSErr OnSetAdjustmentLayer(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* to = FindEntry(play.params, C("T   "));
  const AdjustmentClass* kind = to ? FindAdjustmentClass(to->cls) : nullptr;
  const int p = ActiveLayer(*doc);
  if (!kind || p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  // Only an adjustment layer of that kind takes it.
  if (layer.value("kind", std::string()) != "adjustment" || !layer["adjustment"].is_object() ||
      layer["adjustment"].value("class", std::string()) != kind->stringId)
    return err::kCannotApply;
  if (play.mode == host::kDialogDisplay &&
      !ConfirmAdjustmentDialog(kind->code.empty() ? std::string(kind->stringId) : std::string(kind->code)))
    return err::kUserCanceled;
  if (kind->stringId == "vibrance") {
    Json& adjustment = layer["adjustment"];
    std::string bytes;
    if (adjustment.contains("data") && adjustment["data"].is_string())
      bytes = ValueFromJson(Json{{"data", adjustment["data"]}}).text;
    adjustment["data"] = HexBytes(WithVibrance(std::move(bytes), to->items));
  }
  *play.historyName = "Modify " + TitleOf(kind->stringId) + " Layer";
  return err::kNone;
}

constexpr EventRule kAdjustmentRules[] = {
    {"Mk", kMakeCurvesLayer, OnMakeAdjustmentLayer},
    {"Mk", kMakeExposureLayer, OnMakeAdjustmentLayer},
    {"Mk", kMakeChannelMixerLayer, OnMakeAdjustmentLayer},
    {"Mk", kMakeVibranceLayer, OnMakeAdjustmentLayer},
    {"Mk", kMakeColorBalanceLayer, OnMakeAdjustmentLayer},
    {"Mk", kMakeSelectiveColorLayer, OnMakeAdjustmentLayer},
    {"Mk", kMakeBlackAndWhiteLayer, OnMakeAdjustmentLayer},
    {"setd", kSetAdjustment, OnSetAdjustmentLayer},
    {"setd", kSetVibrance, OnSetAdjustmentLayer},
    {"Crvs", kCurves, Unmodelled, {4, 99}},
    {"ChnM", kChannelMixer, Unmodelled, {4, 99}},
    {"BanW", kBlackAndWhite, Unmodelled, {11, 99}},
    {"Shrp", {}, Unmodelled},   // Sharpen
    {"ShrM", {}, Unmodelled},   // Sharpen More
    {"ShrE", {}, Unmodelled},   // Sharpen Edges
};

}  // namespace

std::span<const EventRule> AdjustmentEventRules() { return kAdjustmentRules; }

}  // namespace sim
