#include "host/history_step.h"

#include <cstdio>
#include <cstring>

#include "host/event_player.h"
#include "host/host_objects.h"

namespace {

NamedCommandRunner CommandRunner = nullptr;

// Copies at most size - 1 characters and always terminates.
void CopyText(char* buffer, std::size_t size, const char* text) {
  std::snprintf(buffer, size, "%s", text ? text : "");
}

}  // namespace

void SetNamedCommandRunner(NamedCommandRunner runner) { CommandRunner = runner; }

extern "C" host::SPErr HistoryStepProcedure(void* data) {
  // Nothing may escape into the host's call.
  try {
    const char* command = static_cast<const char*>(data);
    if (!CommandRunner || !command) return host::kInterruptedError;
    return CommandRunner(command);
  } catch (...) {
    return host::kInterruptedError;
  }
}

std::int32_t RunHistoryStep(host::SuspendProc procedure, void* data, const char* stepName) {
  ReferenceHolder document;
  std::int32_t err = MakeReference(document);
  if (err == 0)
    err = HostResult(ReferenceProcs()->PutEnumerated(document.get(), FourCC("Dcmn"), FourCC("Ordn"),
                                                     FourCC("Trgt")));
  if (err != 0) return err;
  const char* name = stepName ? stepName : "";
  ZStringHolder text;
  err = ZStringProcs()->MakeFromCString(name, std::strlen(name), text.out());
  if (err != 0) return err;
  return HostResult(ControlProcs()->SuspendHistory(document.get(), procedure, data, text.get()));
}

std::int32_t RunNamedHistoryStep(const char* commandName, const char* stepName) {
  if (!commandName) return host::kBadParameterError;
  char name[128] = {};
  if (std::strcmp(commandName, "Fade") == 0) {
    // "Fade" names itself after the step it fades, without doubling the prefix.
    char current[128] = {};
    GetCurrentHistoryStateName(current);
    const char* faded = std::strncmp(current, "Fade ", 5) == 0 ? current + 5 : current;
    std::snprintf(name, sizeof name, "%s %s", "Fade", faded);
  } else {
    CopyText(name, sizeof name, stepName ? stepName : commandName);
  }
  return RunHistoryStep(HistoryStepProcedure, const_cast<char*>(commandName), name);
}
