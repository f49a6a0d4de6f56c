// Command identifiers of the editor's own menus that the module relies on:
// the items by which it recognises a menu, and the places where older
// editors number the same menu differently.
#pragma once

#include <cstdint>

namespace host_menu {

// Current editors (4 and up).
constexpr std::int32_t kFileOpen = 16203;        // File: the module's Browse and Scripts rows
constexpr std::int32_t kEditUndo = 1961;         // Edit: Fade, Spell Check
constexpr std::int32_t kImageCrop = 2990;        // Image: the first three items
constexpr std::int32_t kLayerNew = 2400;         // Layer: its first item
constexpr std::int32_t kShadowsHighlights = 3065;  // Enhance > Adjust Lighting
constexpr std::int32_t kLevelsLayer = 6303;      // Layer > New Adjustment Layer
constexpr std::int32_t kSelectAll = 1017;        // Select: its first item
constexpr std::int32_t kLastFilter = 1019;       // Filter: its first item, the last filter again
constexpr std::int32_t kAutoSmartFix = 16314;    // Enhance: its first item
constexpr std::int32_t kTypeHorizontal = 1223;   // Layer > Type
constexpr std::int32_t kTypeAntiAlias = 3371;    // Layer > Type: replaced by the module's radio items
constexpr std::int32_t kThumbnailSize = 1132;    // the Layers panel's thumbnail size options

// Editors 1 to 3.
constexpr std::int32_t kOldFileOpen12 = 10;      // editors 1 and 2
constexpr std::int32_t kOldFileOpen3 = 20;       // editor 3
constexpr std::int32_t kOldEditUndo = 1962;      // editors 1 and 2
constexpr std::int32_t kOldImage13 = 1044;       // editors 1 and 3, third item
constexpr std::int32_t kOldImage2 = 1134;        // editor 2, first item
constexpr std::int32_t kOldLayer = 1135;         // second item of the Layer menu
constexpr std::int32_t kOldShadowsHighlights = 1803;  // editors 1 and 2
constexpr std::int32_t kOldLevelsLayer1 = 65289;      // editor 1
constexpr std::int32_t kOldLevelsLayer2 = 65268;      // editor 2

}  // namespace host_menu
