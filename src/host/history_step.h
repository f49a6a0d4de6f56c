// Running a command as one named step of the host's history.
#pragma once

#include <cstdint>

#include "action_suites.h"

// Runs a named command; returns 0 to keep the step, non-zero (`intr` for a
// cancelled command) to have the host drop it.
using NamedCommandRunner = std::int32_t (*)(const char* commandName);

// The runner HistoryStepProcedure calls: the command dispatcher.
void SetNamedCommandRunner(NamedCommandRunner runner);

// The procedure the host calls back inside the step; data is the command name.
extern "C" host::SPErr HistoryStepProcedure(void* data);

// Runs `commandName` through HistoryStepProcedure as one history step named
// `stepName` (or the command's name); returns the host's result.
std::int32_t RunNamedHistoryStep(const char* commandName, const char* stepName);

// The same with a procedure and data of the caller's own.
std::int32_t RunHistoryStep(host::SuspendProc procedure, void* data, const char* stepName);
