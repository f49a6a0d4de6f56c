#include "adjustments/dialog_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

double GammaOfPosition(int position) {
  const int t = 200 - position;
  if (t <= 100) return t / 100.0;
  return (100 + (t - 100) * 899 / 99) / 100.0;
}

int PositionOfGamma(double gamma) {
  if (!(gamma > 0)) gamma = 0;
  if (gamma <= 1) return 200 - int(std::trunc(100 * gamma + 1e-9));
  // Kept in range before the cast: a huge typed gamma stays on the slider.
  const double t = std::min(100 + (100 * gamma - 100) * 99 / 899, 1000.0);
  return 200 - int(std::trunc(t + 1e-9));
}

std::string SliderPositionText(SliderText text, int position) {
  char buffer[32] = {};
  switch (text) {
    case SliderText::Integer: std::snprintf(buffer, sizeof buffer, "%d", position); break;
    case SliderText::Hundredths: std::snprintf(buffer, sizeof buffer, "%.2f", position / 100.0); break;
    case SliderText::TenThousandths: std::snprintf(buffer, sizeof buffer, "%.4f", position / 10000.0); break;
    case SliderText::Gamma: std::snprintf(buffer, sizeof buffer, "%.2f", GammaOfPosition(position)); break;
  }
  return buffer;
}

int PositionOfValue(SliderText text, double value) {
  // Out-of-range values are clamped before the cast; the slider clamps to
  // its own range.
  const auto bounded = [](double v) { return int(std::clamp(v, -1e6, 1e6)); };
  switch (text) {
    case SliderText::Integer: return bounded(value);
    case SliderText::Hundredths: return bounded(std::round(value * 100));
    case SliderText::TenThousandths: return bounded(std::round(value * 10000));
    case SliderText::Gamma: return PositionOfGamma(value);
  }
  return 0;
}

bool PositionOfText(SliderText text, std::string_view typed, int* position) {
  char buffer[8] = {};
  const std::size_t n = std::min<std::size_t>(typed.size(), 6);
  std::copy_n(typed.data(), n, buffer);
  char* end = nullptr;
  if (text == SliderText::Integer) {
    const long value = std::strtol(buffer, &end, 10);
    if (end == buffer) return false;
    *position = int(value);
    return true;
  }
  const double value = std::strtod(buffer, &end);
  if (end == buffer || !std::isfinite(value)) return false;
  *position = PositionOfValue(text, value);
  return true;
}

const std::array<BlendModeRow, 25> BlendModeTable = {{
    {"$$$/TransferMode/Normal=Normal", "Nrml", ""},
    {"$$$/TransferMode/Dissolve=Dissolve", "Dslv", ""},
    {"$$$/TransferMode/Darken=Darken", "Drkn", ""},
    {"$$$/TransferMode/Multiply=Multiply", "Mltp", ""},
    {"$$$/TransferMode/ColorBurn=Color Burn", "CBrn", ""},
    {"$$$/TransferMode/LinearBurn=Linear Burn", "", "linearBurn"},
    {"$$$/TransferMode/DarkerColor=Darker Color", "", "darkerColor"},
    {"$$$/TransferMode/Lighten=Lighten", "Lghn", ""},
    {"$$$/TransferMode/Screen=Screen", "Scrn", ""},
    {"$$$/TransferMode/ColorDodge=Color Dodge", "CDdg", ""},
    {"$$$/TransferMode/LinearDodge=Linear Dodge (Add)", "", "linearDodge"},
    {"$$$/TransferMode/LighterColor=Lighter Color", "", "lighterColor"},
    {"$$$/TransferMode/Overlay=Overlay", "Ovrl", ""},
    {"$$$/TransferMode/SoftLight=Soft Light", "SftL", ""},
    {"$$$/TransferMode/HardLight=Hard Light", "HrdL", ""},
    {"$$$/TransferMode/VividLight=Vivid Light", "", "vividLight"},
    {"$$$/TransferMode/LinearLight=Linear Light", "", "linearLight"},
    {"$$$/TransferMode/PinLight=Pin Light", "", "pinLight"},
    {"$$$/TransferMode/HardMix=Hard Mix", "", "hardMix"},
    {"$$$/TransferMode/Difference=Difference", "Dfrn", ""},
    {"$$$/TransferMode/Exclusion=Exclusion", "Xclu", ""},
    {"$$$/TransferMode/Hue=Hue", "H   ", ""},
    {"$$$/TransferMode/Saturation=Saturation", "Strt", ""},
    {"$$$/TransferMode/Color=Color", "Clr ", ""},
    {"$$$/TransferMode/Luminosity=Luminosity", "Lmns", ""},
}};

const std::array<BlackAndWhitePreset, 13> BlackAndWhitePresets = {{
    {"$$$/Actions/Enum/PresetKind/Default=Default", {40, 60, 40, 60, 20, 80}},
    {"$$$/FileName/Presets/BlackandWhite/BlueFilter=Blue Filter", {0, 0, 0, 110, 110, 110}},
    {"$$$/FileName/Presets/BlackandWhite/Darker=Darker", {30, 50, 30, 50, 10, 70}},
    {"$$$/FileName/Presets/BlackandWhite/GreenFilter=Green Filter", {50, 120, 90, 50, 0, 0}},
    {"$$$/FileName/Presets/BlackandWhite/HighContrastBlueFilter=High Contrast Blue Filter",
     {-50, -50, -50, 150, 150, 150}},
    {"$$$/FileName/Presets/BlackandWhite/HighContrastRedFilter=High Contrast Red Filter",
     {120, 120, -10, -50, -50, 120}},
    {"$$$/FileName/Presets/BlackandWhite/Infrared=Infrared", {-40, 235, 144, -68, -3, -107}},
    {"$$$/FileName/Presets/BlackandWhite/Lighter=Lighter", {50, 70, 50, 70, 30, 90}},
    {"$$$/FileName/Presets/BlackandWhite/MaximumBlack=Maximum Black", {0, 0, 0, 0, 0, 0}},
    {"$$$/FileName/Presets/BlackandWhite/MaximumWhite=Maximum White", {100, 100, 100, 100, 100, 100}},
    {"$$$/FileName/Presets/BlackandWhite/NeutralDensity=Neutral Density", {128, 128, 100, 100, 128, 100}},
    {"$$$/FileName/Presets/BlackandWhite/RedFilter=Red Filter", {120, 110, -10, -50, 0, 120}},
    {"$$$/FileName/Presets/BlackandWhite/YellowFilter=Yellow Filter", {120, 110, 40, -30, 0, 70}},
}};
const std::string_view CustomPresetName = "$$$/Actions/Enum/PresetKind/Custom=Custom";

HslBytes TintBytes(int hue, int saturation) {
  hue = std::clamp(hue, 0, 359);
  saturation = std::clamp(saturation, 0, 100);
  return {std::uint8_t(hue * 255 / 359), std::uint8_t(saturation * 255 / 100), 128};
}
int HuePositionOfByte(std::uint8_t hue) { return hue * 359 / 255; }
int SaturationPositionOfByte(std::uint8_t saturation) { return saturation * 100 / 255; }

namespace {
double HueChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}
std::uint8_t Byte(double v) { return std::uint8_t(std::clamp(std::lround(v * 255), 0L, 255L)); }
}  // namespace

void HslToRgb(HslBytes hsl, std::uint8_t rgb[3]) {
  const double h = hsl.hue / 255.0, s = hsl.saturation / 255.0, l = hsl.lightness / 255.0;
  if (s == 0) {
    rgb[0] = rgb[1] = rgb[2] = Byte(l);
    return;
  }
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  rgb[0] = Byte(HueChannel(p, q, h + 1.0 / 3));
  rgb[1] = Byte(HueChannel(p, q, h));
  rgb[2] = Byte(HueChannel(p, q, h - 1.0 / 3));
}

HslBytes RgbToHsl(const std::uint8_t rgb[3]) {
  const double r = rgb[0] / 255.0, g = rgb[1] / 255.0, b = rgb[2] / 255.0;
  const double high = std::max({r, g, b}), low = std::min({r, g, b});
  const double l = (high + low) / 2;
  if (high == low) return {0, 0, Byte(l)};
  const double d = high - low;
  const double s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
  double h = high == r ? (g - b) / d + (g < b ? 6 : 0) : high == g ? (b - r) / d + 2 : (r - g) / d + 4;
  h /= 6;
  return {Byte(h), Byte(s), Byte(l)};
}
