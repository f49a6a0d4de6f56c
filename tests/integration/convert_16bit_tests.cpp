// Convert to 16-Bit/Channel end to end: the image goes into a 16-bit
// document, the user's document is closed only once that one holds it, and
// no file is left behind, unless it is the only copy of the image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

constexpr int kConvert = 0x880A;

const char* const kPublic = "C:\\users\\Public\\";
const char* const kPictures = "C:\\users\\Public\\Pictures\\";

Json Boat(bool selection, bool withPath) {
  Json doc = {{"title", "Boat.psd"},
              {"width", 640},
              {"height", 480},
              {"selection", selection},
              {"layers", {{{"name", "Background"}, {"background", true}}, {{"name", "Sky"}}}}};
  if (withPath) doc["path"] = std::string(kPublic) + "Boat.psd";
  return doc;
}

Json Scenario(int version, Json documents, Json steps, Json answers = Json::object()) {
  return {{"host", {{"version", version}}}, {"documents", documents}, {"answers", answers}, {"steps", steps}};
}

// Files the command may make; none is there before a test.
class Convert16Bit : public ::testing::Test {
 protected:
  void SetUp() override { RemoveFiles(); }
  void TearDown() override { RemoveFiles(); }
  static std::vector<std::string> Candidates() {
    std::vector<std::string> files;
    for (const char* folder : {kPublic, kPictures})
      for (const char* name : {"Boat_16bit.png", "Boat_vora.tif", "Boat_16bit.tif"}) files.push_back(std::string(folder) + name);
    return files;
  }
  static void RemoveFiles() {
    for (const std::string& f : Candidates()) DeleteFileW(Widen(f).c_str());
  }
  static std::vector<std::string> FilesLeft() {
    std::vector<std::string> left;
    for (const std::string& f : Candidates())
      if (Exists(Widen(f))) left.push_back(f);
    return left;
  }
};

const Json* Titled(const Json& state, const std::string& title) {
  for (const Json& doc : state["documents"])
    if (doc["title"] == title) return &doc;
  return nullptr;
}

TEST_F(Convert16Bit, WithASelectionTheImageAndTheSelectionGoIntoTheNewDocument) {
  EditorRun run = RunEditor(Scenario(8, {{{"title", "Other.psd"}}, Boat(true, true)}, {{{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"message", "script"},
                   {{"message", R"({"title":"Quillbright"})"},   // the first run's welcome
                    {"message", R"({"title":"Convert to 16-Bit/Channel","buttons":"OKCANCEL","answer":"OK"})"},
                    {"script", R"({"text":"app.preferences.createFirstSnapshot = 0"})"},
                    {"script", R"({"text":"app.preferences.createFirstSnapshot = 1"})"}});
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 2u);
  EXPECT_TRUE(Titled(states[0], "Other.psd"));
  EXPECT_FALSE(Titled(states[0], "Boat.psd"));
  const Json* converted = Titled(states[0], "Boat_16bit.png");
  ASSERT_TRUE(converted);
  EXPECT_EQ((*converted)["depth"], 16);
  EXPECT_EQ((*converted)["width"], 640);
  EXPECT_EQ((*converted)["height"], 480);
  EXPECT_EQ((*converted)["selection"], true);
  EXPECT_EQ((*converted)["channels"], Json::array());
  // Earlier states are gone; the conversion is the one step left.
  ASSERT_EQ((*converted)["history"].size(), 2u);
  EXPECT_EQ((*converted)["history"][1], "16 Bits/Channel");
  ASSERT_EQ((*converted)["layers"].size(), 2u);
  EXPECT_EQ((*converted)["layers"][1]["pastedFrom"], "Boat.psd");
  EXPECT_EQ((*converted)["layers"][1]["merged"], Json::array({"Background", "Sky"}));
  EXPECT_EQ(states[0]["current"], 1);
  EXPECT_EQ(FilesLeft(), std::vector<std::string>());
}

TEST_F(Convert16Bit, WithoutAPathTheSeedGoesToTheSharedPicturesAndIsDeleted) {
  EditorRun run = RunEditor(Scenario(11, {Boat(false, false)}, {{{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<Json> opens;
  for (const Json& play : OfKind(run.transcript, "play"))
    if (play["event"] == "Opn ") opens.push_back(play);
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0]["descriptor"], Json::parse(R"([["null",{"alias":"C:\\users\\Public\\Pictures\\Boat_16bit.png"}]])"));
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  EXPECT_EQ(states[0]["documents"][0]["title"], "Boat_16bit.png");
  EXPECT_EQ(states[0]["documents"][0]["selection"], false);
  // The seed decoded as the white pixel it is, under the image.
  EXPECT_EQ(states[0]["documents"][0]["layers"][0]["pixels"], "white");
  EXPECT_EQ(states[0]["documents"][0]["layers"][1]["pastedFrom"], "Boat.psd");
  EXPECT_EQ(FilesLeft(), std::vector<std::string>());
}

TEST_F(Convert16Bit, CancelledNothingIsPlayed) {
  EditorRun run = RunEditor(Scenario(8, {Boat(true, true)}, {{{"command", kConvert}}}, {{"messages", {"OK", "Cancel"}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(OfKind(run.transcript, "play").empty());
}

// A user's file of the seed's name beside the document is not written over:
// the seed goes to the temporary folder.
TEST_F(Convert16Bit, AUsersFileOfTheSeedsNameIsKept) {
  Json scenario = Scenario(8, {Boat(false, true)}, {{{"command", kConvert}}, {{"state", true}}});
  scenario["files"] = {{std::string(kPublic) + "Boat_16bit.png", "mine"}};
  EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_EQ(ReadBytes(Widen(std::string(kPublic) + "Boat_16bit.png")), "mine");
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  EXPECT_EQ(states[0]["documents"][0]["depth"], 16);
}

// The open fails: the conversion's step is dropped and the user's document
// is as it was; the seed is gone all the same.
TEST_F(Convert16Bit, PngRouteAFailedOpenKeepsTheUsersDocument) {
  EditorRun run = RunEditor(Scenario(8, {Boat(false, true)},
                                     {{{"faults", {{{"event", "Opn "}}}}}, {{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  for (const Json& play : OfKind(run.transcript, "play")) EXPECT_NE(play["event"], "Cls ") << play.dump();
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  const Json& doc = states[0]["documents"][0];
  EXPECT_EQ(doc["title"], "Boat.psd");
  EXPECT_EQ(doc["layers"].size(), 2u);
  EXPECT_EQ(doc["history"], Json::array({"Open"}));
  EXPECT_EQ(FilesLeft(), std::vector<std::string>());
}

// The paste fails: the new document does not hold the image, so the user's
// stays open, as it was, and the new one goes with the dropped step.
TEST_F(Convert16Bit, PngRouteAFailedPasteKeepsTheUsersDocument) {
  EditorRun run = RunEditor(Scenario(8, {Boat(true, true)},
                                     {{{"faults", {{{"event", "PstI"}}}}}, {{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  const Json* boat = Titled(states[0], "Boat.psd");
  ASSERT_TRUE(boat);
  EXPECT_EQ((*boat)["layers"].size(), 2u);
  EXPECT_EQ((*boat)["selection"], true);
  EXPECT_EQ((*boat)["channels"], Json::array());
  EXPECT_EQ(FilesLeft(), std::vector<std::string>());
}

// Editors 6 and 7: saved as TIFF, renamed and opened at 16 bits; the file is
// deleted once the new document holds the image.
TEST_F(Convert16Bit, TiffRouteOpensTheSavedImageAtSixteenBits) {
  EditorRun run = RunEditor(Scenario(7, {Boat(true, true)}, {{{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ExpectTranscript(run.transcript, {"play"},
                   {{"play", R"({"event":"FltI","result":0})"},
                    {"play", R"({"event":"save","descriptor":[["As  ",{"object":"TIFF","items":[["BytO",{"enum":["Pltf","IBMP"]}]]}],["In  ",{"alias":"C:\\users\\Public\\Boat_vora.tif"}]],"result":0})"},
                    {"play", R"({"event":"Dplc","result":0})"},
                    {"play", R"({"event":"Opn ","descriptor":[["null",{"alias":"C:\\users\\Public\\Boat_16bit.tif"}],["As  ",{"object":"Adobe Camera Raw","items":[["CMod",{"string":"TIFF"}],["Sett",{"enum":["Sett","Img "]}],["BtDp",{"enum":["BtDp","BD16"]}]]}]],"result":0})"},
                    {"play", R"({"event":"slct","result":0})"},
                    {"play", R"({"event":"Dplc","result":0})"},
                    {"play", R"({"event":"Cls ","result":0})"},
                    {"play", R"({"event":"setd","result":0})"},
                    {"play", R"({"event":"slct","result":0})"},
                    {"play", R"({"event":"Dlt ","result":0})"}});
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  const Json& doc = states[0]["documents"][0];
  EXPECT_EQ(doc["title"], "Boat_16bit.tif");
  EXPECT_EQ(doc["depth"], 16);
  EXPECT_EQ(doc["selection"], true);
  EXPECT_EQ(doc["layers"][0]["merged"], Json::array({"Background", "Sky"}));
  EXPECT_EQ(FilesLeft(), std::vector<std::string>());
}

// The open fails: the saved TIFF is the image, so it stays and the user is
// told where; the user's document is not closed.
TEST_F(Convert16Bit, TiffRouteAFailedOpenKeepsTheFileAndTheDocument) {
  EditorRun run = RunEditor(Scenario(7, {Boat(false, true)},
                                     {{{"faults", {{{"event", "Opn "}}}}}, {{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> messages = OfKind(run.transcript, "message");
  // The welcome, the question, and where the image is.
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2]["title"], "Convert to 16-Bit/Channel");
  EXPECT_NE(messages[2]["text"].get<std::string>().find("C:\\users\\Public\\Boat_16bit.tif"), std::string::npos);
  for (const Json& play : OfKind(run.transcript, "play")) EXPECT_NE(play["event"], "Cls ") << play.dump();
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  ASSERT_EQ(states[0]["documents"].size(), 1u);
  EXPECT_EQ(states[0]["documents"][0]["title"], "Boat.psd");
  EXPECT_EQ(FilesLeft(), std::vector<std::string>({std::string(kPublic) + "Boat_16bit.tif"}));
  // The kept file is the image itself.
  EXPECT_NE(ReadBytes(Widen(std::string(kPublic) + "Boat_16bit.tif")).find("\"Sky\""), std::string::npos);
}

// The save beside the document fails: the temporary folder is used, and its
// file is deleted at the end.
TEST_F(Convert16Bit, TiffRouteAFailedSaveTriesTheTemporaryFolder) {
  EditorRun run = RunEditor(Scenario(6, {Boat(false, true)},
                                     {{{"faults", {{{"event", "save"}}}}}, {{"command", kConvert}}, {{"state", true}}}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  std::vector<std::string> saved;
  for (const Json& play : OfKind(run.transcript, "play"))
    if (play["event"] == "save") saved.push_back(play["descriptor"][1][1]["alias"]);
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0], std::string(kPublic) + "Boat_vora.tif");
  EXPECT_NE(saved[1], saved[0]);
  EXPECT_NE(saved[1].find("Boat_vora.tif"), std::string::npos);
  EXPECT_FALSE(Exists(Widen(saved[1].substr(0, saved[1].size() - 8) + "16bit.tif")));
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0]["documents"][0]["depth"], 16);
  EXPECT_EQ(FilesLeft(), std::vector<std::string>());
}

}  // namespace
}  // namespace integration
