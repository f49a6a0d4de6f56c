// The module's owner-drawn menu items: colours, font and indent by editor
// version, the check mark, the measured size; and the module's items in the
// Layers panel's new-adjustment-layer pop-up.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "menus/adjustment_popup.h"
#include "menus/command_table.h"
#include "menus/menu_drawing.h"
#include "procedure_fixture.h"
#include "ui/panel_buttons.h"
#include "ui/window_procedures.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kDarkPanel = RGB(71, 71, 71);
constexpr COLORREF kLightPanel = RGB(255, 255, 255);

TEST(MenuItemColors, ByVersionStateAndColourising) {
  struct Row {
    const char* what;
    int version;
    bool colorize;
    COLORREF panel;
    bool selected, grayed;
    COLORREF fill, text;
  };
  const Row rows[] = {
      {"10: white on the panel", 10, false, kDarkPanel, false, false, kDarkPanel, kWhite},
      {"10 colourised", 10, true, kDarkPanel, false, false, RGB(96, 111, 128), kWhite},
      {"10 highlighted keeps white", 10, false, kDarkPanel, true, false, RGB(28, 28, 28), kWhite},
      {"10 greyed", 10, false, kDarkPanel, false, true, kDarkPanel, RGB(153, 153, 153)},
      {"11 highlighted: white on blue", 11, false, kLightPanel, true, false, RGB(109, 158, 218), kWhite},
      {"11 greyed", 11, false, kLightPanel, false, true, kLightPanel, RGB(127, 127, 127)},
      {"11 colourised on a light editor", 11, true, kLightPanel, false, false, RGB(229, 242, 255), kBlack},
      {"colourised and highlighted keeps the highlight", 11, true, kLightPanel, true, false, RGB(109, 158, 218), kWhite},
      {"6 greyed and highlighted keeps grey", 6, false, RGB(120, 120, 120), true, true, RGB(80, 80, 80), RGB(170, 170, 170)},
      {"7 and 8", 8, false, RGB(110, 110, 110), false, true, RGB(110, 110, 110), RGB(183, 183, 183)},
      {"4 and 5 highlighted", 5, false, RGB(240, 240, 240), true, true, RGB(51, 153, 255), kWhite},
      {"below 4 greyed", 3, false, RGB(230, 230, 230), false, true, RGB(230, 230, 230), RGB(127, 127, 127)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const MenuItemColors colors = ChooseMenuItemColors(row.version, row.colorize, row.panel, row.selected, row.grayed);
    EXPECT_EQ(colors.fill, row.fill);
    EXPECT_EQ(colors.text, row.text);
  }
}

TEST(MenuItemFont, FaceAndHeightFollowTheEditor) {
  EXPECT_STREQ(MenuFontFace(6), "Myriad Web Pro");
  EXPECT_STREQ(MenuFontFace(4), "Segoe UI");
  EXPECT_STREQ(MenuFontFace(5), "Arial");
  struct Row {
    int host, windows;
    bool popup;
    int height;
  };
  const Row rows[] = {
      {4, 13, false, 14}, {7, 13, true, 14},  {11, 9, false, 14},  // the small editors' menus
      {5, 13, false, 15}, {10, 9, false, 15}, {11, 13, false, 15},
      {10, 13, true, 13}, {11, 13, true, 14},  // the adjustment pop-up's smaller font
  };
  for (const Row& row : rows)
    EXPECT_EQ(MenuFontHeight(row.host, row.windows, row.popup), row.height)
        << "editor " << row.host << " windows " << row.windows;
}

class MenuDrawingTest : public ProcedureTest {
 protected:
  void SetUp() override {
    ProcedureTest::SetUp();
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, bitmap_);
  }
  void TearDown() override {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    ProcedureTest::TearDown();
  }
  LRESULT Draw(UINT id, UINT action, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    item.itemAction = action;
    item.itemState = state;
    item.hDC = dc_;
    item.rcItem = {0, 0, kWidth, kHeight};
    return Send(main_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  LRESULT DrawSeparator(ULONG_PTR data) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemAction = ODA_DRAWENTIRE;
    item.hDC = dc_;
    item.rcItem = {0, 0, kWidth, kSeparatorHeight};
    item.itemData = data;
    return Send(main_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

  static constexpr int kSeparatorHeight = 9;

  static constexpr int kWidth = 240, kHeight = 24;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

constexpr UINT kAntiAliasCrisp = 0x8824;

TEST_F(MenuDrawingTest, ACheckedItemShowsTheCheckMarkCentredOnTheFont) {
  UseVersion(10);  // a 15-pixel font: the mark's top row is 2 + (15 - 7) / 2 = 6
  ColorizeEnabled = true;
  const COLORREF fill = ChooseMenuItemColors(10, true, HostPanelBackground(), false, false).fill;
  EXPECT_EQ(Draw(kAntiAliasCrisp, ODA_DRAWENTIRE, ODS_CHECKED), 1);
  const char* mark[] = {"0000001", "0000011", "1000111", "1101110", "1111100", "0111000", "0010000"};
  for (int row = 0; row < 7; ++row)
    for (int column = 0; column < 7; ++column)
      EXPECT_EQ(Pixel(3 + column, 6 + row), mark[row][column] == '1' ? kBlack : fill)
          << "row " << row << " column " << column;
  EXPECT_EQ(Pixel(kWidth - 1, kHeight - 1), fill);

  Draw(kAntiAliasCrisp, ODA_DRAWENTIRE, 0);
  EXPECT_EQ(Pixel(9, 6), fill) << "no mark without the check";
}

TEST_F(MenuDrawingTest, OnlyAChangeOfTheHighlightIsDrawnHighlighted) {
  UseVersion(11);
  Draw(kAntiAliasCrisp, ODA_SELECT, ODS_SELECTED);
  EXPECT_EQ(Pixel(kWidth - 1, 0), RGB(109, 158, 218));
  Draw(kAntiAliasCrisp, ODA_DRAWENTIRE, ODS_SELECTED);
  EXPECT_EQ(Pixel(kWidth - 1, 0), HostPanelBackground());
}

TEST_F(MenuDrawingTest, ACommandIsMeasuredAsItsLabelWithRoomForItsShortcutAndItsIndent) {
  UseVersion(10);
  const auto measure = [&](UINT id) {
    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    EXPECT_EQ(Send(main_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);
    return item;
  };
  // Browse in Organizer (indent class 2: 40 in editors 6 to 10) against an
  // action item, which the module has no name for yet (17).
  const MEASUREITEMSTRUCT browse = measure(0x8800);
  const MEASUREITEMSTRUCT action = measure(0x8900);
  EXPECT_EQ(browse.itemHeight, 19u);  // the font and 4
  EXPECT_EQ(action.itemHeight, 19u);
  EXPECT_EQ(action.itemWidth, 17u);
  EXPECT_GT(browse.itemWidth, 40u + 5u);

  // The adjustment pop-up's smaller font while its items are in it.
  HMENU popup = CreatePopupMenu();
  AppendAdjustmentItems(popup);
  EXPECT_EQ(measure(0x885E).itemHeight, 17u);
  RemoveAdjustmentItems();
  DestroyMenu(popup);
}

TEST_F(MenuDrawingTest, TheShortcutTextEndsSixteenPixelsFromTheItemsRightEdge) {
  constexpr UINT kFade = 0x8807, kBlackAndWhite = 0x881E;
  for (int version : {6, 10, 11}) {
    SCOPED_TRACE(testing::Message() << "editor " << version);
    UseVersion(version);
    for (UINT id : {kFade, kBlackAndWhite}) {
      Draw(id, ODA_DRAWENTIRE, 0);
      const COLORREF background = Pixel(kWidth - 1, kHeight - 1);
      int rightmost = -1;
      for (int x = 0; x < kWidth; ++x)
        for (int y = 0; y < kHeight; ++y)
          if (Pixel(x, y) != background) rightmost = std::max(rightmost, x);
      // The text's last stroke stands just inside the 16 pixels kept clear.
      EXPECT_LT(rightmost, kWidth - 16) << id;
      EXPECT_GE(rightmost, kWidth - 16 - 3) << id;
    }
    // An item without a shortcut leaves the right side empty.
    Draw(kAntiAliasCrisp, ODA_DRAWENTIRE, 0);
    const COLORREF background = Pixel(kWidth - 1, kHeight - 1);
    for (int x = kWidth - 70; x < kWidth; ++x)
      for (int y = 0; y < kHeight; ++y) ASSERT_EQ(Pixel(x, y), background) << x << ", " << y;
  }
}

TEST_F(MenuDrawingTest, TheModulesSeparatorsAreMeasuredAndDrawnAsALine) {
  UseVersion(8);
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, 0, 0, 0, kModuleSeparatorData};
  EXPECT_EQ(Send(main_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 1);
  EXPECT_FALSE(PassedOn(main_, WM_MEASUREITEM));
  EXPECT_EQ(measure.itemHeight, UINT(kSeparatorHeight));
  EXPECT_EQ(measure.itemWidth, 0u);  // the menu's other items set its width

  EXPECT_EQ(DrawSeparator(kModuleSeparatorData), 1);
  EXPECT_FALSE(PassedOn(main_, WM_DRAWITEM));
  const COLORREF line = RGB(183, 183, 183);  // editor 8's greyed text
  EXPECT_EQ(Pixel(kWidth / 2, kSeparatorHeight / 2), line);
  EXPECT_EQ(Pixel(kWidth / 2, 0), HostPanelBackground());
  EXPECT_EQ(Pixel(0, kSeparatorHeight / 2), HostPanelBackground());  // inset from the sides

  // Someone else's owner-drawn separator is the editor's to draw.
  MEASUREITEMSTRUCT other{ODT_MENU, 0, 0, 0, 0, 0};
  Send(main_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&other));
  EXPECT_TRUE(PassedOn(main_, WM_MEASUREITEM));
  DrawSeparator(0);
  EXPECT_TRUE(PassedOn(main_, WM_DRAWITEM));
}

// How far apart two colours are to the eye: the ratio of their relative
// luminances, from 1 (the same) to 21 (black on white).
double Luminance(COLORREF colour) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
         0.0722 * channel(GetBValue(colour));
}

double Contrast(COLORREF a, COLORREF b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(MenuDrawingTest, ItemsAreDrawnOnTheEditorsPanelColourInReadableText) {
  struct Row {
    int version;
    COLORREF panel;
  };
  const Row rows[] = {
      {4, RGB(240, 240, 240)}, {5, RGB(240, 240, 240)}, {6, RGB(120, 120, 120)}, {7, RGB(110, 110, 110)},
      {8, RGB(110, 110, 110)}, {9, RGB(71, 71, 71)},    {10, RGB(71, 71, 71)},   {11, RGB(255, 255, 255)},
      {12, RGB(255, 255, 255)},
  };
  struct State {
    const char* what;
    UINT action, state;
    bool colorize;
    double least;  // the contrast the text needs at its strongest pixel
  };
  // Greyed items are meant to be faint, yet still there.
  const State states[] = {
      {"enabled", ODA_DRAWENTIRE, 0, false, 2.5},
      {"highlighted", ODA_SELECT, ODS_SELECTED, false, 2.5},
      {"greyed", ODA_DRAWENTIRE, ODS_GRAYED, false, 1.5},
      {"colourised", ODA_DRAWENTIRE, 0, true, 2.5},
  };
  constexpr UINT kBrowseInOrganizer = 0x8800;
  for (const Row& row : rows) {
    UseVersion(row.version);
    EXPECT_EQ(HostPanelBackground(), row.panel) << "editor " << row.version;
    for (const State& state : states) {
      SCOPED_TRACE(testing::Message() << "editor " << row.version << ", " << state.what);
      ColorizeEnabled = state.colorize;
      Draw(kBrowseInOrganizer, state.action, state.state);
      const COLORREF background = Pixel(kWidth - 1, kHeight - 1);
      if (!state.colorize && state.action == ODA_DRAWENTIRE) {
        EXPECT_EQ(background, row.panel);
      }
      int textPixels = 0;
      double strongest = 1.0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
          if (const COLORREF pixel = Pixel(x, y); pixel != background) {
            ++textPixels;
            strongest = std::max(strongest, Contrast(pixel, background));
          }
      EXPECT_GT(textPixels, 20) << "the label leaves no mark on its background";
      EXPECT_GE(strongest, state.least);
    }
  }
}

// The pop-up of the Layers panel's new-adjustment-layer button, opened and
// closed with the cursor over the button.
class AdjustmentPopupTest : public ProcedureTest {
 protected:
  void SetUp() override {
    ProcedureTest::SetUp();
    view_ = MakeWindow(100, 100, 300, 300);
    LayersView = view_;
    popup_ = CreatePopupMenu();
    for (UINT id : {5001u, 5002u, 5003u}) AppendMenuA(popup_, MF_STRING, id, "Host item");
  }
  void TearDown() override {
    DestroyMenu(popup_);
    ProcedureTest::TearDown();
  }
  std::vector<UINT> Items() const {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(popup_); ++i) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_ID | MIIM_FTYPE;
      GetMenuItemInfoA(popup_, UINT(i), TRUE, &info);
      ids.push_back(info.fType & MFT_SEPARATOR ? 0 : info.wID);
    }
    return ids;
  }

  HWND view_ = nullptr;
  HMENU popup_ = nullptr;
};

TEST_F(AdjustmentPopupTest, TheModulesItemsAreThereWhileThePopupIsOpen) {
  struct Row {
    int version;
    POINT button;  // on the button, in view coordinates
    std::vector<UINT> whileOpen;
  };
  const Row rows[] = {
      {11, {30, 0}, {5001, 5002, 5003, 0, 0x885D, 0x885E, 0x885F, 0x8860, 0, 0x8861, 0x8862, 0x8863}},
      {12, {59, 24}, {5001, 5002, 5003, 0, 0x885D, 0x885E, 0x885F, 0x8860, 0, 0x8861, 0x8862, 0x8863}},
      {10, {83, 299}, {5001, 5002, 5003, 0, 0x885E, 0x885F, 0x8861}},
      {8, {31, 278}, {5001, 5002, 5003, 0, 0x885E, 0x885F, 0x8861}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.version);
    UseVersion(row.version);
    MOVE_CURSOR_OR_SKIP(100 + row.button.x, 100 + row.button.y);
    Send(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup_), 0);
    EXPECT_TRUE(PassedOn(main_, WM_INITMENUPOPUP));
    EXPECT_EQ(Items(), row.whileOpen);
    EXPECT_EQ(AdjustmentPopup, popup_);
    // The module's items and separators are drawn by the module, as the
    // editor's own of this pop-up are drawn by the editor.
    for (int i = 3; i < GetMenuItemCount(popup_); ++i) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_DATA;
      GetMenuItemInfoA(popup_, UINT(i), TRUE, &info);
      EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u) << "item " << i;
      if (info.fType & MFT_SEPARATOR) {
        EXPECT_EQ(info.dwItemData, kModuleSeparatorData) << "item " << i;
      }
    }
    // A second notice of the same pop-up adds nothing.
    Send(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup_), 0);
    EXPECT_EQ(Items(), row.whileOpen);

    Send(main_, WM_EXITMENULOOP, 1, 0);
    EXPECT_TRUE(PassedOn(main_, WM_EXITMENULOOP));
    EXPECT_EQ(Items(), (std::vector<UINT>{5001, 5002, 5003}));
    EXPECT_EQ(AdjustmentPopup, nullptr);
  }
}

TEST_F(AdjustmentPopupTest, OffTheButtonThePopupIsTheEditorsAlone) {
  struct Row {
    int version;
    POINT at;
    bool layersView;
  };
  const Row rows[] = {
      {11, {61, 10}, true},   // right of the button
      {10, {83, 277}, true},  // above it
      {7, {31, 278}, true},   // no such button before 8
      {8, {31, 278}, false},  // no Layers view found
      {12, {150, 150}, true},  // editor 12's panel is 11's: the view is no button
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.version);
    UseVersion(row.version);
    LayersView = row.layersView ? view_ : nullptr;
    MOVE_CURSOR_OR_SKIP(100 + row.at.x, 100 + row.at.y);
    EXPECT_FALSE(CursorOverAdjustmentButton());
    Send(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup_), 0);
    EXPECT_EQ(Items(), (std::vector<UINT>{5001, 5002, 5003}));
    EXPECT_EQ(AdjustmentPopup, nullptr);
  }
}

TEST_F(AdjustmentPopupTest, TheEditorsOwnTrailingItemsAreNeverTaken) {
  UseVersion(11);
  AppendMenuA(popup_, MF_SEPARATOR, 0, nullptr);
  AppendAdjustmentItems(popup_);
  AppendMenuA(popup_, MF_STRING, 5004, "Added by the editor");
  RemoveAdjustmentItems();
  EXPECT_EQ(Items(), (std::vector<UINT>{5001, 5002, 5003, 0, 0, 0, 5004}));

  // A pop-up destroyed while it held the items is just forgotten.
  HMENU gone = CreatePopupMenu();
  AppendAdjustmentItems(gone);
  DestroyMenu(gone);
  RemoveAdjustmentItems();
  EXPECT_EQ(AdjustmentPopup, nullptr);
}

}  // namespace
