#include "child.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <exception>

#include "dialog_steps.h"
#include "host_windows.h"
#include "main_window.h"
#include "message_pump.h"
#include "output.h"
#include "plugin_module.h"
#include "pictures.h"
#include "plugin_watch.h"
#include "scenario.h"
#include "sim_host.h"
#include "steps.h"
#include "text.h"

namespace simapp {
namespace {

void RecordError(const std::string& text) { sim::Record(sim::Json{{"kind", "error"}, {"text", text}}); }

// A fault that nothing caught (inside the plug-in, most likely) ends the
// editor, but not silently: the transcript says where it happened.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0ul);
  const std::string step = StepRunner::Current();
  WriteTranscriptLine(ErrorLineText(std::string("exception ") + code + " ended the editor" +
                                    (step.empty() ? std::string() : " during the step " + step)));
  ExitProcess(1);
}

void OnTerminate() {
  const std::string step = StepRunner::Current();
  WriteTranscriptLine(ErrorLineText("an uncaught C++ exception ended the editor" +
                                    (step.empty() ? std::string() : " during the step " + step)));
  ExitProcess(1);
}

// A 32-bit plug-in's C++ exception cannot reach the editor's handlers: each
// module unwinds with its own copy of the runtime, and the plug-in's copy,
// finding no handler of its own, aborts. The C runtime's signal table is the
// one both share, so the abort is heard here.
void OnAbort(int) {
  const std::string step = StepRunner::Current();
  WriteTranscriptLine(ErrorLineText("abort() ended the editor" +
                                    (step.empty() ? std::string() : " during the step " + step)));
  ExitProcess(1);
}

}  // namespace

int RunEditor(const Options& options) {
  SetUnhandledExceptionFilter(OnUnhandledException);
  std::set_terminate(OnTerminate);
  std::signal(SIGABRT, OnAbort);
  // No system error boxes: a missing file or a fault must not wait for a click.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

  sim::Json scenario;
  try {
    scenario = LoadScenario(options.scenario);
  } catch (const ScenarioError& e) {
    WriteDiagnostic(std::string("scenario: ") + e.what());
    return 2;
  }

  const HostSettings hostSettings = ReadHostSettings(scenario);
  HWND main = CreateMainWindow(GetModuleHandleW(nullptr), hostSettings.mainWindow, hostSettings.version);
  if (!main) {
    WriteTranscriptLine(ErrorLineText("the main window cannot be created (error " + std::to_string(GetLastError()) + ")"));
    return 1;
  }
  // A main window the plug-in cannot recognise is not the host's answer either.
  sim::SetMainWindow(hostSettings.mainWindow ? main : nullptr);
  if (std::string error = BuildHostWindows(main, GetModuleHandleW(nullptr), hostSettings); !error.empty()) {
    WriteTranscriptLine(ErrorLineText(error));
    return 1;
  }
  sim::ResetHost(scenario);
  sim::SetTranscriptSink([](const sim::Json& line) { WriteTranscriptLine(sim::ToText(line)); });
  sim::InstallMessageBoxAnswerer();
  PumpPending();

  int status = 0;
  PluginModule plugin;
  if (std::string error = plugin.Load(options.plugin); !error.empty()) {
    RecordError(error);
    status = 1;
  } else if (std::string watch = WatchPluginCalls(plugin.Module()); !watch.empty()) {
    RecordError(watch);
    status = 1;
  } else {
    SetScreenshotFolder(options.screenshots);
    InstallDialogDriver(plugin.Module());
    StepRunner runner(plugin, main, hostSettings.version);
    runner.RunAll(scenario.value("steps", sim::Json::array()));
    ReportUnusedDialogSteps();
    sim::ReportLeaks();
    ReportPluginLeftovers();
  }

  RemoveDialogDriver();
  sim::RemoveMessageBoxAnswerer();
  // The window goes before the library: a procedure the plug-in left on it
  // must not be called after its code is unmapped.
  DestroyHostWindows();
  DestroyWindow(main);
  PumpPending();
  plugin.Unload();
  sim::SetTranscriptSink(nullptr);
  return status;
}

}  // namespace simapp
