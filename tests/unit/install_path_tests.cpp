// The module's install folder as its installers record it in the registry,
// read the way Windows XP allows: texts need not end in a zero byte there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "commands/dispatcher.h"

namespace {

constexpr const char* kModuleKey = "Software\\Dovetailworks\\Quillbright";
constexpr const char* kModule64Key = "Software\\Dovetailworks\\Quillbright64bit";

// Sets (or removes) the value "InstallPath" of a key under
// HKEY_LOCAL_MACHINE, storing exactly the bytes given, and puts back what
// was there before when it goes out of scope.
class InstallPathValue {
 public:
  InstallPathValue(const char* key, std::optional<std::string> bytes, DWORD type = REG_SZ) : key_(key) {
    HKEY opened = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &opened,
                        &disposition) != ERROR_SUCCESS)
      return;
    createdKey_ = disposition == REG_CREATED_NEW_KEY;
    char old[2048];
    DWORD size = sizeof old;
    if (RegQueryValueExA(opened, "InstallPath", nullptr, &oldType_, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS)
      old_ = std::string(old, size);
    if (bytes) {
      // The system takes a zero byte right after a text's bytes as part of
      // the text: a guard byte keeps what is stored to the bytes given.
      const std::string guarded = *bytes + '#';
      RegSetValueExA(opened, "InstallPath", 0, type, reinterpret_cast<const BYTE*>(guarded.data()), DWORD(bytes->size()));
    } else
      RegDeleteValueA(opened, "InstallPath");
    RegCloseKey(opened);
  }
  ~InstallPathValue() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    if (old_)
      RegSetValueExA(opened, "InstallPath", 0, oldType_, reinterpret_cast<const BYTE*>(old_->data()), DWORD(old_->size()));
    else
      RegDeleteValueA(opened, "InstallPath");
    RegCloseKey(opened);
    if (createdKey_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, key_.c_str());
  }
  InstallPathValue(const InstallPathValue&) = delete;
  InstallPathValue& operator=(const InstallPathValue&) = delete;

 private:
  std::string key_;
  bool createdKey_ = false;
  DWORD oldType_ = REG_NONE;
  std::optional<std::string> old_;
};

std::string Terminated(const char* text) { return std::string(text) + '\0'; }

TEST(InstallPath, TheModulesKeyFirstThenThe64BitInstallersKey) {
  char folder[512];
  {
    InstallPathValue module(kModuleKey, Terminated("C:\\Program Files\\Quillbright\\"));
    InstallPathValue module64(kModule64Key, Terminated("C:\\Program Files (x86)\\Quillbright\\"));
    EXPECT_TRUE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "C:\\Program Files\\Quillbright\\");
  }
  {
    InstallPathValue module(kModuleKey, std::nullopt);
    InstallPathValue module64(kModule64Key, Terminated("D:\\Quillbright\\"));
    EXPECT_TRUE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "D:\\Quillbright\\");
  }
  {
    InstallPathValue module(kModuleKey, std::nullopt);
    InstallPathValue module64(kModule64Key, std::nullopt);
    std::memset(folder, '#', sizeof folder);
    EXPECT_FALSE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "");
  }
}

TEST(InstallPath, AStoredTextWithoutItsZeroByteIsTerminatedWithinTheBuffer) {
  char folder[32];
  std::memset(folder, '#', sizeof folder);
  InstallPathValue module(kModuleKey, std::string(15, 'x'));  // exactly what a 16-byte buffer holds
  InstallPathValue module64(kModule64Key, std::nullopt);
  EXPECT_TRUE(ReadInstallPath(folder, 16));
  EXPECT_EQ(std::string(folder), std::string(15, 'x'));
  EXPECT_EQ(std::string(folder + 16, 16), std::string(16, '#'));  // nothing written past the buffer
}

TEST(InstallPath, TextsThatDoNotFitAndOtherTypesArePassedOver) {
  char folder[16];
  {
    InstallPathValue module(kModuleKey, Terminated("C:\\A folder too long\\"));
    InstallPathValue module64(kModule64Key, Terminated("E:\\Short\\"));
    EXPECT_TRUE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "E:\\Short\\");
  }
  {
    const DWORD number = 42;
    InstallPathValue module(kModuleKey, std::string(reinterpret_cast<const char*>(&number), sizeof number), REG_DWORD);
    InstallPathValue module64(kModule64Key, Terminated("15 bytes fill\\\\"));  // 15 characters and the zero: too long
    EXPECT_FALSE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "");
  }
}

TEST(InstallPath, AnExpandableTextIsExpandedAndMustFitExpanded) {
  ASSERT_TRUE(SetEnvironmentVariableA("QBA", "F:\\Manuals"));
  ASSERT_TRUE(SetEnvironmentVariableA("QBB", "F:\\Manuals\\Quillbright"));
  char folder[16];
  {
    InstallPathValue module(kModuleKey, Terminated("%QBA%\\"), REG_EXPAND_SZ);
    EXPECT_TRUE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "F:\\Manuals\\");
  }
  {
    InstallPathValue module(kModuleKey, Terminated("%QBB%\\"), REG_EXPAND_SZ);  // fits only unexpanded
    InstallPathValue module64(kModule64Key, std::nullopt);
    EXPECT_FALSE(ReadInstallPath(folder, sizeof folder));
    EXPECT_STREQ(folder, "");
  }
  SetEnvironmentVariableA("QBA", nullptr);
  SetEnvironmentVariableA("QBB", nullptr);
}

}  // namespace
