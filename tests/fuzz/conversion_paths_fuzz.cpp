// The path of the document's file as the host gives it, split into the
// folder and the base name Convert to 16-Bit/Channel writes beside it, and a
// title turned into a base name. Beyond "no crash": the folder and the name
// put back together are the path without the extension, nothing is ever cut
// into another name, and a path too long for its buffer is refused.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "modes/conversion_paths.h"

namespace {

void CheckNameWithoutExtension(const std::string& name) {
  char out[kConversionPathSize] = {};
  NameWithoutExtension(name.c_str(), out, sizeof out);
  const std::string got = out;
  FUZZ_CHECK(got.size() < sizeof out);
  if (name.size() < sizeof out) {
    FUZZ_CHECK(name.starts_with(got));
    if (got.size() < name.size()) {
      // Only the last extension goes, never a leading dot.
      FUZZ_CHECK(!got.empty() && name[got.size()] == '.');
      FUZZ_CHECK(name.find('.', got.size() + 1) == std::string::npos);
    }
  }
}

void CheckPlaceOfFile(const std::string& path) {
  ConversionPlace place{};
  const bool placed = PlaceOfFile(path.c_str(), &place);
  const std::size_t slash = path.rfind('\\');
  if (!placed) return;
  FUZZ_CHECK(slash != std::string::npos && slash + 1 < path.size());
  const std::string folder = place.folder;
  FUZZ_CHECK(folder == path.substr(0, slash + 1));
  char expected[kConversionPathSize] = {};
  NameWithoutExtension(path.c_str() + slash + 1, expected, sizeof expected);
  FUZZ_CHECK(std::strcmp(place.base, expected) == 0 && place.base[0] != '\0');

  char joined[kConversionPathSize] = {};
  const bool fits = FormatConversionPath(place, "_16bit.png", joined, sizeof joined);
  const std::string whole = folder + place.base + "_16bit.png";
  FUZZ_CHECK(fits == (whole.size() < sizeof joined));
  if (fits) FUZZ_CHECK(whole == joined);
}

void CheckPlaceInFolder(const std::string& folder, const std::string& title) {
  ConversionPlace place{};
  PlaceInFolder(folder.c_str(), title.c_str(), &place);
  const std::size_t length = std::strlen(place.folder);
  FUZZ_CHECK(length > 0 && place.folder[length - 1] == '\\');
  FUZZ_CHECK(place.base[0] != '\0');
  if (title.empty()) FUZZ_CHECK(std::strcmp(place.base, kUntitledBaseName) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Texts as the host gives them: zero-terminated; a second one after the
  // first zero is the title.
  const std::size_t zero = bytes.find('\0');
  const std::string first(bytes.substr(0, zero));
  const std::string second = zero == std::string_view::npos ? std::string() : std::string(bytes.substr(zero + 1));
  const std::string title(second.substr(0, second.find('\0')));
  CheckNameWithoutExtension(first);
  CheckPlaceOfFile(first);
  CheckPlaceInFolder(first.substr(0, 300), title);
  return 0;
}
