#include "model.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

Json DefaultLayer(Model& m, std::string name) {
  return Json{{"name", std::move(name)}, {"kind", "pixel"},     {"background", false},
              {"visible", true},         {"opacity", 255},      {"fillOpacity", 255},
              {"blendMode", "Nrml"},     {"grouped", false},    {"userMask", nullptr},
              {"vectorMask", nullptr},   {"filterMask", nullptr}, {"smartFilters", Json::array()},
              {"adjustment", nullptr},   {"text", nullptr},     {"id", m.nextLayerId++}};
}

Json NormalizeLayer(Model& m, const Json& given, size_t position) {
  Json layer = DefaultLayer(m, "Layer " + std::to_string(position));
  if (given.is_object())
    for (auto it = given.begin(); it != given.end(); ++it) layer[it.key()] = it.value();
  if (!given.is_object() || !given.contains("name"))
    layer["name"] = layer["background"].get<bool>() ? "Background" : "Layer " + std::to_string(position);
  for (const char* mask : {"userMask", "vectorMask", "filterMask"}) {
    Json& x = layer[mask];
    if (x.is_object()) {
      if (!x.contains("enabled")) x["enabled"] = true;
      if (std::string(mask) == "userMask" && !x.contains("linked")) x["linked"] = true;
    }
  }
  return layer;
}


bool TextEquals(const std::string& utf8, const std::string& ansi) { return utf8 == AnsiToUtf8(ansi); }

std::string Str(const Json& j, const char* key, const char* fallback = "") {
  auto it = j.find(key);
  return it != j.end() && it->is_string() ? it->get<std::string>() : fallback;
}
bool Flag(const Json& j, const char* key, bool fallback = false) {
  auto it = j.find(key);
  return it != j.end() && it->is_boolean() ? it->get<bool>() : fallback;
}
std::int64_t Int(const Json& j, const char* key, std::int64_t fallback = 0) {
  auto it = j.find(key);
  return it != j.end() && it->is_number() ? it->get<std::int64_t>() : fallback;
}
double Number(const Json& j, const char* key, double fallback = 0) {
  auto it = j.find(key);
  return it != j.end() && it->is_number() ? it->get<double>() : fallback;
}

Value AnsiText(const std::string& utf8) { return TextValue(Utf8ToAnsi(utf8)); }

// Channels as the host lists them: references by index, the colour
// components first (1 to 3 in RGB), then the extra channels. A layer mask in
// the list has no index of its own and is left out.
Value ChannelList(const Json& doc, const Json& names) {
  const Json components = ComponentChannels(Str(doc, "mode", "RGBColor"));
  ListData list;
  if (!names.is_array()) return ListValue(list);
  for (const auto& name : names) {
    if (!name.is_string()) continue;
    int index = 0;
    for (size_t i = 0; i < components.size() && index == 0; ++i)
      if (components[i] == name) index = int(i) + 1;
    const Json& extra = doc["channels"];
    for (size_t i = 0; extra.is_array() && i < extra.size() && index == 0; ++i)
      if ((extra[i].is_string() && extra[i] == name) || (extra[i].is_object() && extra[i].value("name", "") == name))
        index = int(components.size() + i) + 1;
    if (index == 0) continue;
    RefPart part;
    part.cls = C("Chnl");
    part.form = host::kFormIndex;
    part.number = index;
    list.push_back(RefValue({part}));
  }
  return ListValue(list);
}

DescriptorData DescribeLayer(const Json& doc, int p) {
  const Json& layer = doc["layers"][size_t(p)];
  const std::string kind = Str(layer, "kind", "pixel");
  DescriptorData d;
  PutEntry(d, C("Nm  "), AnsiText(Str(layer, "name")));
  PutEntry(d, C("Md  "), EnumValue(C("BlnM"), IdFromText(Str(layer, "blendMode", "Nrml"))));
  PutEntry(d, C("Opct"), IntValue(Int(layer, "opacity", 255)));
  PutEntry(d, StringToId("fillOpacity"), IntValue(Int(layer, "fillOpacity", 255)));
  PutEntry(d, C("Vsbl"), BoolValue(Flag(layer, "visible", true)));
  PutEntry(d, C("Bckg"), BoolValue(Flag(layer, "background")));
  PutEntry(d, C("Grup"), BoolValue(Flag(layer, "grouped")));
  PutEntry(d, C("ItmI"), IntValue(p + 1));
  PutEntry(d, C("LyrI"), IntValue(Int(layer, "id")));
  PutEntry(d, StringToId("targetChannels"), ChannelList(doc, doc["targetChannels"]));
  PutEntry(d, StringToId("visibleChannels"), ChannelList(doc, doc["visibleChannels"]));
  const Json& user = layer["userMask"];
  PutEntry(d, StringToId("hasUserMask"), BoolValue(user.is_object()));
  if (user.is_object()) {
    PutEntry(d, C("UsrM"), BoolValue(Flag(user, "enabled", true)));
    PutEntry(d, C("Usrs"), BoolValue(Flag(user, "linked", true)));
  }
  const Json& vector = layer["vectorMask"];
  PutEntry(d, StringToId("hasVectorMask"), BoolValue(vector.is_object()));
  if (vector.is_object()) PutEntry(d, StringToId("vectorMaskEnabled"), BoolValue(Flag(vector, "enabled", true)));
  const Json& filter = layer["filterMask"];
  PutEntry(d, StringToId("hasFilterMask"), BoolValue(filter.is_object()));
  if (filter.is_object()) PutEntry(d, StringToId("filterMaskEnable"), BoolValue(Flag(filter, "enabled", true)));

  if (kind == "adjustment" && layer["adjustment"].is_object()) {
    const Json& adj = layer["adjustment"];
    DescriptorData settings;
    if (adj.contains("items")) settings = DescriptorFromJson(adj["items"]);
    if (adj.contains("data") && adj["data"].is_string()) {
      Value raw = ValueFromJson(Json{{"data", adj["data"]}});
      PutEntry(settings, StringToId("legacyContentData"), raw);
    }
    PutEntry(d, C("Adjs"), ListValue({ObjectValue(IdFromText(Str(adj, "class", "null")), settings)}));
  }
  if (kind == "text") {
    DescriptorData text;
    const Json& t = layer["text"].is_object() ? layer["text"] : Json::object();
    PutEntry(text, C("AntA"), EnumValue(C("Annt"), IdFromText(Str(t, "antiAlias", "AnCr"))));
    PutEntry(text, StringToId("paragraph"), BoolValue(Flag(t, "paragraph")));
    PutEntry(text, StringToId("tracking"), IntValue(Int(t, "tracking")));
    // As the host describes them: paragraph text has the bounds of its box
    // on its shape, and the tracking is a style of its (one) style run.
    DescriptorData shape;
    PutEntry(shape, StringToId("char"),
             EnumValue(StringToId("char"), StringToId(Flag(t, "paragraph") ? "box" : "paint")));
    if (Flag(t, "paragraph")) {
      DescriptorData bounds;
      PutEntry(bounds, C("Top "), UnitValue(C("#Pnt"), 0));
      PutEntry(bounds, C("Left"), UnitValue(C("#Pnt"), 0));
      PutEntry(bounds, C("Btom"), UnitValue(C("#Pnt"), 100));
      PutEntry(bounds, C("Rght"), UnitValue(C("#Pnt"), 200));
      PutEntry(shape, StringToId("bounds"), ObjectValue(StringToId("bounds"), bounds));
    }
    PutEntry(text, StringToId("textShape"), ListValue({ObjectValue(StringToId("textShape"), shape)}));
    DescriptorData style;
    PutEntry(style, C("Trck"), IntValue(Int(t, "tracking")));
    DescriptorData run;
    PutEntry(run, C("From"), IntValue(0));
    PutEntry(run, C("T   "), IntValue(0));
    PutEntry(run, C("TxtS"), ObjectValue(C("TxtS"), style));
    PutEntry(text, C("Txtt"), ListValue({ObjectValue(C("Txtt"), run)}));
    PutEntry(d, C("Txt "), ObjectValue(C("TxLr"), text));
  }
  if (kind == "smartObject") {
    ListData filters;
    if (layer["smartFilters"].is_array())
      for (const auto& f : layer["smartFilters"]) {
        DescriptorData fd;
        // A filter the scenario gives no name has none the host could read.
        if (f.contains("name")) PutEntry(fd, C("Nm  "), AnsiText(Str(f, "name")));
        PutEntry(fd, C("enab"), BoolValue(Flag(f, "enabled", true)));
        filters.push_back(ObjectValue(StringToId("filterFX"), fd));
      }
    DescriptorData so;
    PutEntry(so, StringToId("filterFX"), ListValue(filters));
    PutEntry(d, StringToId("smartObject"), ObjectValue(StringToId("smartObject"), so));
  }
  const char* section = kind == "groupStart" ? "layerSectionStart"
                        : kind == "groupEnd" ? "layerSectionEnd"
                                             : "layerSectionContent";
  PutEntry(d, StringToId("layerSection"), EnumValue(StringToId("layerSectionType"), StringToId(section)));
  return d;
}

DescriptorData DescribeDocument(const Model& m, const Json& doc, int number) {
  DescriptorData d;
  PutEntry(d, C("Ttl "), AnsiText(Str(doc, "title")));
  PutEntry(d, C("ItmI"), IntValue(number + 1));
  PutEntry(d, C("Md  "), EnumValue(C("Md  "), IdFromText(Str(doc, "mode", "RGBColor"))));
  PutEntry(d, C("Dpth"), IntValue(Int(doc, "depth", 8)));
  PutEntry(d, C("Wdth"), UnitValue(C("#Pxl"), Number(doc, "width")));
  PutEntry(d, C("Hght"), UnitValue(C("#Pxl"), Number(doc, "height")));
  PutEntry(d, C("Rslt"), UnitValue(C("#Rsl"), Number(doc, "resolution", 72)));
  if (doc["path"].is_string()) {
    PutEntry(d, C("File"), PathValue(Utf8ToAnsi(doc["path"].get<std::string>())));
    PutEntry(d, C("FilR"), PathValue(Utf8ToAnsi(doc["path"].get<std::string>())));
  }
  if (doc["profile"].is_string()) PutEntry(d, C("Prfl"), AnsiText(doc["profile"].get<std::string>()));
  const bool background = HasBackground(doc);
  PutEntry(d, C("NmbL"), IntValue(std::int64_t(doc["layers"].size()) - (background ? 1 : 0)));
  PutEntry(d, StringToId("hasBackgroundLayer"), BoolValue(background));
  ListData targets;
  for (const auto& p : doc["target"]) {
    RefPart part;
    part.cls = C("Lyr ");
    part.form = host::kFormIndex;
    part.number = LayerRefIndex(doc, p.get<int>());
    targets.push_back(RefValue({part}));
  }
  PutEntry(d, StringToId("targetLayers"), ListValue(targets));
  if (Flag(doc, "selection")) {
    DescriptorData rect;
    PutEntry(rect, C("Top "), UnitValue(C("#Pxl"), 0));
    PutEntry(rect, C("Left"), UnitValue(C("#Pxl"), 0));
    PutEntry(rect, C("Btom"), UnitValue(C("#Pxl"), Number(doc, "height")));
    PutEntry(rect, C("Rght"), UnitValue(C("#Pxl"), Number(doc, "width")));
    PutEntry(d, C("fsel"), ObjectValue(C("Rctn"), rect));
  }
  (void)m;
  return d;
}

DescriptorData DescribeHistoryState(const Json& doc, int k) {
  const Json& history = doc["history"];
  DescriptorData d;
  PutEntry(d, C("Nm  "), AnsiText(history[size_t(k - 1)].get<std::string>()));
  PutEntry(d, C("ItmI"), IntValue(k));
  PutEntry(d, C("CrnH"), BoolValue(k == int(history.size())));
  PutEntry(d, C("Cnt "), IntValue(std::int64_t(history.size())));
  return d;
}

DescriptorData DescribeActionSet(const Json& set, int s) {
  DescriptorData d;
  PutEntry(d, C("Nm  "), AnsiText(Str(set, "name")));
  PutEntry(d, C("ItmI"), IntValue(s + 1));
  PutEntry(d, C("NmbC"), IntValue(std::int64_t(set["actions"].size())));
  return d;
}

DescriptorData DescribeAction(const Json& set, int a) {
  const Json& steps = set.contains("steps") ? set["steps"] : Json();
  const bool hasSteps = steps.is_array() && size_t(a) < steps.size() && steps[size_t(a)].is_array();
  DescriptorData d;
  PutEntry(d, C("Nm  "), AnsiText(set["actions"][size_t(a)].get<std::string>()));
  PutEntry(d, C("ItmI"), IntValue(a + 1));
  PutEntry(d, C("NmbC"), IntValue(hasSteps ? std::int64_t(steps[size_t(a)].size()) : 0));
  return d;
}

// Which channel a reference part names, in the form targetChannels keeps.
std::string ChannelName(const Json& doc, const RefPart& part) {
  if (part.form == host::kFormEnumerated) {
    if (part.enumValue == C("Trgt")) {
      const Json& t = doc["targetChannels"];
      return t.empty() ? std::string() : t[0].get<std::string>();
    }
    return TextFromId(part.enumValue);
  }
  if (part.form == host::kFormName) return AnsiToUtf8(part.name);
  return {};
}

}  // namespace

Json NormalizeDocument(Model& m, const Json& given, size_t number) {
  Json doc = {{"title", "Untitled-" + std::to_string(number)},
              {"path", nullptr},
              {"mode", "RGBColor"},
              {"depth", 8},
              {"width", 1024},
              {"height", 768},
              {"resolution", 72},
              {"profile", "sRGB IEC61966-2.1"},
              {"selection", false},
              {"channels", Json::array()},
              {"quickMask", false},
              {"history", Json::array({"Open"})}};
  if (given.is_object())
    for (auto it = given.begin(); it != given.end(); ++it)
      if (it.key() != "layers") doc[it.key()] = it.value();
  Json layers = Json::array();
  if (given.is_object() && given.contains("layers") && given["layers"].is_array()) {
    for (const auto& l : given["layers"]) layers.push_back(NormalizeLayer(m, l, layers.size()));
  } else {
    Json background = Json{{"name", "Background"}, {"background", true}};
    layers.push_back(NormalizeLayer(m, background, 0));
  }
  doc["layers"] = layers;
  bool quickMask = false;
  if (doc["channels"].is_array())
    for (const auto& c : doc["channels"])
      if (c.is_object() && Str(c, "colorIndicates") == "MskA") quickMask = true;
  doc["quickMask"] = quickMask;
  if (!doc.contains("target") || !doc["target"].is_array()) {
    doc["target"] = layers.empty() ? Json::array() : Json::array({int(layers.size()) - 1});
  }
  const std::string mode = doc["mode"].is_string() ? doc["mode"].get<std::string>() : "RGBColor";
  if (!doc.contains("targetChannels")) doc["targetChannels"] = ComponentChannels(mode);
  if (!doc.contains("visibleChannels")) doc["visibleChannels"] = ComponentChannels(mode);
  return doc;
}

Model ModelFromScenario(const Json& scenario) {
  Model m;
  if (scenario.contains("documents") && scenario["documents"].is_array()) {
    for (const auto& d : scenario["documents"])
      m.documents.push_back(NormalizeDocument(m, d, m.documents.size() + 1));
  } else {
    m.documents.push_back(NormalizeDocument(m, Json::object(), 1));
  }
  m.current = int(m.documents.size()) - 1;
  if (scenario.contains("actionSets") && scenario["actionSets"].is_array())
    for (const auto& set : scenario["actionSets"]) {
      if (!set.is_object()) continue;
      Json actions = Json::array();
      if (set.contains("actions") && set["actions"].is_array())
        for (const auto& a : set["actions"])
          if (a.is_string()) actions.push_back(a);
      m.actionSets.push_back(Json{{"name", Str(set, "name")}, {"actions", actions}});
    }
  if (scenario.contains("clipboard")) m.clipboard = scenario["clipboard"];
  return m;
}

Json* CurrentDocument(Model& m) {
  if (m.current < 0 || m.current >= int(m.documents.size())) return nullptr;
  return &m.documents[size_t(m.current)];
}

bool HasBackground(const Json& doc) {
  const Json& layers = doc["layers"];
  return !layers.empty() && Flag(layers[0], "background");
}

int ActiveLayer(const Json& doc) {
  const Json& target = doc["target"];
  if (!target.is_array() || target.empty()) return -1;
  int p = target.back().get<int>();
  return p >= 0 && p < int(doc["layers"].size()) ? p : -1;
}

Json ComponentChannels(const std::string& mode) {
  if (mode == "grayScale") return Json::array({"Gry "});
  if (mode == "CMYKColor") return Json::array({"Cyn ", "Mgnt", "Yllw", "Blck"});
  if (mode == "labColor") return Json::array({"Lght", "A   ", "B   "});
  if (mode == "bitmap") return Json::array({"Blck"});
  return Json::array({"Rd  ", "Grn ", "Bl  "});
}

void ResetTargetChannels(Json& doc) { doc["targetChannels"] = ComponentChannels(Str(doc, "mode", "RGBColor")); }

Json NewLayer(Model& m, std::string name) { return DefaultLayer(m, std::move(name)); }

int LayerRefIndex(const Json& doc, int position) { return HasBackground(doc) ? position : position + 1; }

int ResolveLayer(const Json& doc, const RefPart& part) {
  const Json& layers = doc["layers"];
  const int count = int(layers.size());
  int p = -1;
  switch (part.form) {
    case host::kFormEnumerated:
      if (part.enumValue == C("Trgt")) p = ActiveLayer(doc);
      break;
    case host::kFormClass: p = ActiveLayer(doc); break;
    case host::kFormIndex: p = int(HasBackground(doc) ? part.number : part.number - 1); break;
    case host::kFormOffset: {
      int active = ActiveLayer(doc);
      if (active >= 0) p = active + int(part.number);
      break;
    }
    case host::kFormName:
      for (int i = count - 1; i >= 0; --i)
        if (TextEquals(Str(layers[size_t(i)], "name"), part.name)) {
          p = i;
          break;
        }
      break;
    case host::kFormIdentifier:
      for (int i = 0; i < count; ++i)
        if (Int(layers[size_t(i)], "id") == part.number) p = i;
      break;
    default: break;
  }
  return p >= 0 && p < count ? p : -1;
}

int ResolveDocument(const Model& m, const RefPart& part) {
  const int count = int(m.documents.size());
  int n = -1;
  switch (part.form) {
    case host::kFormEnumerated:
      if (part.enumValue == C("Trgt")) n = m.current;
      break;
    case host::kFormClass: n = m.current; break;
    case host::kFormIndex: n = int(part.number) - 1; break;
    case host::kFormOffset: n = m.current + int(part.number); break;
    case host::kFormName:
      for (int i = 0; i < count; ++i)
        if (TextEquals(Str(m.documents[size_t(i)], "title"), part.name)) n = i;
      break;
    case host::kFormIdentifier: n = int(part.number) - 1; break;
    default: break;
  }
  return n >= 0 && n < count ? n : -1;
}

int ResolveActionSet(const Model& m, const RefPart& part) {
  const int count = int(m.actionSets.size());
  int n = -1;
  if (part.form == host::kFormIndex) {
    if (part.number >= 1 && part.number <= count) n = int(part.number) - 1;
  } else if (part.form == host::kFormName) {
    for (int i = 0; i < count && n < 0; ++i)
      if (TextEquals(Str(m.actionSets[size_t(i)], "name"), part.name)) n = i;
  }
  return n >= 0 && n < count ? n : -1;
}

int ResolveAction(const Json& set, const RefPart& part) {
  const Json& actions = set["actions"];
  const int count = int(actions.size());
  int n = -1;
  if (part.form == host::kFormIndex) {
    if (part.number >= 1 && part.number <= count) n = int(part.number) - 1;
  } else if (part.form == host::kFormName) {
    for (int i = 0; i < count && n < 0; ++i)
      if (actions[size_t(i)].is_string() && TextEquals(actions[size_t(i)].get<std::string>(), part.name)) n = i;
  }
  return n >= 0 && n < count ? n : -1;
}

Json* DocumentFor(Model& m, const ReferenceData& ref, size_t from) {
  for (size_t i = from; i < ref.size(); ++i)
    if (ref[i].cls == C("Dcmn")) {
      int n = ResolveDocument(m, ref[i]);
      return n < 0 ? nullptr : &m.documents[size_t(n)];
    }
  return CurrentDocument(m);
}

namespace {

// The forms the host answers a Get with, by class; a class it does not list
// it does not answer at all. An enumerated layer, document, history state or
// application is the target (`Ordn`, `Trgt`) and nothing else.
struct AnsweredClass {
  const char* cls;
  std::array<TypeID, 5> forms;   // 0: unused
  bool targetOnly;               // enumerated only as (`Ordn`, `Trgt`)
  std::array<const char*, 24> properties;   // every key its descriptor can hold
};

constexpr TypeID kEnm = host::kFormEnumerated, kIdx = host::kFormIndex, kNam = host::kFormName,
                 kIdn = host::kFormIdentifier, kCls = host::kFormClass;

const AnsweredClass kAnswered[] = {
    {"capp", {kEnm, kCls}, true, {"NmbD", "interfacePrefs"}},
    {"Dcmn", {kEnm, kIdx, kNam, kIdn, kCls}, true,
     {"Ttl ", "ItmI", "Md  ", "Dpth", "Wdth", "Hght", "Rslt", "File", "FilR", "Prfl", "NmbL", "hasBackgroundLayer",
      "targetLayers", "fsel"}},
    {"Lyr ", {kEnm, kIdx, kNam, kIdn, kCls}, true,
     {"Nm  ", "Md  ", "Opct", "fillOpacity", "Vsbl", "Bckg", "Grup", "ItmI", "LyrI", "targetChannels",
      "visibleChannels", "hasUserMask", "UsrM", "Usrs", "hasVectorMask", "vectorMaskEnabled", "hasFilterMask",
      "filterMaskEnable", "Adjs", "Txt ", "smartObject", "layerSection"}},
    {"BckL", {kEnm, kCls}, true,
     {"Nm  ", "Md  ", "Opct", "fillOpacity", "Vsbl", "Bckg", "Grup", "ItmI", "LyrI", "targetChannels",
      "visibleChannels", "hasUserMask", "UsrM", "Usrs", "hasVectorMask", "vectorMaskEnabled", "hasFilterMask",
      "filterMaskEnable", "Adjs", "Txt ", "smartObject", "layerSection"}},
    {"HstS", {kEnm, kIdx, kNam, kCls}, true, {"Nm  ", "ItmI", "CrnH", "Cnt "}},
    {"Chnl", {kEnm, kNam}, false, {"Nm  "}},
    {"filterFX", {kIdx}, false, {"Nm  ", "enab"}},
    {"ASet", {kIdx, kNam}, false, {"Nm  ", "ItmI", "NmbC"}},
    {"Actn", {kIdx, kNam}, false, {"Nm  ", "ItmI", "NmbC"}},
};

const AnsweredClass* AnsweredFor(TypeID cls) {
  const std::string text = TextFromId(cls);
  for (const AnsweredClass& a : kAnswered)
    if (text == a.cls) return &a;
  return nullptr;
}

std::string FormText(TypeID form) { return TextFromId(form); }

}  // namespace

GetRefusal RefusedGet(const ReferenceData& ref) {
  if (ref.empty()) return {"an empty reference"};
  for (size_t i = 0; i < ref.size(); ++i) {
    const RefPart& part = ref[i];
    // A leading property part names the property; its class is `Prpr` or the
    // object's own class.
    if (i == 0 && part.form == host::kFormProperty) {
      if (part.cls == C("Prpr")) continue;
      if (!AnsweredFor(part.cls)) return {"the host answers no object of class \"" + TextFromId(part.cls) + "\""};
      continue;
    }
    const AnsweredClass* a = AnsweredFor(part.cls);
    if (!a) return {"the host answers no object of class \"" + TextFromId(part.cls) + "\""};
    if (std::find(a->forms.begin(), a->forms.end(), part.form) == a->forms.end())
      return {"the host takes no \"" + FormText(part.form) + "\" form for class \"" + TextFromId(part.cls) + "\""};
    if (part.form == host::kFormEnumerated && a->targetOnly &&
        (part.enumType != C("Ordn") || part.enumValue != C("Trgt")))
      return {"the host takes class \"" + TextFromId(part.cls) + "\" enumerated only as the target"};
    // Containers: the layer holds the smart filters, the action set its
    // actions, the document all else. Action sets belong to the application.
    if (i + 1 < ref.size() && i > 0 && part.cls != C("Dcmn") && part.cls != C("Lyr ") && part.cls != C("ASet"))
      return {"class \"" + TextFromId(part.cls) + "\" contains nothing the host answers"};
    if (part.cls == C("Actn") && (i + 1 >= ref.size() || ref[i + 1].cls != C("ASet")))
      return {"an action is answered only inside its action set"};
    if (part.cls == C("ASet") && i + 1 < ref.size())
      return {"an action set lies inside no other object"};
  }
  if (ref[0].form == host::kFormProperty) {
    const TypeID owner = ref[0].cls == C("Prpr") ? (ref.size() > 1 ? ref[1].cls : 0) : ref[0].cls;
    const AnsweredClass* a = AnsweredFor(owner);
    if (!a) return {"a property of nothing the host answers"};
    const std::string key = TextFromId(ref[0].property);
    bool known = false;
    for (const char* k : a->properties)
      if (k && key == k) known = true;
    if (!known) return {"class \"" + TextFromId(owner) + "\" has no property \"" + key + "\"", true};
  }
  return {};
}

host::OSErr AnswerGet(Model& m, const ReferenceData& ref, DescriptorData* out) {
  size_t i = 0;
  TypeID property = 0;
  RefPart owner;  // a property part that names its object's class, as (`BckL`, `Bckg`)
  const RefPart* named = nullptr;
  if (!ref.empty() && ref[0].form == host::kFormProperty) {
    property = ref[0].property;
    if (ref[0].cls == C("Prpr")) {
      i = 1;
    } else {
      owner = ref[0];
      owner.form = host::kFormClass;
      named = &owner;
    }
  }
  if (i >= ref.size()) return err::kNoSuchObject;
  const RefPart& part = named ? *named : ref[i];
  DescriptorData whole;

  if (part.cls == C("capp")) {
    PutEntry(whole, C("NmbD"), IntValue(std::int64_t(m.documents.size())));
    const Json& hostSettings = State().scenario.contains("host") ? State().scenario["host"] : Json::object();
    const Json language = hostSettings.contains("uiLanguage") ? hostSettings["uiLanguage"] : Json("en_US");
    if (language.is_string()) {
      DescriptorData prefs;
      PutEntry(prefs, StringToId("uiLanguageKey"), AnsiText(language.get<std::string>()));
      PutEntry(whole, StringToId("interfacePrefs"), ObjectValue(StringToId("interfacePrefs"), prefs));
    }
  } else if (part.cls == C("ASet") || part.cls == C("Actn")) {
    const bool action = part.cls == C("Actn");
    const RefPart& setPart = action ? ref[i + 1] : part;
    const int s = ResolveActionSet(m, setPart);
    if (s < 0) return err::kNoSuchObject;
    const Json& set = m.actionSets[size_t(s)];
    if (!action) {
      whole = DescribeActionSet(set, s);
    } else {
      const int a = ResolveAction(set, part);
      if (a < 0) return err::kNoSuchObject;
      whole = DescribeAction(set, a);
    }
  } else if (part.cls == C("Dcmn")) {
    int n = ResolveDocument(m, part);
    if (n < 0) return err::kNoSuchObject;
    whole = DescribeDocument(m, m.documents[size_t(n)], n);
  } else {
    Json* doc = DocumentFor(m, ref, i + 1);
    if (!doc) return err::kNoSuchObject;
    if (part.cls == C("Lyr ")) {
      int p = ResolveLayer(*doc, part);
      if (p < 0) return err::kNoSuchObject;
      whole = DescribeLayer(*doc, p);
    } else if (part.cls == C("BckL")) {
      if (!HasBackground(*doc)) return err::kNoSuchObject;
      whole = DescribeLayer(*doc, 0);
    } else if (part.cls == C("HstS")) {
      const int count = int((*doc)["history"].size());
      int k = -1;
      if (part.form == host::kFormIndex) k = int(part.number);
      else if (part.form == host::kFormEnumerated || part.form == host::kFormClass) k = count;
      else if (part.form == host::kFormName)
        for (int x = 1; x <= count; ++x)
          if (TextEquals((*doc)["history"][size_t(x - 1)].get<std::string>(), part.name)) k = x;
      if (k < 1 || k > count) {
        // The count is there even with no state to describe.
        if (property != C("Cnt ")) return err::kNoSuchObject;
        PutEntry(whole, C("Cnt "), IntValue(count));
      } else {
        whole = DescribeHistoryState(*doc, k);
      }
    } else if (part.cls == C("Chnl")) {
      std::string name = ChannelName(*doc, part);
      if (name.empty()) return err::kNoSuchObject;
      PutEntry(whole, C("Nm  "), AnsiText(name));
    } else if (part.cls == StringToId("filterFX")) {
      Json* d = doc;
      int p = i + 1 < ref.size() && ref[i + 1].cls == C("Lyr ") ? ResolveLayer(*d, ref[i + 1]) : ActiveLayer(*d);
      if (p < 0 || part.form != host::kFormIndex) return err::kNoSuchObject;
      const Json& filters = (*d)["layers"][size_t(p)]["smartFilters"];
      if (!filters.is_array() || part.number < 1 || part.number > std::int64_t(filters.size()))
        return err::kNoSuchObject;
      const Json& f = filters[size_t(part.number - 1)];
      PutEntry(whole, C("Nm  "), AnsiText(Str(f, "name")));
      PutEntry(whole, C("enab"), BoolValue(Flag(f, "enabled", true)));
    } else {
      return err::kNoSuchObject;
    }
  }

  if (property == 0) {
    *out = std::move(whole);
    return err::kNone;
  }
  const Value* v = FindEntry(whole, property);
  if (!v) return err::kNoSuchKey;
  out->clear();
  out->push_back(Entry{property, *v});
  return err::kNone;
}

void AddHistoryState(Model& m, const std::string& name) {
  if (State().suspendDepth > 0) return;   // the enclosing step is the one state
  if (Json* doc = CurrentDocument(m)) (*doc)["history"].push_back(name);
}

}  // namespace sim
