// The simulated host's reader of layered images, on the module's committed
// template and on that file cut short or changed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "psd_reader.h"

namespace sim {
namespace {

std::string TemplateBytes() {
  std::ifstream in(QB_TEMPLATE_IMAGE, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(PsdReader, ReadsTheTemplatesLayersAndTheirSmartFilters) {
  const std::string bytes = TemplateBytes();
  ASSERT_FALSE(bytes.empty()) << QB_TEMPLATE_IMAGE;
  PsdImage image;
  ASSERT_TRUE(ParsePsd(bytes, &image));
  EXPECT_EQ(image.width, 1);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.channels, 3);
  EXPECT_EQ(image.depth, 8);
  EXPECT_EQ(image.colorMode, 3);
  std::vector<std::string> names;
  for (const PsdLayer& layer : image.layers) {
    names.push_back(layer.name);
    EXPECT_TRUE(layer.smartObject) << layer.name;
    EXPECT_FALSE(layer.smartFilters.empty()) << layer.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Other", "Video", "Texture", "Stylize", "Sketch", "Render", "Pixelate",
                                             "Noise", "Distort", "Brush Strokes", "Blur", "Artistic", "Filter",
                                             "Sharpen", "Enhance"}));
  ASSERT_EQ(image.layers.size(), 15u);
  // Element k is the filter of index k + 1: the last of a family comes first.
  EXPECT_EQ(image.layers[10].smartFilters,
            (std::vector<std::string>{"Surface Blur", "Smart Blur", "Radial Blur", "Motion Blur", "Gaussian Blur",
                                      "Blur More", "Blur", "Average"}));
  EXPECT_EQ(image.layers[4].smartFilters.size(), 14u);
  EXPECT_EQ(image.layers[4].smartFilters[9], "Cont\xC3\xA9 Crayon");   // read as UTF-8
  EXPECT_EQ(image.layers[14].smartFilters, (std::vector<std::string>{"Variations", "Shadow/Highlight"}));
}

TEST(PsdReader, AFileCutShortAnywhereReadsAsNothing) {
  const std::string bytes = TemplateBytes();
  ASSERT_GT(bytes.size(), 1000u);
  // Every cut within the header and the layer records, then a sample beyond.
  std::vector<std::size_t> cuts;
  for (std::size_t n = 0; n < 4096 && n < bytes.size(); ++n) cuts.push_back(n);
  for (std::size_t n = 4096; n < bytes.size(); n += 997) cuts.push_back(n);
  PsdImage full;
  ASSERT_TRUE(ParsePsd(bytes, &full));
  for (std::size_t n : cuts) {
    PsdImage image;
    image.width = -1;
    const bool read = ParsePsd(std::string_view(bytes).substr(0, n), &image);
    if (!read) {
      EXPECT_EQ(image.width, -1) << "cut at " << n << " changed the image";
      continue;
    }
    // Only a cut in the pixels after the layers may read, and then all of them.
    EXPECT_EQ(image.layers.size(), full.layers.size()) << "cut at " << n;
  }
}

TEST(PsdReader, RefusesWhatIsNoLayeredImage) {
  PsdImage image;
  EXPECT_FALSE(ParsePsd("", &image));
  EXPECT_FALSE(ParsePsd("8BPS simulated host PSD\n{}", &image));
  std::string bytes = TemplateBytes();
  ASSERT_GT(bytes.size(), 30u);
  std::string large = bytes;
  large[5] = 2;   // the large-document variant
  EXPECT_FALSE(ParsePsd(large, &image));
  // A layer count far beyond the records there are.
  std::string counted = bytes;
  std::size_t at = 26;
  for (int section = 0; section < 2; ++section) {
    const std::size_t length = std::size_t(std::uint8_t(bytes[at])) << 24 | std::size_t(std::uint8_t(bytes[at + 1])) << 16 |
                               std::size_t(std::uint8_t(bytes[at + 2])) << 8 | std::uint8_t(bytes[at + 3]);
    at += 4 + length;
  }
  at += 8;   // the section's length and the layer information's length
  counted[at] = 0x7F;
  EXPECT_FALSE(ParsePsd(counted, &image));
  EXPECT_TRUE(image.layers.empty());
}

}  // namespace
}  // namespace sim
