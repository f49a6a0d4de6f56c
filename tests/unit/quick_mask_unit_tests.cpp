// Quick Mask's pieces in-process: where the conversion's files go, the seed
// image it opens, finding a document by its title, the oldest editors' way
// into the mode and the timer that closes the working document.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "modes/conversion_paths.h"
#include "modes/document_steps.h"
#include "modes/quick_mask.h"
#include "modes/seed_image.h"
#include "plugin_fixture.h"

namespace {

// ---- Where the conversion's files go ----

std::string WithoutExtension(const char* name) {
  char out[kConversionPathSize] = {};
  NameWithoutExtension(name, out, sizeof out);
  return out;
}

TEST(ConversionPaths, OnlyTheLastExtensionGoes) {
  EXPECT_EQ(WithoutExtension("Boat.psd"), "Boat");
  EXPECT_EQ(WithoutExtension("Boat.final.tif"), "Boat.final");
  EXPECT_EQ(WithoutExtension("Boat"), "Boat");
  EXPECT_EQ(WithoutExtension(".profile"), ".profile");
  EXPECT_EQ(WithoutExtension(nullptr), "");
}

TEST(ConversionPaths, AFilePathGivesItsFolderAndName) {
  ConversionPlace place{};
  ASSERT_TRUE(PlaceOfFile("C:\\Photos\\2012\\Boat.psd", &place));
  EXPECT_STREQ(place.folder, "C:\\Photos\\2012\\");
  EXPECT_STREQ(place.base, "Boat");
  EXPECT_FALSE(PlaceOfFile("Boat.psd", &place));      // no folder
  EXPECT_FALSE(PlaceOfFile("C:\\Photos\\", &place));   // no file
}

TEST(ConversionPaths, AFolderTakesTheTitleOrTheUntitledName) {
  ConversionPlace place{};
  PlaceInFolder("C:\\Users\\Public\\Pictures", "Harbour.jpg", &place);
  EXPECT_STREQ(place.folder, "C:\\Users\\Public\\Pictures\\");
  EXPECT_STREQ(place.base, "Harbour");
  PlaceInFolder("C:\\Temp\\", "", &place);
  EXPECT_STREQ(place.folder, "C:\\Temp\\");
  EXPECT_STREQ(place.base, "16bitPerChannel");
  PlaceInFolder("C:\\Temp\\", nullptr, &place);
  EXPECT_STREQ(place.base, "16bitPerChannel");
}

TEST(ConversionPaths, APathThatDoesNotFitIsRefusedNotCut) {
  ConversionPlace place{};
  PlaceInFolder("C:\\Temp", "Boat.psd", &place);
  char path[kConversionPathSize] = {};
  ASSERT_TRUE(FormatConversionPath(place, "_16bit.png", path, sizeof path));
  EXPECT_STREQ(path, "C:\\Temp\\Boat_16bit.png");
  char small[16] = {};
  EXPECT_FALSE(FormatConversionPath(place, "_16bit.png", small, sizeof small));
}

// ---- The seed image ----

std::uint32_t BigEndian(const std::uint8_t* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The CRC of PNG chunks, bit by bit (the generator uses zlib's).
std::uint32_t Crc(const std::uint8_t* p, std::size_t n) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return c ^ 0xFFFFFFFFu;
}

TEST(SeedImage, IsAOnePixelSixteenBitRgbPngWithSoundChunks) {
  const auto& png = SixteenBitSeedImage;
  ASSERT_EQ(png.size(), 89u);
  EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
  std::vector<std::string> kinds;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::uint32_t length = BigEndian(&png[at]);
    ASSERT_LE(at + 12 + length, png.size());
    const std::string kind(reinterpret_cast<const char*>(&png[at + 4]), 4);
    kinds.push_back(kind);
    EXPECT_EQ(BigEndian(&png[at + 8 + length]), Crc(&png[at + 4], 4 + length)) << kind;
    const std::uint8_t* data = &png[at + 8];
    if (kind == "IHDR") {
      ASSERT_EQ(length, 13u);
      EXPECT_EQ(BigEndian(data), 1u);       // width
      EXPECT_EQ(BigEndian(data + 4), 1u);   // height
      EXPECT_EQ(data[8], 16);               // bit depth
      EXPECT_EQ(data[9], 2);                // RGB
      EXPECT_EQ(data[12], 0);               // no interlace
    } else if (kind == "pHYs") {
      ASSERT_EQ(length, 9u);
      EXPECT_EQ(BigEndian(data), 2835u);
      EXPECT_EQ(BigEndian(data + 4), 2835u);
      EXPECT_EQ(data[8], 1);
    }
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  EXPECT_EQ(kinds, (std::vector<std::string>{"IHDR", "pHYs", "IDAT", "IEND"}));
}

// ---- Documents by title, the oldest editors, the timer ----

class DocumentStepsTest : public PluginTest {
 protected:
  void ThreeDocuments() {
    StartHost(R"({"documents": [{"title": "Boat.psd"}, {"title": "Boat"}, {"title": "Harbour.psd"}]})");
  }
};

TEST_F(DocumentStepsTest, ADocumentIsFoundByItsExactTitleAndSelectedByItsOffset) {
  ThreeDocuments();
  ASSERT_EQ(ActivateDocumentByTitle("Boat.psd"), 1);
  EXPECT_EQ(sim::ModelState()["current"], 0);
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Dcmn","offset":-2}]}]],"mode":2,"result":0})"}});
  ASSERT_EQ(ActivateDocumentByTitle("Boat"), 1);
  EXPECT_EQ(sim::ModelState()["current"], 1);
  ASSERT_EQ(ActivateDocumentByTitle("Boat"), 1);   // already current: nothing to select
  EXPECT_TRUE(Take({"play"}).size() == 1u);
}

TEST_F(DocumentStepsTest, NoMatchingTitleSelectsNothing) {
  ThreeDocuments();
  EXPECT_EQ(ActivateDocumentByTitle("boat.psd"), 0);
  EXPECT_EQ(ActivateDocumentByTitle("Harbour"), 0);
  EXPECT_EQ(ActivateDocumentByTitle(""), 0);
  EXPECT_EQ(ActivateDocumentByTitle(nullptr), 0);
  EXPECT_TRUE(Take({"play"}).empty());
  EXPECT_EQ(sim::ModelState()["current"], 2);
}

TEST_F(DocumentStepsTest, TheFileOfADocumentIsReadAsItsPath) {
  StartHost(R"({"documents": [{"title": "Boat.psd", "path": "C:\\Photos\\Boat.psd"}, {"title": "New"}]})");
  char path[kConversionPathSize] = {};
  EXPECT_FALSE(ReadDocumentFilePath(path, sizeof path));   // never saved
  EXPECT_STREQ(path, "");
  ASSERT_EQ(ActivateDocumentByTitle("Boat.psd"), 1);
  ASSERT_TRUE(ReadDocumentFilePath(path, sizeof path));
  EXPECT_STREQ(path, "C:\\Photos\\Boat.psd");
}

class QuickMaskUnitTest : public PluginTest {
 protected:
  void TearDown() override {
    ResetQuickMask();
    PluginTest::TearDown();
  }
};

// Before 4 the mode fills whatever is selected (all of it without a
// selection) and shows the composite, as the later editors do with one.
TEST_F(QuickMaskUnitTest, TheOldestEditorsFillTheChannelWhatever) {
  HostMajorVersion = 3;
  StartHost(R"({"documents": [{"title": "Old.psd"}]})");
  ASSERT_EQ(EnterQuickMask(), 0);
  const std::vector<sim::Json> plays = Take({"play"});
  ASSERT_EQ(plays.size(), 4u);
  EXPECT_EQ(plays[0]["event"], "Mk  ");
  EXPECT_EQ(plays[1]["event"], "Shw ");
  EXPECT_EQ(plays[2]["event"], "Fl  ");
  EXPECT_EQ(plays[3]["event"], "setd");
  EXPECT_EQ(sim::ModelState()["documents"][0]["channels"][0]["area"], "all");
}

// A Photoshop host has no working document: its 16-bit documents take the
// mask in place.
TEST_F(QuickMaskUnitTest, OnlyElementsGetsTheWorkingDocument) {
  HostIsElements = false;
  StartHost(R"({"documents": [{"title": "Deep.psd", "depth": 16}]})");
  ASSERT_EQ(EnterQuickMask(), 0);
  EXPECT_FALSE(SixteenBitQuickMask);
  EXPECT_EQ(sim::ModelState()["documents"].size(), 1u);
  EXPECT_EQ(sim::ModelState()["documents"][0]["quickMask"], true);
}

TEST_F(QuickMaskUnitTest, TheTimerClosesOnlyTheWorkingDocument) {
  StartHost(R"({"documents": [{"title": "Quick Mask Mode copy"}, {"title": "Quick Mask Mode"}, {"title": "Deep.psd"}]})");
  OnQuickMaskCloseTimer(nullptr);
  const sim::Json model = sim::ModelState();
  ASSERT_EQ(model["documents"].size(), 2u);
  EXPECT_EQ(model["documents"][0]["title"], "Quick Mask Mode copy");
  EXPECT_EQ(model["documents"][1]["title"], "Deep.psd");
  // The user's document is in front again.
  EXPECT_EQ(model["current"], 1);
  // Gone already: a second firing closes nothing.
  Take();
  OnQuickMaskCloseTimer(nullptr);
  EXPECT_TRUE(Take({"play"}).empty());
}

}  // namespace
