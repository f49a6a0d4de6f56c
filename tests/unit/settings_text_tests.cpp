// The settings file's text as users and earlier versions leave it, read and
// written without the file system; and the preference script made from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/preference_script.h"
#include "settings/settings_text.h"

namespace {

constexpr SettingsValues kAllZero = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// A file as a version 8 editor's module writes it after the user loaded two
// action files and ran a script.
constexpr const char* kWritten =
    "Quillbright1.0\r\n"
    "0\r\n1\r\n0\r\n1\r\n1\r\n2\r\n0\r\n1\r\n1\r\n0\r\n"
    "C:\\Scripts\\tidy.jsx\r\n"
    "2\r\n"
    "C:\\Users\\Public\\Sepia Tones.atn\r\n"
    "D:\\atn\\it's mine.atn\r\n";

TEST(SettingsText, AFileOfEveryFieldReadsWhole) {
  const SettingsContent read = ReadSettingsText(kWritten);
  EXPECT_EQ(read.values, (SettingsValues{0, 1, 0, 1, 1, 2, 0, 1, 1, 0}));
  EXPECT_EQ(read.scriptPath, "C:\\Scripts\\tidy.jsx");
  EXPECT_EQ(read.actionFiles,
            (std::vector<std::string>{"C:\\Users\\Public\\Sepia Tones.atn", "D:\\atn\\it's mine.atn"}));
  // The same with bare line feeds, a header of another version, blanks
  // around the numbers and no line end at the end of the file.
  const SettingsContent loose = ReadSettingsText(
      "anything at all\n 0\n1 \n\n0\n\t1\n1\n2\n0\n1\n1\n0   \n"
      "C:\\Scripts\\tidy.jsx\n2\nC:\\Users\\Public\\Sepia Tones.atn\nD:\\atn\\it's mine.atn");
  EXPECT_EQ(loose.values, read.values);
  EXPECT_EQ(loose.scriptPath, read.scriptPath);
  EXPECT_EQ(loose.actionFiles, read.actionFiles);
}

TEST(SettingsText, WritingGivesTheLinesOfTheFile) {
  const SettingsValues values = {0, 1, 0, 1, 1, 2, 0, 1, 1, 0};
  const std::vector<std::string> files = {"C:\\Users\\Public\\Sepia Tones.atn", "D:\\atn\\it's mine.atn"};
  EXPECT_EQ(WriteSettingsText(values, "C:\\Scripts\\tidy.jsx", files, true), kWritten);
  // Editors that keep their own action files: 0 and no path; no script: "0".
  EXPECT_EQ(WriteSettingsText({1, 0, 0, 0, 0, 0, 1, 0, 0, -7}, "", files, false),
            "Quillbright1.0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n-7\r\n0\r\n0\r\n");
  EXPECT_EQ(WriteSettingsText(kSettingsDefaults, "", {}, true),
            "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(SettingsText, TheDefaultsStandFromTheFirstValueThatCannotBeRead) {
  struct Case {
    const char* why;
    const char* text;
    SettingsValues values;
  };
  const Case cases[] = {
      {"an empty file", "", kSettingsDefaults},
      {"only the header", "Quillbright1.0\r\n", kSettingsDefaults},
      {"a word in the third line", "Quillbright1.0\r\n1\r\n1\r\nyes\r\n1\r\n1\r\n", {1, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"a file cut after two values", "Quillbright1.0\r\n1\r\n1", {1, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"digits run into letters", "h\n5\n3x\n4\n", {5, 3, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"a sign with no digits", "h\n-\n4\n", kSettingsDefaults},
      {"a number beyond 32 bits", "h\n0\n1\n2147483648\n9\n", {0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
      {"the 32-bit extremes", "h\n2147483647\n-2147483648\n+3\n", {2147483647, -2147483647 - 1, 3, 0, 0, 0, 1, 0, 0, 0}},
      {"a header only, no line end", "Quillbright1.0", kSettingsDefaults},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const SettingsContent read = ReadSettingsText(c.text);
    EXPECT_EQ(read.values, c.values);
    EXPECT_TRUE(read.scriptPath.empty());
    EXPECT_TRUE(read.actionFiles.empty());
  }
  // A damaged tenth value: the path and the action files after it are not
  // taken either, since where they begin is no longer known.
  const SettingsContent late = ReadSettingsText("h\n1\n1\n1\n1\n1\n1\n1\n1\n1\n?\nC:\\a.jsx\n1\nC:\\a.atn\n");
  EXPECT_EQ(late.values, (SettingsValues{1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
  EXPECT_TRUE(late.scriptPath.empty());
  EXPECT_TRUE(late.actionFiles.empty());
}

TEST(SettingsText, TheScriptPathLine) {
  const std::string ten = "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n";
  EXPECT_EQ(ReadSettingsText(ten + "0\r\n0\r\n").scriptPath, "");
  // Anything beginning with "0" is no path, as earlier versions read it.
  EXPECT_EQ(ReadSettingsText(ten + "0ld.jsx\r\n").scriptPath, "");
  EXPECT_EQ(ReadSettingsText(ten).scriptPath, "");
  EXPECT_EQ(ReadSettingsText(ten + "C:\\my scripts\\a b.jsx  \r\n").scriptPath, "C:\\my scripts\\a b.jsx  ");
  // A lone CR is part of the line; a zero byte ends the path.
  EXPECT_EQ(ReadSettingsText(ten + "C:\\a\r.jsx\r\n").scriptPath, "C:\\a\r.jsx");
  EXPECT_EQ(ReadSettingsText(ten + std::string("C:\\a.jsx\0junk\r\n", 15)).scriptPath, "C:\\a.jsx");
  // 259 characters fit the module's buffer; one more and the whole line is
  // passed over, and the count after it is still read.
  const std::string fits = "C:\\" + std::string(256, 'f');
  EXPECT_EQ(ReadSettingsText(ten + fits + "\r\n0\r\n").scriptPath, fits);
  const SettingsContent over = ReadSettingsText(ten + fits + "g\r\n1\r\nC:\\a.atn\r\n");
  EXPECT_EQ(over.scriptPath, "");
  EXPECT_EQ(over.actionFiles, std::vector<std::string>{"C:\\a.atn"});
}

TEST(SettingsText, TheActionFileLines) {
  const std::string head = "Quillbright1.0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\nC:\\s.jsx\r\n";
  const std::string tooLong = "C:\\" + std::string(300, 'x');
  struct Case {
    const char* why;
    std::string rest;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"no count", "", {}},
      {"a count that is no number", "many\r\nC:\\a.atn\r\n", {}},
      {"a negative count", "-2\r\nC:\\a.atn\r\n", {}},
      {"more lines than the count", "1\r\nC:\\a.atn\r\nC:\\b.atn\r\n", {"C:\\a.atn"}},
      {"fewer lines than the count", "2147483647\r\nC:\\a.atn\r\n", {"C:\\a.atn"}},
      // Over-long and empty lines are passed over but counted.
      {"an over-long line among them", "3\r\n" + tooLong + "\r\nC:\\b.atn\r\nC:\\c.atn\r\n", {"C:\\b.atn", "C:\\c.atn"}},
      {"an empty line among them", "3\r\nC:\\a.atn\r\n\r\nC:\\c.atn\r\n", {"C:\\a.atn", "C:\\c.atn"}},
      {"the last line without a line end", "2\r\nC:\\a.atn\r\nC:\\b.atn", {"C:\\a.atn", "C:\\b.atn"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const SettingsContent read = ReadSettingsText(head + c.rest);
    EXPECT_EQ(read.scriptPath, "C:\\s.jsx");
    EXPECT_EQ(read.actionFiles, c.files);
  }
}

TEST(PreferenceScript, TheScriptForAFileOfChoices) {
  char script[kPreferenceScriptSize];
  BuildPreferenceScript({0, 1, 0, 1, 1, 2, 0, 1, 1, 0}, script);
  EXPECT_STREQ(script,
               "app.preferences.autoUpdateOpenDocuments =  1;\n"
               "app.preferences.fontPreviewSize =  FontPreviewType.LARGE;\n"
               "app.preferences.interpolation =  ResampleMethod.BICUBICSHARPER;\n"
               "app.preferences.createFirstSnapshot =  0;\n"
               "app.preferences.nonLinearHistory =  1;\n"
               "var value =  1;\n"
               " app.preferences.useHistoryLog = value;\n"
               " if (value) {\n"
               "app.preferences.saveLogItems = SaveLogItemsType.METADATA;\n"
               " app.preferences.editLogItems = EditLogItemsType.DETAILED;\n"
               "}");
}

TEST(PreferenceScript, InterpolationAndFontSizeByValue) {
  struct Case {
    int interpolation;
    int fontSize;
    const char* line;  // the interpolation line, or none
    const char* font;
  };
  const Case cases[] = {
      {0, 0, "app.preferences.interpolation =  ResampleMethod.BICUBIC;\n", "FontPreviewType.MEDIUM;"},
      {1, -1, "app.preferences.interpolation =  ResampleMethod.BICUBICSMOOTHER;\n", "FontPreviewType.LARGE;"},
      // Only a hand-edited file holds these: the host's own choice stays.
      {3, 5, nullptr, "FontPreviewType.LARGE;"},
      {-1, 0, nullptr, "FontPreviewType.MEDIUM;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interpolation);
    SettingsValues values = kAllZero;
    values[kSettingInterpolation] = c.interpolation;
    values[kSettingLargeFontPreview] = c.fontSize;
    char script[kPreferenceScriptSize];
    BuildPreferenceScript(values, script);
    const std::string text = script;
    if (c.line)
      EXPECT_NE(text.find(c.line), std::string::npos) << text;
    else
      EXPECT_EQ(text.find("interpolation"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("app.preferences.fontPreviewSize =  ") + c.font), std::string::npos) << text;
    EXPECT_NE(text.find("\napp.preferences.createFirstSnapshot =  0;\n"), std::string::npos) << text;
  }
  // The widest values still fit the buffer whole.
  char script[kPreferenceScriptSize];
  BuildPreferenceScript({-2147483647 - 1, 0, 0, -2147483647 - 1, 0, 0, -2147483647 - 1, -2147483647 - 1,
                         -2147483647 - 1, 0},
                        script);
  EXPECT_NE(std::string(script).find("var value =  -2147483648;\n"), std::string::npos);
  EXPECT_TRUE(std::string(script).ends_with("EditLogItemsType.DETAILED;\n}"));
}

}  // namespace
