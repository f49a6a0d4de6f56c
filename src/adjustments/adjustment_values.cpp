#include "adjustments/adjustment_values.h"

#include <bit>
#include <cstring>

namespace {

namespace ix = adjustment_index;

// The host writes its numbers big-endian. Each reader is only called once
// the blob was found long enough for the whole layout.
class Blob {
 public:
  Blob(const std::uint8_t* bytes, std::size_t length) : bytes_(bytes), length_(bytes ? length : 0) {}
  bool Holds(std::size_t size) const { return length_ >= size; }
  double Byte(std::size_t at) const { return bytes_[at]; }
  double SignedByte(std::size_t at) const { return static_cast<std::int8_t>(bytes_[at]); }
  // The low byte of the 16-bit number at `at`: its second byte, signed.
  double LowByte(std::size_t at) const { return SignedByte(at + 1); }
  double Signed16(std::size_t at) const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes_[at] << 8 | bytes_[at + 1]));
  }
  double Float32(std::size_t at) const { return std::bit_cast<float>(static_cast<std::uint32_t>(Unsigned(at, 4))); }
  double Float64(std::size_t at) const { return std::bit_cast<double>(Unsigned(at, 8)); }

 private:
  std::uint64_t Unsigned(std::size_t at, std::size_t size) const {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = value << 8 | bytes_[at + i];
    return value;
  }
  const std::uint8_t* bytes_;
  std::size_t length_;
};

using Values = std::optional<std::vector<double>>;

Values Vibrance(const Blob& b) {
  if (!b.Holds(58)) return std::vector<double>(ix::kVibranceCount, 0.0);
  return std::vector<double>{b.SignedByte(41), b.SignedByte(57)};
}

Values BlackAndWhite(const Blob& b) {
  if (!b.Holds(229)) return std::nullopt;
  std::vector<double> v;
  for (std::size_t at : {36, 52, 68, 84, 100, 116}) v.push_back(b.Signed16(at));
  v.push_back(b.SignedByte(133));
  for (std::size_t at : {181, 201, 221}) v.push_back(b.Float64(at));
  return v;
}

Values Exposure(const Blob& b) {
  if (!b.Holds(14)) return std::nullopt;
  return std::vector<double>{b.Float32(2), b.Float32(6), b.Float32(10)};
}

Values ColorBalance(const Blob& b) {
  if (!b.Holds(19)) return std::nullopt;
  std::vector<double> v;
  for (std::size_t at = 0; at <= 16; at += 2) v.push_back(b.LowByte(at));
  v.push_back(b.SignedByte(18));
  return v;
}

Values ChannelMixer(const Blob& b) {
  if (!b.Holds(14)) return std::nullopt;
  std::vector<double> v(ix::kChannelMixerCount, 0.0);
  v[0] = b.LowByte(2);
  const std::size_t offsets[] = {4, 6, 8, 12, 14, 16, 18, 22, 24, 26, 28, 32};
  // A monochrome mix has one output channel; the other two are not read.
  const std::size_t read = v[0] == 0 ? 12 : 4;
  if (read == 12 && !b.Holds(34)) return std::nullopt;
  for (std::size_t i = 0; i < read; ++i) v[1 + i] = b.Signed16(offsets[i]);
  return v;
}

Values SelectiveColor(const Blob& b) {
  if (!b.Holds(84)) return std::nullopt;
  std::vector<double> v{b.LowByte(2)};
  for (std::size_t i = 0; i < 36; ++i) v.push_back(b.LowByte(12 + 2 * i));
  return v;
}

Values Curves(const Blob& b) {
  if (!b.Holds(1)) return std::nullopt;
  if (b.Byte(0) == 1) {
    if (!b.Holds(263)) return std::nullopt;
    std::vector<double> v{1.0};
    for (std::size_t at = 7; at <= 262; ++at) v.push_back(b.Byte(at));
    return v;
  }
  if (!b.Holds(9)) return std::nullopt;
  const std::size_t points = static_cast<std::size_t>(b.Byte(8));
  if (!b.Holds(9 + 4 * points)) return std::nullopt;
  std::vector<double> v{b.Byte(0), double(points)};
  for (std::size_t k = 0; k < 2 * points; ++k) v.push_back(b.Byte(10 + 2 * k));
  return v;
}

}  // namespace

const AdjustmentKindName& NameOfKind(AdjustmentKind kind) {
  for (const AdjustmentKindName& name : AdjustmentKindNames)
    if (name.kind == kind) return name;
  return AdjustmentKindNames[0];
}

std::optional<AdjustmentKind> KindFromStringId(std::string_view stringId) {
  for (const AdjustmentKindName& name : AdjustmentKindNames)
    if (name.stringId == stringId) return name.kind;
  return std::nullopt;
}

std::optional<std::vector<double>> DecodeAdjustmentValues(AdjustmentKind kind, const std::uint8_t* bytes,
                                                          std::size_t length) {
  const Blob blob(bytes, length);
  switch (kind) {
    case AdjustmentKind::Vibrance: return Vibrance(blob);
    case AdjustmentKind::BlackAndWhite: return BlackAndWhite(blob);
    case AdjustmentKind::Exposure: return Exposure(blob);
    case AdjustmentKind::ColorBalance: return ColorBalance(blob);
    case AdjustmentKind::ChannelMixer: return ChannelMixer(blob);
    case AdjustmentKind::SelectiveColor: return SelectiveColor(blob);
    case AdjustmentKind::Curves: return Curves(blob);
  }
  return std::nullopt;
}

std::size_t ValuesNeeded(AdjustmentKind kind, const std::vector<double>& values) {
  switch (kind) {
    case AdjustmentKind::Vibrance: return ix::kVibranceCount;
    case AdjustmentKind::BlackAndWhite: return ix::kBlackAndWhiteCount;
    case AdjustmentKind::Exposure: return ix::kExposureCount;
    case AdjustmentKind::ColorBalance: return ix::kColorBalanceCount;
    case AdjustmentKind::ChannelMixer: return ix::kChannelMixerCount;
    case AdjustmentKind::SelectiveColor: return ix::kSelectiveColorCount;
    case AdjustmentKind::Curves: {
      if (values.size() < 2) return 0;
      if (values[ix::kCurvesForm] == 1) return ix::kCurvesMapCount;
      const double n = values[ix::kCurvesPointCount];
      if (!(n >= 0 && n <= 255)) return 0;
      return ix::kCurvesFirstPoint + 2 * static_cast<std::size_t>(n);
    }
  }
  return 0;
}
