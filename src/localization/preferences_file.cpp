#include "localization/preferences_file.h"

#include "localization/byte_search.h"

int ThumbnailSizeFromPreferences(const char* bytes, std::size_t length) {
  const std::ptrdiff_t marker = FindBytes(bytes, length, "fittedloob", nullptr, 0);
  if (marker < 8) return -1;
  const int size = static_cast<signed char>(bytes[marker - 8]);
  return size >= 0 && size <= 3 ? size : -1;
}
