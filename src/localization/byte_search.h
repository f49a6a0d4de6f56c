// Searching raw bytes: the host's preferences file is read as bytes and
// searched for markers.
#pragma once

#include <cstddef>

// The first position at or after `start` where `needle` (or, when given,
// `second`) begins, compared byte by byte; negative when there is none. The
// scan stops when fewer than the longer needle's length plus two bytes
// remain, so a needle ending within the last two bytes is not found.
std::ptrdiff_t FindBytes(const char* buffer, std::size_t length, const char* needle, const char* second,
                         std::size_t start);
