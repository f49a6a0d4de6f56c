// The entry point's selectors, the notifier and the module's message boxes.
#include <string>

#include "entry/entry_point.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "plugin_fixture.h"

namespace {

// A document whose target layer is a smart object with a filter mask.
constexpr const char* kSmartFilterDocument = R"({
  "documents": [{"title": "a.psd", "layers": [
    {"name": "Background", "kind": "pixel", "background": true},
    {"name": "Smart", "kind": "smartObject", "filterMask": {"enabled": true},
     "smartFilters": [{"name": "Gaussian Blur", "enabled": true}]}]}]
})";

// Selecting the filter mask of the target layer after a host event.
constexpr ExpectedLine kSelectFilterMask = {
    R"({"kind":"play","event":"slct","descriptor":[["null",{"ref":[{"class":"Chnl","enum":["Chnl","filterMask"]}]}],["MkVs",{"bool":false}]],"mode":2,"result":0})"};

TEST_F(PluginTest, StartupRegistersOneNotifierAndShutdownRemovesIt) {
  EXPECT_EQ(Interface("Startup"), 0);
  EXPECT_EQ(Interface("Startup"), 0);
  EXPECT_EQ(Interface("Shutdown"), 0);
  sim::ReportLeaks();
  ExpectLines(Take({"notifier", "leak", "play"}),
              {{R"({"kind":"notifier","op":"add","event":"All "})"},
               {R"({"kind":"notifier","op":"remove","event":"All "})"}});
  EXPECT_EQ(sim::NotifierCount(), 0u);
}

TEST_F(PluginTest, ShutdownWithoutRegistrationStillSucceeds) {
  EXPECT_EQ(Interface("Shutdown"), 0);
  EXPECT_TRUE(Take({"notifier", "play", "message"}).empty());
}

TEST_F(PluginTest, UnknownSelectorsAndCallersAreIgnored) {
  EXPECT_EQ(Interface("Reload"), 0);
  EXPECT_EQ(Call("SP Access", "Startup"), 0);
  EXPECT_EQ(Call("PS Photoshop", "About"), 0);
  EXPECT_TRUE(Take().empty());
}

TEST_F(PluginTest, FirstEventOnlyStartsTheModuleLaterSelectionsPickTheFilterMask) {
  StartHost(kSmartFilterDocument);
  Interface("Startup");
  Take();
  sim::NotifyEvent("slct");  // start-up, nothing else
  EXPECT_EQ(StartupDone, 1);
  EXPECT_TRUE(Take({"play"}).empty());

  sim::NotifyEvent("slct");
  sim::NotifyEvent("Opn ");
  sim::NotifyEvent("Mk  ");  // not a selection: ignored
  ExpectLines(Take({"play"}), {kSelectFilterMask, kSelectFilterMask});
  Interface("Shutdown");
}

TEST_F(PluginTest, SelectionWithoutFilterMaskPlaysNothing) {
  StartHost(R"({"documents": [{"layers": [{"name": "Layer 1", "kind": "pixel"}]}]})");
  Interface("Startup");
  sim::NotifyEvent("Opn ");
  sim::NotifyEvent("slct");
  EXPECT_TRUE(Take({"play"}).empty());
  Interface("Shutdown");
}

TEST_F(PluginTest, AboutNamesTheProductAndItsVersion) {
  EXPECT_EQ(Interface("About"), 0);
  const auto lines = Take({"message"});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["title"], "About");
  EXPECT_EQ(lines[0]["buttons"], "OK");
  const std::string text = lines[0]["text"];
  EXPECT_NE(text.find("Quillbright 1.01"), std::string::npos) << text;
  EXPECT_NE(text.find("Dovetailworks"), std::string::npos) << text;
}

TEST_F(PluginTest, DoItOnAnInactiveModuleOffersToActivateIt) {
  StartHost(R"({"answers": {"messages": ["No", "Yes"]}})");
  EXPECT_EQ(Call("PS Photoshop", "Do It"), 0);
  HostIsGerman = true;
  EXPECT_EQ(Call("PS Photoshop", "Do It"), 0);
  ExpectLines(Take({"message"}),
              {{R"({"kind":"message","title":"Quillbright","text":"Do you want to activate Quillbright again?","buttons":"YESNO","icon":"none","owner":"none","answer":"No"})"},
               {R"({"kind":"message","title":"Quillbright","text":"Möchten Sie Quillbright reaktivieren?","buttons":"YESNO","icon":"none","owner":"none","answer":"Yes"})"},
               // Yes starts the module again: no editor window here, a first run, and
               // the test's folder is not a German host's.
               {R"({"kind":"message","title":"Quillbright","text":"Error: Cannot find Photoshop Elements window!","buttons":"OK","icon":"information","owner":"none","answer":"OK"})"},
               {R"({"kind":"message","title":"Quillbright","text":"Welcome to Quillbright!\n\nAs you are running Quillbright for the first time,\nthe menu items of Quillbright are colorized in blue.\nTo keep them colorized when running Photoshop Elements\nagain, please activate 'Colorize Icons & Menu Items'\nunder Edit > Preferences > Quillbright.\n","buttons":"OK","icon":"information","owner":"none","answer":"OK"})"}});
  EXPECT_EQ(ModuleActive, 1);
}

TEST_F(PluginTest, DoItOnAnActiveModuleOfVersion12AsksForAnUpdate) {
  ModuleActive = 1;
  HostMajorVersion = 12;
  EXPECT_EQ(Call("PS Photoshop", "Do It"), 0);
  EXPECT_EQ(OpenPreferences(1), 1);
  const auto lines = Take({"message"});
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) {
    EXPECT_EQ(line["title"], "Quillbright");
    EXPECT_EQ(line["icon"], "information");
    EXPECT_EQ(line["text"], std::string(MessageTable[7]));
  }
  EXPECT_EQ(std::string(MessageTable[7]).rfind("Please update to the latest version of Quillbright at\n\n", 0), 0u);
}

TEST_F(PluginTest, GermanHostGetsGermanTablesButTheEnglishErrorBox) {
  UseGermanMessages(true);
  UseGermanFeatureMessages(true);
  EXPECT_STREQ(MessageTable[10], "Ebenen gruppieren");
  EXPECT_STREQ(FeatureMessageTable[0], "Maskierungsmodus");
  UseGermanMessages(false);
  UseGermanFeatureMessages(false);
  EXPECT_STREQ(MessageTable[10], "Group Layers");
  EXPECT_STREQ(FeatureMessageTable[4], "Simplify");
}

TEST_F(PluginTest, IsDocumentOpenAsksForAnImageInTheHostLanguage) {
  StartHost(R"({"documents": []})");
  EXPECT_FALSE(IsDocumentOpen(false));
  EXPECT_TRUE(Take({"message"}).empty());
  EXPECT_FALSE(IsDocumentOpen(true));
  HostIsGerman = true;
  EXPECT_FALSE(IsDocumentOpen(true));
  ExpectLines(Take({"message"}),
              {{R"({"kind":"message","title":"Error","text":"Please open an image file.","buttons":"OK","icon":"none","owner":"none","answer":"OK"})"},
               {R"({"kind":"message","title":"Fehler","text":"Bitte öffnen Sie eine Bilddatei.","buttons":"OK","icon":"none","owner":"none","answer":"OK"})"}});

  StartHost("{}");
  EXPECT_TRUE(IsDocumentOpen(true));
  EXPECT_TRUE(Take({"message"}).empty());
}

TEST_F(PluginTest, ShowMessageCutsLongTextsAndShowInfoIsTitledInfo) {
  const std::string longText(3000, 'x');
  ShowMessage("Quillbright", "%s", longText.c_str());
  ShowInfo("%d layers", 3);
  const auto lines = Take({"message"});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["text"].get<std::string>().size(), 2047u);
  EXPECT_EQ(lines[0]["icon"], "information");
  EXPECT_EQ(lines[1]["title"], "Info");
  EXPECT_EQ(lines[1]["text"], "3 layers");
}

}  // namespace
