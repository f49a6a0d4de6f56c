// What layer arrangement events do to the model: aligning and distributing
// the target (or linked) layers, blending them with the host's Auto-Blend
// dialog, stamping what is visible into a new layer, and the host's layer
// style dialog.
#include <algorithm>

#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

// The layers an arrangement moves: the target layers, or, when the active
// layer is linked, every layer linked with it. The background never moves.
std::vector<int> ArrangedLayers(const Json& doc) {
  std::vector<int> out;
  const Json& layers = doc["layers"];
  const int active = ActiveLayer(doc);
  if (active >= 0 && layers[size_t(active)].value("linked", false)) {
    for (int p = 0; p < int(layers.size()); ++p)
      if (layers[size_t(p)].value("linked", false)) out.push_back(p);
  } else {
    for (const auto& p : doc["target"]) out.push_back(p.get<int>());
  }
  std::erase_if(out, [&](int p) { return layers[size_t(p)].value("background", false); });
  return out;
}

// Alignment takes two layers, or one and the selection it is aligned to;
// distribution takes three.
host::OSErr Arrange(Play& play, const char* field, std::size_t needed, const char* historyName) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const std::vector<int> moved = ArrangedLayers(*doc);
  const bool toSelection = std::string(field) == "aligned" && doc->value("selection", false);
  if (moved.size() < (toSelection ? 1 : needed)) return err::kCannotApply;
  const std::string where = TextFromId(FindEntry(play.params, C("Usng"))->enumValue);
  for (int p : moved) (*doc)["layers"][size_t(p)][field] = where;
  *play.historyName = historyName;
  return err::kNone;
}
host::OSErr OnAlign(Play& play) { return Arrange(play, "aligned", 2, "Align Layers"); }
host::OSErr OnDistribute(Play& play) { return Arrange(play, "distributed", 3, "Distribute Layers"); }

host::OSErr OnAutoBlend(Play& play) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const std::vector<int> blended = ArrangedLayers(*doc);
  if (blended.size() < 2) return err::kCannotApply;
  const std::string how = TextFromId(FindEntry(play.params, C("Aply"))->enumValue);
  for (int p : blended) (*doc)["layers"][size_t(p)]["autoBlend"] = how;
  *play.historyName = "Auto-Blend Layers";
  return err::kNone;
}

// A new layer above the target holding what is visible. With only one
// layer in the document the host takes the event and stamps nothing.
host::OSErr OnStampVisible(Play& play) {
  const Value* copy = FindEntry(play.params, C("Dplc"));
  if (!copy || !copy->flag) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  Json& layers = (*doc)["layers"];
  Json merged = Json::array();
  for (const auto& layer : layers)
    if (layer.value("visible", true)) merged.push_back(layer.value("name", std::string()));
  if (merged.empty()) return err::kCannotApply;
  if (layers.size() == 1) return err::kNone;
  int above = ActiveLayer(*doc);
  if (above < 0) above = int(layers.size()) - 1;
  Json stamp = NewLayer(play.model, "Layer " + std::to_string(layers.size()));
  stamp["merged"] = merged;
  layers.insert(layers.begin() + (above + 1), std::move(stamp));
  (*doc)["target"] = Json::array({above + 1});
  ResetTargetChannels(*doc);
  *play.historyName = "Stamp Visible";
  return err::kNone;
}

// The dialog's choices are the user's: the model counts what was edited.
host::OSErr OnEditLayerStyle(Play& play) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (layer.value("background", false)) return err::kCannotApply;   // the background takes no style
  layer["styleEdits"] = layer.value("styleEdits", 0) + 1;
  *play.historyName = "Layer Style";
  return err::kNone;
}

constexpr KeyRule kArrange[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("Usng", "enum ADSt = AdTp, AdCV, AdBt, AdLf, AdCH, AdRg"),
};
constexpr KeyRule kAutoBlend[] = {
    Key("Aply", "enum autoBlendType = maxDOF"),
    Key("ClrC", "bool"),
};
constexpr KeyRule kStampVisible[] = {
    Key("Dplc", "bool"),
};
constexpr KeyRule kEditLayerStyle[] = {
    Key("null", "ref Prpr:prop Lefx > Lyr:Ordn/Trgt"),
};

constexpr EventRule kArrangementRules[] = {
    {"Algn", kArrange, OnAlign},
    {"Dstr", kArrange, OnDistribute},
    {"mergeAlignedLayers", kAutoBlend, OnAutoBlend},
    {"MrgV", kStampVisible, OnStampVisible},
    {"setd", kEditLayerStyle, OnEditLayerStyle},
};

}  // namespace

std::span<const EventRule> ArrangementEventRules() { return kArrangementRules; }

}  // namespace sim
