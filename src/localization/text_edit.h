// Small edits of translated labels: dropping mnemonic marks and colons,
// replacing words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Removes every occurrence of `c` from the zero-terminated `text`, in place.
void RemoveAllChars(char* text, char c);

// Replaces every occurrence of the non-empty `text` by `replacement`, left to
// right, resuming after each inserted replacement (so a replacement that
// contains `text` is not replaced again).
void ReplaceAll(std::string& subject, std::string_view text, std::string_view replacement);
// The same on a zero-terminated text in a buffer of `size` bytes; a result
// longer than size - 1 characters is cut there.
void ReplaceAll(char* buffer, std::size_t size, const char* text, const char* replacement);
