#include "modes/conversion_paths.h"

#include <cstdio>
#include <cstring>

namespace {

void CopyCut(const char* text, std::size_t length, char* out, std::size_t size) {
  if (size == 0) return;
  if (length >= size) length = size - 1;
  std::memcpy(out, text, length);
  out[length] = '\0';
}

}  // namespace

void NameWithoutExtension(const char* name, char* out, std::size_t size) {
  if (!out || size == 0) return;
  if (!name) {
    out[0] = '\0';
    return;
  }
  const char* dot = std::strrchr(name, '.');
  // A leading dot starts a name, not an extension.
  const std::size_t length = dot && dot != name ? std::size_t(dot - name) : std::strlen(name);
  CopyCut(name, length, out, size);
}

bool PlaceOfFile(const char* path, ConversionPlace* place) {
  if (!path || !place) return false;
  const char* slash = std::strrchr(path, '\\');
  if (!slash || !slash[1]) return false;
  const std::size_t folderLength = std::size_t(slash - path) + 1;
  if (folderLength >= sizeof place->folder) return false;
  CopyCut(path, folderLength, place->folder, sizeof place->folder);
  NameWithoutExtension(slash + 1, place->base, sizeof place->base);
  return place->base[0] != '\0';
}

void PlaceInFolder(const char* folder, const char* title, ConversionPlace* place) {
  if (!place) return;
  const char* f = folder ? folder : "";
  const std::size_t length = std::strlen(f);
  std::snprintf(place->folder, sizeof place->folder, "%s%s", f, length && f[length - 1] == '\\' ? "" : "\\");
  if (title && *title) NameWithoutExtension(title, place->base, sizeof place->base);
  else place->base[0] = '\0';
  if (!place->base[0]) std::snprintf(place->base, sizeof place->base, "%s", kUntitledBaseName);
}

bool FormatConversionPath(const ConversionPlace& place, const char* suffix, char* out, std::size_t size) {
  if (!out || size == 0) return false;
  const int written = std::snprintf(out, size, "%s%s%s", place.folder, place.base, suffix ? suffix : "");
  return written >= 0 && std::size_t(written) < size;
}
