// Document, channel, file and clipboard events against the model: what they
// change, the files they write and read, and what the host refuses.
#include <windows.h>

#include <fstream>
#include <iterator>

#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

const Json kTwoDocuments = Json::parse(R"({"host":{"version":8},"documents":[
  {"title":"Small.psd","width":10,"height":10},
  {"title":"Boat.psd","width":640,"height":480,"selection":true,
   "layers":[{"name":"Background","background":true},{"name":"Sky"}]}]})");

std::string TempPath(const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Alias(const std::string& path) { return Json{{"alias", path}}.dump(); }

class ModeEvents : public HostTest {
 protected:
  void SetUp() override { StartHost(kTwoDocuments); }
  host::OSErr Play(const char* event, const std::string& descriptor) {
    host::Descriptor d = sim::NewDescriptor(sim::DescriptorFromJson(Json::parse(descriptor)));
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    return e;
  }
  std::vector<Json> Errors() { return OfKind(sim::TakeTranscript(), {"error"}); }
};

constexpr const char* kQuickMaskChannel =
    R"([["Nw  ",{"object":"Chnl","items":[["Nm  ",{"string":"Quick Mask"}],["ClrI",{"enum":["MskI","MskA"]}],)"
    R"(["Clr ",{"object":"RGBC","items":[["Rd  ",{"float":255.0}],["Grn ",{"float":0.0}],["Bl  ",{"float":0.0}]]}],["Opct",{"int":50}]]}]])";
constexpr const char* kFillWhite = R"([["Usng",{"enum":["FlCn","Wht "]}]])";
constexpr const char* kClose = R"([["Svng",{"enum":["YsN ","N   "]}]])";

TEST_F(ModeEvents, TheQuickMaskChannelTakesTheSelectionAndMarksTheDocument) {
  ASSERT_EQ(Play("Mk  ", kQuickMaskChannel), 0);
  Json doc = Document();
  EXPECT_EQ(doc["quickMask"], true);
  EXPECT_EQ(doc["targetChannels"], Json::array({"Quick Mask"}));
  EXPECT_EQ(doc["channels"][0]["area"], "none");
  ASSERT_EQ(Play("Fl  ", kFillWhite), 0);
  EXPECT_EQ(Document()["channels"][0]["area"], "selection");
  // A second channel of that name is refused.
  EXPECT_EQ(Play("Mk  ", kQuickMaskChannel), -25920);
  // Deleted, it leaves the document out of the mode.
  ASSERT_EQ(Play("Dlt ", R"([["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}]])"), 0);
  EXPECT_EQ(Document()["quickMask"], false);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(ModeEvents, AChannelGoesOnlyToADocumentOfTheSameSize) {
  ASSERT_EQ(Play("Mk  ", kQuickMaskChannel), 0);
  const std::string toSmall =
      R"([["null",{"ref":[{"class":"Chnl","name":"Quick Mask"}]}],["T   ",{"ref":[{"class":"Dcmn","name":"Small.psd"}]}],["Vrsn",{"int":2}]])";
  EXPECT_EQ(Play("Dplc", toSmall), -25920);
  ASSERT_EQ(Play("Dplc", R"([["null",{"ref":[{"class":"Dcmn","enum":["Ordn","Frst"]}]}],["Nm  ",{"string":"Copy"}]])"), 0);
  EXPECT_EQ(Document()["title"], "Copy");
  EXPECT_EQ(sim::ModelState()["current"], 2);
  EXPECT_EQ(Play("CnvM", R"([["Dpth",{"int":8}],["Mrge",{"bool":false}]])"), -25920);   // 8 bits already
  EXPECT_TRUE(Errors().empty());
}

TEST_F(ModeEvents, SavedAsTiffAndOpenedAgainTheImageComesBackAtSixteenBits) {
  const std::string path = TempPath("mode-events-boat.tif");
  DeleteFileA(path.c_str());
  ASSERT_EQ(Play("save", R"([["As  ",{"object":"TIFF","items":[["BytO",{"enum":["Pltf","IBMP"]}]]}],["In  ",)" +
                             Alias(path) + "]]"),
            0);
  ASSERT_TRUE(FileThere(path));
  const std::string open = R"([["null",)" + Alias(path) +
                           R"(],["As  ",{"object":"Adobe Camera Raw","items":[["CMod",{"string":"TIFF"}],)"
                           R"(["Sett",{"enum":["Sett","Img "]}],["BtDp",{"enum":["BtDp","BD16"]}]]}]])";
  ASSERT_EQ(Play("Opn ", open), 0);
  const Json doc = Document();
  EXPECT_EQ(doc["title"], "mode-events-boat.tif");
  EXPECT_EQ(doc["depth"], 16);
  EXPECT_EQ(doc["width"], 640);
  ASSERT_EQ(doc["layers"].size(), 2u);
  EXPECT_EQ(doc["layers"][1]["name"], "Sky");
  EXPECT_EQ(doc["selection"], false);
  DeleteFileA(path.c_str());
  // A file that is not there cannot be opened.
  EXPECT_EQ(Play("Opn ", open), -43);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(ModeEvents, APngOpensAsTheImageItHolds) {
  const std::string path = TempPath("mode-events-seed.png");
  // One white pixel, 16 bits per channel.
  static const unsigned char kPng[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
      0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x10, 0x02, 0x00, 0x00, 0x00, 0xC0, 0xE7, 0x8F, 0x9D, 0x00, 0x00, 0x00,
      0x0B, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0x0F, 0x06, 0x00, 0x14, 0xF2, 0x05, 0xFB, 0x37, 0xA9,
      0x0B, 0xB9, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(kPng), sizeof kPng);
  }
  ASSERT_EQ(Play("Opn ", R"([["null",)" + Alias(path) + "]]"), 0);
  const Json doc = Document();
  EXPECT_EQ(doc["depth"], 16);
  EXPECT_EQ(doc["width"], 1);
  EXPECT_EQ(doc["layers"][0]["pixels"], "white");
  // Cut short, the image data is no image.
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(kPng), 40);
  }
  const Json before = sim::ModelState();
  EXPECT_EQ(Play("Opn ", R"([["null",)" + Alias(path) + "]]"), -25920);
  EXPECT_EQ(sim::ModelState(), before);
  DeleteFileA(path.c_str());
}

TEST_F(ModeEvents, PasteIntoNeedsWhatWasCopiedAndASelection) {
  EXPECT_EQ(Play("PstI", R"([["AntA",{"enum":["Annt","Anno"]}]])"), -25920);   // nothing copied
  ASSERT_EQ(Play("copy", "[]"), 0);
  ASSERT_EQ(Play("Prge", R"([["null",{"enum":["PrgI","Clpb"]}]])"), 0);
  EXPECT_EQ(Play("PstI", R"([["AntA",{"enum":["Annt","Anno"]}]])"), -25920);   // purged
  ASSERT_EQ(Play("copy", "[]"), 0);
  ASSERT_EQ(Play("PstI", R"([["AntA",{"enum":["Annt","Anno"]}]])"), 0);
  const Json doc = Document();
  EXPECT_EQ(doc["layers"].size(), 3u);
  EXPECT_EQ(doc["layers"][2]["pastedFrom"], "Boat.psd");
  EXPECT_EQ(doc["selection"], false);
}

TEST_F(ModeEvents, ClosingDropsTheDocumentAndSavingNeedsAPath) {
  EXPECT_EQ(Play("Cls ", R"([["Svng",{"enum":["YsN ","Ys  "]}]])"), -25920);   // never saved
  ASSERT_EQ(Play("Cls ", kClose), 0);
  EXPECT_EQ(sim::ModelState()["documents"].size(), 1u);
  EXPECT_EQ(Document()["title"], "Small.psd");
  ASSERT_EQ(Play("Cler", R"([["null",{"ref":[{"class":"Prpr","property":"HsSt"},{"class":"Dcmn","enum":["Ordn","Trgt"]}]}]])"), 0);
  EXPECT_EQ(Document()["history"], Json::array({"Open"}));
}

// Outside the rows: the host's error, an `error` line naming the key.
TEST_F(ModeEvents, DescriptorsOutsideTheRowsAreRefused) {
  EXPECT_EQ(Play("Cls ", R"([["Svng",{"bool":false}]])"), -1700);
  EXPECT_EQ(Play("CnvS", R"([["Wdth",{"unit":"#Pxl","value":5.0}]])"), -1715);
  EXPECT_EQ(Play("Trnf", R"([["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]])"), -1715);
  const std::vector<Json> errors = Errors();
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0]["key"], "Svng");
  EXPECT_EQ(errors[1]["event"], "CnvS");
}

}  // namespace
}  // namespace simtest
