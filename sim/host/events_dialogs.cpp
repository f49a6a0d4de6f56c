// What the events of the module's own dialogs do to the model: aligning
// layers by their content, a layer duplicated into another document (the
// Fade dialog's temporary document and back), and the history stepped back
// one state.
#include "event_rules.h"
#include "events.h"

namespace sim {
namespace {

constexpr TypeID C(const char (&code)[5]) { return host::FourCC(code); }

const ReferenceData* Target(const Play& play) {
  const Value* v = FindEntry(play.params, C("null"));
  return v && v->type == host::kTypeReference && !v->ref.empty() ? &v->ref : nullptr;
}

// The host aligns in its own progress dialog the target layers it can
// match; it needs two.
host::OSErr OnAutoAlign(Play& play) {
  if (play.mode != host::kDialogDisplay) return kNotThisRow;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kCannotApply;
  const Json targets = (*doc)["target"];
  if (!targets.is_array() || targets.size() < 2) return err::kCannotApply;
  const std::string projection = TextFromId(FindEntry(play.params, C("Aply"))->enumValue);
  const bool vignette = FindEntry(play.params, StringToId("vignette"))->flag;
  const bool distort = FindEntry(play.params, StringToId("radialDistort"))->flag;
  for (const auto& p : targets)
    (*doc)["layers"][size_t(p.get<int>())]["autoAligned"] =
        Json{{"projection", projection}, {"vignette", vignette}, {"radialDistort", distort}};
  *play.historyName = "Auto-Align Layers";
  return err::kNone;
}

// The target layer of the current document copied on top of the target of
// another; the other document's target becomes the copy. The current
// document stays current.
host::OSErr OnDuplicateLayerToDocument(Play& play) {
  const Value* to = FindEntry(play.params, C("T   "));
  if (!to || to->ref.empty()) return err::kCannotApply;
  const int n = ResolveDocument(play.model, to->ref[0]);
  if (n < 0) return err::kNoSuchObject;
  if (n == play.model.current) return err::kCannotApply;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  const int p = ActiveLayer(*doc);
  if (p < 0) return err::kCannotApply;
  Json copy = (*doc)["layers"][size_t(p)];
  copy["background"] = false;
  copy["id"] = play.model.nextLayerId++;
  Json& other = play.model.documents[size_t(n)];
  Json& layers = other["layers"];
  const int above = ActiveLayer(other);
  const int at = above < 0 ? int(layers.size()) : above + 1;
  layers.insert(layers.begin() + at, std::move(copy));
  other["target"] = Json::array({at});
  ResetTargetChannels(other);
  *play.historyName = "Duplicate Layer";
  return err::kNone;
}

// One state back: the last state is gone (the model keeps no pixels to
// restore); the oldest state stays.
host::OSErr OnStepBack(Play& play) {
  const ReferenceData* ref = Target(play);
  if (!ref || (*ref)[0].number != -1) return err::kCannotApply;
  Json* doc = CurrentDocument(play.model);
  if (!doc) return err::kNoSuchObject;
  Json& states = (*doc)["history"];
  if (!states.is_array() || states.size() <= 1) return err::kCannotApply;
  states.erase(states.size() - 1);
  return err::kNone;
}

constexpr KeyRule kAutoAlign[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("Usng", "enum ADSt = ADSContent"),
    Key("Aply", "enum projection = Auto, Prsp, sceneCollage, cylindrical, Sph, translation"),
    Key("vignette", "bool"),
    Key("radialDistort", "bool"),
};
constexpr KeyRule kDuplicateLayerToDocument[] = {
    Key("null", "ref Lyr:Ordn/Trgt"),
    Key("T", "ref Dcmn:name | Dcmn:id"),
};
constexpr KeyRule kStepBack[] = {
    Key("null", "ref HstS:offset"),
};

constexpr EventRule kDialogRules[] = {
    {"Algn", kAutoAlign, OnAutoAlign},
    {"Dplc", kDuplicateLayerToDocument, OnDuplicateLayerToDocument},
    {"slct", kStepBack, OnStepBack},
};

}  // namespace

std::span<const EventRule> DialogEventRules() { return kDialogRules; }

}  // namespace sim
