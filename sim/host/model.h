// The document model: documents, layers, channels, history, kept in the
// scenario's own DOCUMENT form so that a `state` line is the model itself.
#pragma once

#include "host_state.h"

namespace sim {

Model ModelFromScenario(const Json& scenario);
// A DOCUMENT of the scenario with every field the model keeps; `number`
// names an untitled one.
Json NormalizeDocument(Model& m, const Json& given, size_t number);

Json* CurrentDocument(Model& m);
bool HasBackground(const Json& doc);
int ActiveLayer(const Json& doc);                      // position, -1: no target layer
Json ComponentChannels(const std::string& mode);
void ResetTargetChannels(Json& doc);                   // back to the composite
Json NewLayer(Model& m, std::string name);

// Reference resolution. Positions count from the bottom layer, 0-based.
// A layer index in a reference counts the background as 0 when there is
// one, else the bottom layer as 1 (the host's numbering).
int ResolveLayer(const Json& doc, const RefPart& part);
int LayerRefIndex(const Json& doc, int position);
int ResolveDocument(const Model& m, const RefPart& part);   // -1: none
// Action sets and the actions of one, by index (1-based) or name: the
// position, -1 when the model holds none such.
int ResolveActionSet(const Model& m, const RefPart& part);
int ResolveAction(const Json& set, const RefPart& part);
Json* DocumentFor(Model& m, const ReferenceData& ref, size_t from);  // the Dcmn part at or after `from`, else the current

// Why the host does not answer a Get of this reference at all (a class,
// form or property outside what it takes: the caller's fault, whatever the
// document holds); empty when it answers it.
struct GetRefusal {
  std::string why;         // empty: answered
  bool property = false;   // the class has no such property
};
GetRefusal RefusedGet(const ReferenceData& ref);

// Answers a Get: the descriptor of the referenced object, or of its property.
host::OSErr AnswerGet(Model& m, const ReferenceData& ref, DescriptorData* out);

// Applies a played event (events.cpp). `historyName` receives the name of
// the history state the event makes, empty when it makes none; `error` the
// `error` line of an event or descriptor the host does not take (else null).
host::OSErr ApplyEvent(Model& m, TypeID event, const DescriptorData& params, std::string* historyName,
                       Json* error, std::int32_t mode = host::kDialogSilent);
void AddHistoryState(Model& m, const std::string& name);

}  // namespace sim
