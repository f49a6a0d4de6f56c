// The host's preferences file as the module reads it: the thumbnail size
// from the raw bytes, and the byte search under it. Beyond "no crash": the
// size is -1 or 0 to 3 and is exactly the signed byte eight places before
// the first marker with two bytes after it, and the search agrees with a
// plain substring search bounded the same way, for needles cut from the
// input itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "localization/byte_search.h"
#include "localization/preferences_file.h"

namespace {

constexpr std::string_view kMarker = "fittedloob";

// What the rule says, in terms of a plain search: a marker counts only
// when at least two bytes follow it, and only the first one counts.
int ExpectedSize(std::string_view bytes) {
  const std::size_t marker = bytes.find(kMarker);
  if (marker == std::string_view::npos || marker + kMarker.size() + 2 > bytes.size() || marker < 8) return -1;
  const int size = static_cast<signed char>(bytes[marker - 8]);
  return size >= 0 && size <= 3 ? size : -1;
}

// The first position at or after `start` where a non-empty needle begins
// with at least `longest` + 2 bytes from there to the end.
std::ptrdiff_t ExpectedPosition(std::string_view bytes, std::string_view needle, std::size_t longest,
                                std::size_t start) {
  if (needle.empty() || start > bytes.size()) return -1;
  const std::size_t at = bytes.find(needle, start);
  if (at == std::string_view::npos || at + longest + 2 > bytes.size()) return -1;
  return std::ptrdiff_t(at);
}

void CheckSearch(std::string_view bytes, std::string_view first, const std::string_view* second,
                 std::size_t start) {
  const std::string firstText(first), secondText(second ? *second : std::string_view());
  const std::size_t longest = std::max(first.size(), second ? second->size() : 0);
  std::ptrdiff_t expected = ExpectedPosition(bytes, first, longest, start);
  if (second) {
    const std::ptrdiff_t other = ExpectedPosition(bytes, *second, longest, start);
    if (other >= 0 && (expected < 0 || other < expected)) expected = other;
  }
  const std::ptrdiff_t found =
      FindBytes(bytes.data(), bytes.size(), firstText.c_str(), second ? secondText.c_str() : nullptr, start);
  FUZZ_CHECK(found == expected);
}

// A needle of up to 15 bytes cut from the input, up to its first zero byte
// (the search takes zero-terminated needles).
std::string_view NeedleAt(std::string_view bytes, std::size_t at, std::size_t length) {
  const std::string_view cut = bytes.substr(std::min(at, bytes.size()), length % 16);
  return cut.substr(0, cut.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const int thumbnail = ThumbnailSizeFromPreferences(bytes.data(), bytes.size());
  FUZZ_CHECK(thumbnail >= -1 && thumbnail <= 3);
  FUZZ_CHECK(thumbnail == ExpectedSize(bytes));
  FUZZ_CHECK(ThumbnailSizeFromPreferences(nullptr, size) == -1);

  if (size < 4) return 0;
  // The first bytes choose the needles' places and lengths and the start.
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const std::string_view first = NeedleAt(bytes, byte(0) % size, byte(1));
  const std::string_view second = NeedleAt(bytes, byte(2) % size, byte(1) >> 4);
  const std::size_t start = byte(3) % (size + 4);
  CheckSearch(bytes, first, nullptr, start);
  CheckSearch(bytes, first, &second, start);
  CheckSearch(bytes, second, &first, 0);
  CheckSearch(bytes, kMarker, nullptr, 0);
  return 0;
}
