// Where the module's buttons lie in the editor's views, which icon each
// shows and what a click on it means, by editor version. Pure tables and
// arithmetic on client sizes: no window is needed to ask.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace panel {

// A rectangle in a view's client coordinates, right and bottom exclusive for
// drawing (hit tests take the edges in, as the editor's own buttons do).
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box&) const = default;
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

// The icon kinds, indexing the resources and the tooltip texts.
enum IconKind : int {
  kLayerMaskIcon = 0,
  kLayerStyleIcon = 1,
  kGroupLayersIcon = 2,
  kSmartObjectIcon = 3,
  kSmartObject2Icon = 4,
  kQuickMaskIcon = 5,
  kQuickMask2Icon = 6,
};

struct IconShape {
  std::string_view resource;
  int width, height;
};
// Kinds above the last are drawn as the last.
IconShape IconOf(int kind);

constexpr int kPanelButtonCount = 3;

// A Layers-panel button's rectangle in a client area of this size; none when
// the button does not exist in this version (versions without their own
// rows use those of 11).
std::optional<Box> PanelButtonBox(int version, int button, int clientWidth, int clientHeight);
// The icon a Layers-panel button shows; -1 when the button does not exist.
int PanelButtonIconKind(int version, int button);
// The editor's own add-mask button, which a Ctrl-click is taken on (9 and up).
std::optional<Box> HostMaskButtonBox(int version, int clientWidth, int clientHeight);

// What a click on a Layers-panel button asks for. Versions 9 and 10 have no
// mask button: their two buttons group and make smart objects.
enum PanelAction : int { kMaskOrStyleAction = 0, kGroupAction = 1, kSmartObjectAction = 2 };
PanelAction PanelButtonAction(int version, int button);

// The control bar's "Scripts" (0) and "Actions" (1) buttons.
constexpr int kControlBarButtonWidth = 85;
Box ControlBarButtonBox(int version, int button, int clientWidth);
// The frame of a hovered control-bar button: shorter below 11.
Box ControlBarFrameBox(int version, Box button);
// Where the button's pop-up opens, relative to the button: its lower left,
// four pixels higher below 11.
int ControlBarPopupOffset(int version);
// The arrow glyph beside each control-bar text: grey levels, -1 unpainted.
constexpr int kArrowWidth = 6, kArrowHeight = 4;
extern const std::int16_t kArrowGlyph[kArrowHeight][kArrowWidth];

// The toolbar's Quick Mask button; none in a view narrower than 51 pixels.
constexpr int kQuickMaskMinimumWidth = 51;
std::optional<Box> QuickMaskButtonBox(int clientWidth);

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};
// The editor's panel background by version; versions below 4 have none of
// their own (the caller asks the system).
std::optional<Rgb> PanelBackgroundOf(int version);
// The fill of the module's buttons when colourising, against a panel of
// this background.
Rgb ColorizeColorFor(Rgb panel);
constexpr Rgb kHoverFrameColor{143, 143, 143};
Rgb ControlBarTextColor(int version);
constexpr Rgb kTooltipBackground{243, 243, 243};

// Code page 1252 texts of the tooltips, by icon kind.
std::string_view TooltipText(int kind, bool german);

}  // namespace panel
