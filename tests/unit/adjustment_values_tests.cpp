// The settings bytes of the seven adjustment kinds, written as the host lays
// them out and read back: each value where the host put it, and every blob
// cut short decoding nothing rather than reading past its end.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "adjustments/adjustment_values.h"

namespace {

// Bytes written big-endian at the host's offsets.
struct Bytes {
  std::vector<std::uint8_t> b;
  explicit Bytes(std::size_t size) : b(size, 0) {}
  Bytes& Byte(std::size_t at, int v) {
    b.at(at) = std::uint8_t(v);
    return *this;
  }
  Bytes& Int16(std::size_t at, int v) {
    const auto u = std::uint16_t(std::int16_t(v));
    return Byte(at, u >> 8).Byte(at + 1, u & 0xFF);
  }
  Bytes& Float32(std::size_t at, float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) Byte(at + std::size_t(i), int(u >> (24 - 8 * i)) & 0xFF);
    return *this;
  }
  Bytes& Float64(std::size_t at, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) Byte(at + std::size_t(i), int(u >> (56 - 8 * i)) & 0xFF);
    return *this;
  }
};

std::vector<double> Decode(AdjustmentKind kind, const Bytes& bytes) {
  const auto values = DecodeAdjustmentValues(kind, bytes.b.data(), bytes.b.size());
  EXPECT_TRUE(values.has_value());
  return values.value_or(std::vector<double>());
}

TEST(AdjustmentValues, ColorBalanceReadsTheLowBytesSignedAndTheFlag) {
  Bytes b(19);
  const int shares[9] = {-100, 100, 0, 25, -25, 7, 1, -1, 50};
  for (int i = 0; i < 9; ++i) b.Int16(std::size_t(2 * i), shares[i]);
  b.Byte(18, 1);
  const std::vector<double> expected = {-100, 100, 0, 25, -25, 7, 1, -1, 50, 1};
  EXPECT_EQ(Decode(AdjustmentKind::ColorBalance, b), expected);
}

TEST(AdjustmentValues, ExposureReadsThreeFloats) {
  Bytes b(14);
  b.Int16(0, 1).Float32(2, 1.5f).Float32(6, -0.125f).Float32(10, 2.25f);
  EXPECT_EQ(Decode(AdjustmentKind::Exposure, b), (std::vector<double>{1.5, -0.125, 2.25}));
}

TEST(AdjustmentValues, BlackAndWhiteReadsSharesTintAndTintColour) {
  Bytes b(229);
  const int shares[6] = {40, 60, -200, 300, 20, 80};
  const std::size_t at[6] = {36, 52, 68, 84, 100, 116};
  for (int i = 0; i < 6; ++i) b.Int16(at[i], shares[i]);
  b.Byte(133, 1).Float64(181, 225.0).Float64(201, 211.5).Float64(221, 179.0);
  EXPECT_EQ(Decode(AdjustmentKind::BlackAndWhite, b),
            (std::vector<double>{40, 60, -200, 300, 20, 80, 1, 225.0, 211.5, 179.0}));
}

TEST(AdjustmentValues, VibranceNeedsFiftyEightBytes) {
  Bytes b(58);
  b.Byte(41, 30).Byte(57, -10);
  EXPECT_EQ(Decode(AdjustmentKind::Vibrance, b), (std::vector<double>{30, -10}));
  // One byte short: both values are 0, whatever the bytes hold.
  Bytes shorter(57);
  shorter.Byte(41, 30);
  EXPECT_EQ(Decode(AdjustmentKind::Vibrance, shorter), (std::vector<double>{0, 0}));
}

TEST(AdjustmentValues, ChannelMixerInColourReadsAllThreeOutputs) {
  Bytes b(34);
  const std::size_t at[12] = {4, 6, 8, 12, 14, 16, 18, 22, 24, 26, 28, 32};
  for (int i = 0; i < 12; ++i) b.Int16(at[i], 10 * (i + 1) - 60);
  // The numbers between the blue share and the constant are not values.
  b.Int16(10, 999).Int16(20, 999).Int16(30, 999);
  const std::vector<double> expected = {0, -50, -40, -30, -20, -10, 0, 10, 20, 30, 40, 50, 60};
  EXPECT_EQ(Decode(AdjustmentKind::ChannelMixer, b), expected);
}

TEST(AdjustmentValues, MonochromeChannelMixerReadsOnlyTheGrayOutput) {
  Bytes b(34);
  b.Int16(2, 1).Int16(4, 40).Int16(6, 40).Int16(8, 20).Int16(12, -5);
  // What the host keeps for the other outputs is not read.
  b.Int16(14, 77).Int16(24, 88).Int16(32, 99);
  std::vector<double> expected(13, 0.0);
  expected[0] = 1;
  expected[1] = 40;
  expected[2] = 40;
  expected[3] = 20;
  expected[4] = -5;
  EXPECT_EQ(Decode(AdjustmentKind::ChannelMixer, b), expected);
  // Fourteen bytes are enough for one output, not for three.
  Bytes gray(14);
  gray.Int16(2, 1).Int16(4, 100);
  EXPECT_EQ(Decode(AdjustmentKind::ChannelMixer, gray)[1], 100);
  Bytes colour(14);
  EXPECT_FALSE(DecodeAdjustmentValues(AdjustmentKind::ChannelMixer, colour.b.data(), colour.b.size()));
}

TEST(AdjustmentValues, SelectiveColorRelativeAndAbsolute) {
  for (int method : {0, 1}) {
    SCOPED_TRACE(method);
    Bytes b(84);
    b.Int16(2, method);
    for (int i = 0; i < 36; ++i) b.Int16(12 + 2 * std::size_t(i), i % 2 ? -i : i);
    const std::vector<double> v = Decode(AdjustmentKind::SelectiveColor, b);
    ASSERT_EQ(v.size(), 37u);
    EXPECT_EQ(v[0], method);
    EXPECT_EQ(v[1], 0);                 // reds: cyan
    EXPECT_EQ(v[1 + 4 * 2 + 1], -9);    // greens: magenta
    EXPECT_EQ(v[36], -35);              // blacks: black
  }
}

TEST(AdjustmentValues, CurvesInMapFormReadTheWholeMap) {
  Bytes b(263);
  b.Byte(0, 1);
  for (int i = 0; i < 256; ++i) b.Byte(7 + std::size_t(i), 255 - i);
  const std::vector<double> v = Decode(AdjustmentKind::Curves, b);
  ASSERT_EQ(v.size(), 257u);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[1], 255);    // input 0
  EXPECT_EQ(v[256], 0);    // input 255
  EXPECT_EQ(v[129], 127);
}

TEST(AdjustmentValues, CurvesInPointFormReadEachPointsOutputAndInput) {
  // Three points: (input 0, output 10), (128, 200), (255, 255).
  Bytes b(9 + 4 * 3);
  b.Int16(7, 3);
  const int pairs[6] = {10, 0, 200, 128, 255, 255};   // output, input
  for (int k = 0; k < 6; ++k) b.Int16(9 + 2 * std::size_t(k), pairs[k]);
  EXPECT_EQ(Decode(AdjustmentKind::Curves, b), (std::vector<double>{0, 3, 10, 0, 200, 128, 255, 255}));
  // No points at all is a curve too.
  Bytes none(9);
  EXPECT_EQ(Decode(AdjustmentKind::Curves, none), (std::vector<double>{0, 0}));
}

// Every prefix of each blob, in a buffer of exactly its size (the sanitizer
// build sees a read past it): nothing, or values of the kind's own size.
TEST(AdjustmentValues, EveryPrefixDecodesWithinItsBytes) {
  struct Blob {
    AdjustmentKind kind;
    Bytes bytes;
    std::size_t whole;   // the shortest prefix that decodes
  };
  Bytes points(9 + 8);
  points.Int16(7, 2);
  Bytes map(263);
  map.Byte(0, 1);
  Bytes gray(34);
  gray.Int16(2, 1);
  const Blob blobs[] = {
      {AdjustmentKind::ColorBalance, Bytes(19), 19},   {AdjustmentKind::Exposure, Bytes(14), 14},
      {AdjustmentKind::BlackAndWhite, Bytes(229), 229}, {AdjustmentKind::ChannelMixer, Bytes(34), 34},
      {AdjustmentKind::ChannelMixer, gray, 14},         {AdjustmentKind::SelectiveColor, Bytes(84), 84},
      {AdjustmentKind::Curves, points, 17},             {AdjustmentKind::Curves, map, 263},
  };
  for (const Blob& blob : blobs) {
    SCOPED_TRACE(int(blob.kind));
    const std::size_t expected = blob.kind == AdjustmentKind::Curves
                                     ? DecodeAdjustmentValues(blob.kind, blob.bytes.b.data(), blob.bytes.b.size())->size()
                                     : 0;
    for (std::size_t length = 0; length <= blob.bytes.b.size(); ++length) {
      std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[length ? length : 1]);
      std::memcpy(exact.get(), blob.bytes.b.data(), length);
      const auto values = DecodeAdjustmentValues(blob.kind, length ? exact.get() : nullptr, length);
      EXPECT_EQ(values.has_value(), length >= blob.whole) << "length " << length;
      if (values && expected) {
        EXPECT_EQ(values->size(), expected);
      }
    }
  }
}

TEST(AdjustmentValues, KindsAreFoundByTheHostsStringIdentifiers) {
  EXPECT_EQ(KindFromStringId("channelMixer"), AdjustmentKind::ChannelMixer);
  EXPECT_EQ(KindFromStringId("vibrance"), AdjustmentKind::Vibrance);
  EXPECT_FALSE(KindFromStringId("levels"));
  EXPECT_FALSE(KindFromStringId("Curves"));
}

}  // namespace
