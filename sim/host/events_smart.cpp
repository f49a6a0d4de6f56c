// What smart-object and smart-filter events do to the model: smart objects
// made from a layer, opened from a file, copied, their contents edited,
// exported and replaced; documents made from a layer, saved in the host's
// own format and layers duplicated between documents; smart filters edited
// through the host's dialogs, copied from one layer to another.
//
// A smart object keeps what it holds as `contents` (the layers of its
// document, bottom to top). Files are real: a document saved in the host's
// own format holds its model after a line of its own, so that opening it
// again, as a document or as a smart object, gives what was saved.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "event_rules.h"
#include "events.h"
#include "psd_reader.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

constexpr host::OSErr kFileNotFound = -43;

// The first line of a file the simulated host writes in its own format.
constexpr std::string_view kPsdHeader = "8BPS simulated host PSD\n";

const Value* Param(const Play& play, TypeID key, TypeID type) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == type ? v : nullptr;
}
const ReferenceData* RefParam(const Play& play, TypeID key) {
  const Value* v = Param(play, key, host::kTypeReference);
  return v && !v->ref.empty() ? &v->ref : nullptr;
}
const Value* PathParam(const Play& play, TypeID key) {
  const Value* v = FindEntry(play.params, key);
  return v && (v->type == host::kTypeAlias || v->type == host::kTypePath) ? v : nullptr;
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// A file name the host's file system takes.
bool ValidFileName(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name)
    if (c < 32 || std::string_view("\\/:*?\"<>|").find(char(c)) != std::string_view::npos) return false;
  return true;
}

bool ReadWholeFile(const std::string& ansiPath, std::string* bytes) {
  std::ifstream in(ansiPath, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *bytes = all.str();
  return true;
}

// Written whole or not at all: to a file beside the target, then moved over
// it, so that a failed write leaves neither a cut file nor a stray one.
bool WriteFileWhole(const std::string& ansiPath, std::string_view bytes) {
  const std::string partial = ansiPath + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush()) {
      out.close();
      DeleteFileA(partial.c_str());
      return false;
    }
  }
  if (!MoveFileExA(partial.c_str(), ansiPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(partial.c_str());
    return false;
  }
  return true;
}

// The layers of a document as a file or a smart object keeps them.
Json StoredLayers(const Json& layers) {
  Json stored = Json::array();
  for (Json layer : layers) {
    layer.erase("id");
    stored.push_back(std::move(layer));
  }
  return stored;
}

std::string PsdOf(const Json& doc) {
  Json image = {{"mode", doc.value("mode", std::string("RGBColor"))},
                {"depth", doc.value("depth", 8)},
                {"width", doc.value("width", 1)},
                {"height", doc.value("height", 1)},
                {"layers", StoredLayers(doc["layers"])}};
  return std::string(kPsdHeader) + image.dump();
}

// The image a file of the host's own format holds; null when it holds none.
Json ReadPsd(const std::string& ansiPath, host::OSErr* error) {
  std::string bytes;
  if (!ReadWholeFile(ansiPath, &bytes)) {
    *error = kFileNotFound;
    return nullptr;
  }
  if (bytes.compare(0, kPsdHeader.size(), kPsdHeader) != 0) {
    *error = err::kCannotApply;
    return nullptr;
  }
  Json image = Json::parse(bytes.substr(kPsdHeader.size()), nullptr, false);
  if (!image.is_object() || !image["layers"].is_array() || image["layers"].empty()) {
    *error = err::kCannotApply;
    return nullptr;
  }
  return image;
}

void AddDocument(Model& m, Json given) {
  Json doc = NormalizeDocument(m, given, m.documents.size() + 1);
  ResetTargetChannels(doc);
  m.documents.push_back(std::move(doc));
  m.current = int(m.documents.size()) - 1;
}

// The file a host dialog would ask for: the scenario's next file answer;
// empty when it has none or cancels.
std::string AskedFile() {
  const Json answer = NextAnswer("files", State().nextFileAnswer);
  Record(Json{{"kind", "file"}, {"title", "host"}, {"answer", answer.is_string() ? answer : nullptr}});
  return answer.is_string() ? Utf8ToAnsi(answer.get<std::string>()) : std::string();
}

// The path of an event's `null` key, or the one the host's dialog asks for.
bool PathOf(const Play& play, std::string* path, host::OSErr* error) {
  if (const Value* v = PathParam(play, C("null")); v && !v->text.empty()) {
    *path = v->text;
    return true;
  }
  if (play.mode != host::kDialogDisplay) {
    *error = err::kCannotApply;
    return false;
  }
  *path = AskedFile();
  *error = err::kUserCanceled;
  return !path->empty();
}

Json* TargetLayer(Json& doc) {
  const int p = ActiveLayer(doc);
  return p >= 0 ? &doc["layers"][size_t(p)] : nullptr;
}
bool IsSmartObject(const Json& layer) { return layer.value("kind", std::string()) == "smartObject"; }

// A smart-object layer holding these layers.
Json SmartLayer(Model& m, std::string name, Json contents) {
  Json layer = NewLayer(m, std::move(name));
  layer["kind"] = "smartObject";
  layer["contents"] = std::move(contents);
  return layer;
}

// The layer inserted above the target layer, becoming the target.
void InsertAboveTarget(Json& doc, Json layer) {
  const int p = ActiveLayer(doc);
  const size_t at = p < 0 ? doc["layers"].size() : size_t(p + 1);
  doc["layers"].insert(doc["layers"].begin() + std::ptrdiff_t(at), std::move(layer));
  doc["target"] = Json::array({int(at)});
  ResetTargetChannels(doc);
}

// ---- Smart objects ----

// Every target layer goes into one smart object, which takes the place and
// the name of the topmost of them.
host::OSErr OnNewPlacedLayer(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc || ActiveLayer(*doc) < 0) return err::kNoSuchObject;
  Json& layers = (*doc)["layers"];
  std::vector<int> picked;
  for (const Json& t : (*doc)["target"])
    if (t.is_number_integer() && t.get<int>() >= 0 && t.get<int>() < int(layers.size())) picked.push_back(t.get<int>());
  std::sort(picked.begin(), picked.end());
  picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
  if (picked.empty()) return err::kNoSuchObject;
  Json inner = Json::array();
  for (int p : picked) {
    if (layers[size_t(p)].value("background", false)) return err::kCannotApply;
    inner.push_back(layers[size_t(p)]);
  }
  if (picked.size() == 1 && IsSmartObject(layers[size_t(picked[0])])) return err::kCannotApply;
  const int top = picked.back();
  layers[size_t(top)] = SmartLayer(play.model, layers[size_t(top)].value("name", std::string()), StoredLayers(inner));
  for (auto p = picked.rbegin() + 1; p != picked.rend(); ++p) layers.erase(size_t(*p));
  (*doc)["target"] = Json::array({top - int(picked.size() - 1)});
  ResetTargetChannels(*doc);
  *play.historyName = "Convert to Smart Object";
  return err::kNone;
}

host::OSErr OnMakeCopy(Play& play) {
  Json* doc = CurrentDocument(play.model);
  Json* layer = doc ? TargetLayer(*doc) : nullptr;
  if (!layer) return err::kNoSuchObject;
  if (!IsSmartObject(*layer)) return err::kCannotApply;
  Json copy = *layer;
  copy["name"] = layer->value("name", std::string()) + " copy";
  copy["id"] = play.model.nextLayerId++;
  InsertAboveTarget(*doc, std::move(copy));
  *play.historyName = "New Smart Object via Copy";
  return err::kNone;
}

// The contents open as a document of their own, saved where the host keeps
// them, under the layer's name.
host::OSErr OnEditContents(Play& play) {
  Json* doc = CurrentDocument(play.model);
  Json* layer = doc ? TargetLayer(*doc) : nullptr;
  if (!layer) return err::kNoSuchObject;
  if (!IsSmartObject(*layer)) return err::kCannotApply;
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return err::kCannotApply;
  const std::string name = Utf8ToAnsi(layer->value("name", std::string())) + ".psb";
  const std::string path = std::string(folder) + (ValidFileName(name) ? name : "Contents.psb");
  Json contents = (*layer)["contents"].is_array() && !(*layer)["contents"].empty()
                      ? (*layer)["contents"]
                      : Json::array({Json{{"name", layer->value("name", std::string())}}});
  Json opened = {{"title", AnsiToUtf8(FileName(path))}, {"path", AnsiToUtf8(path)},
                 {"width", doc->value("width", 1)},     {"height", doc->value("height", 1)},
                 {"history", Json::array({"Open"})},    {"layers", contents}};
  if (!WriteFileWhole(path, PsdOf(opened))) return kFileNotFound;
  AddDocument(play.model, std::move(opened));
  return err::kNone;
}

host::OSErr OnExportContents(Play& play) {
  Json* doc = CurrentDocument(play.model);
  Json* layer = doc ? TargetLayer(*doc) : nullptr;
  if (!layer) return err::kNoSuchObject;
  if (!IsSmartObject(*layer)) return err::kCannotApply;
  std::string path;
  host::OSErr error = err::kNone;
  if (!PathOf(play, &path, &error)) return error;
  Json image = {{"width", doc->value("width", 1)}, {"height", doc->value("height", 1)}, {"layers", (*layer)["contents"]}};
  if (!image["layers"].is_array() || image["layers"].empty())
    image["layers"] = Json::array({Json{{"name", layer->value("name", std::string())}}});
  if (!ValidFileName(FileName(path)) || !WriteFileWhole(path, PsdOf(image))) return kFileNotFound;
  return err::kNone;
}

host::OSErr OnReplaceContents(Play& play) {
  Json* doc = CurrentDocument(play.model);
  Json* layer = doc ? TargetLayer(*doc) : nullptr;
  if (!layer) return err::kNoSuchObject;
  if (!IsSmartObject(*layer)) return err::kCannotApply;
  std::string path;
  host::OSErr error = err::kNone;
  if (!PathOf(play, &path, &error)) return error;
  const Json image = ReadPsd(path, &error);
  if (image.is_null()) return error;
  (*layer)["contents"] = StoredLayers(image["layers"]);
  (*layer)["name"] = AnsiToUtf8(WithoutExtension(FileName(path)));
  *play.historyName = "Replace Contents";
  return err::kNone;
}

// A file opened as a new document with one smart object holding its image.
host::OSErr OnOpenAsSmartObject(Play& play) {
  const Value* flag = Param(play, StringToId("smartObject"), host::kTypeBoolean);
  if (!flag || !flag->flag) return kNotThisRow;
  std::string path;
  host::OSErr error = err::kNone;
  if (!PathOf(play, &path, &error)) return error;
  const Json image = ReadPsd(path, &error);
  if (image.is_null()) return error;
  const std::string title = AnsiToUtf8(FileName(path));
  Json layer = SmartLayer(play.model, AnsiToUtf8(WithoutExtension(FileName(path))), StoredLayers(image["layers"]));
  AddDocument(play.model, Json{{"title", title},
                               {"path", AnsiToUtf8(path)},
                               {"mode", image.value("mode", std::string("RGBColor"))},
                               {"depth", image.value("depth", 8)},
                               {"width", image.value("width", 1)},
                               {"height", image.value("height", 1)},
                               {"history", Json::array({"Open"})},
                               {"layers", Json::array({layer})}});
  return err::kNone;
}

// An image of the host's format as other programs write it: its layers,
// which of them are smart objects and their smart filters. Null when the
// bytes are none such.
Json ReadWrittenPsd(const std::string& ansiPath) {
  std::string bytes;
  PsdImage read;
  if (!ReadWholeFile(ansiPath, &bytes) || !ParsePsd(bytes, &read) || read.layers.empty()) return nullptr;
  Json layers = Json::array();
  for (const PsdLayer& l : read.layers) {
    Json layer = {{"name", l.name}};
    if (l.smartObject) {
      layer["kind"] = "smartObject";
      layer["contents"] = Json::array({Json{{"name", "Layer 1"}}});
      Json filters = Json::array();
      for (const std::string& name : l.smartFilters) filters.push_back(Json{{"name", name}, {"enabled", true}});
      layer["smartFilters"] = std::move(filters);
    }
    layers.push_back(std::move(layer));
  }
  return Json{{"mode", read.colorMode == 3 ? "RGBColor" : read.colorMode == 1 ? "grayScale" : "RGBColor"},
              {"depth", read.depth},
              {"width", read.width},
              {"height", read.height},
              {"layers", std::move(layers)}};
}

// A file of the host's own format opened as it was saved.
host::OSErr OnOpenPsd(Play& play) {
  const Value* path = PathParam(play, C("null"));
  if (!path || path->text.empty()) return kNotThisRow;
  host::OSErr error = err::kNone;
  Json image = ReadPsd(path->text, &error);
  if (image.is_null() && error == err::kCannotApply) image = ReadWrittenPsd(path->text);
  if (image.is_null()) return error == err::kCannotApply ? kNotThisRow : error;
  Json given = image;
  given["title"] = AnsiToUtf8(FileName(path->text));
  given["path"] = AnsiToUtf8(path->text);
  given["history"] = Json::array({"Open"});
  AddDocument(play.model, std::move(given));
  return err::kNone;
}

// `Opn` with no file at all: the host shows its Open dialog and opens what
// the user chose there as it would have opened that file given.
host::OSErr OnOpenAsked(Play& play) {
  if (play.mode != host::kDialogDisplay) return err::kCannotApply;
  const std::string path = AskedFile();
  if (path.empty()) return err::kUserCanceled;
  Value file = PathValue(path);
  file.type = host::kTypeAlias;
  const DescriptorData given = {Entry{C("null"), std::move(file)}};
  Json unused;
  return ApplyEvent(play.model, C("Opn "), given, play.historyName, &unused, host::kDialogSilent);
}

// ---- Documents ----

// The target layer alone in a new document, which becomes the current one.
host::OSErr OnNewDocumentFromLayer(Play& play) {
  Json* doc = CurrentDocument(play.model);
  Json* layer = doc ? TargetLayer(*doc) : nullptr;
  if (!layer) return err::kNoSuchObject;
  const Value* name = Param(play, C("Nm  "), host::kTypeText);
  if (!name) return err::kCannotApply;
  Json copy = *layer;
  copy.erase("id");
  Json given = {{"title", AnsiToUtf8(name->text)},
                {"mode", doc->value("mode", std::string("RGBColor"))},
                {"depth", doc->value("depth", 8)},
                {"width", doc->value("width", 1)},
                {"height", doc->value("height", 1)},
                {"history", Json::array({"New"})},
                {"layers", Json::array({copy})}};
  AddDocument(play.model, std::move(given));
  return err::kNone;
}

host::OSErr OnSavePsd(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* in = PathParam(play, C("In  "));
  if (!in || in->text.empty()) return err::kCannotApply;
  if (!ValidFileName(FileName(in->text))) return kFileNotFound;
  if (!WriteFileWhole(in->text, PsdOf(*doc))) return kFileNotFound;
  (*doc)["path"] = AnsiToUtf8(in->text);
  (*doc)["title"] = AnsiToUtf8(FileName(in->text));
  return err::kNone;
}

// The target layer copied above the target layer of another document,
// where it becomes the target; the current document stays the current one.
host::OSErr OnDuplicateLayerToDocument(Play& play) {
  Json* doc = CurrentDocument(play.model);
  Json* layer = doc ? TargetLayer(*doc) : nullptr;
  const ReferenceData* to = RefParam(play, C("T   "));
  if (!layer || !to) return err::kNoSuchObject;
  const int n = ResolveDocument(play.model, (*to)[0]);
  if (n < 0) return err::kNoSuchObject;
  if (n == play.model.current) return err::kCannotApply;
  Json copy = *layer;
  copy["background"] = false;
  copy["id"] = play.model.nextLayerId++;
  Json& destination = play.model.documents[size_t(n)];
  InsertAboveTarget(destination, std::move(copy));
  return err::kNone;
}

host::OSErr OnSelectAllLayers(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json all = Json::array();
  for (size_t p = 0; p < (*doc)["layers"].size(); ++p)
    if (!(*doc)["layers"][p].value("background", false)) all.push_back(int(p));
  if (all.empty()) return err::kCannotApply;
  (*doc)["target"] = all;
  ResetTargetChannels(*doc);
  return err::kNone;
}

// ---- Smart filters ----

// The smart filters of the layer a reference's second part names, and the
// position of its first part's filter; null when there is none such.
Json* FiltersOf(Json& doc, const ReferenceData& ref, int* position, Json** owner = nullptr) {
  if (ref.size() < 2) return nullptr;
  const int p = ResolveLayer(doc, ref[1]);
  if (p < 0) return nullptr;
  Json& layer = doc["layers"][size_t(p)];
  if (!IsSmartObject(layer)) return nullptr;
  Json& filters = layer["smartFilters"];
  if (!filters.is_array()) filters = Json::array();
  *position = int(ref[0].number) - 1;
  if (owner) *owner = &layer;
  return &filters;
}

// The filter's dialog (or its blending options), answered by the user.
host::OSErr OnEditSmartFilter(Play& play) {
  Json* doc = CurrentDocument(play.model);
  const ReferenceData* ref = RefParam(play, C("null"));
  if (!doc || !ref) return err::kNoSuchObject;
  int k = -1;
  Json* filters = FiltersOf(*doc, *ref, &k);
  if (!filters) return err::kCannotApply;
  if (k < 0 || k >= int(filters->size())) return err::kNoSuchObject;
  const Value* fx = Param(play, StringToId("filterFX"), host::kTypeObject);
  const bool blending = fx && FindEntry(fx->items, StringToId("blendOptions"));
  Json& filter = (*filters)[size_t(k)];
  const char* field = blending ? "blendingEdits" : "edits";
  filter[field] = filter.value(field, 0) + 1;
  *play.historyName = blending ? "Smart Filter Blending Options" : "Edit Smart Filter";
  return err::kNone;
}

// A smart filter of the target layer copied onto another smart object,
// where it becomes that layer's filter of index 1. A layer's first smart
// filter comes with a filter mask that reveals everything, as the host adds
// one by default.
host::OSErr OnCopySmartFilter(Play& play) {
  Json* doc = CurrentDocument(play.model);
  const ReferenceData* from = RefParam(play, C("null"));
  const ReferenceData* to = RefParam(play, C("T   "));
  if (!doc || !from || !to) return err::kNoSuchObject;
  int k = -1, unused = -1;
  Json* target = nullptr;
  Json* source = FiltersOf(*doc, *from, &k);
  Json* destination = FiltersOf(*doc, *to, &unused, &target);
  if (!source || !destination) return err::kCannotApply;
  if (k < 0 || k >= int(source->size())) return err::kNoSuchObject;
  const Json filter = (*source)[size_t(k)];
  if (destination->empty() && !(*target)["filterMask"].is_object()) (*target)["filterMask"] = Json{{"enabled", true}};
  destination->insert(destination->begin(), filter);
  *play.historyName = "Copy Smart Filter";
  return err::kNone;
}

// ---- The rows ----

constexpr KeyRule kOptionalPath[] = {
    Optional("null", "alias"),
};
constexpr KeyRule kOpenAsSmartObject[] = {
    Optional("null", "alias"),
    Key("smartObject", "bool"),
};
constexpr KeyRule kOpenPsd[] = {
    Key("null", "alias"),
};
constexpr KeyRule kPsdOptions[] = {
    Key("maximizeCompatibility", "bool"),
};
constexpr KeyRule kSavePsd[] = {
    Key("As", "object Pht3", kPsdOptions),
    Key("In", "alias"),
};
constexpr KeyRule kNewDocumentFromLayer[] = {
    Key("null", "ref Dcmn:class"),
    Key("Nm", "text"),
    Key("Usng", "ref Lyr:Ordn/Trgt"),
};
constexpr KeyRule kDuplicateLayerToDocument[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("T", "ref Dcmn:name"),
    Key("Vrsn", "int"),
};
constexpr KeyRule kSelectAllLayers[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
};
constexpr KeyRule kFilterBlending[] = {
    Key("Md", "enum BlnM"),
};
constexpr KeyRule kFilterSettings[] = {
    Optional("blendOptions", "object blendOptions", kFilterBlending),
};
constexpr KeyRule kEditSmartFilter[] = {
    Key("null", "ref filterFX:index > Lyr:Ordn/Trgt"),
    Key("filterFX", "object filterFX", kFilterSettings),
};
constexpr KeyRule kCopySmartFilter[] = {
    Key("null", "ref filterFX:index > Lyr:Ordn/Trgt"),
    Key("T", "ref filterFX:index > Lyr:index"),
};

constexpr EventRule kSmartRules[] = {
    {"newPlacedLayer", {}, OnNewPlacedLayer, {5, 5}},
    {"placedLayerMakeCopy", {}, OnMakeCopy},
    {"placedLayerEditContents", {}, OnEditContents},
    {"placedLayerExportContents", kOptionalPath, OnExportContents},
    {"placedLayerReplaceContents", kOptionalPath, OnReplaceContents},
    {"Opn", kOpenAsSmartObject, OnOpenAsSmartObject},
    {"Opn", kOpenPsd, OnOpenPsd},
    {"Opn", {}, OnOpenAsked},
    {"save", kSavePsd, OnSavePsd},
    {"Mk", kNewDocumentFromLayer, OnNewDocumentFromLayer},
    {"Dplc", kDuplicateLayerToDocument, OnDuplicateLayerToDocument},
    {"Dplc", kCopySmartFilter, OnCopySmartFilter},
    {"selectAllLayers", kSelectAllLayers, OnSelectAllLayers},
    {"setd", kEditSmartFilter, OnEditSmartFilter},
};

}  // namespace

std::span<const EventRule> SmartEventRules() { return kSmartRules; }

}  // namespace sim
