#include "plugin_fixture.h"

#include <algorithm>
#include <sstream>

#include "entry/entry_point.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "entry/startup.h"
#include "ui/window_procedures.h"
#include "host/history_step.h"
#include "host/suites.h"
#include "settings/settings_file.h"

namespace {

void ResetModule() {
  // Whatever a start-up installed goes, whatever the versions say; the
  // settings a test's start-up read are not written back, and a file a test
  // made goes too, so that every test starts as a first run.
  ResetSettings();
  TeardownModule();
  char settingsFile[kSettingsFilePathSize];
  if (SettingsFilePath(settingsFile)) DeleteFileA(settingsFile);
  RestoreWindowProcedures();
  ReleaseSuites();
  BasicSuite = nullptr;
  PluginRef = nullptr;
  NotifierRegistered = 0;
  StartupDone = 0;
  ModuleActive = 0;
  HostIsPhotoshop = false;
  HostIsElements = true;
  HostMajorVersion = 8;
  HostIsGerman = false;
  MainWindow = nullptr;
  LayersView = ControlBarView = ToolbarView = nullptr;
  ColorizeEnabled = false;
  ShortcutsDisabled = false;
  UseGermanMessages(false);
  UseGermanFeatureMessages(false);
  SetNamedCommandRunner(nullptr);
}

}  // namespace

void PluginTest::SetUp() {
  ResetModule();
  StartHost();
}

void PluginTest::TearDown() {
  ReleaseSuites();
  EXPECT_EQ(sim::LiveObjectCount(), 0u) << "host objects left behind";
  sim::RemoveMessageBoxAnswerer();
  ResetModule();
}

void PluginTest::StartHost(const char* scenario) {
  sim::RemoveMessageBoxAnswerer();
  ReleaseSuites();
  sim::ResetHost(sim::Json::parse(scenario));
  // In-process, the host is of the version the plug-in takes it for.
  sim::SetHostVersionSource([] { return HostMajorVersion; });
  sim::InstallMessageBoxAnswerer();
  // Suites the plug-in calls go through the message's basic suite.
  BasicSuite = sim::Basic();
  PluginRef = sim::PluginSelf();
}

std::int32_t PluginTest::Call(const char* caller, const char* selector) {
  host::MessageData message{host::kCheckValid, sim::PluginSelf(), nullptr, sim::Basic()};
  return AutoPluginMain(caller, selector, &message);
}

std::vector<sim::Json> PluginTest::Take(std::initializer_list<const char*> kinds) {
  std::vector<sim::Json> lines = sim::TakeTranscript();
  if (kinds.size() == 0) return lines;
  std::vector<sim::Json> kept;
  for (const sim::Json& line : lines) {
    const std::string kind = line.value("kind", "");
    if (std::any_of(kinds.begin(), kinds.end(), [&](const char* k) { return kind == k; }))
      kept.push_back(line);
  }
  return kept;
}

void ExpectLines(const std::vector<sim::Json>& actual, const std::vector<ExpectedLine>& expected) {
  std::ostringstream both;
  both << "expected:\n";
  for (const ExpectedLine& line : expected) both << "  " << line.json << "\n";
  both << "actual:\n";
  for (const sim::Json& line : actual) both << "  " << sim::ToText(line) << "\n";

  const std::size_t common = std::min(actual.size(), expected.size());
  for (std::size_t i = 0; i < common; ++i) {
    // Field order is free: compare as unordered objects.
    const nlohmann::json want = nlohmann::json::parse(expected[i].json);
    const nlohmann::json got = nlohmann::json::parse(sim::ToText(actual[i]));
    if (want != got) {
      ADD_FAILURE() << "first difference at line " << i << "\n" << both.str();
      return;
    }
  }
  if (actual.size() != expected.size())
    ADD_FAILURE() << "expected " << expected.size() << " lines, got " << actual.size() << "\n" << both.str();
}
