// The arithmetic behind the adjustment dialogs' sliders: the gamma mapping
// both ways at the numbers the user sees, what a typed text sets, the edit
// texts, and the tint's bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "adjustments/dialog_tables.h"

namespace {

TEST(GammaSlider, MapsPositionsToTheGammaTheUserSeesAndBack) {
  EXPECT_EQ(SliderPositionText(SliderText::Gamma, 199), "0.01");
  EXPECT_EQ(SliderPositionText(SliderText::Gamma, 100), "1.00");
  EXPECT_EQ(SliderPositionText(SliderText::Gamma, 1), "9.99");
  EXPECT_EQ(PositionOfGamma(0.01), 199);
  EXPECT_EQ(PositionOfGamma(1.0), 100);
  EXPECT_EQ(PositionOfGamma(9.99), 1);
  // 200 - trunc(100 + 150 * 99 / 899)
  EXPECT_EQ(PositionOfGamma(2.5), 84);
  // Every position survives the way to its gamma and back within the
  // rounding of the upper branch.
  for (int p = 1; p <= 199; ++p) {
    const int back = PositionOfGamma(GammaOfPosition(p));
    EXPECT_NEAR(back, p, 1) << p;
  }
  // The slider's side of 1.0 is the lower branch; above it the upper.
  EXPECT_LT(GammaOfPosition(101), 1.0);
  EXPECT_GT(GammaOfPosition(99), 1.0);
}

TEST(GammaSlider, OutlandishGammasStayOnTheSlidersScale) {
  // Huge and negative values land past the ends, where the control clamps;
  // they do not overflow into the opposite end.
  EXPECT_LE(PositionOfGamma(1e12), 1);
  EXPECT_GE(PositionOfGamma(-5), 199);
  int p = 0;
  ASSERT_TRUE(PositionOfText(SliderText::Gamma, "999999", &p));
  EXPECT_LE(p, 1);
}

TEST(SliderTexts, TypedTextsSetThePositionOfEachScale) {
  int p = 0;
  ASSERT_TRUE(PositionOfText(SliderText::Gamma, "2.5", &p));
  EXPECT_EQ(p, 84);
  ASSERT_TRUE(PositionOfText(SliderText::Hundredths, "-1.25", &p));
  EXPECT_EQ(p, -125);
  ASSERT_TRUE(PositionOfText(SliderText::TenThousandths, "0.0125", &p));
  EXPECT_EQ(p, 125);
  ASSERT_TRUE(PositionOfText(SliderText::Integer, "-40", &p));
  EXPECT_EQ(p, -40);
  // Only six characters are read: "1234567" is 123456.
  ASSERT_TRUE(PositionOfText(SliderText::Integer, "1234567", &p));
  EXPECT_EQ(p, 123456);
  // A field emptied or holding no number leaves the slider alone.
  p = 7;
  EXPECT_FALSE(PositionOfText(SliderText::Integer, "", &p));
  EXPECT_FALSE(PositionOfText(SliderText::Hundredths, "-", &p));
  EXPECT_FALSE(PositionOfText(SliderText::Gamma, "abc", &p));
  EXPECT_EQ(p, 7);
}

TEST(SliderTexts, EditFieldsShowTheirScales) {
  EXPECT_EQ(SliderPositionText(SliderText::Hundredths, -500), "-5.00");
  EXPECT_EQ(SliderPositionText(SliderText::TenThousandths, 5000), "0.5000");
  EXPECT_EQ(SliderPositionText(SliderText::Integer, -1000), "-1000");
  // Stored exposure settings come back to the positions they were set from.
  EXPECT_EQ(PositionOfValue(SliderText::Hundredths, 1.23), 123);
  EXPECT_EQ(PositionOfValue(SliderText::TenThousandths, -0.0042), -42);
}

TEST(SliderTable, DefaultsLieInsideTheirRangesAndMatchThePresets) {
  for (const KindSliders& kind : SliderTable)
    for (std::size_t i = 0; i < kind.count; ++i)
      EXPECT_TRUE(kind.rows[i].position >= kind.rows[i].minimum && kind.rows[i].position <= kind.rows[i].maximum);
  // The Black & White defaults are the Default preset's weights.
  const KindSliders& bw = SliderTable[std::size_t(DialogKind::BlackAndWhite)];
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(bw.rows[i].position, BlackAndWhitePresets[0].weights[i]);
  // Infrared's yellows lie past the slider's end, where the control clamps.
  EXPECT_GT(BlackAndWhitePresets[6].weights[1], bw.rows[1].maximum);
}

TEST(TintColour, HueAndSaturationBecomeTheHostsBytesAndComeBack) {
  const HslBytes tint = TintBytes(42, 20);
  EXPECT_EQ(tint.hue, 42 * 255 / 359);
  EXPECT_EQ(tint.saturation, 20 * 255 / 100);
  EXPECT_EQ(tint.lightness, 128);
  EXPECT_EQ(TintBytes(359, 100).hue, 255);
  EXPECT_EQ(TintBytes(359, 100).saturation, 255);
  EXPECT_EQ(HuePositionOfByte(255), 359);
  EXPECT_EQ(SaturationPositionOfByte(255), 100);
  // The stand-in conversion: a grey has no hue, pure red sits at hue 0.
  std::uint8_t rgb[3] = {};
  HslToRgb({0, 0, 128}, rgb);
  EXPECT_EQ(rgb[0], 128);
  EXPECT_EQ(rgb[1], 128);
  EXPECT_EQ(rgb[2], 128);
  const std::uint8_t red[3] = {255, 0, 0};
  const HslBytes back = RgbToHsl(red);
  EXPECT_EQ(back.hue, 0);
  EXPECT_EQ(back.saturation, 255);
  // A warm tint keeps red above blue both ways.
  HslToRgb(tint, rgb);
  EXPECT_GT(rgb[0], rgb[2]);
  const HslBytes round = RgbToHsl(rgb);
  EXPECT_NEAR(round.hue, tint.hue, 2);
}

}  // namespace
