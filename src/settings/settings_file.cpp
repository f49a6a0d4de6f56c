#include "settings/settings_file.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "commands/script_files.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "localization/host_files.h"
#include "modes/script_bridge.h"
#include "settings/preference_script.h"
#include "ui/view_refresh.h"

SettingsValues SettingsRecord = kSettingsDefaults;

namespace {

constexpr int kAppDataFolder = 26;  // CSIDL_APPDATA

// A settings file is a few lines; anything past this is not read.
constexpr std::size_t kSettingsReadLimit = std::size_t(1) << 20;

// Set once this run has read its settings or found that it has none.
bool SettingsTaken = false;

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHolder = std::unique_ptr<std::FILE, CloseFile>;

bool AppDataFolder(char (&folder)[MAX_PATH]) {
  folder[0] = '\0';
  if (!GetSpecialFolderPath(kAppDataFolder, folder)) return false;
  folder[MAX_PATH - 1] = '\0';
  return folder[0] != '\0';
}

// Each level in turn: CreateDirectory makes only the last one.
void CreateSettingsFolders(const char* appData) {
  char folder[kSettingsFilePathSize];
  for (const char* level : {"\\Dovetailworks", "\\Dovetailworks\\Quillbright"}) {
    const int length = std::snprintf(folder, sizeof folder, "%s%s", appData, level);
    if (length < 0 || std::size_t(length) >= sizeof folder) return;
    CreateDirectoryA(folder, nullptr);
  }
}

// A read error ends the text where it happened, as the end of the file
// would: what was read before it still counts.
void ReadFileBytes(std::FILE* file, std::string& bytes) {
  char block[4096];
  while (bytes.size() < kSettingsReadLimit) {
    const std::size_t read = std::fread(block, 1, sizeof block, file);
    bytes.append(block, read);
    if (read < sizeof block) return;
  }
}

// Editors 6 to 10 get their action files back at the next start; later ones
// keep their own.
bool KeepsActionFiles() { return HostMajorVersion >= 6 && HostMajorVersion <= 10; }

}  // namespace

bool SettingsFilePath(char (&path)[kSettingsFilePathSize]) {
  path[0] = '\0';
  char appData[MAX_PATH];
  if (!AppDataFolder(appData)) return false;
  const int length = std::snprintf(path, sizeof path, "%s\\Dovetailworks\\Quillbright\\Quillbright%s%d.ini", appData,
                                   HostProductName, HostMajorVersion);
  if (length < 0 || std::size_t(length) >= sizeof path) {
    path[0] = '\0';
    return false;
  }
  return true;
}

bool LoadSettings() {
  char path[kSettingsFilePathSize];
  if (!SettingsFilePath(path)) return false;
  FileHolder file(std::fopen(path, "rb"));
  if (!file) {
    // A file that is there but cannot be opened still holds the user's
    // choices: it must outlive this run.
    SettingsTaken = !FileExists(path);
    return false;
  }
  std::string bytes;
  ReadFileBytes(file.get(), bytes);
  file.reset();
  SettingsContent content = ReadSettingsText(bytes);
  SettingsTaken = true;

  SettingsRecord = content.values;
  const bool switchedOff = SettingsRecord[kSettingDeactivated] != 0;
  if (!switchedOff) {
    ModuleActive = 1;
    ApplyPreferences();
  }
  std::snprintf(LastScriptPath, sizeof LastScriptPath, "%s", content.scriptPath.c_str());
  // A switched-off module runs no script; the list is kept for the file.
  LoadedActionFiles = std::move(content.actionFiles);
  if (!switchedOff)
    for (const std::string& actionFile : LoadedActionFiles) LoadActionFileIntoHost(actionFile.c_str());
  return true;
}

void SaveSettings() {
  if (!SettingsTaken) return;
  char appData[MAX_PATH];
  char path[kSettingsFilePathSize];
  if (!AppDataFolder(appData) || !SettingsFilePath(path)) return;
  CreateSettingsFolders(appData);
  const std::string text = WriteSettingsText(SettingsRecord, LastScriptPath, LoadedActionFiles, KeepsActionFiles());
  FileHolder file(std::fopen(path, "wb"));
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file.get());
}

void ResetSettings() {
  SettingsRecord = kSettingsDefaults;
  LastScriptPath[0] = '\0';
  LoadedActionFiles.clear();
  SettingsTaken = false;
}

void ApplyPreferences() {
  if (SettingsRecord[kSettingDeactivated] != 0 && ModuleActive) ShowInfo("%s", MessageTable[8]);
  ColorizeEnabled = SettingsRecord[kSettingColorize] != 0;
  RefreshModuleViews();
  ShortcutsDisabled = SettingsRecord[kSettingShortcutsOff] != 0;
  if (HostMajorVersion >= 6) {
    char script[kPreferenceScriptSize];
    BuildPreferenceScript(SettingsRecord, script);
    RunJavaScript(script, false, false);
  }
}
