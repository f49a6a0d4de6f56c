#include "output.h"

#include "sim_host.h"

namespace simapp {

void WriteLine(HANDLE handle, const std::string& line) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr);
}

void WriteTranscriptLine(const std::string& line) { WriteLine(GetStdHandle(STD_OUTPUT_HANDLE), line); }

void WriteDiagnostic(const std::string& line) { WriteLine(GetStdHandle(STD_ERROR_HANDLE), line); }

std::string ErrorLineText(const std::string& text) {
  return sim::Json{{"kind", "error"}, {"text", text}}.dump(-1, ' ', false, sim::Json::error_handler_t::replace);
}

}  // namespace simapp
