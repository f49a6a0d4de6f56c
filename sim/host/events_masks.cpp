// What mask and selection events do to the model.
//
// Pixels are not simulated, so an area (a selection, the part of the image a
// mask reveals, the outline of a path) is kept as what it follows: "all",
// "none", the name of a base area ("selection" for the one the scenario
// starts with, "transparency of Layer 1", "channel Rd", "vector mask of
// Shape 1", ...) or "not " and that name. Inverting, intersecting and
// filling combine areas over one base; areas over two different bases give
// "mixed". The document keeps its selection's area in "selectionArea" and a
// work path's in "workPath"; a layer mask keeps its area in "reveals", a
// vector mask and an extra channel in "area".
#include <algorithm>
#include <cmath>

#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

// ---- Areas ----

struct Area {
  std::string base;   // empty for all and none
  bool in = false;    // the inside of the base is covered
  bool out = false;   // the rest of the image is covered
  bool mixed = false;
};

Area Everything() { return {"", true, true}; }
Area Nothing() { return {"", false, false}; }
Area Following(std::string base) { return {std::move(base), true, false}; }
Area Mixed() { return {"", false, false, true}; }

bool Trivial(const Area& a) { return !a.mixed && a.in == a.out; }
bool IsNothing(const Area& a) { return Trivial(a) && !a.in; }

Area Normalized(Area a) {
  if (!a.mixed && a.in == a.out) a.base.clear();
  return a;
}

std::string AreaText(const Area& a) {
  if (a.mixed) return "mixed";
  if (a.in && a.out) return "all";
  if (!a.in && !a.out) return "none";
  return a.in ? a.base : "not " + a.base;
}

Area AreaFrom(const Json& text, const Area& fallback) {
  if (!text.is_string()) return fallback;
  const std::string t = text.get<std::string>();
  if (t == "all") return Everything();
  if (t == "none") return Nothing();
  if (t == "mixed") return Mixed();
  if (t.rfind("not ", 0) == 0) return {t.substr(4), false, true};
  return Following(t);
}

// Combines two areas pixel by pixel.
template <typename Op>
Area Combine(const Area& a, const Area& b, Op op) {
  auto constant = [](bool v) { return v ? Everything() : Nothing(); };
  if (Trivial(a) && Trivial(b)) return constant(op(a.in, b.in));
  if (Trivial(a) || Trivial(b)) {
    const bool bFixed = Trivial(b);
    const Area& other = bFixed ? a : b;
    const bool fixed = bFixed ? b.in : a.in;
    auto f = [&](bool x) { return bFixed ? op(x, fixed) : op(fixed, x); };
    if (f(false) == f(true)) return constant(f(false));
    if (other.mixed) return Mixed();
    Area r = other;
    r.in = f(other.in);
    r.out = f(other.out);
    return Normalized(r);
  }
  if (!a.mixed && !b.mixed && a.base == b.base)
    return Normalized({a.base, op(a.in, b.in), op(a.out, b.out)});
  return Mixed();
}

Area Not(const Area& a) { return Combine(a, Everything(), [](bool x, bool y) { return x != y; }); }
Area Xor(const Area& a, const Area& b) { return Combine(a, b, [](bool x, bool y) { return x != y; }); }
Area And(const Area& a, const Area& b) { return Combine(a, b, [](bool x, bool y) { return x && y; }); }
Area Or(const Area& a, const Area& b) { return Combine(a, b, [](bool x, bool y) { return x || y; }); }
Area AndNot(const Area& a, const Area& b) { return Combine(a, b, [](bool x, bool y) { return x && !y; }); }

// ---- The document's selection ----

Area SelectionOf(const Json& doc) {
  if (!doc.value("selection", false)) return Nothing();
  return AreaFrom(doc.contains("selectionArea") ? doc["selectionArea"] : Json(), Following("selection"));
}

void SetSelection(Json& doc, const Area& area) {
  doc["selection"] = !IsNothing(area);
  if (IsNothing(area)) doc.erase("selectionArea");
  else doc["selectionArea"] = AreaText(area);
}

// Where an edit reaches: the selection, or the whole image without one.
Area EditedArea(const Json& doc) {
  Area s = SelectionOf(doc);
  return IsNothing(s) ? Everything() : s;
}

// ---- Parameters ----

const ReferenceData* RefParam(const Play& play, TypeID key) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == host::kTypeReference && !v->ref.empty() ? &v->ref : nullptr;
}

const Value* EnumParam(const Play& play, TypeID key) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == host::kTypeEnumerated ? v : nullptr;
}

bool IsSelectionRef(const ReferenceData* ref) {
  return ref && (*ref)[0].form == host::kFormProperty && (*ref)[0].property == C("fsel");
}

bool IsVectorMaskPart(const RefPart& part) {
  return part.cls == C("Path") && part.form == host::kFormEnumerated && part.enumValue == StringToId("vectorMask");
}

std::string NameOf(const Json& layer) { return layer.value("name", std::string()); }

// The layer a reference's second part names (the target without one).
int LayerAfter(const Json& doc, const ReferenceData& ref) {
  return ref.size() > 1 && ref[1].cls == C("Lyr ") ? ResolveLayer(doc, ref[1]) : ActiveLayer(doc);
}

Json* ExtraChannel(Json& doc, const std::string& name) {
  for (auto& c : doc["channels"])
    if ((c.is_string() && c == name) || (c.is_object() && c.value("name", "") == name)) return &c;
  return nullptr;
}

// The edited channel when it is one mask: its owner's key ("userMask",
// "filterMask"), else null.
const char* EditedMask(const Json& doc) {
  const Json& targets = doc["targetChannels"];
  if (targets.size() != 1) return nullptr;
  if (targets[0] == "Msk ") return "userMask";
  if (targets[0] == "filterMask") return "filterMask";
  return nullptr;
}

Area MaskArea(const Json& mask) { return AreaFrom(mask.contains("reveals") ? mask["reveals"] : Json(), Everything()); }

// The area of a mask of the target layer; refused when the layer has none.
host::OSErr LayerMaskArea(const Json& doc, const char* key, Area* out) {
  const int p = ActiveLayer(doc);
  if (p < 0) return err::kCannotApply;
  const Json& mask = doc["layers"][size_t(p)][key];
  if (!mask.is_object()) return err::kCannotApply;
  *out = MaskArea(mask);
  return err::kNone;
}

// The area a channel or path reference names, as a selection would take it.
host::OSErr ChannelArea(Json& doc, const ReferenceData& ref, Area* out) {
  const RefPart& part = ref[0];
  if (IsVectorMaskPart(part)) {
    const int p = LayerAfter(doc, ref);
    if (p < 0) return err::kNoSuchObject;
    const Json& layer = doc["layers"][size_t(p)];
    if (!layer["vectorMask"].is_object()) return err::kCannotApply;
    *out = AreaFrom(layer["vectorMask"].value("area", Json()), Following("vector mask of " + NameOf(layer)));
    return err::kNone;
  }
  if (part.cls != C("Chnl")) return err::kCannotApply;
  if (part.form == host::kFormName) {
    const std::string name = AnsiToUtf8(part.name);
    const Json* channel = ExtraChannel(doc, name);
    if (!channel) return err::kNoSuchObject;
    *out = AreaFrom(channel->is_object() ? channel->value("area", Json()) : Json(), Following("channel " + name));
    return err::kNone;
  }
  if (part.form != host::kFormEnumerated) return err::kCannotApply;

  std::string channel = TextFromId(part.enumValue);
  if (part.enumValue == C("Trgt")) {
    const Json& targets = doc["targetChannels"];
    if (const char* mask = EditedMask(doc)) return LayerMaskArea(doc, mask, out);
    if (targets.size() == 1 && ExtraChannel(doc, targets[0].get<std::string>())) {
      RefPart named;
      named.cls = C("Chnl");
      named.form = host::kFormName;
      named.name = Utf8ToAnsi(targets[0].get<std::string>());
      return ChannelArea(doc, {named}, out);
    }
    if (targets.size() != 1) {
      *out = Following("luminosity");
      return err::kNone;
    }
    channel = targets[0].get<std::string>();
  }
  if (channel == "Msk ") return LayerMaskArea(doc, "userMask", out);
  if (channel == "filterMask") return LayerMaskArea(doc, "filterMask", out);
  if (channel == "Trsp") {
    const int p = ActiveLayer(doc);
    if (p < 0) return err::kCannotApply;
    const Json& layer = doc["layers"][size_t(p)];
    *out = layer.value("background", false) ? Everything() : Following("transparency of " + NameOf(layer));
    return err::kNone;
  }
  const Json components = ComponentChannels(doc.value("mode", std::string("RGBColor")));
  if (channel == "RGB ") {
    if (components != ComponentChannels("RGBColor")) return err::kNoSuchObject;
    *out = Following("luminosity");
    return err::kNone;
  }
  if (std::find(components.begin(), components.end(), Json(channel)) == components.end())
    return err::kNoSuchObject;
  channel.erase(channel.find_last_not_of(' ') + 1);
  *out = Following("channel " + channel);
  return err::kNone;
}

// ---- Mk  ----

host::OSErr MakeLayerMask(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (layer.value("background", false) || layer["userMask"].is_object()) return err::kCannotApply;

  const Value* how = EnumParam(play, C("Usng"));
  const TypeID value = how ? how->enumValue : C("RvlA");
  // Editors before 9 make reveal-all masks only.
  if (HostVersion() < 9 && value != C("RvlA")) return err::kCannotApply;
  const Area selection = SelectionOf(*doc);
  Area reveals;
  if (value == C("RvlA")) reveals = Everything();
  else if (value == C("HdAl")) reveals = Nothing();
  else if (value == C("RvlS") || value == C("HdSl")) {
    if (IsNothing(selection)) return err::kCannotApply;
    reveals = value == C("RvlS") ? selection : Not(selection);
    SetSelection(*doc, Nothing());   // the selection has become the mask
  } else {
    return err::kCannotApply;
  }
  layer["userMask"] = Json{{"enabled", true}, {"linked", true}, {"reveals", AreaText(reveals)}};
  (*doc)["targetChannels"] = Json::array({"Msk "});   // the new mask is edited next
  *play.historyName = "Add Layer Mask";
  return err::kNone;
}

host::OSErr MakeWorkPath(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Area selection = SelectionOf(*doc);
  if (IsNothing(selection)) return err::kCannotApply;
  (*doc)["workPath"] = AreaText(selection);
  *play.historyName = "Make Work Path";
  return err::kNone;
}

host::OSErr MakeVectorMask(Play& play, const ReferenceData& at) {
  const ReferenceData* path = RefParam(play, C("Usng"));
  if (!path || (*path)[0].cls != C("Path")) return err::kCannotApply;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  if (!(*doc).value("workPath", Json()).is_string()) return err::kCannotApply;
  const int p = LayerAfter(*doc, at);
  if (p < 0) return err::kNoSuchObject;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (layer.value("background", false) || layer["vectorMask"].is_object()) return err::kCannotApply;
  layer["vectorMask"] = Json{{"enabled", true}, {"area", (*doc)["workPath"]}};
  *play.historyName = "Add Vector Mask";
  return err::kNone;
}

// ---- setd ----

host::OSErr SetSelectionFrom(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* to = FindEntry(play.params, C("T   "));
  if (!to) return err::kCannotApply;
  Area area;
  if (to->type == host::kTypeEnumerated && to->enumValue == C("Al  ")) {
    area = Everything();
    *play.historyName = "Select All";
  } else if (to->type == host::kTypeEnumerated && to->enumValue == C("None")) {
    if (IsNothing(SelectionOf(*doc))) return err::kNone;   // nothing to drop, no state
    area = Nothing();
    *play.historyName = "Deselect";
  } else if (to->type == host::kTypeReference && !to->ref.empty()) {
    if (host::OSErr e = ChannelArea(*doc, to->ref, &area); e != err::kNone) return e;
    *play.historyName = "Load Selection";
  } else {
    return err::kCannotApply;
  }
  SetSelection(*doc, area);
  return err::kNone;
}

host::OSErr ConvertBackground(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  if (!HasBackground(*doc)) return err::kNoSuchObject;
  Json& layer = (*doc)["layers"][0];
  layer["background"] = false;
  layer["name"] = "Layer 0";
  if (const Value* to = FindEntry(play.params, C("T   ")); to && to->type == host::kTypeObject) {
    for (const auto& e : to->items) {
      const Value& v = e.value;
      if (e.key == C("Nm  ") && v.type == host::kTypeText) layer["name"] = AnsiToUtf8(v.text);
      else if (e.key == C("Opct") && v.type == host::kTypeUnitFloat)
        layer["opacity"] = int(std::lround(std::clamp(v.number, 0.0, 100.0) * 255.0 / 100.0));
      else if (e.key == C("Md  ") && v.type == host::kTypeEnumerated) layer["blendMode"] = TextFromId(v.enumValue);
    }
  }
  (*doc)["target"] = Json::array({0});
  ResetTargetChannels(*doc);
  *play.historyName = "Layer From Background";
  return err::kNone;
}

struct MaskFlag {
  TypeID key;
  const char* mask;       // the layer's key
  const char* field;      // the flag in it
  const char* on;         // history names
  const char* off;
};

const MaskFlag* FindMaskFlag(TypeID key) {
  static const MaskFlag kFlags[] = {
      {C("UsrM"), "userMask", "enabled", "Enable Layer Mask", "Disable Layer Mask"},
      {C("Usrs"), "userMask", "linked", "Link Layer Mask", "Unlink Layer Mask"},
      {StringToId("vectorMaskEnabled"), "vectorMask", "enabled", "Enable Vector Mask", "Disable Vector Mask"},
      {StringToId("filterMaskEnable"), "filterMask", "enabled", "Enable Filter Mask", "Disable Filter Mask"},
  };
  for (const MaskFlag& f : kFlags)
    if (f.key == key) return &f;
  return nullptr;
}

// A `setd` of the layer whose object holds mask flags only; others are the
// general layer row's.
host::OSErr SetMaskFlags(Play& play, const ReferenceData& ref) {
  const Value* to = FindEntry(play.params, C("T   "));
  if (!to || to->type != host::kTypeObject || to->items.empty()) return kNotThisRow;
  for (const auto& e : to->items)
    if (!FindMaskFlag(e.key) || e.value.type != host::kTypeBoolean) return kNotThisRow;
  Json* doc = DocumentFor(play.model, ref, 1);
  if (!doc) return err::kNoSuchObject;
  const int p = ResolveLayer(*doc, ref[0]);
  if (p < 0) return err::kNoSuchObject;
  Json& layer = (*doc)["layers"][size_t(p)];
  for (const auto& e : to->items) {
    const MaskFlag* f = FindMaskFlag(e.key);
    if (!layer[f->mask].is_object()) return err::kCannotApply;
    layer[f->mask][f->field] = e.value.flag;
    *play.historyName = e.value.flag ? f->on : f->off;
  }
  return err::kNone;
}

// ---- Fl   ----

host::OSErr FillMask(Play& play, Json& doc, const char* key) {
  const Value* how = EnumParam(play, C("Usng"));
  if (!how) return err::kCannotApply;
  Json& mask = doc["layers"][size_t(ActiveLayer(doc))][key];
  const Area reach = EditedArea(doc);
  Area now = MaskArea(mask);
  if (how->enumValue == C("Wht ")) now = Or(now, reach);
  else if (how->enumValue == C("Blck")) now = AndNot(now, reach);
  else now = IsNothing(reach) ? now : Mixed();
  mask["reveals"] = AreaText(now);
  *play.historyName = "Fill";
  return err::kNone;
}

// The edited channel when it is one saved (extra) channel, made an object.
Json* EditedExtraChannel(Json& doc) {
  const Json& targets = doc["targetChannels"];
  if (targets.size() != 1) return nullptr;
  Json* channel = ExtraChannel(doc, targets[0].get<std::string>());
  if (channel && channel->is_string()) *channel = Json{{"name", *channel}};
  return channel;
}

// White fills a channel's selected area in, black takes it out.
host::OSErr FillChannel(Play& play, Json& doc, Json& channel) {
  const Value* how = EnumParam(play, C("Usng"));
  if (!how) return err::kCannotApply;
  const std::string name = channel.value("name", std::string());
  const Area reach = EditedArea(doc);
  Area now = AreaFrom(channel.value("area", Json()), Following("channel " + name));
  if (how->enumValue == C("Wht ")) now = Or(now, reach);
  else if (how->enumValue == C("Blck")) now = AndNot(now, reach);
  else now = Mixed();
  channel["area"] = AreaText(now);
  *play.historyName = "Fill";
  return err::kNone;
}

}  // namespace

host::OSErr OnMakeMaskOrPath(Play& play) {
  const Value* created = FindEntry(play.params, C("Nw  "));
  const ReferenceData* at = RefParam(play, C("At  "));
  if (created && created->type == host::kTypeClass && created->cls == C("Chnl") && at &&
      (*at)[0].enumValue == C("Msk "))
    return MakeLayerMask(play);
  const ReferenceData* made = RefParam(play, C("null"));
  if (!made || (*made)[0].cls != C("Path") || (*made)[0].form != host::kFormClass) return kNotThisRow;
  if (IsSelectionRef(RefParam(play, C("From")))) return MakeWorkPath(play);
  if (at && IsVectorMaskPart((*at)[0])) return MakeVectorMask(play, *at);
  return kNotThisRow;
}

host::OSErr OnSetSelectionOrMasks(Play& play) {
  const ReferenceData* ref = RefParam(play, C("null"));
  if (!ref) return kNotThisRow;
  const RefPart& part = (*ref)[0];
  if (IsSelectionRef(ref)) return SetSelectionFrom(play);
  if (part.cls == C("Lyr ") && part.form == host::kFormProperty && part.property == C("Bckg"))
    return ConvertBackground(play);
  if (part.cls == C("Lyr ")) return SetMaskFlags(play, *ref);
  return kNotThisRow;
}

host::OSErr OnDeleteVectorMask(Play& play) {
  const ReferenceData* ref = RefParam(play, C("null"));
  if (!ref || !IsVectorMaskPart((*ref)[0])) return kNotThisRow;
  Json* doc = DocumentFor(play.model, *ref, 1);
  if (!doc) return err::kNoSuchObject;
  const int p = LayerAfter(*doc, *ref);
  if (p < 0) return err::kNoSuchObject;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (!layer["vectorMask"].is_object()) return err::kCannotApply;
  layer["vectorMask"] = nullptr;
  *play.historyName = "Delete Vector Mask";
  return err::kNone;
}

host::OSErr OnInvertMask(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return kNotThisRow;
  const char* key = EditedMask(*doc);
  const int p = ActiveLayer(*doc);
  if (!key || p < 0 || !(*doc)["layers"][size_t(p)][key].is_object()) return kNotThisRow;
  Json& mask = (*doc)["layers"][size_t(p)][key];
  mask["reveals"] = AreaText(Xor(MaskArea(mask), EditedArea(*doc)));
  *play.historyName = "Invert";
  return err::kNone;
}

host::OSErr OnInverseSelection(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Area selection = SelectionOf(*doc);
  if (IsNothing(selection)) return err::kCannotApply;
  SetSelection(*doc, Not(selection));
  *play.historyName = "Inverse";
  return err::kNone;
}

host::OSErr OnIntersectSelection(Play& play) {
  const ReferenceData* channel = RefParam(play, C("null"));
  if (!channel || !IsSelectionRef(RefParam(play, C("With")))) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Area area;
  if (host::OSErr e = ChannelArea(*doc, *channel, &area); e != err::kNone) return e;
  SetSelection(*doc, And(SelectionOf(*doc), area));
  *play.historyName = "Intersect Channel";
  return err::kNone;
}

host::OSErr OnSaveSelection(Play& play) {
  if (!IsSelectionRef(RefParam(play, C("null")))) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Area selection = SelectionOf(*doc);
  if (IsNothing(selection)) return err::kCannotApply;
  std::string name;
  if (const Value* v = FindEntry(play.params, C("Nm  ")); v && v->type == host::kTypeText) {
    name = AnsiToUtf8(v->text);
  } else {
    for (int n = 1; name.empty() || ExtraChannel(*doc, name); ++n) name = "Alpha " + std::to_string(n);
  }
  if (!(*doc)["channels"].is_array()) (*doc)["channels"] = Json::array();
  (*doc)["channels"].push_back(Json{{"name", name}, {"area", AreaText(selection)}});
  *play.historyName = "Save Selection";
  return err::kNone;
}

host::OSErr OnFill(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return kNotThisRow;
  if (Json* channel = EditedExtraChannel(*doc)) return FillChannel(play, *doc, *channel);
  const char* key = EditedMask(*doc);
  const int p = ActiveLayer(*doc);
  if (!key || p < 0 || !(*doc)["layers"][size_t(p)][key].is_object()) return kNotThisRow;
  return FillMask(play, *doc, key);
}

host::OSErr OnRasterize(Play& play) {
  const Value* what = EnumParam(play, C("What"));
  const bool vectorMask = what && what->enumValue == StringToId("vectorMask");
  const bool placed = what && what->enumValue == StringToId("placed");
  if (!vectorMask && !placed) return kNotThisRow;
  const ReferenceData* ref = RefParam(play, C("null"));
  Json* doc = ref ? DocumentFor(play.model, *ref, 1) : CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const int p = ref && (*ref)[0].cls == C("Lyr ") ? ResolveLayer(*doc, (*ref)[0]) : ActiveLayer(*doc);
  if (p < 0) return err::kNoSuchObject;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (vectorMask) {
    if (!layer["vectorMask"].is_object()) return err::kCannotApply;
    const Area outline =
        AreaFrom(layer["vectorMask"].value("area", Json()), Following("vector mask of " + NameOf(layer)));
    // The outline becomes a layer mask, or narrows the one there is.
    if (layer["userMask"].is_object()) {
      layer["userMask"]["reveals"] = AreaText(And(MaskArea(layer["userMask"]), outline));
    } else {
      layer["userMask"] = Json{{"enabled", layer["vectorMask"].value("enabled", true)},
                               {"linked", true},
                               {"reveals", AreaText(outline)}};
    }
    layer["vectorMask"] = nullptr;
    *play.historyName = "Rasterize Vector Mask";
    return err::kNone;
  }
  if (layer.value("kind", std::string()) != "smartObject") return err::kCannotApply;
  layer["kind"] = "pixel";
  layer["smartFilters"] = Json::array();
  layer["filterMask"] = nullptr;
  ResetTargetChannels(*doc);
  *play.historyName = "Simplify Layer";
  return err::kNone;
}

namespace {

constexpr std::string_view kSelection = "ref Chnl:prop fsel";
constexpr std::string_view kTargetVectorMask = "ref Path:Path/vectorMask > Lyr:Ordn/Trgt";

constexpr KeyRule kMakeLayerMask[] = {
    Key("Nw", "class Chnl"),
    Key("At", "ref Chnl:Chnl/Msk"),
    Key("Usng", "enum UsrM = RvlA, HdAl, RvlS, HdSl"),
};
constexpr KeyRule kMakeWorkPath[] = {
    Key("null", "ref Path:class"),
    Key("From", kSelection),
    Key("Tlrn", "unit #Pxl"),
};
constexpr KeyRule kMakeVectorMask[] = {
    Key("null", "ref Path:class"),
    Key("At", "ref Path:Path/vectorMask"),
    Key("Usng", "ref Path:Ordn/Trgt"),
};
constexpr KeyRule kSelectAllOrNone[] = {
    Key("null", kSelection),
    Key("T", "enum Ordn = Al, None"),
};
constexpr KeyRule kSelectionFromChannel[] = {
    Key("null", kSelection),
    Key("T", "ref Chnl:Chnl/Trsp, RGB, Rd, Grn, Bl, Msk, filterMask | Chnl:Ordn/Trgt | Chnl:name"),
};
constexpr KeyRule kSelectionFromVectorMask[] = {
    Key("null", kSelection),
    Key("T", kTargetVectorMask),
    Optional("Vrsn", "int"),
    Optional("vectorMaskParams", "bool"),
};
constexpr KeyRule kBackgroundLayer[] = {
    Optional("Nm", "text"),
    Optional("Opct", "unit #Prc"),
    Optional("Md", "enum BlnM"),
};
constexpr KeyRule kConvertBackground[] = {
    Key("null", "ref Lyr:prop Bckg"),
    Key("T", "object Lyr", kBackgroundLayer),
};
constexpr KeyRule kDeleteVectorMask[] = {
    Key("null", kTargetVectorMask),
};
constexpr KeyRule kIntersectWithChannel[] = {
    Key("null", "ref Chnl:Chnl/Msk, filterMask, Trsp, RGB, Rd, Grn, Bl | Chnl:name"),
    Key("With", kSelection),
    Optional("Vrsn", "int"),
    Optional("maskParameters", "bool"),
};
constexpr KeyRule kSaveSelection[] = {
    Key("null", kSelection),
    Optional("Nm", "text"),
};
constexpr KeyRule kFill[] = {
    Key("Usng", "enum FlCn = FrgC, BckC, Blck, Wht, Gry"),
    Optional("Opct", "unit #Prc"),
    Optional("Md", "enum BlnM"),
};
constexpr KeyRule kRasterize[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("What", "enum rasterizeItem = vectorMask, placed, shape, type, layerStyle"),
};

constexpr EventRule kMaskRules[] = {
    {"Mk", kMakeLayerMask, OnMakeMaskOrPath},
    {"Mk", kMakeWorkPath, OnMakeMaskOrPath},
    {"Mk", kMakeVectorMask, OnMakeMaskOrPath},
    {"setd", kSelectAllOrNone, OnSetSelectionOrMasks},
    {"setd", kSelectionFromChannel, OnSetSelectionOrMasks},
    {"setd", kSelectionFromVectorMask, OnSetSelectionOrMasks},
    {"setd", kConvertBackground, OnSetSelectionOrMasks},
    {"Dlt", kDeleteVectorMask, OnDeleteVectorMask},
    {"Dplc", kSaveSelection, OnSaveSelection},
    {"Invs", {}, OnInverseSelection},
    {"Intr", kIntersectWithChannel, OnIntersectSelection},
    {"Fl", kFill, OnFill},        // the edited mask
    {"Fl", kFill, Unmodelled},    // pixels
    {"rasterizeLayer", kRasterize, OnRasterize},
};

}  // namespace

std::span<const EventRule> MaskEventRules() { return kMaskRules; }

}  // namespace sim
