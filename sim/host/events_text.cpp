// What text events do to the model: the anti-aliasing, the kind (point or
// paragraph) and the tracking of the target text layer, spell checking and
// find-and-replace over all text layers (through the host's own dialogs),
// and a text layer turned into a shape. On a layer without text the host
// refuses them all.
#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

const Value* ParamOf(const Play& play, TypeID key, TypeID type) {
  const Value* v = FindEntry(play.params, key);
  return v && v->type == type ? v : nullptr;
}

bool IsText(const Json& layer) { return layer.value("kind", std::string()) == "text"; }

// The target text layer's text properties, made an object; null (and the
// host's refusal) when the target is no text layer.
Json* TargetText(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return nullptr;
  const int p = ActiveLayer(*doc);
  if (p < 0) return nullptr;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (!IsText(layer)) return nullptr;
  if (!layer["text"].is_object()) layer["text"] = Json::object();
  return &layer["text"];
}

host::OSErr OnSetAntiAlias(Play& play) {
  Json* text = TargetText(play);
  if (!text) return err::kCannotApply;
  (*text)["antiAlias"] = TextFromId(ParamOf(play, C("T   "), host::kTypeEnumerated)->enumValue);
  *play.historyName = "Anti-alias";
  return err::kNone;
}

host::OSErr OnSetTextKind(Play& play) {
  Json* text = TargetText(play);
  if (!text) return err::kCannotApply;
  const bool box = ParamOf(play, C("T   "), host::kTypeEnumerated)->enumValue == StringToId("box");
  // Text already of the kind asked for has nothing to convert.
  if (text->value("paragraph", false) == box) return err::kCannotApply;
  (*text)["paragraph"] = box;
  *play.historyName = box ? "Convert to Paragraph Text" : "Convert to Point Text";
  return err::kNone;
}

host::OSErr OnSetTracking(Play& play) {
  Json* text = TargetText(play);
  if (!text) return err::kCannotApply;
  const Value* style = ParamOf(play, C("T   "), host::kTypeObject);
  const Value* tracking = FindEntry(style->items, C("Trck"));
  (*text)["tracking"] = tracking->integer;
  *play.historyName = "Tracking";
  return err::kNone;
}

host::OSErr OnConvertToShape(Play& play) {
  const Value* made = ParamOf(play, C("null"), host::kTypeReference);
  if (!made || made->ref[0].cls != StringToId("contentLayer")) return kNotThisRow;
  if (!TargetText(play)) return err::kCannotApply;
  Json& doc = *CurrentDocument(play.model);
  Json& layer = doc["layers"][size_t(ActiveLayer(doc))];
  layer["kind"] = "shape";
  layer["text"] = nullptr;
  layer["vectorMask"] = Json{{"enabled", true}};
  ResetTargetChannels(doc);
  *play.historyName = "Convert to Shape";
  return err::kNone;
}

// Both dialogs go over every text layer of the document; one without any
// has nothing to offer them. What the user changes in the dialog is the
// host's: the model counts the runs on each text layer.
host::OSErr OverAllTexts(Play& play, const char* counter, const char* historyName) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  bool any = false;
  for (Json& layer : (*doc)["layers"]) {
    if (!IsText(layer)) continue;
    if (!layer["text"].is_object()) layer["text"] = Json::object();
    layer["text"][counter] = layer["text"].value(counter, 0) + 1;
    any = true;
  }
  if (!any) return err::kCannotApply;
  *play.historyName = historyName;
  return err::kNone;
}
host::OSErr OnSpellCheck(Play& play) { return OverAllTexts(play, "spellChecked", "Check Spelling"); }
host::OSErr OnFindReplace(Play& play) { return OverAllTexts(play, "searched", "Find and Replace Text"); }

constexpr KeyRule kSetAntiAlias[] = {
    Key("null", "ref Prpr:prop AntA > TxLr:Ordn/Trgt"),
    Key("T", "enum Annt = Anno, AnCr, antiAliasSharp, AnSt, AnSm"),
};
constexpr KeyRule kSetTextKind[] = {
    Key("null", "ref Prpr:prop TEXT > TxLr:Ordn/Trgt"),
    Key("T", "enum TEXT = ~box, Pnt"),
};
constexpr KeyRule kTrackingStyle[] = {
    Key("textOverrideFeatureName", "int"),
    Key("typeStyleOperationType", "int"),
    Key("Trck", "int"),
};
constexpr KeyRule kSetTracking[] = {
    Key("null", "ref Prpr:prop TxtS > TxLr:Ordn/Trgt"),
    Key("T", "object TxtS", kTrackingStyle),
};
constexpr KeyRule kConvertToShape[] = {
    Key("null", "ref contentLayer:class"),
    Key("Usng", "ref TxLr:Ordn/Trgt"),
};
constexpr KeyRule kSpellCheck[] = {
    Key("null", "ref Prpr:prop spellCheck > TxLr:Ordn/Al"),
    Key("Usng", "object spellCheck"),
};
constexpr KeyRule kFindReplaceSettings[] = {
    Key("~find", "text"),
    Key("replace", "text"),
    Key("checkAll", "bool"),
    Key("Fwd", "bool"),
    Key("caseSensitive", "bool"),
    Key("wholeWord", "bool"),
    Key("ignoreAccents", "bool"),
};
constexpr KeyRule kFindReplace[] = {
    Key("null", "ref Prpr:prop findReplace > TxLr:Ordn/Al"),
    Key("Usng", "object findReplace", kFindReplaceSettings),
};

constexpr EventRule kTextRules[] = {
    {"setd", kSetAntiAlias, OnSetAntiAlias},
    {"setd", kSetTextKind, OnSetTextKind},
    {"setd", kSetTracking, OnSetTracking},
    {"Mk", kConvertToShape, OnConvertToShape},
    {"spellCheck", kSpellCheck, OnSpellCheck},
    {"findReplace", kFindReplace, OnFindReplace},
};

}  // namespace

std::span<const EventRule> TextEventRules() { return kTextRules; }

}  // namespace sim
