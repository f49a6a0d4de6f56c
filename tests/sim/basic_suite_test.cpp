// The basic suite: which suites are offered at which versions, acquisition
// counting and the memory operations.
#include "sim_host_test_support.h"

namespace simtest {
namespace {

struct SuiteRequest {
  const char* name;
  int version;
  bool offered;
};

// Newest versions offered, older prefixes answered, newer ones refused.
const SuiteRequest kRequests[] = {
    {host::kDescriptorSuiteName, 3, true},  {host::kDescriptorSuiteName, 2, true},
    {host::kDescriptorSuiteName, 1, true},  {host::kDescriptorSuiteName, 4, false},
    {host::kControlSuiteName, 2, true},     {host::kControlSuiteName, 1, true},
    {host::kControlSuiteName, 3, false},    {host::kReferenceSuiteName, 3, true},
    {host::kReferenceSuiteName, 4, false},  {host::kListSuiteName, 2, true},
    {host::kListSuiteName, 1, true},        {host::kListSuiteName, 3, false},
    {host::kUIHooksSuiteName, 1, true},     {host::kUIHooksSuiteName, 2, false},
    {host::kHandleSuiteName, 2, true},      {host::kHandleSuiteName, 1, true},
    {host::kZStringSuiteName, 1, true},     {host::kZStringSuiteName, 2, false},   // not a superset
    {host::kPropertySuiteName, 1, true},    {host::kColorSpaceSuiteName, 1, true},
    {host::kJavaScriptSuiteName, 2, true},  {host::kJavaScriptSuiteName, 1, true},
    {host::kJavaScriptSuiteName, 3, false}, {"No Such Suite", 1, false},
    {host::kDescriptorSuiteName, 0, false},
};

TEST(BasicSuite, OffersSuitesByNameAndVersion) {
  sim::ResetHost(Json::object());
  host::BasicSuite* basic = sim::Basic();
  for (const auto& r : kRequests) {
    const void* table = reinterpret_cast<const void*>(1);
    host::SPErr e = basic->AcquireSuite(r.name, r.version, &table);
    if (r.offered) {
      EXPECT_EQ(e, host::kNoError) << r.name << " v" << r.version;
      EXPECT_NE(table, nullptr) << r.name << " v" << r.version;
      basic->ReleaseSuite(r.name, r.version);
    } else {
      EXPECT_EQ(e, host::kSuiteNotFoundError) << r.name << " v" << r.version;
      EXPECT_EQ(table, nullptr) << r.name << " v" << r.version;
    }
  }
  EXPECT_EQ(basic->AcquireSuite(host::kListSuiteName, 2, nullptr), host::kBadParameterError);
  sim::TakeTranscript();
}

TEST(BasicSuite, OlderPrefixVersionsShareTheTableAndHandleV1HasItsOwn) {
  sim::ResetHost(Json::object());
  host::BasicSuite* basic = sim::Basic();
  const void *v3 = nullptr, *v2 = nullptr, *h2 = nullptr, *h1 = nullptr;
  basic->AcquireSuite(host::kDescriptorSuiteName, 3, &v3);
  basic->AcquireSuite(host::kDescriptorSuiteName, 2, &v2);
  EXPECT_EQ(v3, v2);
  basic->AcquireSuite(host::kHandleSuiteName, 2, &h2);
  basic->AcquireSuite(host::kHandleSuiteName, 1, &h1);
  ASSERT_NE(h1, h2);
  // Version 1 has SetLock where version 2 has DisposeRegularHandle.
  auto v2slots = static_cast<void* const*>(h2);
  auto v1slots = static_cast<void* const*>(h1);
  EXPECT_EQ(v1slots[0], v2slots[0]);   // New
  EXPECT_EQ(v1slots[2], v2slots[3]);   // SetLock
  EXPECT_EQ(v1slots[3], v2slots[4]);   // GetSize
  // The property record starts with its version and count.
  const void* p = nullptr;
  basic->AcquireSuite(host::kPropertySuiteName, 1, &p);
  EXPECT_EQ(static_cast<const host::PropertySuite*>(p)->version, 1);
  EXPECT_EQ(static_cast<const host::PropertySuite*>(p)->count, 2);
  sim::TakeTranscript();
}

TEST(BasicSuite, UnreleasedSuitesAreLeaksAndReleasingTooOftenIsRefused) {
  sim::ResetHost(Json::object());
  host::BasicSuite* basic = sim::Basic();
  const void* t = nullptr;
  basic->AcquireSuite(host::kListSuiteName, 2, &t);
  basic->AcquireSuite(host::kListSuiteName, 1, &t);   // fell back: released under the first version
  basic->AcquireSuite(host::kUIHooksSuiteName, 1, &t);
  EXPECT_EQ(basic->ReleaseSuite(host::kListSuiteName, 2), host::kNoError);
  EXPECT_EQ(basic->ReleaseSuite(host::kUIHooksSuiteName, 1), host::kNoError);
  EXPECT_EQ(basic->ReleaseSuite(host::kUIHooksSuiteName, 1), host::kBadParameterError);
  sim::ReportLeaks();
  ExpectLines(sim::TakeTranscript(),
              {
                  R"({"kind":"misuse","call":"Basic.ReleaseSuite","what":"suite not acquired"})",
                  R"({"kind":"leak","what":"suite df135116-c769-11d0-8079-00c04fd7ec47","count":1})",
              });
}

TEST(BasicSuite, StringEqualityAndBlocks) {
  sim::ResetHost(Json::object());
  host::BasicSuite* basic = sim::Basic();
  EXPECT_TRUE(basic->IsEqual("Do It", "Do It"));
  EXPECT_FALSE(basic->IsEqual("Do It", "Do it"));
  EXPECT_FALSE(basic->IsEqual("Do It", nullptr));

  void* block = nullptr;
  ASSERT_EQ(basic->AllocateBlock(16, &block), host::kNoError);
  void* bigger = nullptr;
  ASSERT_EQ(basic->ReallocateBlock(block, 64, &bigger), host::kNoError);
  EXPECT_EQ(basic->FreeBlock(bigger), host::kNoError);
  EXPECT_EQ(basic->FreeBlock(bigger), host::kBadParameterError);   // twice
  void* kept = nullptr;
  basic->AllocateBlock(8, &kept);
  sim::ReportLeaks();
  ExpectLines(sim::TakeTranscript(),
              {
                  R"({"kind":"misuse","call":"Basic.FreeBlock","what":"unknown block"})",
                  R"({"kind":"leak","what":"block","count":1})",
              });
}

}  // namespace
}  // namespace simtest
