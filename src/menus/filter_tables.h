// The host's filters as the smart-filter template holds them: every filter
// of the Filter menu's families with its place on the template's family layer,
// and the filters from elsewhere in the editor's menus (Enhance, Sharpen, the
// Filter Gallery) with their identifiers per host version. Start-up copies
// these rows into the working tables of menus/filter_menu.h.
//
// Keys are labelled texts ("$$$/key=English default") in code page 1252; they
// are the same texts as in menus/label_texts.h, which the checks below hold
// them to.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "menus/label_texts.h"

constexpr std::size_t kFilterRowCount = kFilterNameCount;  // 103
constexpr std::size_t kFilterTextSize = 64;                // family and filter names, template layers
constexpr std::size_t kExtraFilterNameSize = 70;

// Family indices: the order of the template's layers from the top down, and
// of FilterFamilyNameSources.
enum FilterFamily : int {
  kArtisticFamily, kBlurFamily, kBrushStrokesFamily, kDistortFamily, kNoiseFamily, kPixelateFamily,
  kRenderFamily, kSketchFamily, kStylizeFamily, kTextureFamily, kVideoFamily, kOtherFamily,
};

struct FilterRowSource {
  int family;
  std::int32_t index;  // place on the family layer counted from its end; 0: not offered
  std::int32_t versionA;  // host versions the filter exists in (VersionPairAdmits)
  std::int32_t versionB;
  const char* key;
};

namespace filter_rows {

constexpr FilterRowSource Row(int family, std::int32_t index, const char* key, std::int32_t a = 6,
                              std::int32_t b = 0) {
  return {family, index, a, b, key};
}

// Grouped by family, each family in the order of its template layer.
inline constexpr std::array<FilterRowSource, kFilterRowCount> FilterRowSources = {{
    Row(kArtisticFamily, 15, "$$$/LFN/FileNames/Localized/ColoredPencil=Colored Pencil"),
    Row(kArtisticFamily, 14, "$$$/LFN/FileNames/Localized/Cutout=Cutout"),
    Row(kArtisticFamily, 13, "$$$/LFN/FileNames/Localized/DryBrush=Dry Brush"),
    Row(kArtisticFamily, 12, "$$$/LFN/FileNames/Localized/FilmGrain=Film Grain"),
    Row(kArtisticFamily, 11, "$$$/LFN/FileNames/Localized/Fresco=Fresco"),
    Row(kArtisticFamily, 10, "$$$/LFN/FileNames/Localized/NeonGlow=Neon Glow"),
    Row(kArtisticFamily, 9, "$$$/LFN/FileNames/Localized/PaintDaubs=Paint Daubs"),
    Row(kArtisticFamily, 8, "$$$/LFN/FileNames/Localized/PaletteKnife=Palette Knife"),
    Row(kArtisticFamily, 7, "$$$/LFN/FileNames/Localized/PlasticWrap=Plastic Wrap"),
    Row(kArtisticFamily, 6, "$$$/LFN/FileNames/Localized/PosterEdges=Poster Edges"),
    Row(kArtisticFamily, 5, "$$$/LFN/FileNames/Localized/RoughPastels=Rough Pastels"),
    Row(kArtisticFamily, 4, "$$$/LFN/FileNames/Localized/SmudgeStick=Smudge Stick"),
    Row(kArtisticFamily, 3, "$$$/LFN/FileNames/Localized/Sponge=Sponge"),
    Row(kArtisticFamily, 2, "$$$/LFN/FileNames/Localized/Underpainting=Underpainting"),
    Row(kArtisticFamily, 1, "$$$/LFN/FileNames/Localized/Watercolor=Watercolor"),
    Row(kBlurFamily, 8, "$$$/LFN/FileNames/Localized/Average=Average"),
    Row(kBlurFamily, 7, "$$$/LFN/FileNames/Localized/Blur=Blur"),
    Row(kBlurFamily, 6, "$$$/LFN/FileNames/Localized/BlurMore=Blur More"),
    Row(kBlurFamily, 5, "$$$/LFN/FileNames/Localized/GaussianBlur=Gaussian Blur"),
    Row(kBlurFamily, 0, "$$$/LFN/FileNames/Localized/LensBlur=Lens Blur", 11, 0),
    Row(kBlurFamily, 4, "$$$/LFN/FileNames/Localized/MotionBlur=Motion Blur"),
    Row(kBlurFamily, 3, "$$$/LFN/FileNames/Localized/RadialBlur=Radial Blur"),
    Row(kBlurFamily, 2, "$$$/LFN/FileNames/Localized/SmartBlur=Smart Blur"),
    Row(kBlurFamily, 1, "$$$/Actions/Event/Bilateral=Surface Blur", 7, 0),
    Row(kBrushStrokesFamily, 8, "$$$/LFN/FileNames/Localized/AccentedEdges=Accented Edges"),
    Row(kBrushStrokesFamily, 7, "$$$/LFN/FileNames/Localized/AngledStrokes=Angled Strokes"),
    Row(kBrushStrokesFamily, 6, "$$$/LFN/FileNames/Localized/Crosshatch=Crosshatch"),
    Row(kBrushStrokesFamily, 5, "$$$/LFN/FileNames/Localized/DarkStrokes=Dark Strokes"),
    Row(kBrushStrokesFamily, 4, "$$$/LFN/FileNames/Localized/InkOutlines=Ink Outlines"),
    Row(kBrushStrokesFamily, 3, "$$$/LFN/FileNames/Localized/Spatter=Spatter"),
    Row(kBrushStrokesFamily, 2, "$$$/LFN/FileNames/Localized/SprayedStrokes=Sprayed Strokes"),
    Row(kBrushStrokesFamily, 1, "$$$/LFN/FileNames/Localized/Sumie=Sumi-e"),
    Row(kDistortFamily, 12, "$$$/LFN/FileNames/Localized/DiffuseGlow=Diffuse Glow"),
    Row(kDistortFamily, 11, "$$$/Displace/1000/Displace=Displace"),
    Row(kDistortFamily, 10, "$$$/LFN/FileNames/Localized/Glass=Glass"),
    Row(kDistortFamily, 0, "$$$/LFN/FileNames/Localized/Liquify=Liquify"),
    Row(kDistortFamily, 9, "$$$/LFN/FileNames/Localized/OceanRipple=Ocean Ripple"),
    Row(kDistortFamily, 8, "$$$/LFN/FileNames/Localized/Pinch=Pinch"),
    Row(kDistortFamily, 7, "$$$/LFN/FileNames/Localized/PolarCoordinates=Polar Coordinates"),
    Row(kDistortFamily, 6, "$$$/LFN/FileNames/Localized/Ripple=Ripple"),
    Row(kDistortFamily, 5, "$$$/LFN/FileNames/Localized/Shear=Shear"),
    Row(kDistortFamily, 4, "$$$/LFN/FileNames/Localized/Spherize=Spherize"),
    Row(kDistortFamily, 3, "$$$/LFN/FileNames/Localized/Twirl=Twirl"),
    Row(kDistortFamily, 2, "$$$/LFN/FileNames/Localized/Wave=Wave"),
    Row(kDistortFamily, 1, "$$$/LFN/FileNames/Localized/ZigZag=ZigZag"),
    Row(kNoiseFamily, 5, "$$$/LFN/FileNames/Localized/AddNoise=Add Noise"),
    Row(kNoiseFamily, 4, "$$$/LFN/FileNames/Localized/Despeckle=Despeckle"),
    Row(kNoiseFamily, 3, "$$$/LFN/FileNames/Localized/DustScratches=Dust & Scratches"),
    Row(kNoiseFamily, 2, "$$$/LFN/FileNames/Localized/Median=Median"),
    Row(kNoiseFamily, 1, "$$$/LFN/FileNames/Localized/ReduceNoise=Reduce Noise"),
    Row(kPixelateFamily, 7, "$$$/LFN/FileNames/Localized/ColorHalftone=Color Halftone"),
    Row(kPixelateFamily, 6, "$$$/LFN/FileNames/Localized/Crystallize=Crystallize"),
    Row(kPixelateFamily, 5, "$$$/LFN/FileNames/Localized/Facet=Facet"),
    Row(kPixelateFamily, 4, "$$$/LFN/FileNames/Localized/Fragment=Fragment"),
    Row(kPixelateFamily, 3, "$$$/LFN/FileNames/Localized/Mezzotint=Mezzotint"),
    Row(kPixelateFamily, 2, "$$$/LFN/FileNames/Localized/Mosaic=Mosaic"),
    Row(kPixelateFamily, 1, "$$$/LFN/FileNames/Localized/Pointillize=Pointillize"),
    Row(kRenderFamily, 0, "$$$/LFN/FileNames/Localized/3DTransform=3D Transform", 0, 7),
    Row(kRenderFamily, 5, "$$$/LFN/FileNames/Localized/Clouds=Clouds"),
    Row(kRenderFamily, 4, "$$$/LFN/FileNames/Localized/DifferenceClouds=Difference Clouds"),
    Row(kRenderFamily, 3, "$$$/LFN/FileNames/Localized/Fibers=Fibers"),
    Row(kRenderFamily, 2, "$$$/LFN/FileNames/Localized/LensFlare=Lens Flare"),
    Row(kRenderFamily, 1, "$$$/LFN/FileNames/Localized/LightingEffects=Lighting Effects"),
    Row(kRenderFamily, 0, "$$$/LFN/FileNames/Localized/TextureFill=Texture Fill"),
    Row(kSketchFamily, 14, "$$$/LFN/FileNames/Localized/BasRelief=Bas Relief"),
    Row(kSketchFamily, 13, "$$$/LFN/FileNames/Localized/ChalkCharcoal=Chalk & Charcoal"),
    Row(kSketchFamily, 12, "$$$/LFN/FileNames/Localized/Charcoal=Charcoal"),
    Row(kSketchFamily, 11, "$$$/LFN/FileNames/Localized/Chrome=Chrome"),
    Row(kSketchFamily, 0, "$$$/LFN/FileNames/Localized/Comic=Comic", 11, 0),
    Row(kSketchFamily, 10, "$$$/LFN/FileNames/Localized/ConteCrayon=Cont\xE9 Crayon"),
    Row(kSketchFamily, 0, "$$$/LFN/FileNames/Localized/GraphicNovel=Graphic Novel", 11, 0),
    Row(kSketchFamily, 9, "$$$/LFN/FileNames/Localized/GraphicPen=Graphic Pen"),
    Row(kSketchFamily, 8, "$$$/LFN/FileNames/Localized/HalftonePattern=Halftone Pattern"),
    Row(kSketchFamily, 7, "$$$/LFN/FileNames/Localized/NotePaper=Note Paper"),
    Row(kSketchFamily, 0, "$$$/LFN/FileNames/Localized/PenandInk=Pen and Ink", 11, 0),
    Row(kSketchFamily, 6, "$$$/LFN/FileNames/Localized/Photocopy=Photocopy"),
    Row(kSketchFamily, 5, "$$$/LFN/FileNames/Localized/Plaster=Plaster"),
    Row(kSketchFamily, 4, "$$$/LFN/FileNames/Localized/Reticulation=Reticulation"),
    Row(kSketchFamily, 3, "$$$/LFN/FileNames/Localized/Stamp=Stamp"),
    Row(kSketchFamily, 2, "$$$/LFN/FileNames/Localized/TornEdges=Torn Edges"),
    Row(kSketchFamily, 1, "$$$/LFN/FileNames/Localized/WaterPaper=Water Paper"),
    Row(kStylizeFamily, 9, "$$$/LFN/FileNames/Localized/Diffuse=Diffuse"),
    Row(kStylizeFamily, 8, "$$$/LFN/FileNames/Localized/Emboss=Emboss"),
    Row(kStylizeFamily, 7, "$$$/LFN/FileNames/Localized/Extrude=Extrude"),
    Row(kStylizeFamily, 6, "$$$/LFN/FileNames/Localized/FindEdges=Find Edges"),
    Row(kStylizeFamily, 5, "$$$/LFN/FileNames/Localized/GlowingEdges=Glowing Edges"),
    Row(kStylizeFamily, 4, "$$$/LFN/FileNames/Localized/Solarize=Solarize"),
    Row(kStylizeFamily, 3, "$$$/LFN/FileNames/Localized/Tiles=Tiles"),
    Row(kStylizeFamily, 2, "$$$/LFN/FileNames/Localized/TraceContour=Trace Contour"),
    Row(kStylizeFamily, 1, "$$$/LFN/FileNames/Localized/Wind=Wind"),
    Row(kTextureFamily, 6, "$$$/LFN/FileNames/Localized/Craquelure=Craquelure"),
    Row(kTextureFamily, 5, "$$$/LFN/FileNames/Localized/Grain=Grain"),
    Row(kTextureFamily, 4, "$$$/LFN/FileNames/Localized/MosaicTiles=Mosaic Tiles"),
    Row(kTextureFamily, 3, "$$$/LFN/FileNames/Localized/Patchwork=Patchwork"),
    Row(kTextureFamily, 2, "$$$/LFN/FileNames/Localized/StainedGlass=Stained Glass"),
    Row(kTextureFamily, 1, "$$$/LFN/FileNames/Localized/Texturizer=Texturizer"),
    Row(kVideoFamily, 2, "$$$/LFN/FileNames/Localized/DeInterlace=De-Interlace", 0, 10),
    Row(kVideoFamily, 1, "$$$/LFN/FileNames/Localized/NTSCColors=NTSC Colors", 0, 10),
    Row(kOtherFamily, 5, "$$$/LFN/FileNames/Localized/Custom=Custom"),
    Row(kOtherFamily, 4, "$$$/LFN/FileNames/Localized/HighPass=High Pass"),
    Row(kOtherFamily, 3, "$$$/LFN/FileNames/Localized/Maximum=Maximum"),
    Row(kOtherFamily, 2, "$$$/LFN/FileNames/Localized/Minimum=Minimum"),
    Row(kOtherFamily, 1, "$$$/LFN/FileNames/Localized/Offset=Offset"),
}};

}  // namespace filter_rows

using filter_rows::FilterRowSources;

// Filters outside the Filter menu's families. Their identifiers are fixed per
// host version; the table knows versions 6 to 11 only.
constexpr int kFirstExtraFilterVersion = 6;
constexpr int kLastExtraFilterVersion = 11;
constexpr std::size_t kExtraFilterVersionCount = kLastExtraFilterVersion - kFirstExtraFilterVersion + 1;

struct ExtraFilterSource {
  std::array<std::int32_t, kExtraFilterVersionCount> commandIds;  // host versions 6 to 11
  const char* templateLayer;
  std::int32_t index;
  const char* key;  // the history step's name
};

namespace filter_rows {

constexpr std::array<std::int32_t, kExtraFilterVersionCount> ByVersion(std::int32_t v6, std::int32_t v7,
                                                                       std::int32_t v8to11) {
  return {v6, v7, v8to11, v8to11, v8to11, v8to11};
}

// The module's own sharpen commands (command rows 31 to 33).
constexpr std::int32_t kOwnSharpen = 0x881F, kOwnSharpenMore = 0x8820, kOwnSharpenEdges = 0x8821;

inline constexpr std::array<ExtraFilterSource, kExtraFilterCount> ExtraFilterSources = {{
    {ByVersion(3065, 3065, 3065), "Enhance", 2, "$$$/Actions/Event/ShadowHighlightCorrection=Shadow/Highlight"},
    // The editor numbers Color Variations differently from version to
    // version: read from its Enhance menu when that first opens.
    {ByVersion(0, 0, 0), "Enhance", 1, "$$$/AdobePlugin/PIPLInfo/PluginName/Variations=Variations"},
    {ByVersion(3088, 3088, 3092), "Sharpen", 5, "$$$/Actions/Event/UnsharpMask=Unsharp Mask"},
    {ByVersion(3086, 3086, 3090), "Sharpen", 4, "$$$/Actions/Event/SmartSharpen=Smart Sharpen"},
    {ByVersion(kOwnSharpen, kOwnSharpen, kOwnSharpen), "Sharpen", 3, "$$$/Actions/Event/Sharpen=Sharpen"},
    {ByVersion(kOwnSharpenMore, kOwnSharpenMore, kOwnSharpenMore), "Sharpen", 2,
     "$$$/Actions/Event/SharpenMore=Sharpen More"},
    {ByVersion(kOwnSharpenEdges, kOwnSharpenEdges, kOwnSharpenEdges), "Sharpen", 1,
     "$$$/Actions/Event/SharpenEdges=Sharpen Edges"},
    {ByVersion(16044, 16048, 16048), "Filter", 2, "$$$/Menu/Filter/FilterGallery=Filter Gallery"},
    {ByVersion(16045, 16049, 16049), "Filter", 1,
     "$$$/Menu/Filter/CorrectCameraDistortion=Correct Camera Distortion"},
}};

}  // namespace filter_rows

using filter_rows::ExtraFilterSources;

constexpr std::size_t kVariationsRow = 1;
// Rows of the module's own sharpen commands, which only editors 8 and up can
// turn into smart filters.
constexpr std::size_t kFirstOwnSharpenRow = 4;
constexpr std::size_t kLastOwnSharpenRow = 6;

namespace filter_rows {

constexpr bool SameText(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}
constexpr std::size_t TextLength(const char* text) {
  std::size_t length = 0;
  while (text[length]) ++length;
  return length;
}

// Rows grouped by ascending family, each index the number of offered rows
// from it to the end of its family, every key fitting its working slot and
// matching the labelled texts.
constexpr bool RowsAreConsistent() {
  for (std::size_t i = 0; i < kFilterRowCount; ++i) {
    const FilterRowSource& row = FilterRowSources[i];
    if (row.family < 0 || row.family >= int(kFilterFamilyCount)) return false;
    if (i > 0 && row.family < FilterRowSources[i - 1].family) return false;
    if (row.family != FilterNameSources[i].family || !SameText(row.key, FilterNameSources[i].text)) return false;
    if (TextLength(row.key) >= kFilterTextSize) return false;
    if (row.index == 0) continue;
    std::int32_t offered = 0;
    for (std::size_t k = i; k < kFilterRowCount && FilterRowSources[k].family == row.family; ++k)
      if (FilterRowSources[k].index != 0) ++offered;
    if (row.index != offered) return false;
  }
  for (std::size_t i = 0; i < kExtraFilterCount; ++i) {
    if (!SameText(ExtraFilterSources[i].key, ExtraFilterNameSources[i])) return false;
    if (TextLength(ExtraFilterSources[i].key) >= kExtraFilterNameSize) return false;
    if (TextLength(ExtraFilterSources[i].templateLayer) >= kFilterTextSize) return false;
  }
  for (const char* key : FilterFamilyNameSources)
    if (TextLength(key) >= kFilterTextSize) return false;
  return true;
}
static_assert(RowsAreConsistent());

}  // namespace filter_rows
