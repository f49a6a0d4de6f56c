#include "localization_support.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  char name[MAX_PATH + 64];
  std::snprintf(name, sizeof name, "%sqb-loc-%lu-%d", temp, GetCurrentProcessId(), counter++);
  path_ = name;
  RemoveTreeA(path_);
  MakeFolder(path_);
}

TempFolder::~TempFolder() { RemoveTreeA(path_); }

void MakeFolder(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\');
  if (cut != std::string::npos && cut > 2 && GetFileAttributesA(path.substr(0, cut).c_str()) == INVALID_FILE_ATTRIBUTES)
    MakeFolder(path.substr(0, cut));
  CreateDirectoryA(path.c_str(), nullptr);
}

void RemoveTreeA(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTreeA(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  MakeFolder(path.substr(0, path.find_last_of('\\')));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string DictionaryBytes(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(char(unsigned(c) & 0xFF));
    bytes.push_back(char((unsigned(c) >> 8) & 0xFF));
  }
  return bytes;
}

HostLocaleValue::HostLocaleValue(int version, const char* value)
    : key_("Software\\Adobe\\Photoshop Elements\\" + std::to_string(version) + ".0") {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, "Locale", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), DWORD(std::strlen(value) + 1));
  RegCloseKey(key);
}

HostLocaleValue::~HostLocaleValue() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str()); }
