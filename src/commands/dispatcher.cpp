#include "commands/dispatcher.h"

#include "host/history_step.h"
#include "host_types.h"

std::int32_t DispatchCommand(std::uint32_t id) {
  (void)id;
  return 0;
}

std::int32_t RunNamedCommand(const char* commandName) {
  (void)commandName;
  return host::kInterruptedError;
}

void InstallCommandDispatcher() { SetNamedCommandRunner(RunNamedCommand); }

bool OpenManual() { return false; }
bool StartOrganizer() { return false; }
bool BrowseScript(const char* title) {
  (void)title;
  return false;
}
