// The command table: its rows, the version pairs, the start-up adjustment by
// host version and the labels built from the host's dictionary.
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "localization/dictionary.h"
#include "menus/command_table.h"
#include "localization_support.h"
#include "plugin_fixture.h"

namespace {

class CommandTableTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Reset();
  }
  void TearDown() override {
    Reset();
    PluginTest::TearDown();
  }
  static void Reset() {
    FreeHostDictionary();
    CommandTable = InitialCommandTable;
    std::memset(MenuLabels, 0, sizeof MenuLabels);
    std::memset(AltLabels, 0, sizeof AltLabels);
  }

  // No dictionary in the host folder: every label is its English default.
  void UseDefaults() {
    LoadHostDictionaryFrom(host_.path().c_str());
    ASSERT_EQ(HostDictionaryState(), DictionaryLoadState::Failed);
  }
  // A German editor: the dictionary of its language folder.
  void UseGermanDictionary(const std::wstring& entries) {
    StartHost(R"({"host": {"uiLanguage": "de_DE"}})");
    WriteBytes(host_ / "Locales\\de_DE\\tw10428.dat", DictionaryBytes(entries));
    LoadHostDictionaryFrom(host_.path().c_str());
    ASSERT_EQ(HostDictionaryState(), DictionaryLoadState::Loaded);
  }
  void BuildFor(int version) {
    HostMajorVersion = version;
    BuildMenuLabels();
  }

  TempFolder host_;
};

std::string Describe(const CommandEntry& e) {
  std::ostringstream out;
  out << "{anchor " << e.AnchorId << ", pos " << e.Position << ", opens " << e.OpensSubmenu << ", submenu "
      << e.SubmenuIndex << ", chk " << e.Checked << ", sep " << e.Separator << ", versions " << e.VersionA << ","
      << e.VersionB << ", indent " << e.IndentClass << ", flags 0x" << std::hex << e.RequiredFlags << "}";
  return out.str();
}

// Compares the whole table and names every row that differs.
void ExpectTable(const std::array<CommandEntry, kCommandCount>& expected, int version) {
  for (std::size_t i = 0; i < kCommandCount; ++i)
    EXPECT_EQ(CommandTable[i], expected[i]) << "version " << version << ", row " << i << "\n  expected "
                                            << Describe(expected[i]) << "\n  actual   " << Describe(CommandTable[i]);
}

// The host menus the rows are anchored on in the current editors.
const std::set<std::int32_t> kCurrentAnchors = {16203, 1961, 1006, 2990, 3065, 1812, 16314, 1350, 1223,
                                                2400,  1157, 6303, 1017, 1019, 1001, 10258, 24570, 2311};

TEST(CommandTable, IdentifiersFollowTheRows) {
  EXPECT_EQ(kCommandCount, 116u);
  EXPECT_EQ(CommandId(0), 0x8800);
  EXPECT_EQ(CommandId(115), 0x8873);
  EXPECT_EQ(kLastCommandId, 0x8873);
  // The neighbours are the script items below and the action items above.
  const struct { std::int32_t id; int index; } kIndexes[] = {
      {0x87FF, -1}, {0x8800, 0}, {0x8840, 64}, {0x8873, 115}, {0x8874, -1}, {0x8900, -1}, {0, -1}, {-0x8800, -1}};
  for (const auto& row : kIndexes) EXPECT_EQ(CommandIndex(row.id), row.index) << std::hex << row.id;
}

TEST(CommandTable, EveryRowIsPlacedSoundly) {
  int opened[kSubmenuCount] = {};
  std::set<std::size_t> checkedAtStart;
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    const CommandEntry& e = InitialCommandTable[i];
    SCOPED_TRACE("row " + std::to_string(i) + " " + Describe(e));
    EXPECT_TRUE(kCurrentAnchors.count(e.AnchorId));
    EXPECT_GE(e.Separator, kSeparatorNone);
    EXPECT_LE(e.Separator, kSeparatorBoth);
    EXPECT_GE(e.IndentClass, 0);
    EXPECT_LE(e.IndentClass, 2);
    // Every row needs at least one flag; bit 0 stands for no flag.
    EXPECT_NE(e.RequiredFlags, 0);
    EXPECT_EQ(e.RequiredFlags & ~(((1 << kMenuFlagCount) - 1) << 1), 0);
    if (e.Checked) checkedAtStart.insert(i);
    if (e.OpensSubmenu) {
      ASSERT_GE(SubmenuOf(e), 0);
      ++opened[SubmenuOf(e)];
      EXPECT_GT(e.Position, 0) << "a parent goes into the host menu";
    } else if (e.SubmenuIndex != 0) {
      ASSERT_GE(SubmenuOf(e), 0);
      EXPECT_EQ(e.Position, 0);
      // The parent comes first, from the same menu: the submenu's items are
      // counted from where it was inserted.
      bool parentBefore = false;
      for (std::size_t p = 0; p < i; ++p)
        parentBefore |= InitialCommandTable[p].OpensSubmenu && InitialCommandTable[p].SubmenuIndex == e.SubmenuIndex &&
                        InitialCommandTable[p].AnchorId == e.AnchorId;
      EXPECT_TRUE(parentBefore);
    } else {
      EXPECT_GE(e.Position, 0);
      EXPECT_LT(e.Position, 32);
    }
    // Every row has a labelled text to translate.
    EXPECT_EQ(std::strncmp(MenuLabelSources[i].text, "$$$/", 4), 0);
    EXPECT_NE(std::strchr(MenuLabelSources[i].text, '='), nullptr);
  }
  for (int m = 0; m < kSubmenuCount; ++m) EXPECT_EQ(opened[m], 1) << "submenu " << m << " has one parent";
  // The first item of each radio group: RGB and Anti-Alias Crisp.
  EXPECT_EQ(checkedAtStart, (std::set<std::size_t>{15, 36}));
}

TEST(CommandTable, WithoutADocumentOnlyTheAlwaysItemsAreEnabled) {
  // No document open: only Always is set, not even QuickMaskOff.
  const std::int32_t noDocument = RequiredBit(MenuFlag::Always);
  std::set<std::size_t> enabled;
  for (std::size_t i = 0; i < kCommandCount; ++i)
    if (RequiredFlagsMet(InitialCommandTable[i].RequiredFlags, noDocument)) enabled.insert(i);
  const std::set<std::size_t> kAlwaysEnabled = {0,  1,  2,  3,  4,  5,  6,  35,  36,  37,  38, 39,
                                                40, 41, 93, 94, 95, 96, 97, 98, 99, 113, 114, 115};
  EXPECT_EQ(enabled, kAlwaysEnabled);
  // Several flags: all of them are needed.
  const std::int32_t autoAlign = InitialCommandTable[11].RequiredFlags;
  EXPECT_FALSE(RequiredFlagsMet(autoAlign, RequiredBit(MenuFlag::Always) | RequiredBit(MenuFlag::EightBit)));
  EXPECT_TRUE(RequiredFlagsMet(autoAlign, RequiredBit(MenuFlag::SeveralTargets) | RequiredBit(MenuFlag::EightBit)));
}

TEST(CommandTable, VersionPairRule) {
  const struct { int a, b, v; bool admits; } kRule[] = {
      {0, 0, 1, true},   {0, 0, 12, true},                                      // always
      {0, 8, 8, true},   {0, 8, 9, false},                                      // up to B
      {6, 0, 5, false},  {6, 0, 6, true},                                       // from A on
      {4, 4, 3, true},   {4, 4, 4, false},  {4, 4, 5, true},                    // all but A
      {8, 11, 8, true},  {8, 11, 9, false}, {8, 11, 10, false}, {8, 11, 11, true},  // a gap
  };
  for (const auto& row : kRule)
    EXPECT_EQ(VersionPairAdmits(row.a, row.b, row.v), row.admits) << row.a << "," << row.b << " in " << row.v;

  const struct { std::size_t index; int v; bool exists; } kRows[] = {
      {8, 1, false},  // Spell Check: never in version 1 whatever its pair says
      {8, 2, true},    {8, 8, true},    {8, 9, false},  {8, 10, false}, {8, 11, true}, {8, 12, true},
      {24, 3, true},   {24, 4, false},  {24, 5, true},  {26, 4, false},  // every version but 4
      {0, 3, false},   {0, 4, true},    {45, 7, true},  {45, 8, false},  {67, 8, false}, {67, 9, true},
      {93, 3, true},   {93, 4, false},  {93, 10, false}, {93, 11, true}, {15, 1, true},  {15, 12, true},
      {116, 8, false},  // past the table
  };
  for (const auto& row : kRows)
    EXPECT_EQ(CommandExists(row.index, row.v), row.exists) << "row " << row.index << " in " << row.v;
}

// What start-up changes, by host version; everything else keeps its value.
enum class Field { Position, Separator };
struct Change {
  int lowest, highest;  // host versions
  std::size_t row;
  Field field;
  std::int32_t value;
};
const Change kChanges[] = {
    {11, 12, 93, Field::Separator, 1}, {11, 12, 97, Field::Separator, 1}, {11, 12, 33, Field::Separator, 2},
    {9, 10, 9, Field::Separator, 1},   {8, 10, 94, Field::Separator, 1},
    // 6 and 7
    {6, 7, 14, Field::Position, 7},    {6, 7, 100, Field::Position, 15},  {6, 7, 51, Field::Position, 15},
    {6, 7, 57, Field::Position, 18},   {6, 7, 68, Field::Position, 19},   {6, 7, 75, Field::Position, 17},
    {6, 7, 76, Field::Position, 17},   {6, 7, 77, Field::Position, 17},   {6, 7, 78, Field::Position, 23},
    {6, 7, 85, Field::Position, 24},   {6, 7, 92, Field::Position, 27},   {6, 7, 101, Field::Position, 15},
    {6, 7, 102, Field::Position, 15},  {6, 7, 103, Field::Position, 16},  {6, 7, 94, Field::Separator, 1},
    {6, 7, 43, Field::Separator, 0},
    // 5
    {5, 5, 78, Field::Position, 22},   {5, 5, 85, Field::Position, 23},   {5, 5, 92, Field::Position, 26},
    // 4
    {4, 4, 57, Field::Position, 16},   {4, 4, 68, Field::Position, 17},   {4, 4, 75, Field::Position, 15},
    {4, 4, 76, Field::Position, 15},   {4, 4, 77, Field::Position, 15},
    // 4 and 5
    {4, 5, 14, Field::Position, 7},    {4, 5, 100, Field::Position, 14},  {4, 5, 101, Field::Position, 14},
    {4, 5, 102, Field::Position, 14},  {4, 5, 103, Field::Position, 15},
    // 3 and older
    {0, 3, 93, Field::Separator, 1},
};
// Editors 3 and older: the host menus the rows are anchored on instead.
const struct { int lowest, highest; std::int32_t from, to; } kAnchorMoves[] = {
    {1, 2, 16203, 10},   {3, 3, 16203, 20},   {1, 2, 1961, 1962},  {1, 1, 2990, 1044},
    {3, 3, 2990, 1044},  {2, 2, 2990, 1134},  {0, 3, 2400, 1135},  {1, 2, 3065, 1803},
    {1, 1, 6303, 65289}, {2, 2, 6303, 65268},
};

std::array<CommandEntry, kCommandCount> ExpectedTable(int v) {
  std::array<CommandEntry, kCommandCount> table = InitialCommandTable;
  for (const auto& move : kAnchorMoves)
    if (v >= move.lowest && v <= move.highest)
      for (CommandEntry& e : table)
        if (e.AnchorId == move.from) e.AnchorId = move.to;
  for (const Change& c : kChanges) {
    if (v < c.lowest || v > c.highest) continue;
    CommandEntry& e = table[c.row];
    (c.field == Field::Position ? e.Position : e.Separator) = c.value;
  }
  return table;
}

TEST_F(CommandTableTest, AdjustedByHostVersion) {
  for (int v = 0; v <= 12; ++v) {
    CommandTable = InitialCommandTable;
    HostMajorVersion = v;
    AdjustCommandTable();
    ExpectTable(ExpectedTable(v), v);
  }
}

TEST_F(CommandTableTest, SecondStartupAdjustsFromTheInitialRowsAndKeepsChecks) {
  for (int v : {2, 4, 6, 11}) {
    CommandTable = InitialCommandTable;
    HostMajorVersion = v;
    AdjustCommandTable();
    CommandTable[101].Checked = 1;  // Quick Mask on
    CommandTable[15].Checked = 0;   // a channel radio group moved on
    CommandTable[17].Checked = 1;
    AdjustCommandTable();
    std::array<CommandEntry, kCommandCount> expected = ExpectedTable(v);
    expected[101].Checked = 1;
    expected[15].Checked = 0;
    expected[17].Checked = 1;
    ExpectTable(expected, v);
  }
}

struct ExpectedLabel {
  std::size_t index;
  const char* label;
};

void ExpectLabels(const std::vector<ExpectedLabel>& expected, int version) {
  for (const ExpectedLabel& row : expected)
    EXPECT_STREQ(MenuLabels[row.index], row.label) << "version " << version << ", row " << row.index;
}

// The labels of an editor whose dictionary lacks every key.
const std::vector<ExpectedLabel> kEnglishLabels = {
    {0, "Browse in Organizer..."},  // the key has "==": the default after the last "="
    {7, "Fade..."},
    {13, "Trim..."},
    {15, "RGB"},
    {19, "Red + Green"},
    {20, "Red + Blue"},
    {21, "Green + Blue"},
    {30, "Black && White..."},
    {32, "Sharpen More"},
    {97, "Black && White..."},
    {100, "Transform Selection..."},
    {107, "Red Channel"},
    {113, "Quillbright Help..."},
    {115, "Quillbright..."},
};

TEST_F(CommandTableTest, EnglishDefaults) {
  UseDefaults();
  BuildFor(8);
  ExpectLabels(kEnglishLabels, 8);
  EXPECT_STREQ(CommandLabel(0x8813), "Red + Green");
  EXPECT_STREQ(CommandLabel(0x8874), "");
  EXPECT_STREQ(AltLabels[0], "Align Layers to Selection");
  EXPECT_STREQ(AltLabels[7], "Convert to Point Text");
  EXPECT_STREQ(AltLabels[13], "Link");
}

// A German editor's dictionary. Mnemonic marks and colons of some texts show
// what the labels drop; "Align" comes before the key it is a prefix of, as
// the lookup takes the first text that begins with a key.
const wchar_t kGermanDictionary[] =
    L"\"$$$/Actions/Enum/OpenBridge=In Bridge &suchen\"\r\n"
    L"\"$$$/Actions/Event/Fade=&Verblassen:\"\r\n"
    L"\"$$$/Actions/Enum/RGB=RGB\"\r\n"
    L"\"$$$/Actions/Enum/Red=Rot\"\r\n"
    L"\"$$$/Actions/Enum/Green=Gr\u00FCn\"\r\n"
    L"\"$$$/Actions/Enum/Blue=Blau\"\r\n"
    L"\"$$$/Dialog/BlackAndWhite/Title=Schwarz && Wei\u00DF\"\r\n"
    L"\"$$$/Actions/Enum/Help/Help=&Hilfe\"\r\n"
    L"\"$$$/Menu/Layer/ConvertToSmartObject=In Smart-Objekt umwandeln\"\r\n"
    L"\"$$$/Layer/GroupintoNewSmartObject=In neues Smart-Objekt gruppieren\"\r\n"
    L"\"$$$/MaskPanel/ToolTip/SelectFilterMask=Filtermaske ausw\u00E4hlen\"\r\n"
    L"\"$$$/Layer/AddFilterMask=Filtermaske hinzuf\u00FCgen\"\r\n"
    L"\"$$$/Actions/Event/Disable=Deaktivieren\"\r\n"
    L"\"$$$/Actions/Event/Enable=Aktivieren\"\r\n"
    L"\"$$$/Commands/DisableUserMask=Maske aus\"\r\n"
    L"\"$$$/Commands/EnableUserMask=Maske ein\"\r\n"
    L"\"$$$/Commands/DisableVectorMask=Vektormaske aus\"\r\n"
    L"\"$$$/Commands/EnableVectorMask=Vektormaske ein\"\r\n"
    L"\"$$$/Actions/Enum/MenuItem/AntiAliasCrisp=Gl\u00E4tten: Stark\"\r\n"
    L"\"$$$/Commands/TypeTool/AntiAliasCrisp=Gl\u00E4tten scharf\"\r\n"
    L"\"$$$/Menu/LayerMask/Apply=Anwenden\"\r\n"
    L"\"$$$/Actions/Key/Apply=&Anwenden (alt)\"\r\n"
    L"\"$$$/Menu/Layer/Align=Ausrichten\"\r\n"
    L"\"$$$/Menu/Layer/AlignLayersToSelection=An Auswahl ausrichten\"\r\n"
    L"\"$$$/Commands/AlignToSelection=An Auswahl ausrichten (alt)\"\r\n"
    L"\"$$$/Menu/Layer/HideLayers=Ebenen ausblenden\"\r\n"
    L"\"$$$/Menu/Layer/ShowLayers=Ebenen einblenden\"\r\n"
    L"\"$$$/Menu/Window/HideLayers=Ebenen-Fenster aus\"\r\n"
    L"\"$$$/Menu/Window/ShowLayers=Ebenen-Fenster ein\"\r\n";

TEST_F(CommandTableTest, GermanLabelsDropMnemonicsAndColons) {
  UseGermanDictionary(kGermanDictionary);
  BuildFor(8);
  ExpectLabels({{0, "In Organizer suchen..."},
                {7, "Verblassen..."},
                {19, "Rot + Gr\xFCn"},
                {20, "Rot + Blau"},
                {21, "Gr\xFCn + Blau"},
                {30, "Schwarz && Wei\xDF..."},
                {97, "Schwarz && Wei\xDF..."},
                {107, "Rot"},
                {113, "Quillbright Hilfe..."},
                {36, "Gl\xE4tten Stark"},
                {9, "Find and Replace Text..."}},  // not in the dictionary
               8);
}

// Labels that older editors take from other keys, replacing the translated
// text outright (no mnemonic or colon removal).
const struct { int version; std::size_t index; const char* label; } kVersionLabels[] = {
    {8, 52, "In Smart-Objekt umwandeln"},        {7, 52, "In neues Smart-Objekt gruppieren"},
    {5, 52, "In neues Smart-Objekt gruppieren"}, {4, 52, "In Smart-Objekt umwandeln"},
    {8, 110, "In Smart-Objekt umwandeln"},       {6, 110, "In neues Smart-Objekt gruppieren"},
    {8, 47, "Filtermaske ausw\xE4hlen"},         {7, 47, "Filtermaske hinzuf\xFCgen"},
    {6, 47, "Filtermaske hinzuf\xFCgen"},        {5, 47, "Filtermaske ausw\xE4hlen"},
    {6, 65, "Deaktivieren"},                     {5, 65, "Maske aus"},
    {6, 73, "Deaktivieren"},                     {5, 73, "Vektormaske aus"},
    {6, 74, "Aktivieren"},                       {3, 74, "Vektormaske ein"},
    {6, 36, "Gl\xE4tten Stark"},                {5, 36, "Gl\xE4tten scharf"},
    {5, 37, "Anti-Alias Sharp"},                 {1, 39, "Anti-Alias Smooth"},
    {4, 64, "Anwenden"},                         {3, 64, "&Anwenden (alt)"},
    {4, 78, "Ausrichten"},                       {3, 78, "An Auswahl ausrichten (alt)"},
};

const struct { int version; std::size_t index; const char* label; } kVersionAltLabels[] = {
    {4, 2, "Ebenen ausblenden"},  {3, 2, "Ebenen-Fenster aus"}, {4, 3, "Ebenen einblenden"},
    {1, 3, "Ebenen-Fenster ein"}, {6, 10, "Deaktivieren"},      {5, 10, "Maske aus"},
    {3, 10, "Maske aus"},         {6, 11, "Aktivieren"},        {4, 11, "Maske ein"},
    {8, 0, "An Auswahl ausrichten"}, {8, 1, "Ausrichten"},
};

TEST_F(CommandTableTest, LabelsOfOlderEditors) {
  UseGermanDictionary(kGermanDictionary);
  for (const auto& row : kVersionLabels) {
    BuildFor(row.version);
    EXPECT_STREQ(MenuLabels[row.index], row.label) << "version " << row.version << ", row " << row.index;
  }
  for (const auto& row : kVersionAltLabels) {
    BuildFor(row.version);
    EXPECT_STREQ(AltLabels[row.index], row.label) << "version " << row.version << ", alternative " << row.index;
  }
}

TEST_F(CommandTableTest, LongTranslationsAreCutToTheirBuffers) {
  const std::wstring red(300, L'R'), blue(300, L'B'), help(200, L'H');
  UseGermanDictionary(L"\"$$$/Actions/Enum/Red=" + red + L"\"\r\n\"$$$/Actions/Enum/Blue=" + blue +
                      L"\"\r\n\"$$$/Actions/Enum/Help/Help=" + help +
                      L"\"\r\n\"$$$/Menu/Layer/AlignLayersToSelection=" + red + L"\"\r\n");
  BuildFor(8);
  const std::string cut(kMenuLabelSize - 1, 'R');
  EXPECT_EQ(std::string(MenuLabels[16]), cut);
  EXPECT_EQ(std::string(MenuLabels[19]), cut) << "Red + Green cut after Red";
  EXPECT_EQ(std::string(MenuLabels[20]), cut);
  EXPECT_EQ(std::string(MenuLabels[21]), "Green + " + std::string(kMenuLabelSize - 1 - 8, 'B'));
  EXPECT_EQ(std::string(MenuLabels[113]), "Quillbright " + std::string(kMenuLabelSize - 1 - 12, 'H'));
  EXPECT_EQ(std::string(AltLabels[0]), cut);
  EXPECT_STREQ(MenuLabels[114], "History Options...");
}

}  // namespace
