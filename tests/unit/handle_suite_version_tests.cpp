// A host that offers only version 1 of the handle suite: its table has no
// DisposeRegularHandle, so every later operation sits one slot earlier. The
// module must reach each operation in its own slot of that table.
#include <cstring>
#include <string>
#include <vector>

#include "host/event_player.h"
#include "host/host_objects.h"
#include "entry/module_state.h"
#include "host/suites.h"
#include "plugin_fixture.h"

namespace {

// The simulated host's basic suite, except that version 2 of the handle
// suite is not offered.
std::vector<std::string> HandleAcquisitions;

host::SPErr AcquireWithoutHandleV2(const char* name, std::int32_t version, const void** suite) {
  if (std::strcmp(name, host::kHandleSuiteName) == 0) {
    HandleAcquisitions.push_back("acquire " + std::to_string(version));
    if (version == 2) {
      *suite = nullptr;
      return host::kSuiteNotFoundError;
    }
  }
  return sim::Basic()->AcquireSuite(name, version, suite);
}
host::SPErr ReleaseForwarded(const char* name, std::int32_t version) {
  if (std::strcmp(name, host::kHandleSuiteName) == 0) HandleAcquisitions.push_back("release " + std::to_string(version));
  return sim::Basic()->ReleaseSuite(name, version);
}

host::BasicSuite OldHostBasic{};

class HandleSuiteVersionTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    HandleAcquisitions.clear();
    OldHostBasic = *sim::Basic();
    OldHostBasic.AcquireSuite = AcquireWithoutHandleV2;
    OldHostBasic.ReleaseSuite = ReleaseForwarded;
    BasicSuite = &OldHostBasic;
  }
};

// The version-1 layout as the host declares it.
struct HandleSuiteV1Slots {
  void* New;
  void* Dispose;
  void* SetLock;
  void* GetSize;
  void* SetSize;
  void* RecoverSpace;
};

TEST_F(HandleSuiteVersionTest, VersionOneOperationsAreReachedInTheirOwnSlots) {
  const host::HandleSuite* procs = HandleProcs();
  ASSERT_NE(procs, nullptr);
  const void* table = nullptr;
  ASSERT_EQ(sim::Basic()->AcquireSuite(host::kHandleSuiteName, 1, &table), 0);
  const auto* v1 = static_cast<const HandleSuiteV1Slots*>(table);
  EXPECT_EQ(reinterpret_cast<void*>(procs->New), v1->New);
  EXPECT_EQ(reinterpret_cast<void*>(procs->Dispose), v1->Dispose);
  EXPECT_EQ(reinterpret_cast<void*>(procs->SetLock), v1->SetLock);
  EXPECT_EQ(reinterpret_cast<void*>(procs->GetSize), v1->GetSize);
  EXPECT_EQ(reinterpret_cast<void*>(procs->SetSize), v1->SetSize);
  EXPECT_EQ(reinterpret_cast<void*>(procs->RecoverSpace), v1->RecoverSpace);
  // Version 1 has no such operation: nothing of the table may stand in.
  EXPECT_EQ(procs->DisposeRegularHandle, nullptr);
  sim::Basic()->ReleaseSuite(host::kHandleSuiteName, 1);
}

TEST_F(HandleSuiteVersionTest, TextHandlesWorkAndTheVersionAcquiredIsReleased) {
  {
    HandleHolder handle;
    ASSERT_EQ(MakeTextHandle("Harbour at dusk", handle.out()), 0);
    char text[64] = {};
    CopyHandleText(handle.get(), text, sizeof text);
    EXPECT_STREQ(text, "Harbour at dusk");
    EXPECT_EQ(HandleProcs()->GetSize(handle.get()), 16);
  }
  ReleaseSuites();
  const std::vector<std::string> expected = {"acquire 2", "acquire 2", "acquire 1", "release 1"};
  EXPECT_EQ(HandleAcquisitions, expected);
  // No operation was called through a slot of the wrong kind.
  EXPECT_TRUE(Take({"misuse", "fault"}).empty());
}

TEST_F(HandleSuiteVersionTest, AHostOfferingVersionTwoIsUsedAsItIs) {
  BasicSuite = sim::Basic();
  const void* table = nullptr;
  ASSERT_EQ(sim::Basic()->AcquireSuite(host::kHandleSuiteName, 2, &table), 0);
  EXPECT_EQ(static_cast<const void*>(HandleProcs()), table);
  EXPECT_NE(HandleProcs()->DisposeRegularHandle, nullptr);
  sim::Basic()->ReleaseSuite(host::kHandleSuiteName, 2);
}

// The host drops one SetLock call (it has no answer to give): no handle is
// left locked for the host, disposed locked, or unlocked when it never was.
// Calls 1 and 2 make the handle, 3 and 4 read it.
class TextHandleTest : public PluginTest {};

TEST_F(TextHandleTest, ADroppedLockCallLeavesNoHandleLocked) {
  for (int nth = 1; nth <= 4; ++nth) {
    SCOPED_TRACE(nth);
    const std::string scenario = R"({"faults": [{"suite": "handle", "call": "SetLock", "nth": )" +
                                 std::to_string(nth) + "}]}";
    StartHost(scenario.c_str());
    {
      HandleHolder handle;
      const std::int32_t made = MakeTextHandle("Harbour at dusk", handle.out());
      if (nth == 1) {
        EXPECT_NE(made, 0);
        EXPECT_EQ(handle.get(), nullptr);
        continue;
      }
      ASSERT_EQ(made, 0);
      char text[64] = "unread";
      CopyHandleText(handle.get(), text, sizeof text);
      EXPECT_STREQ(text, nth == 3 ? "" : "Harbour at dusk");
      // Unlocked: the host may resize it.
      EXPECT_EQ(HandleProcs()->SetSize(handle.get(), 32), 0);
    }
    EXPECT_TRUE(Take({"misuse"}).empty());
  }
}

}  // namespace
