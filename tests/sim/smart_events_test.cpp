// Smart-object and smart-filter events against the document model: files
// written whole and read back, layers between documents, smart filters
// copied, and what the host refuses.
#include <windows.h>

#include <string>

#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

const Json kScenario = Json::parse(R"({"host":{"version":8},"documents":[{
  "title":"Garden.psd",
  "layers":[{"name":"Background","background":true},
            {"name":"Leaf"},
            {"name":"Smart","kind":"smartObject","smartFilters":[{"name":"Blur"},{"name":"Wind"}]},
            {"name":"Plain smart","kind":"smartObject","smartFilters":[{"name":"Median"}]}],
  "target":[1]}]})");

std::string TemporaryPath(const char* name) {
  char folder[MAX_PATH + 1] = {};
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class SmartEvents : public HostTest {
 protected:
  void SetUp() override { StartHost(kScenario); }

  host::OSErr Play(const char* event, const Json& descriptor) {
    host::Descriptor d = sim::NewDescriptor(sim::DescriptorFromJson(descriptor));
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, sim::IdFromText(event), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    return e;
  }
  host::OSErr SaveAs(const std::string& path) {
    Json d = Json::parse(R"([["As  ",{"object":"Pht3","items":[["maximizeCompatibility",{"bool":false}]]}],["In  ",{"alias":""}]])");
    d[1][1]["alias"] = path;
    return Play("save", d);
  }
  host::OSErr Select(int index) {
    return Play("slct", Json::array({Json::array({"null", {{"ref", {{{"class", "Lyr "}, {"index", index}}}}}})}));
  }
  static Json OpenAsSmartObject(const std::string& path) {
    Json d = Json::parse(R"([["null",{"alias":""}],["smartObject",{"bool":true}]])");
    d[0][1]["alias"] = path;
    return d;
  }
  size_t Documents() { return sim::State().model.documents.size(); }
};

// The layer alone in a new document, saved, opened again as a smart object
// and copied back: the smart object holds the layer and lands above the
// target layer of the document it goes to.
TEST_F(SmartEvents, ALayerGoesThroughAFileIntoASmartObjectAndBack) {
  const std::string path = TemporaryPath("Leaf check.psd");
  DeleteFileA(path.c_str());
  ASSERT_EQ(Play("Mk  ", Json::parse(R"([["null",{"ref":[{"class":"Dcmn"}]}],["Nm  ",{"string":"Leaf check.psd"}],)"
                                      R"(["Usng",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}]])")),
            0);
  ASSERT_EQ(Documents(), 2u);
  EXPECT_EQ(Document()["layers"].size(), 1u);
  EXPECT_EQ(Document()["layers"][0]["name"], "Leaf");
  ASSERT_EQ(SaveAs(path), 0);
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(path + ".partial"));
  ASSERT_EQ(Play("Cls ", Json::parse(R"([["Svng",{"enum":["YsN ","N   "]}]])")), 0);
  ASSERT_EQ(Play("Opn ", OpenAsSmartObject(path)), 0);
  const Json opened = Document();
  ASSERT_EQ(opened["layers"].size(), 1u);
  EXPECT_EQ(opened["layers"][0]["kind"], "smartObject");
  EXPECT_EQ(opened["layers"][0]["name"], "Leaf check");
  EXPECT_EQ(opened["layers"][0]["contents"][0]["name"], "Leaf");
  ASSERT_EQ(Play("Dplc", Json::parse(R"([["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],)"
                                      R"(["T   ",{"ref":[{"class":"Dcmn","name":"Garden.psd"}]}],["Vrsn",{"int":2}]])")),
            0);
  const Json garden = Document(0);
  ASSERT_EQ(garden["layers"].size(), 5u);
  EXPECT_EQ(garden["layers"][2]["name"], "Leaf check");
  EXPECT_EQ(garden["target"], Json::array({2}));
  DeleteFileA(path.c_str());
}

TEST_F(SmartEvents, ASaveTheFileSystemCannotTakeWritesNothing) {
  const std::string path = TemporaryPath("Leaf: 1.psd");
  EXPECT_EQ(SaveAs(path), -43);
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(FileExists(path + ".partial"));
  // Opening what is not there, or what the host did not write, fails.
  EXPECT_EQ(Play("Opn ", OpenAsSmartObject(TemporaryPath("missing.psd"))), -43);
  EXPECT_EQ(Documents(), 1u);
}

// A copied filter becomes the destination's filter of index 1; only smart
// objects take filters, and only filters that exist are copied.
TEST_F(SmartEvents, ACopiedSmartFilterComesFirstOnTheLayerItGoesTo) {
  ASSERT_EQ(Select(2), 0);
  const auto copy = [&](int from, int toLayer) {
    return Play("Dplc", Json::array({Json::array({"null", {{"ref", {{{"class", "filterFX"}, {"index", from}},
                                                                    {{"class", "Lyr "}, {"enum", {"Ordn", "Trgt"}}}}}}}),
                                     Json::array({"T   ", {{"ref", {{{"class", "filterFX"}, {"index", 1}},
                                                                    {{"class", "Lyr "}, {"index", toLayer}}}}}})}));
  };
  ASSERT_EQ(copy(2, 3), 0);
  const Json filters = Document()["layers"][3]["smartFilters"];
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0]["name"], "Wind");
  EXPECT_EQ(filters[1]["name"], "Median");
  EXPECT_EQ(copy(3, 3), -1728) << "no filter of index 3";
  EXPECT_EQ(copy(1, 1), -25920) << "a pixel layer takes no smart filter";
  ASSERT_EQ(Select(1), 0);
  EXPECT_EQ(Play("placedLayerMakeCopy", Json::array()), -25920);
}

}  // namespace
}  // namespace simtest
