#include "localization/host_language.h"

#include <windows.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "localization/host_files.h"
#include "localization/preferences_file.h"

const CollationLanguage CollationLanguageTable[15] = {
    {"en_us", "English"},
    {"cs_cz", "Czech"},
    {"de_de", "German"},
    {"es_es", "Spanish"},
    {"fr_fr", "French"},
    {"it_it", "Italian"},
    {"ja_jp", "Japanese"},
    {"nl_nl", "Dutch"},
    {"pl_pl", "Polish"},
    {"pt_br", "portuguese-brazil"},
    {"ru_ru", "Russian"},
    {"sv_se", "Swedish"},
    {"tr_tr", "Turkish"},
    {"zh_cn", "chinese-simplified"},
    {"zh_tw", "chinese-traditional"},
};

int LayerThumbnailSize = 2;

namespace {

constexpr int kAppDataFolder = 26;  // CSIDL_APPDATA

bool HostKeepsLocale() { return HostIsElements && HostMajorVersion >= 4; }

void CopyBounded(char* buffer, std::size_t size, const char* text) {
  if (size == 0) return;
  const std::size_t length = strnlen(text, size - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

}  // namespace

bool ReadHostLocaleCode(char* buffer, std::size_t size) {
  if (!buffer || size < 2) return false;
  char key[64];
  std::snprintf(key, sizeof key, "Software\\Adobe\\Photoshop Elements\\%d.0", HostMajorVersion);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  // One byte is kept back so that a value filling the buffer stays terminated.
  std::string value(size, '\0');
  DWORD type = 0;
  DWORD bytes = DWORD(size - 1);
  const LSTATUS status = RegQueryValueExA(opened, "Locale", nullptr, &type,
                                          reinterpret_cast<BYTE*>(value.data()), &bytes);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  CopyBounded(buffer, size, value.c_str());
  return true;
}

bool DetectGermanHostIn(const char* hostFolder) {
  const std::string folder = hostFolder ? hostFolder : "";
  bool german = FileExists((folder + "Locales\\de_DE\\").c_str()) || FileExists((folder + "Zusatzmodule\\").c_str());
  if (!german && HostKeepsLocale()) {
    char code[128] = {};
    german = ReadHostLocaleCode(code, sizeof code) && std::strcmp(code, "de_de") == 0;
  }
  if (german) UseGermanFeatureMessages(true);
  return german;
}

bool DetectGermanHost() { return DetectGermanHostIn(HostFolder().c_str()); }

bool GetCollationLanguage(char* buffer, std::size_t size) {
  if (!buffer || !HostKeepsLocale()) return false;
  char code[128] = {};
  if (!ReadHostLocaleCode(code, sizeof code) || code[0] == '\0') return false;
  for (const CollationLanguage& row : CollationLanguageTable)
    if (std::strcmp(code, row.code) == 0) {
      CopyBounded(buffer, size, row.name);
      break;
    }
  return true;
}

bool ChooseCollation(char* name, std::size_t size) {
  if (!name || size == 0) return false;
  std::memset(name, 0, size);
  if (GetCollationLanguage(name, size)) return true;  // an empty name: the system's default
  if (!HostIsGerman) return false;
  CopyBounded(name, size, "German");
  return true;
}

void ApplyCollation() {
  char name[128];
  if (ChooseCollation(name, sizeof name)) std::setlocale(LC_COLLATE, name);
}

void ReadHostUiLanguage(char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  try {
    ReferenceHolder reference;
    if (MakeReference(reference) != 0) return;
    const TypeID prefsKey = StringToTypeID("interfacePrefs");
    if (ReferenceProcs()->PutProperty(reference.get(), FourCC("Prpr"), prefsKey) != 0) return;
    if (ReferenceProcs()->PutEnumerated(reference.get(), FourCC("capp"), FourCC("Ordn"), FourCC("Trgt")) != 0)
      return;
    DescriptorHolder result;
    if (ControlProcs()->Get(result.out(), reference.get()) != 0) return;
    DescriptorHolder prefs;
    TypeID cls = 0;
    if (DescriptorProcs()->GetObjectValue(result.get(), prefsKey, &cls, prefs.out()) != 0) return;
    // Read into a copy: a failed read must not leave part of a text behind.
    std::string text(size, '\0');
    if (DescriptorProcs()->GetString(prefs.get(), StringToTypeID("uiLanguageKey"), text.data(),
                                     std::uint32_t(size)) == 0)
      CopyBounded(buffer, size, text.c_str());
  } catch (const SuiteError&) {
    // No host to ask: the buffer stays as it was.
  }
}

int ReadLayerThumbnailSize() {
  if (!HostIsElements || HostMajorVersion < 8) return 0;
  char appData[MAX_PATH] = {};
  if (!GetSpecialFolderPath(kAppDataFolder, appData)) return -1;
  char path[1024];
  std::snprintf(path, sizeof path, "%s\\Adobe\\Photoshop Elements\\%d.0\\Editor\\Adobe Photoshop Elements %d Prefs.psp",
                appData, HostMajorVersion, HostMajorVersion);
  std::unique_ptr<char[]> bytes;
  const std::size_t length = ReadWholeFile(path, bytes, 0);
  if (length == 0) return -1;
  return ThumbnailSizeFromPreferences(bytes.get(), length);
}
