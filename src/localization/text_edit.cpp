#include "localization/text_edit.h"

#include <cstring>

void RemoveAllChars(char* text, char c) {
  if (!text) return;
  char* out = text;
  for (const char* in = text; *in; ++in)
    if (*in != c) *out++ = *in;
  *out = '\0';
}

void ReplaceAll(std::string& subject, std::string_view text, std::string_view replacement) {
  if (text.empty()) return;
  for (std::size_t at = subject.find(text); at != std::string::npos;
       at = subject.find(text, at + replacement.size()))
    subject.replace(at, text.size(), replacement);
}

void ReplaceAll(char* buffer, std::size_t size, const char* text, const char* replacement) {
  if (!buffer || size == 0 || !text || !*text || !replacement) return;
  std::string subject(buffer, strnlen(buffer, size - 1));
  ReplaceAll(subject, text, replacement);
  const std::size_t kept = subject.size() < size - 1 ? subject.size() : size - 1;
  std::memcpy(buffer, subject.data(), kept);
  buffer[kept] = '\0';
}
