// What document-wide events do to the model: the quick-mask channel and its
// options, documents duplicated, converted, resized, saved, opened and
// closed, the clipboard, the history cleared, and the selection transformed.
//
// Files are real: `save` writes one into the host's file system, `Opn `
// reads one back, so a test can see which files a command left behind. A
// TIFF the host writes holds the document's model (after a line of its
// own), so that opening it again gives the image it was saved from; a PNG
// is read as a PNG, whatever wrote it.
//
// A document holds a quick mask while it has a channel made to show the
// masked areas in colour: its `quickMask` field says so in every `state`
// line.

#include <cmath>
#include <fstream>
#include <sstream>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#include <stb/stb_image.h>

#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

// The host's answer for a file it cannot read or write.
constexpr host::OSErr kFileNotFound = -43;

// The first line of a TIFF the simulated host writes.
constexpr std::string_view kTiffHeader = "II*\0 simulated host TIFF\n";

const Value* Param(const Play& play, TypeID key, TypeID type) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == type ? v : nullptr;
}

const ReferenceData* RefParam(const Play& play, TypeID key) {
  const Value* v = Param(play, key, host::kTypeReference);
  return v && !v->ref.empty() ? &v->ref : nullptr;
}

const Value* ItemOf(const Value& object, TypeID key) { return FindEntry(object.items, key); }

Json* Channel(Json& doc, const std::string& name) {
  for (auto& c : doc["channels"])
    if ((c.is_string() && c == name) || (c.is_object() && c.value("name", "") == name)) return &c;
  return nullptr;
}

// The file name of a Windows path, with or without its extension.
std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadWholeFile(const std::string& ansiPath, std::string* bytes) {
  std::ifstream in(ansiPath, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  *bytes = all.str();
  return true;
}

bool WriteWholeFile(const std::string& ansiPath, std::string_view bytes) {
  std::ofstream out(ansiPath, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

// The document as a TIFF of the simulated host holds it.
std::string TiffOf(const Json& doc) {
  Json image = doc;
  image.erase("history");
  return std::string(kTiffHeader) + image.dump();
}

// A new document opened from a file becomes the current one.
void AddOpenedDocument(Model& m, Json doc, const std::string& ansiPath) {
  doc["title"] = AnsiToUtf8(FileName(ansiPath));
  doc["path"] = AnsiToUtf8(ansiPath);
  doc["history"] = Json::array({"Open"});
  doc["selection"] = false;
  doc.erase("selectionArea");
  if (doc["layers"].is_array())
    for (auto& layer : doc["layers"]) layer.erase("id");   // the opened layers are new ones
  Json normalized = NormalizeDocument(m, doc, m.documents.size() + 1);
  ResetTargetChannels(normalized);
  m.documents.push_back(std::move(normalized));
  m.current = int(m.documents.size()) - 1;
}

// ---- Mk: the quick-mask channel ----

host::OSErr OnMakeChannel(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* made = Param(play, C("Nw  "), host::kTypeObject);
  if (!made) return err::kCannotApply;
  const Value* name = ItemOf(*made, C("Nm  "));
  std::string channel = name && name->type == host::kTypeText ? AnsiToUtf8(name->text) : std::string();
  for (int n = 1; channel.empty() || Channel(*doc, channel); ++n) {
    if (!channel.empty() && name) return err::kCannotApply;   // the name is taken
    channel = "Alpha " + std::to_string(n);
  }
  Json entry = {{"name", channel}, {"area", "none"}};   // a new channel masks everything
  if (const Value* shows = ItemOf(*made, C("ClrI")); shows && shows->type == host::kTypeEnumerated)
    entry["colorIndicates"] = TextFromId(shows->enumValue);
  (*doc)["channels"].push_back(std::move(entry));
  (*doc)["targetChannels"] = Json::array({channel});
  (*doc)["visibleChannels"] = Json::array({channel});
  *play.historyName = "New Channel";
  return err::kNone;
}

// ---- Mk: a named layer ----

host::OSErr OnMakeNamedLayer(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* layerObject = Param(play, C("Usng"), host::kTypeObject);
  const Value* name = layerObject ? ItemOf(*layerObject, C("Nm  ")) : nullptr;
  Json& layers = (*doc)["layers"];
  const int p = ActiveLayer(*doc);
  Json layer = NewLayer(play.model, name && name->type == host::kTypeText ? AnsiToUtf8(name->text)
                                                                           : "Layer " + std::to_string(layers.size()));
  layers.insert(layers.begin() + (p + 1), std::move(layer));
  (*doc)["target"] = Json::array({p + 1});
  ResetTargetChannels(*doc);
  *play.historyName = "New Layer";
  return err::kNone;
}

// ---- setd: the target channel's options ----

host::OSErr OnSetChannelOptions(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Json& targets = (*doc)["targetChannels"];
  if (targets.size() != 1) return err::kCannotApply;
  Json* channel = Channel(*doc, targets[0].get<std::string>());
  if (!channel || !channel->is_object()) return err::kCannotApply;   // colour channels keep their names
  const Value* to = Param(play, C("T   "), host::kTypeObject);
  const Value* name = to ? ItemOf(*to, C("Nm  ")) : nullptr;
  if (name && name->type == host::kTypeText) {
    const std::string renamed = AnsiToUtf8(name->text);
    if (renamed != (*channel)["name"] && Channel(*doc, renamed)) return err::kCannotApply;
    (*channel)["name"] = renamed;
    (*doc)["targetChannels"] = Json::array({renamed});
    Json& visible = (*doc)["visibleChannels"];
    for (auto& v : visible)
      if (v == targets[0]) v = renamed;
  }
  *play.historyName = "Channel Options";
  return err::kNone;
}

// ---- Dplc ----

host::OSErr OnDuplicateChannelToDocument(Play& play) {
  const ReferenceData* from = RefParam(play, C("null"));
  const ReferenceData* to = RefParam(play, C("T   "));
  if (!from || !to) return err::kCannotApply;
  Json* source = DocumentFor(play.model, *from, 1);
  const int target = ResolveDocument(play.model, (*to)[0]);
  if (!source || target < 0) return err::kNoSuchObject;
  const Json* channel = Channel(*source, AnsiToUtf8((*from)[0].name));
  if (!channel) return err::kNoSuchObject;
  Json& doc = play.model.documents[size_t(target)];
  // A channel fits only a document of the same pixel size.
  if (doc.value("width", 0.0) != source->value("width", 0.0) || doc.value("height", 0.0) != source->value("height", 0.0))
    return err::kCannotApply;
  Json copy = channel->is_object() ? *channel : Json{{"name", *channel}};
  if (Json* existing = Channel(doc, copy["name"].get<std::string>())) *existing = copy;
  else doc["channels"].push_back(copy);
  *play.historyName = "Duplicate Channel";
  return err::kNone;
}

host::OSErr OnDuplicateFirstDocument(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json copy = *doc;
  const Value* name = Param(play, C("Nm  "), host::kTypeText);
  copy["title"] = name ? AnsiToUtf8(name->text) : copy.value("title", std::string()) + " copy";
  copy["path"] = nullptr;
  copy["history"] = Json::array({"Duplicate Image"});
  for (auto& layer : copy["layers"]) layer["id"] = play.model.nextLayerId++;
  play.model.documents.push_back(std::move(copy));
  play.model.current = int(play.model.documents.size()) - 1;
  return err::kNone;
}

// ---- CnvM, CnvS ----

host::OSErr OnConvertDepth(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* depth = Param(play, C("Dpth"), host::kTypeInteger);
  if (!depth || (depth->integer != 8 && depth->integer != 16)) return err::kCannotApply;
  if ((*doc)["depth"] == depth->integer) return err::kCannotApply;   // already so deep
  (*doc)["depth"] = depth->integer;
  *play.historyName = depth->integer == 8 ? "8 Bits/Channel" : "16 Bits/Channel";
  return err::kNone;
}

host::OSErr OnCanvasSize(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* width = Param(play, C("Wdth"), host::kTypeUnitFloat);
  const Value* height = Param(play, C("Hght"), host::kTypeUnitFloat);
  if (!width || !height || width->number < 1 || height->number < 1) return err::kCannotApply;
  (*doc)["width"] = std::lround(width->number);
  (*doc)["height"] = std::lround(height->number);
  *play.historyName = "Canvas Size";
  return err::kNone;
}

// ---- copy, PstI, Prge ----

host::OSErr OnCopy(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  if (!doc->value("selection", false)) return err::kCannotApply;   // nothing to copy
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  // The image the host can paste elsewhere, as a new document's size too.
  play.model.clipboard = Json{{"image", Json::array({std::lround(doc->value("width", 0.0)), std::lround(doc->value("height", 0.0))})},
                              {"document", (*doc)["title"]},
                              {"layer", (*doc)["layers"][size_t(p)]},
                              {"area", doc->value("selectionArea", std::string("selection"))}};
  return err::kNone;
}

host::OSErr OnPasteInto(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  if (!play.model.clipboard.is_object() || !doc->value("selection", false)) return err::kCannotApply;
  Json& layers = (*doc)["layers"];
  const int p = ActiveLayer(*doc);
  Json layer = NewLayer(play.model, "Layer " + std::to_string(layers.size()));
  const Json& clip = play.model.clipboard;
  layer["pastedFrom"] = clip.value("document", Json());
  if (const Json from = clip.value("layer", Json()); from.is_object() && from.contains("merged"))
    layer["merged"] = from["merged"];
  // Pasted into the selection: a mask shows the pasted pixels only there.
  layer["userMask"] = Json{{"enabled", true}, {"linked", false}, {"reveals", doc->value("selectionArea", std::string("selection"))}};
  layers.insert(layers.begin() + (p + 1), std::move(layer));
  (*doc)["target"] = Json::array({p + 1});
  (*doc)["selection"] = false;
  doc->erase("selectionArea");
  ResetTargetChannels(*doc);
  *play.historyName = "Paste Into";
  return err::kNone;
}

host::OSErr OnPurgeClipboard(Play& play) {
  play.model.clipboard = nullptr;
  return err::kNone;
}

// ---- Cler ----

host::OSErr OnClearHistory(Play& play) {
  const ReferenceData* ref = RefParam(play, C("null"));
  Json* doc = ref ? DocumentFor(play.model, *ref, 1) : nullptr;
  if (!doc) return err::kNoSuchObject;
  Json& history = (*doc)["history"];
  if (!history.empty()) history = Json::array({history.back()});
  return err::kNone;
}

// ---- save, Opn, Cls ----

host::OSErr OnSaveTiff(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* in = FindEntry(play.params, C("In  "));
  if (!in || in->text.empty()) return err::kCannotApply;
  // A layered document saved as TIFF keeps its layers; the image is the same.
  if (!WriteWholeFile(in->text, TiffOf(*doc))) return kFileNotFound;
  return err::kNone;
}

host::OSErr OnOpenFile(Play& play) {
  const Value* path = FindEntry(play.params, C("null"));
  if (!path || path->text.empty()) return err::kCannotApply;
  std::string bytes;
  if (!ReadWholeFile(path->text, &bytes)) return kFileNotFound;
  if (bytes.compare(0, 4, "8BPS") == 0) return kNotThisRow;   // the host's own format: events_smart.cpp
  const Value* as = Param(play, C("As  "), host::kTypeObject);
  const Value* bitDepth = as ? ItemOf(*as, C("BtDp")) : nullptr;
  const bool sixteen = bitDepth && bitDepth->enumValue == C("BD16");
  if (bytes.compare(0, kTiffHeader.size(), kTiffHeader) == 0) {
    Json doc = Json::parse(bytes.substr(kTiffHeader.size()), nullptr, false);
    if (!doc.is_object()) return err::kCannotApply;
    if (sixteen) doc["depth"] = 16;
    AddOpenedDocument(play.model, std::move(doc), path->text);
    return err::kNone;
  }
  if (as) return err::kCannotApply;   // the raw converter opens TIFFs only here
  int width = 0, height = 0, channels = 0;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  if (!stbi_info_from_memory(data, int(bytes.size()), &width, &height, &channels)) return err::kCannotApply;
  const bool deep = stbi_is_16_bit_from_memory(data, int(bytes.size())) != 0;
  stbi_us* pixels = stbi_load_16_from_memory(data, int(bytes.size()), &width, &height, &channels, 3);
  if (!pixels) return err::kCannotApply;   // the header is fine but the image data is not
  const bool white = pixels[0] == 0xFFFF && pixels[1] == 0xFFFF && pixels[2] == 0xFFFF;
  stbi_image_free(pixels);
  Json background = {{"name", "Background"}, {"background", true}};
  if (white) background["pixels"] = "white";
  AddOpenedDocument(play.model,
                    Json{{"mode", channels >= 3 ? "RGBColor" : "grayScale"},
                         {"depth", deep ? 16 : 8},
                         {"width", width},
                         {"height", height},
                         {"layers", Json::array({background})}},
                    path->text);
  return err::kNone;
}

host::OSErr OnClose(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const Value* saving = Param(play, C("Svng"), host::kTypeEnumerated);
  if (saving && saving->enumValue == C("Ys  ")) {
    if (!(*doc)["path"].is_string()) return err::kCannotApply;   // the host would ask where
    if (!WriteWholeFile(Utf8ToAnsi((*doc)["path"].get<std::string>()), TiffOf(*doc))) return kFileNotFound;
  }
  play.model.documents.erase(size_t(play.model.current));
  // The document opened last comes to the front.
  play.model.current = int(play.model.documents.size()) - 1;
  return err::kNone;
}

// ---- Trnf ----

host::OSErr OnFreeTransform(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (layer.value("background", false)) return err::kCannotApply;   // the background is not transformed
  layer["transforms"] = layer.value("transforms", 0) + 1;
  // The selection is transformed with what it holds.
  if (doc->value("selection", false))
    (*doc)["selectionArea"] = "transformed " + doc->value("selectionArea", std::string("selection"));
  *play.historyName = "Free Transform";
  return err::kNone;
}

// ---- The rows ----

constexpr KeyRule kRgbColor[] = {
    Key("Rd", "float"),
    Key("Grn", "float"),
    Key("Bl", "float"),
};
constexpr KeyRule kNewChannel[] = {
    Key("Nm", "text"),
    Key("ClrI", "enum MskI = MskA, SlcA"),
    Key("Clr", "object RGBC", kRgbColor),
    Key("Opct", "int"),
};
constexpr KeyRule kMakeChannel[] = {
    Key("Nw", "object Chnl", kNewChannel),
};
constexpr KeyRule kNamedLayer[] = {
    Key("Nm", "text"),
};
constexpr KeyRule kMakeNamedLayer[] = {
    Key("null", "ref Lyr:class"),
    Key("Usng", "object Lyr", kNamedLayer),
};
constexpr KeyRule kChannelOptions[] = {
    Key("Nm", "text"),
};
constexpr KeyRule kSetChannelOptions[] = {
    Key("null", "ref Chnl:Ordn/Trgt"),
    Key("T", "object Chnl", kChannelOptions),
};
constexpr KeyRule kDuplicateChannelToDocument[] = {
    Key("null", "ref Chnl:name"),
    Key("T", "ref Dcmn:name"),
    Optional("Vrsn", "int"),
};
constexpr KeyRule kDuplicateFirstDocument[] = {
    Key("null", "ref Dcmn:Ordn/Frst"),
    Optional("Nm", "text"),
};
constexpr KeyRule kConvertDepth[] = {
    Key("Dpth", "int"),
    Optional("Mrge", "bool"),
};
constexpr KeyRule kCanvasSize[] = {
    Key("Wdth", "unit #Pxl"),
    Key("Hght", "unit #Pxl"),
    Key("Hrzn", "enum HrzL = Cntr, Left, Rght"),
    Key("Vrtc", "enum VrtL = Cntr, Top, Btom"),
    Optional("canvasExtensionColorType", "enum canvasExtensionColorType = Clr, BckC, FrgC, Wht, Blck, Gry"),
    Optional("canvasExtensionColor", "object RGBC", kRgbColor),
};
constexpr KeyRule kPasteInto[] = {
    Optional("AntA", "enum Annt = Anno, AnCr, AnSt, AnSm, antiAliasSharp"),
};
constexpr KeyRule kPurge[] = {
    Key("null", "enum PrgI = Clpb, Al, HsSt"),
};
constexpr KeyRule kClearHistory[] = {
    Key("null", "ref Prpr:prop HsSt > Dcmn:Ordn/Trgt"),
};
constexpr KeyRule kTiffOptions[] = {
    Optional("BytO", "enum Pltf = IBMP, Mcnt"),
};
constexpr KeyRule kSaveTiff[] = {
    Key("As", "object TIFF", kTiffOptions),
    Key("In", "alias"),
};
constexpr KeyRule kRawSettings[] = {
    Key("CMod", "text"),
    Optional("Sett", "enum Sett = Img"),
    Key("BtDp", "enum BtDp = BD16, BD8"),
};
constexpr KeyRule kOpenRaw[] = {
    Key("null", "alias"),
    Key("As", "object Adobe Camera Raw", kRawSettings),
};
constexpr KeyRule kOpen[] = {
    Key("null", "alias"),
};
constexpr KeyRule kClose[] = {
    Key("Svng", "enum YsN = Ys, N"),
};
constexpr KeyRule kTransformOffset[] = {
    Key("Hrzn", "unit #Pxl"),
    Key("Vrtc", "unit #Pxl"),
};
constexpr KeyRule kFreeTransform[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("FTcs", "enum QCSt = Qcsa"),
    Key("Ofst", "object Ofst", kTransformOffset),
    Key("Wdth", "unit #Prc"),
    Key("Hght", "unit #Prc"),
    Optional("Lnkd", "bool"),
};

constexpr EventRule kModeRules[] = {
    {"Mk", kMakeChannel, OnMakeChannel},
    {"Mk", kMakeNamedLayer, OnMakeNamedLayer},
    {"setd", kSetChannelOptions, OnSetChannelOptions},
    {"Dplc", kDuplicateChannelToDocument, OnDuplicateChannelToDocument},
    {"Dplc", kDuplicateFirstDocument, OnDuplicateFirstDocument},
    {"CnvM", kConvertDepth, OnConvertDepth, {6, 99}},
    {"CnvS", kCanvasSize, OnCanvasSize},
    {"copy", {}, OnCopy},
    {"PstI", kPasteInto, OnPasteInto},
    {"Prge", kPurge, OnPurgeClipboard},
    {"Cler", kClearHistory, OnClearHistory},
    {"save", kSaveTiff, OnSaveTiff},
    {"Opn", kOpenRaw, OnOpenFile, {6, 99}},
    {"Opn", kOpen, OnOpenFile},
    {"Cls", kClose, OnClose},
    {"Trnf", kFreeTransform, OnFreeTransform},
};

}  // namespace

std::span<const EventRule> ModeEventRules() { return kModeRules; }

void NoteQuickMasks(Model& m) {
  for (auto& doc : m.documents) {
    bool quickMask = false;
    for (const auto& c : doc["channels"])
      if (c.is_object() && c.value("colorIndicates", std::string()) == "MskA") quickMask = true;
    doc["quickMask"] = quickMask;
  }
}

}  // namespace sim
