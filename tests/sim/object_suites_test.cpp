// Descriptor, list, reference, handle and ZString suites: argument checks,
// token lifetimes, leak report, item reading and the transcript forms.
#include <cstring>

#include "sim_host_test_support.h"

namespace simtest {
namespace {

using ObjectSuites = HostTest;

TEST_F(ObjectSuites, BadTokensDoubleFreesAndNullOutsAreErrorAnswers) {
  host::Descriptor d = nullptr;
  ASSERT_EQ(desc->Make(&d), 0);
  ASSERT_EQ(desc->PutInteger(d, C("Cnt "), 3), 0);
  std::int32_t value = 0;
  EXPECT_EQ(desc->GetInteger(d, C("Cnt "), nullptr), host::kParamErr);
  EXPECT_EQ(desc->Free(d), 0);
  EXPECT_EQ(desc->Free(d), host::kParamErr);
  EXPECT_EQ(desc->GetInteger(d, C("Cnt "), &value), host::kParamErr);
  EXPECT_EQ(desc->Make(nullptr), host::kParamErr);

  host::List l = nullptr;
  ASSERT_EQ(list->Make(&l), 0);
  EXPECT_EQ(list->GetCount(l, nullptr), host::kParamErr);
  EXPECT_EQ(list->Free(l), 0);
  EXPECT_EQ(list->PutInteger(l, 1), host::kParamErr);

  host::Reference r = nullptr;
  ASSERT_EQ(ref->Make(&r), 0);
  EXPECT_EQ(ref->Free(r), 0);
  EXPECT_EQ(ref->PutIndex(r, C("Lyr "), 1), host::kParamErr);

  host::Handle h = handles->New(4);
  ASSERT_NE(h, nullptr);
  handles->Dispose(h);
  handles->Dispose(h);
  EXPECT_EQ(handles->GetSize(h), 0);
  EXPECT_EQ(handles->SetSize(h, 8), host::kNilHandleErr);

  host::ZString z = nullptr;
  ASSERT_EQ(zstr->MakeFromCString("Fade", 4, &z), 0);
  EXPECT_EQ(zstr->Release(z), 0);
  EXPECT_EQ(zstr->Release(z), host::kBadParameterError);

  ExpectLines(OfKind(sim::TakeTranscript(), {"misuse"}),
              {
                  R"({"kind":"misuse","call":"Descriptor.GetInteger","what":"null out pointer"})",
                  R"({"kind":"misuse","call":"Descriptor.Free","what":"unknown descriptor"})",
                  R"({"kind":"misuse","call":"Descriptor.GetInteger","what":"unknown descriptor"})",
                  R"({"kind":"misuse","call":"Descriptor.Make","what":"null out pointer"})",
                  R"({"kind":"misuse","call":"List.GetCount","what":"null out pointer"})",
                  R"({"kind":"misuse","call":"List.PutInteger","what":"unknown list"})",
                  R"({"kind":"misuse","call":"Reference.PutIndex","what":"unknown reference"})",
                  R"({"kind":"misuse","call":"Handle.Dispose","what":"unknown handle"})",
                  R"({"kind":"misuse","call":"Handle.GetSize","what":"unknown handle"})",
                  R"({"kind":"misuse","call":"Handle.SetSize","what":"unknown handle"})",
                  R"({"kind":"misuse","call":"ZString.Release","what":"unknown zstring"})",
              });
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

TEST_F(ObjectSuites, TokensAreNeverIssuedTwice) {
  host::Descriptor first = nullptr, second = nullptr;
  desc->Make(&first);
  desc->Free(first);
  desc->Make(&second);
  EXPECT_NE(first, second);
  desc->Free(second);
  StartHost();   // a reset does not start the numbering again
  host::Descriptor third = nullptr;
  desc->Make(&third);
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
  desc->Free(third);
}

TEST_F(ObjectSuites, LeaksAreReportedPerKind) {
  host::Descriptor d = nullptr;
  desc->Make(&d);
  host::Descriptor answer = nullptr;
  host::Reference r = TargetRef(C("capp"), C("NmbD"));
  ASSERT_EQ(control->Get(&answer, r), 0);   // owned by the caller, never freed here
  ref->Free(r);
  host::List l = nullptr;
  list->Make(&l);
  handles->New(10);
  host::ZString z = nullptr;
  zstr->MakeFromCString("x", 1, &z);
  zstr->AddRef(z);
  zstr->Release(z);   // one reference left
  sim::ReportLeaks();
  ExpectLines(OfKind(sim::TakeTranscript(), {"leak"}),
              {
                  R"({"kind":"leak","what":"descriptor","count":2})",
                  R"({"kind":"leak","what":"list","count":1})",
                  R"({"kind":"leak","what":"handle","count":1})",
                  R"({"kind":"leak","what":"zstring","count":1})",
                  R"({"kind":"leak","what":"suite AS ZString Suite","count":1})",
                  R"({"kind":"leak","what":"suite Photoshop Handle Suite for Plug-ins","count":1})",
                  R"({"kind":"leak","what":"suite Photoshop Property Suite for Plug-ins","count":1})",
                  R"({"kind":"leak","what":"suite bc1e4d70-f953-11d0-8d9f-00c04fd5f7ee","count":1})",
                  R"({"kind":"leak","what":"suite df135115-c769-11d0-8079-00c04fd7ec47","count":1})",
                  R"({"kind":"leak","what":"suite df135116-c769-11d0-8079-00c04fd7ec47","count":1})",
                  R"({"kind":"leak","what":"suite df135117-c769-11d0-8079-00c04fd7ec47","count":1})",
              });
}

TEST_F(ObjectSuites, StringsHonourTheBufferAndTypesAreChecked) {
  host::Descriptor d = nullptr;
  desc->Make(&d);
  desc->PutString(d, C("Nm  "), "Layer 1");
  std::uint32_t length = 0;
  ASSERT_EQ(desc->GetStringLength(d, C("Nm  "), &length), 0);
  EXPECT_EQ(length, 7u);   // without the terminator
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_EQ(desc->GetString(d, C("Nm  "), buffer, 5), 0);
  EXPECT_STREQ(buffer, "Laye");
  EXPECT_EQ(buffer[5], 'x');
  ASSERT_EQ(desc->GetString(d, C("Nm  "), buffer, 8), 0);
  EXPECT_STREQ(buffer, "Layer 1");

  std::int32_t number = 0;
  EXPECT_EQ(desc->GetInteger(d, C("Nm  "), &number), -1700);   // a text is not an integer
  EXPECT_EQ(desc->GetInteger(d, C("Opct"), &number), -1715);   // no such key
  host::TypeID type = 0;
  EXPECT_EQ(desc->GetType(d, C("Opct"), &type), -1715);
  desc->Free(d);
}

TEST_F(ObjectSuites, AliasesTravelAsHandlesAndGetAliasGivesANewOne) {
  host::Handle path = handles->New(16);
  host::Ptr p = nullptr;
  host::Boolean oldLock = 7;
  handles->SetLock(path, 1, &p, &oldLock);
  EXPECT_EQ(oldLock, 0);
  std::strcpy(p, "C:\\Temp\\a.psd");
  handles->SetLock(path, 0, &p, &oldLock);
  EXPECT_EQ(oldLock, 1);

  host::Descriptor d = nullptr;
  desc->Make(&d);
  ASSERT_EQ(desc->PutAlias(d, C("File"), path), 0);
  handles->Dispose(path);
  host::TypeID type = 0;
  desc->GetType(d, C("File"), &type);
  EXPECT_EQ(type, host::kTypeAlias);
  host::Handle copy = nullptr;
  ASSERT_EQ(desc->GetAlias(d, C("File"), &copy), 0);
  EXPECT_STREQ(*copy, "C:\\Temp\\a.psd");
  EXPECT_EQ(handles->GetSize(copy), 14);
  handles->Dispose(copy);
  desc->Free(d);
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

TEST_F(ObjectSuites, DescriptorsAndReferencesInTranscriptForm) {
  host::Reference r = nullptr;
  ref->Make(&r);
  ref->PutProperty(r, C("Prpr"), C("fsel"));
  ref->PutEnumerated(r, C("Lyr "), C("Ordn"), C("Trgt"));
  ref->PutIndex(r, C("Dcmn"), 3);
  ref->PutName(r, C("Chnl"), "Alpha 1");
  ref->PutOffset(r, C("Lyr "), -1);
  ref->PutIdentifier(r, C("Lyr "), 7);
  ref->PutClass(r, C("AdjL"));
  EXPECT_EQ(sim::ToText(sim::DescribeReference(r)),
            R"([{"class":"Prpr","property":"fsel"},{"class":"Lyr ","enum":["Ordn","Trgt"]},)"
            R"({"class":"Dcmn","index":3},{"class":"Chnl","name":"Alpha 1"},{"class":"Lyr ","offset":-1},)"
            R"({"class":"Lyr ","identifier":7},{"class":"AdjL"}])");

  host::TypeID filterMask = 0;
  control->StringIDToTypeID("filterMask", &filterMask);
  host::Descriptor inner = nullptr;
  desc->Make(&inner);
  desc->PutUnitFloat(inner, C("Opct"), C("#Prc"), 100.0);
  host::List l = nullptr;
  list->Make(&l);
  list->PutInteger(l, 5);
  list->PutReference(l, r);
  host::Descriptor d = nullptr;
  desc->Make(&d);
  desc->PutInteger(d, C("Cnt "), 5);
  desc->PutFloat(d, C("Rds "), 1.5);
  desc->PutString(d, C("Nm  "), "Gr\xfc" "n");   // code page 1252 in, UTF-8 out
  desc->PutBoolean(d, C("MkVs"), 0);
  desc->PutEnumerated(d, C("Chnl"), C("Chnl"), filterMask);
  desc->PutObject(d, C("T   "), C("Lyr "), inner);
  desc->PutClass(d, C("Nw  "), C("Chnl"));
  char bytes[] = {0, '\xff'};
  desc->PutData(d, C("Dt  "), 2, bytes);
  desc->PutList(d, C("Adjs"), l);
  desc->PutInteger(d, C("Cnt "), 6);   // replaces in place
  EXPECT_EQ(sim::ToText(sim::DescribeDescriptor(d)),
            R"([["Cnt ",{"int":6}],["Rds ",{"float":1.5}],["Nm  ",{"string":"Grün"}],["MkVs",{"bool":false}],)"
            R"(["Chnl",{"enum":["Chnl","filterMask"]}],["T   ",{"object":"Lyr ","items":[["Opct",{"unit":"#Prc","value":100.0}]]}],)"
            R"(["Nw  ",{"class":"Chnl"}],["Dt  ",{"data":"hex:00ff"}],["Adjs",{"list":[{"int":5},{"ref":[)"
            R"({"class":"Prpr","property":"fsel"},{"class":"Lyr ","enum":["Ordn","Trgt"]},{"class":"Dcmn","index":3},)"
            R"({"class":"Chnl","name":"Alpha 1"},{"class":"Lyr ","offset":-1},{"class":"Lyr ","identifier":7},)"
            R"({"class":"AdjL"}]}]}]])");
  // What was put was copied: changing the inner descriptor changes nothing.
  desc->PutInteger(inner, C("Cnt "), 1);
  host::Descriptor back = nullptr;
  host::TypeID cls = 0;
  ASSERT_EQ(desc->GetObjectValue(d, C("T   "), &cls, &back), 0);
  EXPECT_EQ(cls, C("Lyr "));
  EXPECT_EQ(sim::ToText(sim::DescribeDescriptor(back)), R"([["Opct",{"unit":"#Prc","value":100.0}]])");
  for (host::Descriptor x : {back, d, inner}) desc->Free(x);
  list->Free(l);
  ref->Free(r);
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
}

TEST_F(ObjectSuites, ZStringsCountReferencesAndCopyOut) {
  host::ZString z = nullptr;
  ASSERT_EQ(zstr->MakeFromCString("Restore Group!!", 13, &z), 0);   // the length excludes the rest
  EXPECT_EQ(zstr->LengthAsCString(z), 14u);
  char small[8];
  EXPECT_EQ(zstr->AsCString(z, small, sizeof small, 1), host::kBadParameterError);
  EXPECT_EQ(zstr->AsCString(z, small, sizeof small, 0), 0);
  EXPECT_STREQ(small, "Restore");
  EXPECT_EQ(zstr->AddRef(z), 0);
  EXPECT_EQ(zstr->Release(z), 0);
  EXPECT_EQ(sim::LiveObjectCount(), 1u);
  EXPECT_EQ(zstr->Release(z), 0);
  EXPECT_EQ(sim::LiveObjectCount(), 0u);
  EXPECT_TRUE(zstr->IsEmpty(zstr->GetEmpty()));
  EXPECT_EQ(zstr->MakeFromCString("x", 1, nullptr), host::kBadParameterError);
  sim::TakeTranscript();
}

}  // namespace
}  // namespace simtest
