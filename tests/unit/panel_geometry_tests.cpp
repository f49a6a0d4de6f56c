// Where the module's buttons lie and what they mean, checked against values
// worked out by hand for given client sizes.
#include <gtest/gtest.h>

#include <string>

#include "ui/panel_geometry.h"

namespace {

using panel::Box;

TEST(PanelGeometry, LayersButtonsOfVersion8SitAtTheFootMeasuredFromTheBottom) {
  // A view 280 x 412: the buttons' bottoms are one pixel above the client bottom.
  EXPECT_EQ(panel::PanelButtonBox(8, 0, 280, 412), (Box{184, 393, 202, 411}));
  EXPECT_EQ(panel::PanelButtonBox(8, 1, 280, 412), (Box{206, 393, 224, 411}));
  EXPECT_EQ(panel::PanelButtonBox(8, 2, 280, 412), (Box{226, 393, 244, 411}));
  // The width of the view does not move them; its height does.
  EXPECT_EQ(panel::PanelButtonBox(8, 2, 500, 300), (Box{226, 281, 244, 299}));
}

TEST(PanelGeometry, Versions9And10HaveTwoButtonsThatGroupAndMakeSmartObjects) {
  for (int version : {9, 10}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(panel::PanelButtonBox(version, 0, 280, 400), (Box{213, 381, 231, 399}));
    EXPECT_EQ(panel::PanelButtonBox(version, 1, 280, 400), (Box{106, 381, 124, 399}));
    EXPECT_FALSE(panel::PanelButtonBox(version, 2, 280, 400));
    EXPECT_EQ(panel::PanelButtonIconKind(version, 0), panel::kGroupLayersIcon);
    EXPECT_EQ(panel::PanelButtonIconKind(version, 1), panel::kSmartObjectIcon);
    EXPECT_EQ(panel::PanelButtonIconKind(version, 2), -1);
    EXPECT_EQ(panel::PanelButtonAction(version, 0), panel::kGroupAction);
    EXPECT_EQ(panel::PanelButtonAction(version, 1), panel::kSmartObjectAction);
  }
}

TEST(PanelGeometry, Version8MasksAndVersion11EditsStylesWithTheFirstButton) {
  EXPECT_EQ(panel::PanelButtonIconKind(8, 0), panel::kLayerMaskIcon);
  EXPECT_EQ(panel::PanelButtonAction(8, 0), panel::kMaskOrStyleAction);
  EXPECT_EQ(panel::PanelButtonAction(8, 2), panel::kSmartObjectAction);
  EXPECT_EQ(panel::PanelButtonIconKind(11, 0), panel::kLayerStyleIcon);
  EXPECT_EQ(panel::PanelButtonIconKind(11, 2), panel::kSmartObject2Icon);
  EXPECT_EQ(panel::PanelButtonAction(11, 1), panel::kGroupAction);
}

TEST(PanelGeometry, Version11MeasuresFromTheTopAndVersion12UsesItsPlaces) {
  for (int version : {11, 12}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(panel::PanelButtonBox(version, 0, 280, 412), (Box{143, 4, 161, 22}));
    EXPECT_EQ(panel::PanelButtonBox(version, 2, 280, 900), (Box{193, 4, 211, 22}));
  }
  // Only 11 has the second smart-object icon.
  EXPECT_EQ(panel::PanelButtonIconKind(12, 2), panel::kSmartObjectIcon);
}

TEST(PanelGeometry, EditorsBefore8HaveNoPanelButtons) {
  for (int version : {4, 6, 7})
    for (int button = 0; button < 3; ++button) EXPECT_FALSE(panel::PanelButtonBox(version, button, 280, 412));
  EXPECT_FALSE(panel::PanelButtonBox(8, 3, 280, 412));
  EXPECT_FALSE(panel::PanelButtonBox(8, -1, 280, 412));
}

TEST(PanelGeometry, TheHostsMaskButtonIsServedFrom9) {
  EXPECT_FALSE(panel::HostMaskButtonBox(8, 280, 400));
  EXPECT_EQ(panel::HostMaskButtonBox(10, 280, 400), (Box{31, 378, 57, 399}));
  EXPECT_EQ(panel::HostMaskButtonBox(11, 280, 400), (Box{58, 2, 82, 21}));
}

TEST(PanelGeometry, HitsTakeTheEdgesIn) {
  const Box box{226, 393, 244, 411};
  EXPECT_TRUE(box.Contains(226, 393));
  EXPECT_TRUE(box.Contains(244, 411));
  EXPECT_FALSE(box.Contains(245, 400));
  EXPECT_FALSE(box.Contains(230, 392));
}

TEST(PanelGeometry, ControlBarButtonsByVersion) {
  // Below 11 they are placed from the right edge of a 1000-pixel bar.
  EXPECT_EQ(panel::ControlBarButtonBox(8, 0, 1000), (Box{510, 3, 595, 33}));
  EXPECT_EQ(panel::ControlBarButtonBox(8, 1, 1000), (Box{600, 3, 685, 33}));
  EXPECT_EQ(panel::ControlBarButtonBox(10, 0, 1000), (Box{530, 3, 615, 33}));
  EXPECT_EQ(panel::ControlBarButtonBox(9, 1, 1000), (Box{620, 3, 705, 33}));
  EXPECT_EQ(panel::ControlBarButtonBox(11, 0, 1000), (Box{95, 3, 180, 33}));
  EXPECT_EQ(panel::ControlBarButtonBox(12, 1, 300), (Box{185, 3, 270, 33}));
  // A narrow bar puts them off its left edge; nothing clips them.
  EXPECT_EQ(panel::ControlBarButtonBox(8, 0, 300).left, -190);
  // The hover frame stops at 30 below 11, and the pop-up opens 4 pixels higher.
  EXPECT_EQ(panel::ControlBarFrameBox(10, Box{530, 3, 615, 33}), (Box{530, 3, 615, 30}));
  EXPECT_EQ(panel::ControlBarFrameBox(11, Box{95, 3, 180, 33}), (Box{95, 3, 180, 33}));
  EXPECT_EQ(panel::ControlBarPopupOffset(10), -4);
  EXPECT_EQ(panel::ControlBarPopupOffset(11), 0);
}

TEST(PanelGeometry, TheQuickMaskButtonNeedsAToolbarOf51Pixels) {
  EXPECT_FALSE(panel::QuickMaskButtonBox(50));
  EXPECT_EQ(panel::QuickMaskButtonBox(51), (Box{8, 600, 43, 625}));
  EXPECT_EQ(panel::QuickMaskButtonBox(60), (Box{12, 600, 47, 625}));
}

TEST(PanelGeometry, IconShapesAndTheLastKindStandingForLaterOnes) {
  EXPECT_EQ(panel::IconOf(panel::kLayerMaskIcon).resource, "LAYERMASK");
  EXPECT_EQ(panel::IconOf(panel::kSmartObject2Icon).width * panel::IconOf(panel::kSmartObject2Icon).height * 3, 972);
  EXPECT_EQ(panel::IconOf(panel::kQuickMaskIcon).width * panel::IconOf(panel::kQuickMaskIcon).height * 3, 2550);
  EXPECT_EQ(panel::IconOf(9).resource, "QUICKMASK2");
}

TEST(PanelColors, ColorizingFollowsHowDarkThePanelIsAsTheEditorComparesIt) {
  const panel::Rgb dark{96, 111, 128}, light{110, 157, 217};
  EXPECT_EQ(panel::ColorizeColorFor({71, 71, 71}), dark);
  EXPECT_EQ(panel::ColorizeColorFor({110, 110, 110}), dark);
  EXPECT_EQ(panel::ColorizeColorFor({255, 255, 255}), light);
  EXPECT_EQ(panel::ColorizeColorFor({240, 240, 240}), light);
  EXPECT_EQ(panel::ColorizeColorFor({128, 128, 128}), light);  // 0x808080 is not below itself
  // The number is 0xBBGGRR: blue weighs most, red least.
  EXPECT_EQ(panel::ColorizeColorFor({255, 255, 127}), dark);
  EXPECT_EQ(panel::ColorizeColorFor({0, 0, 129}), light);
}

TEST(PanelColors, PanelBackgroundsAndTextColoursByVersion) {
  EXPECT_EQ(panel::PanelBackgroundOf(4), (panel::Rgb{240, 240, 240}));
  EXPECT_EQ(panel::PanelBackgroundOf(6), (panel::Rgb{120, 120, 120}));
  EXPECT_EQ(panel::PanelBackgroundOf(8), (panel::Rgb{110, 110, 110}));
  EXPECT_EQ(panel::PanelBackgroundOf(10), (panel::Rgb{71, 71, 71}));
  EXPECT_EQ(panel::PanelBackgroundOf(12), (panel::Rgb{255, 255, 255}));
  EXPECT_FALSE(panel::PanelBackgroundOf(3));
  EXPECT_EQ(panel::ControlBarTextColor(10), (panel::Rgb{255, 255, 255}));
  EXPECT_EQ(panel::ControlBarTextColor(11), (panel::Rgb{0, 0, 0}));
}

TEST(PanelTooltips, TextsByKindInBothLanguages) {
  EXPECT_EQ(panel::TooltipText(panel::kGroupLayersIcon, false), " Group/Ungroup layers ");
  EXPECT_EQ(panel::TooltipText(panel::kSmartObject2Icon, false), panel::TooltipText(panel::kSmartObjectIcon, false));
  EXPECT_EQ(panel::TooltipText(panel::kQuickMask2Icon, true), " Schnellmaskierungsmodus  ");
  // The German texts are code page 1252.
  EXPECT_EQ(panel::TooltipText(panel::kLayerStyleIcon, true), std::string(" Ebenenstil hinzuf\xFCgen/editieren "));
}

}  // namespace
