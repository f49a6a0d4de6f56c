// The host's language, collation, Layers-panel thumbnail size and the small
// file and text operations of the localization code.
#include <clocale>
#include <cstring>
#include <memory>
#include <string>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "localization/byte_search.h"
#include "localization/host_files.h"
#include "localization/host_language.h"
#include "localization/preferences_file.h"
#include "localization/text_edit.h"
#include "localization_support.h"
#include "plugin_fixture.h"

namespace {

using LocalizationTest = PluginTest;

struct GermanCase {
  const char* name;
  const char* folder;  // made under the host folder, or null
  const char* locale;  // registry value, or null
  bool elements;
  int version;
  bool german;
};

// The folders are asked first; only Elements 4 and up keep a "Locale" value,
// and it must read "de_de" exactly.
const GermanCase kGermanCases[] = {
    {"Locales folder beats an English registry", "Locales\\de_DE", "en_us", true, kTestHostVersion, true},
    {"Zusatzmodule folder", "Zusatzmodule", nullptr, true, kTestHostVersion, true},
    {"registry alone", nullptr, "de_de", true, kTestHostVersion, true},
    {"registry in upper case", nullptr, "de_DE", true, kTestHostVersion, false},
    {"registry with more after the code", nullptr, "de_de_x", true, kTestHostVersion, false},
    {"English folder and registry", "Locales\\en_US", "en_us", true, kTestHostVersion, false},
    {"nothing at all", nullptr, nullptr, true, kTestHostVersion, false},
    {"Photoshop never asks the registry", nullptr, "de_de", false, kTestHostVersion, false},
    {"Photoshop with the folder", "Zusatzmodule", nullptr, false, kTestHostVersion, true},
    // Elements 3 keeps no "Locale": the value (under 3.0) is not read.
    {"Elements 3 never asks the registry", nullptr, "de_de", true, 3, false},
};

TEST_F(LocalizationTest, GermanHostByFolderThenRegistry) {
  for (const GermanCase& c : kGermanCases) {
    SCOPED_TRACE(c.name);
    TempFolder host;
    if (c.folder) MakeFolder(host / c.folder);
    std::unique_ptr<HostLocaleValue> locale;
    if (c.locale) locale = std::make_unique<HostLocaleValue>(c.version, c.locale);
    HostIsElements = c.elements;
    HostIsPhotoshop = !c.elements;
    HostMajorVersion = c.version;
    UseGermanFeatureMessages(false);

    EXPECT_EQ(DetectGermanHostIn((host.path() + "\\").c_str()), c.german);
    EXPECT_STREQ(FeatureMessageTable[0], c.german ? "Maskierungsmodus" : "Quick Mask Mode");
  }
}

struct CollationCase {
  const char* locale;  // registry value, or null
  bool german;         // HostIsGerman
  bool set;            // a collation is set
  const char* name;
};

const CollationCase kCollationCases[] = {
    {"fr_fr", false, true, "French"},
    {"pt_br", false, true, "portuguese-brazil"},
    {"zh_tw", true, true, "chinese-traditional"},
    {"ko_kr", false, true, ""},        // unknown code: the system's default, not English
    {"fr_fr_ca", false, true, ""},     // a value that merely begins with a code
    {"FR_FR", false, true, ""},        // compared with its case
    {nullptr, true, true, "German"},   // German by its folder, no value
    {nullptr, false, false, ""},       // nothing: collation unchanged
    {"", true, true, "German"},        // an empty value counts as none
};

TEST_F(LocalizationTest, CollationFromTheHostsLocale) {
  HostMajorVersion = kTestHostVersion;
  for (const CollationCase& c : kCollationCases) {
    SCOPED_TRACE(c.locale ? c.locale : "(none)");
    std::unique_ptr<HostLocaleValue> locale;
    if (c.locale) locale = std::make_unique<HostLocaleValue>(kTestHostVersion, c.locale);
    HostIsGerman = c.german;
    char name[128];
    EXPECT_EQ(ChooseCollation(name, sizeof name), c.set);
    EXPECT_STREQ(name, c.name);
  }
}

TEST_F(LocalizationTest, CollationLanguageLeavesTheBufferAloneWithoutAValue) {
  HostLocaleValue locale(3, "fr_fr");
  HostMajorVersion = 3;  // Elements 3 keeps no value
  char name[16] = "untouched";
  EXPECT_FALSE(GetCollationLanguage(name, sizeof name));
  EXPECT_STREQ(name, "untouched");

  HostMajorVersion = kTestHostVersion;  // no value under this version
  EXPECT_FALSE(GetCollationLanguage(name, sizeof name));
  EXPECT_STREQ(name, "untouched");
}

TEST_F(LocalizationTest, ApplyCollationSetsOnlyTheCollationCategory) {
  HostMajorVersion = kTestHostVersion;
  HostIsGerman = true;
  ApplyCollation();
  const char* collation = std::setlocale(LC_COLLATE, nullptr);
  const std::string applied = collation ? collation : "";
  const std::string characters = std::setlocale(LC_CTYPE, nullptr);
  std::setlocale(LC_ALL, "C");
  if (applied == "C") GTEST_SKIP() << "the runtime here knows no German collation";
  EXPECT_EQ(applied.rfind("German", 0), 0u) << applied;
  EXPECT_EQ(characters, "C");
}

struct ThumbnailCase {
  const char* name;
  std::string bytes;
  int size;
};

std::string Prefs(std::size_t lead, char size, std::size_t gap, std::size_t tail) {
  return std::string(lead, 'P') + size + std::string(gap, '\0') + "fittedloob" + std::string(tail, '\0');
}

// The size is the byte eight places before the marker.
const ThumbnailCase kThumbnailCases[] = {
    {"size 0", Prefs(8, 0, 7, 4), 0},
    {"size 3", Prefs(8, 3, 7, 4), 3},
    {"marker at position 8", Prefs(0, 1, 7, 4), 1},
    {"marker at position 5", Prefs(0, 1, 4, 4), -1},
    {"byte 4", Prefs(8, 4, 7, 4), -1},
    {"byte 0x80", Prefs(8, char(0x80), 7, 4), -1},
    {"byte 0xFF", Prefs(8, char(0xFF), 7, 4), -1},
    {"file ending with the marker", Prefs(8, 2, 7, 0), -1},
    {"one byte after the marker", Prefs(8, 2, 7, 1), -1},
    {"two bytes after the marker", Prefs(8, 2, 7, 2), 2},
    {"no marker", std::string(64, '\1'), -1},
};

TEST_F(LocalizationTest, ThumbnailSizeRule) {
  for (const ThumbnailCase& c : kThumbnailCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ThumbnailSizeFromPreferences(c.bytes.data(), c.bytes.size()), c.size);
  }
}

TEST_F(LocalizationTest, ThumbnailSizeFromTheHostsPreferencesFile) {
  char appData[260] = {};
  ASSERT_TRUE(GetSpecialFolderPath(26, appData));
  const std::string version = std::to_string(kTestHostVersion);
  const std::string folder = std::string(appData) + "\\Adobe\\Photoshop Elements\\" + version + ".0";
  const std::string prefs = folder + "\\Editor\\Adobe Photoshop Elements " + version + " Prefs.psp";
  RemoveTreeA(folder);

  HostMajorVersion = kTestHostVersion;
  EXPECT_EQ(ReadLayerThumbnailSize(), -1) << "no file";
  WriteBytes(prefs, Prefs(8, 1, 7, 4));
  EXPECT_EQ(ReadLayerThumbnailSize(), 1);
  HostMajorVersion = 7;
  EXPECT_EQ(ReadLayerThumbnailSize(), 0) << "before version 8 the panel has one size";
  HostMajorVersion = kTestHostVersion;
  HostIsElements = false;
  EXPECT_EQ(ReadLayerThumbnailSize(), 0) << "Photoshop";
  RemoveTreeA(folder);
  EXPECT_EQ(LayerThumbnailSize, 2);
}

TEST_F(LocalizationTest, FindBytesStopsShortOfTheEnd) {
  const std::string text = "abcXYZdefXY";  // 11 bytes
  EXPECT_EQ(FindBytes(text.data(), text.size(), "XYZ", nullptr, 0), 3);
  EXPECT_EQ(FindBytes(text.data(), text.size(), "XYZ", nullptr, 4), -1);
  EXPECT_EQ(FindBytes(text.data(), text.size(), "def", "XYZ", 0), 3) << "whichever comes first";
  EXPECT_EQ(FindBytes(text.data(), text.size(), "def", nullptr, 0), 6) << "two bytes follow";
  EXPECT_EQ(FindBytes(text.data(), text.size(), "ef", "abcdefg", 4), -1) << "the longer needle sets the stop";
  EXPECT_EQ(FindBytes(text.data(), text.size(), "abc", nullptr, 100), -1);
}

TEST_F(LocalizationTest, ReadWholeFileFromAnOffset) {
  TempFolder folder;
  const std::string path = folder / "data.bin";
  WriteBytes(path, std::string("\xFF\xFE" "ab\0c", 6));
  std::unique_ptr<char[]> bytes;
  ASSERT_EQ(ReadWholeFile(path.c_str(), bytes, 2), 4u);
  EXPECT_EQ(std::string(bytes.get(), 5), std::string("ab\0c\0", 5)) << "followed by a zero byte";
  EXPECT_EQ(ReadWholeFile(path.c_str(), bytes, 6), 0u) << "nothing from the offset on";
  EXPECT_FALSE(bytes);
  EXPECT_EQ(ReadWholeFile((folder / "missing.bin").c_str(), bytes, 0), 0u);
  EXPECT_TRUE(FileExists(folder.path().c_str()));
  EXPECT_FALSE(FileExists((folder / "missing.bin").c_str()));
}

TEST_F(LocalizationTest, UiLanguageFromTheHost) {
  StartHost(R"({"host": {"uiLanguage": "fr_FR"}})");
  char language[512] = {};
  ReadHostUiLanguage(language, sizeof language);
  EXPECT_STREQ(language, "fr_FR");

  StartHost(R"({"host": {"uiLanguage": null}})");
  char unanswered[16] = "untouched";
  ReadHostUiLanguage(unanswered, sizeof unanswered);
  EXPECT_STREQ(unanswered, "untouched");
}

TEST_F(LocalizationTest, UiLanguageWithoutAHostLeavesTheBuffer) {
  BasicSuite = nullptr;
  char language[16] = "untouched";
  ReadHostUiLanguage(language, sizeof language);
  EXPECT_STREQ(language, "untouched");
}

TEST_F(LocalizationTest, LabelEdits) {
  char label[32] = "&Exposure:";
  RemoveAllChars(label, '&');
  RemoveAllChars(label, ':');
  EXPECT_STREQ(label, "Exposure");

  std::string text = "Browse in Bridge, Bridge";
  ReplaceAll(text, "Bridge", "Organizer");
  EXPECT_EQ(text, "Browse in Organizer, Organizer");
  text = "aXa";
  ReplaceAll(text, "a", "aa");
  EXPECT_EQ(text, "aaXaa") << "an inserted replacement is not scanned again";
  ReplaceAll(text, "", "b");
  EXPECT_EQ(text, "aaXaa");

  char title[16] = "Black && White";
  ReplaceAll(title, sizeof title, "&&", "&");
  EXPECT_STREQ(title, "Black & White");
  char small[12] = "Bridge";
  ReplaceAll(small, sizeof small, "Bridge", "Organizer Organizer");
  EXPECT_STREQ(small, "Organizer O") << "cut to the buffer";
}

}  // namespace
