// Commands and queries of text layers. Every command plays one host event on
// the target text layer (or on all text layers) and returns the host's
// answer; the queries read the target layer's text object.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The anti-aliasing methods by their number k: 0 none, 1 crisp, 2 sharp,
// 3 strong, 4 smooth, as the host names them (`Annt` values).
constexpr std::array<std::string_view, 5> kAntiAliasMethods = {"Anno", "AnCr", "antiAliasSharp", "AnSt", "AnSm"};

// The host's name of method k; empty for any other k.
constexpr std::string_view AntiAliasMethod(int k) {
  return k >= 0 && k < int(kAntiAliasMethods.size()) ? kAntiAliasMethods[std::size_t(k)] : std::string_view{};
}
// The number of a method the host names; -1 for a name that is none.
constexpr int AntiAliasNumber(std::string_view name) {
  for (std::size_t k = 0; k < kAntiAliasMethods.size(); ++k)
    if (!name.empty() && kAntiAliasMethods[k] == name) return int(k);
  return -1;
}

// What GetTextShapeKind reports.
enum TextShapeKind : int { kNoTextShape = 0, kParagraphText = 1, kPointText = 2 };

// With the host's own dialog, over all text layers.
std::int32_t SpellCheck();
std::int32_t FindReplaceText();

std::int32_t ConvertTextToShape();
// k = 0 to 4 as above; any other k plays nothing.
std::int32_t SetTextAntiAlias(int k);
// Paragraph text (a text box) when `box` is set, else point text.
std::int32_t SetTextType(bool box);
// Point text becomes paragraph text, anything else point text.
std::int32_t ToggleTextType();
std::int32_t SetTracking(std::int32_t value);

// The anti-aliasing of the target layer's text (0 to 4); -1 without text
// or for a method that is none of these.
int GetTextAntiAlias();
// The tracking of the text's first style run; 0 when it cannot be read.
std::int32_t GetTracking();
int GetTextShapeKind();
