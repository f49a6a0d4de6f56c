// The seven kinds of adjustment layer the module makes and edits itself, and
// the decoding of the settings bytes the host keeps with such a layer. Pure
// code: no host, no Windows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

enum class AdjustmentKind : int {
  Curves,
  Exposure,
  ChannelMixer,
  Vibrance,
  ColorBalance,
  SelectiveColor,
  BlackAndWhite,
};

// How the host names each kind: its class code (Vibrance has none and goes
// by its string identifier alone) and the string identifier it reports as
// the class of an existing adjustment.
struct AdjustmentKindName {
  AdjustmentKind kind;
  std::string_view code;     // empty: the class is the string identifier's
  std::string_view stringId;
};

inline constexpr std::array<AdjustmentKindName, 7> AdjustmentKindNames = {{
    {AdjustmentKind::Curves, "Crvs", "curves"},
    {AdjustmentKind::Exposure, "Exps", "exposure"},
    {AdjustmentKind::ChannelMixer, "ChnM", "channelMixer"},
    {AdjustmentKind::Vibrance, "", "vibrance"},
    {AdjustmentKind::ColorBalance, "ClrB", "colorBalance"},
    {AdjustmentKind::SelectiveColor, "SlcC", "selectiveColor"},
    {AdjustmentKind::BlackAndWhite, "BanW", "blackAndWhite"},
}};

const AdjustmentKindName& NameOfKind(AdjustmentKind kind);
std::optional<AdjustmentKind> KindFromStringId(std::string_view stringId);

// Where the values of each kind sit in their array.
namespace adjustment_index {
constexpr std::size_t kCurvesForm = 0;        // 1: map form, else point form
constexpr std::size_t kCurvesPointCount = 1;  // point form
constexpr std::size_t kCurvesFirstPoint = 2;  // per point: output, input
constexpr std::size_t kCurvesMapCount = 257;  // the form, then 256 outputs
constexpr std::size_t kChannelMixerCount = 13;
constexpr std::size_t kSelectiveColorCount = 37;
constexpr std::size_t kColorBalanceCount = 10;
constexpr std::size_t kBlackAndWhiteCount = 10;
constexpr std::size_t kExposureCount = 3;
constexpr std::size_t kVibranceCount = 2;
}  // namespace adjustment_index

// The values of one kind decoded from the host's settings bytes, never
// reading past `length`. Empty when the bytes are too short for the kind's
// layout, except for Vibrance, whose values are both 0 below 58 bytes.
std::optional<std::vector<double>> DecodeAdjustmentValues(AdjustmentKind kind, const std::uint8_t* bytes,
                                                          std::size_t length);

// How many values the array of a kind must hold for its keys to be written:
// 0 when the array cannot be one of that kind (a curve's point count larger
// than its array, say).
std::size_t ValuesNeeded(AdjustmentKind kind, const std::vector<double>& values);
