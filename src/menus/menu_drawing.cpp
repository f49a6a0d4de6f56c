#include "menus/menu_drawing.h"

#include <cstdio>

#include "entry/module_state.h"
#include "menus/action_script_menus.h"
#include "menus/adjustment_popup.h"
#include "menus/command_table.h"
#include "settings/shortcuts.h"
#include "ui/gdi_objects.h"
#include "ui/panel_buttons.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct VersionColors {
  COLORREF selectedFill;
  COLORREF text;
  COLORREF grayedText;
  bool whiteWhenSelected;  // else a selected item keeps its text colour
};

// Editors below 4, 4 and 5, 6, 7 and 8, 9 and 10, 11 and up: light menus with
// a blue highlight, then the dark editors, then light again.
constexpr VersionColors ColorsByVersion[] = {
    {RGB(51, 153, 255), kBlack, RGB(127, 127, 127), true},
    {RGB(51, 153, 255), kBlack, RGB(109, 109, 109), true},
    {RGB(80, 80, 80), kWhite, RGB(170, 170, 170), false},
    {RGB(40, 40, 40), kWhite, RGB(183, 183, 183), false},
    {RGB(28, 28, 28), kWhite, RGB(153, 153, 153), false},
    {RGB(109, 158, 218), kBlack, RGB(127, 127, 127), true},
};

constexpr const VersionColors& ColorsFor(int v) {
  if (v < 4) return ColorsByVersion[0];
  if (v <= 5) return ColorsByVersion[1];
  if (v == 6) return ColorsByVersion[2];
  if (v <= 8) return ColorsByVersion[3];
  if (v <= 10) return ColorsByVersion[4];
  return ColorsByVersion[5];
}

// Colourised items stand out from a dark or a light editor.
constexpr COLORREF kColorizedOnDark = RGB(96, 111, 128);
constexpr COLORREF kColorizedOnLight = RGB(229, 242, 255);
constexpr COLORREF kDarkPanelBelow = 0x808080;

// By indent class (0 to 2), then by editors below 6, 6 to 10, 11 and up.
constexpr int IndentByClass[3][3] = {{17, 17, 17}, {24, 40, 17}, {22, 40, 17}};
constexpr int kPlainIndent = 17;

// A 7 x 7 check mark, rows from the top, the leftmost pixel in bit 6.
constexpr int kCheckMarkSize = 7;
constexpr unsigned char CheckMarkRows[kCheckMarkSize] = {0b0000001, 0b0000011, 0b1000111, 0b1101110,
                                                         0b1111100, 0b0111000, 0b0010000};

// A separator: its height, and its line's inset from the item's sides.
constexpr int kSeparatorHeight = 9;
constexpr int kSeparatorInset = 2;

constexpr const char* kShortcutGap = "     ";
constexpr int kShortcutRightMargin = 16;
constexpr std::size_t kItemTextSize = 256;

// A command's shortcut text alone, empty when it has none.
void ShortcutText(std::int32_t id, char* buffer, std::size_t size) {
  buffer[0] = '\0';
  AppendShortcutText(id, buffer, size);
}

int CurrentFontHeight() {
  return MenuFontHeight(HostMajorVersion, WindowsVersionCode, AdjustmentPopup != nullptr);
}

HFONT MakeMenuFont() {
  return CreateFontA(CurrentFontHeight(), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, MenuFontFace(HostMajorVersion));
}

void DrawCheckMark(HDC dc, int x, int y) {
  for (int row = 0; row < kCheckMarkSize; ++row)
    for (int column = 0; column < kCheckMarkSize; ++column)
      if (CheckMarkRows[row] & (1u << (kCheckMarkSize - 1 - column))) SetPixel(dc, x + column, y + row, kBlack);
}

// What an item is measured with: a command's label is followed by room for
// its shortcut.
void MeasuredText(std::int32_t id, char* buffer, std::size_t size) {
  char label[kItemTextSize];
  MenuItemLabel(id, label, sizeof label);
  if (CommandIndex(id) >= 0) {
    char shortcut[kShortcutTextSize];
    ShortcutText(id, shortcut, sizeof shortcut);
    std::snprintf(buffer, size, "%s%s%s", label, kShortcutGap, shortcut);
  } else {
    std::snprintf(buffer, size, "%s", label);
  }
}

}  // namespace

void InsertModuleSeparator(HMENU menu, int position, int hostVersion) {
  if (hostVersion >= 6)
    InsertMenuA(menu, UINT(position), MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW, 0,
                reinterpret_cast<LPCSTR>(kModuleSeparatorData));
  else
    InsertMenuA(menu, UINT(position), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

const char* MenuFontFace(int hostVersion) {
  if (hostVersion >= 6) return "Myriad Web Pro";
  if (hostVersion == 4) return "Segoe UI";
  return "Arial";
}

int MenuFontHeight(int hostVersion, int windowsVersion, bool adjustmentPopupOpen) {
  const int v = hostVersion;
  if (v == 4 || (v >= 6 && v <= 8) || (v >= 11 && windowsVersion < 11)) return 14;
  if (adjustmentPopupOpen) return v < 11 ? 13 : 14;
  return 15;
}

int MenuItemIndent(std::int32_t id) {
  const int index = CommandIndex(id);
  if (index < 0) return kPlainIndent;
  const int indentClass = CommandTable[std::size_t(index)].IndentClass;
  if (indentClass < 0 || indentClass > 2) return kPlainIndent;
  const int v = HostMajorVersion;
  return IndentByClass[indentClass][v < 6 ? 0 : v <= 10 ? 1 : 2];
}

MenuItemColors ChooseMenuItemColors(int hostVersion, bool colorize, COLORREF panel, bool selected, bool grayed) {
  const VersionColors& colors = ColorsFor(hostVersion);
  MenuItemColors chosen{panel, grayed ? colors.grayedText : colors.text};
  if (colorize) chosen.fill = panel < kDarkPanelBelow ? kColorizedOnDark : kColorizedOnLight;
  if (selected) {
    chosen.fill = colors.selectedFill;
    if (colors.whiteWhenSelected) chosen.text = kWhite;
  }
  return chosen;
}

void MenuItemLabel(std::int32_t id, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  // The scripts' and actions' items show the names of their lists; the
  // smart filters' come with their own list.
  if (CommandIndex(id) < 0) {
    std::snprintf(buffer, size, "%s", ListedItemLabel(std::uint32_t(id)).c_str());
    return;
  }
  std::snprintf(buffer, size, "%s", CommandLabel(id));
}

BOOL MeasureMenuItem(HWND window, MEASUREITEMSTRUCT& item) {
  const std::int32_t id = std::int32_t(item.itemID);
  const int height = CurrentFontHeight();
  char text[kItemTextSize];
  MeasuredText(id, text, sizeof text);
  RECT measured{0, 0, 0, 0};
  WindowDc dc(window);
  if (dc.get()) {
    FontHolder font(MakeMenuFont());
    SelectGuard selected(dc.get(), font.get());
    DrawTextA(dc.get(), text, -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  }
  item.itemWidth = UINT(measured.right - measured.left + MenuItemIndent(id));
  item.itemHeight = UINT(height + 4);
  return TRUE;
}

BOOL DrawMenuItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  if (!dc) return TRUE;
  const std::int32_t id = std::int32_t(item.itemID);
  // Only a change of the highlight is drawn highlighted; an item drawn whole
  // is drawn plain.
  const bool selected = item.itemAction == ODA_SELECT && (item.itemState & ODS_SELECTED) != 0;
  const bool grayed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const MenuItemColors colors =
      ChooseMenuItemColors(HostMajorVersion, ColorizeEnabled, HostPanelBackground(), selected, grayed);
  const int height = CurrentFontHeight();

  SavedDcState state(dc);
  {
    BrushHolder fill(CreateSolidBrush(colors.fill));
    if (fill) FillRect(dc, &item.rcItem, fill.get());
  }
  if (item.itemState & ODS_CHECKED)
    DrawCheckMark(dc, item.rcItem.left + 3, item.rcItem.top + 2 + (height - kCheckMarkSize) / 2);

  FontHolder font(MakeMenuFont());
  SelectGuard selectedFont(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colors.text);
  char label[kItemTextSize];
  MenuItemLabel(id, label, sizeof label);
  RECT text{item.rcItem.left + MenuItemIndent(id), item.rcItem.top + 2, item.rcItem.right, item.rcItem.bottom};
  DrawTextA(dc, label, -1, &text, DT_SINGLELINE | DT_NOCLIP);
  if (CommandIndex(id) >= 0) {
    char shortcut[kShortcutTextSize];
    ShortcutText(id, shortcut, sizeof shortcut);
    if (shortcut[0]) {
      text.right -= kShortcutRightMargin;
      DrawTextA(dc, shortcut, -1, &text, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
    }
  }
  return TRUE;
}

BOOL MeasureModuleSeparator(MEASUREITEMSTRUCT& item) {
  // The width comes from the menu's other items.
  item.itemWidth = 0;
  item.itemHeight = kSeparatorHeight;
  return TRUE;
}

BOOL DrawModuleSeparator(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  if (!dc) return TRUE;
  SavedDcState state(dc);
  {
    BrushHolder fill(CreateSolidBrush(HostPanelBackground()));
    if (fill) FillRect(dc, &item.rcItem, fill.get());
  }
  const RECT& box = item.rcItem;
  const int middle = box.top + (box.bottom - box.top) / 2;
  const RECT line{box.left + kSeparatorInset, middle, box.right - kSeparatorInset, middle + 1};
  if (line.right > line.left) {
    BrushHolder stroke(CreateSolidBrush(ColorsFor(HostMajorVersion).grayedText));
    if (stroke) FillRect(dc, &line, stroke.get());
  }
  return TRUE;
}
