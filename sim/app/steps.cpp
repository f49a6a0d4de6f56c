#include "steps.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <vector>

#include "dialog_steps.h"
#include "input_steps.h"
#include "menu_bar.h"
#include "menu_hold.h"
#include "message_pump.h"
#include "paint_watch.h"
#include "pictures.h"

namespace simapp {
namespace {

std::string g_current;

void RecordError(const std::string& text) { sim::Record(sim::Json{{"kind", "error"}, {"text", text}}); }

void RecordErrors(const std::vector<std::string>& texts) {
  for (const std::string& text : texts) RecordError(text);
}

// A menu left open: the screenshot steps that follow it see it open.
bool HoldsMenuOpen(const sim::Json& step) { return step.contains("menu") && step.contains("open") && !step.contains("choose"); }

void RecordScreenshot(HWND main, const sim::Json& step) {
  const std::string error = TakeScreenshot(main, step["screenshot"].get<std::string>(), step.value("of", std::string()));
  if (!error.empty()) RecordError(error);
}

bool HasSelectStep(const sim::Json& steps) {
  for (const sim::Json& step : steps)
    if (step.contains("select")) return true;
  return false;
}

}  // namespace

std::string StepRunner::Current() { return g_current; }

void StepRunner::Select(const std::string& selector, const std::string& caller) {
  const std::string who = !caller.empty() ? caller : selector == host::kSelectorDoIt ? host::kCallerActions : host::kCallerInterface;
  host::ActionParameters parameters{1, 0, nullptr};  // display dialogs, recording optional, no descriptor
  host::ActionsMessage message{};
  message.d.check = host::kCheckValid;
  message.d.self = sim::PluginSelf();
  message.d.globals = globals_;
  message.d.basic = sim::Basic();
  message.actionParameters = &parameters;
  host::SPErr result = 0;
  try {
    result = plugin_.Entry()(who.c_str(), selector.c_str(), &message);
  } catch (const std::exception& e) {
    RecordError("the plug-in threw an exception from \"" + selector + "\": " + e.what());
    return;
  } catch (...) {
    RecordError("the plug-in threw an exception from \"" + selector + "\"");
    return;
  }
  if (message.d.check != host::kCheckValid) RecordError("the plug-in overwrote the message's check word in \"" + selector + "\"");
  globals_ = message.d.globals;
  sim::Record(sim::Json{{"kind", "select"}, {"caller", who}, {"selector", selector}, {"result", result}});
}

void StepRunner::Run(const sim::Json& step) {
  g_current = step.dump(-1, ' ', false, sim::Json::error_handler_t::replace);
  try {
    if (auto it = step.find("select"); it != step.end()) {
      Select(it->get<std::string>(), step.value("caller", std::string()));
    } else if (auto it = step.find("event"); it != step.end()) {
      sim::NotifyEvent(it->get<std::string>());
    } else if (auto it = step.find("state"); it != step.end()) {
      sim::RecordState();
    } else if (auto it = step.find("wait"); it != step.end()) {
      PumpFor(it->get<DWORD>());
    } else if (auto it = step.find("edit"); it != step.end()) {
      sim::ApplyEdit(*it);
    } else if (auto it = step.find("dialog"); it != step.end()) {
      QueueDialogActions(*it);
    } else if (auto it = step.find("faults"); it != step.end()) {
      sim::ArmFaults(*it);
    } else if (auto it = step.find("command"); it != step.end()) {
      SendMessageW(main_, WM_COMMAND, WPARAM(it->get<unsigned long long>()), 0);
    } else if (auto it = step.find("menu"); it != step.end()) {
      const std::string name = it->get<std::string>();
      std::string error = step.contains("choose") ? ChooseMenuItem(main_, name, step["choose"]) : OpenMenu(main_, name);
      if (!error.empty()) RecordError(error);
    } else if (step.contains("click")) {
      RecordErrors(RunClickStep(main_, step));
    } else if (step.contains("popup")) {
      RecordErrors(RunPopupStep(main_, step, hostVersion_));
    } else if (step.contains("key")) {
      RecordErrors(RunKeyStep(main_, step));
    } else if (step.contains("screenshot")) {
      RecordScreenshot(main_, step);
    } else {
      RecordError("the step " + g_current + " is not supported by this editor yet");
    }
  } catch (const std::exception& e) {
    RecordError("the step " + g_current + " failed: " + e.what());
  }
  PumpPending();
  FlushPaintRecords();
  g_current.clear();
}

void StepRunner::RunHeldMenu(const sim::Json& step, const sim::Json* screenshots, size_t count) {
  g_current = step.dump(-1, ' ', false, sim::Json::error_handler_t::replace);
  try {
    const std::function<void()> whileOpen = [&] {
      for (size_t i = 0; i < count; ++i) {
        g_current = screenshots[i].dump(-1, ' ', false, sim::Json::error_handler_t::replace);
        RecordScreenshot(main_, screenshots[i]);
      }
    };
    RecordErrors(HoldMenuOpen(main_, step["menu"].get<std::string>(), step["open"], whileOpen));
  } catch (const std::exception& e) {
    RecordError("the step " + g_current + " failed: " + e.what());
  }
  PumpPending();
  FlushPaintRecords();
  g_current.clear();
}

void StepRunner::RunAll(const sim::Json& steps) {
  const bool framed = !HasSelectStep(steps);
  if (framed) {
    Run(sim::Json{{"select", host::kSelectorStartup}});
    Run(sim::Json{{"event", "Opn "}});
  }
  size_t skipTo = 0;   // screenshot steps a dialog left open has taken
  for (size_t i = 0; i < steps.size(); ++i) {
    if (i < skipTo) continue;
    if (!HoldsMenuOpen(steps[i])) {
      // A dialog the step opens and its actions leave open shows for the
      // screenshot steps right after it.
      SetWhileDialogLeftOpen([&, i] {
        const std::string step = g_current;
        size_t next = std::max(i + 1, skipTo);
        for (; next < steps.size() && steps[next].contains("screenshot"); ++next) {
          g_current = steps[next].dump(-1, ' ', false, sim::Json::error_handler_t::replace);
          RecordScreenshot(main_, steps[next]);
        }
        skipTo = next;
        g_current = step;
      });
      Run(steps[i]);
      SetWhileDialogLeftOpen(nullptr);
      continue;
    }
    size_t end = i + 1;
    while (end < steps.size() && steps[end].contains("screenshot")) ++end;
    std::vector<sim::Json> screenshots(steps.begin() + std::ptrdiff_t(i + 1), steps.begin() + std::ptrdiff_t(end));
    RunHeldMenu(steps[i], screenshots.data(), screenshots.size());
    i = end - 1;
  }
  if (framed) Run(sim::Json{{"select", host::kSelectorShutdown}});
}

}  // namespace simapp
