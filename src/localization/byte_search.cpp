#include "localization/byte_search.h"

#include <algorithm>
#include <cstring>

std::ptrdiff_t FindBytes(const char* buffer, std::size_t length, const char* needle, const char* second,
                         std::size_t start) {
  if (!buffer || !needle) return -1;
  const std::size_t firstLength = std::strlen(needle);
  const std::size_t secondLength = second ? std::strlen(second) : 0;
  const std::size_t longest = std::max(firstLength, secondLength);
  // Positions p with at least longest + 2 bytes from p to the end.
  if (length < longest + 2) return -1;
  const std::size_t last = length - longest - 2;
  for (std::size_t p = start; p <= last; ++p) {
    if (firstLength && std::memcmp(buffer + p, needle, firstLength) == 0) return std::ptrdiff_t(p);
    if (secondLength && std::memcmp(buffer + p, second, secondLength) == 0) return std::ptrdiff_t(p);
  }
  return -1;
}
