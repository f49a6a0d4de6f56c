// The descriptors the host takes for its action sets: deleting a set by
// name, as its Actions panel does, and playing an action of a set, both
// named.
#include "event_rules.h"
#include "events.h"

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

// Playing an action the host holds. Its steps are the recorded action's own
// business: the model only checks that there is such an action.
host::OSErr OnPlayAction(Play& play) {
  const Value* v = FindEntry(play.params, host::FourCC("null"));
  if (!v || v->type != host::kTypeReference || v->ref.size() != 2) return err::kCannotApply;
  const int s = ResolveActionSet(play.model, v->ref[1]);
  if (s < 0) return err::kCannotApply;
  if (ResolveAction(play.model.actionSets[size_t(s)], v->ref[0]) < 0) return err::kCannotApply;
  return err::kNone;
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
