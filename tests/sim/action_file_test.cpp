// The host's reader of action files: the file the plug-in writes, read
// field by field, and the files it refuses with their reason.
#include <gtest/gtest.h>

#include "action_file.h"
#include "action_file_layout.h"

namespace {

using sim::ReadActionFile;

// The plug-in's UIActivate file, byte for byte as its layout gives it.
std::string UiActivateFile(const std::string& script) {
  return layout::ActionFile("Quillbright", {{"UIActivate", {{script}}}});
}

std::string Error(const std::string& bytes) {
  std::string error;
  EXPECT_FALSE(ReadActionFile(bytes, &error).has_value());
  return error;
}

TEST(ActionFile, ThePluginsFileReadsAsOneSetWithOneScriptStep) {
  const std::string file = UiActivateFile("C:\\Temp\\UIActivate.jsx");
  // 4 + 4 + 24 + 1 + 4, the action's 6 + 4 + 22 + 1 + 4, the step's 4 + 4 +
  // 4 + 29 + 4 + 8 + 4, the descriptor's 4 + 2 + 4 + 4 + 4, jsCt's 8 + 4 + 4
  // + 12 + 2n (n = 23 with the zero), jsMs's 8 + 4 + 4 + 20.
  EXPECT_EQ(file.size(), 37u + 37u + 57u + 18u + 74u + 36u);
  std::string error;
  const auto set = ReadActionFile(file, &error);
  ASSERT_TRUE(set.has_value()) << error;
  EXPECT_EQ(set->name, "Quillbright");
  ASSERT_EQ(set->actions.size(), 1u);
  EXPECT_EQ(set->actions[0].name, "UIActivate");
  ASSERT_EQ(set->actions[0].steps.size(), 1u);
  const sim::ActionFileStep& step = set->actions[0].steps[0];
  EXPECT_EQ(step.event, "AdobeScriptAutomation Scripts");
  EXPECT_EQ(step.displayName, "Skripten");
  EXPECT_TRUE(step.enabled);
  EXPECT_FALSE(step.withDialog);
  EXPECT_EQ(step.script, "C:\\Temp\\UIActivate.jsx");
  EXPECT_EQ(step.message, "undefined");
}

TEST(ActionFile, SeveralActionsOtherItemTypesAndAnEventByCode) {
  // One action of two script steps, one of none, and a third whose step is
  // an event by code with a descriptor of further item types.
  std::string file;
  layout::U32(file, 16);
  layout::Unicode(file, "Mixed");
  layout::U8(file, 0);
  layout::U32(file, 3);
  auto action = [&](const char* name, unsigned steps) {
    layout::U16(file, 2);
    layout::U8(file, 1);
    layout::U8(file, 0);
    layout::U16(file, 3);
    layout::Unicode(file, name);
    layout::U8(file, 1);
    layout::U32(file, steps);
  };
  action("Two", 2);
  layout::ScriptStep(file, {"C:\\one.jsx", "first"});
  layout::ScriptStep(file, {"C:\\two.jsx", "second"});
  action("None", 0);
  action("Coded", 1);
  for (unsigned flag : {1u, 0u, 1u, 0u}) layout::U8(file, flag);
  layout::Code(file, "long");
  layout::Code(file, "Shrp");
  layout::Narrow(file, "Sharpen");
  layout::U32(file, 0xFFFFFFFFu);
  layout::Unicode(file, "");
  layout::KeyCode(file, "null");
  layout::U32(file, 6);
  layout::KeyCode(file, "Amnt");
  layout::Code(file, "UntF");
  layout::Code(file, "#Prc");
  file.append(8, '\0');
  layout::U32(file, 5);   // a string key
  file += "radii";
  layout::Code(file, "VlLs");
  layout::U32(file, 2);
  layout::Code(file, "long");
  layout::U32(file, 7);
  layout::Code(file, "bool");
  layout::U8(file, 1);
  layout::KeyCode(file, "Md  ");
  layout::Code(file, "enum");
  layout::KeyCode(file, "BlnM");
  layout::KeyCode(file, "Nrml");
  layout::KeyCode(file, "T   ");
  layout::Code(file, "Objc");
  layout::Unicode(file, "");
  layout::KeyCode(file, "Lyr ");
  layout::U32(file, 1);
  layout::KeyCode(file, "Nm  ");
  layout::Code(file, "TEXT");
  layout::Unicode(file, "Layer 1");
  layout::KeyCode(file, "At  ");
  layout::Code(file, "obj ");
  layout::U32(file, 2);
  layout::Code(file, "Enmr");
  layout::Unicode(file, "");
  layout::KeyCode(file, "Lyr ");
  layout::KeyCode(file, "Ordn");
  layout::KeyCode(file, "Trgt");
  layout::Code(file, "indx");
  layout::Unicode(file, "");
  layout::KeyCode(file, "Dcmn");
  layout::U32(file, 1);
  layout::KeyCode(file, "jsCt");   // a path not in the "txtu" form is read past when it is no script's
  layout::Code(file, "alis");
  layout::U32(file, 3);
  file += "abc";

  std::string error;
  const auto set = ReadActionFile(file, &error);
  ASSERT_TRUE(set.has_value()) << error;
  ASSERT_EQ(set->actions.size(), 3u);
  EXPECT_EQ(set->actions[0].steps.size(), 2u);
  EXPECT_EQ(set->actions[0].steps[1].script, "C:\\two.jsx");
  EXPECT_EQ(set->actions[0].steps[1].message, "second");
  EXPECT_TRUE(set->actions[1].steps.empty());
  const sim::ActionFileStep& coded = set->actions[2].steps.at(0);
  EXPECT_EQ(coded.event, "Shrp");
  EXPECT_FALSE(coded.enabled);
  EXPECT_TRUE(coded.withDialog);
  EXPECT_TRUE(coded.script.empty());
}

TEST(ActionFile, FilesTheHostDoesNotReadAreRefusedWithTheirReason) {
  const std::string good = UiActivateFile("C:\\a.jsx");
  EXPECT_EQ(Error(""), "the file version runs past the end of the file at byte 0");
  std::string old = good;
  old[3] = 12;
  EXPECT_EQ(Error(old), "file version 12, not 16 at byte 4");
  EXPECT_EQ(Error(good + "x"), "1 bytes after the action set at byte " + std::to_string(good.size()));
  for (size_t cut = 1; cut < good.size(); cut += 7) EXPECT_FALSE(ReadActionFile(good.substr(0, cut), nullptr)) << cut;

  // The path record: its signature, its two lengths, its count, its zero.
  const size_t record = good.find("txtu");
  ASSERT_NE(record, std::string::npos);
  std::string unsigned_ = good;
  unsigned_[record] = 'X';
  EXPECT_EQ(Error(unsigned_).substr(0, 42), "a path record not in the \"txtu\" form at by");
  std::string lengths = good;
  lengths[record + 4] ^= 1;
  EXPECT_TRUE(Error(lengths).starts_with("a path record whose two lengths differ")) << Error(lengths);
  std::string count = good;
  count[record + 8] ^= 1;
  EXPECT_TRUE(Error(count).starts_with("a path record whose character count")) << Error(count);
  std::string unterminated = good;
  const size_t zero = good.find(std::string("\0\0", 2), record + 12 + 2 * 8) ;
  ASSERT_NE(zero, std::string::npos);
  unterminated[zero] = 'x';
  EXPECT_TRUE(Error(unterminated).starts_with("a path without its terminating zero")) << Error(unterminated);

  // An item type no descriptor holds, and a name longer than the file.
  std::string type = good;
  type.replace(good.find("TEXT", record), 4, "Wat?");
  EXPECT_TRUE(Error(type).starts_with("an item type the host does not read (\"Wat?\")")) << Error(type);
  std::string longName = good;
  longName[4] = '\x7F';
  EXPECT_TRUE(Error(longName).starts_with("the set's name runs past the end")) << Error(longName);
}

TEST(ActionFile, NamesAreUtf16AndALoneSurrogateReadsAsAReplacement) {
  std::string file;
  layout::U32(file, 16);
  layout::U32(file, 5);
  for (unsigned unit : {0x00E9u, 0xD83Du, 0xDE00u, 0xD800u, 0u}) layout::U16(file, unit);
  layout::U8(file, 1);
  layout::U32(file, 0);
  const auto set = ReadActionFile(file, nullptr);
  ASSERT_TRUE(set.has_value());
  EXPECT_EQ(set->name, "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD");
  EXPECT_TRUE(set->actions.empty());
}

}  // namespace
