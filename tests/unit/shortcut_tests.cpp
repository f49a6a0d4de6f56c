// The module's keyboard shortcuts: which key presses the hook takes, the
// texts the menus show, and the two events of the clipboard shortcuts.
#include <windows.h>

#include <cstring>
#include <string>

#include "commands/document_commands.h"
#include "entry/module_state.h"
#include "localization/dialog_labels.h"
#include "plugin_fixture.h"
#include "settings/shortcuts.h"

namespace {

using ShortcutTest = PluginTest;

std::string TextOf(int row) {
  char text[kShortcutTextSize];
  EXPECT_EQ(FormatShortcut(ShortcutTable[row], text), 1);
  return text;
}

TEST(ShortcutRule, OnlyAFreshKeyDownWithTheEditorInFrontIsLookedAt) {
  const LPARAM fresh = 1;                        // one key-down, previous state up
  const LPARAM repeat = LPARAM(ULONG_PTR(fresh) | 0x40000000u);
  const LPARAM release = LPARAM(ULONG_PTR(fresh) | 0xC0000000u);
  EXPECT_TRUE(ShortcutKeyConsidered(false, HC_ACTION, true, fresh));
  EXPECT_FALSE(ShortcutKeyConsidered(false, HC_ACTION, true, repeat)) << "auto-repeat";
  EXPECT_FALSE(ShortcutKeyConsidered(false, HC_ACTION, true, release));
  EXPECT_FALSE(ShortcutKeyConsidered(false, HC_ACTION, false, fresh)) << "another window in front";
  EXPECT_FALSE(ShortcutKeyConsidered(false, HC_NOREMOVE, true, fresh)) << "a peek, not the key itself";
  EXPECT_FALSE(ShortcutKeyConsidered(true, HC_ACTION, true, fresh)) << "shortcuts switched off";
}

TEST(ShortcutRule, ModifiersMustMatchExactlyAndTheFirstRowWins) {
  struct Case {
    WPARAM key;
    bool ctrl, shift, alt;
    int row;
  };
  const Case cases[] = {
      {'M', true, false, false, 11},    // Curves
      {'M', true, true, false, -1},     // Ctrl+Shift+M is no shortcut
      {'M', false, false, false, -1},
      {'B', true, false, false, 12},    // Color Balance
      {'B', true, true, true, 13},      // Black & White
      {'4', true, false, false, 3},     // channel RGB
      {'4', true, false, true, 7},      // selection from Luminosity
      {VK_F5, false, true, false, 2},   // the host's Fill
      {VK_F5, false, false, false, -1},
      {'V', true, false, false, 20},
      {'N', false, true, false, 19},
      {'Q', false, true, false, 15},
      {'Q', true, true, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " ctrl " << c.ctrl << " shift " << c.shift << " alt " << c.alt);
    EXPECT_EQ(FindShortcutRow(c.key, c.ctrl, c.shift, c.alt), c.row);
  }
}

TEST_F(ShortcutTest, SwitchedOffTheHookTakesNoKeyAndPlaysNothing) {
  StartHost();
  HostMajorVersion = 8;
  ShortcutsDisabled = true;
  MainWindow = GetForegroundWindow();
  for (WPARAM key : {WPARAM('M'), WPARAM('V'), WPARAM(VK_F5), WPARAM('N'), WPARAM('Q')})
    EXPECT_FALSE(HandleShortcutKey(HC_ACTION, key, 1)) << key;
  EXPECT_TRUE(Take({"play", "step-begin", "message"}).empty());
}

TEST_F(ShortcutTest, TextsPutAltShiftCtrlBeforeTheKeyInTheEditorsOwnNames) {
  StartHost();
  HostMajorVersion = 3;  // older editors: fixed names
  EXPECT_EQ(TextOf(0), "Alt+Shift+Ctrl+O");
  EXPECT_EQ(TextOf(2), "Shift+F5");
  EXPECT_EQ(TextOf(7), "Alt+Ctrl+4");
  HostIsGerman = true;
  EXPECT_EQ(TextOf(0), "Alt+Umschalt+Strg+O");
  EXPECT_EQ(TextOf(15), "Umschalt+Q");

  // From 4 on, the names are the host's translations, whatever the language.
  HostMajorVersion = 4;
  EXPECT_EQ(TextOf(1), "Shift+Ctrl+F");   // a slot not translated yet: its English default
  std::strcpy(DialogLabelTable[37], "Ctrl");
  EXPECT_EQ(TextOf(1), "Shift+Ctrl+F");
  std::strcpy(DialogLabelTable[37], "Strg");
  std::strcpy(DialogLabelTable[36], "Umschalt");
  std::strcpy(DialogLabelTable[35], "Wahl");
  EXPECT_EQ(TextOf(13), "Wahl+Umschalt+Strg+B");
  // A name as long as a slot holds is cut to the 31 characters a modifier
  // part keeps, its "+" with it.
  std::memset(DialogLabelTable[37], 'C', kDialogLabelSize - 1);
  DialogLabelTable[37][kDialogLabelSize - 1] = '\0';
  EXPECT_EQ(TextOf(18), std::string(31, 'C') + "Y");
  ResetDialogLabels();
}

TEST_F(ShortcutTest, AMenuLabelGetsTheTextOfItsCommandsFirstRowOnly) {
  StartHost();
  HostMajorVersion = 4;   // Curves' row is out of this version: the text shows all the same
  char label[64] = "Curves...";
  AppendShortcutText(0x8818, label, sizeof label);
  EXPECT_STREQ(label, "Curves...Ctrl+M");

  char none[16] = "Crisp";
  AppendShortcutText(0x8824, none, sizeof none);
  EXPECT_STREQ(none, "Crisp");
  char zero[16] = "x";
  AppendShortcutText(0, zero, sizeof zero);   // rows of the host's events have code 0 too, but are no commands
  EXPECT_STREQ(zero, "x");

  char tight[10] = "Fade...";
  AppendShortcutText(0x8807, tight, sizeof tight);
  EXPECT_STREQ(tight, "Fade...Sh");   // cut, never past the buffer
}

TEST_F(ShortcutTest, TheClipboardShortcutsPlayANewImageAndAPasteWithoutAntiAlias) {
  StartHost(R"({"documents": [], "clipboard": {"image": [300, 200]}})");
  HostMajorVersion = 8;
  EXPECT_EQ(NewDocumentFromClipboard(), 0);
  EXPECT_EQ(Paste(), 0);
  ExpectLines(Take({"play", "error"}),
              {{R"({"kind":"play","event":"Mk  ","mode":2,"result":0,"descriptor":
                   [["Nw  ",{"object":"Dcmn","items":[["preset",{"string":"Clipboard"}]]}]]})"},
               {R"({"kind":"play","event":"past","mode":2,"result":0,"descriptor":[["AntA",{"enum":["Annt","Anno"]}]]})"}});

  // Nothing on the clipboard: the host cannot make the image.
  StartHost(R"({"documents": [], "clipboard": null})");
  EXPECT_EQ(NewDocumentFromClipboard(), -25920);
  EXPECT_TRUE(Take({"error"}).empty());
}

}  // namespace
