// A plug-in that plays, on "Do It", events a host must refuse: the mistakes
// a plug-in can make in an event (a misspelt event, a key of the wrong type,
// a wrong enumeration type, a wrong class in a reference, an unknown key)
// and one the document refuses (a layer mask on the background). The tests
// read the results in the transcript's `play` lines.
#include <cstring>

#include "action_suites.h"
#include "basic_suite.h"

namespace {

using host::FourCC;

const host::DescriptorSuite* D = nullptr;
const host::ControlSuite* Control = nullptr;
const host::ReferenceSuite* R = nullptr;

// `null` = the target of a class.
void PutTarget(host::Descriptor d, host::TypeID cls, host::TypeID type = FourCC("Ordn"),
               host::TypeID value = FourCC("Trgt")) {
  host::Reference r = nullptr;
  if (R->Make(&r) != 0) return;
  R->PutEnumerated(r, cls, type, value);
  D->PutReference(d, FourCC("null"), r);
  R->Free(r);
}

template <typename Fill>
void Play(host::TypeID event, Fill fill) {
  host::Descriptor d = nullptr;
  if (D->Make(&d) != 0) return;
  fill(d);
  host::Descriptor result = nullptr;
  Control->Play(&result, event, d, 2);
  if (result) D->Free(result);
  D->Free(d);
}

// `setd` of the target layer with one item put by `put` into the object.
template <typename Put>
void SetLayer(Put put) {
  Play(FourCC("setd"), [&](host::Descriptor d) {
    PutTarget(d, FourCC("Lyr "));
    host::Descriptor layer = nullptr;
    if (D->Make(&layer) != 0) return;
    put(layer);
    D->PutObject(d, FourCC("T   "), FourCC("Lyr "), layer);
    D->Free(layer);
  });
}

void PlayMistakes() {
  Play(FourCC("Mrg3"), [](host::Descriptor) {});                                              // misspelt
  SetLayer([](host::Descriptor l) { D->PutInteger(l, FourCC("Opct"), 50); });                  // not #Prc
  SetLayer([](host::Descriptor l) { D->PutEnumerated(l, FourCC("Md  "), FourCC("Ordn"), FourCC("Nrml")); });
  Play(FourCC("Dlt "), [](host::Descriptor d) { PutTarget(d, FourCC("Dcmn"), FourCC("Ordn"), FourCC("Msk ")); });
  SetLayer([](host::Descriptor l) { D->PutBoolean(l, FourCC("Vsbk"), 1); });                  // unknown key
  // The document's answer: the target is the background, which takes no mask.
  Play(FourCC("Mk  "), [](host::Descriptor d) {
    D->PutClass(d, FourCC("Nw  "), FourCC("Chnl"));
    host::Reference r = nullptr;
    if (R->Make(&r) != 0) return;
    R->PutEnumerated(r, FourCC("Chnl"), FourCC("Chnl"), FourCC("Msk "));
    D->PutReference(d, FourCC("At  "), r);
    R->Free(r);
    D->PutEnumerated(d, FourCC("Usng"), FourCC("UsrM"), FourCC("RvlA"));
  });
}

}  // namespace

extern "C" __declspec(dllexport) int AutoPluginMain(const char*, const char* selector, void* message) {
  if (!message || std::strcmp(selector, "Do It") != 0) return 0;
  host::BasicSuite* basic = static_cast<host::MessageData*>(message)->basic;
  if (basic->AcquireSuite(host::kDescriptorSuiteName, 3, reinterpret_cast<const void**>(&D)) == 0 &&
      basic->AcquireSuite(host::kControlSuiteName, 2, reinterpret_cast<const void**>(&Control)) == 0 &&
      basic->AcquireSuite(host::kReferenceSuiteName, 3, reinterpret_cast<const void**>(&R)) == 0)
    PlayMistakes();
  if (D) basic->ReleaseSuite(host::kDescriptorSuiteName, 3);
  if (Control) basic->ReleaseSuite(host::kControlSuiteName, 2);
  if (R) basic->ReleaseSuite(host::kReferenceSuiteName, 3);
  return 0;
}
