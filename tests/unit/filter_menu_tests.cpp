// The filter tables: prepared at start-up for the running host (rows by
// version, names translated and sorted as the host sorts them), numbered from
// the host's own Filter menu, and looked up by command. The host menus are the
// simulated editor's, built for each version.
#include <windows.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "entry/startup.h"
#include "host_menus.h"
#include "localization/dictionary.h"
#include "localization_support.h"
#include "menus/command_table.h"
#include "menus/filter_menu.h"
#include "menus/filter_menu_host.h"
#include "menus/menu_insertion.h"
#include "plugin_fixture.h"

namespace {

// The family names and the Artistic filters as a German host's dictionary
// has them.
const wchar_t kGermanDictionary[] =
    L"\"$$$/FilterCategory/Artistic=Kunstfilter\"\r\n"
    L"\"$$$/FilterCategory/Blur=Weichzeichnungsfilter\"\r\n"
    L"\"$$$/FilterCategory/BrushStrokes=Malfilter\"\r\n"
    L"\"$$$/FilterCategory/Distort=Verzerrungsfilter\"\r\n"
    L"\"$$$/Filters/Categories/Noise=Rauschfilter\"\r\n"
    L"\"$$$/FilterCategory/Pixelate=Vergr\u00F6berungsfilter\"\r\n"
    L"\"$$$/Filters/Categories/Render=Renderfilter\"\r\n"
    L"\"$$$/FilterCategory/Sketch=Zeichenfilter\"\r\n"
    L"\"$$$/FilterCategory/Stylize=Stilisierungsfilter\"\r\n"
    L"\"$$$/FilterCategory/Texture=Strukturierungsfilter\"\r\n"
    L"\"$$$/FilterCategory/Video=Videofilter\"\r\n"
    L"\"$$$/FilterCategory/Other=Sonstige Filter\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/ColoredPencil=Buntstiftschraffur\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/Cutout=Farbpapier-Collage\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/DryBrush=Trockener Pinsel\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/FilmGrain=K\u00F6rnung & Aufhellung\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/Fresco=Fresko\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/NeonGlow=Neonschein\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/PaintDaubs=\u00D6lfarbe getupft\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/PaletteKnife=Malmesser\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/PlasticWrap=Kunststofffolie\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/PosterEdges=Tontrennung & Kantenbetonung\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/RoughPastels=Grobes Pastell\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/SmudgeStick=Diagonal verwischen\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/Sponge=Schwamm\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/Underpainting=Malgrund\"\r\n"
    L"\"$$$/LFN/FileNames/Localized/Watercolor=Aquarell\"\r\n";

// Menus of the editor's bar, by position.
constexpr int kEnhanceMenu = 3;
constexpr int kFilterMenu = 6;
constexpr std::int32_t kConvertForSmartFilters = 0x886E;
constexpr UINT kColorVariations = 1819;  // the editor's, in Enhance > Adjust Color

// The editor's menu bar of one version, destroyed with its menus.
struct HostMenuBar {
  explicit HostMenuBar(int version) : bar(simapp::CreateHostMenuBar(version)) {}
  ~HostMenuBar() { DestroyMenu(bar); }
  HostMenuBar(const HostMenuBar&) = delete;
  HostMenuBar& operator=(const HostMenuBar&) = delete;
  HMENU Menu(int position) const { return GetSubMenu(bar, position); }
  HMENU bar;
};

// An item's label as the filter tables name it: in code page 1252, without
// mnemonic marks or the trailing "...".
std::string PlainLabel(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, UINT(position), text, 127, MF_BYPOSITION);
  std::wstring label = text;
  if (label.size() >= 3 && label.compare(label.size() - 3, 3, L"...") == 0) label.resize(label.size() - 3);
  std::wstring plain;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] != L'&') plain += label[i];
    else if (i + 1 < label.size() && label[i + 1] == L'&') plain += label[++i];
  }
  char narrow[128] = {};
  WideCharToMultiByte(1252, 0, plain.c_str(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
  return narrow;
}

std::vector<std::string> RowNames(int family) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < FilterRowCount; ++i)
    if (FilterFamilyTable[i].Family == family) names.push_back(FilterFamilyTable[i].Name);
  return names;
}

const FilterFamilyEntry* RowNamed(const std::string& name) {
  for (std::size_t i = 0; i < FilterRowCount; ++i)
    if (name == FilterFamilyTable[i].Name) return &FilterFamilyTable[i];
  return nullptr;
}

const FilterFamilyEntry* RowWithId(std::int32_t id) {
  for (std::size_t i = 0; i < FilterRowCount; ++i)
    if (FilterFamilyTable[i].CommandId == id) return &FilterFamilyTable[i];
  return nullptr;
}

std::vector<int> FamilyOrderNow() { return {FamilyOrder.begin(), FamilyOrder.end()}; }

struct Found {
  bool found;
  std::string family;
  std::int32_t index;
  std::string name;
};

Found Lookup(std::int32_t id) {
  char family[kFilterTextSize] = {}, name[kFilterTextSize] = {};
  std::int32_t index = -1;
  const bool found = LookupFilterCommand(id, family, &index, name);
  return {found, family, index, name};
}

// Everything the preparation leaves behind, to compare two start-ups.
struct TablesSnapshot {
  std::array<FilterFamilyEntry, kFilterRowCount> rows;
  std::size_t rowCount;
  std::array<ExtraFilterEntry, kExtraFilterCount> extra;
  std::array<std::array<char, kFilterTextSize>, kFilterFamilyCount> familyNames;
  std::array<int, kFilterFamilyCount + 1> familyStart;
  std::array<int, kFilterFamilyCount> familyOrder;

  static TablesSnapshot Take() {
    TablesSnapshot s{FilterFamilyTable, FilterRowCount, ExtraFilterTable, {}, FamilyStart, FamilyOrder};
    for (std::size_t f = 0; f < kFilterFamilyCount; ++f)
      std::memcpy(s.familyNames[f].data(), FilterFamilyNames[f], kFilterTextSize);
    return s;
  }
  bool operator==(const TablesSnapshot& other) const {
    return std::memcmp(rows.data(), other.rows.data(), sizeof rows) == 0 && rowCount == other.rowCount &&
           std::memcmp(extra.data(), other.extra.data(), sizeof extra) == 0 && familyNames == other.familyNames &&
           familyStart == other.familyStart && familyOrder == other.familyOrder;
  }
};

class FilterMenuTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    std::setlocale(LC_COLLATE, "C");
    UseDictionary();
  }
  void TearDown() override {
    ResetFilterTables();
    FreeHostDictionary();
    CommandTable = InitialCommandTable;
    std::setlocale(LC_COLLATE, "C");
    PluginTest::TearDown();
  }

  // The host's dictionary from the text given; none (English defaults)
  // without one.
  void UseDictionary(const std::wstring& text = L"") {
    FreeHostDictionary();
    const std::string path = host_ / "Required\\tw10428.dat";
    DeleteFileA(path.c_str());
    if (!text.empty()) WriteBytes(path, DictionaryBytes(text));
    LoadHostDictionaryFrom(host_.path().c_str());
  }
  static void Prepare(int version) {
    HostMajorVersion = version;
    PrepareFilterTables(version);
  }
  // Numbers the rows from the editor's Filter menu of the prepared version.
  static void NumberFromEditor(int version) {
    HostMenuBar host(version);
    ReadFilterMenuIds(host.Menu(kFilterMenu), false);
  }

  TempFolder host_;
};

struct VersionRows {
  int version;
  std::size_t rows;
  // Filters that exist only in some versions, present or not in this one.
  bool surfaceBlur, lensBlur, comic, transform3d, video;
};

const VersionRows kVersionRows[] = {
    {6, 98, false, false, false, true, true},
    {7, 99, true, false, false, true, true},   // Surface Blur from 7, 3D Transform up to 7
    {8, 98, true, false, false, false, true},
    {10, 98, true, false, false, false, true},  // Video up to 10
    {11, 100, true, true, true, false, false},  // Lens Blur, Comic, Graphic Novel, Pen and Ink from 11
    {12, 100, true, true, true, false, false},
};

TEST_F(FilterMenuTest, StartUpKeepsTheRowsOfTheRunningVersion) {
  for (const VersionRows& c : kVersionRows) {
    SCOPED_TRACE(c.version);
    Prepare(c.version);
    EXPECT_EQ(FilterTablesVersion, c.version);
    EXPECT_EQ(FilterRowCount, c.rows);
    EXPECT_EQ(RowNamed("Surface Blur") != nullptr, c.surfaceBlur);
    EXPECT_EQ(RowNamed("Lens Blur") != nullptr, c.lensBlur);
    EXPECT_EQ(RowNamed("Comic") != nullptr, c.comic);
    EXPECT_EQ(RowNamed("Pen and Ink") != nullptr, c.comic);
    EXPECT_EQ(RowNamed("3D Transform") != nullptr, c.transform3d);
    EXPECT_EQ(RowNamed("NTSC Colors") != nullptr, c.video);
    EXPECT_EQ(RowNamed("De-Interlace") != nullptr, c.video);
  }
  // Before 6 nothing is prepared, and nothing is found.
  Prepare(5);
  EXPECT_EQ(FilterTablesVersion, 0);
  EXPECT_FALSE(Lookup(3065).found);
}

TEST_F(FilterMenuTest, EditorsBefore8OfferNeitherFindEdgesNorSolarizeNorFacetNorFragmentNorNtscColors) {
  struct Index {
    const char* name;
    std::int32_t before8;  // versions 6 and 7
    std::int32_t from8;
  };
  const Index kIndices[] = {
      {"Find Edges", 0, 6}, {"Solarize", 0, 4}, {"Facet", 0, 5}, {"Fragment", 0, 4},
      {"NTSC Colors", 0, 1},  // up to 10
      {"Glowing Edges", 5, 5}, {"Crystallize", 6, 6}, {"De-Interlace", 2, 2}, {"Colored Pencil", 15, 15},
      {"Liquify", 0, 0},  // never offered
  };
  for (int version : {6, 7, 8, 10}) {
    SCOPED_TRACE(version);
    Prepare(version);
    for (const Index& want : kIndices) {
      const FilterFamilyEntry* row = RowNamed(want.name);
      ASSERT_NE(row, nullptr) << want.name;
      EXPECT_EQ(row->Index, version < 8 ? want.before8 : want.from8) << want.name;
    }
  }
}

TEST_F(FilterMenuTest, EnglishHostSortsByName) {
  Prepare(8);
  const std::vector<int> families = {kArtisticFamily, kBlurFamily,    kBrushStrokesFamily, kDistortFamily,
                                     kNoiseFamily,    kPixelateFamily, kRenderFamily,       kSketchFamily,
                                     kStylizeFamily,  kTextureFamily,  kVideoFamily,        kOtherFamily};
  EXPECT_EQ(FamilyOrderNow(), families);
  EXPECT_STREQ(FilterFamilyNames[kBrushStrokesFamily], "Brush Strokes");
  const std::vector<std::string> sketch = {"Bas Relief", "Chalk & Charcoal", "Charcoal", "Chrome",
                                           "Cont\xE9 Crayon", "Graphic Pen", "Halftone Pattern", "Note Paper",
                                           "Photocopy", "Plaster", "Reticulation", "Stamp", "Torn Edges",
                                           "Water Paper"};
  EXPECT_EQ(RowNames(kSketchFamily), sketch);
  // The rows follow the family order, each family's together.
  EXPECT_EQ(FilterFamilyTable[0].Family, kArtisticFamily);
  EXPECT_EQ(FilterFamilyTable[FilterRowCount - 1].Family, kOtherFamily);
}

TEST_F(FilterMenuTest, GermanHostSortsTranslatedNamesByItsCollationOtherLast) {
  UseDictionary(kGermanDictionary);
  const std::vector<int> families = {kArtisticFamily, kBrushStrokesFamily, kNoiseFamily,  kRenderFamily,
                                     kStylizeFamily,  kTextureFamily,      kPixelateFamily, kDistortFamily,
                                     kVideoFamily,    kBlurFamily,         kSketchFamily, kOtherFamily};
  // Byte order puts the umlauts after every plain letter.
  Prepare(8);
  EXPECT_STREQ(FilterFamilyNames[kOtherFamily], "Sonstige Filter");
  EXPECT_EQ(FamilyOrderNow(), families);
  const std::vector<std::string> byBytes = {
      "Aquarell", "Buntstiftschraffur", "Diagonal verwischen", "Farbpapier-Collage", "Fresko", "Grobes Pastell",
      "Kunststofffolie", "K\xF6rnung & Aufhellung", "Malgrund", "Malmesser", "Neonschein", "Schwamm",
      "Tontrennung & Kantenbetonung", "Trockener Pinsel", "\xD6lfarbe getupft"};
  EXPECT_EQ(RowNames(kArtisticFamily), byBytes);

  if (!std::setlocale(LC_COLLATE, "German")) GTEST_SKIP() << "the runtime here knows no German collation";
  Prepare(8);
  EXPECT_EQ(FamilyOrderNow(), families);
  const std::vector<std::string> german = {
      "Aquarell", "Buntstiftschraffur", "Diagonal verwischen", "Farbpapier-Collage", "Fresko", "Grobes Pastell",
      "K\xF6rnung & Aufhellung", "Kunststofffolie", "Malgrund", "Malmesser", "Neonschein", "\xD6lfarbe getupft",
      "Schwamm", "Tontrennung & Kantenbetonung", "Trockener Pinsel"};
  EXPECT_EQ(RowNames(kArtisticFamily), german);
  // Untranslated names keep their English defaults.
  EXPECT_NE(RowNamed("Gaussian Blur"), nullptr);
}

TEST_F(FilterMenuTest, SecondStartUpBeginsAgainFromTheInitialRows) {
  Prepare(7);
  const TablesSnapshot first = TablesSnapshot::Take();

  // A German version-8 session that read its menus, then shut down.
  UseDictionary(kGermanDictionary);
  std::setlocale(LC_COLLATE, "German");
  Prepare(8);
  NumberFromEditor(8);
  ASSERT_TRUE(FilterIdsRead);
  ASSERT_TRUE(SetVariationsCommand(1819));
  VariationsIdRead = true;
  TeardownModule();
  EXPECT_EQ(FilterTablesVersion, 0);
  EXPECT_FALSE(FilterIdsRead);
  EXPECT_FALSE(VariationsIdRead);

  std::setlocale(LC_COLLATE, "C");
  UseDictionary();
  Prepare(7);
  EXPECT_TRUE(TablesSnapshot::Take() == first);
  EXPECT_FALSE(FilterIdsRead);
  EXPECT_EQ(FilterFamilyTable[0].CommandId, 0);

  // Without a shutdown between them as well.
  Prepare(7);
  EXPECT_TRUE(TablesSnapshot::Take() == first);
}

TEST_F(FilterMenuTest, IdentifiersGoDownwardsOneLeftOutWhereTheFamilyChanges) {
  Prepare(11);  // no Video family
  AssignFilterIds(5400);
  struct Expected {
    const char* name;
    std::int32_t id;
  };
  const Expected kIds[] = {
      {"Colored Pencil", 5400}, {"Watercolor", 5386},         // Artistic: 15 filters
      {"Average", 5384},        {"Surface Blur", 5376},       // Blur, after one left out
      {"Accented Edges", 5374}, {"Clouds", 5337},             // Render without 3D Transform
      {"Texturizer", 5297},                                   // Texture, last before Other
      {"Custom", 5295},         {"Offset", 5291},             // Other: one left out, not two for Video
  };
  for (const Expected& want : kIds) {
    const FilterFamilyEntry* row = RowNamed(want.name);
    ASSERT_NE(row, nullptr) << want.name;
    EXPECT_EQ(row->CommandId, want.id) << want.name;
  }
}

TEST_F(FilterMenuTest, NumberingMatchesTheEditorsFilterMenuInEveryVersion) {
  for (int version = 6; version <= 12; ++version) {
    SCOPED_TRACE(version);
    Prepare(version);
    HostMenuBar host(version);
    HMENU filter = host.Menu(kFilterMenu);
    ReadFilterMenuIds(filter, false);
    EXPECT_TRUE(FilterIdsRead);
    std::size_t filters = 0;
    for (int position = 6; position < GetMenuItemCount(filter); ++position) {
      HMENU family = GetSubMenu(filter, position);
      ASSERT_NE(family, nullptr) << position;
      const std::string familyLabel = PlainLabel(filter, position);
      for (int k = 0; k < GetMenuItemCount(family); ++k, ++filters) {
        const std::int32_t id = std::int32_t(GetMenuItemID(family, k));
        const FilterFamilyEntry* row = RowWithId(id);
        ASSERT_NE(row, nullptr) << id << " " << PlainLabel(family, k);
        EXPECT_EQ(row->Name, PlainLabel(family, k)) << id;
        EXPECT_EQ(FilterFamilyNames[row->Family], familyLabel) << id;
      }
    }
    EXPECT_EQ(filters, FilterRowCount);
  }
}

TEST_F(FilterMenuTest, FilterMenuIsReadOnceFromWhereverItsFamiliesStand) {
  HostMajorVersion = 8;
  CommandTable = InitialCommandTable;
  AdjustCommandTable();
  BuildMenuLabels();
  Prepare(8);
  HostMenuBar host(8);
  HMENU filter = host.Menu(kFilterMenu);

  // The first opening reads the families at 6, then gets the module's item.
  UpdatePopupMenu(filter);
  ASSERT_TRUE(FilterIdsRead);
  EXPECT_EQ(std::int32_t(GetMenuItemID(filter, 2)), kConvertForSmartFilters);
  const FilterFamilyEntry* pencil = RowNamed("Colored Pencil");
  ASSERT_NE(pencil, nullptr);
  EXPECT_EQ(pencil->CommandId, std::int32_t(simapp::kFirstFilterId));
  const TablesSnapshot numbered = TablesSnapshot::Take();

  // Read once: a menu numbered differently changes nothing now.
  HostMenuBar other(8);
  HMENU renumbered = GetSubMenu(other.Menu(kFilterMenu), 6);
  ModifyMenuA(renumbered, 0, MF_BYPOSITION | MF_STRING, 4000, "Colored Pencil");
  ReadFilterMenuIds(other.Menu(kFilterMenu), false);
  EXPECT_TRUE(TablesSnapshot::Take() == numbered);

  // A later start-up meets the menu with the module's item in it: the
  // families now start at 8.
  Prepare(8);
  EXPECT_FALSE(FilterIdsRead);
  UpdatePopupMenu(filter);
  EXPECT_TRUE(FilterIdsRead);
  EXPECT_TRUE(TablesSnapshot::Take() == numbered);
}

TEST_F(FilterMenuTest, FilterMenuWithoutItsFamiliesIsReadAgainNextTime) {
  Prepare(8);
  HMENU bare = CreatePopupMenu();
  AppendMenuA(bare, MF_STRING, 1019, "Last Filter");
  for (int k = 1; k < 10; ++k) AppendMenuA(bare, MF_STRING, UINT_PTR(1100 + k), "Host");
  ReadFilterMenuIds(bare, false);
  DestroyMenu(bare);
  EXPECT_FALSE(FilterIdsRead);
  EXPECT_EQ(FilterFamilyTable[0].CommandId, 0);

  NumberFromEditor(8);
  EXPECT_TRUE(FilterIdsRead);
  EXPECT_EQ(FilterFamilyTable[0].CommandId, std::int32_t(simapp::kFirstFilterId));
}

TEST_F(FilterMenuTest, VariationsIsReadFromTheEnhanceMenuUpToVersion11) {
  for (int version = 6; version <= 12; ++version) {
    SCOPED_TRACE(version);
    Prepare(version);
    HostMenuBar host(version);
    HMENU adjustColor = GetSubMenu(host.Menu(kEnhanceMenu), 9);
    ASSERT_NE(adjustColor, nullptr);
    EXPECT_EQ(GetMenuItemID(adjustColor, 7), kColorVariations);
    EXPECT_EQ(PlainLabel(adjustColor, 7), "Color Variations");
    EXPECT_FALSE(Lookup(std::int32_t(kColorVariations)).found);
    ReadFilterMenuIds(host.Menu(kEnhanceMenu), true);
    EXPECT_TRUE(VariationsIdRead);
    const Found found = Lookup(std::int32_t(kColorVariations));
    EXPECT_EQ(found.found, version <= 11);  // the table knows versions 6 to 11
    if (found.found) {
      EXPECT_EQ(found.family, "Enhance");
      EXPECT_EQ(found.index, 1);
      EXPECT_EQ(found.name, "Variations");
    }
  }
}

struct LookupCase {
  int version;
  std::int32_t id;
  bool found;
  const char* family;
  std::int32_t index;
  const char* name;
};

// Commands outside the Filter families, numbered by version.
const LookupCase kExtraLookups[] = {
    {6, 16044, true, "Filter", 2, "Filter Gallery"},
    {6, 16048, false, "", 0, ""},  // Filter Gallery from 7
    {6, 3088, true, "Sharpen", 5, "Unsharp Mask"},
    {6, 3065, true, "Enhance", 2, "Shadow/Highlight"},
    {7, 16049, true, "Filter", 1, "Correct Camera Distortion"},
    {7, 3086, true, "Sharpen", 4, "Smart Sharpen"},
    {7, 0x881F, false, "", 0, ""},  // the module's own sharpen commands from 8
    {7, 0x8821, false, "", 0, ""},
    {8, 3092, true, "Sharpen", 5, "Unsharp Mask"},
    {8, 3088, false, "", 0, ""},
    {8, 3090, true, "Sharpen", 4, "Smart Sharpen"},
    {8, 0x881F, true, "Sharpen", 3, "Sharpen"},
    {8, 0x8820, true, "Sharpen", 2, "Sharpen More"},
    {8, 0x8821, true, "Sharpen", 1, "Sharpen Edges"},
    {11, 16048, true, "Filter", 2, "Filter Gallery"},
    {12, 3065, false, "", 0, ""},  // the table ends at 11
    {12, 0x881F, false, "", 0, ""},
    {12, 3092, false, "", 0, ""},
    {8, 0, false, "", 0, ""},
};

TEST_F(FilterMenuTest, CommandsOutsideTheFamiliesByVersion) {
  for (const LookupCase& c : kExtraLookups) {
    SCOPED_TRACE(std::to_string(c.version) + " " + std::to_string(c.id));
    Prepare(c.version);
    char family[kFilterTextSize] = "untouched", name[kFilterTextSize] = "untouched";
    std::int32_t index = -1;
    ASSERT_EQ(LookupFilterCommand(c.id, family, &index, name), c.found);
    if (!c.found) {
      EXPECT_STREQ(family, "untouched");
      EXPECT_STREQ(name, "untouched");
      EXPECT_EQ(index, -1);
      continue;
    }
    EXPECT_STREQ(family, c.family);
    EXPECT_EQ(index, c.index);
    EXPECT_STREQ(name, c.name);
  }
}

// Filters of the Filter families, found by their place in the editor's menu.
const LookupCase kFamilyLookups[] = {
    {8, 0, true, "Artistic", 15, "Colored Pencil"},
    {8, 0, true, "Other", 1, "Offset"},
    {8, 0, true, "Stylize", 6, "Find Edges"},
    {7, 0, false, "", 0, "Find Edges"},  // not offered before 8
    {7, 0, true, "Blur", 1, "Surface Blur"},
    {8, 0, false, "", 0, "Liquify"},  // never offered
    {8, 0, false, "", 0, "Texture Fill"},
    {11, 0, false, "", 0, "Comic"},
    {11, 0, true, "Sketch", 14, "Bas Relief"},
};

TEST_F(FilterMenuTest, FilterFamilyCommandsAreFoundWhenOffered) {
  for (const LookupCase& c : kFamilyLookups) {
    SCOPED_TRACE(std::to_string(c.version) + " " + c.name);
    Prepare(c.version);
    NumberFromEditor(c.version);
    const FilterFamilyEntry* row = RowNamed(c.name);
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->CommandId, 0);
    const Found found = Lookup(row->CommandId);
    ASSERT_EQ(found.found, c.found);
    if (!c.found) continue;
    EXPECT_EQ(found.family, c.family);
    EXPECT_EQ(found.index, c.index);
    EXPECT_EQ(found.name, c.name);
  }
}

TEST_F(FilterMenuTest, LookupGivesTheEnglishFamilyAndTheTranslatedName) {
  UseDictionary(kGermanDictionary);
  Prepare(8);
  AssignFilterIds(5400);
  const FilterFamilyEntry* pencil = RowNamed("Buntstiftschraffur");
  ASSERT_NE(pencil, nullptr);
  const Found found = Lookup(pencil->CommandId);
  ASSERT_TRUE(found.found);
  EXPECT_EQ(found.family, "Artistic");  // the template's layer, not "Kunstfilter"
  EXPECT_EQ(found.name, "Buntstiftschraffur");
}

TEST_F(FilterMenuTest, LongTranslationsAreCutToTheBuffers) {
  const std::wstring longName(100, L'x');
  UseDictionary(L"\"$$$/LFN/FileNames/Localized/ColoredPencil=" + longName + L"\"\r\n" +
                L"\"$$$/Menu/Filter/FilterGallery=" + longName + L"\"\r\n" + L"\"$$$/FilterCategory/Artistic=" +
                longName + L"\"\r\n");
  Prepare(8);
  AssignFilterIds(5400);
  EXPECT_EQ(std::strlen(FilterFamilyNames[kArtisticFamily]), kFilterTextSize - 1);
  EXPECT_EQ(std::strlen(ExtraFilterTable[7].Name), kExtraFilterNameSize - 1);

  const FilterFamilyEntry* pencil = RowNamed(std::string(kFilterTextSize - 1, 'x'));
  ASSERT_NE(pencil, nullptr);
  for (std::int32_t id : {std::int32_t(16048), pencil->CommandId}) {
    SCOPED_TRACE(id);
    // The caller's buffers, with guard bytes behind them.
    struct Guarded {
      char text[kFilterTextSize];
      char guard[16];
    } family{}, name{};
    std::memset(&family, '#', sizeof family);
    std::memset(&name, '#', sizeof name);
    std::int32_t index = 0;
    ASSERT_TRUE(LookupFilterCommand(id, family.text, &index, name.text));
    EXPECT_EQ(std::strlen(name.text), kFilterTextSize - 1);
    EXPECT_EQ(std::string(name.text, 5), "xxxxx");
    EXPECT_EQ(std::string(name.guard, sizeof name.guard), std::string(sizeof name.guard, '#'));
    EXPECT_EQ(std::string(family.guard, sizeof family.guard), std::string(sizeof family.guard, '#'));
  }
}

// A Filter menu laid out as the host's once the module's item is in: eight
// items, then twelve family submenus of two disabled items each.
HMENU FamiliesMenu() {
  HMENU menu = CreatePopupMenu();
  for (int k = 0; k < 8; ++k) AppendMenuA(menu, MF_STRING, UINT_PTR(1100 + k), "Host");
  for (int f = 0; f < 12; ++f) {
    HMENU family = CreatePopupMenu();
    AppendMenuA(family, MF_STRING | MF_GRAYED, UINT_PTR(5000 + 2 * f), "a");
    AppendMenuA(family, MF_STRING | MF_GRAYED, UINT_PTR(5001 + 2 * f), "b");
    AppendMenuA(menu, MF_POPUP | MF_STRING, UINT_PTR(family), "Family");
  }
  return menu;
}

std::vector<int> EnabledFamilies(HMENU menu) {
  std::vector<int> enabled;
  for (int position = 8; position < GetMenuItemCount(menu); ++position) {
    HMENU family = GetSubMenu(menu, position);
    bool all = true;
    for (int k = 0; k < GetMenuItemCount(family); ++k)
      all = all && !(GetMenuState(family, UINT(k), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    if (all) enabled.push_back(position);
  }
  return enabled;
}

TEST_F(FilterMenuTest, RenderSubmenuIsFoundByItsPlaceInTheSortedFamilies) {
  struct Case {
    const char* name;
    const wchar_t* dictionary;
    const char* collation;
    int version;
    int position;
  };
  // "Aaa Video" sorts first; versions without Video filters have no such
  // submenu, and Render moves up again.
  const std::wstring videoFirst = L"\"$$$/FilterCategory/Video=Aaa Video\"\r\n";
  const Case kCases[] = {
      {"English", L"", "C", 8, 14},
      {"German", kGermanDictionary, "German", 8, 11},
      {"Video first", videoFirst.c_str(), "C", 10, 15},
      {"Video first, no Video filters", videoFirst.c_str(), "C", 11, 14},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::setlocale(LC_COLLATE, c.collation);
    UseDictionary(c.dictionary);
    Prepare(c.version);
    HMENU menu = FamiliesMenu();
    EnableRenderSubmenu(menu);
    EXPECT_EQ(EnabledFamilies(menu), std::vector<int>{c.position});
    DestroyMenu(menu);
  }
}

struct RenderCase {
  const char* name;
  int version;
  const char* layer;  // the target layer of the scenario
  bool enabled;
};

// The editor disables Render on smart objects; the module opens it up where
// a chosen filter becomes a smart filter.
const RenderCase kRenderCases[] = {
    {"smart filters, 8", 8,
     R"({"name": "Smart", "kind": "smartObject", "smartFilters": [{"name": "Blur", "enabled": true}]})", true},
    {"smart object without filters, 8", 8, R"({"name": "Smart", "kind": "smartObject"})", false},
    {"smart object without filters, 7", 7, R"({"name": "Smart", "kind": "smartObject"})", true},
    {"pixel layer, 7", 7, R"({"name": "Plain", "kind": "pixel"})", false},
};

TEST_F(FilterMenuTest, OpeningTheFilterMenuOnASmartObjectEnablesRender) {
  for (const RenderCase& c : kRenderCases) {
    SCOPED_TRACE(c.name);
    StartHost((std::string(R"({"documents": [{"layers": [{"background": true}, )") + c.layer +
               R"(], "target": [1]}]})")
                  .c_str());
    HostMajorVersion = c.version;
    CommandTable = InitialCommandTable;
    AdjustCommandTable();
    BuildMenuLabels();
    Prepare(c.version);
    HostMenuBar host(c.version);
    HMENU filter = host.Menu(kFilterMenu);
    // As the editor shows it on such a layer: Render and Blur disabled.
    for (int position : {6 + kBlurFamily, 6 + kRenderFamily})
      for (int k = 0; k < GetMenuItemCount(GetSubMenu(filter, position)); ++k)
        EnableMenuItem(GetSubMenu(filter, position), UINT(k), MF_BYPOSITION | MF_GRAYED);
    UpdatePopupMenu(filter);
    ASSERT_EQ(std::int32_t(GetMenuItemID(filter, 2)), kConvertForSmartFilters);
    HMENU render = GetSubMenu(filter, 8 + kRenderFamily);
    HMENU blur = GetSubMenu(filter, 8 + kBlurFamily);
    EXPECT_EQ(PlainLabel(filter, 8 + kRenderFamily), "Render");
    EXPECT_EQ(!(GetMenuState(render, 0, MF_BYPOSITION) & MF_GRAYED), c.enabled);
    EXPECT_EQ(!(GetMenuState(render, UINT(GetMenuItemCount(render) - 1), MF_BYPOSITION) & MF_GRAYED), c.enabled);
    EXPECT_TRUE(GetMenuState(blur, 0, MF_BYPOSITION) & MF_GRAYED);
  }
}

}  // namespace
