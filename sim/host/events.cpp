// What played events do to the model, and the descriptors the host takes for
// its layer, channel and document events (the other areas' rows are in
// events_*.cpp). An event the host does not know, or a descriptor outside
// its rows, is the plug-in's fault: refused and recorded as an `error` line.
#include <algorithm>
#include <cmath>

#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

const ReferenceData* Target(const Play& play) {
  const Value* v = FindEntry(play.params, C("null"));
  return v && v->type == host::kTypeReference && !v->ref.empty() ? &v->ref : nullptr;
}

bool FlagParam(const Play& play, TypeID key) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == host::kTypeBoolean && v->flag;
}

const Value* TextParam(const DescriptorData& d, TypeID key) {
  const Value* v = FindEntry(d, key);
  return v && v->type == host::kTypeText ? v : nullptr;
}

std::string LayerName(const Json& layer) { return layer.value("name", std::string()); }

// The channel a reference part names, in the form targetChannels keeps:
// component codes ("Rd  "), "Msk ", "filterMask", or an extra channel's name.
std::string ChannelFromPart(const RefPart& part) {
  if (part.form == host::kFormName) return AnsiToUtf8(part.name);
  if (part.form != host::kFormEnumerated) return {};
  if (part.enumValue == C("Trgt")) return "Trgt";
  return TextFromId(part.enumValue);
}

bool IsComponent(const Json& doc, const std::string& channel) {
  for (const auto& c : ComponentChannels(doc.value("mode", std::string("RGBColor"))))
    if (c == channel) return true;
  return false;
}

bool HasExtraChannel(const Json& doc, const std::string& name) {
  for (const auto& c : doc["channels"])
    if ((c.is_string() && c == name) || (c.is_object() && c.value("name", "") == name)) return true;
  return false;
}

// The composite channel's code in the document's mode.
std::string CompositeChannel(const Json& doc) {
  const std::string mode = doc.value("mode", std::string("RGBColor"));
  if (mode == "CMYKColor") return "CMYK";
  if (mode == "labColor") return "Lab ";
  if (mode == "RGBColor") return "RGB ";
  return {};
}

// The visible colour channels become `shown`; extra channels keep theirs.
void ShowComponents(Json& doc, const Json& shown) {
  Json visible = shown;
  if (doc["visibleChannels"].is_array())
    for (const auto& c : doc["visibleChannels"])
      if (!IsComponent(doc, c.get<std::string>())) visible.push_back(c);
  doc["visibleChannels"] = visible;
}

// ---- slct ----

host::OSErr SelectLayer(Play& play, Json& doc, const RefPart& part) {
  int p = ResolveLayer(doc, part);
  if (p < 0) return err::kNoSuchObject;
  const Value* modifier = FindEntry(play.params, StringToId("selectionModifier"));
  const bool add = modifier && modifier->type == host::kTypeEnumerated &&
                   (modifier->enumValue == StringToId("addToSelection") ||
                    modifier->enumValue == StringToId("addToSelectionContinuous"));
  Json& target = doc["target"];
  if (add) {
    auto it = std::find(target.begin(), target.end(), Json(p));
    if (it != target.end()) target.erase(it);
    target.push_back(p);
  } else {
    target = Json::array({p});
  }
  if (FlagParam(play, C("MkVs"))) doc["layers"][size_t(p)]["visible"] = true;
  ResetTargetChannels(doc);
  return err::kNone;
}

host::OSErr SelectChannel(Play& play, Json& doc, const RefPart& part) {
  std::string channel = ChannelFromPart(part);
  if (channel == "Trgt") return err::kNone;
  const Json components = ComponentChannels(doc.value("mode", std::string("RGBColor")));
  if (channel == CompositeChannel(doc)) {
    // The composite: every colour channel targeted and shown.
    doc["targetChannels"] = components;
    ShowComponents(doc, components);
    return err::kNone;
  }
  int active = ActiveLayer(doc);
  const Json* layer = active >= 0 ? &doc["layers"][size_t(active)] : nullptr;
  if (channel == "Msk ") {
    if (!layer || !(*layer)["userMask"].is_object()) return err::kCannotApply;
  } else if (channel == "filterMask") {
    if (!layer || !(*layer)["filterMask"].is_object()) return err::kCannotApply;
  } else if (!IsComponent(doc, channel) && !HasExtraChannel(doc, channel)) {
    return err::kNoSuchObject;
  }
  Json& targets = doc["targetChannels"];
  if (FlagParam(play, C("Extd"))) {
    if (std::find(targets.begin(), targets.end(), Json(channel)) == targets.end()) targets.push_back(channel);
  } else {
    targets = Json::array({channel});
  }
  // Targeting colour channels shows exactly the targeted ones among them,
  // as clicking them in the Channels panel does.
  if (IsComponent(doc, channel)) {
    Json shown = Json::array();
    for (const auto& c : targets)
      if (IsComponent(doc, c.get<std::string>())) shown.push_back(c);
    ShowComponents(doc, shown);
  }
  if (const Value* v = FindEntry(play.params, C("MkVs")); v && v->type == host::kTypeBoolean && v->flag &&
                                                          channel != "Msk " && channel != "filterMask") {
    Json& visible = doc["visibleChannels"];
    if (std::find(visible.begin(), visible.end(), Json(channel)) == visible.end()) visible.push_back(channel);
  }
  return err::kNone;
}

host::OSErr OnSelect(Play& play) {
  const ReferenceData* ref = Target(play);
  if (!ref) return err::kCannotApply;
  const RefPart& part = (*ref)[0];
  if (part.cls == C("Dcmn")) {
    int n = ResolveDocument(play.model, part);
    if (n < 0) return err::kNoSuchObject;
    play.model.current = n;
    return err::kNone;
  }
  if (part.cls != C("Lyr ") && part.cls != C("Chnl")) return err::kNone;   // tools and the like
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  return part.cls == C("Lyr ") ? SelectLayer(play, *doc, part) : SelectChannel(play, *doc, part);
}

// ---- Dlt ----

host::OSErr DeleteChannels(Play& play, Json& doc, const RefPart& part) {
  std::string channel = ChannelFromPart(part);
  Json channels = channel == "Trgt" ? doc["targetChannels"] : Json::array({channel});
  if (channels.size() != 1) return err::kCannotApply;
  channel = channels[0].get<std::string>();
  int active = ActiveLayer(doc);
  if (channel == "Msk " || channel == "filterMask") {
    const char* key = channel == "Msk " ? "userMask" : "filterMask";
    if (active < 0) return err::kCannotApply;
    Json& layer = doc["layers"][size_t(active)];
    if (!layer[key].is_object()) return err::kCannotApply;
    const bool apply = channel == "Msk " && FlagParam(play, C("Aply"));
    if (apply) layer["appliedMasks"] = layer.value("appliedMasks", 0) + 1;
    layer[key] = nullptr;
    *play.historyName = apply ? "Apply Layer Mask" : channel == "Msk " ? "Delete Layer Mask" : "Delete Filter Mask";
  } else if (HasExtraChannel(doc, channel)) {
    Json& extra = doc["channels"];
    for (size_t i = 0; i < extra.size(); ++i)
      if ((extra[i].is_string() && extra[i] == channel) ||
          (extra[i].is_object() && extra[i].value("name", "") == channel)) {
        extra.erase(i);
        break;
      }
    *play.historyName = "Delete Channel";
  } else {
    return err::kCannotApply;   // a colour channel of the image
  }
  ResetTargetChannels(doc);
  return err::kNone;
}

host::OSErr DeleteLayers(Play& play, Json& doc, const RefPart& part) {
  std::vector<int> doomed;
  if (part.form == host::kFormEnumerated && part.enumValue == C("Trgt")) {
    for (const auto& p : doc["target"]) doomed.push_back(p.get<int>());
  } else {
    int p = ResolveLayer(doc, part);
    if (p >= 0) doomed.push_back(p);
  }
  Json& layers = doc["layers"];
  if (doomed.empty()) return err::kNoSuchObject;
  if (doomed.size() >= layers.size()) return err::kCannotApply;   // a document keeps a layer
  std::sort(doomed.rbegin(), doomed.rend());
  for (int p : doomed) layers.erase(size_t(p));
  doc["target"] = Json::array({std::max(0, std::min(doomed.back() - 1, int(layers.size()) - 1))});
  ResetTargetChannels(doc);
  *play.historyName = "Delete Layer";
  return err::kNone;
}

host::OSErr DeleteSmartFilters(Play& play, Json& doc, const ReferenceData& ref) {
  int p = ref.size() > 1 && ref[1].cls == C("Lyr ") ? ResolveLayer(doc, ref[1]) : ActiveLayer(doc);
  if (p < 0) return err::kNoSuchObject;
  Json& filters = doc["layers"][size_t(p)]["smartFilters"];
  if (!filters.is_array() || filters.empty()) return err::kCannotApply;
  if (ref[0].form == host::kFormIndex) {
    if (ref[0].number < 1 || ref[0].number > std::int64_t(filters.size())) return err::kNoSuchObject;
    filters.erase(size_t(ref[0].number - 1));
  } else {
    filters = Json::array();
  }
  // The filter mask goes with the last smart filter.
  if (filters.empty() && doc["layers"][size_t(p)]["filterMask"].is_object()) {
    doc["layers"][size_t(p)]["filterMask"] = nullptr;
    ResetTargetChannels(doc);
  }
  *play.historyName = "Delete Smart Filter";
  return err::kNone;
}

host::OSErr OnDelete(Play& play) {
  const ReferenceData* ref = Target(play);
  if (!ref) return err::kCannotApply;
  const RefPart& part = (*ref)[0];
  const bool history = (part.form == host::kFormProperty && part.property == C("CrnH")) || part.cls == C("HstS");
  if (!history && part.cls != C("Chnl") && part.cls != C("Lyr ") && part.cls != StringToId("filterFX"))
    return err::kNone;
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  if (history) {
    Json& states = (*doc)["history"];
    if (states.size() <= 1) return err::kCannotApply;   // the oldest state stays
    states.erase(states.size() - 1);
    return err::kNone;
  }
  if (part.cls == C("Chnl")) return DeleteChannels(play, *doc, part);
  if (part.cls == C("Lyr ")) return DeleteLayers(play, *doc, part);
  return DeleteSmartFilters(play, *doc, *ref);
}

// ---- Dplc ----

host::OSErr OnDuplicate(Play& play) {
  const ReferenceData* ref = Target(play);
  if (!ref) return err::kCannotApply;
  const RefPart& part = (*ref)[0];
  const Value* name = TextParam(play.params, C("Nm  "));
  if (part.cls == C("Dcmn")) {
    int n = ResolveDocument(play.model, part);
    if (n < 0) return err::kNoSuchObject;
    Json copy = play.model.documents[size_t(n)];
    copy["title"] = name ? AnsiToUtf8(name->text) : copy.value("title", std::string()) + " copy";
    copy["path"] = nullptr;
    copy["history"] = Json::array({"Duplicate Image"});
    for (auto& layer : copy["layers"]) layer["id"] = play.model.nextLayerId++;
    play.model.documents.push_back(std::move(copy));
    play.model.current = int(play.model.documents.size()) - 1;
    return err::kNone;
  }
  if (part.cls != C("Lyr ")) return err::kNone;
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  int p = ResolveLayer(*doc, part);
  if (p < 0) return err::kNoSuchObject;
  Json copy = (*doc)["layers"][size_t(p)];
  copy["name"] = name ? AnsiToUtf8(name->text) : LayerName(copy) + " copy";
  copy["background"] = false;
  copy["id"] = play.model.nextLayerId++;
  Json& layers = (*doc)["layers"];
  layers.insert(layers.begin() + p + 1, std::move(copy));
  (*doc)["target"] = Json::array({p + 1});
  ResetTargetChannels(*doc);
  *play.historyName = "Duplicate Layer";
  return err::kNone;
}

// ---- FltI, Invr, MrgL/Mrg2 ----

host::OSErr OnFlatten(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json background = NewLayer(play.model, "Background");
  background["background"] = true;
  // What the image was made of, so that where it goes can be followed.
  Json merged = Json::array();
  for (const auto& layer : (*doc)["layers"]) {
    if (layer.contains("merged")) {
      for (const auto& name : layer["merged"]) merged.push_back(name);
    } else {
      merged.push_back(LayerName(layer));
    }
  }
  background["merged"] = merged;
  (*doc)["layers"] = Json::array({background});
  (*doc)["target"] = Json::array({0});
  ResetTargetChannels(*doc);
  *play.historyName = "Flatten Image";
  return err::kNone;
}

host::OSErr OnInvert(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  // An edited mask is the masks' row's (events_masks.cpp).
  if (layer.value("kind", std::string("pixel")) != "pixel") return err::kCannotApply;   // no pixels to invert
  layer["inverted"] = layer.value("inverted", 0) + 1;
  *play.historyName = "Invert";
  return err::kNone;
}

host::OSErr OnMerge(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json& layers = (*doc)["layers"];
  std::vector<int> targets;
  for (const auto& p : (*doc)["target"]) targets.push_back(p.get<int>());
  std::sort(targets.begin(), targets.end());
  int keep;
  std::vector<int> merged;
  if (targets.size() > 1) {
    keep = targets.back();            // the selected layers merge into the top one
    merged.assign(targets.begin(), targets.end() - 1);
  } else {
    int p = ActiveLayer(*doc);
    if (p <= 0) return err::kCannotApply;   // nothing below to merge into
    keep = p - 1;                     // merge down: the lower layer stays
    merged.push_back(p);
  }
  for (auto it = merged.rbegin(); it != merged.rend(); ++it) {
    layers.erase(size_t(*it));
    if (*it < keep) --keep;
  }
  (*doc)["target"] = Json::array({keep});
  ResetTargetChannels(*doc);
  *play.historyName = targets.size() > 1 ? "Merge Layers" : "Merge Down";
  return err::kNone;
}

// ---- Mk, setd, Shw/Hd ----

host::OSErr OnMake(Play& play) {
  Json* doc = CurrentDocument(play.model);
  const ReferenceData* ref = Target(play);
  if (ref && (*ref)[0].cls == C("Lyr ") && (*ref)[0].form == host::kFormClass) {
    if (!doc) return err::kNoSuchObject;
    int p = ActiveLayer(*doc);
    Json& layers = (*doc)["layers"];
    Json layer = NewLayer(play.model, "Layer " + std::to_string(layers.size()));
    layers.insert(layers.begin() + (p + 1), std::move(layer));
    (*doc)["target"] = Json::array({p + 1});
    ResetTargetChannels(*doc);
    *play.historyName = "New Layer";
    return err::kNone;
  }
  return err::kNone;
}

// The host takes opacities in percent and keeps them as 0..255.
int PercentTo255(double percent) {
  return int(std::lround(std::clamp(percent, 0.0, 100.0) * 255.0 / 100.0));
}

host::OSErr OnSet(Play& play) {
  const ReferenceData* ref = Target(play);
  const Value* to = FindEntry(play.params, C("T   "));
  if (!ref || (*ref)[0].cls != C("Lyr ") || !to || to->type != host::kTypeObject) return err::kNone;
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  int p = ResolveLayer(*doc, (*ref)[0]);
  if (p < 0) return err::kNoSuchObject;
  Json& layer = (*doc)["layers"][size_t(p)];
  // The background has no opacity, blending or clipping of its own.
  if (layer.value("background", false))
    for (const auto& e : to->items)
      if (e.key != C("Nm  ") && e.key != C("Vsbl")) return err::kCannotApply;
  for (const auto& e : to->items) {
    const Value& v = e.value;
    if (e.key == C("Nm  ") && v.type == host::kTypeText) layer["name"] = AnsiToUtf8(v.text);
    else if (e.key == C("Vsbl") && v.type == host::kTypeBoolean) layer["visible"] = v.flag;
    else if (e.key == C("Opct")) layer["opacity"] = PercentTo255(v.number);
    else if (e.key == StringToId("fillOpacity")) layer["fillOpacity"] = PercentTo255(v.number);
    else if (e.key == C("Md  ") && v.type == host::kTypeEnumerated) layer["blendMode"] = TextFromId(v.enumValue);
    else if (e.key == C("Grup") && v.type == host::kTypeBoolean) layer["grouped"] = v.flag;
    else if (e.key == C("UsrM") && v.type == host::kTypeBoolean && layer["userMask"].is_object())
      layer["userMask"]["enabled"] = v.flag;
    else if (e.key == C("Usrs") && v.type == host::kTypeBoolean && layer["userMask"].is_object())
      layer["userMask"]["linked"] = v.flag;
  }
  *play.historyName = "Layer Properties";
  return err::kNone;
}

// Showing or hiding channels given as a list of references: each must be a
// channel of the current document.
host::OSErr ShowOrHideChannels(Play& play, const ListData& list, bool show) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json visible = (*doc)["visibleChannels"].is_array() ? (*doc)["visibleChannels"] : Json::array();
  for (const Value& element : list) {
    if (element.type != host::kTypeReference || element.ref.empty() || element.ref[0].cls != C("Chnl"))
      return err::kCannotApply;
    const std::string channel = ChannelFromPart(element.ref[0]);
    if (!IsComponent(*doc, channel) && !HasExtraChannel(*doc, channel)) return err::kNoSuchObject;
    auto it = std::find(visible.begin(), visible.end(), Json(channel));
    if (show && it == visible.end()) visible.push_back(channel);
    if (!show && it != visible.end()) visible.erase(it);
  }
  (*doc)["visibleChannels"] = visible;
  *play.historyName = "";
  return err::kNone;
}

host::OSErr ShowOrHide(Play& play, bool show) {
  if (const Value* v = FindEntry(play.params, C("null")); v && v->type == host::kTypeList)
    return ShowOrHideChannels(play, v->list, show);
  const ReferenceData* ref = Target(play);
  if (!ref) return err::kNone;
  const RefPart& part = (*ref)[0];
  if (part.cls != StringToId("filterFX") && part.cls != C("Lyr ")) return err::kNone;
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  if (part.cls == C("Lyr ")) {
    int p = ResolveLayer(*doc, part);
    if (p < 0) return err::kNoSuchObject;
    (*doc)["layers"][size_t(p)]["visible"] = show;
    *play.historyName = show ? "Show Layer" : "Hide Layer";
    return err::kNone;
  }
  int p = ref->size() > 1 && (*ref)[1].cls == C("Lyr ") ? ResolveLayer(*doc, (*ref)[1]) : ActiveLayer(*doc);
  if (p < 0) return err::kNoSuchObject;
  Json& filters = (*doc)["layers"][size_t(p)]["smartFilters"];
  if (part.form != host::kFormIndex || !filters.is_array() || part.number < 1 ||
      part.number > std::int64_t(filters.size()))
    return err::kNoSuchObject;
  filters[size_t(part.number - 1)]["enabled"] = show;
  *play.historyName = show ? "Show Smart Filter" : "Hide Smart Filter";
  return err::kNone;
}
host::OSErr OnShow(Play& play) { return ShowOrHide(play, true); }
host::OSErr OnHide(Play& play) { return ShowOrHide(play, false); }


// ---- The host's layer, channel and document events ----

// Layers as the host addresses them: the target, or one by index, name or
// identifier.
constexpr std::string_view kAnyLayer = "ref Lyr:Ordn/Trgt | Lyr:index | Lyr:name | Lyr:id";
constexpr std::string_view kAnyChannel = "ref Chnl:Chnl/* | Chnl:Ordn/Trgt, Msk | Chnl:name";

// What a `setd` of a layer may change.
constexpr KeyRule kLayerProperties[] = {
    Optional("Nm", "text"),
    Optional("Vsbl", "bool"),
    Optional("Opct", "unit #Prc"),
    Optional("fillOpacity", "unit #Prc"),
    Optional("Md", "enum BlnM"),
    Optional("Grup", "bool"),
    Optional("UsrM", "bool"),
    Optional("Usrs", "bool"),
    Optional("vectorMaskEnabled", "bool"),
    Optional("filterMaskEnable", "bool"),
};

constexpr KeyRule kSelectLayer[] = {
    Key("null", kAnyLayer),
    Optional("MkVs", "bool"),
    Optional("selectionModifier",
             "enum selectionModifierType = addToSelection, addToSelectionContinuous, removeFromSelection"),
};
constexpr KeyRule kSelectChannel[] = {
    Key("null", kAnyChannel),
    Optional("MkVs", "bool"),
    Optional("Extd", "bool"),
};
constexpr KeyRule kSelectDocument[] = {
    Key("null", "ref Dcmn:Ordn/Trgt | Dcmn:index | Dcmn:name | Dcmn:id | Dcmn:offset"),
};
constexpr KeyRule kDeleteChannel[] = {
    Key("null", kAnyChannel),
    Optional("Aply", "bool"),
};
constexpr KeyRule kDeleteLayer[] = {
    Key("null", kAnyLayer),
};
constexpr KeyRule kDeleteHistoryState[] = {
    Key("null", "ref HstS:prop CrnH"),
};
constexpr KeyRule kDeleteSmartFilters[] = {
    Key("null", "ref filterFX:index > Lyr:Ordn/Trgt | filterFX:class > Lyr:Ordn/Trgt"),
};
constexpr KeyRule kDuplicateLayer[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Optional("Nm", "text"),
};
constexpr KeyRule kDuplicateDocument[] = {
    Key("null", "ref Dcmn:Ordn/Trgt | Dcmn:index | Dcmn:name | Dcmn:id"),
    Optional("Nm", "text"),
    Optional("Mrgd", "bool"),
};
constexpr KeyRule kMakeLayer[] = {
    Key("null", "ref Lyr:class"),
};
constexpr KeyRule kSetLayer[] = {
    Key("null", kAnyLayer),
    Key("T", "object Lyr", kLayerProperties),
};
constexpr KeyRule kShowOrHideLayer[] = {
    Key("null", kAnyLayer),
};
constexpr KeyRule kShowOrHideChannels[] = {
    Key("null", "list ref Chnl:Chnl/* | Chnl:name"),
};
constexpr KeyRule kShowOrHideSmartFilter[] = {
    Key("null", "ref filterFX:index > Lyr:Ordn/Trgt"),
};

constexpr EventRule kLayerRules[] = {
    {"slct", kSelectLayer, OnSelect},
    {"slct", kSelectChannel, OnSelect},
    {"Dlt", kDeleteChannel, OnDelete},
    {"Dlt", kDeleteLayer, OnDelete},
    {"Dlt", kDeleteSmartFilters, OnDelete},
    {"Dplc", kDuplicateLayer, OnDuplicate},
    {"Invr", {}, OnInvertMask},   // the edited mask, when a mask channel is edited
    {"Invr", {}, OnInvert},
    {"MrgL", {}, OnMerge},
    {"Mrg2", {}, OnMerge},
    {"Mk", kMakeLayer, OnMake},
    {"setd", kSetLayer, OnSetSelectionOrMasks},   // mask flags only
    {"setd", kSetLayer, OnSet},
    {"Shw", kShowOrHideLayer, OnShow},
    {"Shw", kShowOrHideChannels, OnShow},
    {"Shw", kShowOrHideSmartFilter, OnShow},
    {"Hd", kShowOrHideLayer, OnHide},
    {"Hd", kShowOrHideChannels, OnHide},
    {"Hd", kShowOrHideSmartFilter, OnHide},
};

constexpr EventRule kDocumentRules[] = {
    {"slct", kSelectDocument, OnSelect},
    {"Dplc", kDuplicateDocument, OnDuplicate},
    {"Dlt", kDeleteHistoryState, OnDelete},
    {"FltI", {}, OnFlatten},
};

std::vector<const EventRule*> RulesFor(TypeID event) {
  std::vector<const EventRule*> rules;
  for (auto table : {LayerEventRules(), MaskEventRules(), GroupEventRules(),
                     AdjustmentEventRules(), DocumentEventRules(),
                     ActionEventRules(), ShortcutEventRules(), ModeEventRules(), TextEventRules(),
                     ArrangementEventRules(), DocumentCommandEventRules(), DialogEventRules(), SmartEventRules()})
    for (const EventRule& rule : table)
      if (RuleIdentifier(rule.event) == event) rules.push_back(&rule);
  return rules;
}

bool InVersion(const EventRule& rule, int version) {
  return version >= rule.versions.from && version <= rule.versions.to;
}

}  // namespace

std::span<const EventRule> LayerEventRules() { return kLayerRules; }
std::span<const EventRule> DocumentEventRules() { return kDocumentRules; }

host::OSErr Unmodelled(Play&) { return err::kNone; }

host::OSErr ApplyEvent(Model& m, TypeID event, const DescriptorData& params, std::string* historyName,
                       Json* error, std::int32_t mode) {
  historyName->clear();
  *error = nullptr;
  const auto rules = RulesFor(event);
  const int version = HostVersion();
  auto refuse = [&](host::OSErr code, std::string text, std::string key) {
    *error = Json{{"kind", "error"}, {"text", std::move(text)}, {"event", TextFromId(event)}};
    if (!key.empty()) (*error)["key"] = std::move(key);
    return code;
  };
  if (rules.empty()) return refuse(err::kEventNotHandled, "an event the host does not know", {});
  Mismatch closest;
  int closestWeight = -1;
  bool anyInVersion = false;
  for (const EventRule* rule : rules) {
    if (!InVersion(*rule, version)) continue;
    anyInVersion = true;
    Mismatch mismatch;
    int weight = 0;
    if (!DescriptorFits(rule->keys, params, &mismatch, &weight)) {
      if (closestWeight < 0 || weight < closestWeight) {
        closest = mismatch;
        closestWeight = weight;
      }
      continue;
    }
    Model before = m;
    Play play{m, params, historyName, mode};
    const host::OSErr result = rule->apply(play);
    if (result == kNotThisRow) continue;
    if (result != err::kNone) {
      m = std::move(before);   // a refused event leaves no trace
      historyName->clear();
    } else {
      NoteQuickMasks(m);
    }
    return result;
  }
  if (!anyInVersion)
    return refuse(err::kEventNotHandled, "an event editor version " + std::to_string(version) + " does not know", {});
  if (closestWeight < 0) return refuse(err::kEventNotHandled, "no row of the simulated host applies", {});
  return refuse(closest.code, closest.text, closest.key);
}

}  // namespace sim
