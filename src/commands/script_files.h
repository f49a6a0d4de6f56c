// Script files the user runs through the module.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The last script the user chose, in the host's code page; empty for none.
constexpr std::size_t kScriptPathSize = 260;
extern char LastScriptPath[kScriptPathSize];

// The file's text, without a UTF-8 byte-order mark; nothing when the file
// does not exist or cannot be read whole.
std::optional<std::string> ReadScriptFile(const char* path);

// The folder the file chooser opens in: the folder of `lastPath` (up to and
// without its last backslash), or `fallback` when there is none.
std::string ScriptChooserFolder(const char* lastPath, const char* fallback);
