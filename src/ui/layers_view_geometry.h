// Where things sit in the editor's Layers view, measured from the view's
// client rectangle in screen coordinates: the column of the layer
// thumbnails, the column of the smart-filter badge and the host's
// new-adjustment-layer button. Each editor generation lays its panel out
// differently.
#pragma once

#include <algorithm>

// A rectangle in screen pixels; the right and bottom edges are outside it.
struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;

  constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  constexpr bool operator==(const ScreenRect&) const = default;
};

// The panel layouts: editors 11 and up, 9 and 10, and the older ones.
enum class PanelLayout : int { Eleven = 0, NineTen = 1, Older = 2 };

constexpr PanelLayout PanelLayoutOf(int hostVersion) {
  if (hostVersion >= 11) return PanelLayout::Eleven;
  if (hostVersion >= 9) return PanelLayout::NineTen;
  return PanelLayout::Older;
}

// A negative bottom inset reaches below the view: older panels report a
// view that ends above the lowest layer row.
struct ThumbnailInsets {
  int top, bottom, left, clippedLeft, width;
};

// By the thumbnail size of the host's Layers panel options (0 to 3), then by
// layout. A clipped layer's thumbnail is moved right by `clippedLeft`.
inline constexpr ThumbnailInsets ThumbnailColumnInsets[4][3] = {
    {{55, 0, 53, 16, 18}, {32, -27, 27, 16, 16}, {28, -28, 27, 16, 16}},
    {{55, 0, 53, 16, 32}, {32, -27, 27, 16, 32}, {28, -28, 27, 16, 32}},
    {{55, 0, 53, 28, 56}, {32, -27, 27, 28, 56}, {28, -28, 27, 28, 56}},
    {{55, 0, 50, 43, 86}, {32, -27, 27, 40, 80}, {28, -28, 27, 40, 80}},
};

constexpr ScreenRect ThumbnailColumn(const ScreenRect& view, int thumbnailSize, int hostVersion, bool clipped) {
  // The size comes from the host's preferences file; anything unknown is
  // read as the nearest size the table has.
  const int size = std::clamp(thumbnailSize, 0, 3);
  const ThumbnailInsets& insets = ThumbnailColumnInsets[size][int(PanelLayoutOf(hostVersion))];
  const int left = view.left + insets.left + (clipped ? insets.clippedLeft : 0);
  return {left, view.top + insets.top, left + insets.width, view.bottom - insets.bottom};
}

// The badge sits at a fixed distance from the view's right edge.
struct BadgeInsets {
  int top, bottom, leftFromRight, rightFromRight;
};

inline constexpr BadgeInsets SmartFilterBadgeInsets[3] = {
    {55, 0, 40, 16},
    {32, -27, 48, 24},
    {28, -28, 48, 24},
};

constexpr ScreenRect SmartFilterBadgeColumn(const ScreenRect& view, int hostVersion) {
  const BadgeInsets& insets = SmartFilterBadgeInsets[int(PanelLayoutOf(hostVersion))];
  return {view.right - insets.leftFromRight, view.top + insets.top, view.right - insets.rightFromRight,
          view.bottom - insets.bottom};
}

// The host's own button that opens the new-adjustment-layer pop-up. Editor
// 12 keeps the panel of 11. Counting a whole view as the button would hand
// every menu opened while the mouse rests on the panel (a menu of the menu
// bar opened with the keyboard, the panel's own context menus) the
// adjustment items instead of its own; only editors whose layout is not
// known at all get the whole view.
constexpr ScreenRect AdjustmentButtonRect(const ScreenRect& view, int hostVersion) {
  if (hostVersion == 8) return {view.left + 31, view.bottom - 22, view.left + 57, view.bottom};
  if (hostVersion == 9 || hostVersion == 10) return {view.left + 58, view.bottom - 22, view.left + 84, view.bottom};
  if (hostVersion == 11 || hostVersion == 12) return {view.left + 30, view.top, view.left + 60, view.top + 25};
  return view;
}
