#include "commands/group_record.h"

#include <cstdio>
#include <cstring>

GroupRecord StoredGroup = {"", 0, -1, ""};
char LastNewGroupName[kGroupTextSize] = "";

void CopyGroupText(char (&buffer)[kGroupTextSize], std::string_view text) {
  const std::size_t length = text.size() < kGroupTextSize - 1 ? text.size() : kGroupTextSize - 1;
  if (length > 0) std::memmove(buffer, text.data(), length);
  buffer[length] = '\0';
}

void ClearGroupProperties(GroupRecord& group) {
  group.name[0] = '\0';
  group.blendMode = 0;
  group.opacity = -1;
}

void FormatGroupMaskName(char (&buffer)[kGroupTextSize], const char* groupName) {
  std::snprintf(buffer, sizeof buffer, "%s Group Mask", groupName ? groupName : "");
}

bool IsDefaultGroup(const GroupRecord& group, std::string_view lastNewName, host::TypeID passThrough) {
  return std::string_view(group.name) == lastNewName && group.blendMode == passThrough && group.opacity == 100;
}
