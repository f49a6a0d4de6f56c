// What document commands do to the model: trimming and Apply Image through
// the host's dialogs, the proof set-up, the pixel aspect ratio, and new
// documents of given settings.
#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

const Value* Item(const DescriptorData& d, TypeID key) { return FindEntry(d, key); }

host::OSErr OnTrim(Play& play) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  (*doc)["trims"] = doc->value("trims", 0) + 1;
  *play.historyName = "Trim";
  return err::kNone;
}

// The image blended into the pixels of the target layer.
host::OSErr OnApplyImage(Play& play) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (layer.value("kind", std::string("pixel")) != "pixel") return err::kCannotApply;   // no pixels of its own
  const Value* with = Item(play.params, C("With"));
  const Value* blend = Item(with->items, C("Clcl"));
  layer["appliedImage"] = TextFromId(blend->enumValue);
  *play.historyName = "Apply Image";
  return err::kNone;
}

// A view setting, kept with the document but no history state.
host::OSErr OnProofSetup(Play& play) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  (*doc)["proofProfile"] = AnsiToUtf8(Item(play.params, StringToId("profile"))->text);
  return err::kNone;
}

host::OSErr OnSetPixelAspectRatio(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const Value* to = Item(play.params, C("T   "));
  const double ratio = Item(to->items, C("Vl  "))->number;
  if (!(ratio > 0)) return err::kCannotApply;
  (*doc)["pixelAspectRatio"] = Json{{"name", AnsiToUtf8(Item(to->items, C("Nm  "))->text)}, {"value", ratio}};
  *play.historyName = "Pixel Aspect Ratio";
  return err::kNone;
}

// A document of the given settings with one transparent layer. Sizes in
// `#Rlt` are points at 72 per inch, which is one pixel each.
host::OSErr OnNewDocument(Play& play) {
  const Value* made = Item(play.params, C("Nw  "));
  if (!made || !Item(made->items, C("Nm  "))) return kNotThisRow;
  const DescriptorData& s = made->items;
  const double width = Item(s, C("Wdth"))->number, height = Item(s, C("Hght"))->number;
  if (!(width >= 1) || !(height >= 1)) return err::kCannotApply;
  const double resolution = Item(s, C("Rslt"))->number;
  Json given = {{"title", AnsiToUtf8(Item(s, C("Nm  "))->text)},
                {"width", int(width)},
                {"height", int(height)},
                {"resolution", resolution},
                {"depth", Item(s, C("Dpth"))->integer},
                {"profile", AnsiToUtf8(Item(s, StringToId("profile"))->text)},
                {"pixelAspectRatio", {{"name", "Square"}, {"value", Item(s, StringToId("pixelScaleFactor"))->number}}},
                {"history", Json::array({"New"})},
                {"layers", Json::array({Json{{"name", "Layer 1"}}})}};
  play.model.documents.push_back(NormalizeDocument(play.model, given, play.model.documents.size() + 1));
  play.model.current = int(play.model.documents.size()) - 1;
  return err::kNone;
}

constexpr KeyRule kApplyImageSource[] = {
    Key("T", "ref Chnl:Chnl/RGB"),
    Key("Clcl", "enum Clcn = Mltp"),
    Key("PrsT", "bool"),
};
constexpr KeyRule kApplyImage[] = {
    Key("With", "object Clcl", kApplyImageSource),
};
constexpr KeyRule kProofSetup[] = {
    Key("profile", "text"),
    Key("preserve", "bool"),
};
constexpr KeyRule kPixelAspectRatio[] = {
    Key("Vl", "float"),
    Key("Nm", "text"),
};
constexpr KeyRule kSetPixelAspectRatio[] = {
    Key("null", "ref Prpr:prop pixelScaleFactor > Dcmn:Ordn/Trgt"),
    Key("T", "object pixelScaleFactor", kPixelAspectRatio),
};
constexpr KeyRule kNewDocumentSettings[] = {
    Key("Nm", "text"),
    Key("Md", "class RGBM"),
    Key("Wdth", "unit #Rlt"),
    Key("Hght", "unit #Rlt"),
    Key("Rslt", "unit #Rsl"),
    Key("pixelScaleFactor", "float"),
    Key("Fl", "enum Fl = Trns"),
    Key("Dpth", "int"),
    Key("profile", "text"),
};
constexpr KeyRule kNewDocument[] = {
    Key("Nw", "object Dcmn", kNewDocumentSettings),
};

constexpr EventRule kDocumentCommandRules[] = {
    {"~trim", {}, OnTrim},
    {"AppI", kApplyImage, OnApplyImage},
    {"proofSetup", kProofSetup, OnProofSetup},
    {"setd", kSetPixelAspectRatio, OnSetPixelAspectRatio},
    {"Mk", kNewDocument, OnNewDocument},
};

}  // namespace

std::span<const EventRule> DocumentCommandEventRules() { return kDocumentCommandRules; }

}  // namespace sim
