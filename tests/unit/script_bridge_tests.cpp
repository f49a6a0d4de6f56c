// What the script bridge hands the host's engine: script paths, the loading
// scripts, and the generated action file, read back field by field.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "menus/script_listing.h"
#include "modes/script_text.h"

namespace {

// Reads the generated action file the way the host reads it.
class ActionFileReader {
 public:
  explicit ActionFileReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  std::uint8_t Byte() {
    if (at_ >= bytes_.size()) {
      ADD_FAILURE() << "read past the end at " << at_;
      return 0;
    }
    return bytes_[at_++];
  }
  std::uint32_t Short() { return std::uint32_t(Byte()) << 8 | Byte(); }
  std::uint32_t Long() { return Short() << 16 | Short(); }
  std::uint32_t LongLittleEndian() {
    const std::uint32_t b0 = Byte(), b1 = Byte(), b2 = Byte(), b3 = Byte();
    return b0 | b1 << 8 | b2 << 16 | b3 << 24;
  }
  std::string Code() {
    std::string code;
    for (int i = 0; i < 4; ++i) code += char(Byte());
    return code;
  }
  std::string Ascii(std::uint32_t count) {
    std::string text;
    for (std::uint32_t i = 0; i < count; ++i) text += char(Byte());
    return text;
  }
  // UTF-16 big-endian units, each kept when it is ASCII ('?' otherwise).
  std::string UnicodeBigEndian(std::uint32_t units) {
    std::string text;
    for (std::uint32_t i = 0; i < units; ++i) {
      const std::uint32_t unit = Short();
      text += unit < 0x80 ? char(unit) : '?';
    }
    return text;
  }
  std::u16string UnicodeLittleEndian(std::uint32_t units) {
    std::u16string text;
    for (std::uint32_t i = 0; i < units; ++i) {
      const std::uint32_t low = Byte();
      text += char16_t(low | std::uint32_t(Byte()) << 8);
    }
    return text;
  }
  std::size_t Left() const { return bytes_.size() - at_; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

TEST(ActivationActionFile, HoldsTheSetTheActionAndItsScriptStepFieldByField) {
  const std::u16string script = u"C:\\Temp\\UIActivate.jsx";
  const std::vector<std::uint8_t> bytes = BuildActivationActionFile(script);
  ActionFileReader file(bytes);
  EXPECT_EQ(file.Long(), 16u) << "file version";
  EXPECT_EQ(file.Long(), 12u) << "set name length";
  EXPECT_EQ(file.UnicodeBigEndian(12), std::string("Quillbright", 12));
  EXPECT_EQ(file.Byte(), 1) << "set expanded";
  EXPECT_EQ(file.Long(), 1u) << "action count";
  EXPECT_EQ(file.Short(), 0u) << "function key";
  EXPECT_EQ(file.Byte(), 0) << "shift";
  EXPECT_EQ(file.Byte(), 0) << "command";
  EXPECT_EQ(file.Short(), 0u) << "colour";
  EXPECT_EQ(file.Long(), 11u) << "action name length";
  EXPECT_EQ(file.UnicodeBigEndian(11), std::string("UIActivate", 11));
  EXPECT_EQ(file.Byte(), 0) << "action expanded";
  EXPECT_EQ(file.Long(), 1u) << "step count";
  EXPECT_EQ(file.Byte(), 0) << "step expanded";
  EXPECT_EQ(file.Byte(), 1) << "enabled";
  EXPECT_EQ(file.Byte(), 0) << "with dialog";
  EXPECT_EQ(file.Byte(), 1) << "dialog options";
  EXPECT_EQ(file.Code(), "TEXT");
  EXPECT_EQ(file.Long(), 29u);
  EXPECT_EQ(file.Ascii(29), "AdobeScriptAutomation Scripts");
  EXPECT_EQ(file.Long(), 8u);
  EXPECT_EQ(file.Ascii(8), "Skripten");
  EXPECT_EQ(file.Long(), 0xFFFFFFFFu) << "descriptor present";
  EXPECT_EQ(file.Long(), 1u) << "class name length";
  EXPECT_EQ(file.Short(), 0u) << "class name";
  EXPECT_EQ(file.Long(), 0u);
  EXPECT_EQ(file.Code(), "null");
  EXPECT_EQ(file.Long(), 2u) << "item count";
  EXPECT_EQ(file.Long(), 0u);
  EXPECT_EQ(file.Code(), "jsCt");
  EXPECT_EQ(file.Code(), "Pth ");
  const std::uint32_t n = 23;  // 22 characters and the zero
  EXPECT_EQ(file.Long(), 12 + 2 * n) << "path record length";
  EXPECT_EQ(file.Code(), "txtu");
  EXPECT_EQ(file.LongLittleEndian(), 12 + 2 * n);
  EXPECT_EQ(file.LongLittleEndian(), n);
  EXPECT_EQ(file.UnicodeLittleEndian(n), script + u'\0');
  EXPECT_EQ(file.Long(), 0u);
  EXPECT_EQ(file.Code(), "jsMs");
  EXPECT_EQ(file.Code(), "TEXT");
  EXPECT_EQ(file.Long(), 10u);
  EXPECT_EQ(file.UnicodeBigEndian(10), std::string("undefined", 10));
  EXPECT_EQ(file.Left(), 0u) << "nothing after the last item";
}

TEST(ActivationActionFile, PathOutsideAsciiKeepsItsUnitsLittleEndian) {
  const std::u16string script = u"C:\\T\u00E9mp\u4E2D\\a.jsx";
  const std::vector<std::uint8_t> bytes = BuildActivationActionFile(script);
  // The record's characters sit 20 bytes (the two text items) before the end.
  const std::size_t recordEnd = bytes.size() - (8 + 4 + 4 + 20);
  const std::size_t pathStart = recordEnd - 2 * (script.size() + 1);
  EXPECT_EQ(bytes[pathStart + 2 * 4], 0xE9);
  EXPECT_EQ(bytes[pathStart + 2 * 4 + 1], 0x00);
  EXPECT_EQ(bytes[pathStart + 2 * 7], 0x2D);
  EXPECT_EQ(bytes[pathStart + 2 * 7 + 1], 0x4E);
  EXPECT_EQ(bytes[recordEnd - 2], 0);
  EXPECT_EQ(bytes[recordEnd - 1], 0);
}

TEST(ScriptPath, DriveMovesBehindASlashAndBackslashesTurn) {
  EXPECT_EQ(ToScriptPath("C:\\Temp\\x.atn"), "/C/Temp/x.atn");
  EXPECT_EQ(ToScriptPath("d:\\a b\\c.atn"), "/d/a b/c.atn");
  EXPECT_EQ(ToScriptPath("C:x.atn"), "/C/x.atn");
  EXPECT_EQ(ToScriptPath("\\\\server\\share\\x.atn"), "//server/share/x.atn");
  EXPECT_EQ(ToScriptPath(""), "");
}

TEST(LoadActionScript, QuotesInThePathAreEscapedAndTheScriptIsWhole) {
  char script[kBridgeScriptSize];
  ASSERT_TRUE(BuildLoadActionScript("C:\\Users\\O'Brien\\it's.atn", false, script, sizeof script));
  EXPECT_STREQ(script, R"(var atnFile = new File('/C/Users/O\'Brien/it\'s.atn'); app.load(atnFile);)");
  ASSERT_TRUE(BuildLoadActionScript("C:\\Temp\\Quillbright.atn", true, script, sizeof script));
  EXPECT_STREQ(script,
               "var atnFile = new File('/C/Temp/Quillbright.atn'); app.load(atnFile);"
               " app.doAction('UIActivate','Quillbright');");
}

TEST(LoadActionScript, APathThatDoesNotFitIsRefusedNotCut) {
  char script[kBridgeScriptSize];
  // 511 characters fit the path buffer; every quote doubles in the script.
  const std::string longest = "C:\\" + std::string(508, 'a');
  EXPECT_TRUE(BuildLoadActionScript(longest, false, script, sizeof script));
  EXPECT_FALSE(BuildLoadActionScript(longest + "a", false, script, sizeof script));
  EXPECT_STREQ(script, "");
  const std::string quotes = "C:\\" + std::string(500, '\'');
  EXPECT_FALSE(BuildLoadActionScript(quotes, false, script, sizeof script));
  EXPECT_FALSE(BuildLoadActionScript("", false, script, sizeof script));
  char small[40];
  EXPECT_FALSE(BuildLoadActionScript("C:\\x.atn", false, small, sizeof small));
  EXPECT_STREQ(small, "");
}

TEST(ScriptListing, TakesNamesWithJsButNeverTheFolderEntries) {
  // A listing need not begin with "." : a script first is still a script.
  const std::vector<std::string> listing = {"First.jsx", ".", "..", "notes.js.txt", "readme.txt",
                                            "Packed.jsxbin", "plain.js", "JS.JSX"};
  std::vector<std::string> listed;
  for (const std::string& name : listing)
    if (IsListedScriptName(name)) listed.push_back(name);
  EXPECT_EQ(listed, (std::vector<std::string>{"First.jsx", "notes.js.txt", "Packed.jsxbin", "plain.js"}));
}

TEST(ScriptListing, LabelsLoseTheLastExtensionOnly) {
  EXPECT_EQ(ScriptLabel("notes.js.txt"), "notes.js");
  EXPECT_EQ(ScriptLabel("Image Processor.jsx"), "Image Processor");
  EXPECT_EQ(ScriptLabel("noextension"), "noextension");
  EXPECT_EQ(ScriptLabelOfPath("C:\\a.b\\Tidy.jsx"), "Tidy");
  EXPECT_EQ(FolderOfPath("C:\\Scripts\\Tidy.jsx"), "C:\\Scripts\\");
  EXPECT_EQ(FolderOfPath("Tidy.jsx"), "");
}

TEST(ScriptListing, ImageProcessorIsHiddenOnlyInVersionEight) {
  EXPECT_TRUE(ScriptItemHidden("Image Processor", 8));
  EXPECT_FALSE(ScriptItemHidden("Image Processor", 9));
  EXPECT_FALSE(ScriptItemHidden("Image Processor", 7));
  EXPECT_FALSE(ScriptItemHidden("Image Processor 2", 8));
  EXPECT_FALSE(ScriptItemHidden("image processor", 8));
}

TEST(ActionGroups, EachRunOfOneSetIsOneGroupAndDeletedOnce) {
  const std::vector<std::string> sets = {"A", "A", "B", "B", "", "A"};
  EXPECT_FALSE(StartsActionGroup(sets, 0));
  EXPECT_FALSE(StartsActionGroup(sets, 1));
  EXPECT_TRUE(StartsActionGroup(sets, 2));
  EXPECT_TRUE(StartsActionGroup(sets, 4));
  EXPECT_TRUE(StartsActionGroup(sets, 5));
  EXPECT_FALSE(StartsActionGroup(sets, 6));
  EXPECT_EQ(ActionSetsToDelete(sets), (std::vector<std::string>{"A", "B", "", "A"}));
  EXPECT_TRUE(ActionSetsToDelete({}).empty());
}

}  // namespace
