// The action control suite: playing events, getting properties, string
// identifiers, notifiers and named history steps.
#include "action_suites.h"
#include "model.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("control", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("control", fn)

namespace sim {
namespace {

using host::Descriptor;

Json RefJsonOrNull(const ReferenceData* r) { return r ? ReferenceToJson(*r) : Json(); }

// A host dialog the event would show is answered from the scenario.
bool DialogCancelled(TypeID event) {
  const Json& dialogs = State().answers.contains("hostDialogs") ? State().answers["hostDialogs"] : Json::object();
  auto it = dialogs.find(TextFromId(event));
  return it != dialogs.end() && it->is_string() && *it == "cancel";
}

OSErr Play(Descriptor* result, TypeID event, Descriptor params, std::int32_t mode) {
  return Guard<OSErr>("Control.Play", err::kParam, [&]() -> OSErr {
    if (result) *result = nullptr;
    Json line = {{"kind", "play"}, {"event", TextFromId(event)}, {"descriptor", nullptr}, {"mode", mode}};
    DescriptorData* data = nullptr;
    OSErr answer = err::kNone;
    Json refusal;   // the `error` line of an event the host does not take
    if (params) {
      data = FindDescriptor(params);
      if (data) line["descriptor"] = DescriptorToJson(*data);
      else answer = Misuse("Control.Play", "unknown descriptor", err::kParam);
    }
    if (answer == err::kNone && mode == host::kDialogDisplay && DialogCancelled(event)) answer = err::kUserCanceled;
    if (answer == err::kNone) {
      if (const std::optional<std::int32_t> fault = CountEventPlay(event)) {
        answer = static_cast<OSErr>(*fault);   // failed on purpose: the model stays as it is
      } else {
        std::string historyName;
        answer = ApplyEvent(State().model, event, data ? *data : DescriptorData{}, &historyName, &refusal, mode);
        if (answer == err::kNone && !historyName.empty()) AddHistoryState(State().model, historyName);
      }
    }
    line["result"] = answer;
    Record(std::move(line));
    if (!refusal.is_null()) Record(std::move(refusal));
    if (answer == err::kNone && result) *result = NewDescriptor();
    return answer;
  });
}

OSErr Get(Descriptor* result, host::Reference reference) {
  return Guard<OSErr>("Control.Get", err::kParam, [&]() -> OSErr {
    if (!result) return Misuse("Control.Get", "null out pointer", err::kParam);
    *result = nullptr;
    ReferenceData* ref = FindReference(reference);
    if (!ref) return Misuse("Control.Get", "unknown reference", err::kParam);
    DescriptorData answer;
    OSErr e = err::kNone;
    if (const GetRefusal refused = RefusedGet(*ref); !refused.why.empty()) {
      e = refused.property ? err::kNoSuchKey : err::kNoSuchObject;
      Record(Json{{"kind", "error"}, {"text", "Get: " + refused.why}, {"reference", ReferenceToJson(*ref)}});
    } else {
      e = AnswerGet(State().model, *ref, &answer);
    }
    if (State().recordGets) Record(Json{{"kind", "get"}, {"reference", RefJsonOrNull(ref)}, {"result", e}});
    if (e == err::kNone) *result = NewDescriptor(std::move(answer));
    return e;
  });
}

OSErr StringIDToTypeID(const char* stringID, TypeID* typeID) {
  return Guard<OSErr>("Control.StringIDToTypeID", err::kParam, [&]() -> OSErr {
    if (!stringID || !typeID) return Misuse("Control.StringIDToTypeID", "null pointer", err::kParam);
    *typeID = StringToId(stringID);
    return err::kNone;
  });
}

OSErr TypeIDToStringID(TypeID typeID, char* buffer, std::uint32_t length) {
  return Guard<OSErr>("Control.TypeIDToStringID", err::kParam, [&]() -> OSErr {
    if (!buffer || length == 0) return Misuse("Control.TypeIDToStringID", "no buffer", err::kParam);
    std::string text;
    if (!IdToString(typeID, &text)) {
      buffer[0] = '\0';
      return err::kNoSuchKey;   // a code without a string identifier
    }
    CopyText(text, buffer, length);
    return err::kNone;
  });
}

OSErr AddNotify(host::PluginRef self, TypeID event, host::EventNotifier notifier, void* data) {
  return Guard<OSErr>("Control.AddNotify", err::kParam, [&]() -> OSErr {
    if (self != PluginSelf()) return Misuse("Control.AddNotify", "unknown plug-in", err::kParam);
    if (!notifier) return Misuse("Control.AddNotify", "null notifier", err::kParam);
    auto& list = State().notifiers;
    bool replaced = false;
    for (auto& n : list)
      if (n.self == self && n.event == event) {
        n.proc = notifier;
        n.data = data;
        replaced = true;
      }
    if (!replaced) list.push_back(Notifier{self, event, notifier, data});
    Record(Json{{"kind", "notifier"}, {"op", "add"}, {"event", TextFromId(event)}});
    return err::kNone;
  });
}

OSErr RemoveNotify(host::PluginRef self, TypeID event) {
  return Guard<OSErr>("Control.RemoveNotify", err::kParam, [&]() -> OSErr {
    auto& list = State().notifiers;
    for (auto it = list.begin(); it != list.end(); ++it)
      if (it->self == self && it->event == event) {
        list.erase(it);
        Record(Json{{"kind", "notifier"}, {"op", "remove"}, {"event", TextFromId(event)}});
        return err::kNone;
      }
    return Misuse("Control.RemoveNotify", "no such notifier", err::kParam);
  });
}

// Runs the procedure as one history step. The procedure's plays add no
// states of their own; a non-zero result puts the model back as it was.
OSErr SuspendHistory(host::Reference document, host::SuspendProc proc, void* data, host::ZString name) {
  return Guard<OSErr>("Control.SuspendHistory", err::kParam, [&]() -> OSErr {
    ReferenceData* ref = FindReference(document);
    if (!ref) return Misuse("Control.SuspendHistory", "unknown reference", err::kParam);
    if (!proc) return Misuse("Control.SuspendHistory", "null procedure", err::kParam);
    // A null name is accepted (an unnamed step); an unknown token is not.
    std::string stepName;
    if (name) {
      ZStringData* text = FindZString(name);
      if (!text) return Misuse("Control.SuspendHistory", "unknown zstring", err::kParam);
      stepName = AnsiToUtf8(text->text);
    }
    auto& s = State();
    if (!ref->empty() && (*ref)[0].cls != host::FourCC("Dcmn"))
      return Misuse("Control.SuspendHistory", "not a document reference", err::kParam);
    if (ref->empty() || ResolveDocument(s.model, (*ref)[0]) < 0) return err::kNoSuchObject;

    Record(Json{{"kind", "step-begin"}, {"name", stepName}});
    Model snapshot = s.model;
    ++s.suspendDepth;
    host::SPErr result;
    try {
      result = proc(data);
    } catch (...) {
      RecordFault("Control.SuspendHistory", "exception from the history procedure");
      result = err::kBadParameter;
    }
    --s.suspendDepth;
    const bool kept = result == 0;
    if (!kept) {
      // History holds the documents: action sets, preferences and the
      // clipboard changed inside the step stay as they are, as the editor's
      // Undo leaves them.
      snapshot.actionSets = std::move(s.model.actionSets);
      snapshot.preferences = std::move(s.model.preferences);
      snapshot.clipboard = std::move(s.model.clipboard);
      s.model = std::move(snapshot);
    } else {
      AddHistoryState(s.model, stepName);
    }
    Record(Json{{"kind", "step-end"}, {"name", stepName}, {"result", result}, {"kept", kept}});
    if (kept) return err::kNone;
    // The procedure's code, cut to 16 bits, never reads as success.
    OSErr answer = static_cast<OSErr>(result & 0xFFFF);
    return answer != 0 ? answer : err::kCannotApply;
  });
}

OSErr MakeStringAlias(const char* newStringID, const char* existingStringID) {
  return Guard<OSErr>("Control.MakeStringAlias", err::kParam, [&]() -> OSErr {
    if (!newStringID || !existingStringID) return Misuse("Control.MakeStringAlias", "null text", err::kParam);
    AliasStringId(newStringID, existingStringID);
    return err::kNone;
  });
}

const host::ControlSuite kSuite = {SLOT(Play),      SLOT(Get),          SLOT(StringIDToTypeID), SLOT(TypeIDToStringID),
                                   SLOT(AddNotify), SLOT(RemoveNotify), SLOT(SuspendHistory),   SLOT(MakeStringAlias)};

}  // namespace

// Version 2 is offered; version 1 is its prefix.
const void* ControlSuiteTable(std::int32_t version) { return version >= 1 && version <= 2 ? &kSuite : nullptr; }

}  // namespace sim
