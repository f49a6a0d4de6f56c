// The remembered group: its texts cut to the record's size, the rule that
// forgets a group as the host made it, and a long group name stored whole
// enough to be restored.
#include <cstring>
#include <string>

#include "commands/group_record.h"
#include "commands/groups.h"
#include "host/event_player.h"
#include "plugin_fixture.h"

namespace {

TEST(GroupRecord, TextsAreCutTo127Characters) {
  char buffer[kGroupTextSize];
  std::memset(buffer, 'x', sizeof buffer);
  const std::string longName(300, 'n');
  CopyGroupText(buffer, longName);
  EXPECT_EQ(std::string(buffer), longName.substr(0, 127));
  CopyGroupText(buffer, "");
  EXPECT_EQ(buffer[0], '\0');

  FormatGroupMaskName(buffer, "Harbour");
  EXPECT_STREQ(buffer, "Harbour Group Mask");
  // A name of 120 characters leaves room for seven more only.
  FormatGroupMaskName(buffer, std::string(120, 'n').c_str());
  EXPECT_EQ(std::string(buffer), std::string(120, 'n') + " Group ");
}

TEST(GroupRecord, OnlyTheHostsOwnGroupAtPassThroughAndFullOpacityIsForgotten) {
  constexpr host::TypeID kPassThrough = 0x12345;
  GroupRecord group = {"Group 1", kPassThrough, 100, ""};
  EXPECT_TRUE(IsDefaultGroup(group, "Group 1", kPassThrough));
  EXPECT_FALSE(IsDefaultGroup(group, "group 1", kPassThrough)) << "names compare case by case";
  EXPECT_FALSE(IsDefaultGroup(group, "Group 2", kPassThrough));
  EXPECT_FALSE(IsDefaultGroup(group, "Group 1", host::FourCC("Nrml")));
  group.opacity = 99;
  EXPECT_FALSE(IsDefaultGroup(group, "Group 1", kPassThrough));

  ClearGroupProperties(group);
  CopyGroupText(group.maskChannel, "Group 1 Group Mask");
  ClearGroupProperties(group);
  EXPECT_EQ(group.name[0], '\0');
  EXPECT_EQ(group.blendMode, 0u);
  EXPECT_EQ(group.opacity, -1);
  EXPECT_STREQ(group.maskChannel, "Group 1 Group Mask") << "the channel's name outlives the properties";
}

TEST(GroupRecord, OpacityIsTruncatedToWholePercent) {
  EXPECT_EQ(OpacityPercent(255), 100);
  EXPECT_EQ(OpacityPercent(254), 99);
  EXPECT_EQ(OpacityPercent(128), 50);
  EXPECT_EQ(OpacityPercent(0), 0);
}

class StoreGroupTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    saved_ = StoredGroup;
    StoredGroup = {"", 0, -1, ""};
  }
  void TearDown() override {
    StoredGroup = saved_;
    PluginTest::TearDown();
  }
  GroupRecord saved_{};
};

// A group name longer than the record is stored cut, and its mask is saved
// under the channel name the restore will look for.
TEST_F(StoreGroupTest, ALongGroupNameIsStoredCutWithItsMaskChannel) {
  const std::string name(200, 'G');
  StartHost((R"({"documents": [{"layers": [{"name": "Background", "background": true},
      {"kind": "groupEnd"}, {"name": "Boat"},
      {"name": ")" + name + R"(", "kind": "groupStart", "blendMode": "Scrn", "opacity": 191,
       "userMask": {"enabled": true}}], "target": [3]}]})").c_str());
  ASSERT_EQ(StoreGroupProperties(), 0);
  EXPECT_EQ(std::string(StoredGroup.name), name.substr(0, 127));
  EXPECT_EQ(StoredGroup.opacity, 74);   // 191 of 255
  EXPECT_EQ(StoredGroup.blendMode, host::FourCC("Scrn"));
  const std::string channel = std::string(StoredGroup.maskChannel);
  EXPECT_EQ(channel, name.substr(0, 127));
  const sim::Json channels = sim::ModelState()["documents"][0]["channels"];
  ASSERT_EQ(channels.size(), 1u);
  EXPECT_EQ(channels[0]["name"], channel);
}

}  // namespace
