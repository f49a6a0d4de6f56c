// Locating, loading and searching the host's dictionary, and the dialog
// labels translated from it.
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "localization/dialog_labels.h"
#include "localization/dictionary.h"
#include "localization/dictionary_text.h"
#include "localization_support.h"
#include "plugin_fixture.h"

namespace {

class DictionaryTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    FreeHostDictionary();
    ResetDialogLabels();
  }
  void TearDown() override {
    FreeHostDictionary();
    ResetDialogLabels();
    PluginTest::TearDown();
  }

  // A dictionary whose only entry names the place it was found in.
  void PlaceDictionary(const std::string& relative, const wchar_t* place) {
    WriteBytes(host_ / relative, DictionaryBytes(std::wstring(L"\"$$$/Test/Place=") + place + L"\"\r\n"));
  }
  std::string PlaceFound() {
    LoadHostDictionaryFrom(host_.path().c_str());
    return LocalizeString("$$$/Test/Place=none");
  }
  void Load(const std::wstring& text) {
    WriteBytes(host_ / "Required\\tw10428.dat", DictionaryBytes(text));
    LoadHostDictionaryFrom(host_.path().c_str());
    ASSERT_EQ(HostDictionaryState(), DictionaryLoadState::Loaded);
  }

  TempFolder host_;
};

TEST_F(DictionaryTest, RequiredFolderWinsWhateverTheLanguage) {
  StartHost(R"({"host": {"uiLanguage": "fr_FR"}})");
  PlaceDictionary("Locales\\fr_FR\\tw10428.dat", L"french");
  PlaceDictionary("Required\\tw10428.dat", L"required");
  EXPECT_EQ(PlaceFound(), "required");
}

TEST_F(DictionaryTest, LanguageOfTheHostThenSupportFiles) {
  StartHost(R"({"host": {"uiLanguage": "fr_FR"}})");
  PlaceDictionary("Locales\\en_US\\tw10428.dat", L"english");
  PlaceDictionary("Locales\\fr_FR\\tw10428.dat", L"french");
  PlaceDictionary("Locales\\fr_FR\\Support Files\\tw10428.dat", L"french support");
  EXPECT_EQ(PlaceFound(), "french support");
}

TEST_F(DictionaryTest, RegistryWhenTheHostDoesNotAnswer) {
  StartHost(R"({"host": {"uiLanguage": null}})");
  HostMajorVersion = kTestHostVersion;
  HostLocaleValue locale(kTestHostVersion, "it_IT");
  PlaceDictionary("Locales\\en_US\\tw10428.dat", L"english");
  PlaceDictionary("Locales\\it_IT\\tw10428.dat", L"italian");
  EXPECT_EQ(PlaceFound(), "italian");
}

TEST_F(DictionaryTest, PhotoshopSkipsTheRegistryForTheFirstLocalesFolder) {
  StartHost(R"({"host": {"uiLanguage": null}})");
  HostMajorVersion = kTestHostVersion;
  HostIsElements = false;
  HostLocaleValue locale(kTestHostVersion, "zz_ZZ");  // would find nothing
  WriteBytes(host_ / "Locales\\aa_AA.txt", "a plain file is passed over");
  PlaceDictionary("Locales\\it_IT\\tw10428.dat", L"italian");
  EXPECT_EQ(PlaceFound(), "italian");
}

TEST_F(DictionaryTest, NoLanguageAnywhereMeansGerman) {
  StartHost(R"({"host": {"uiLanguage": null}})");
  HostMajorVersion = kTestHostVersion;
  PlaceDictionary("Other\\de_DE\\tw10428.dat", L"elsewhere");
  EXPECT_EQ(PlaceFound(), "none") << "no Locales folder: de_DE, and it has no dictionary";

  FreeHostDictionary();
  PlaceDictionary("Locales\\de_DE\\tw10428.dat", L"german");
  RemoveTreeA(host_ / "Other");
  EXPECT_EQ(PlaceFound(), "german");
}

TEST_F(DictionaryTest, AFailedLoadIsNotRetried) {
  StartHost(R"({"host": {"uiLanguage": null}})");
  LoadHostDictionaryFrom(host_.path().c_str());
  EXPECT_EQ(HostDictionaryState(), DictionaryLoadState::Failed);
  PlaceDictionary("Required\\tw10428.dat", L"late");
  EXPECT_EQ(PlaceFound(), "none");
  EXPECT_EQ(LocalizeString("$$$/Test/Place=none"), "none");

  FreeHostDictionary();  // shutdown: the next run of the module tries again
  EXPECT_EQ(HostDictionaryState(), DictionaryLoadState::NotTried);
  EXPECT_EQ(PlaceFound(), "late");
}

struct LookupCase {
  const char* labelled;
  const char* expected;
  const char* why;
};

// Looked up in kLookupDictionary below.
const LookupCase kLookupCases[] = {
    {"$$$/Actions/Event/Enable=Enable", "Alle aktivieren", "an earlier, longer key beginning with the key"},
    {"$$$/Actions/Event/Disable=Disable", "Deaktivieren", "the entry itself"},
    {"$$$/Quote=Quote", "Sag ", "a translation ends at a double quote"},
    {"$$$/Missing/Key=&Default:", "&Default:", "a missing key gives the default as written"},
    {"$$$/Menu/Mnemonic=Mnemonic", "&Ebene:", "mnemonics and colons are kept"},
    {"$$$/Actions/Enum/OpenBridge==Browse in Organizer", "In Bridge suchen", "a key ending with ="},
    {"$$$/Umlaut=Size", "Gr\xF6\xDF" "e", "Latin-1 characters keep their byte"},
    {"$$$/Wide=Wide", "A?B", "characters beyond Latin-1 become ?"},
    {"$$$/Two=x=y", "y", "the key is up to the last =: $$$/Two=x is missing"},
    {"No key here", "No key here", "a text without = is its own default"},
    {"=Empty key", "Empty key", "an empty key is never looked up"},
};

const wchar_t kLookupDictionary[] =
    L"\ufeff\"$$$/Actions/Event/EnableAll=Alle aktivieren\"\r\n"
    L"\"$$$/Actions/Event/Enable=Aktivieren\"\r\n"
    L"\"$$$/Actions/Event/Disable=Deaktivieren\"\r\n"
    L"\"$$$/Quote=Sag \"Hallo\"\"\r\n"
    L"\"$$$/Menu/Mnemonic=&Ebene:\"\r\n"
    L"\"$$$/Actions/Enum/OpenBridge=In Bridge suchen\"\r\n"
    L"\"$$$/Umlaut=Gr\u00f6\u00dfe\"\r\n"
    L"\"$$$/Wide=A\u0100B\"\r\n"
    L"\"$$$/Two=zwei\"\r\n";

TEST_F(DictionaryTest, LookupRules) {
  // The generator's byte-order mark is written by DictionaryBytes; skip ours.
  Load(kLookupDictionary + 1);
  for (const LookupCase& c : kLookupCases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(LocalizeString(c.labelled), c.expected) << c.labelled;
  }
}

TEST_F(DictionaryTest, LongTranslationsAreCutAtTheReach) {
  Load(L"\"$$$/Long=" + std::wstring(600, L'x') + L"\"\r\n\"$$$/Far" + std::wstring(600, L'-') + L"=never\"");
  EXPECT_EQ(LocalizeString("$$$/Long=short"), std::string(512, 'x'));
  EXPECT_EQ(LocalizeString("$$$/Far=default"), "default") << "no = within reach of the key";
}

TEST_F(DictionaryTest, DialogLabelsFitTheirSlots) {
  const std::wstring longText(200, L'W');
  Load(L"\"$$$/ControlsStrings/OK=Okay\"\r\n"
       L"\"$$$/Menu/Preferences=" + longText + L"\"\r\n"
       L"\"$$$/Menu/Prefs/General=Allgemein\"\r\n");
  TranslateDialogLabels();
  EXPECT_STREQ(DialogLabelTable[0], "Okay");
  EXPECT_STREQ(DialogLabelTable[1], "Cancel") << "missing: the default";
  EXPECT_STREQ(DialogLabelTable[24], "Deaktivieren") << "German default";
  EXPECT_STREQ(DialogLabelTable[25], "Aktivieren");
  EXPECT_EQ(std::string(DialogLabelTable[27]), std::string(59, 'W')) << "cut to 59 characters";
  EXPECT_STREQ(DialogLabelTable[28], "Allgemein") << "the next slot is intact";
  EXPECT_STREQ(DialogLabelTable[37], "Ctrl");
}

// The index must answer exactly as a scan of the whole text: random keys
// sharing prefixes, keys that begin other keys, keys inside translations.
TEST_F(DictionaryTest, IndexAnswersAsTheScan) {
  std::mt19937 random(12345);
  const char* parts[] = {"A", "Ab", "B", "Enable", "EnableAll", "x", "/", "="};
  auto makeKey = [&] {
    std::string key = "$$$/";
    for (int n = 1 + int(random() % 4); n > 0; --n) key += parts[random() % 6];
    return key;
  };
  std::string text;
  std::vector<std::string> keys;
  for (int i = 0; i < 400; ++i) {
    const std::string key = makeKey();
    keys.push_back(key);
    text += "\"" + key + "=" + (random() % 5 == 0 ? makeKey() : "T" + std::to_string(i)) + "\"\r\n";
  }
  for (int i = 0; i < 200; ++i) keys.push_back(makeKey());
  const DictionaryIndex index = BuildDictionaryIndex(text);
  for (const std::string& key : keys) {
    ASSERT_EQ(FindKeyIndexed(text, index, key), FindKeyByScan(text, key)) << key;
    const std::string labelled = key + "=default";
    ASSERT_EQ(LookUpLabel(text, &index, labelled), LookUpLabel(text, nullptr, labelled)) << key;
  }
  EXPECT_EQ(FindKeyIndexed(text, index, "Ab"), FindKeyByScan(text, "Ab")) << "not a $$$/ key: scanned";
}

// The file is narrowed through a 64 KB piece: units on both sides of a
// piece's end, and an odd last byte, come through as a whole read would.
TEST_F(DictionaryTest, ReadAcrossPiecesAndAnOddLastByte) {
  std::wstring wide;
  for (int i = 0; wide.size() < 70000; ++i) wide += L"\"$$$/Key" + std::to_wstring(i) + L"=Gr\u00fc\u00dfe\u0100\"\r\n";
  std::string expected;
  for (const wchar_t unit : wide) expected += unit > 0xFF ? '?' : char(unit);
  WriteBytes(host_ / "odd.dat", DictionaryBytes(wide) + "A");
  std::string text = "stale";
  ASSERT_TRUE(ReadDictionaryText((host_ / "odd.dat").c_str(), text));
  EXPECT_EQ(text, expected);

  WriteBytes(host_ / "mark.dat", "\xFF\xFE");
  EXPECT_FALSE(ReadDictionaryText((host_ / "mark.dat").c_str(), text)) << "nothing after the mark";
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(ReadDictionaryText((host_ / "gone.dat").c_str(), text));
}

// A read that fails part of the way leaves no half text behind, and a piece
// too small for one unit is refused instead of looping for ever.
TEST_F(DictionaryTest, AFailedReadLeavesNoText) {
  const std::string file = DictionaryBytes(L"\"$$$/A=B\"\r\n\"$$$/C=D\"");
  char piece[4];
  int reads = 0;
  const auto failThird = [&](char* into, std::size_t bytes) {
    std::memset(into, 'x', bytes);
    return ++reads < 3;
  };
  std::string text = "stale";
  EXPECT_FALSE(NarrowDictionaryFile(file.size(), failThird, piece, text));
  EXPECT_EQ(reads, 3);
  EXPECT_TRUE(text.empty());

  const auto never = [](char*, std::size_t) { return true; };
  EXPECT_FALSE(NarrowDictionaryFile(file.size(), never, std::span<char>(piece, 1), text));
  EXPECT_FALSE(NarrowDictionaryFile(kDictionaryFileLimit, never, piece, text)) << "too large to be the host's";
}

}  // namespace
