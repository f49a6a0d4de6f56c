#include "entry/entry_point.h"

#include <windows.h>

#include <cstdio>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "entry/startup.h"
#include "host/event_player.h"
#include "host/layer_queries.h"
#include "host/suites.h"
#include "settings/preferences_dialog.h"
#include "settings/settings_file.h"

namespace {

constexpr TypeID kAllEvents = FourCC("All ");

bool Equal(const char* a, const char* b) { return a && b && BasicSuite->IsEqual(a, b) != 0; }

void ShowAbout() {
  MessageBoxA(GetActiveWindow(),
              "Quillbright 1.01\n\nLayer masks, groups, smart filters and more for Photoshop "
              "Elements.\n\n\xA9 Dovetailworks",
              "About", MB_OK);
}

void DoIt() {
  if (ModuleActive) {
    OpenPreferences(0);
    return;
  }
  char prompt[128];
  std::snprintf(prompt, sizeof prompt, "%s", ReactivatePrompt());
  if (MessageBoxA(MainWindow, prompt, kProductName, MB_YESNO) == IDYES) RestartModule();
}

host::SPErr Dispatch(const char* caller, const char* selector) {
  if (Equal(caller, host::kCallerInterface)) {
    if (Equal(selector, host::kSelectorAbout)) {
      ShowAbout();
      return 0;
    }
    if (Equal(selector, host::kSelectorStartup)) {
      RegisterNotifier();
      return 0;
    }
    if (Equal(selector, host::kSelectorShutdown)) return ShutdownModule();
    return 0;
  }
  if (Equal(caller, host::kCallerActions) && Equal(selector, host::kSelectorDoIt)) DoIt();
  return 0;
}

}  // namespace

extern "C" host::SPErr AutoPluginMain(const char* caller, const char* selector, void* message) {
  if (!message) return host::kBadParameterError;
  const auto* data = static_cast<const host::MessageData*>(message);
  BasicSuite = data->basic;
  PluginRef = data->self;
  if (!BasicSuite) return host::kBadParameterError;
  try {
    return Dispatch(caller, selector);
  } catch (...) {
    MessageBoxA(GetActiveWindow(), "There was a problem with Quillbright.", "Quillbright Error", MB_OK);
    return host::kBadParameterError;
  }
}

void RegisterNotifier() {
  if (NotifierRegistered) return;
  if (ControlProcs()->AddNotify(PluginRef, kAllEvents, OnHostEvent, nullptr) == 0) NotifierRegistered = 1;
}

extern "C" void OnHostEvent(host::TypeID event, host::Descriptor, std::int32_t, void*) {
  // Nothing may escape into the host's call.
  try {
    if (!StartupDone) {
      StartupDone = 1;
      StartModule();
      return;
    }
    if (event != FourCC("slct") && event != FourCC("Opn ")) return;
    if (HasFilterMask()) {
      PlayOnTargetWithFlag(FourCC("Chnl"), FourCC("Chnl"), StringToTypeID("filterMask"), FourCC("MkVs"),
                           false, FourCC("slct"), kDialogNone);
    }
  } catch (...) {
  }
}

std::int32_t ShutdownModule() {
  std::int32_t result = 0;
  if (NotifierRegistered) {
    try {
      result = HostResult(ControlProcs()->RemoveNotify(PluginRef, kAllEvents));
      if (result == 0) NotifierRegistered = 0;
    } catch (const SuiteError& error) {
      result = error.code;
    }
  }
  TeardownModule();
  ReleaseSuites();
  return result;
}

int OpenPreferences(int page) {
  if (HostMajorVersion > 11) {
    ShowMessage(kProductName, "%s", MessageTable[7]);
    return 1;
  }
  return RunPreferencesDialog(MainWindow, page);
}

void RestartModule() {
  if (ModuleActive) return;
  // Saved before anything else, so that the choice holds even if the host
  // does not close cleanly.
  SettingsRecord[kSettingDeactivated] = 0;
  SaveSettings();
  StartModule();
}
