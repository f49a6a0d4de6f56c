// The property suite: the current document's size and title.
#include "host_suites.h"
#include "model.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("property", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("property", fn)

namespace sim {
namespace {

host::OSErr GetProperty(TypeID signature, TypeID key, std::int32_t, std::intptr_t* simple, host::Handle* complex) {
  return Guard<host::OSErr>("Property.GetProperty", err::kParam, [&]() -> host::OSErr {
    if (signature != host::kHostSignature) return err::kPropertyUndefined;
    const bool isSize = key == host::kPropDocumentWidth || key == host::kPropDocumentHeight;
    if (!isSize && key != host::kPropDocumentTitle) return err::kPropertyUndefined;
    if (isSize && !simple) return Misuse("Property.GetProperty", "null out pointer", err::kParam);
    if (!isSize && !complex) return Misuse("Property.GetProperty", "null out handle", err::kParam);
    Json* doc = CurrentDocument(State().model);
    if (!doc) return err::kNoSuchObject;
    if (key == host::kPropDocumentWidth) *simple = std::intptr_t((*doc).value("width", 0));
    else if (key == host::kPropDocumentHeight) *simple = std::intptr_t((*doc).value("height", 0));
    else {
      *complex = NewTextHandle(Utf8ToAnsi((*doc).value("title", std::string())));   // the caller disposes
      if (!*complex) return err::kMemFull;
    }
    return err::kNone;
  });
}

// Every property the simulation answers is read-only.
host::OSErr SetProperty(TypeID, TypeID, std::int32_t, std::intptr_t, host::Handle) { return err::kPropertyUndefined; }

const host::PropertySuite kSuite = {1, 2, SLOT(GetProperty), SLOT(SetProperty)};

}  // namespace

const void* PropertySuiteTable(std::int32_t version) { return version == 1 ? &kSuite : nullptr; }

}  // namespace sim
