// The suites as strict as the host: releases of suites never acquired,
// handle bytes reached only while the handle is locked, and Get refusing
// references outside what the host answers.
#include "sim_host_test_support.h"

namespace simtest {
namespace {

TEST(StrictBasicSuite, AReleaseMustNameTheVersionAcquired) {
  sim::ResetHost(Json::object());
  host::BasicSuite* basic = sim::Basic();
  const void* table = nullptr;
  ASSERT_EQ(basic->AcquireSuite(host::kListSuiteName, 2, &table), host::kNoError);
  EXPECT_EQ(basic->ReleaseSuite(host::kListSuiteName, 1), host::kBadParameterError);   // never acquired
  EXPECT_EQ(basic->ReleaseSuite(host::kListSuiteName, 2), host::kNoError);
  EXPECT_EQ(basic->ReleaseSuite(host::kListSuiteName, 2), host::kBadParameterError);   // once too often
  EXPECT_EQ(basic->ReleaseSuite("No Such Suite", 1), host::kBadParameterError);
  sim::ReportLeaks();
  ExpectLines(sim::TakeTranscript(),
              {
                  R"({"kind":"misuse","call":"Basic.ReleaseSuite","what":"suite not acquired"})",
                  R"({"kind":"misuse","call":"Basic.ReleaseSuite","what":"suite not acquired"})",
                  R"({"kind":"misuse","call":"Basic.ReleaseSuite","what":"suite not acquired"})",
              });
}

using StrictHandles = HostTest;

TEST_F(StrictHandles, BytesAreThePlugInsOnlyWhileLocked) {
  host::Handle h = handles->New(4);
  ASSERT_NE(h, nullptr);
  host::Ptr bytes = nullptr;
  host::Boolean old = 9;
  handles->SetLock(h, 1, &bytes, &old);
  EXPECT_EQ(old, 0);
  ASSERT_EQ(bytes, *h);
  std::memcpy(bytes, "abc", 4);
  // A nested lock tells the caller it was locked; restoring keeps it locked.
  handles->SetLock(h, 1, &bytes, &old);
  EXPECT_EQ(old, 1);
  handles->SetLock(h, old, &bytes, &old);
  EXPECT_EQ(bytes[0], 'a');
  handles->SetLock(h, 0, &bytes, &old);
  EXPECT_TRUE(OfKind(sim::TakeTranscript(), {"misuse"}).empty());

  // A pointer kept after unlocking: the read is caught once, then let through.
  volatile char* kept = bytes;
  EXPECT_EQ(kept[1], 'b');
  EXPECT_EQ(kept[2], 'c');
  handles->SetLock(h, 0, &bytes, &old);   // not locked
  EXPECT_EQ(old, 0);
  kept[0] = 'x';                           // closed again by the unlock
  EXPECT_EQ(handles->GetSize(h), 4);
  handles->Dispose(h);
  ExpectLines(OfKind(sim::TakeTranscript(), {"misuse"}),
              {
                  R"({"kind":"misuse","call":"Handle","what":"bytes read while the handle is unlocked"})",
                  R"({"kind":"misuse","call":"Handle.SetLock","what":"unlocking an unlocked handle"})",
                  R"({"kind":"misuse","call":"Handle","what":"bytes written while the handle is unlocked"})",
              });
}

TEST_F(StrictHandles, ALockedHandleIsNeitherResizedNorQuietlyDisposed) {
  host::Handle h = handles->New(4);
  ASSERT_NE(h, nullptr);
  host::Ptr bytes = nullptr;
  host::Boolean old = 0;
  handles->SetLock(h, 1, &bytes, &old);
  std::memcpy(bytes, "abc", 4);
  EXPECT_EQ(handles->SetSize(h, 64), -117);
  EXPECT_EQ(handles->GetSize(h), 4);
  handles->SetLock(h, 0, &bytes, &old);
  // Unlocked it moves, keeping its bytes, and the master pointer follows.
  EXPECT_EQ(handles->SetSize(h, 64), 0);
  handles->SetLock(h, 1, &bytes, &old);
  EXPECT_EQ(bytes, *h);
  EXPECT_STREQ(bytes, "abc");
  handles->Dispose(h);   // still locked
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
  ExpectLines(OfKind(sim::TakeTranscript(), {"misuse"}),
              {
                  R"({"kind":"misuse","call":"Handle.SetSize","what":"resizing a locked handle"})",
                  R"({"kind":"misuse","call":"Handle.Dispose","what":"disposing a locked handle"})",
              });
}

TEST_F(StrictHandles, TheHostsOwnHandlesAreLockedToo) {
  // A descriptor flattened into a handle is read only through a lock.
  host::Descriptor d = nullptr;
  desc->Make(&d);
  desc->PutInteger(d, C("Cnt "), 3);
  host::Handle flat = nullptr;
  ASSERT_EQ(desc->AsHandle(d, &flat), 0);
  host::Descriptor back = nullptr;
  ASSERT_EQ(desc->HandleToDescriptor(flat, &back), 0);   // the host reads it itself
  EXPECT_EQ(sim::ToText(sim::DescribeDescriptor(back)), R"([["Cnt ",{"int":3}]])");
  volatile char first = **flat;
  (void)first;
  handles->Dispose(flat);
  desc->Free(d);
  desc->Free(back);
  ExpectLines(OfKind(sim::TakeTranscript(), {"misuse"}),
              {R"({"kind":"misuse","call":"Handle","what":"bytes read while the handle is unlocked"})"});
}

const Json kMasked = Json::parse(R"({"documents":[{"title":"a.psd","layers":[
  {"name":"Background","background":true},{"name":"Sky","userMask":{}},{"name":"Top"}],"target":[2]}]})");

class StrictGet : public HostTest {
 protected:
  void SetUp() override { StartHost(kMasked); }
  // The error code of a Get, and its lines of kind `error`.
  host::OSErr GetWith(const std::function<void(host::Reference)>& fill, std::vector<Json>* errors) {
    host::Reference r = nullptr;
    ref->Make(&r);
    fill(r);
    host::Descriptor answer = nullptr;
    host::OSErr e = control->Get(&answer, r);
    if (answer) desc->Free(answer);
    ref->Free(r);
    *errors = OfKind(sim::TakeTranscript(), {"error"});
    return e;
  }
};

TEST_F(StrictGet, FormsAndPropertiesTheHostDoesNotTakeAreThePlugInsFault) {
  std::vector<Json> errors;
  // A layer by offset: the host takes index, name, identifier or the target.
  EXPECT_EQ(GetWith([&](host::Reference r) {
              ref->PutOffset(r, C("Lyr "), -1);
              ref->PutEnumerated(r, C("Dcmn"), C("Ordn"), C("Trgt"));
            }, &errors), -1728);
  ExpectLines(errors, {R"({"kind":"error","text":"Get: the host takes no \"rele\" form for class \"Lyr \"","reference":[{"class":"Lyr ","offset":-1},{"class":"Dcmn","enum":["Ordn","Trgt"]}]})"});

  // An enumerated layer is the target and nothing else.
  EXPECT_EQ(GetWith([&](host::Reference r) { ref->PutEnumerated(r, C("Lyr "), C("Ordn"), C("Frwr")); }, &errors),
            -1728);
  ASSERT_EQ(errors.size(), 1u);

  // A property no layer has.
  EXPECT_EQ(GetWith([&](host::Reference r) {
              ref->PutProperty(r, C("Prpr"), C("Xyzw"));
              ref->PutEnumerated(r, C("Lyr "), C("Ordn"), C("Trgt"));
            }, &errors), -1715);
  ExpectLines(errors, {R"({"kind":"error","text":"Get: class \"Lyr \" has no property \"Xyzw\"","reference":[{"class":"Prpr","property":"Xyzw"},{"class":"Lyr ","enum":["Ordn","Trgt"]}]})"});

  // A class the host answers no Get of.
  EXPECT_EQ(GetWith([&](host::Reference r) { ref->PutEnumerated(r, C("Path"), C("Ordn"), C("Trgt")); }, &errors),
            -1728);
  ASSERT_EQ(errors.size(), 1u);
}

TEST_F(StrictGet, WhatTheDocumentLacksIsNoFaultOfThePlugIn) {
  std::vector<Json> errors;
  // "Top" has no mask now: the key is missing, but layers can have it.
  EXPECT_EQ(GetWith([&](host::Reference r) {
              ref->PutProperty(r, C("Prpr"), C("UsrM"));
              ref->PutEnumerated(r, C("Lyr "), C("Ordn"), C("Trgt"));
            }, &errors), -1715);
  EXPECT_TRUE(errors.empty());
  // No layer at that index.
  EXPECT_EQ(GetWith([&](host::Reference r) { ref->PutIndex(r, C("Lyr "), 9); }, &errors), -1728);
  EXPECT_TRUE(errors.empty());
  // By name, by identifier and by index: answered.
  EXPECT_EQ(GetWith([&](host::Reference r) { ref->PutName(r, C("Lyr "), "Sky"); }, &errors), 0);
  EXPECT_EQ(GetWith([&](host::Reference r) {
              ref->PutProperty(r, C("Prpr"), C("UsrM"));
              ref->PutIndex(r, C("Lyr "), 1);
            }, &errors), 0);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace simtest
