// Suite acquisition: the version fall-back, the release of what was
// acquired, and a host that offers nothing.
#include <cstring>
#include <string>
#include <vector>

#include "entry/entry_point.h"
#include "entry/module_state.h"
#include "host/suites.h"
#include "plugin_fixture.h"

namespace {

struct SuiteCall {
  std::string op;
  std::string name;
  int version;
  bool operator==(const SuiteCall&) const = default;
};

std::vector<SuiteCall> Calls;
int OfferedDescriptorVersion = 0;  // 0: nothing is offered
host::DescriptorSuite DummyDescriptorSuite{};

host::SPErr FakeAcquire(const char* name, std::int32_t version, const void** suite) {
  Calls.push_back({"acquire", name, version});
  if (OfferedDescriptorVersion != 0 && std::strcmp(name, host::kDescriptorSuiteName) == 0 &&
      version == OfferedDescriptorVersion) {
    *suite = &DummyDescriptorSuite;
    return 0;
  }
  return host::kSuiteNotFoundError;
}
host::SPErr FakeRelease(const char* name, std::int32_t version) {
  Calls.push_back({"release", name, version});
  return 0;
}
host::SPBoolean FakeIsEqual(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
host::SPErr FakeAllocate(std::size_t, void**) { return host::kUnimplementedError; }
host::SPErr FakeFree(void*) { return host::kUnimplementedError; }
host::SPErr FakeReallocate(void*, std::size_t, void**) { return host::kUnimplementedError; }
host::SPErr FakeUndefined() { return host::kUnimplementedError; }

host::BasicSuite FakeBasic{FakeAcquire, FakeRelease, FakeIsEqual, FakeAllocate,
                           FakeFree, FakeReallocate, FakeUndefined};

class SuiteSlotTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    Calls.clear();
    OfferedDescriptorVersion = 0;
    BasicSuite = &FakeBasic;
  }
  void TearDown() override {
    BasicSuite = &FakeBasic;
    ReleaseSuites();
    PluginTest::TearDown();
  }
};

TEST_F(SuiteSlotTest, FallsBackToOlderVersionsAndReleasesTheOneAcquired) {
  OfferedDescriptorVersion = 2;
  EXPECT_EQ(DescriptorProcs(), &DummyDescriptorSuite);
  EXPECT_EQ(DescriptorProcs(), &DummyDescriptorSuite);  // acquired once
  ReleaseSuites();
  const std::vector<SuiteCall> expected = {{"acquire", host::kDescriptorSuiteName, 3},
                                           {"acquire", host::kDescriptorSuiteName, 2},
                                           {"release", host::kDescriptorSuiteName, 2}};
  EXPECT_EQ(Calls, expected);
}

TEST_F(SuiteSlotTest, AMissingSuiteThrowsTheHostsLastError) {
  try {
    DescriptorProcs();
    FAIL() << "no exception";
  } catch (const SuiteError& error) {
    EXPECT_EQ(error.code, host::kSuiteNotFoundError);
  }
  EXPECT_EQ(Calls.size(), 3u);  // versions 3, 2, 1
  BasicSuite = nullptr;
  try {
    ControlProcs();
    FAIL() << "no exception";
  } catch (const SuiteError& error) {
    EXPECT_EQ(error.code, host::kBadParameterError);
  }
}

TEST_F(SuiteSlotTest, EntryReportsAFailedAcquisitionAndAnswersParm) {
  host::MessageData message{host::kCheckValid, nullptr, nullptr, &FakeBasic};
  EXPECT_EQ(AutoPluginMain("SP Interface", "Startup", &message), host::kBadParameterError);
  EXPECT_EQ(NotifierRegistered, 0);
  ExpectLines(Take({"message"}),
              {{R"({"kind":"message","title":"Quillbright Error","text":"There was a problem with Quillbright.","buttons":"OK","icon":"none","owner":"none","answer":"OK"})"}});
}

}  // namespace
