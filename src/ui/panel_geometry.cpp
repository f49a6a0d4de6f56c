#include "ui/panel_geometry.h"

#include <array>

namespace panel {
namespace {

constexpr IconShape kIcons[] = {
    {"LAYERMASK", 18, 18},   {"LAYERSTYLE", 18, 18}, {"GROUPLAYERS", 18, 18}, {"SMARTOBJECT", 18, 18},
    {"SMARTOBJECT2", 18, 18}, {"QUICKMASK", 34, 25},  {"QUICKMASK2", 34, 25},
};
constexpr int kLastIcon = int(std::size(kIcons)) - 1;

// A button's place: anchor 1 counts y up from the client bottom, anchor 0
// down from the top; -1: the button does not exist.
struct Placement {
  int anchor, x, y, width, height;
};
constexpr Placement kNone{-1, 0, 0, 0, 0};

// The three editor looks the buttons are placed for.
enum Look { kLook8, kLook9And10, kLook11 };
Look LookOf(int version) {
  if (version <= 8) return kLook8;
  if (version <= 10) return kLook9And10;
  return kLook11;
}

constexpr Placement kPanelPlacements[3][kPanelButtonCount] = {
    {{1, 184, 1, 18, 18}, {1, 206, 1, 18, 18}, {1, 226, 1, 18, 18}},  // 8
    {{1, 213, 1, 18, 18}, {1, 106, 1, 18, 18}, kNone},                // 9 and 10
    {{0, 143, 4, 18, 18}, {0, 168, 4, 18, 18}, {0, 193, 4, 18, 18}},  // 11
};

constexpr int kPanelIcons[3][kPanelButtonCount] = {
    {kLayerMaskIcon, kGroupLayersIcon, kSmartObjectIcon},
    {kGroupLayersIcon, kSmartObjectIcon, -1},
    {kLayerStyleIcon, kGroupLayersIcon, kSmartObject2Icon},
};

constexpr Placement kHostMaskButton9And10{1, 31, 1, 26, 21};
constexpr Placement kHostMaskButton11{0, 58, 2, 24, 19};

std::optional<Box> Place(const Placement& p, int clientHeight) {
  if (p.anchor < 0) return std::nullopt;
  Box box;
  box.left = p.x;
  box.right = p.x + p.width;
  if (p.anchor == 1) {
    box.bottom = clientHeight - p.y;
    box.top = box.bottom - p.height;
  } else {
    box.top = p.y;
    box.bottom = p.y + p.height;
  }
  return box;
}

}  // namespace

const std::int16_t kArrowGlyph[kArrowHeight][kArrowWidth] = {
    {51, 51, 51, 51, 51, 51},
    {255, 93, 85, 85, 93, 255},
    {-1, 255, 85, 85, 255, -1},
    {-1, -1, 255, 255, -1, -1},
};

IconShape IconOf(int kind) { return kIcons[kind < 0 ? 0 : kind > kLastIcon ? kLastIcon : kind]; }

std::optional<Box> PanelButtonBox(int version, int button, int, int clientHeight) {
  if (version < 8 || button < 0 || button >= kPanelButtonCount) return std::nullopt;
  return Place(kPanelPlacements[LookOf(version)][button], clientHeight);
}

int PanelButtonIconKind(int version, int button) {
  if (button < 0 || button >= kPanelButtonCount) return -1;
  // Versions past 11 show 11's icons, except that only 11 has the second
  // smart-object icon.
  const int kind = kPanelIcons[LookOf(version)][button];
  return kind == kSmartObject2Icon && version != 11 ? kSmartObjectIcon : kind;
}

std::optional<Box> HostMaskButtonBox(int version, int, int clientHeight) {
  if (version < 9) return std::nullopt;
  return Place(version <= 10 ? kHostMaskButton9And10 : kHostMaskButton11, clientHeight);
}

PanelAction PanelButtonAction(int version, int button) {
  const int shift = LookOf(version) == kLook9And10 ? 1 : 0;
  return PanelAction(button + shift);
}

Box ControlBarButtonBox(int version, int button, int clientWidth) {
  int left;
  if (version >= 11)
    left = button == 0 ? 95 : 185;
  else if (version >= 9)
    left = clientWidth - (button == 0 ? 470 : 380);
  else
    left = clientWidth - (button == 0 ? 490 : 400);
  return Box{left, 3, left + kControlBarButtonWidth, 33};
}

Box ControlBarFrameBox(int version, Box button) {
  if (version < 11) button.bottom = 30;
  return button;
}

int ControlBarPopupOffset(int version) { return version < 11 ? -4 : 0; }

std::optional<Box> QuickMaskButtonBox(int clientWidth) {
  if (clientWidth < kQuickMaskMinimumWidth) return std::nullopt;
  const int left = (clientWidth - 35) / 2;
  return Box{left, 600, left + 35, 625};
}

std::optional<Rgb> PanelBackgroundOf(int version) {
  if (version >= 11) return Rgb{255, 255, 255};
  if (version >= 9) return Rgb{71, 71, 71};
  if (version >= 7) return Rgb{110, 110, 110};
  if (version == 6) return Rgb{120, 120, 120};
  if (version >= 4) return Rgb{240, 240, 240};
  return std::nullopt;
}

Rgb ColorizeColorFor(Rgb panel) {
  // Dark: the panel's 0xBBGGRR value below 0x808080, as the editor compares.
  const std::uint32_t value = std::uint32_t(panel.r) | std::uint32_t(panel.g) << 8 | std::uint32_t(panel.b) << 16;
  return value < 0x808080 ? Rgb{96, 111, 128} : Rgb{110, 157, 217};
}

Rgb ControlBarTextColor(int version) { return version < 11 ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; }

std::string_view TooltipText(int kind, bool german) {
  // Kinds 3 and 4 share the smart-object text.
  static constexpr std::array<std::string_view, 6> kEnglish = {
      " Add layer or vector mask ",
      " Add/Edit layer style ",
      " Group/Ungroup layers ",
      " Convert to smart object / Edit smart filters ",
      " Convert to smart object / Edit smart filters ",
      " Quick Mask Mode  ",
  };
  static constexpr std::array<std::string_view, 6> kGerman = {
      " Ebenen- oder Vektormaske hinzuf\xFCgen ",
      " Ebenenstil hinzuf\xFCgen/editieren ",
      " Ebenen gruppieren/Gruppierung aufheben ",
      " In Smartobjekt konvertieren/Smartfilter editieren ",
      " In Smartobjekt konvertieren/Smartfilter editieren ",
      " Schnellmaskierungsmodus  ",
  };
  if (kind < 0 || kind > 5) kind = 5;
  return german ? kGerman[size_t(kind)] : kEnglish[size_t(kind)];
}

}  // namespace panel
