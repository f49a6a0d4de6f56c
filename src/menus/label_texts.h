// The labelled texts ("$$$/host key=English default") that the module's menu
// items and the filter tables are labelled with; start-up translates them
// through the host's dictionary. Texts are in the ANSI code page 1252.
#pragma once

#include <cstddef>

// A command's label: the labelled text and a suffix ("" or "...") appended
// after translation.
struct LabelSource {
  const char* text;
  const char* suffix;
};

constexpr std::size_t kCommandCount = 116;

// By command index (command identifier 0x8800 + index).
inline constexpr LabelSource MenuLabelSources[kCommandCount] = {
    {"$$$/Actions/Enum/OpenBridge==Browse in Organizer", "..."},  // 0 0x8800
    {"$$$/Actions/Enum/OpenAsSmartObject=Open as Smart Object", "..."},  // 1 0x8801
    {"$$$/AETE/Scripts=Scripts", ""},  // 2 0x8802
    {"$$$/Actions/Enum/BrowseScripts=Browse", "..."},  // 3 0x8803
    {"$$$/Menu/Actions=Actions", ""},  // 4 0x8804
    {"$$$/Menu/Actions/LoadActions=Load Actions", "..."},  // 5 0x8805
    {"$$$/Menu/Actions/ClearActions=Clear All Actions", ""},  // 6 0x8806
    {"$$$/Actions/Event/Fade=Fade", "..."},  // 7 0x8807
    {"$$$/Text/CheckSpelling/Title=Spell Check", "..."},  // 8 0x8808
    {"$$$/Text/FindReplace/Title=Find and Replace Text", "..."},  // 9 0x8809
    {"$$$/Commands/16BitsChannel=16 Bits/Channel", ""},  // 10 0x880A
    {"$$$/Commands/AutoAlign=Auto-Align Layers", "..."},  // 11 0x880B
    {"$$$/Commands/AutoBlend=Auto-Blend Layers", "..."},  // 12 0x880C
    {"$$$/Actions/Event/Trim=Trim...", ""},  // 13 0x880D
    {"$$$/Menu/Channels=Channels", ""},  // 14 0x880E
    {"$$$/Actions/Enum/RGB=RGB", ""},  // 15 0x880F
    {"$$$/Actions/Enum/Red=Red", ""},  // 16 0x8810
    {"$$$/Actions/Enum/Green=Green", ""},  // 17 0x8811
    {"$$$/Actions/Enum/Blue=Blue", ""},  // 18 0x8812
    {"$$$/Actions/Enum/Red=Red", ""},  // 19 0x8813
    {"$$$/Actions/Enum/Red=Red", ""},  // 20 0x8814
    {"$$$/Actions/Enum/Green=Green", ""},  // 21 0x8815
    {"$$$/Actions/Enum/ShowAll=Show All", ""},  // 22 0x8816
    {"$$$/Actions/Enum/ApplyImage=Apply Image", "..."},  // 23 0x8817
    {"$$$/Actions/Class/Curves=Curves", "..."},  // 24 0x8818
    {"$$$/Actions/Class/Exposure=Exposure", "..."},  // 25 0x8819
    {"$$$/Actions/Class/ChannelMixer=Channel Mixer", "..."},  // 26 0x881A
    {"$$$/Actions/Event/VibranceAdjustment=Vibrance", "..."},  // 27 0x881B
    {"$$$/Actions/Class/ColorBalance=Color Balance", "..."},  // 28 0x881C
    {"$$$/Actions/Class/SelectiveColor=Selective Color", "..."},  // 29 0x881D
    {"$$$/Dialog/BlackAndWhite/Title=Black && White", "..."},  // 30 0x881E
    {"$$$/Filters/Builtins/Sharpen/Name=Sharpen", ""},  // 31 0x881F
    {"$$$/Filters/Builtins/SharpenMore/Name=Sharpen More", ""},  // 32 0x8820
    {"$$$/Filters/Builtin/SharpenEdges/Name=Sharpen Edges", ""},  // 33 0x8821
    {"$$$/Actions/Key/BlendOptions/FillOpacity=Fill Opacity", "..."},  // 34 0x8822
    {"$$$/Type/ConvertToShape=Convert to Shape", ""},  // 35 0x8823
    {"$$$/Actions/Enum/MenuItem/AntiAliasCrisp=Anti-Alias Crisp", ""},  // 36 0x8824
    {"$$$/Actions/Enum/MenuItem/AntiAliasSharp=Anti-Alias Sharp", ""},  // 37 0x8825
    {"$$$/Actions/Enum/MenuItem/AntiAliasStrong=Anti-Alias Strong", ""},  // 38 0x8826
    {"$$$/Actions/Enum/MenuItem/AntiAliasSmooth=Anti-Alias Smooth", ""},  // 39 0x8827
    {"$$$/Commands/TypeTool/ConvertToBox=Convert to Paragraph Text", ""},  // 40 0x8828
    {"$$$/Actions/Key/TextStyle/Tracking=Tracking", ""},  // 41 0x8829
    {"$$$/Menu/SmartFilter=Smart Filter", ""},  // 42 0x882A
    {"$$$/Menu/ContextMenu/EditFilterFX=Edit Smart Filters...", ""},  // 43 0x882B
    {"$$$/Menu/ContextMenu/DisableFilterFX=Disable Smart Filters", ""},  // 44 0x882C
    {"$$$/Menu/ContextMenu/EnableFilterFX=Enable Smart Filters", ""},  // 45 0x882D
    {"$$$/Menu/ContextMenu/ClearSmartFilters=Clear Smart Filters", ""},  // 46 0x882E
    {"$$$/MaskPanel/ToolTip/SelectFilterMask=Select Filter Mask", ""},  // 47 0x882F
    {"$$$/Commands/DisableFilterMask=Disable Filter Mask", ""},  // 48 0x8830
    {"$$$/Commands/EnableFilterMask=Enable Filter Mask", ""},  // 49 0x8831
    {"$$$/Layer/DeleteFilterMask=Clear Filter Mask", ""},  // 50 0x8832
    {"$$$/Actions/Class/SmartObject=Smart Object", ""},  // 51 0x8833
    {"$$$/Menu/Layer/ConvertToSmartObject=Convert to Smart Object", ""},  // 52 0x8834
    {"$$$/Actions/Enum/NewSmartObjectViaCopy=New Smart Object via Copy", ""},  // 53 0x8835
    {"$$$/Commands/SmartObject/EditContents=Edit Contents", ""},  // 54 0x8836
    {"$$$/Actions/Enum/ExportContents=Export Contents", "..."},  // 55 0x8837
    {"$$$/Commands/SmartObject/ReplaceContents=Replace Contents", "..."},  // 56 0x8838
    {"$$$/Calculations/UserMask=Layer Mask", ""},  // 57 0x8839
    {"$$$/Actions/Event/RevealAll=Reveal All", ""},  // 58 0x883A
    {"$$$/Actions/Enum/HideAll=Hide All", ""},  // 59 0x883B
    {"$$$/Actions/Enum/RevealSelection=Reveal Selection", ""},  // 60 0x883C
    {"$$$/Actions/Enum/HideSelection=Hide Selection", ""},  // 61 0x883D
    {"$$$/Actions/Enum/Transparency=From Transparency", ""},  // 62 0x883E
    {"$$$/Actions/Event/Delete=Delete", ""},  // 63 0x883F
    {"$$$/Menu/LayerMask/Apply=Apply", ""},  // 64 0x8840
    {"$$$/Actions/Event/Disable=Disable", ""},  // 65 0x8841
    {"$$$/Actions/Event/Unlink=Unlink", ""},  // 66 0x8842
    {"$$$/Actions/Enum/Transparency=From Transparency", ""},  // 67 0x8843
    {"$$$/Actions/Enum/VectorMask=Vector Mask", ""},  // 68 0x8844
    {"$$$/Actions/Key/Application/Selection=From Selection", ""},  // 69 0x8845
    {"$$$/Actions/Key/Shape=From Shape", ""},  // 70 0x8846
    {"$$$/Actions/Event/Delete=Delete", ""},  // 71 0x8847
    {"$$$/Actions/Event/Rasterize=Rasterize", ""},  // 72 0x8848
    {"$$$/Actions/Event/Disable=Disable", ""},  // 73 0x8849
    {"$$$/Actions/Event/Enable=Enable", ""},  // 74 0x884A
    {"$$$/Actions/Event/GroupLayers=Group Layers", ""},  // 75 0x884B
    {"$$$/Actions/Event/UngroupLayers=Ungroup Layers", ""},  // 76 0x884C
    {"$$$/Menu/Layer/HideLayers=Hide Layers", ""},  // 77 0x884D
    {"$$$/Menu/Layer/Align=Align", ""},  // 78 0x884E
    {"$$$/Menu/Align/TopEdges=Top Edges", ""},  // 79 0x884F
    {"$$$/Menu/Align/VerticalCentersPlural=Vertical Centers", ""},  // 80 0x8850
    {"$$$/Menu/Align/BottomEdges=Bottom Edges", ""},  // 81 0x8851
    {"$$$/Menu/Align/LeftEdges=Left Edges", ""},  // 82 0x8852
    {"$$$/Menu/Align/HorizontalCentersPlural=Horizontal Centers", ""},  // 83 0x8853
    {"$$$/Menu/Align/RightEdges=Right Edges", ""},  // 84 0x8854
    {"$$$/Menu/Distribute=Distribute", ""},  // 85 0x8855
    {"$$$/Menu/Distribute/TopEdges=Top Edges", ""},  // 86 0x8856
    {"$$$/Menu/Distribute/VerticalCentersPlural=Vertical Centers", ""},  // 87 0x8857
    {"$$$/Menu/Distribute/BottomEdges=Bottom Edges", ""},  // 88 0x8858
    {"$$$/Menu/Distribute/LeftEdges=Left Edges", ""},  // 89 0x8859
    {"$$$/Menu/Distribute/HorizontalCentersPlural=Horizontal Centers", ""},  // 90 0x885A
    {"$$$/Menu/Distribute/RightEdges=Right Edges", ""},  // 91 0x885B
    {"$$$/Layer/StampVisible=Stamp Visible", ""},  // 92 0x885C
    {"$$$/Actions/Class/Curves=Curves", "..."},  // 93 0x885D
    {"$$$/Actions/Class/Exposure=Exposure", "..."},  // 94 0x885E
    {"$$$/Actions/Event/VibranceAdjustment=Vibrance", "..."},  // 95 0x885F
    {"$$$/Actions/Class/ColorBalance=Color Balance", "..."},  // 96 0x8860
    {"$$$/Dialog/BlackAndWhite/Title=Black && White", "..."},  // 97 0x8861
    {"$$$/Actions/Class/ChannelMixer=Channel Mixer", "..."},  // 98 0x8862
    {"$$$/Actions/Class/SelectiveColor=Selective Color", "..."},  // 99 0x8863
    {"$$$/Commands/FreeTransformMask=Transform Selection", "..."},  // 100 0x8864
    {"$$$/Actions/Key/QuickMask=Edit in Quick Mask Mode", "..."},  // 101 0x8865
    {"$$$/Menu/Buzzwords/QuickMaskOptions=Quick Mask Options", "..."},  // 102 0x8866
    {"$$$/Actions/Key/Application/Selection=Selection From", ""},  // 103 0x8867
    {"$$$/Calculations/UserMask=Layer Mask", ""},  // 104 0x8868
    {"$$$/Actions/Class/Opacity=Layer Opacity", ""},  // 105 0x8869
    {"$$$/Actions/Enum/Luminosity=Luminosity", ""},  // 106 0x886A
    {"$$$/Actions/Enum/Red=Red Channel", ""},  // 107 0x886B
    {"$$$/Actions/Enum/Green=Green Channel", ""},  // 108 0x886C
    {"$$$/Actions/Enum/Blue=Blue Channel", ""},  // 109 0x886D
    {"$$$/Menu/Layer/ConvertToSmartObject=Convert for Smart Filters", ""},  // 110 0x886E
    {"$$$/CustomProof=Proof Colors", "..."},  // 111 0x886F
    {"$$$/Actions/Enum/PixelAspectRatio/Custom=Custom Pixel Aspect Ratio", "..."},  // 112 0x8870
    {"$$$/Actions/Enum/Help/Help=Help", "..."},  // 113 0x8871
    {"$$$/HistoryOptions/Title=History Options", "..."},  // 114 0x8872
    {"$$$/Quillbright/Quillbright=Quillbright", "..."},  // 115 0x8873
};

constexpr std::size_t kAltLabelCount = 14;

// Alternative texts of the labels that change with the layer's state.
inline constexpr const char* AltLabelSources[kAltLabelCount] = {
    "$$$/Menu/Layer/AlignLayersToSelection=Align Layers to Selection",  // 0 selection present
    "$$$/Menu/Layer/Align=Align",  // 1 no selection
    "$$$/Menu/Layer/HideLayers=Hide Layers",  // 2 layer visible
    "$$$/Menu/Layer/ShowLayers=Show Layers",  // 3 layer hidden
    "$$$/Menu/ContextMenu/DisableFilterFX=Disable Smart Filters",  // 4 smart filters on
    "$$$/Menu/ContextMenu/EnableFilterFX=Enable Smart Filters",  // 5 smart filters off
    "$$$/Commands/TypeTool/ConvertToBox=Convert to Paragraph Text",  // 6 point text
    "$$$/Commands/TypeTool/ConvertToPoint=Convert to Point Text",  // 7 paragraph text
    "$$$/Commands/DisableFilterMask=Disable Filter Mask",  // 8 filter mask on
    "$$$/Commands/EnableFilterMask=Enable Filter Mask",  // 9 filter mask off
    "$$$/Actions/Event/Disable=Disable",  // 10 layer mask on
    "$$$/Actions/Event/Enable=Enable",  // 11 layer mask off
    "$$$/Actions/Event/Unlink=Unlink",  // 12 mask linked
    "$$$/Actions/Event/Link=Link",  // 13 mask unlinked
};

constexpr std::size_t kFilterFamilyCount = 12;

// Names of the host's filter families, by family index.
inline constexpr const char* FilterFamilyNameSources[kFilterFamilyCount] = {
    "$$$/FilterCategory/Artistic=Artistic",  // 0
    "$$$/FilterCategory/Blur=Blur",  // 1
    "$$$/FilterCategory/BrushStrokes=Brush Strokes",  // 2
    "$$$/FilterCategory/Distort=Distort",  // 3
    "$$$/Filters/Categories/Noise=Noise",  // 4
    "$$$/FilterCategory/Pixelate=Pixelate",  // 5
    "$$$/Filters/Categories/Render=Render",  // 6
    "$$$/FilterCategory/Sketch=Sketch",  // 7
    "$$$/FilterCategory/Stylize=Stylize",  // 8
    "$$$/FilterCategory/Texture=Texture",  // 9
    "$$$/FilterCategory/Video=Video",  // 10
    "$$$/FilterCategory/Other=Other",  // 11
};

constexpr std::size_t kFilterNameCount = 103;

// The filters of the host's Filter menu, grouped by family in the order the
// smart-filter template holds them.
struct FilterNameSource {
  int family;  // index into FilterFamilyNameSources
  const char* text;
};

inline constexpr FilterNameSource FilterNameSources[kFilterNameCount] = {
    {0, "$$$/LFN/FileNames/Localized/ColoredPencil=Colored Pencil"},
    {0, "$$$/LFN/FileNames/Localized/Cutout=Cutout"},
    {0, "$$$/LFN/FileNames/Localized/DryBrush=Dry Brush"},
    {0, "$$$/LFN/FileNames/Localized/FilmGrain=Film Grain"},
    {0, "$$$/LFN/FileNames/Localized/Fresco=Fresco"},
    {0, "$$$/LFN/FileNames/Localized/NeonGlow=Neon Glow"},
    {0, "$$$/LFN/FileNames/Localized/PaintDaubs=Paint Daubs"},
    {0, "$$$/LFN/FileNames/Localized/PaletteKnife=Palette Knife"},
    {0, "$$$/LFN/FileNames/Localized/PlasticWrap=Plastic Wrap"},
    {0, "$$$/LFN/FileNames/Localized/PosterEdges=Poster Edges"},
    {0, "$$$/LFN/FileNames/Localized/RoughPastels=Rough Pastels"},
    {0, "$$$/LFN/FileNames/Localized/SmudgeStick=Smudge Stick"},
    {0, "$$$/LFN/FileNames/Localized/Sponge=Sponge"},
    {0, "$$$/LFN/FileNames/Localized/Underpainting=Underpainting"},
    {0, "$$$/LFN/FileNames/Localized/Watercolor=Watercolor"},
    {1, "$$$/LFN/FileNames/Localized/Average=Average"},
    {1, "$$$/LFN/FileNames/Localized/Blur=Blur"},
    {1, "$$$/LFN/FileNames/Localized/BlurMore=Blur More"},
    {1, "$$$/LFN/FileNames/Localized/GaussianBlur=Gaussian Blur"},
    {1, "$$$/LFN/FileNames/Localized/LensBlur=Lens Blur"},
    {1, "$$$/LFN/FileNames/Localized/MotionBlur=Motion Blur"},
    {1, "$$$/LFN/FileNames/Localized/RadialBlur=Radial Blur"},
    {1, "$$$/LFN/FileNames/Localized/SmartBlur=Smart Blur"},
    {1, "$$$/Actions/Event/Bilateral=Surface Blur"},
    {2, "$$$/LFN/FileNames/Localized/AccentedEdges=Accented Edges"},
    {2, "$$$/LFN/FileNames/Localized/AngledStrokes=Angled Strokes"},
    {2, "$$$/LFN/FileNames/Localized/Crosshatch=Crosshatch"},
    {2, "$$$/LFN/FileNames/Localized/DarkStrokes=Dark Strokes"},
    {2, "$$$/LFN/FileNames/Localized/InkOutlines=Ink Outlines"},
    {2, "$$$/LFN/FileNames/Localized/Spatter=Spatter"},
    {2, "$$$/LFN/FileNames/Localized/SprayedStrokes=Sprayed Strokes"},
    {2, "$$$/LFN/FileNames/Localized/Sumie=Sumi-e"},
    {3, "$$$/LFN/FileNames/Localized/DiffuseGlow=Diffuse Glow"},
    {3, "$$$/Displace/1000/Displace=Displace"},
    {3, "$$$/LFN/FileNames/Localized/Glass=Glass"},
    {3, "$$$/LFN/FileNames/Localized/Liquify=Liquify"},
    {3, "$$$/LFN/FileNames/Localized/OceanRipple=Ocean Ripple"},
    {3, "$$$/LFN/FileNames/Localized/Pinch=Pinch"},
    {3, "$$$/LFN/FileNames/Localized/PolarCoordinates=Polar Coordinates"},
    {3, "$$$/LFN/FileNames/Localized/Ripple=Ripple"},
    {3, "$$$/LFN/FileNames/Localized/Shear=Shear"},
    {3, "$$$/LFN/FileNames/Localized/Spherize=Spherize"},
    {3, "$$$/LFN/FileNames/Localized/Twirl=Twirl"},
    {3, "$$$/LFN/FileNames/Localized/Wave=Wave"},
    {3, "$$$/LFN/FileNames/Localized/ZigZag=ZigZag"},
    {4, "$$$/LFN/FileNames/Localized/AddNoise=Add Noise"},
    {4, "$$$/LFN/FileNames/Localized/Despeckle=Despeckle"},
    {4, "$$$/LFN/FileNames/Localized/DustScratches=Dust & Scratches"},
    {4, "$$$/LFN/FileNames/Localized/Median=Median"},
    {4, "$$$/LFN/FileNames/Localized/ReduceNoise=Reduce Noise"},
    {5, "$$$/LFN/FileNames/Localized/ColorHalftone=Color Halftone"},
    {5, "$$$/LFN/FileNames/Localized/Crystallize=Crystallize"},
    {5, "$$$/LFN/FileNames/Localized/Facet=Facet"},
    {5, "$$$/LFN/FileNames/Localized/Fragment=Fragment"},
    {5, "$$$/LFN/FileNames/Localized/Mezzotint=Mezzotint"},
    {5, "$$$/LFN/FileNames/Localized/Mosaic=Mosaic"},
    {5, "$$$/LFN/FileNames/Localized/Pointillize=Pointillize"},
    {6, "$$$/LFN/FileNames/Localized/3DTransform=3D Transform"},
    {6, "$$$/LFN/FileNames/Localized/Clouds=Clouds"},
    {6, "$$$/LFN/FileNames/Localized/DifferenceClouds=Difference Clouds"},
    {6, "$$$/LFN/FileNames/Localized/Fibers=Fibers"},
    {6, "$$$/LFN/FileNames/Localized/LensFlare=Lens Flare"},
    {6, "$$$/LFN/FileNames/Localized/LightingEffects=Lighting Effects"},
    {6, "$$$/LFN/FileNames/Localized/TextureFill=Texture Fill"},
    {7, "$$$/LFN/FileNames/Localized/BasRelief=Bas Relief"},
    {7, "$$$/LFN/FileNames/Localized/ChalkCharcoal=Chalk & Charcoal"},
    {7, "$$$/LFN/FileNames/Localized/Charcoal=Charcoal"},
    {7, "$$$/LFN/FileNames/Localized/Chrome=Chrome"},
    {7, "$$$/LFN/FileNames/Localized/Comic=Comic"},
    {7, "$$$/LFN/FileNames/Localized/ConteCrayon=Cont\xE9 Crayon"},
    {7, "$$$/LFN/FileNames/Localized/GraphicNovel=Graphic Novel"},
    {7, "$$$/LFN/FileNames/Localized/GraphicPen=Graphic Pen"},
    {7, "$$$/LFN/FileNames/Localized/HalftonePattern=Halftone Pattern"},
    {7, "$$$/LFN/FileNames/Localized/NotePaper=Note Paper"},
    {7, "$$$/LFN/FileNames/Localized/PenandInk=Pen and Ink"},
    {7, "$$$/LFN/FileNames/Localized/Photocopy=Photocopy"},
    {7, "$$$/LFN/FileNames/Localized/Plaster=Plaster"},
    {7, "$$$/LFN/FileNames/Localized/Reticulation=Reticulation"},
    {7, "$$$/LFN/FileNames/Localized/Stamp=Stamp"},
    {7, "$$$/LFN/FileNames/Localized/TornEdges=Torn Edges"},
    {7, "$$$/LFN/FileNames/Localized/WaterPaper=Water Paper"},
    {8, "$$$/LFN/FileNames/Localized/Diffuse=Diffuse"},
    {8, "$$$/LFN/FileNames/Localized/Emboss=Emboss"},
    {8, "$$$/LFN/FileNames/Localized/Extrude=Extrude"},
    {8, "$$$/LFN/FileNames/Localized/FindEdges=Find Edges"},
    {8, "$$$/LFN/FileNames/Localized/GlowingEdges=Glowing Edges"},
    {8, "$$$/LFN/FileNames/Localized/Solarize=Solarize"},
    {8, "$$$/LFN/FileNames/Localized/Tiles=Tiles"},
    {8, "$$$/LFN/FileNames/Localized/TraceContour=Trace Contour"},
    {8, "$$$/LFN/FileNames/Localized/Wind=Wind"},
    {9, "$$$/LFN/FileNames/Localized/Craquelure=Craquelure"},
    {9, "$$$/LFN/FileNames/Localized/Grain=Grain"},
    {9, "$$$/LFN/FileNames/Localized/MosaicTiles=Mosaic Tiles"},
    {9, "$$$/LFN/FileNames/Localized/Patchwork=Patchwork"},
    {9, "$$$/LFN/FileNames/Localized/StainedGlass=Stained Glass"},
    {9, "$$$/LFN/FileNames/Localized/Texturizer=Texturizer"},
    {10, "$$$/LFN/FileNames/Localized/DeInterlace=De-Interlace"},
    {10, "$$$/LFN/FileNames/Localized/NTSCColors=NTSC Colors"},
    {11, "$$$/LFN/FileNames/Localized/Custom=Custom"},
    {11, "$$$/LFN/FileNames/Localized/HighPass=High Pass"},
    {11, "$$$/LFN/FileNames/Localized/Maximum=Maximum"},
    {11, "$$$/LFN/FileNames/Localized/Minimum=Minimum"},
    {11, "$$$/LFN/FileNames/Localized/Offset=Offset"},
};

constexpr std::size_t kExtraFilterCount = 9;

// Filters outside the host's Filter families (Enhance and Sharpen commands,
// the Filter Gallery), by row of the extra filter table.
inline constexpr const char* ExtraFilterNameSources[kExtraFilterCount] = {
    "$$$/Actions/Event/ShadowHighlightCorrection=Shadow/Highlight",
    "$$$/AdobePlugin/PIPLInfo/PluginName/Variations=Variations",
    "$$$/Actions/Event/UnsharpMask=Unsharp Mask",
    "$$$/Actions/Event/SmartSharpen=Smart Sharpen",
    "$$$/Actions/Event/Sharpen=Sharpen",
    "$$$/Actions/Event/SharpenMore=Sharpen More",
    "$$$/Actions/Event/SharpenEdges=Sharpen Edges",
    "$$$/Menu/Filter/FilterGallery=Filter Gallery",
    "$$$/Menu/Filter/CorrectCameraDistortion=Correct Camera Distortion",
};
