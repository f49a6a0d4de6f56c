// The simulated host's reader of images in the host's own layered format,
// as outside tools write them: the image's size and mode, its layers from
// bottom to top, whether each is a smart object and the names of its smart
// filters. It reads only within the bytes it is given and gives nothing for
// a file it cannot read whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct PsdLayer {
  std::string name;                        // UTF-8
  bool smartObject = false;
  std::vector<std::string> smartFilters;   // UTF-8, element 0 the filter of index 1
};

struct PsdImage {
  int width = 0;
  int height = 0;
  int channels = 0;
  int depth = 0;
  int colorMode = 0;   // 3: RGB
  std::vector<PsdLayer> layers;   // bottom to top
};

// False, with `image` as it was, when the bytes are no such image or are
// cut short anywhere the reader looks.
bool ParsePsd(std::string_view bytes, PsdImage* image);

}  // namespace sim
