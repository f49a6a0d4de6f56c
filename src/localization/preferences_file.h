// What the module reads out of the host's preferences file: nothing of its
// format is relied upon beyond one marker and the byte eight places before
// it. No Windows here.
#pragma once

#include <cstddef>

// 0 to 3, the Layers panel's thumbnail size, from the file's raw bytes: the
// signed byte eight places before the first "fittedloob"; -1 when there is
// no such marker at position 8 or later, or the byte is out of range.
int ThumbnailSizeFromPreferences(const char* bytes, std::size_t length);
