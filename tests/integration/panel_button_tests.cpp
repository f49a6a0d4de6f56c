// The module's buttons in the editor's views, end to end: where they are
// drawn in each look of the editor (read back from pictures of the views),
// how hovering frames them, and what each click runs or passes on.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#define STB_IMAGE_STATIC
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
};
std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  Rgb At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
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

// The settings file with colourising on or off and nothing else chosen.
Json Settings(bool colorize) {
  return Json::array({"Quillbright1.0", "0", colorize ? "1" : "0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0"});
}

Json Layer(const char* name) { return {{"name", name}}; }
Json Background() { return {{"name", "Background"}, {"background", true}}; }

Json Document(Json layers, bool selection = false, Json target = nullptr) {
  Json doc = {{"title", "Harbour.psd"}, {"selection", selection}, {"layers", std::move(layers)}};
  if (!target.is_null()) doc["target"] = std::move(target);
  return doc;
}

Json Scenario(int version, Json documents, Json steps, bool colorize = false, int toolbarWidth = 60) {
  Json host = {{"version", version}};
  if (version == 11) host["toolbarWidth"] = toolbarWidth;
  return {{"host", host},
          {"plugin", {{"settings", Settings(colorize)}}},
          {"documents", std::move(documents)},
          {"steps", std::move(steps)}};
}

Json Click(const char* view, int x, int y) { return {{"click", view}, {"x", x}, {"y", y}}; }
Json Hover(const char* view, int x, int y) { return {{"click", view}, {"x", x}, {"y", y}, {"hover", true}}; }
Json Shot(const char* name, const char* of) { return {{"screenshot", name}, {"of", of}}; }

// Runs the scenario with its pictures written into a folder of its own.
EditorRun RunWithPictures(const Json& scenario, const std::wstring& name) {
  const std::wstring folder = TempFolder() + L"\\" + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return RunEditor(scenario, {L"--screenshots", folder});
}

Image Picture(const std::wstring& run, const std::string& name) {
  Image image;
  const std::wstring path = TempFolder() + L"\\" + run + L"\\" + Widen(name) + L".png";
  EXPECT_TRUE(ReadPng(ReadBytes(path), image)) << "no readable " << name << ".png";
  return image;
}

std::vector<std::string> StepNames(const EditorRun& run) {
  std::vector<std::string> names;
  for (const Json& line : OfKind(run.transcript, "step-begin")) names.push_back(line["name"].get<std::string>());
  return names;
}

std::vector<std::string> PlayedEvents(const EditorRun& run) {
  std::vector<std::string> events;
  for (const Json& line : OfKind(run.transcript, "play")) events.push_back(line["event"].get<std::string>());
  return events;
}

size_t HostPresses(const EditorRun& run, const char* view) {
  size_t count = 0;
  for (const Json& line : OfKind(run.transcript, "host-press")) count += line["window"] == view;
  return count;
}

// The colours of the icon art a test recognises each icon by.
constexpr Rgb kOutline{40, 40, 40};
constexpr Rgb kGrey{150, 150, 150};
constexpr Rgb kBlue{36, 86, 168};
constexpr Rgb kFolder{236, 190, 84};
constexpr Rgb kOrange{232, 128, 40};
constexpr Rgb kFrame{143, 143, 143};
constexpr Rgb kDarkColorize{96, 111, 128};
constexpr Rgb kLightColorize{110, 157, 217};

// One pixel inside each icon that only that icon has in that colour.
struct Signature {
  const char* icon;
  int x, y;
  Rgb color;
};
constexpr Signature kLayerMask{"LAYERMASK", 8, 8, kGrey};
constexpr Signature kLayerStyle{"LAYERSTYLE", 8, 8, kBlue};
constexpr Signature kGroupLayers{"GROUPLAYERS", 8, 8, kFolder};
constexpr Signature kSmartObject{"SMARTOBJECT", 12, 13, kBlue};
constexpr Signature kSmartObject2{"SMARTOBJECT2", 12, 13, kOrange};

struct Look {
  int version;
  Rgb panel;
  Rgb colorize;
  // Button corners in a view of the given height, worked out by hand.
  std::vector<std::tuple<int, int, Signature>> buttons;  // left, top, icon
};

std::vector<Look> Looks(int height) {
  const int foot = height - 1 - 18;
  return {
      {8, {110, 110, 110}, kDarkColorize, {{184, foot, kLayerMask}, {206, foot, kGroupLayers}, {226, foot, kSmartObject}}},
      {9, {71, 71, 71}, kDarkColorize, {{213, foot, kGroupLayers}, {106, foot, kSmartObject}}},
      {10, {71, 71, 71}, kDarkColorize, {{213, foot, kGroupLayers}, {106, foot, kSmartObject}}},
      {11, {255, 255, 255}, kLightColorize, {{143, 4, kLayerStyle}, {168, 4, kGroupLayers}, {193, 4, kSmartObject2}}},
  };
}

// Where to hover over the Scripts button of each control bar 1016 pixels wide.
int ScriptsX(int version) { return version >= 11 ? 130 : version >= 9 ? 1016 - 470 + 30 : 1016 - 490 + 30; }

TEST(PanelButtons, DrawnWhereTheGeometrySaysInEveryLookWithAndWithoutColorizing) {
  for (const bool colorize : {false, true})
    for (const Look& look : Looks(412)) {
      SCOPED_TRACE("editor " + std::to_string(look.version) + (colorize ? ", colorized" : ""));
      const std::wstring name = L"panel-" + std::to_wstring(look.version) + (colorize ? L"-c" : L"");
      const Json steps = {Shot("layers", "layers"), Hover("controlBar", ScriptsX(look.version), 15)};
      const EditorRun run =
          RunWithPictures(Scenario(look.version, {Document({Background(), Layer("Sky")})}, steps, colorize), name);
      ASSERT_EQ(run.exitCode, 0) << run.errorText;
      const Image image = Picture(name, "layers");
      ASSERT_EQ(image.height, 412) << "the Layers view is not of the height the places were worked out for";
      const Rgb under = colorize ? look.colorize : look.panel;
      for (const auto& [left, top, icon] : look.buttons) {
        SCOPED_TRACE(icon.icon);
        EXPECT_EQ(image.At(left + icon.x, top + icon.y), icon.color) << "not the icon expected there";
        // The icon's white corner shows what is under it: the fill or the panel.
        EXPECT_EQ(image.At(left, top), under);
        EXPECT_EQ(image.At(left + 17, top + 17), under);
        // Outside the button the panel shows, colourised or not.
        EXPECT_EQ(image.At(left - 1, top + 9), look.panel);
      }
      // Versions 9 and 10 have no third button where 8 has it.
      if (look.buttons.size() == 2) {
        EXPECT_EQ(image.At(226 + 8, 412 - 19 + 8), look.panel);
      }

      // The control-bar texts: white on the dark bars, black from 11.
      const Rgb text = look.version >= 11 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
      bool scripts = false;
      for (const Json& paint : OfKind(run.transcript, "paint")) {
        if (paint["window"] != "controlBar") continue;
        for (const Json& what : paint["what"])
          if (what.value("text", "") == "Scripts") {
            scripts = true;
            EXPECT_EQ((Rgb{what["color"][0], what["color"][1], what["color"][2]}), text);
            EXPECT_TRUE(what["readable"].get<bool>()) << what.dump();
          }
      }
      EXPECT_TRUE(scripts) << "the Scripts button was not drawn";
    }
}

TEST(PanelButtons, HoverFramesAButtonInGreyAndLeavingItRedrawsItPlain) {
  const Json steps = {Hover("layers", 210, -10), Shot("over", "layers"), Hover("layers", 100, 100),
                      Shot("away", "layers")};
  const EditorRun run = RunWithPictures(Scenario(8, {Document({Background(), Layer("Sky")})}, steps), L"hover-8");
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Image over = Picture(L"hover-8", "over"), away = Picture(L"hover-8", "away");
  const int top = over.height - 19;
  EXPECT_EQ(over.At(206, top), kFrame);
  EXPECT_EQ(over.At(223, top + 17), kFrame);
  EXPECT_EQ(over.At(206 + 8, top + 8), kFolder) << "the framed button lost its icon";
  EXPECT_EQ(away.At(206, top), (Rgb{110, 110, 110})) << "the frame stayed after the mouse left";
  EXPECT_EQ(away.At(206 + 8, top + 8), kFolder) << "the button was not drawn again";
}

TEST(PanelButtons, OnTheBackgroundTheMaskAndGroupButtonsStayPlainAndSwallowClicks) {
  const Json steps = {Hover("layers", 190, -10), Shot("mask", "layers"),   Hover("layers", 210, -10),
                      Shot("group", "layers"),   Hover("layers", 230, -10), Shot("smart", "layers"),
                      Click("layers", 190, -10), Click("layers", 210, -10)};
  const EditorRun run = RunWithPictures(Scenario(8, {Document({Background()})}, steps), L"hover-bg");
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const Rgb panel{110, 110, 110};
  const Image mask = Picture(L"hover-bg", "mask"), group = Picture(L"hover-bg", "group");
  const Image smart = Picture(L"hover-bg", "smart");
  const int top = mask.height - 19;
  EXPECT_EQ(mask.At(184, top), panel);
  EXPECT_EQ(group.At(206, top), panel);
  // The smart-object button takes the background (it converts it).
  EXPECT_EQ(smart.At(226, top), kFrame);
  EXPECT_TRUE(StepNames(run).empty());
  EXPECT_EQ(HostPresses(run, "layers"), 0u) << "a click on the module's button reached the editor";
}

struct ClickCase {
  const char* what;
  int version;
  Json document;
  Json click;
  std::vector<std::string> steps;  // named history steps, in order
  std::vector<std::string> first;  // the first events played, in order
};

TEST(PanelButtons, EveryClickRunsWhatTheButtonAndTheKeysSay) {
  const Json plain = Document({Background(), Layer("Sky")});
  const Json selected = Document({Background(), Layer("Sky")}, true);
  const Json grouped = Document({Background(), {{"name", "Sea"}, {"kind", "groupEnd"}}, Layer("Boat"),
                                 {{"name", "Harbour"}, {"kind", "groupStart"}}},
                                false, Json::array({3}));
  auto with = [](Json click, bool ctrl, bool alt) {
    if (ctrl) click["ctrl"] = true;
    if (alt) click["alt"] = true;
    return click;
  };
  const std::vector<ClickCase> cases = {
      {"group", 8, plain, Click("layers", 210, -10), {}, {"Mk  "}},
      {"ungroup", 8, grouped, Click("layers", 210, -10), {"Ungroup Layers"}, {}},
      {"reveal all", 8, plain, Click("layers", 190, -10), {"Reveal All"}, {}},
      {"hide all", 8, plain, with(Click("layers", 190, -10), false, true), {"Hide All"}, {}},
      {"reveal selection", 8, selected, Click("layers", 190, -10), {"Reveal Selection"}, {}},
      {"hide selection", 8, selected, with(Click("layers", 190, -10), false, true), {"Hide Selection"}, {}},
      {"vector mask", 8, selected, with(Click("layers", 190, -10), true, false), {"From Selection"}, {}},
      {"group in 9", 9, plain, Click("layers", 220, -10), {}, {"Mk  "}},
      {"group in 10", 10, plain, Click("layers", 220, -10), {}, {"Mk  "}},
      {"layer style in 11", 11, plain, Click("layers", 150, 10), {}, {"setd"}},
      {"group in 11", 11, plain, Click("layers", 175, 10), {}, {"Mk  "}},
      // Ctrl on the editor's own mask button makes the module's masks.
      {"inverted vector mask in 9", 9, selected, with(Click("layers", 40, -10), true, true), {"From Selection"},
       {"Invs"}},
      {"reveal all in 11", 11, plain, with(Click("layers", 70, 10), true, false), {"Reveal All"}, {}},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.what);
    const EditorRun run = RunEditor(Scenario(c.version, {c.document}, {c.click}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<std::string> names = StepNames(run);
    const std::vector<std::string> events = PlayedEvents(run);
    ASSERT_EQ(names.size(), c.steps.size()) << ::testing::PrintToString(names) << ::testing::PrintToString(events);
    for (size_t i = 0; i < names.size(); ++i)
      EXPECT_NE(names[i].find(c.steps[i]), std::string::npos) << names[i];
    ASSERT_GE(events.size(), c.first.size()) << ::testing::PrintToString(events);
    for (size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(events[i], c.first[i]);
    EXPECT_EQ(HostPresses(run, "layers"), 0u) << "the module's click reached the editor too";
  }
}

// What the smart-object button runs (converting, editing the filters) is
// the smart-object commands' own; here: the click is the module's, on a
// plain layer as on a smart object with filters.
TEST(PanelButtons, TheSmartObjectButtonKeepsItsClicks) {
  const Json filtered = Document(
      {Background(), {{"name", "Boat"}, {"kind", "smartObject"}, {"smartFilters", {{{"name", "Blur"}, {"enabled", true}}}}}});
  for (const Json& doc : {Document({Background(), Layer("Sky")}), filtered})
    for (const int version : {8, 10, 11}) {
      SCOPED_TRACE("editor " + std::to_string(version) + " on " + doc["layers"].back()["name"].get<std::string>());
      const Json click = version == 11 ? Click("layers", 200, 10) : Click("layers", version == 8 ? 230 : 110, -10);
      const EditorRun run = RunEditor(Scenario(version, {doc}, {click}));
      ASSERT_EQ(run.exitCode, 0) << run.errorText;
      EXPECT_EQ(HostPresses(run, "layers"), 0u);
    }
}

TEST(PanelButtons, AVectorMaskOfTheInvertedSelectionIsNotMadeWhenTheInversionFailed) {
  Json scenario = Scenario(9, {Document({Background(), Layer("Sky")}, true)}, {[] {
                             Json c = Click("layers", 40, -10);
                             c["ctrl"] = true;
                             c["alt"] = true;
                             return c;
                           }()});
  scenario["faults"] = Json::parse(R"([{"event": "Invs", "nth": 1}])");
  scenario["steps"].push_back({{"state", true}});
  const EditorRun run = RunEditor(scenario);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  ASSERT_EQ(OfKind(run.transcript, "fault").size(), 1u);
  // A mask of the selection the user did not mean would be worse than none.
  EXPECT_TRUE(StepNames(run).empty()) << ::testing::PrintToString(StepNames(run));
  const std::vector<Json> states = OfKind(run.transcript, "state");
  ASSERT_EQ(states.size(), 1u);
  const Json& sky = states[0]["documents"][0]["layers"][1];
  EXPECT_TRUE(sky.value("vectorMask", Json()).is_null()) << sky.dump();
}

TEST(PanelButtons, TheLayerStyleButtonOpensTheEditorsDialogOnTheTargetLayer) {
  const EditorRun run = RunEditor(Scenario(11, {Document({Background(), Layer("Sky")})}, {Click("layers", 150, 10)}));
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  const std::vector<Json> plays = OfKind(run.transcript, "play");
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_TRUE(LineMatches(plays[0], Json::parse(R"({"event": "setd", "mode": 1, "result": 0, "descriptor":
      [["null", {"ref": [{"class": "Prpr", "property": "Lefx"}, {"class": "Lyr ", "enum": ["Ordn", "Trgt"]}]}]]})")))
      << plays[0].dump();
}

TEST(PanelButtons, ClicksTheModuleDoesNotTakeReachTheEditor) {
  // Without a document the buttons are the editor's; so is a plain click on
  // its own mask button, and a smart object without filters runs nothing
  // but keeps the click.
  struct Case {
    const char* what;
    int version;
    Json documents;
    Json click;
    size_t presses;
  };
  const Json plain = Document({Background(), Layer("Sky")});
  const Json bare = Document({Background(), {{"name", "Boat"}, {"kind", "smartObject"}}});
  const std::vector<Case> cases = {
      {"no document", 8, Json::array(), Click("layers", 210, -10), 1},
      {"no document in 11", 11, Json::array(), Click("layers", 150, 10), 1},
      {"host mask button without Ctrl", 9, {plain}, Click("layers", 40, -10), 1},
      {"host mask button in 8", 8, {plain}, [] {
         Json c = Click("layers", 40, -10);
         c["ctrl"] = true;
         return c;
       }(), 1},
      {"smart object without filters", 8, {bare}, Click("layers", 230, -10), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const EditorRun run = RunEditor(Scenario(c.version, c.documents, {c.click}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    EXPECT_TRUE(StepNames(run).empty());
    EXPECT_TRUE(PlayedEvents(run).empty()) << ::testing::PrintToString(PlayedEvents(run));
    EXPECT_EQ(HostPresses(run, "layers"), c.presses);
  }
}

TEST(PanelButtons, TheQuickMaskButtonNeedsAWideToolbarAndADocument) {
  const Json doc = Document({Background(), Layer("Sky")});
  {
    SCOPED_TRACE("60 pixels wide");
    const Json steps = {Shot("plain", "toolbar"), Hover("toolbar", 30, 610), Shot("over", "toolbar"),
                        Click("toolbar", 30, 610), Shot("on", "toolbar")};
    const EditorRun run = RunWithPictures(Scenario(11, {doc}, steps), L"toolbar-60");
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const Image plain = Picture(L"toolbar-60", "plain"), over = Picture(L"toolbar-60", "over");
    // (60 - 35) / 2 = 12: the icon's outline one row down and five across.
    EXPECT_EQ(plain.At(12 + 5, 601), kOutline);
    EXPECT_EQ(plain.At(12 + 16, 612), kGrey);
    EXPECT_EQ(plain.At(12, 600), (Rgb{255, 255, 255}));
    EXPECT_EQ(over.At(12, 600), kFrame);
    // In Quick Mask mode the button shows it: the highlighted icon.
    const Image on = Picture(L"toolbar-60", "on");
    EXPECT_EQ(on.At(12, 600), kBlue);
    EXPECT_EQ(on.At(12 + 16, 612), (Rgb{214, 64, 64}));
    const std::vector<std::string> names = StepNames(run);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NE(names[0].find("Quick Mask"), std::string::npos) << names[0];
    EXPECT_EQ(HostPresses(run, "toolbar"), 0u);
  }
  {
    SCOPED_TRACE("double click");
    Json click = Click("toolbar", 30, 610);
    click["double"] = true;
    const EditorRun run = RunEditor(Scenario(11, {doc}, {click}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    // The press enters Quick Mask mode, the second press of the double
    // click opens its options (the editor's channel dialog on the mask).
    const std::vector<Json> plays = OfKind(run.transcript, "play");
    ASSERT_FALSE(plays.empty());
    EXPECT_TRUE(LineMatches(plays.back(), Json::parse(R"({"event": "setd", "mode": 1})"))) << plays.back().dump();
    EXPECT_EQ(StepNames(run), std::vector<std::string>{"Edit in Quick Mask Mode..."});
  }
  {
    SCOPED_TRACE("50 pixels wide");
    const Json steps = {Shot("plain", "toolbar"), Click("toolbar", 25, 610)};
    const EditorRun run = RunWithPictures(Scenario(11, {doc}, steps, false, 50), L"toolbar-50");
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const Image plain = Picture(L"toolbar-50", "plain");
    for (int x = 0; x < plain.width; ++x) EXPECT_EQ(plain.At(x, 612), (Rgb{255, 255, 255})) << "x " << x;
    EXPECT_TRUE(StepNames(run).empty());
    EXPECT_EQ(HostPresses(run, "toolbar"), 1u);
  }
  {
    SCOPED_TRACE("no document");
    const EditorRun run = RunEditor(Scenario(11, Json::array(), {Click("toolbar", 30, 610)}));
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    EXPECT_TRUE(StepNames(run).empty());
    EXPECT_EQ(HostPresses(run, "toolbar"), 1u);
  }
}

TEST(PanelButtons, TheControlBarPopUpsOpenAtTheButtonsLowerLeft) {
  for (const int version : {10, 11}) {
    SCOPED_TRACE("editor " + std::to_string(version));
    const int actions = version >= 11 ? 185 : 1016 - 380;
    const int scripts = version >= 11 ? 95 : 1016 - 470;
    const Json steps = {Shot("bar", "controlBar"), Click("controlBar", actions + 20, 15),
                        Click("controlBar", scripts + 20, 15)};
    const std::wstring name = L"bar-" + std::to_wstring(version);
    const EditorRun run = RunWithPictures(Scenario(version, {Document({Background(), Layer("Sky")})}, steps), name);
    ASSERT_EQ(run.exitCode, 0) << run.errorText;
    const std::vector<Json> shots = OfKind(run.transcript, "screenshot");
    ASSERT_EQ(shots.size(), 1u);
    ASSERT_EQ(shots[0]["width"], 1016) << "the control bar is not of the width the places were worked out for";
    const int left = shots[0]["left"], top = shots[0]["top"];
    const std::vector<Json> menus = OfKind(run.transcript, "menu");
    ASSERT_EQ(menus.size(), 2u);
    // Four pixels higher below 11.
    const int bottom = version >= 11 ? 33 : 29;
    EXPECT_EQ(menus[0]["screen"][0], left + actions);
    EXPECT_EQ(menus[0]["screen"][1], top + bottom);
    EXPECT_EQ(menus[0]["items"][0]["label"], "Load Actions...");
    EXPECT_EQ(menus[1]["screen"][0], left + scripts);
    EXPECT_EQ(menus[1]["screen"][1], top + bottom);
    EXPECT_EQ(HostPresses(run, "controlBar"), 0u);
  }
}

}  // namespace
}  // namespace integration
