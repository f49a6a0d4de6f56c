// The descriptors the host takes for its action sets: deleting a set by
// name, as its Actions panel does, and playing an action of a set.
#include "event_rules.h"
#include "events.h"
#include "script_engine.h"

namespace sim {
namespace {

host::OSErr OnDeleteActionSet(Play& play) {
  const Value* v = FindEntry(play.params, host::FourCC("null"));
  if (!v || v->type != host::kTypeReference || v->ref.empty()) return err::kCannotApply;
  const int s = ResolveActionSet(play.model, v->ref[0]);
  // A set the host does not hold: refused by state, as deleting what the
  // user already removed by hand.
  if (s < 0) return err::kCannotApply;
  play.model.actionSets.erase(size_t(s));
  return err::kNone;   // the document's history does not record it
}

// Plays the action as app.doAction does, in an engine of its own; an action
// or set the host does not hold, or a step that fails, refuses the event.
host::OSErr OnPlayAction(Play& play) {
  const Value* v = FindEntry(play.params, host::FourCC("null"));
  if (!v || v->type != host::kTypeReference || v->ref.size() != 2) return err::kCannotApply;
  const int s = ResolveActionSet(play.model, v->ref[1]);
  if (s < 0 || ResolveAction(play.model.actionSets[size_t(s)], v->ref[0]) < 0) return err::kCannotApply;
  const std::string script = "app.doAction(" + Json(AnsiToUtf8(v->ref[0].name)).dump() + ", " +
                             Json(AnsiToUtf8(v->ref[1].name)).dump() + ")";
  return RunScriptInNewHeap(script).ran ? err::kNone : err::kCannotApply;
}

constexpr KeyRule kPlayAction[] = {
    Key("null", "ref Actn:name > ASet:name"),
};

constexpr KeyRule kDeleteActionSet[] = {
    Key("null", "ref ASet:name"),
};

constexpr EventRule kActionRules[] = {
    {"Dlt", kDeleteActionSet, OnDeleteActionSet},
    {"Ply", kPlayAction, OnPlayAction},
};

}  // namespace

std::span<const EventRule> ActionEventRules() { return kActionRules; }

}  // namespace sim
