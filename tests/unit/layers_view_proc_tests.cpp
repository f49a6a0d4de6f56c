// The Layers view's replaced procedure: double clicks on thumbnails (the
// column by thumbnail size and editor generation, the layer's kind), the
// smart-filter badge, clicks while a tool dialog runs; and the control bar's
// late search for a Layers view.
#include <windows.h>

#include <string>
#include <vector>

#include "adjustments/dialog_state.h"
#include "entry/module_state.h"
#include "localization/host_language.h"
#include "procedure_fixture.h"
#include "ui/layers_view_geometry.h"
#include "ui/procedure_state.h"
#include "ui/view_refresh.h"
#include "ui/window_procedures.h"

namespace {

// Positions count from the bottom layer.
constexpr const char* kLayersDocument = R"({"documents": [{"title": "layers.psd", "layers": [
  {"name": "Background", "kind": "pixel", "background": true},
  {"name": "Levels 1", "kind": "adjustment", "adjustment": {"class": "levels"}},
  {"name": "Curves 1", "kind": "adjustment", "adjustment": {"class": "curves"}},
  {"name": "Clipped Curves", "kind": "adjustment", "grouped": true, "adjustment": {"class": "curves"}},
  {"name": "Vibrance 1", "kind": "adjustment", "adjustment": {"class": "vibrance"}},
  {"name": "Smart", "kind": "smartObject"},
  {"name": "Filtered", "kind": "smartObject", "smartFilters": [{"name": "Gaussian Blur", "enabled": true}]},
  {"name": "Unknown kind", "kind": "adjustment", "adjustment": {"class": "somethingNew"}},
  {"name": "Pixels", "kind": "pixel"}],
  "target": [2]}]})";

enum Layer { kLevels = 1, kCurves = 2, kClippedCurves = 3, kVibrance = 4, kSmart = 5, kFiltered = 6,
             kUnknownKind = 7, kPixels = 8 };

// The view's client area on the screen.
constexpr int kViewLeft = 100, kViewTop = 100, kViewSize = 300;

class LayersViewTest : public ProcedureTest {
 protected:
  void SetUp() override {
    ProcedureTest::SetUp();
    StartHost(kLayersDocument);
    view_ = MakeWindow(kViewLeft, kViewTop, kViewSize, kViewSize);
    LayersView = view_;
    ASSERT_TRUE(ReplaceLayersViewProcedure(view_));
  }
  static void Select(int layer) { sim::ApplyEdit(sim::Json{{"selectLayer", layer}}); }
  // A double click with the cursor at a point of the view (y may lie below it).
  bool DoubleClickAt(int x, int y) {
    if (!MoveCursor(kViewLeft + x, kViewTop + y)) return false;
    Send(view_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    return true;
  }

  HWND view_ = nullptr;
};

constexpr ExpectedLine kEditCurvesStep = {R"({"kind":"step-begin","name":"Curves..."})"};
constexpr ExpectedLine kEditVibranceStep = {R"({"kind":"step-begin","name":"Vibrance..."})"};

// The thumbnail column's edges, by editor and thumbnail size, in view
// coordinates: a point just inside and one just outside.
struct ColumnRow {
  int version;
  int size;
  int layer;
  POINT inside, outside;
};

constexpr ColumnRow kColumnRows[] = {
    {11, 0, kCurves, {53, 55}, {71, 55}},          // 11 and up: 53 + 18, from 55 down
    {11, 0, kCurves, {70, 299}, {70, 54}},
    {12, 3, kCurves, {50, 60}, {136, 60}},          // the largest size starts further left
    {10, 1, kCurves, {58, 32}, {59, 32}},           // 9 and 10: 27 + 32
    {9, 1, kCurves, {27, 326}, {27, 327}},          // reaches 27 below the view
    {8, 2, kCurves, {27, 28}, {27, 27}},            // below 9: from 28 down
    {8, 2, kClippedCurves, {55, 100}, {54, 100}},   // a clipped layer's thumbnail moves right by 28
    {8, 3, kClippedCurves, {146, 100}, {147, 100}},  // 27 + 40, 80 wide
};

TEST_F(LayersViewTest, ADoubleClickInTheThumbnailColumnEditsACurvesLayer) {
  for (const ColumnRow& row : kColumnRows) {
    SCOPED_TRACE(testing::Message() << "version " << row.version << " size " << row.size);
    UseVersion(row.version);
    LayerThumbnailSize = row.size;
    Select(row.layer);
    Take();
    ASSERT_TRUE(DoubleClickAt(row.inside.x, row.inside.y)) << "the cursor cannot be placed on this display";
    EXPECT_FALSE(PassedOn(view_, WM_LBUTTONDBLCLK));
    ExpectLines(Take({"step-begin"}), {kEditCurvesStep});

    DoubleClickAt(row.outside.x, row.outside.y);
    EXPECT_TRUE(PassedOn(view_, WM_LBUTTONDBLCLK)) << "on the layer's name";
    EXPECT_TRUE(Take({"step-begin"}).empty());
  }
}

TEST_F(LayersViewTest, WhatADoubleClickOnAThumbnailDoesDependsOnTheLayer) {
  struct Row {
    const char* what;
    int version;
    int layer;
    bool passedOn;
    std::vector<ExpectedLine> steps;
  };
  const Row rows[] = {
      {"Levels: the host's own dialog", 8, kLevels, true, {}},
      {"Vibrance below 11: the module's editing", 10, kVibrance, false, {kEditVibranceStep}},
      {"Vibrance in 11: the module's editing while the host's is not reached", 11, kVibrance, false,
       {kEditVibranceStep}},
      {"an adjustment the module does not know", 8, kUnknownKind, false, {}},
      {"a pixel layer", 8, kPixels, true, {}},
      {"a smart object: Edit Contents", 8, kSmart, false, {}},
  };
  if (!MoveCursor(kViewLeft + 40, kViewTop + 60)) GTEST_SKIP() << "the cursor cannot be placed on this display";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    UseVersion(row.version);
    LayerThumbnailSize = 2;
    Select(row.layer);
    Take();
    // Inside the column for every layout: 53..71 (11), 27..83 (9, 10, below 9).
    ASSERT_TRUE(DoubleClickAt(60, 60));
    EXPECT_EQ(PassedOn(view_, WM_LBUTTONDBLCLK), row.passedOn);
    ExpectLines(Take({"step-begin"}), row.steps);
  }
}

TEST_F(LayersViewTest, TheBadgeColumnOfALayerWithSmartFiltersIsTheModules) {
  struct Row {
    int version;
    int layer;
    POINT at;
    bool hit;
  };
  const Row rows[] = {
      {11, kFiltered, {kViewSize - 40, 55}, true},  // 11 and up: 40 to 16 from the right edge
      {11, kFiltered, {kViewSize - 16, 55}, false},
      {10, kFiltered, {kViewSize - 25, 326}, true},  // 9 and 10: 48 to 24, reaching below the view
      {8, kFiltered, {kViewSize - 49, 100}, false},
      {8, kSmart, {kViewSize - 40, 100}, false},  // no smart filters, no badge
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "version " << row.version << " at " << row.at.x << "," << row.at.y);
    UseVersion(row.version);
    Select(row.layer);
    ASSERT_TRUE(DoubleClickAt(row.at.x, row.at.y)) << "the cursor cannot be placed on this display";
    EXPECT_EQ(PassedOn(view_, WM_LBUTTONDBLCLK), !row.hit);
    EXPECT_EQ(SmartFilterBadgeHit(true), row.hit);
    // A press on the badge opens the smart filters' editing as well.
    Send(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.at.x, row.at.y));
    EXPECT_EQ(PassedOn(view_, WM_LBUTTONDOWN), !row.hit);
  }
}

TEST_F(LayersViewTest, ARunningToolDialogSwallowsClicksInThePanel) {
  Select(kCurves);
  ToolDialogRunning = true;
  ASSERT_TRUE(DoubleClickAt(60, 60)) << "the cursor cannot be placed on this display";
  EXPECT_FALSE(PassedOn(view_, WM_LBUTTONDBLCLK));
  EXPECT_EQ(Send(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 60)), 1);
  EXPECT_FALSE(PassedOn(view_, WM_LBUTTONDOWN));
  EXPECT_TRUE(Take({"step-begin", "play"}).empty());

  // Other messages of the panel still reach the host.
  Send(view_, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  EXPECT_TRUE(PassedOn(view_, WM_MOUSEMOVE));
}

TEST_F(LayersViewTest, EveryViewIsPaintedByTheHostBeforeTheModulesButtons) {
  EXPECT_EQ(Send(view_, WM_PAINT), 1);
  EXPECT_EQ(ReachedCount(view_, WM_PAINT), 1);

  HWND bar = MakeWindow(0, 0, 400, 40);
  ASSERT_TRUE(ReplaceControlBarViewProcedure(bar));
  EXPECT_EQ(Send(bar, WM_PAINT), 1);
  EXPECT_EQ(ReachedCount(bar, WM_PAINT), 1);

  // The toolbar: a view too narrow for the Quick Mask button is painted by
  // the host once more.
  for (const int width : {51, 50}) {
    SCOPED_TRACE(width);
    HWND toolbar = MakeWindow(0, 0, width, 700);
    ASSERT_TRUE(ReplaceToolbarViewProcedure(toolbar));
    Send(toolbar, WM_PAINT);
    EXPECT_EQ(ReachedCount(toolbar, WM_PAINT), width == 51 ? 1 : 2);
  }
}

TEST(LayersViewGeometry, ColumnsKeepTheirEdgesForAnyView) {
  const ScreenRect view{10, 20, 310, 420};
  // An unknown thumbnail size counts as the nearest known one.
  EXPECT_EQ(ThumbnailColumn(view, 7, 8, false), ThumbnailColumn(view, 3, 8, false));
  EXPECT_EQ(ThumbnailColumn(view, -1, 11, true), ThumbnailColumn(view, 0, 11, true));
  EXPECT_EQ(ThumbnailColumn(view, 0, 8, false), (ScreenRect{37, 48, 53, 448}));
  EXPECT_EQ(SmartFilterBadgeColumn(view, 11), (ScreenRect{270, 75, 294, 420}));
  // The host's new-adjustment-layer button.
  EXPECT_EQ(AdjustmentButtonRect(view, 8), (ScreenRect{41, 398, 67, 420}));
  EXPECT_EQ(AdjustmentButtonRect(view, 10), (ScreenRect{68, 398, 94, 420}));
  EXPECT_EQ(AdjustmentButtonRect(view, 11), (ScreenRect{40, 20, 70, 45}));
  EXPECT_EQ(AdjustmentButtonRect(view, 12), AdjustmentButtonRect(view, 11));
  EXPECT_EQ(AdjustmentButtonRect(view, 13), view);
}

// The control bar in editor 11: a click off its buttons, while the Layers
// view is missing, searches for it again a second later.
class LateLayersViewTest : public ProcedureTest {
 protected:
  void SetUp() override {
    ProcedureTest::SetUp();
    UseVersion(11);
    bar_ = MakeWindow(0, 200, 400, 40);
    ControlBarView = bar_;
    ASSERT_TRUE(ReplaceControlBarViewProcedure(bar_));
  }
  // The editor's Layers panel, docked in the main window.
  HWND MakeLayersPanel() {
    for (const char* cls : {"OWL.Dock", "OWL.TabPane", "OWL.TabGroup", "OWL.Palette", "PSViewC", "ElementsScroller"}) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = cls;
      if (RegisterClassA(&wc)) classes_.push_back(cls);
    }
    HWND palette = Child(Child(Child(Child(main_, "OWL.Dock"), "OWL.TabPane"), "OWL.TabGroup"), "OWL.Palette");
    HWND view = Child(palette, "PSViewC");
    Child(view, "ComboBox", CBS_DROPDOWNLIST);
    Child(view, "Edit");
    Child(view, "ElementsScroller");
    return view;
  }
  static HWND Child(HWND parent, const char* cls, DWORD style = 0) {
    HWND window = CreateWindowExA(0, cls, "", WS_CHILD | style, 0, 0, 10, 10, parent, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr) << cls;
    return window;
  }
  void TearDown() override {
    ProcedureTest::TearDown();  // the main window and its panel go first
    for (const std::string& cls : classes_) UnregisterClassA(cls.c_str(), GetModuleHandleA(nullptr));
  }

  HWND bar_ = nullptr;
  std::vector<std::string> classes_;
};

TEST_F(LateLayersViewTest, AClickInTheControlBarFindsALateLayersView) {
  Send(bar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(PassedOn(bar_, WM_LBUTTONDOWN));
  HWND view = MakeLayersPanel();

  // Any timer of the bar runs the search once.
  Send(bar_, WM_TIMER, 77, 0);
  EXPECT_TRUE(PassedOn(bar_, WM_TIMER));
  EXPECT_EQ(LayersView, view);
  EXPECT_EQ(SavedLayersProc.window, view);
  EXPECT_EQ(GetWindowLongPtrA(view, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LayersViewProc));
  EXPECT_FALSE(KillTimer(bar_, 1)) << "stopped by the search";
}

TEST_F(LateLayersViewTest, NoSearchWhileTheLayersViewIsKnownOrInOtherEditors) {
  struct Row {
    int version;
    bool viewKnown;
    bool searches;
  };
  const Row rows[] = {{11, false, true}, {11, true, false}, {10, false, false}, {12, false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "version " << row.version << (row.viewKnown ? " view known" : ""));
    UseVersion(row.version);
    LayersView = row.viewKnown ? main_ : nullptr;
    Send(bar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(KillTimer(bar_, 1) != FALSE, row.searches);
  }
}

TEST_F(LateLayersViewTest, ShutdownStopsThePendingSearch) {
  Send(bar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ReleaseProcedureState();
  EXPECT_FALSE(KillTimer(bar_, 1));
}

// Views that carry buttons are repainted at once after the settings change.
class RefreshTest : public ProcedureTest {};

TEST_F(RefreshTest, TheViewsOfTheRunningEditorAreRepainted) {
  // One shown window holds the three views.
  HWND editor = MakeWindow(0, 300, 200, 60, true);
  HWND layers = MakeWindow(0, 0, 50, 50, true, editor);
  HWND toolbar = MakeWindow(60, 0, 50, 50, true, editor);
  HWND bar = MakeWindow(120, 0, 50, 50, true, editor);
  struct Row {
    int version;
    bool layers, bars;
  };
  const Row rows[] = {{7, false, false}, {8, true, false}, {11, true, true}, {12, true, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.version);
    UseVersion(row.version);
    LayersView = layers;
    ToolbarView = toolbar;
    ControlBarView = bar;
    for (HWND window : {layers, toolbar, bar}) ValidateRect(window, nullptr);
    Send(main_, WM_NULL);  // empties the log
    RefreshModuleViews();
    EXPECT_EQ(PassedOn(layers, WM_PAINT), row.layers);
    EXPECT_EQ(PassedOn(toolbar, WM_PAINT), row.bars);
    EXPECT_EQ(PassedOn(bar, WM_PAINT), row.bars);
  }
  // Views that were not found are left out.
  LayersView = ToolbarView = ControlBarView = nullptr;
  RefreshModuleViews();
}

}  // namespace
