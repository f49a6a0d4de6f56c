// The settings file's text, read and written without the file system, so
// that any bytes a user or a broken disk leaves there can be tried on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kSettingsCount = 10;
using SettingsValues = std::array<std::int32_t, kSettingsCount>;

// Only the first-snapshot preference (index 6) is on by default.
constexpr SettingsValues kSettingsDefaults = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0};

// The indexes the module itself reads.
constexpr std::size_t kSettingDeactivated = 0;
constexpr std::size_t kSettingColorize = 1;
constexpr std::size_t kSettingAutoUpdate = 3;
constexpr std::size_t kSettingLargeFontPreview = 4;
constexpr std::size_t kSettingInterpolation = 5;
constexpr std::size_t kSettingFirstSnapshot = 6;
constexpr std::size_t kSettingNonLinearHistory = 7;
constexpr std::size_t kSettingHistoryLog = 8;
constexpr std::size_t kSettingShortcutsOff = 9;

// Longest path a line of the file gives (the path buffers hold 260 bytes).
constexpr std::size_t kSettingsPathLimit = 259;

constexpr const char* kSettingsHeader = "Quillbright1.0";

struct SettingsContent {
  SettingsValues values = kSettingsDefaults;
  std::string scriptPath;                // empty: none
  std::vector<std::string> actionFiles;  // in the order they are loaded
};

// Reads the file's bytes as they are on disk (lines ending in CR LF or LF).
// The first line is the header and is not looked at. Each number is read as
// "%d\n" reads it: blanks before it and after it are skipped, an optional
// sign and decimal digits make it. The first number that cannot be read (no
// digits, or beyond 32 bits) ends the reading: it and everything after it,
// script path and action files too, keep their defaults. A script-path line
// that begins with "0" is no path. A path line longer than
// kSettingsPathLimit is passed over whole (it is a damaged line, and pieces
// of it would be bogus paths), and so is an empty one; either still counts
// as one of the N action-file lines. A zero byte ends a path.
SettingsContent ReadSettingsText(std::string_view bytes);

// The file's text as it goes on disk, CR LF after each line: the header,
// the ten values, the script path ("0" for none), then the number of action
// files and their paths when `withActionFiles`, else 0 and no path.
std::string WriteSettingsText(const SettingsValues& values, std::string_view scriptPath,
                              const std::vector<std::string>& actionFiles, bool withActionFiles);
