// The remembered properties of the last ungrouped layer group, which the
// next grouping offers to restore, and the rules that read and clear them.
// Plain data and text: nothing here talks to the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host_types.h"

// Texts of the record, terminator included; longer texts are cut.
constexpr std::size_t kGroupTextSize = 128;

struct GroupRecord {
  char name[kGroupTextSize];          // empty: nothing to restore
  host::TypeID blendMode;             // 0: none read
  std::int32_t opacity;               // percent, -1: none read
  char maskChannel[kGroupTextSize];   // the document channel holding the group's mask
};

// Lives as long as the module; not written to the settings file.
extern GroupRecord StoredGroup;
// The name the host gave the group the module made last.
extern char LastNewGroupName[kGroupTextSize];

// Copies at most 127 characters and always terminates.
void CopyGroupText(char (&buffer)[kGroupTextSize], std::string_view text);

// Name empty, blend mode 0, opacity -1; the mask channel's name is kept.
void ClearGroupProperties(GroupRecord& group);

// "%s Group Mask" of the group's name, cut to the record's size.
void FormatGroupMaskName(char (&buffer)[kGroupTextSize], const char* groupName);

// A group as the host made it (the name it gave the module's last group,
// pass-through, 100 %) carries nothing worth restoring.
bool IsDefaultGroup(const GroupRecord& group, std::string_view lastNewName, host::TypeID passThrough);

// Opacity 0 to 255 as the host reports it, in percent (truncated).
constexpr std::int32_t OpacityPercent(std::int32_t value) { return value * 100 / 255; }
