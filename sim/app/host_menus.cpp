#include "host_menus.h"

#include <algorithm>
#include <span>

namespace simapp {
namespace {

// A row of a menu: a command, a separator, a submenu, or the Filter menu's
// family submenus. `since` and `until` are the host major versions that have
// the row (both inclusive); a row that changed between versions is written
// once per version range.
enum class Kind { Command, Separator, Submenu, FilterFamilies };
struct Item {
  Kind kind;
  UINT id;
  const wchar_t* label;
  std::span<const Item> items;
  int since;
  int until;
};

constexpr int kAll = 99;
constexpr Item Cmd(UINT id, const wchar_t* label, int since = 0, int until = kAll) {
  return {Kind::Command, id, label, {}, since, until};
}
constexpr Item Sep(int since = 0, int until = kAll) { return {Kind::Separator, 0, nullptr, {}, since, until}; }
constexpr Item Sub(const wchar_t* label, std::span<const Item> items, int since = 0, int until = kAll) {
  return {Kind::Submenu, 0, label, items, since, until};
}
constexpr Item FilterFamilies() { return {Kind::FilterFamilies, 0, nullptr, {}, 0, kAll}; }

// File: the plug-in looks for 16203 and inserts up to position 21 (its
// Scripts and Actions submenus after a separator of its own at 19).
constexpr Item kFile[] = {
    Cmd(16201, L"&New Blank File...\tCtrl+N"), Cmd(16203, L"&Open...\tCtrl+O", 4),
    Cmd(10, L"&Open...\tCtrl+O", 0, 2), Cmd(20, L"&Open...\tCtrl+O", 3, 3),  // editors 1 to 3
    Cmd(16204, L"Open Recently &Edited File"), Cmd(16205, L"D&uplicate..."), Cmd(16206, L"&Close\tCtrl+W"),
    Cmd(16207, L"Close A&ll\tAlt+Ctrl+W"), Sep(), Cmd(16208, L"&Save\tCtrl+S"),
    Cmd(16209, L"Save &As...\tShift+Ctrl+S"), Cmd(16210, L"Save for &Web...\tAlt+Shift+Ctrl+S"),
    Cmd(16211, L"File &Info..."), Sep(), Cmd(16212, L"Place..."), Cmd(16213, L"Organize Open Files..."),
    Cmd(16214, L"Process &Multiple Files..."), Cmd(16215, L"I&mport"), Cmd(16216, L"Expor&t"),
    Cmd(16217, L"Automation Tools"), Sep(), Cmd(16218, L"&Print...\tCtrl+P"), Cmd(16219, L"Order Prints..."),
    Sep(), Cmd(16220, L"E&xit\tCtrl+Q"),
};

// Edit > Preferences: the plug-in's own preferences go at position 10.
constexpr Item kPreferences[] = {
    Cmd(2311, L"&General...\tCtrl+K"), Cmd(2312, L"&Display && Cursors..."), Cmd(2313, L"&Transparency..."),
    Cmd(2314, L"&Units && Rulers..."), Cmd(2315, L"Guides && &Grid..."), Cmd(2316, L"&Plug-Ins..."),
    Cmd(2317, L"&Saving Files..."), Cmd(2318, L"P&erformance..."), Cmd(2319, L"T&ype..."),
    Cmd(2320, L"Up&dates..."), Cmd(2321, L"&Reset Preferences on Next Launch"),
};

// Edit: anchor 1961; the plug-in inserts at 3 and 10.
constexpr Item kEdit[] = {
    Cmd(1961, L"&Undo\tCtrl+Z", 3), Cmd(1960, L"&Undo\tCtrl+Z", 0, 2), Cmd(1962, L"&Redo\tCtrl+Y"),
    Cmd(1963, L"Re&vert"), Sep(),
    Cmd(1103, L"Cu&t\tCtrl+X"), Cmd(1104, L"&Copy\tCtrl+C"), Cmd(1105, L"Copy &Merged\tShift+Ctrl+C"),
    Cmd(1106, L"&Paste\tCtrl+V"), Cmd(1107, L"Paste &Into Selection\tShift+Ctrl+V"), Cmd(1108, L"&Delete"),
    Sep(), Cmd(1109, L"F&ill Selection..."), Cmd(1110, L"&Stroke (Outline) Selection..."),
    Cmd(1111, L"Define &Brush..."), Cmd(1112, L"Define P&attern..."), Sep(), Cmd(1113, L"C&olor Settings..."),
    Cmd(1114, L"Preset Mana&ger..."), Sub(L"Pr&eferences", kPreferences),
};

// Image > Mode: anchor 1006; the plug-in's 16 Bits/Channel goes at 6.
constexpr Item kMode[] = {
    Cmd(1004, L"&Bitmap..."), Cmd(1005, L"&Grayscale..."), Cmd(1006, L"&Indexed Color..."),
    Cmd(1007, L"&RGB Color"), Sep(), Cmd(1008, L"&8 Bits/Channel"), Sep(), Cmd(1009, L"Color &Table..."),
    Sep(), Cmd(1010, L"Convert Color &Profile"),
};

// Image: anchor 2990; the plug-in inserts up to position 11.
constexpr Item kImage[] = {
    Cmd(2988, L"&Rotate", 4), Cmd(2989, L"&Transform", 4), Cmd(2990, L"&Crop", 4),
    // Editors 1 and 3 lead with 1044 third, editor 2 with 1134 first.
    Cmd(1134, L"&Rotate", 2, 2), Cmd(1042, L"&Rotate", 0, 1), Cmd(1042, L"&Rotate", 3, 3),
    Cmd(1043, L"&Transform", 0, 3), Cmd(1044, L"&Crop", 0, 1), Cmd(1044, L"&Crop", 3, 3), Cmd(1045, L"&Crop", 2, 2),
    Cmd(2991, L"Reco&mpose...\tAlt+Ctrl+R"),
    Cmd(2992, L"Divide Scanned &Photos"), Sep(), Cmd(2993, L"R&esize"), Sub(L"Mo&de", kMode),
    Cmd(2994, L"Convert Color Pro&file"), Cmd(2995, L"Magic E&xtractor..."), Sep(),
    Cmd(2996, L"Image &Size...\tAlt+Ctrl+I"), Cmd(2997, L"Ca&nvas Size...\tAlt+Ctrl+C"),
};

// Enhance > Adjust Lighting: anchor 3065 (Shadows/Highlights, also a filter
// the plug-in applies as a smart filter); its Curves and Exposure go at 3.
constexpr Item kAdjustLighting[] = {
    Cmd(3065, L"&Shadows/Highlights...", 3), Cmd(1803, L"&Shadows/Highlights...", 0, 2), Cmd(3066, L"&Brightness/Contrast..."), Cmd(3067, L"&Levels...\tCtrl+L"),
};

// Enhance > Adjust Color: anchor 1812; Color Variations stands at position 7,
// where the plug-in reads its identifier; the plug-in inserts at 8.
constexpr Item kAdjustColor[] = {
    Cmd(1812, L"Remove Color &Cast..."), Cmd(1813, L"Adjust &Hue/Saturation...\tCtrl+U"),
    Cmd(1814, L"&Remove Color\tShift+Ctrl+U"), Cmd(1815, L"R&eplace Color..."), Cmd(1816, L"Adjust Color C&urves..."),
    Cmd(1817, L"Adjust Color for &Skin Tone..."), Cmd(1818, L"&Defringe Layer..."), Cmd(1819, L"Color &Variations..."),
};

// Enhance: anchor 16314; Adjust Color is the submenu at position 9; the
// plug-in inserts at 11 and 14. The sharpening commands were renumbered in 8.
constexpr Item kEnhance[] = {
    Cmd(16314, L"Auto Smart &Fix\tAlt+Ctrl+M"), Cmd(16315, L"Auto Smart &Tone\tAlt+Shift+Ctrl+T"),
    Cmd(16316, L"Auto &Levels\tShift+Ctrl+L"), Cmd(16317, L"Auto &Contrast\tAlt+Shift+Ctrl+L"),
    Cmd(16318, L"Auto Color Co&rrection\tShift+Ctrl+B"), Cmd(16319, L"Auto Sh&arpen"),
    Cmd(16320, L"Auto Red &Eye Fix\tCtrl+R"), Sep(), Sub(L"Adjust L&ighting", kAdjustLighting),
    Sub(L"Adjust C&olor", kAdjustColor), Cmd(16321, L"Convert to Black and W&hite...\tAlt+Ctrl+B"), Sep(),
    Cmd(3088, L"&Unsharp Mask...", 0, 7), Cmd(3092, L"&Unsharp Mask...", 8),  // renumbered in 8
    Cmd(3086, L"Adjust &Sharpness...", 0, 7), Cmd(3090, L"Adjust &Sharpness...", 8),
    Sep(), Cmd(16322, L"Adjust Smart Fi&x...\tShift+Ctrl+M"),
};

// Layer > Layer Style: anchor 1350; the plug-in's Fill Opacity goes at 1.
constexpr Item kLayerStyle[] = {
    Cmd(1350, L"&Style Settings..."), Cmd(1351, L"&Copy Layer Style"), Cmd(1352, L"&Paste Layer Style"),
    Cmd(1353, L"C&lear Layer Style"), Cmd(1354, L"&Hide All Effects"), Cmd(1355, L"Scale &Effects..."),
};

// Layer > New Adjustment Layer: anchor 6303; the plug-in inserts at 11.
constexpr Item kNewAdjustmentLayer[] = {
    Cmd(6303, L"&Levels...", 3), Cmd(65289, L"&Levels...", 1, 1), Cmd(65268, L"&Levels...", 2, 2), Cmd(6304, L"&Brightness/Contrast..."), Cmd(6305, L"&Hue/Saturation..."),
    Cmd(6306, L"&Gradient Map..."), Cmd(6307, L"&Photo Filter..."), Cmd(6308, L"&Invert"),
    Cmd(6309, L"&Threshold..."), Cmd(6310, L"P&osterize..."), Sep(), Cmd(6311, L"&Solid Color..."),
    Cmd(6312, L"G&radient..."), Cmd(6313, L"P&attern..."),
};

// Layer > Type: anchor 1223; the plug-in inserts at 0, 4 and 5 and takes the
// host's own anti-alias switch (3371) out.
constexpr Item kType[] = {
    Cmd(1223, L"&Horizontal"), Cmd(1224, L"&Vertical"), Sep(), Cmd(3371, L"&Anti-alias"),
    Cmd(1226, L"Faux &Bold"), Cmd(1227, L"Faux &Italic"), Sep(), Cmd(1228, L"&Warp Text..."),
    Cmd(1229, L"&Update All Text Layers"),
};

// Layer > Layer Mask, the host's own from version 9 on: anchor 1157; the
// plug-in's From Transparency goes at 4.
constexpr Item kLayerMask[] = {
    Cmd(1157, L"&Reveal All"), Cmd(1158, L"&Hide All"), Cmd(1159, L"Reveal &Selection"),
    Cmd(1160, L"H&ide Selection"), Sep(), Cmd(1161, L"&Delete"), Cmd(1162, L"&Apply"), Sep(),
    Cmd(1163, L"Dis&able"), Cmd(1164, L"&Unlink"),
};

// Layer: anchor 2400 at position 0 (the plug-in recognises the menu by it);
// the plug-in inserts up to position 27.
constexpr Item kLayer[] = {
    Cmd(2400, L"&New Layer...\tShift+Ctrl+N", 4), Cmd(1130, L"&New Layer...\tShift+Ctrl+N", 0, 3),
    Cmd(2401, L"D&uplicate Layer...", 4), Cmd(1135, L"D&uplicate Layer...", 0, 3),  // editors 1 to 3: 1135 second
    Cmd(2402, L"De&lete Layer"),
    Cmd(2403, L"&Rename Layer..."), Sub(L"Layer St&yle", kLayerStyle), Sep(), Cmd(2404, L"New &Fill Layer"),
    Sub(L"New Ad&justment Layer", kNewAdjustmentLayer), Cmd(2405, L"Layer Content O&ptions..."),
    Sub(L"&Type", kType), Cmd(2406, L"Si&mplify Layer"), Sep(),
    Sub(L"Layer &Mask", kLayerMask, 9),  // the host's own from 9; the plug-in brings one before
    Cmd(2407, L"&Create Clipping Mask\tCtrl+G"), Cmd(2408, L"Release Clipping Mas&k\tAlt+Ctrl+G"), Sep(),
    Cmd(2409, L"&Arrange"), Cmd(2410, L"&Link Layers"), Cmd(2411, L"Unlin&k Layers"), Sep(),
    Cmd(2412, L"Merge &Down\tCtrl+E"), Cmd(2413, L"Merge &Visible\tShift+Ctrl+E"), Cmd(2414, L"&Flatten Image"),
    Sep(), Cmd(2415, L"Lock All Layers"), Cmd(2416, L"Unlock All Layers"), Sep(), Cmd(2417, L"Layer &Properties..."),
    Cmd(2418, L"Panel &Options..."),
};

// Select: anchor 1017; the plug-in inserts up to position 18.
constexpr Item kSelect[] = {
    Cmd(1017, L"&All\tCtrl+A"), Cmd(1018, L"&Deselect\tCtrl+D"), Cmd(1020, L"&Reselect\tShift+Ctrl+D"),
    Cmd(1021, L"&Inverse\tShift+Ctrl+I"), Sep(), Cmd(1022, L"All &Layers"), Cmd(1023, L"Deselect La&yers"), Sep(),
    Cmd(1024, L"&Feather...\tAlt+Ctrl+D"), Cmd(1025, L"Refine &Edge..."), Cmd(1026, L"&Modify"), Sep(),
    Cmd(1027, L"&Grow"), Cmd(1028, L"Simila&r"), Sep(),
    Cmd(1030, L"&Transform Selection", 8),  // the host's own from 8; the plug-in brings one before
    Cmd(1031, L"L&oad Selection..."), Cmd(1032, L"&Save Selection..."), Cmd(1033, L"Dele&te Selection..."),
};

// Filter > Adjustments: host commands outside the filter families.
constexpr Item kFilterAdjustments[] = {
    Cmd(5501, L"&Equalize"), Cmd(5502, L"&Gradient Map..."), Cmd(5503, L"&Invert\tCtrl+I"),
    Cmd(5504, L"&Posterize..."), Cmd(5505, L"&Threshold..."), Cmd(5506, L"P&hoto Filter..."),
};

// Filter: anchor 1019 at position 0. The plug-in takes out the separator at
// position 2 and puts its own item between two separators of its own there;
// the families start at position 6 (8 once the plug-in's item is in).
// Filter Gallery and Correct Camera Distortion were renumbered in 7.
constexpr Item kFilter[] = {
    Cmd(1019, L"Last Filter\tCtrl+F"), Cmd(16044, L"Filter &Gallery...", 0, 6), Cmd(16048, L"Filter &Gallery...", 7),
    Sep(), Cmd(16045, L"&Correct Camera Distortion...", 0, 6), Cmd(16049, L"&Correct Camera Distortion...", 7),
    Sub(L"&Adjustments", kFilterAdjustments), Sep(), FilterFamilies(),
};

constexpr Item kView[] = {
    Cmd(1001, L"&New Window for"), Sep(), Cmd(1601, L"Zoom &In\tCtrl+="), Cmd(1602, L"Zoom &Out\tCtrl+-"),
    Cmd(1603, L"&Fit on Screen\tCtrl+0"), Cmd(1604, L"&Actual Pixels\tCtrl+1"), Cmd(1605, L"&Print Size"), Sep(),
    Cmd(1606, L"&Rulers\tShift+Ctrl+R"), Cmd(1607, L"&Grid\tCtrl+'"), Cmd(1608, L"G&uides\tCtrl+;"),
};

constexpr Item kWindow[] = {
    Cmd(1701, L"&Layers"), Cmd(1702, L"&Info"), Cmd(1703, L"&Undo History"), Cmd(1704, L"&Tools"),
    Cmd(1705, L"&Color Swatches"), Sep(), Cmd(1706, L"&Reset Panels"),
};

// Help: anchor 10258; the plug-in's help goes at 1.
constexpr Item kHelp[] = {
    Cmd(10258, L"&Help Contents\tF1"), Cmd(10259, L"&Getting Started"), Cmd(10260, L"&Key Concepts"), Sep(),
    Cmd(10261, L"&System Info..."), Cmd(10262, L"&About..."),
};

struct BarMenu {
  const wchar_t* name;
  std::span<const Item> items;
};
constexpr BarMenu kBar[] = {
    {L"&File", kFile},   {L"&Edit", kEdit},     {L"&Image", kImage}, {L"E&nhance", kEnhance},
    {L"&Layer", kLayer}, {L"&Select", kSelect}, {L"Filte&r", kFilter}, {L"&View", kView},
    {L"&Window", kWindow}, {L"&Help", kHelp},
};

// The filter families in the order the host shows them (by name, Other
// last), each family's filters by name. The host numbers the filters in this
// order. Versions as for menu rows.
struct FilterItem {
  const wchar_t* name;
  int since = 0;
  int until = kAll;
};
struct FilterFamily {
  const wchar_t* name;
  std::span<const FilterItem> filters;
};
constexpr FilterItem kArtistic[] = {
    {L"Colored Pencil..."}, {L"Cutout..."}, {L"Dry Brush..."}, {L"Film Grain..."}, {L"Fresco..."},
    {L"Neon Glow..."}, {L"Paint Daubs..."}, {L"Palette Knife..."}, {L"Plastic Wrap..."}, {L"Poster Edges..."},
    {L"Rough Pastels..."}, {L"Smudge Stick..."}, {L"Sponge..."}, {L"Underpainting..."}, {L"Watercolor..."},
};
constexpr FilterItem kBlur[] = {
    {L"Average"}, {L"Blur"}, {L"Blur More"}, {L"Gaussian Blur..."}, {L"Lens Blur...", 11}, {L"Motion Blur..."},
    {L"Radial Blur..."}, {L"Smart Blur..."}, {L"Surface Blur...", 7},
};
constexpr FilterItem kBrushStrokes[] = {
    {L"Accented Edges..."}, {L"Angled Strokes..."}, {L"Crosshatch..."}, {L"Dark Strokes..."},
    {L"Ink Outlines..."}, {L"Spatter..."}, {L"Sprayed Strokes..."}, {L"Sumi-e..."},
};
constexpr FilterItem kDistort[] = {
    {L"Diffuse Glow..."}, {L"Displace..."}, {L"Glass..."}, {L"Liquify..."}, {L"Ocean Ripple..."},
    {L"Pinch..."}, {L"Polar Coordinates..."}, {L"Ripple..."}, {L"Shear..."}, {L"Spherize..."},
    {L"Twirl..."}, {L"Wave..."}, {L"ZigZag..."},
};
constexpr FilterItem kNoise[] = {
    {L"Add Noise..."}, {L"Despeckle"}, {L"Dust && Scratches..."}, {L"Median..."}, {L"Reduce Noise..."},
};
constexpr FilterItem kPixelate[] = {
    {L"Color Halftone..."}, {L"Crystallize..."}, {L"Facet"}, {L"Fragment"}, {L"Mezzotint..."},
    {L"Mosaic..."}, {L"Pointillize..."},
};
constexpr FilterItem kRender[] = {
    {L"3D Transform...", 0, 7}, {L"Clouds"}, {L"Difference Clouds"}, {L"Fibers..."}, {L"Lens Flare..."},
    {L"Lighting Effects..."}, {L"Texture Fill..."},
};
constexpr FilterItem kSketch[] = {
    {L"Bas Relief..."}, {L"Chalk && Charcoal..."}, {L"Charcoal..."}, {L"Chrome..."}, {L"Comic...", 11},
    {L"Cont\u00e9 Crayon..."}, {L"Graphic Novel...", 11}, {L"Graphic Pen..."}, {L"Halftone Pattern..."},
    {L"Note Paper..."}, {L"Pen and Ink...", 11}, {L"Photocopy..."}, {L"Plaster..."}, {L"Reticulation..."},
    {L"Stamp..."}, {L"Torn Edges..."}, {L"Water Paper..."},
};
constexpr FilterItem kStylize[] = {
    {L"Diffuse..."}, {L"Emboss..."}, {L"Extrude..."}, {L"Find Edges"}, {L"Glowing Edges..."},
    {L"Solarize"}, {L"Tiles..."}, {L"Trace Contour..."}, {L"Wind..."},
};
constexpr FilterItem kTexture[] = {
    {L"Craquelure..."}, {L"Grain..."}, {L"Mosaic Tiles..."}, {L"Patchwork..."}, {L"Stained Glass..."},
    {L"Texturizer..."},
};
constexpr FilterItem kVideo[] = {{L"De-Interlace...", 0, 10}, {L"NTSC Colors", 0, 10}};
constexpr FilterItem kOther[] = {
    {L"Custom..."}, {L"High Pass..."}, {L"Maximum..."}, {L"Minimum..."}, {L"Offset..."},
};
constexpr FilterFamily kFilterFamilies[] = {
    {L"Artistic", kArtistic}, {L"Blur", kBlur},         {L"Brush Strokes", kBrushStrokes},
    {L"Distort", kDistort},   {L"Noise", kNoise},       {L"Pixelate", kPixelate},
    {L"Render", kRender},     {L"Sketch", kSketch},     {L"Stylize", kStylize},
    {L"Texture", kTexture},   {L"Video", kVideo},       {L"Other", kOther},
};

constexpr bool Admits(int since, int until, int version) { return version >= since && version <= until; }

void AppendSubmenu(HMENU menu, UINT id, const wchar_t* label, HMENU submenu) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
  info.fType = MFT_STRING;
  info.wID = id;
  info.hSubMenu = submenu;
  info.dwTypeData = const_cast<wchar_t*>(label);
  InsertMenuItemW(menu, UINT(GetMenuItemCount(menu)), TRUE, &info);
}

// The family submenus, a family without filters in this version left out.
void AppendFilterFamilies(HMENU menu, int version) {
  UINT next = kFirstFilterId;
  bool first = true;
  for (const FilterFamily& family : kFilterFamilies) {
    HMENU sub = CreatePopupMenu();
    for (const FilterItem& filter : family.filters) {
      if (!Admits(filter.since, filter.until, version)) continue;
      if (!first && GetMenuItemCount(sub) == 0) --next;  // one left out between families
      first = false;
      AppendMenuW(sub, MF_STRING, next--, filter.name);
    }
    if (GetMenuItemCount(sub) == 0) {
      DestroyMenu(sub);
      continue;
    }
    AppendSubmenu(menu, 0, family.name, sub);
  }
}

HMENU BuildPopup(std::span<const Item> items, int version) {
  HMENU popup = CreatePopupMenu();
  for (const Item& item : items) {
    if (!Admits(item.since, item.until, version)) continue;
    switch (item.kind) {
      case Kind::Command: AppendMenuW(popup, MF_STRING, item.id, item.label); break;
      case Kind::Separator: AppendMenuW(popup, MF_SEPARATOR, 0, nullptr); break;
      case Kind::Submenu: AppendSubmenu(popup, item.id, item.label, BuildPopup(item.items, version)); break;
      case Kind::FilterFamilies: AppendFilterFamilies(popup, version); break;
    }
  }
  return popup;
}

}  // namespace

int MenuLayoutVersion(int version) {
  if (version == 0) return 8;
  return std::clamp(version, 1, 12);
}

HMENU CreateHostMenuBar(int version) {
  const int layout = MenuLayoutVersion(version);
  HMENU bar = CreateMenu();
  for (const BarMenu& menu : kBar)
    AppendMenuW(bar, MF_POPUP | MF_STRING, UINT_PTR(BuildPopup(menu.items, layout)), menu.name);
  return bar;
}

}  // namespace simapp
