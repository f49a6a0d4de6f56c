// The simulated host's reader of layered images. Beyond "no crash": a read
// image has sane sizes and valid UTF-8 names, its layers' filters belong to
// smart objects only, and every input cut short of a read image reads as
// something or nothing without reading past its end.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "psd_reader.h"

namespace {

bool ValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

void CheckImage(const sim::PsdImage& image) {
  FUZZ_CHECK(image.width >= 0 && image.height >= 0);
  FUZZ_CHECK(image.channels >= 1 && image.channels <= 56);
  for (const sim::PsdLayer& layer : image.layers) {
    FUZZ_CHECK(ValidUtf8(layer.name));
    FUZZ_CHECK(layer.smartObject || layer.smartFilters.empty());
    for (const auto& name : layer.smartFilters) FUZZ_CHECK(ValidUtf8(name));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  sim::PsdImage image;
  image.width = -7;   // untouched unless read
  if (sim::ParsePsd(bytes, &image))
    CheckImage(image);
  else
    FUZZ_CHECK(image.width == -7 && image.layers.empty());
  return 0;
}
