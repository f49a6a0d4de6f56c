// The module's settings: the record, its file per host version in the
// user's application data, and putting the record into effect.
#pragma once

#include <cstddef>

#include "settings/settings_text.h"

// Index i belongs to the Preferences dialog's control 1030 + i.
extern SettingsValues SettingsRecord;

constexpr std::size_t kSettingsFilePathSize = 512;

// "<application data>\Dovetailworks\Quillbright\Quillbright<product><version>.ini";
// false when the application-data folder cannot be found or the path does
// not fit.
bool SettingsFilePath(char (&path)[kSettingsFilePathSize]);

// Reads the file at start-up: the record, the last script and the action
// files, which are loaded into the host again unless the module is switched
// off. When the module is not switched off it becomes active and the record
// is applied. False when there is no file to read (a first run).
bool LoadSettings();

// Writes the file, creating its folders where missing. Nothing is written
// before this run has read the settings, so that a file the run never took
// in (or could not open) is not replaced by defaults.
void SaveSettings();

// Back to the state before start-up read anything: the record's defaults,
// no script, no action files, and nothing to save until the next reading.
void ResetSettings();

// Puts the record into effect: the colours and the shortcuts of the module,
// and, from editor 6 on, the host preferences it keeps for the host.
void ApplyPreferences();
