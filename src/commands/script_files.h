// Script files the user runs through the module.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The last script the user chose, in the host's code page; empty for none.
constexpr std::size_t kScriptPathSize = 260;
extern char LastScriptPath[kScriptPathSize];

// Largest script file read: anything bigger is refused rather than held.
constexpr long kScriptFileLimit = 1L << 30;

// The file's text, without a UTF-8 byte-order mark; nothing when the file
// does not exist, cannot be read whole, or reaches kScriptFileLimit.
std::optional<std::string> ReadScriptFile(const char* path);

// Drops a UTF-8 byte-order mark (all three of its bytes) from the start of a
// script's text; any other start, a lone 0xEF included, stays.
void DropByteOrderMark(std::string& text);

// The folder the file chooser opens in: the folder of `lastPath` (up to and
// without its last backslash), or `fallback` when there is none.
std::string ScriptChooserFolder(const char* lastPath, const char* fallback);
