// The events the module's keyboard shortcuts play: the host's Fill, Lens
// Correction and Liquify with their dialogs, a new image made from the
// clipboard, and a paste.
//
// The dialog events carry no descriptor: what they do is what the user
// chooses in the host's dialog, so they are taken only with the dialog
// shown (played silently they have nothing to go on). A dialog the scenario
// answers with "cancel" never reaches the model (suite_control.cpp).
#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

// A pixel layer to work on, the host's own refusal otherwise.
host::OSErr ChangeLayerThroughDialog(Play& play, const char* historyName) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json& layer = (*doc)["layers"][size_t(p)];
  if (layer.value("kind", std::string("pixel")) != "pixel") return err::kCannotApply;
  *play.historyName = historyName;
  return err::kNone;
}

host::OSErr OnFillInDialog(Play& play) { return ChangeLayerThroughDialog(play, "Fill Layer"); }
host::OSErr OnLensCorrection(Play& play) { return ChangeLayerThroughDialog(play, "Lens Correction"); }
host::OSErr OnLiquify(Play& play) { return ChangeLayerThroughDialog(play, "Liquify"); }

// The clipboard's image as [width, height]; false when it holds none.
bool ClipboardImage(const Model& m, int* width, int* height) {
  if (!m.clipboard.is_object()) return false;
  const Json& image = m.clipboard.value("image", Json());
  if (!image.is_array() || image.size() != 2 || !image[0].is_number_integer() || !image[1].is_number_integer())
    return false;
  *width = image[0].get<int>();
  *height = image[1].get<int>();
  return true;
}

host::OSErr OnNewFromClipboard(Play& play) {
  const Value* made = FindEntry(play.params, C("Nw  "));
  if (!made || made->cls != C("Dcmn")) return kNotThisRow;
  const Value* preset = FindEntry(made->items, StringToId("preset"));
  if (!preset || preset->text != "Clipboard") return kNotThisRow;   // the only preset modelled
  int width = 0, height = 0;
  if (!ClipboardImage(play.model, &width, &height)) return err::kCannotApply;
  Json doc = NormalizeDocument(play.model,
                               Json{{"width", width}, {"height", height}, {"history", Json::array({"New"})}},
                               play.model.documents.size() + 1);
  play.model.documents.push_back(std::move(doc));
  play.model.current = int(play.model.documents.size()) - 1;
  return err::kNone;
}

host::OSErr OnPaste(Play& play) {
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  int width = 0, height = 0;
  if (!ClipboardImage(play.model, &width, &height)) return err::kCannotApply;
  const Value* antiAlias = FindEntry(play.params, C("AntA"));
  Json layers = (*doc)["layers"];
  int above = ActiveLayer(*doc);
  if (above < 0) above = int(layers.size()) - 1;
  Json layer = NewLayer(play.model, "Layer " + std::to_string(layers.size()));
  layer["pasted"] = Json{{"width", width}, {"height", height},
                         {"antiAlias", antiAlias ? TextFromId(antiAlias->enumValue) : std::string("AnCr")}};
  (*doc)["layers"].insert((*doc)["layers"].begin() + (above + 1), std::move(layer));
  (*doc)["target"] = Json::array({above + 1});
  ResetTargetChannels(*doc);
  *play.historyName = "Paste";
  return err::kNone;
}

constexpr KeyRule kDocumentFromPreset[] = {
    Key("preset", "text"),
};
constexpr KeyRule kMakeDocument[] = {
    Key("Nw", "object Dcmn", kDocumentFromPreset),
};
constexpr KeyRule kPaste[] = {
    Optional("AntA", "enum Annt = Anno, AnCr, AnSt, AnSm"),
};

constexpr EventRule kShortcutRules[] = {
    {"Fl", {}, OnFillInDialog},
    {"LnCr", {}, OnLensCorrection, {5, 99}},
    {"LqFy", {}, OnLiquify},
    {"Mk", kMakeDocument, OnNewFromClipboard},
    {"past", kPaste, OnPaste},
};

}  // namespace

std::span<const EventRule> ShortcutEventRules() { return kShortcutRules; }

}  // namespace sim
