// What layer-group events do to the model, and the layer events that work
// with groups: a layer made with a name, layers shown or hidden by a list.
//
// A group is two layers of the model, bottom to top: its end marker (kind
// "groupEnd"), the layers it holds, and the group itself (kind
// "groupStart"), which carries the name, blend mode, opacity and mask.
#include <algorithm>
#include <vector>

#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

const ReferenceData* RefParam(const Play& play, TypeID key) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == host::kTypeReference && !v->ref.empty() ? &v->ref : nullptr;
}

std::string KindOf(const Json& layer) { return layer.value("kind", std::string("pixel")); }

// The end marker of the group at `start`, -1 when it has none.
int GroupEndOf(const Json& doc, int start) {
  const Json& layers = doc["layers"];
  int depth = 0;
  for (int i = start - 1; i >= 0; --i) {
    const std::string kind = KindOf(layers[size_t(i)]);
    if (kind == "groupStart") ++depth;
    if (kind == "groupEnd" && depth-- == 0) return i;
  }
  return -1;
}

// The host names a new group after the first free "Group N".
std::string NewGroupName(const Json& doc) {
  const Json& layers = doc["layers"];
  int groups = 0;
  for (const auto& layer : layers)
    if (KindOf(layer) == "groupStart") ++groups;
  for (int n = groups + 1;; ++n) {
    const std::string name = "Group " + std::to_string(n);
    bool taken = false;
    for (const auto& layer : layers)
      if (layer.value("name", std::string()) == name) taken = true;
    if (!taken) return name;
  }
}

// ---- Mk  of a layerSection: the target layers grouped ----

host::OSErr OnMakeGroup(Play& play) {
  const ReferenceData* made = RefParam(play, C("null"));
  if (!made || (*made)[0].cls != StringToId("layerSection")) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json& layers = (*doc)["layers"];
  // The targeted layers, a targeted group with everything it holds.
  std::vector<int> moved;
  for (const auto& t : (*doc)["target"]) {
    const int p = t.get<int>();
    if (p < 0 || p >= int(layers.size())) return err::kCannotApply;
    const Json& layer = layers[size_t(p)];
    if (layer.value("background", false) || KindOf(layer) == "groupEnd") return err::kCannotApply;
    int from = p;
    if (KindOf(layer) == "groupStart") {
      from = GroupEndOf(*doc, p);
      if (from < 0) return err::kCannotApply;
    }
    for (int i = from; i <= p; ++i) moved.push_back(i);
  }
  std::sort(moved.begin(), moved.end());
  moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
  if (moved.empty()) return err::kCannotApply;

  // The group takes the place of the topmost of them.
  const int top = moved.back();
  Json block = Json::array();
  Json end = NewLayer(play.model, "</Layer group>");
  end["kind"] = "groupEnd";
  block.push_back(end);
  for (int p : moved) block.push_back(layers[size_t(p)]);
  Json group = NewLayer(play.model, NewGroupName(*doc));
  group["kind"] = "groupStart";
  group["blendMode"] = "passThrough";
  block.push_back(group);
  for (auto it = moved.rbegin(); it != moved.rend(); ++it) layers.erase(size_t(*it));
  const int at = top + 1 - int(moved.size());
  for (size_t i = 0; i < block.size(); ++i) layers.insert(layers.begin() + at + long(i), block[i]);
  (*doc)["target"] = Json::array({at + int(block.size()) - 1});
  ResetTargetChannels(*doc);
  *play.historyName = "Group Layers";
  return err::kNone;
}

// ---- Dlt  with deleteContained: the group goes, what it holds stays ----

host::OSErr OnDeleteKeepingContents(Play& play) {
  const ReferenceData* ref = RefParam(play, C("null"));
  if (!ref) return err::kCannotApply;
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  const int p = ResolveLayer(*doc, (*ref)[0]);
  if (p < 0) return err::kNoSuchObject;
  Json& layers = (*doc)["layers"];
  const Value* contained = FindEntry(play.params, StringToId("deleteContained"));
  const bool keep = contained && contained->type == host::kTypeBoolean && !contained->flag;
  if (KindOf(layers[size_t(p)]) != "groupStart") {
    // Any other layer is simply deleted, as without the key.
    if (layers.size() <= 1 || KindOf(layers[size_t(p)]) == "groupEnd") return err::kCannotApply;
    layers.erase(size_t(p));
    (*doc)["target"] = Json::array({std::max(0, std::min(p - 1, int(layers.size()) - 1))});
    ResetTargetChannels(*doc);
    *play.historyName = "Delete Layer";
    return err::kNone;
  }
  const int end = GroupEndOf(*doc, p);
  if (end < 0) return err::kCannotApply;
  if (keep) {
    layers.erase(size_t(p));
    layers.erase(size_t(end));
    // The topmost layer it held, or the layer below an empty group.
    const int below = p - 2 >= end ? p - 2 : end - 1;
    if (layers.empty()) return err::kCannotApply;
    (*doc)["target"] = Json::array({std::max(0, std::min(below, int(layers.size()) - 1))});
    *play.historyName = "Ungroup Layers";
  } else {
    if (end == 0 && p == int(layers.size()) - 1) return err::kCannotApply;   // a document keeps a layer
    layers.erase(layers.begin() + end, layers.begin() + p + 1);
    (*doc)["target"] = Json::array({std::max(0, std::min(end - 1, int(layers.size()) - 1))});
    *play.historyName = "Delete Layer";
  }
  ResetTargetChannels(*doc);
  return err::kNone;
}

// ---- Mk  of a layer with its name ----

host::OSErr OnMakeNamedLayer(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* with = FindEntry(play.params, C("Usng"));
  if (!with || with->type != host::kTypeObject) return err::kCannotApply;
  std::string name;
  for (const auto& e : with->items)
    if (e.key == C("Nm  ") && e.value.type == host::kTypeText) name = AnsiToUtf8(e.value.text);
  Json& layers = (*doc)["layers"];
  const int p = ActiveLayer(*doc);
  Json layer = NewLayer(play.model, name.empty() ? "Layer " + std::to_string(layers.size()) : name);
  layers.insert(layers.begin() + (p + 1), std::move(layer));
  (*doc)["target"] = Json::array({p + 1});
  ResetTargetChannels(*doc);
  *play.historyName = "New Layer";
  return err::kNone;
}

// ---- Shw /Hd  of a list of layers ----

host::OSErr ShowOrHideLayers(Play& play, bool show) {
  const Value* v = FindEntry(play.params, C("null"));
  if (!v || v->type != host::kTypeList || v->list.empty()) return err::kCannotApply;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  std::vector<int> layers;
  for (const Value& element : v->list) {
    if (element.type != host::kTypeReference || element.ref.empty()) return err::kCannotApply;
    const int p = ResolveLayer(*doc, element.ref[0]);
    if (p < 0) return err::kNoSuchObject;
    layers.push_back(p);
  }
  for (int p : layers) (*doc)["layers"][size_t(p)]["visible"] = show;
  *play.historyName = show ? "Show Layer" : "Hide Layer";
  return err::kNone;
}
host::OSErr OnShowLayers(Play& play) { return ShowOrHideLayers(play, true); }
host::OSErr OnHideLayers(Play& play) { return ShowOrHideLayers(play, false); }

constexpr KeyRule kMakeGroup[] = {
    Key("null", "ref layerSection:class"),
    Key("From", "ref Lyr:Ordn/Trgt"),
};
constexpr KeyRule kDeleteGroup[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("deleteContained", "bool"),
};
constexpr KeyRule kNewLayerName[] = {
    Key("Nm", "text"),
};
constexpr KeyRule kMakeNamedLayer[] = {
    Key("null", "ref Lyr:class"),
    Key("Usng", "object Lyr", kNewLayerName),
};
constexpr KeyRule kShowOrHideLayers[] = {
    Key("null", "list ref Lyr:Ordn/Trgt"),
};

constexpr EventRule kGroupRules[] = {
    {"Mk", kMakeGroup, OnMakeGroup},
    {"Mk", kMakeNamedLayer, OnMakeNamedLayer},
    {"Dlt", kDeleteGroup, OnDeleteKeepingContents},
    {"Shw", kShowOrHideLayers, OnShowLayers},
    {"Hd", kShowOrHideLayers, OnHideLayers},
};

}  // namespace

std::span<const EventRule> GroupEventRules() { return kGroupRules; }

}  // namespace sim
