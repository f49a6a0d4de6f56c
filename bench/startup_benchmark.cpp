// Times the plug-in's start-up work on a dictionary of a real one's size:
// identifying the host, its language, loading the dictionary and every lookup
// start-up makes (menu labels, alternative labels, dialog labels, filter and
// family names). The same work with a scan of the whole dictionary for every
// lookup is timed beside it, and both must give the same texts.
//
//   startup_benchmark.exe [HOST_FOLDER] [ROUNDS]
//
// HOST_FOLDER defaults to bench-host beside the bin folder (the build writes
// a generated dictionary there). Exit code 0 when the texts agree and the
// module's start-up stays under 30 ms and at least ten times faster.
#include <windows.h>

#include <algorithm>
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

// The module's start-up path.
std::vector<std::string> ModuleStartup(const std::string& hostFolder, const std::vector<const char*>& labels) {
  if (const int major = IdentifyHost()) HostMajorVersion = major;
  HostIsGerman = DetectGermanHostIn((hostFolder + "\\").c_str());
  FreeHostDictionary();
  LoadHostDictionaryFrom(hostFolder.c_str());
  std::vector<std::string> texts;
  texts.reserve(labels.size());
  for (std::size_t i = 0; i < labels.size(); ++i)
    if (!IsDialogLabel(i)) texts.push_back(LocalizeString(labels[i]));
    else texts.emplace_back();
  ResetDialogLabels();
  TranslateDialogLabels();
  for (std::size_t row = 0; row < kDialogLabelCount; ++row)
    texts[kCommandCount + kAltLabelCount + row] = DialogLabelTable[row];
  return texts;
}

// The same work, scanning the whole dictionary for every lookup.
std::vector<std::string> ScanningStartup(const std::string& hostFolder, const std::vector<const char*>& labels) {
  if (const int major = IdentifyHost()) HostMajorVersion = major;
  HostIsGerman = DetectGermanHostIn((hostFolder + "\\").c_str());
  std::string text;
  const std::string path = LocateHostDictionary(hostFolder.c_str());
  if (!path.empty()) ReadDictionaryText(path.c_str(), text);
  std::vector<std::string> texts;
  texts.reserve(labels.size());
  for (std::size_t i = 0; i < labels.size(); ++i) {
    std::string found = LookUpLabel(text, nullptr, labels[i]);
    texts.push_back(IsDialogLabel(i) ? Slot(std::move(found)) : std::move(found));
  }
  return texts;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string DefaultHostFolder() {
  std::string folder = HostFolder();  // ...\bin\ of the build tree
  if (!folder.empty()) folder.pop_back();
  const std::size_t cut = folder.rfind('\\');
  return (cut == std::string::npos ? folder : folder.substr(0, cut)) + "\\bench-host";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string hostFolder = argc > 1 ? argv[1] : DefaultHostFolder();
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  HostIsElements = true;
  HostIsPhotoshop = false;
  HostMajorVersion = 10;

  const std::string path = LocateHostDictionary(hostFolder.c_str());
  if (path.empty()) {
    std::printf("no dictionary under %s\n", hostFolder.c_str());
    return 3;
  }
  std::unique_ptr<char[]> bytes;
  const std::size_t fileBytes = ReadWholeFile(path.c_str(), bytes, 0);
  bytes.reset();
  const std::vector<const char*> labels = StartupLabels();

  std::vector<double> module, scanning;
  std::vector<std::string> moduleTexts, scanningTexts;
  for (int round = 0; round < rounds; ++round) {
    double start = NowMs();
    moduleTexts = ModuleStartup(hostFolder, labels);
    module.push_back(NowMs() - start);
    start = NowMs();
    scanningTexts = ScanningStartup(hostFolder, labels);
    scanning.push_back(NowMs() - start);
  }
  FreeHostDictionary();

  std::size_t differences = 0, translated = 0;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (moduleTexts[i] != scanningTexts[i]) {
      if (++differences <= 5)
        std::printf("differs: %s\n  module:   %s\n  scanning: %s\n", labels[i], moduleTexts[i].c_str(),
                    scanningTexts[i].c_str());
    }
    if (moduleTexts[i] != std::string(LabelDefault(labels[i]))) ++translated;
  }

  const double moduleMs = Median(module), scanningMs = Median(scanning);
  const double ratio = moduleMs > 0 ? scanningMs / moduleMs : 0;
  std::printf("dictionary: %s (%zu bytes)\n", path.c_str(), fileBytes);
  std::printf("lookups: %zu (%zu menu, %zu alternative, %zu dialog, %zu filter and family), %zu translated\n",
              labels.size(), kCommandCount, kAltLabelCount, kDialogLabelCount,
              kFilterFamilyCount + kFilterNameCount + kExtraFilterCount, translated);
  std::printf("start-up, median of %d: module %.2f ms (first run %.2f ms), scanning every lookup %.2f ms\n",
              rounds, moduleMs, module.front(), scanningMs);
  std::printf("ratio: %.1fx faster; texts %s\n", ratio, differences ? "DIFFER" : "identical");
  if (differences) return 1;
  const bool met = moduleMs < kBudgetMs && module.front() < kBudgetMs && ratio >= kWantedRatio;
  std::printf("targets (under %.0f ms, at least %.0fx): %s\n", kBudgetMs, kWantedRatio, met ? "met" : "MISSED");
  return met ? 0 : 2;
}
