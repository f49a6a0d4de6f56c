// What the module learns about the host's language and Layers panel at
// start-up, from the host's folder, registry key, application properties and
// preferences file. Every source is optional; a missing one leaves the
// defaults (not German, collation unchanged, thumbnail size 2).
#pragma once

#include <cstddef>

struct CollationLanguage {
  const char* code;  // the host's "Locale" value, compared exactly
  const char* name;  // the language name the runtime's setlocale accepts
};
extern const CollationLanguage CollationLanguageTable[15];

// Index 0 to 3 into the host's four Layers-panel thumbnail sizes.
extern int LayerThumbnailSize;

// True when the host runs in German; then also switches FeatureMessageTable
// to German. The caller sets HostIsGerman and the message table.
bool DetectGermanHost();
// The same for a host folder given with its trailing backslash.
bool DetectGermanHostIn(const char* hostFolder);

// The registry value "Locale" of the host's version key into `buffer`
// (zero-terminated, cut to size - 1); false when it is missing.
bool ReadHostLocaleCode(char* buffer, std::size_t size);

// The collation language name for the host's "Locale" value (empty when the
// code is unknown); true when the host keeps a non-empty value. False, with
// the buffer untouched, for hosts other than Elements 4 and up.
bool GetCollationLanguage(char* buffer, std::size_t size);
// The collation to set, by the rules of ApplyCollation; false: leave it.
bool ChooseCollation(char* name, std::size_t size);
// Sets the runtime's collation category (only it) for the host's language.
void ApplyCollation();

// The host's user-interface language key (application property
// interfacePrefs / uiLanguageKey); the buffer is untouched when the host
// does not answer.
void ReadHostUiLanguage(char* buffer, std::size_t size);

// 0 to 3 from the host's preferences file, -1 when nothing valid is found, 0
// for hosts other than Elements 8 and up.
int ReadLayerThumbnailSize();
// The rule applied to the file's bytes is ThumbnailSizeFromPreferences.
