// The ColorSpace suite: colours held as four components of one space, with
// the conversions between RGB, HSB, HSL and grey the plug-in needs.
#include <algorithm>
#include <cmath>

#include "host_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("colorspace", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("colorspace", fn)

namespace sim {
namespace {

using host::ColorID;
using host::SPErr;

constexpr std::int16_t kRGB = 0, kHSB = 1, kHSL = 5, kGray = 4;

struct Rgb {
  double r, g, b;   // 0..1
};

Rgb HueToRgb(double h, double c, double x) {
  int sector = int(h * 6) % 6;
  switch (sector) {
    case 0: return {c, x, 0};
    case 1: return {x, c, 0};
    case 2: return {0, c, x};
    case 3: return {0, x, c};
    case 4: return {x, 0, c};
    default: return {c, 0, x};
  }
}

bool ToRgb(const ColorData& color, Rgb* out) {
  const double a = color.c[1] / 255.0, b = color.c[2] / 255.0, c = color.c[3] / 255.0;
  switch (color.space) {
    case kRGB: *out = {a, b, c}; return true;
    case kGray: {
      double v = 1.0 - color.c[3] / 255.0;   // 0 gray is white, like ink
      *out = {v, v, v};
      return true;
    }
    case kHSB:
    case kHSL: {
      const double h = a, s = b, v = c;
      double chroma = color.space == kHSB ? v * s : (1 - std::fabs(2 * v - 1)) * s;
      double x = chroma * (1 - std::fabs(std::fmod(h * 6, 2) - 1));
      double m = color.space == kHSB ? v - chroma : v - chroma / 2;
      Rgb rgb = HueToRgb(h >= 1 ? 0 : h, chroma, x);
      *out = {rgb.r + m, rgb.g + m, rgb.b + m};
      return true;
    }
    default: return false;
  }
}

bool FromRgb(const Rgb& rgb, std::int16_t space, std::uint8_t c[4]) {
  auto byte = [](double v) { return std::uint8_t(std::clamp(std::lround(v * 255), 0L, 255L)); };
  const double mx = std::max({rgb.r, rgb.g, rgb.b}), mn = std::min({rgb.r, rgb.g, rgb.b}), d = mx - mn;
  double h = 0;
  if (d > 0) {
    if (mx == rgb.r) h = std::fmod((rgb.g - rgb.b) / d + 6, 6) / 6;
    else if (mx == rgb.g) h = ((rgb.b - rgb.r) / d + 2) / 6;
    else h = ((rgb.r - rgb.g) / d + 4) / 6;
  }
  c[0] = 0;
  switch (space) {
    case kRGB: c[1] = byte(rgb.r); c[2] = byte(rgb.g); c[3] = byte(rgb.b); return true;
    case kGray: {
      c[1] = c[2] = 0;
      c[3] = byte(1 - (0.299 * rgb.r + 0.587 * rgb.g + 0.114 * rgb.b));
      return true;
    }
    case kHSB: c[1] = byte(h); c[2] = byte(mx > 0 ? d / mx : 0); c[3] = byte(mx); return true;
    case kHSL: {
      double l = (mx + mn) / 2;
      double s = d == 0 ? 0 : d / (1 - std::fabs(2 * l - 1));
      c[1] = byte(h); c[2] = byte(s); c[3] = byte(l);
      return true;
    }
    default: return false;
  }
}

template <class F>
SPErr On(const char* call, ColorID color, F&& body) {
  return Guard<SPErr>(call, err::kBadParameter, [&]() -> SPErr {
    ColorData* data = State().colors.Find(color);
    if (!data) return Misuse(call, "unknown color", err::kBadParameter);
    return body(*data);
  });
}

SPErr Make(ColorID* out) {
  return Guard<SPErr>("ColorSpace.Make", err::kNoMemory, [&]() -> SPErr {
    if (!out) return Misuse("ColorSpace.Make", "null out pointer", err::kBadParameter);
    *out = reinterpret_cast<ColorID>(State().colors.Add(ColorData{}));
    return host::kNoError;
  });
}
SPErr Delete(ColorID* color) {
  return Guard<SPErr>("ColorSpace.Delete", err::kBadParameter, [&]() -> SPErr {
    if (!color || !State().colors.Remove(*color)) return Misuse("ColorSpace.Delete", "unknown color", err::kBadParameter);
    *color = nullptr;
    return host::kNoError;
  });
}
SPErr StuffComponents(ColorID color, std::int16_t space, std::uint8_t c0, std::uint8_t c1, std::uint8_t c2,
                      std::uint8_t c3) {
  return On("ColorSpace.StuffComponents", color, [&](ColorData& data) -> SPErr {
    Rgb probe;
    ColorData next{space, {c0, c1, c2, c3}};
    if (!ToRgb(next, &probe)) return err::kUnimplemented;
    data = next;
    return host::kNoError;
  });
}
SPErr ExtractComponents(ColorID color, std::int16_t space, std::uint8_t* c0, std::uint8_t* c1, std::uint8_t* c2,
                        std::uint8_t* c3, host::Boolean* outOfGamut) {
  return On("ColorSpace.ExtractComponents", color, [&](ColorData& data) -> SPErr {
    if (!c0 || !c1 || !c2 || !c3) return Misuse("ColorSpace.ExtractComponents", "null out pointer", err::kBadParameter);
    std::uint8_t c[4] = {data.c[0], data.c[1], data.c[2], data.c[3]};
    if (space != data.space) {
      Rgb rgb;
      if (!ToRgb(data, &rgb) || !FromRgb(rgb, space, c)) return err::kUnimplemented;
    }
    *c0 = c[0];
    *c1 = c[1];
    *c2 = c[2];
    *c3 = c[3];
    if (outOfGamut) *outOfGamut = 0;
    return host::kNoError;
  });
}
SPErr StuffXYZ(ColorID, host::XYZColor) { return err::kUnimplemented; }
SPErr ExtractXYZ(ColorID, host::XYZColor*) { return err::kUnimplemented; }
SPErr Convert8(std::int16_t, std::int16_t, std::uint8_t (*)[4], std::int16_t) { return err::kUnimplemented; }
SPErr Convert16(std::int16_t, std::int16_t, std::uint16_t (*)[4], std::int16_t) { return err::kUnimplemented; }
SPErr GetNativeSpace(ColorID color, std::int16_t* space) {
  return On("ColorSpace.GetNativeSpace", color, [&](ColorData& data) -> SPErr {
    if (!space) return Misuse("ColorSpace.GetNativeSpace", "null out pointer", err::kBadParameter);
    *space = data.space;
    return host::kNoError;
  });
}
SPErr IsBookColor(ColorID color, host::Boolean* book) {
  return On("ColorSpace.IsBookColor", color, [&](ColorData&) -> SPErr {
    if (!book) return Misuse("ColorSpace.IsBookColor", "null out pointer", err::kBadParameter);
    *book = 0;
    return host::kNoError;
  });
}
SPErr ExtractColorName(ColorID, host::ZString*) { return err::kUnimplemented; }
SPErr PickColor(ColorID*, host::ZString) { return err::kUnimplemented; }
SPErr Convert8to16(std::uint8_t*, std::uint16_t*, std::int16_t) { return err::kUnimplemented; }
SPErr Convert16to8(std::uint16_t*, std::uint8_t*, std::int16_t) { return err::kUnimplemented; }
SPErr ConvertToMonitorRGB(std::int16_t, std::uint8_t (*)[4], std::uint8_t (*)[4], std::int16_t) {
  return err::kUnimplemented;
}

const host::ColorSpaceSuite kSuite = {
    SLOT(Make),     SLOT(Delete),         SLOT(StuffComponents), SLOT(ExtractComponents), SLOT(StuffXYZ),     SLOT(ExtractXYZ),   SLOT(Convert8),
    SLOT(Convert16), SLOT(GetNativeSpace), SLOT(IsBookColor),    SLOT(ExtractColorName),  SLOT(PickColor),    SLOT(Convert8to16), SLOT(Convert16to8),
    SLOT(ConvertToMonitorRGB),
};

}  // namespace

const void* ColorSpaceSuiteTable(std::int32_t version) { return version == 1 ? &kSuite : nullptr; }

}  // namespace sim
