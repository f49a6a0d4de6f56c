// Times the plug-in's start-up work on a dictionary of a real one's size:
// identifying the host, its language, loading the dictionary and every lookup
// start-up makes (menu labels, alternative labels, dialog labels, filter and
// family names). The same work with a plain scan of the whole dictionary for
// every lookup is timed beside it in the same run, both must give the same
// texts, and the module's figures are given as fractions of the scan's.
//
//   startup_benchmark.exe [HOST_FOLDER] [ROUNDS]
//
// HOST_FOLDER defaults to bench-host beside the bin folder (the build writes
// a generated dictionary there). The host is Elements 10 whose registry key
// names the language of the folder's dictionary: the benchmark runs on a
// private registry of its own for the machine's keys, so that whatever other
// programs left in the real one does not matter, and removes it at the end.
// Exit code 0 when the texts agree and the module's start-up stays under
// 30 ms and at least ten times faster than the scan's; 1 when the texts
// differ, 2 when a target is missed, 3 without a dictionary, 4 when the
// private registry cannot be set up.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "entry/module_state.h"
#include "localization/dialog_labels.h"
#include "localization/dictionary.h"
#include "localization/dictionary_text.h"
#include "localization/host_files.h"
#include "localization/host_language.h"
#include "menus/label_texts.h"

namespace {

constexpr double kBudgetMs = 30.0;
constexpr double kWantedRatio = 10.0;
constexpr int kBenchHostVersion = 10;
constexpr const char* kDictionaryName = "tw10428.dat";

double NowMs() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) * 1000.0 / double(frequency);
}

// What start-up learns from the executable: its name and the major version
// of its version resource (0 when it has none, as the benchmark).
int IdentifyHost() {
  char path[512] = {};
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
  const char* slash = std::strrchr(path, '\\');
  std::snprintf(HostProductName, sizeof HostProductName, "%s", slash ? slash + 1 : path);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return 0;
  std::vector<char> info(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoA(path, 0, size, info.data()) ||
      !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
    return 0;
  return HIWORD(fixed->dwFileVersionMS);
}

// Every labelled text start-up looks up, in the order it does.
std::vector<const char*> StartupLabels() {
  std::vector<const char*> labels;
  for (const LabelSource& source : MenuLabelSources) labels.push_back(source.text);
  for (const char* text : AltLabelSources) labels.push_back(text);
  for (const char* text : DialogLabelSources) labels.push_back(text);
  for (const char* text : FilterFamilyNameSources) labels.push_back(text);
  for (const FilterNameSource& source : FilterNameSources) labels.push_back(source.text);
  for (const char* text : ExtraFilterNameSources) labels.push_back(text);
  return labels;
}

bool IsDialogLabel(std::size_t i) {
  const std::size_t first = kCommandCount + kAltLabelCount;
  return i >= first && i < first + kDialogLabelCount;
}

std::string Slot(std::string text) {
  if (text.size() > kDialogLabelSize - 1) text.resize(kDialogLabelSize - 1);
  return text;
}

// One start-up's texts, and how long finding and loading the dictionary and
// then the lookups took.
struct StartupRun {
  std::vector<std::string> texts;
  double loadMs = 0;
  double lookupMs = 0;
};

// The module's start-up path.
StartupRun ModuleStartup(const std::string& hostFolder, const std::vector<const char*>& labels) {
  StartupRun run;
  const double start = NowMs();
  if (const int major = IdentifyHost()) HostMajorVersion = major;
  HostIsGerman = DetectGermanHostIn((hostFolder + "\\").c_str());
  FreeHostDictionary();
  LoadHostDictionaryFrom(hostFolder.c_str());
  const double loaded = NowMs();
  run.texts.reserve(labels.size());
  for (std::size_t i = 0; i < labels.size(); ++i)
    if (!IsDialogLabel(i)) run.texts.push_back(LocalizeString(labels[i]));
    else run.texts.emplace_back();
  ResetDialogLabels();
  TranslateDialogLabels();
  for (std::size_t row = 0; row < kDialogLabelCount; ++row)
    run.texts[kCommandCount + kAltLabelCount + row] = DialogLabelTable[row];
  run.loadMs = loaded - start;
  run.lookupMs = NowMs() - loaded;
  return run;
}

// The same work, scanning the whole dictionary from its beginning for every
// lookup.
StartupRun ScanningStartup(const std::string& hostFolder, const std::vector<const char*>& labels) {
  StartupRun run;
  const double start = NowMs();
  if (const int major = IdentifyHost()) HostMajorVersion = major;
  HostIsGerman = DetectGermanHostIn((hostFolder + "\\").c_str());
  std::string text;
  const std::string path = LocateHostDictionary(hostFolder.c_str());
  if (!path.empty()) ReadDictionaryText(path.c_str(), text);
  const double loaded = NowMs();
  run.texts.reserve(labels.size());
  for (std::size_t i = 0; i < labels.size(); ++i) {
    std::string found = LookUpLabel(text, nullptr, labels[i]);
    run.texts.push_back(IsDialogLabel(i) ? Slot(std::move(found)) : std::move(found));
  }
  run.loadMs = loaded - start;
  run.lookupMs = NowMs() - loaded;
  return run;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string DefaultHostFolder() {
  std::string folder = HostFolder();  // ...\\bin\\ of the build tree
  if (!folder.empty()) folder.pop_back();
  const std::size_t cut = folder.rfind('\\');
  return (cut == std::string::npos ? folder : folder.substr(0, cut)) + "\\bench-host";
}

// The language of the host folder's dictionary: the first sub-folder of its
// Locales folder that holds one, lower-cased as the host's registry value
// writes it; empty when none does.
std::string DictionaryLanguage(const std::string& hostFolder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((hostFolder + "\\Locales\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string language;
  do {
    const std::string name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
    const std::string folder = hostFolder + "\\Locales\\" + name + "\\";
    if (FileExists((folder + kDictionaryName).c_str()) || FileExists((folder + "Support Files\\" + kDictionaryName).c_str())) {
      language = name;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (char& c : language) c = char(std::tolower(static_cast<unsigned char>(c)));
  return language;
}

// For its lifetime, the process sees a private, volatile key of the current
// user's in place of HKEY_LOCAL_MACHINE, holding only the benchmark host's
// key: its "Locale" names the given language (no value when it is empty).
// The real machine keys are neither read nor changed.
class PrivateMachineKeys {
 public:
  explicit PrivateMachineKeys(const std::string& language) {
    std::snprintf(name_, sizeof name_, "Software\\Quillbright startup benchmark %lu", GetCurrentProcessId());
    if (RegCreateKeyExA(HKEY_CURRENT_USER, name_, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &root_,
                        nullptr) != ERROR_SUCCESS) {
      root_ = nullptr;
      return;
    }
    char hostKey[64];
    std::snprintf(hostKey, sizeof hostKey, "Software\\Adobe\\Photoshop Elements\\%d.0", kBenchHostVersion);
    HKEY host = nullptr;
    if (RegCreateKeyExA(root_, hostKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_SET_VALUE, nullptr, &host, nullptr) !=
        ERROR_SUCCESS)
      return;
    bool written = true;
    if (!language.empty())
      written = RegSetValueExA(host, "Locale", 0, REG_SZ, reinterpret_cast<const BYTE*>(language.c_str()),
                               DWORD(language.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(host);
    active_ = written && RegOverridePredefKey(HKEY_LOCAL_MACHINE, root_) == ERROR_SUCCESS;
  }
  ~PrivateMachineKeys() {
    if (active_) RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (!root_) return;
    RegCloseKey(root_);
    RegDeleteTreeA(HKEY_CURRENT_USER, name_);
  }
  PrivateMachineKeys(const PrivateMachineKeys&) = delete;
  PrivateMachineKeys& operator=(const PrivateMachineKeys&) = delete;

  bool active() const { return active_; }

 private:
  char name_[96] = {};
  HKEY root_ = nullptr;
  bool active_ = false;
};

// A time as a fraction of the scan's, with the factor it is faster by.
void PrintRow(const char* what, double moduleMs, double scanMs) {
  const double fraction = scanMs > 0 ? moduleMs / scanMs : 0;
  std::printf("  %-22s %9.3f ms  %9.3f ms   %7.4f", what, moduleMs, scanMs, fraction);
  if (moduleMs > 0) std::printf("  (%.1fx faster)", scanMs / moduleMs);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string hostFolder = argc > 1 && argv[1][0] ? argv[1] : DefaultHostFolder();
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  HostIsElements = true;
  HostIsPhotoshop = false;
  HostMajorVersion = kBenchHostVersion;

  const std::string language = DictionaryLanguage(hostFolder);
  const PrivateMachineKeys machine(language);
  if (!machine.active()) {
    std::printf("cannot set up the benchmark's own registry keys\n");
    return 4;
  }
  const std::string path = LocateHostDictionary(hostFolder.c_str());
  if (path.empty()) {
    std::printf("no dictionary under %s\n", hostFolder.c_str());
    return 3;
  }
  std::unique_ptr<char[]> bytes;
  const std::size_t fileBytes = ReadWholeFile(path.c_str(), bytes, 0);
  bytes.reset();
  const std::vector<const char*> labels = StartupLabels();

  std::vector<double> moduleLoad, moduleLookups, module, scanLoad, scanLookups, scanning;
  StartupRun moduleRun, scanningRun;
  for (int round = 0; round < rounds; ++round) {
    moduleRun = ModuleStartup(hostFolder, labels);
    moduleLoad.push_back(moduleRun.loadMs);
    moduleLookups.push_back(moduleRun.lookupMs);
    module.push_back(moduleRun.loadMs + moduleRun.lookupMs);
    scanningRun = ScanningStartup(hostFolder, labels);
    scanLoad.push_back(scanningRun.loadMs);
    scanLookups.push_back(scanningRun.lookupMs);
    scanning.push_back(scanningRun.loadMs + scanningRun.lookupMs);
  }
  FreeHostDictionary();

  std::size_t differences = 0, translated = 0;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::string& moduleText = moduleRun.texts[i];
    const std::string& scanningText = scanningRun.texts[i];
    if (moduleText != scanningText) {
      if (++differences <= 5)
        std::printf("differs: %s\n  module:   %s\n  scanning: %s\n", labels[i], moduleText.c_str(),
                    scanningText.c_str());
    }
    if (moduleText != std::string(LabelDefault(labels[i]))) ++translated;
  }

  const double moduleMs = Median(module), scanningMs = Median(scanning);
  const double ratio = moduleMs > 0 ? scanningMs / moduleMs : 0;
  std::printf("dictionary: %s (%zu bytes, language \"%s\")\n", path.c_str(), fileBytes, language.c_str());
  std::printf("lookups: %zu (%zu menu, %zu alternative, %zu dialog, %zu filter and family), %zu translated\n",
              labels.size(), kCommandCount, kAltLabelCount, kDialogLabelCount,
              kFilterFamilyCount + kFilterNameCount + kExtraFilterCount, translated);
  std::printf("median of %d rounds    module        scan per lookup  module / scan\n", rounds);
  PrintRow("find and load", Median(moduleLoad), Median(scanLoad));
  PrintRow("lookups", Median(moduleLookups), Median(scanLookups));
  PrintRow("start-up", moduleMs, scanningMs);
  PrintRow("start-up, first round", module.front(), scanning.front());
  std::printf("ratio: %.1fx faster; texts %s\n", ratio, differences ? "DIFFER" : "identical");
  if (differences) return 1;
  // The ratio holds on any machine; the budget is a time, which a slower or
  // busier machine stretches for both.
  const bool fastEnough = ratio >= kWantedRatio;
  const bool inBudget = moduleMs < kBudgetMs && module.front() < kBudgetMs;
  std::printf("targets: at least %.0fx faster than the scan: %s; under %.0f ms: %s\n", kWantedRatio,
              fastEnough ? "met" : "MISSED", kBudgetMs, inBudget ? "met" : "MISSED");
  return fastEnough && inBudget ? 0 : 2;
}
