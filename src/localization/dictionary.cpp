#include "localization/dictionary.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>

#include "entry/module_state.h"
#include "localization/dictionary_text.h"
#include "localization/host_files.h"
#include "localization/host_language.h"

namespace {

constexpr const char* kDictionaryName = "tw10428.dat";
constexpr const char* kFallbackLanguage = "de_DE";

// Closes the file on every path, a failed allocation of the text included.
struct FileHandle {
  explicit FileHandle(HANDLE opened) : handle(opened) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HANDLE get() const { return handle; }
  HANDLE handle;
};

struct LoadedDictionary {
  std::string text;  // narrowed, one byte per code unit
  DictionaryIndex index;
};

std::unique_ptr<LoadedDictionary> HostDictionary;
DictionaryLoadState LoadState = DictionaryLoadState::NotTried;

// The name of the first sub-folder of `folder`, in the order the file system
// lists it; empty when there is none.
std::string FirstSubfolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string name;
  do {
    const std::string entry = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry != "." && entry != "..") {
      name = entry;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return name;
}

std::string HostLanguageCode(const std::string& folder) {
  char code[512] = {};
  ReadHostUiLanguage(code, sizeof code);
  if (!code[0] && HostIsElements) ReadHostLocaleCode(code, sizeof code);
  if (code[0]) return code;
  const std::string first = FirstSubfolder(folder + "\\Locales");
  return first.empty() ? kFallbackLanguage : first;
}

std::unique_ptr<LoadedDictionary> ReadDictionary(const std::string& path) {
  auto loaded = std::make_unique<LoadedDictionary>();
  if (!ReadDictionaryText(path.c_str(), loaded->text)) return nullptr;
  loaded->index = BuildDictionaryIndex(loaded->text);
  return loaded;
}

}  // namespace

bool ReadDictionaryText(const char* path, std::string& text) {
  text.clear();
  const FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
  static char piece[1 << 16];
  const auto read = [&](char* into, std::size_t bytes) {
    DWORD got = 0;
    return ReadFile(file.get(), into, DWORD(bytes), &got, nullptr) && got == bytes;
  };
  return NarrowDictionaryFile(std::uint64_t(size.QuadPart), read, piece, text);
}

std::string LocateHostDictionary(const char* hostFolder) {
  const std::string folder = hostFolder ? hostFolder : "";
  const std::string required = folder + "\\Required\\" + kDictionaryName;
  if (FileExists(required.c_str())) return required;
  const std::string language = folder + "\\Locales\\" + HostLanguageCode(folder);
  for (const std::string& path : {language + "\\Support Files\\" + kDictionaryName, language + "\\" + kDictionaryName})
    if (FileExists(path.c_str())) return path;
  return {};
}

void LoadHostDictionaryFrom(const char* hostFolder) {
  if (LoadState != DictionaryLoadState::NotTried) return;
  LoadState = DictionaryLoadState::Failed;
  try {
    const std::string path = LocateHostDictionary(hostFolder);
    if (path.empty()) return;
    HostDictionary = ReadDictionary(path);
  } catch (const std::bad_alloc&) {
    HostDictionary.reset();
  }
  if (HostDictionary) LoadState = DictionaryLoadState::Loaded;
}

std::string LocalizeString(const char* labelled) {
  if (!labelled) return {};
  if (LoadState == DictionaryLoadState::NotTried) {
    std::string folder = HostFolder();
    if (!folder.empty()) folder.pop_back();  // the trailing backslash
    LoadHostDictionaryFrom(folder.c_str());
  }
  if (!HostDictionary) return std::string(LabelDefault(labelled));
  return LookUpLabel(HostDictionary->text, &HostDictionary->index, labelled);
}

void FreeHostDictionary() {
  HostDictionary.reset();
  LoadState = DictionaryLoadState::NotTried;
}

DictionaryLoadState HostDictionaryState() { return LoadState; }
