// The UI hooks suite: the main window; the other slots are harmless.
#include "host_suites.h"
#include "host_state.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("uihooks", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("uihooks", fn)

namespace sim {
namespace {

void ProcessEvent(void*) {}
host::OSErr DisplayPixels(const void*, const void*, std::int32_t, std::int32_t, void*) { return err::kUnimplementedOS; }
void ProgressBar(std::int32_t, std::int32_t) {}
host::Boolean TestAbort() { return 0; }
std::intptr_t MainAppWindow() { return reinterpret_cast<std::intptr_t>(MainWindow()); }
host::SPErr SetCursor(const char*) { return host::kNoError; }
std::uint32_t TickCount() { return std::uint32_t(GetTickCount() / 1000u * 60u); }
host::SPErr GetPluginName(host::PluginRef, host::ZString* name) {
  if (name) *name = nullptr;
  return err::kUnimplemented;
}

const host::UIHooksSuite kSuite = {SLOT(ProcessEvent), SLOT(DisplayPixels), SLOT(ProgressBar),  SLOT_VALUE(TestAbort),
                                   SLOT_VALUE(MainAppWindow), SLOT(SetCursor),    SLOT_VALUE(TickCount),    SLOT(GetPluginName)};

}  // namespace

const void* UIHooksSuiteTable(std::int32_t version) { return version == 1 ? &kSuite : nullptr; }

}  // namespace sim
