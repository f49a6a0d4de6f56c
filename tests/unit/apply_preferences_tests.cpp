// Putting the settings record into effect, as the Preferences dialog does on
// a running module: the module's own switches, the note about switching it
// off, and the one script that gives the host its preferences.
#include <gtest/gtest.h>

#include <string>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "plugin_fixture.h"
#include "settings/settings_file.h"

namespace {

using ApplyPreferencesTest = PluginTest;

TEST_F(ApplyPreferencesTest, TheModulesSwitchesFollowTheRecordBothWays) {
  SettingsRecord[kSettingColorize] = 1;
  SettingsRecord[kSettingShortcutsOff] = 1;
  ApplyPreferences();
  EXPECT_TRUE(ColorizeEnabled);
  EXPECT_TRUE(ShortcutsDisabled);
  SettingsRecord[kSettingColorize] = 0;
  SettingsRecord[kSettingShortcutsOff] = 0;
  ApplyPreferences();
  EXPECT_FALSE(ColorizeEnabled);
  EXPECT_FALSE(ShortcutsDisabled);
  // Each application gives the host its preferences once, and no note: the
  // module is not being switched off.
  const auto lines = Take({"script", "message"});
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) EXPECT_EQ(line["kind"], "script");
}

TEST_F(ApplyPreferencesTest, SwitchingOffWhileRunningAsksForARestartInTheHostsLanguage) {
  ModuleActive = 1;
  SettingsRecord[kSettingDeactivated] = 1;
  ApplyPreferences();
  UseGermanMessages(true);
  ApplyPreferences();
  ExpectLines(Take({"message"}),
              {{R"({"kind":"message","title":"Info","text":"Please restart Photoshop Elements in order to deactivate Quillbright.","buttons":"OK","icon":"information","owner":"none","answer":"OK"})"},
               {R"({"kind":"message","title":"Info","text":"Bitte starten Sie Photoshop Elements neu, um Quillbright zu deaktivieren.","buttons":"OK","icon":"information","owner":"none","answer":"OK"})"}});
  // Not running (a start-up that stops because of the setting): no note.
  ModuleActive = 0;
  ApplyPreferences();
  EXPECT_TRUE(Take({"message"}).empty());
}

TEST_F(ApplyPreferencesTest, TheHostGetsItsPreferencesFromEditor6On) {
  SettingsRecord[kSettingAutoUpdate] = 1;
  SettingsRecord[kSettingInterpolation] = 1;
  SettingsRecord[kSettingHistoryLog] = 1;
  for (const int version : {5, 6, 11}) {
    SCOPED_TRACE(version);
    HostMajorVersion = version;
    ApplyPreferences();
    const auto scripts = Take({"script"});
    if (version < 6) {
      EXPECT_TRUE(scripts.empty());
      continue;
    }
    ASSERT_EQ(scripts.size(), 1u);
    const std::string text = scripts[0].value("text", "");
    EXPECT_EQ(text.rfind("app.preferences.autoUpdateOpenDocuments =  1;\n", 0), 0u) << text;
    EXPECT_NE(text.find("\napp.preferences.interpolation =  ResampleMethod.BICUBICSMOOTHER;\n"), std::string::npos);
    EXPECT_NE(text.find("\nvar value =  1;\n app.preferences.useHistoryLog = value;"), std::string::npos);
  }
}

}  // namespace
