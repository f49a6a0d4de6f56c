// The host-facing entry of the module.
#pragma once

#include <cstdint>

#include "action_suites.h"

extern "C" __declspec(dllexport) host::SPErr AutoPluginMain(const char* caller, const char* selector,
                                                            void* message);

// The notifier registered for every host event.
extern "C" void OnHostEvent(host::TypeID event, host::Descriptor descriptor, std::int32_t mode,
                            void* data);

void RegisterNotifier();
std::int32_t ShutdownModule();
// Opens the Preferences at a page, or shows why it cannot; 1 when a message
// was shown instead.
int OpenPreferences(int page);
// Switches a deactivated module on again.
void RestartModule();
