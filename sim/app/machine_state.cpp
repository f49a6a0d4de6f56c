#include "machine_state.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "text.h"

namespace simapp {
namespace {

// Registry keys the host and the plug-in read, under HKEY_LOCAL_MACHINE:
//   Software\Adobe\Photoshop Elements\<major>.0   value "Locale" (the host's language code)
//   Software\Dovetailworks\Quillbright           value "InstallPath" (the plug-in's folder)
// Both are written in the 64-bit and the 32-bit registry views, since a 32-bit
// plug-in reads the redirected view. Every run deletes both trees first.
constexpr const wchar_t* kHostKeyRoot = L"Software\\Adobe\\Photoshop Elements";
constexpr const wchar_t* kPluginKeyRoot = L"Software\\Dovetailworks";
constexpr const wchar_t* kPluginKey = L"Software\\Dovetailworks\\Quillbright";
constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

std::string Failed(const std::string& what, const std::wstring& path, DWORD error = GetLastError()) {
  return what + " " + Narrow(path) + " failed (error " + std::to_string(error) + ")";
}

// Wine answers GetVersionEx per executable name from its own settings.
constexpr const wchar_t* kWineAppDefaults = L"Software\\Wine\\AppDefaults\\";

std::string SetReportedWindowsVersion(const HostSettings& host) {
  const wchar_t* version = host.windows == "xp" ? L"winxp64" : host.windows == "10" ? L"win10" : L"win7";
  const std::wstring key = kWineAppDefaults + HostExecutableName(host);
  HKEY k = nullptr;
  LSTATUS s = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr);
  if (s != ERROR_SUCCESS) return Failed("creating registry key", key, DWORD(s));
  s = RegSetValueExW(k, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                     DWORD((wcslen(version) + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
  if (s != ERROR_SUCCESS) return Failed("setting registry value", key + L"\\Version", DWORD(s));
  return {};
}

std::string DeleteKeyTree(const wchar_t* path) {
  for (REGSAM view : kViews) {
    HKEY parent = nullptr;
    std::wstring p = path;
    size_t cut = p.rfind(L'\\');
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, p.substr(0, cut).c_str(), 0, KEY_ALL_ACCESS | view, &parent) != ERROR_SUCCESS)
      continue;
    LSTATUS s = RegDeleteTreeW(parent, p.substr(cut + 1).c_str());
    RegCloseKey(parent);
    if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) return Failed("deleting registry key", p, DWORD(s));
  }
  return {};
}

std::string SetRegistryString(const std::wstring& key, const wchar_t* name, const std::string& utf8) {
  const std::wstring value = Widen(utf8);
  for (REGSAM view : kViews) {
    HKEY k = nullptr;
    LSTATUS s = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &k, nullptr);
    if (s != ERROR_SUCCESS) return Failed("creating registry key", key, DWORD(s));
    s = RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    if (s != ERROR_SUCCESS) return Failed("setting registry value", key + L"\\" + name, DWORD(s));
  }
  return {};
}

std::wstring ParentFolder(const std::wstring& path) {
  size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

// The host's preferences file as far as the plug-in reads it: the layer
// thumbnail size is the byte eight places before the marker "fittedloob".
std::string PreferencesBytes(int thumbnailSize) {
  std::string b = "8BPF";
  b.append(4, '\0');
  b.push_back(char(thumbnailSize));
  b.append(7, '\0');
  b += "fittedloob";
  b.append(4, '\0');
  return b;
}

std::string DictionaryBytes(const sim::Json& entries) {
  // UTF-16LE with a byte-order mark; each entry a quoted "key=text" line, as
  // the host's own dictionary has them (the quote ends a translation).
  std::wstring text;
  for (auto& [key, value] : entries.items())
    text += L"\"" + Widen(key) + L"=" + Widen(value.get<std::string>()) + L"\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes.push_back(char(c & 0xFF));
    bytes.push_back(char((c >> 8) & 0xFF));
  }
  return bytes;
}

std::string ReadFileText(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(f);
  return bytes;
}

}  // namespace

std::wstring AppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) return {};
  return path;
}

std::wstring ScenarioFilesManifest() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) return {};
  return std::wstring(path) + L"\\simeditor-files.txt";
}

bool RemoveTree(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryW(path.c_str()) != 0;
}

bool MakeFolders(const std::wstring& folder) {
  if (folder.empty()) return false;
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::wstring parent = ParentFolder(folder);
  if (!parent.empty() && parent.size() > 2 && !MakeFolders(parent)) return false;
  return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  if (!MakeFolders(ParentFolder(path))) return false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() || WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

std::string PrepareHostFolder(const std::wstring& folder, const HostSettings& host) {
  if (!RemoveTree(folder)) return Failed("removing the previous host folder", folder);
  const std::wstring locale = host.german ? L"de_DE" : L"en_US";
  for (const std::wstring& sub : {L"\\Locales\\" + locale, std::wstring(L"\\Required"), std::wstring(L"\\Presets\\Scripts")})
    if (!MakeFolders(folder + sub)) return Failed("creating", folder + sub);
  for (const std::string& script : host.scripts) {
    const std::wstring path = folder + L"\\Presets\\Scripts\\" + Widen(script);
    if (!WriteWholeFile(path, "// " + CodePageFromUtf8(script, CP_ACP) + "\r\nalert(\"" +
                                  CodePageFromUtf8(script, CP_ACP) + "\");\r\n"))
      return Failed("writing", path);
  }
  if (host.hasDictionary) {
    std::wstring place = folder + L"\\Locales\\" + locale;
    if (host.dictionaryPlace == "Required") place = folder + L"\\Required";
    else if (host.dictionaryPlace == "Support Files") place += L"\\Support Files";
    const std::wstring path = place + L"\\tw10428.dat";
    if (!WriteWholeFile(path, DictionaryBytes(host.dictionary))) return Failed("writing", path);
  }
  return {};
}

std::string PrepareMachineState(const sim::Json& scenario, const HostSettings& host, const std::wstring& manifest) {
  // Traces of earlier runs: the scenario files listed by the last run, the
  // registry trees, the host's and the plug-in's folders in the user's
  // application data.
  const std::string listed = ReadFileText(manifest);
  for (size_t start = 0, end; start < listed.size(); start = end + 1) {
    end = listed.find('\n', start);
    if (end == std::string::npos) end = listed.size();
    if (end > start) DeleteFileW(Widen(listed.substr(start, end - start)).c_str());  // files only, never folders
  }
  DeleteFileW(manifest.c_str());
  for (const wchar_t* key : {kHostKeyRoot, kPluginKeyRoot})
    if (std::string e = DeleteKeyTree(key); !e.empty()) return e;
  const std::wstring appData = AppDataFolder();
  if (appData.empty()) return "the application-data folder cannot be found";
  for (const wchar_t* sub : {L"\\Adobe\\Photoshop Elements", L"\\Dovetailworks"})
    if (!RemoveTree(appData + sub)) return Failed("removing", appData + sub);

  if (std::string e = SetReportedWindowsVersion(host); !e.empty()) return e;
  const std::wstring version = std::to_wstring(host.version);
  if (host.hasLocale) {
    std::string e = SetRegistryString(std::wstring(kHostKeyRoot) + L"\\" + version + L".0", L"Locale", host.locale);
    if (!e.empty()) return e;
  }
  const sim::Json plugin = scenario.value("plugin", sim::Json::object());
  if (auto it = plugin.find("installPath"); it != plugin.end() && it->is_string())
    if (std::string e = SetRegistryString(kPluginKey, L"InstallPath", it->get<std::string>()); !e.empty()) return e;

  if (host.hasThumbnailSize) {
    const std::wstring prefs = appData + L"\\Adobe\\Photoshop Elements\\" + version + L".0\\Editor\\Adobe Photoshop Elements " +
                               version + L" Prefs.psp";
    if (!WriteWholeFile(prefs, PreferencesBytes(host.thumbnailSize))) return Failed("writing", prefs);
  }
  if (auto it = plugin.find("settings"); it != plugin.end() && it->is_array()) {
    std::string text;
    for (const sim::Json& line : *it)
      text += (line.is_string() ? CodePageFromUtf8(line.get<std::string>(), CP_ACP) : line.dump()) + "\r\n";
    const std::wstring settings = appData + L"\\Dovetailworks\\Quillbright\\Quillbright" + Widen(host.product) + version + L".ini";
    if (!WriteWholeFile(settings, text)) return Failed("writing", settings);
  }

  std::string written;
  if (auto it = scenario.find("files"); it != scenario.end())
    for (auto& [path, content] : it->items()) {
      written += path + "\n";
      // The list is written before each file so that a failed run is cleaned too.
      if (!WriteWholeFile(manifest, written)) return Failed("writing", manifest);
      if (!WriteWholeFile(Widen(path), FileBytes(content.get<std::string>()))) return Failed("writing", Widen(path));
    }
  return {};
}

}  // namespace simapp
