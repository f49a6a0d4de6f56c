// Pictures of the open Layer menu with its Layer Mask submenu, read back
// from the PNG files: the module's owner-drawn items must show as text that
// stands out from the background the editor shows them on, in each look of
// the editor (light 4, dark 6, 8 and 10, white 11).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

#include "editor_run.h"

namespace integration {
namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
  bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

double Luminance(const Rgb& c) {
  const auto channel = [](int value) {
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

double Contrast(const Rgb& a, const Rgb& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  Rgb At(int x, int y) const {
    const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

bool ReadPng(const std::string& bytes, Image& image) {
  int channels = 0;
  unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()),
                                                &image.width, &image.height, &channels, 3);
  if (!pixels) return false;
  image.rgb.assign(pixels, pixels + size_t(image.width) * size_t(image.height) * 3);
  stbi_image_free(pixels);
  return true;
}

Json MaskedLayerScenario(int version) {
  return {{"host", {{"version", version}}},
          {"documents",
           {{{"title", "Harbour.psd"},
             {"layers",
              {{{"name", "Background"}, {"background", true}},
               {{"name", "Sky"}, {"userMask", {{"enabled", true}, {"linked", true}}}}}}}}},
          {"steps", {{{"menu", "Layer"}, {"open", {"Layer Mask"}}}, {{"screenshot", "layer-mask"}}}}};
}

// Whether each label of the recorded menu is enabled.
void CollectEnabled(const Json& items, std::map<std::string, bool>& enabled) {
  for (const Json& item : items) {
    if (item.value("ownerDraw", false) && !item.value("label", std::string()).empty())
      enabled[item["label"].get<std::string>()] = item.value("enabled", true);
    if (item.contains("items")) CollectEnabled(item["items"], enabled);
  }
}

TEST(MenuPictures, TheModulesItemsShowReadableTextInEveryLookOfTheEditor) {
  for (int version : {4, 6, 8, 10, 11}) {
    SCOPED_TRACE("editor " + std::to_string(version));
    const std::wstring folder = TempFolder() + L"\\pictures-" + std::to_wstring(version);
    CreateDirectoryW(folder.c_str(), nullptr);
    EditorRun run = RunEditor(MaskedLayerScenario(version), {L"--screenshots", folder});
    ASSERT_EQ(run.exitCode, 0) << run.errorText;

    const std::vector<Json> shots = OfKind(run.transcript, "screenshot");
    ASSERT_EQ(shots.size(), 1u);
    const Json& shot = shots[0];
    EXPECT_EQ(shot["name"], "layer-mask");
    EXPECT_EQ(shot["of"], "menu");  // the open menu, as nothing else was asked for
    Image image;
    ASSERT_TRUE(ReadPng(ReadBytes(folder + L"\\layer-mask.png"), image)) << "no readable layer-mask.png";
    EXPECT_EQ(image.width, shot["width"].get<int>());
    EXPECT_EQ(image.height, shot["height"].get<int>());

    std::map<std::string, bool> enabled;
    for (const Json& menu : OfKind(run.transcript, "menu")) CollectEnabled(menu["items"], enabled);

    // The last drawing of each text of the menus before the picture is what
    // the picture shows.
    std::map<std::string, std::pair<Json, Json>> lastDrawn;  // text -> (entry, origin)
    for (const Json& line : run.transcript) {
      if (line["kind"] == "screenshot") break;
      if (line["kind"] != "paint" || line["window"] != "menu") continue;
      for (const Json& entry : line["what"])
        if (entry.contains("text")) lastDrawn[entry["text"].get<std::string>()] = {entry, line["origin"]};
    }
    int checked = 0;
    for (const auto& [text, drawn] : lastDrawn) {
      if (!enabled.count(text)) continue;  // not a label of the module's items
      SCOPED_TRACE("\"" + text + "\"");
      const Json& entry = drawn.first;
      const int left = drawn.second[0].get<int>() + entry["rect"][0].get<int>() - shot["left"].get<int>();
      const int top = drawn.second[1].get<int>() + entry["rect"][1].get<int>() - shot["top"].get<int>();
      const int right = left + entry["rect"][2].get<int>() - entry["rect"][0].get<int>();
      const int bottom = top + entry["rect"][3].get<int>() - entry["rect"][1].get<int>();
      ASSERT_TRUE(left >= 0 && top >= 0 && right <= image.width && bottom <= image.height && left < right && top < bottom)
          << "the text lies outside the picture";
      std::map<Rgb, int> counts;
      for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) ++counts[image.At(x, y)];
      const Rgb background =
          std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
      const Json& said = entry["background"];
      EXPECT_EQ(background, (Rgb{said[0].get<int>(), said[1].get<int>(), said[2].get<int>()}))
          << "the picture shows another background than the one drawn";
      double strongest = 1.0;
      for (const auto& [colour, count] : counts) strongest = std::max(strongest, Contrast(colour, background));
      // Greyed items are faint by design; enabled ones must read well.
      EXPECT_GE(strongest, enabled[text] ? 2.5 : 1.5)
          << "text " << entry["color"].dump() << " on " << said.dump();
      ++checked;
    }
    EXPECT_GE(checked, 3) << "too few of the module's items were seen drawn";
  }
}

TEST(Screenshots, WithoutAFolderTheyAreRecordedAndNothingIsWritten) {
  Json scenario = {{"host", {{"version", 10}}},
                   {"steps",
                    {{{"screenshot", "whole"}},
                     {{"screenshot", "panel"}, {"of", "layers"}},
                     {{"screenshot", "tools"}, {"of", "toolbar"}},  // editor 10 has no toolbar view
                     {{"screenshot", "nothing-open"}, {"of", "menu"}}}}};
  EditorRun run = RunEditor(
      scenario, {},
      {R"({"kind":"error","text":"screenshot \"tools\": the toolbar view does not exist in this editor's version and layout"})",
       R"({"kind":"error","text":"screenshot \"nothing-open\": no menu is open"})"});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> shots = OfKind(run.transcript, "screenshot");
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0]["name"], "whole");
  EXPECT_EQ(shots[0]["of"], "main");
  EXPECT_EQ(shots[0]["width"], 1024);  // the whole window, frame and all
  EXPECT_EQ(shots[0]["height"], 768);
  EXPECT_EQ(shots[1]["of"], "layers");
  EXPECT_GT(shots[1]["width"].get<int>(), 0);
  for (const Json& shot : shots) EXPECT_FALSE(shot.contains("file"));
  const std::vector<Json> errors = OfKind(run.transcript, "error");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0]["text"].get<std::string>().find("toolbar"), std::string::npos) << errors[0].dump();
  EXPECT_NE(errors[1]["text"].get<std::string>().find("no menu is open"), std::string::npos) << errors[1].dump();
}

TEST(Screenshots, APictureOfAViewShowsTheEditorsPanelColour) {
  struct Row {
    int version;
    Rgb panel;
  };
  const Row rows[] = {{6, {120, 120, 120}}, {9, {71, 71, 71}}, {11, {255, 255, 255}}};
  for (const Row& row : rows) {
    SCOPED_TRACE("editor " + std::to_string(row.version));
    const std::wstring folder = TempFolder() + L"\\views-" + std::to_wstring(row.version);
    CreateDirectoryW(folder.c_str(), nullptr);
    Json scenario = {{"host", {{"version", row.version}}}, {"steps", {{{"screenshot", "bar"}, {"of", "controlBar"}}}}};
    EditorRun run = RunEditor(scenario, {L"--screenshots", folder});
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> shots = OfKind(run.transcript, "screenshot");
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0].value("file", ""), "bar.png");
    Image image;
    ASSERT_TRUE(ReadPng(ReadBytes(folder + L"\\bar.png"), image));
    EXPECT_EQ(image.At(image.width - 1, image.height - 1), row.panel);
  }
}

const Json* ItemWithId(const Json& items, int id) {
  for (const Json& item : items)
    if (item.value("id", 0) == id) return &item;
  return nullptr;
}

TEST(PaintLines, AnOwnerDrawnLabelThatDoesNotStandOutIsReported) {
  // The probe draws 0x7701 black on white and 0x7702 white on white.
  Json scenario = {{"host", {{"version", 8}}},
                   {"steps", {{{"menu", "Layer"}}, {{"menu", "Layer"}, {"open", Json::array()}}, {{"screenshot", "probe"}}}}};
  EditorRun run = RunEditor(scenario, {L"--plugin", BinFolder() + L"\\paint_probe.8li"},
                            {R"({"kind":"error","text":"the menu item 30466 \"White on white\" is drawn unreadable: )"
                             R"(text 255,255,255 on 255,255,255, no pixel changed"})"});
  ASSERT_EQ(run.exitCode, 0) << run.errorText;

  const std::vector<Json> menus = OfKind(run.transcript, "menu");
  ASSERT_EQ(menus.size(), 2u);
  for (const Json& menu : menus) {
    const Json* readable = ItemWithId(menu["items"], 0x7701);
    const Json* unreadable = ItemWithId(menu["items"], 0x7702);
    ASSERT_TRUE(readable && unreadable) << menu.dump();
    EXPECT_EQ((*readable)["label"], "Black on white");
    EXPECT_EQ((*readable)["readable"], true);
    EXPECT_EQ((*unreadable)["label"], "White on white");  // still learnt from the text drawn
    EXPECT_EQ((*unreadable)["readable"], false);
  }
  const std::vector<Json> errors = OfKind(run.transcript, "error");
  EXPECT_EQ(errors.size(), 2u);  // once for each menu line
  for (const Json& error : errors) {
    const std::string text = error["text"].get<std::string>();
    EXPECT_NE(text.find("\"White on white\" is drawn unreadable"), std::string::npos) << text;
  }

  // In the open menu the same texts, drawn where the picture shows them.
  std::map<std::string, Json> drawn;
  for (const Json& paint : OfKind(run.transcript, "paint")) {
    EXPECT_EQ(paint["window"], "menu");
    for (const Json& entry : paint["what"])
      if (entry.contains("text")) drawn[entry["text"].get<std::string>()] = entry;
  }
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn["Black on white"]["readable"], true);
  EXPECT_EQ(drawn["Black on white"]["color"], Json::array({0, 0, 0}));
  EXPECT_EQ(drawn["Black on white"]["background"], Json::array({255, 255, 255}));
  EXPECT_EQ(drawn["White on white"]["readable"], false);
  EXPECT_EQ(drawn["White on white"]["contrast"], 1.0);
  ASSERT_EQ(OfKind(run.transcript, "screenshot").size(), 1u);
  EXPECT_EQ(OfKind(run.transcript, "screenshot")[0]["of"], "menu");
}

}  // namespace
}  // namespace integration
