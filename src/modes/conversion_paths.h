// Where Convert to 16-Bit/Channel puts its files: a folder and a base name
// taken from the document's file, or else from its title.
#pragma once

#include <cstddef>

constexpr std::size_t kConversionPathSize = 512;

struct ConversionPlace {
  char folder[kConversionPathSize];  // ends in a backslash
  char base[kConversionPathSize];    // a file name without its extension
};

// The base name when the document's title cannot be read.
constexpr const char* kUntitledBaseName = "16bitPerChannel";

// The file name without its last extension ("a.b.tif" gives "a.b"); a name
// without an extension stays whole.
void NameWithoutExtension(const char* name, char* out, std::size_t size);

// From a file path: the folder up to and including its last backslash and
// the file name without its last extension. False for a path without a
// backslash or without a file name.
bool PlaceOfFile(const char* path, ConversionPlace* place);

// `folder` (a backslash added when it lacks one) and the title without its
// last extension, or kUntitledBaseName when there is no title.
void PlaceInFolder(const char* folder, const char* title, ConversionPlace* place);

// "%s%s<suffix>" of the place, into `out`; false when it does not fit (a
// cut path would name another file).
bool FormatConversionPath(const ConversionPlace& place, const char* suffix, char* out, std::size_t size);
