// The descriptors the host takes for its action sets: deleting a set by
// name, as its Actions panel does.
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

constexpr KeyRule kDeleteActionSet[] = {
    Key("null", "ref ASet:name"),
};

constexpr EventRule kActionRules[] = {
    {"Dlt", kDeleteActionSet, OnDeleteActionSet},
};

}  // namespace

std::span<const EventRule> ActionEventRules() { return kActionRules; }

}  // namespace sim
