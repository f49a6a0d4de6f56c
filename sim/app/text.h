// Text conversions between the transcript (UTF-8), Win32 wide strings and the
// plug-in's narrow texts (code page 1252), and the scenario's "hex:" bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace simapp {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);               // to UTF-8
std::string Utf8FromCodePage(std::string_view bytes, unsigned codePage);
std::string CodePageFromUtf8(std::string_view utf8, unsigned codePage);

// "hex:00ff" → the bytes; nullopt when the text after "hex:" is not pairs of
// hex digits. IsHexText tells whether a scenario text is meant as bytes.
bool IsHexText(std::string_view text);
std::optional<std::string> DecodeHex(std::string_view text);

// The bytes a scenario file entry stands for: "hex:..." as bytes, anything
// else as text in the machine's ANSI code page (how the plug-in reads files).
std::string FileBytes(std::string_view scenarioText);

}  // namespace simapp
