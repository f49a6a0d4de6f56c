// The fixed tables of the module's adjustment dialogs and the arithmetic
// behind their sliders: ranges and defaults, the text each edit field
// shows, the gamma mapping of the Exposure dialog, Fade's blend modes, the
// Black & White presets and the tint colour's bytes. Pure code: no host, no
// Windows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Which dialog the one shared dialog procedure is running.
enum class DialogKind : int {
  Fade = 0,
  Exposure = 1,
  Vibrance = 2,
  BlackAndWhite = 3,
  FillOpacity = 4,
  Tracking = 5,
  EditSmartFilters = 6,
};

constexpr int kFadeDialogId = 18505;
constexpr int kExposureDialogId = 18506;
constexpr int kVibranceDialogId = 18507;
constexpr int kBlackAndWhiteDialogId = 18508;
constexpr int kFillOpacityDialogId = 18509;
constexpr int kTrackingDialogId = 18510;
constexpr int kEditSmartFiltersDialogId = 18511;
constexpr int kAutoAlignDialogId = 18512;

constexpr int DialogResourceOf(DialogKind kind) { return kFadeDialogId + int(kind); }

// How an edit field writes its slider's value.
enum class SliderText {
  Integer,     // the position
  Hundredths,  // position / 100, "%.2f"
  TenThousandths,  // position / 10000, "%.4f"
  Gamma,       // the gamma of the position, "%.2f"
};

struct SliderRow {
  int minimum, maximum, position;
  SliderText text;
};

constexpr std::size_t kMaxSliders = 8;
struct KindSliders {
  std::size_t count;
  std::array<SliderRow, kMaxSliders> rows;
};

inline constexpr std::array<KindSliders, 6> SliderTable = {{
    {1, {{{0, 100, 100, SliderText::Integer}}}},
    {3,
     {{{-500, 500, 0, SliderText::Hundredths},
       {-5000, 5000, 0, SliderText::TenThousandths},
       {1, 199, 100, SliderText::Gamma}}}},
    {2, {{{-100, 100, 0, SliderText::Integer}, {-100, 100, 0, SliderText::Integer}}}},
    {8,
     {{{-300, 200, 40, SliderText::Integer},
       {-300, 200, 60, SliderText::Integer},
       {-300, 200, 40, SliderText::Integer},
       {-300, 200, 60, SliderText::Integer},
       {-300, 200, 20, SliderText::Integer},
       {-300, 200, 80, SliderText::Integer},
       {0, 359, 42, SliderText::Integer},
       {0, 100, 20, SliderText::Integer}}}},
    {1, {{{0, 100, 100, SliderText::Integer}}}},
    {1, {{{-1000, 1000, 0, SliderText::Integer}}}},
}};

// Exposure's gamma slider: position 1..199 to gamma 9.99..0.01, and back.
double GammaOfPosition(int position);
int PositionOfGamma(double gamma);

// The edit text of a slider position.
std::string SliderPositionText(SliderText text, int position);
// The position of a typed text (at most six characters are read); false
// when it is no number.
bool PositionOfText(SliderText text, std::string_view typed, int* position);
// The position for a value from stored settings (exposure, offset, gamma).
int PositionOfValue(SliderText text, double value);

// Fade's Mode list: the labelled name and the code the host gets, either a
// four-character code or a string identifier.
struct BlendModeRow {
  std::string_view name;
  std::string_view code;      // four characters; empty: `stringId`
  std::string_view stringId;
};
extern const std::array<BlendModeRow, 25> BlendModeTable;

struct BlackAndWhitePreset {
  std::string_view name;
  std::array<int, 6> weights;  // reds, yellows, greens, cyans, blues, magentas
};
// Rows 0 to 12 are presets; row 13, "Custom", has no weights.
constexpr std::size_t kCustomPresetRow = 13;
extern const std::array<BlackAndWhitePreset, 13> BlackAndWhitePresets;
extern const std::string_view CustomPresetName;

// The tint's hue (0..359) and saturation (0..100) as the bytes of the host's
// HSL colour space, lightness 128; and a colour's bytes back to positions.
struct HslBytes {
  std::uint8_t hue, saturation, lightness;
};
HslBytes TintBytes(int hue, int saturation);
int HuePositionOfByte(std::uint8_t hue);
int SaturationPositionOfByte(std::uint8_t saturation);

// A stand-in for the host's conversion when its colour-space suite is absent:
// the same byte conventions (every component 0..255).
void HslToRgb(HslBytes hsl, std::uint8_t rgb[3]);
HslBytes RgbToHsl(const std::uint8_t rgb[3]);
