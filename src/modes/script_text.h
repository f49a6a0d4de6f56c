// The texts and files the script bridge hands the host's JavaScript engine:
// script paths, quoted literals, the generated scripts and the action file
// that wakes the scripting user interface. No Win32 here, so that the parts
// that deal in outside paths build and are checked anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The buffer sizes the bridge works in.
constexpr std::size_t kBridgePathSize = 512;     // a path, zero included
constexpr std::size_t kBridgeScriptSize = 1024;  // a generated script, zero included

// A Windows path as the engine's File takes it: "C:\Temp\x.atn" becomes
// "/C/Temp/x.atn" (the drive letter behind a leading slash, its colon and
// every backslash a slash). Paths without a drive only have their
// backslashes turned.
std::string ToScriptPath(std::string_view path);

// Whether a path begins with a drive letter and its colon.
bool HasDrive(std::string_view path);

// Puts a backslash before every single quote, so that the text can stand
// inside a single-quoted literal.
std::string EscapeSingleQuotes(std::string_view text);

// "var atnFile = new File('PATH'); app.load(atnFile);" for a Windows path,
// written into `out` (`size` bytes, zero-terminated). `playAfterLoad`
// appends " app.doAction('UIActivate','Quillbright');". False, with `out`
// empty, when the path is empty or the script does not fit: a cut path
// would name another file.
bool BuildLoadActionScript(std::string_view path, bool playAfterLoad, char* out, std::size_t size);

// The one line of the generated script that the activation action runs.
constexpr std::string_view kActivationScriptText = "var win = new Window('dialog','',[0,0,0,0])";

// The bytes of the generated action file: the set "Quillbright" holding the
// action "UIActivate", whose one step runs the script at `scriptPath`
// (UTF-16 code units, without the terminating zero).
std::vector<std::uint8_t> BuildActivationActionFile(std::u16string_view scriptPath);
