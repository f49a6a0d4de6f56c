// Where the transcript and the diagnostics go: whole lines written straight
// to a handle, so that nothing is held back in a buffer when the editor ends.
#pragma once

#include <windows.h>

#include <string>

namespace simapp {

void WriteLine(HANDLE handle, const std::string& line);  // appends "\n"
void WriteTranscriptLine(const std::string& line);      // to the standard output
void WriteDiagnostic(const std::string& line);          // to the standard error
std::string ErrorLineText(const std::string& text);     // {"kind":"error","text":...}

}  // namespace simapp
