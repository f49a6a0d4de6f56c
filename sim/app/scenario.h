// Reading and checking a scenario file. A scenario that is not valid is
// reported as one line naming the offending field and why.
#pragma once

#include <stdexcept>
#include <string>

#include "sim_host.h"

namespace simapp {

struct ScenarioError : std::runtime_error {
  using std::runtime_error::runtime_error;  // "host.version: expected an integer 0..99"
};

// Reads and checks the file; throws ScenarioError.
sim::Json LoadScenario(const std::wstring& path);
void ValidateScenario(const sim::Json& scenario);

// The host settings with the defaults filled in, as the runner and the child
// read them.
struct HostSettings {
  std::string product = "Elements";  // or "Photoshop"
  int version = 8;
  bool german = false;
  bool hasLocale = true;
  std::string locale = "en_us";
  bool hasDictionary = false;
  sim::Json dictionary = sim::Json::object();
  std::string dictionaryPlace = "Locales";
  bool hasThumbnailSize = true;
  int thumbnailSize = 2;
  std::string layersPanel = "docked";
  bool controlBarDecoy = false;
  int toolbarWidth = 48;             // the toolbar dock's width (version 11)      // a dock before the control bar's whose first container lacks the bar
  std::string windows = "7";         // the Windows version the editor reports: "xp", "7" or "10"
  bool mainWindow = true;            // false: the main window is of a class the plug-in does not know
  std::vector<std::string> scripts;
};
HostSettings ReadHostSettings(const sim::Json& scenario);

// The product's executable name: "PhotoshopElementsEditor.exe" or "Photoshop.exe".
std::wstring HostExecutableName(const HostSettings& host);

}  // namespace simapp
