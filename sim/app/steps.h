// Playing a scenario's steps against the loaded plug-in.
#pragma once

#include <windows.h>

#include <string>

#include "plugin_module.h"
#include "sim_host.h"

namespace simapp {

class StepRunner {
 public:
  StepRunner(PluginModule& plugin, HWND mainWindow, int hostVersion = 8)
      : plugin_(plugin), main_(mainWindow), hostVersion_(hostVersion) {}

  // Runs every step; a scenario without "select" steps is framed by
  // "Startup" and an `Opn ` event before, and "Shutdown" after.
  void RunAll(const sim::Json& steps);
  void Run(const sim::Json& step);

  // Calls the entry point as the host does: "Do It" with caller
  // "PS Photoshop", everything else with "SP Interface" unless the step
  // names a caller.
  void Select(const std::string& selector, const std::string& caller = {});

  // A `menu` step with `open`: the menu stays open while the `screenshot`
  // steps after it run.
  void RunHeldMenu(const sim::Json& step, const sim::Json* screenshots, size_t count);

  // What the step being run is, for reports of a failure inside it.
  static std::string Current();

 private:
  PluginModule& plugin_;
  HWND main_;
  int hostVersion_;  // the major version the scenario's host has
  void* globals_ = nullptr;  // the plug-in's globals, kept across calls
};

}  // namespace simapp
