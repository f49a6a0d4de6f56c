// Commands as the user starts them: one identifier in, the host's events out,
// named steps where the command is one step of the history.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands/channels.h"
#include "commands/dispatcher.h"
#include "commands/script_files.h"
#include "entry/module_state.h"
#include "localization/dictionary.h"
#include "localization_support.h"
#include "menus/command_table.h"
#include "menus/menu_insertion.h"
#include "menus/module_menus.h"
#include "modes/script_bridge.h"
#include "plugin_fixture.h"

namespace {

constexpr std::uint32_t Id(std::size_t row) { return std::uint32_t(CommandId(row)); }

class DispatcherTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    LoadHostDictionaryFrom(host_.path().c_str());  // none there: English defaults
    UseVersion(8);
    InstallCommandDispatcher();
  }
  void TearDown() override {
    FreeHostDictionary();
    CommandTable = InitialCommandTable;
    ResetChannelChoice();
    PluginTest::TearDown();
  }
  static void UseVersion(int version) {
    HostMajorVersion = version;
    CommandTable = InitialCommandTable;
    AdjustCommandTable();
    BuildMenuLabels();
  }
  // One document whose layers are given, the top one targeted.
  void Layers(const std::string& layers, const std::string& extra = "") {
    StartHost((R"({"documents": [{"title": "a.psd", "layers": [)" + layers + "]" + extra + "}]" +
               (answers_.empty() ? "" : R"(, "answers": {"messages": [)" + answers_ + "]}") + "}")
                  .c_str());
  }
  sim::Json TopLayer() { return sim::ModelState()["documents"][0]["layers"].back(); }

  TempFolder host_;
  std::string answers_;
};

constexpr const char* kBackground = R"({"name": "Background", "background": true})";

TEST_F(DispatcherTest, ApplyingTheLayerMaskIsOneStepNamedAfterItsItem) {
  Layers(std::string(kBackground) + R"(, {"name": "Masked", "userMask": {"enabled": true, "linked": true}})");
  DispatchCommand(Id(64));
  ExpectLines(Take({"step-begin", "play", "step-end"}),
              {{R"({"kind":"step-begin","name":"Apply"})"},
               {R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Msk "]}]}],["MkVs",{"bool":false}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"Dlt ","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Ordn","Trgt"]}]}],["Aply",{"bool":true}]],"mode":2,"result":0})"},
               {R"({"kind":"step-end","name":"Apply","result":0,"kept":true})"}});
  EXPECT_TRUE(TopLayer()["userMask"].is_null());
}

TEST_F(DispatcherTest, NamedCommandsRunTheFirstNameTheyBeginWith) {
  UseVersion(9);
  Layers(std::string(kBackground) + R"(, {"name": "Plain"})");
  EXPECT_EQ(RunNamedCommand("Mask Hide All (from the panel)"), 0);
  const auto made = Take({"play"});
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0]["event"], "Mk  ");
  EXPECT_EQ(sim::ToText(made[0]["descriptor"]).find("HdAl") != std::string::npos, true);

  // A name nothing begins with, and work the module cannot do, drop the step.
  EXPECT_EQ(RunNamedCommand("Something Else"), host::kInterruptedError);
  EXPECT_EQ(RunNamedCommand("Fade"), host::kInterruptedError);
  EXPECT_EQ(RunNamedCommand(nullptr), host::kInterruptedError);
  EXPECT_TRUE(Take({"play"}).empty());
}

TEST_F(DispatcherTest, AMaskTheHostRefusesLeavesNoStep) {
  // The layer has a mask already: the host makes no second one.
  constexpr const char* kMasked = R"(, {"name": "Masked", "userMask": {"enabled": true, "linked": true}})";
  for (int version : {8, 9}) {
    UseVersion(version);
    for (std::size_t row = 58; row <= 61; ++row) {
      SCOPED_TRACE("version " + std::to_string(version) + ", row " + std::to_string(row));
      Layers(std::string(kBackground) + kMasked, R"(, "selection": true)");
      const sim::Json before = sim::ModelState();
      DispatchCommand(Id(row));
      const auto end = Take({"step-end"});
      ASSERT_EQ(end.size(), 1u);
      EXPECT_EQ(end[0]["result"], host::kInterruptedError);
      EXPECT_EQ(end[0]["kept"], false);
      EXPECT_EQ(sim::ModelState(), before);
    }
  }
}

TEST_F(DispatcherTest, DeleteAndApplyOnALayerWithoutAMaskLeaveNoStep) {
  for (std::size_t row : {63u, 64u}) {
    SCOPED_TRACE(row);
    Layers(std::string(kBackground) + R"(, {"name": "Plain"})");
    const sim::Json before = sim::ModelState();
    DispatchCommand(Id(row));
    const auto end = Take({"step-end"});
    ASSERT_EQ(end.size(), 1u);
    EXPECT_EQ(end[0]["kept"], false);
    EXPECT_EQ(sim::ModelState(), before);
  }
}

TEST_F(DispatcherTest, EveryNamedCommandRunsItsOwnWork) {
  // Each name, and each with something after it, finds itself and not a
  // shorter name it begins with or a name tried before it.
  for (const char* name :
       {"Fade", "Fill", "Tracking", "Edit Smart Filters", "Mask Reveal All", "Mask Hide All", "Mask Reveal Selection",
        "Mask Hide Selection", "Mask Delete", "Mask Apply", "Mask Disable", "Mask Unlink", "Vector Mask From Selection",
        "Vector Mask From Shape", "Store Group", "Restore Group", "Create New Group", "Create Smart Object",
        "Disable Smart Filters", "Enable Smart Filters", "Clear Filter Mask", "Ungroup Layers", "Start Quick Mask",
        "End Quick Mask", "Exposure", "Vibrance", "Black & White", "AdjustmentFilter Curves",
        "AdjustmentFilter ChannelMixer", "AdjustmentFilter ColorBalance", "AdjustmentFilter SelectiveColor",
        "AdjustmentFilter Black & White", "AdjustmentFilter Exposure", "AdjustmentFilter Vibrance", "Edit Curves",
        "Edit ChannelMixer", "Edit ColorBalance", "Edit SelectiveColor", "Edit Black & White", "Edit Exposure",
        "Edit Vibrance"}) {
    EXPECT_EQ(NamedCommandOf(name), name);
    EXPECT_EQ(NamedCommandOf((std::string(name) + " 2").c_str()), name);
  }
  EXPECT_EQ(NamedCommandOf("Edit"), "");
  EXPECT_EQ(NamedCommandOf("Edit Levels"), "");
  EXPECT_EQ(NamedCommandOf(nullptr), "");
}

TEST_F(DispatcherTest, IdentifiersOutsideTheCommandsDoNothing) {
  Layers(kBackground);
  for (std::uint32_t id : {0u, 0x85FFu, 0x8600u, 0x8700u, 0x8874u, 0x8900u, 0x8A00u, Id(2), Id(57)})
    EXPECT_EQ(DispatchCommand(id), 0);
  EXPECT_TRUE(Take({"play", "step-begin", "message"}).empty());
}

TEST_F(DispatcherTest, CurvesOnASmartObjectAsksToSimplifyFirst) {
  answers_ = R"("Cancel", "OK")";
  Layers(std::string(kBackground) + R"(, {"name": "Smart", "kind": "smartObject"})");
  DispatchCommand(Id(24));  // Cancel: nothing happens
  EXPECT_TRUE(Take({"play"}).empty());
  EXPECT_EQ(TopLayer()["kind"], "smartObject");

  DispatchCommand(Id(24));  // OK: simplified, then the host's Curves
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"rasterizeLayer","descriptor":[["null",{"ref":[{"class":"Lyr ","enum":["Ordn","Trgt"]}]}],["What",{"enum":["rasterizeItem","placed"]}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"Crvs","descriptor":[],"mode":1,"result":0})"}});
  EXPECT_EQ(TopLayer().value("kind", "pixel"), "pixel");
}

TEST_F(DispatcherTest, ChannelMixerOpensOnTheIdentityMix) {
  Layers(kBackground);
  DispatchCommand(Id(26));
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"ChnM","descriptor":[["presetKind",{"enum":["presetKindType","presetKindDefault"]}],["Rd  ",{"object":"ChMx","items":[["Rd  ",{"unit":"#Prc","value":100.0}]]}],["Grn ",{"object":"ChMx","items":[["Grn ",{"unit":"#Prc","value":100.0}]]}],["Bl  ",{"object":"ChMx","items":[["Bl  ",{"unit":"#Prc","value":100.0}]]}]],"mode":1,"result":0})"}});
}

TEST_F(DispatcherTest, ChannelPairsAreTargetedAndRemembered) {
  Layers(kBackground);
  DispatchCommand(Id(20));  // Red + Blue
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","Rd  "]}]}]],"mode":2,"result":0})"},
               {R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","Bl  "]}]}],["Extd",{"bool":true}]],"mode":2,"result":0})"}});
  EXPECT_EQ(LastChannelChoice, 5);
  EXPECT_EQ(GetChannelMask(false), kRedBit | kBlueBit);
  EXPECT_EQ(GetChannelMask(true), kRedBit | kBlueBit);
}

TEST_F(DispatcherTest, ShowAllTwiceReturnsToTheChannelChosenBefore) {
  Layers(kBackground);
  DispatchCommand(Id(17));  // Green
  EXPECT_EQ(GetChannelMask(true), kGreenBit);
  Take();

  DispatchCommand(Id(22));  // Show All: the colour channels come into view
  ExpectLines(Take({"play"}),
              {{R"({"kind":"play","event":"Shw ","descriptor":[["null",{"list":[{"ref":[{"class":"Chnl","enum":["Chnl","Rd  "]}]},{"ref":[{"class":"Chnl","enum":["Chnl","Grn "]}]},{"ref":[{"class":"Chnl","enum":["Chnl","Bl  "]}]}]}]],"mode":2,"result":0})"}});
  EXPECT_TRUE(ShowAllChannels);
  EXPECT_EQ(GetChannelMask(true), kAllColorBits);
  EXPECT_EQ(GetChannelMask(false), kGreenBit);

  DispatchCommand(Id(22));  // and off again: green alone
  EXPECT_FALSE(ShowAllChannels);
  EXPECT_EQ(GetChannelMask(true), kGreenBit);
  EXPECT_EQ(LastChannelChoice, 2);
}

// A failing read or select is not taken for another channel choice.
TEST_F(DispatcherTest, AChannelThatCannotBeReadOrTargetedChoosesNothingElse) {
  StartHost(R"({"documents": [{"layers": [{"name": "Background", "background": true}]}],
                "faults": [{"suite": "list", "call": "GetReference", "nth": 2}]})");
  EXPECT_EQ(GetChannelMask(false), 0u);   // not red and blue
  EXPECT_EQ(GetChannelMask(false), kAllColorBits);

  StartHost(R"({"documents": [{"layers": [{"name": "Background", "background": true}]}],
                "faults": [{"event": "slct"}]})");
  DispatchCommand(Id(20));  // Red + Blue: red refused, so blue does not extend the colour channels
  EXPECT_EQ(Take({"play"}).size(), 1u);
  EXPECT_EQ(GetChannelMask(false), kAllColorBits);

  // Show All with the targets unreadable does not bring back the last pair.
  StartHost(R"({"documents": [{"layers": [{"name": "Background", "background": true}]}]})");
  DispatchCommand(Id(21));  // Green + Blue
  DispatchCommand(Id(15));  // RGB
  sim::ArmFaults(sim::Json::parse(R"([{"suite": "list", "call": "GetReference", "nth": 4}])"));
  Take();
  DispatchCommand(Id(22));  // the visible list read, then the targets' first channel fails
  EXPECT_TRUE(Take({"play"}).empty());
  EXPECT_EQ(GetChannelMask(false), kAllColorBits);
}

// A pair whose second channel is refused puts back what was targeted, not
// the first channel alone; a restore that fails too goes no further.
TEST_F(DispatcherTest, APairThatCannotBeCompletedLeavesTheTargetsAsTheyWere) {
  constexpr const char* kSelect = R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl",")";
  const auto select = [&](const char* channel, bool extend, int result = 0) {
    return std::string(kSelect) + channel + R"("]}]}])" + (extend ? R"(,["Extd",{"bool":true}])" : "") +
           R"(],"mode":2,"result":)" + std::to_string(result) + "}";
  };
  struct Case {
    const char* targets;
    std::vector<std::string> restore;
  };
  for (const Case& c : {Case{R"(["Rd  ", "Grn ", "Bl  "])", {select("Rd  ", false), select("Grn ", true), select("Bl  ", true)}},
                        Case{R"(["Grn "])", {select("Grn ", false)}}}) {
    SCOPED_TRACE(c.targets);
    Layers(kBackground, std::string(R"(, "targetChannels": )") + c.targets + R"(, "visibleChannels": )" + c.targets);
    const sim::Json before = sim::ModelState();
    sim::ArmFaults(sim::Json::parse(R"([{"event": "slct", "nth": 2}])"));
    DispatchCommand(Id(20));  // Red + Blue
    EXPECT_EQ(sim::ModelState(), before);
    std::vector<std::string> plays;
    for (const sim::Json& line : Take({"play"})) plays.push_back(line.dump());
    std::vector<std::string> expected = {select("Rd  ", false), select("Bl  ", true, -25920)};
    expected.insert(expected.end(), c.restore.begin(), c.restore.end());
    EXPECT_EQ(plays, expected);
  }

  Layers(kBackground);
  sim::ArmFaults(sim::Json::parse(R"([{"event": "slct", "nth": 2}, {"event": "slct", "nth": 4}])"));
  DispatchCommand(Id(21));  // Green + Blue, then red back, green refused
  EXPECT_EQ(Take({"play"}).size(), 4u);
  EXPECT_EQ(GetChannelMask(false), kRedBit);
}

TEST_F(DispatcherTest, ImageMenuChecksTheTargetedChannels) {
  Layers(kBackground, R"(, "targetChannels": ["Grn ", "Bl  "])");
  CreateModuleMenus();
  HMENU image = CreatePopupMenu();
  AppendMenuA(image, MF_STRING, 2990, "Mode");
  for (int k = 1; k < 14; ++k) AppendMenuA(image, MF_STRING, UINT_PTR(3000 + k), "Host");
  UpdatePopupMenu(image);
  HMENU channels = ModuleSubmenus[kChannelsMenu];
  for (std::size_t row = 15; row <= 22; ++row) {
    const UINT state = GetMenuState(channels, Id(row), MF_BYCOMMAND);
    ASSERT_NE(state, UINT(-1)) << "row " << row;
    // Green + Blue is checked, and Show All: every colour channel is visible.
    EXPECT_EQ((state & MF_CHECKED) != 0, row == 21 || row == 22) << "row " << row;
  }
  RemoveMenu(image, Id(14), MF_BYCOMMAND);
  DestroyMenu(image);
  DestroyModuleMenus();
}

TEST_F(DispatcherTest, SmartFilterToggleReadsAsWhatItWillDo) {
  Layers(std::string(kBackground) +
         R"(, {"name": "Smart", "kind": "smartObject", "smartFilters": [{"name": "Blur", "enabled": false}]})");
  CreateModuleMenus();
  HMENU layer = CreatePopupMenu();
  AppendMenuA(layer, MF_STRING, 2400, "New");
  for (int k = 1; k < 30; ++k) AppendMenuA(layer, MF_STRING, UINT_PTR(3000 + k), "Host");
  UpdatePopupMenu(layer);
  EXPECT_STREQ(MenuLabels[44], "Enable Smart Filters");

  Layers(std::string(kBackground) +
         R"(, {"name": "Smart", "kind": "smartObject", "smartFilters": [{"name": "Blur", "enabled": true}]})");
  UpdatePopupMenu(layer);
  EXPECT_STREQ(MenuLabels[44], "Disable Smart Filters");
  for (int i = GetMenuItemCount(layer) - 1; i >= 0; --i)
    if (GetSubMenu(layer, i)) RemoveMenu(layer, UINT(i), MF_BYPOSITION);
  DestroyMenu(layer);
  DestroyModuleMenus();
}

TEST_F(DispatcherTest, VectorMaskStepsAreNamedAfterTheSubmenuAndTheItem) {
  UseVersion(9);
  Layers(std::string(kBackground) + R"(, {"name": "Plain"})", R"(, "selection": true)");
  DispatchCommand(Id(69));
  const auto steps = Take({"step-begin", "step-end"});
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0]["name"], std::string(MenuLabels[68]) + " " + MenuLabels[69]);
  EXPECT_EQ(steps[1]["kept"], true);
  EXPECT_TRUE(TopLayer()["vectorMask"].is_object());
}

// The mask from transparency and the selection from the layer mask are one
// step each, named after the item, and a part that fails drops all of it.
TEST_F(DispatcherTest, TransparencyMaskAndMaskSelectionLandWholeOrNotAtAll) {
  const std::string plain = std::string(kBackground) + R"(, {"name": "Plain"})";
  const std::string masked = std::string(kBackground) + R"(, {"name": "Masked", "userMask": {"enabled": true, "linked": true}})";
  struct Case {
    int version;
    std::size_t row;
    const std::string& layers;
    const char* failing;
  };
  for (const Case& c : {Case{8, 62, plain, R"({"event": "Mk  "})"}, Case{9, 67, plain, R"({"event": "Mk  "})"},
                        Case{9, 67, plain, R"({"event": "setd", "nth": 2})"},
                        Case{8, 104, masked, R"({"event": "Intr"})"}}) {
    SCOPED_TRACE("version " + std::to_string(c.version) + ", row " + std::to_string(c.row) + ", " + c.failing);
    UseVersion(c.version);
    Layers(c.layers, R"(, "selection": true, "selectionArea": "old")");
    const sim::Json before = sim::ModelState();
    DispatchCommand(Id(c.row));
    auto steps = Take({"step-begin", "step-end"});
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0]["name"], MenuLabels[c.row]);
    EXPECT_EQ(steps[1]["kept"], true);
    EXPECT_NE(sim::ModelState(), before);
    EXPECT_EQ(sim::ModelState()["documents"][0]["history"].back(), MenuLabels[c.row]);

    Layers(c.layers, R"(, "selection": true, "selectionArea": "old")");
    sim::ArmFaults(sim::Json::parse(std::string("[") + c.failing + "]"));
    DispatchCommand(Id(c.row));
    steps = Take({"step-end"});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0]["kept"], false);
    EXPECT_EQ(sim::ModelState(), before);
  }
}

TEST(ScriptFiles, ReadWithoutByteOrderMarkAndNothingForMissingFiles) {
  TempFolder folder;
  WriteBytes(folder / "bom.jsx", "\xEF\xBB\xBF" "alert(1);");
  WriteBytes(folder / "plain.jsx", "alert(2);");
  WriteBytes(folder / "empty.jsx", "");
  // A first byte 0xEF that is not a byte-order mark is text and stays.
  WriteBytes(folder / "latin.jsx", "\xEF");
  EXPECT_EQ(ReadScriptFile((folder / "bom.jsx").c_str()), "alert(1);");
  EXPECT_EQ(ReadScriptFile((folder / "plain.jsx").c_str()), "alert(2);");
  EXPECT_EQ(ReadScriptFile((folder / "empty.jsx").c_str()), "");
  EXPECT_EQ(ReadScriptFile((folder / "latin.jsx").c_str()), "\xEF");
  EXPECT_FALSE(ReadScriptFile((folder / "gone.jsx").c_str()).has_value());
  EXPECT_FALSE(ReadScriptFile(folder.path().c_str()).has_value());  // a folder
  EXPECT_FALSE(ReadScriptFile(nullptr).has_value());

  // Refused by its size alone: a file that large is not a script, and its
  // text would not fit the host's address space.
  {
    std::FILE* huge = std::fopen((folder / "huge.jsx").c_str(), "wb");
    ASSERT_NE(huge, nullptr);
    ASSERT_EQ(std::fseek(huge, kScriptFileLimit, SEEK_SET), 0);
    std::fputc(';', huge);
    std::fclose(huge);
    EXPECT_FALSE(ReadScriptFile((folder / "huge.jsx").c_str()).has_value());
  }

  EXPECT_EQ(ScriptChooserFolder("C:\\Scripts\\a.jsx", "D:\\Here"), "C:\\Scripts");
  EXPECT_EQ(ScriptChooserFolder("", "D:\\Here"), "D:\\Here");
}

}  // namespace

namespace {

// A stand-in for the editor's main window that keeps the commands it gets.
std::vector<WPARAM> gHostCommands;
LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) gHostCommands.push_back(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(DispatcherTest, BrowseInOrganizerFallsBackToTheEditorsOwnCommand) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordCommands;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "DispatcherTestMain";
  RegisterClassA(&windowClass);
  HWND main = CreateWindowA("DispatcherTestMain", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
  ASSERT_NE(main, nullptr);
  MainWindow = main;
  // No Organizer beside this program: the editor's own command instead,
  // which moved in version 9.
  for (int version : {8, 9, 10}) {
    gHostCommands.clear();
    HostMajorVersion = version;
    DispatchCommand(Id(0));
    ASSERT_EQ(gHostCommands.size(), 1u) << "version " << version;
    EXPECT_EQ(gHostCommands[0], version == 9 ? WPARAM(61441) : WPARAM(16229)) << "version " << version;
  }
  // Photoshop has no Organizer to fall back from.
  HostIsElements = false;
  EXPECT_FALSE(StartOrganizer());
  HostIsElements = true;
  MainWindow = nullptr;
  DestroyWindow(main);
  UnregisterClassA("DispatcherTestMain", windowClass.hInstance);
}

}  // namespace

namespace {

TEST_F(DispatcherTest, ScriptsRunThroughTheHostsEngineInUnicode) {
  Layers(kBackground);
  EXPECT_TRUE(RunJavaScript("app.name; // \xE4", true, false));
  ExpectLines(Take({"script"}), {{R"({"kind":"script","text":"app.name; // ä","result":0})"}});
  EXPECT_FALSE(RunJavaScript(nullptr, true, false));
}

}  // namespace
