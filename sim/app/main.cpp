// simeditor.exe SCENARIO.json [--out FILE] [--screenshots DIR] [--plugin PATH] [--host-folder DIR]
//
// Started by hand (or by the ./simeditor script) it is the runner: it checks
// the scenario, prepares the host folder and the machine, and starts a copy of
// itself under the host's executable name with --child, which is the editor.
#include <windows.h>

#include <stdexcept>

#include "child.h"
#include "options.h"
#include "output.h"
#include "runner.h"

int main() {
  simapp::Options options;
  try {
    options = simapp::ParseOptions(simapp::CommandLineArgs());
  } catch (const std::exception& e) {
    simapp::WriteDiagnostic(std::string("simeditor: ") + e.what());
    return 2;
  }
  return options.child ? simapp::RunEditor(options) : simapp::RunScenario(options);
}
