// The descriptors the host takes for its adjustment and filter commands.
// Pixels are not simulated: these events change nothing in the model, and
// the transcript shows what was played.
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

constexpr EventRule kAdjustmentRules[] = {
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
