// The module's keyboard shortcuts: the fixed table, the hook's rule, the
// texts the menus show, and the two host events the clipboard shortcuts play.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Kinds of a row: run one of the module's commands; play one of the host's
// events with its dialog; make a new image from the clipboard (3 always, 4
// only with no document open); duplicate the layer.
constexpr std::int32_t kShortcutCommand = -1;
constexpr std::int32_t kShortcutNewFromClipboard = 3;
constexpr std::int32_t kShortcutNewWhenNoDocument = 4;
constexpr std::int32_t kShortcutDuplicateLayer = 5;

struct ShortcutRow {
  std::int32_t Kind;
  std::int32_t VersionA;   // host versions the row works in: see VersionPairAdmits
  std::int32_t VersionB;
  std::int32_t Code;       // the command identifier or the host event; otherwise 0
  std::int32_t VirtualKey;
  std::int32_t Ctrl;       // 1: the modifier must be down, 0: it must be up
  std::int32_t Shift;
  std::int32_t Alt;
};

constexpr std::size_t kShortcutCount = 22;
extern const ShortcutRow ShortcutTable[kShortcutCount];

// What the Preferences' Key Shortcuts page names a row that runs no command
// of the module, by kind (0 to 5).
constexpr std::size_t kShortcutKindCount = 6;
inline constexpr const char* ShortcutKindNames[kShortcutKindCount] = {
    "Fill...", "Lens Correction...", "Liquify...", "New Image from Clipboard", "New Image from Clipboard",
    "Duplicate Layer",
};

constexpr std::size_t kShortcutTextSize = 256;

// Writes the row's text ("Alt+Shift+Ctrl+O") into a buffer of
// kShortcutTextSize characters; returns 1.
int FormatShortcut(const ShortcutRow& row, char* text);
// Appends the text of the first command row for `id` (in any version) to the
// label, cut to `size`; nothing when no row runs that command.
void AppendShortcutText(std::int32_t id, char* label, std::size_t size);

// The first row a fresh key-down of `virtualKey` with exactly these
// modifiers matches, whatever the version; -1 for none.
int FindShortcutRow(WPARAM virtualKey, bool ctrl, bool shift, bool alt);
// Whether the hook looks at a key at all: shortcuts on, a key event, the
// editor's main window in front, and a key going down that was up.
bool ShortcutKeyConsidered(bool disabled, int code, bool mainWindowInFront, LPARAM keyInfo);

// Whether the key (or mouse button, by its logical meaning) is down now.
bool KeyIsDown(int virtualKey);

// The keyboard hook's work: true when the key was taken.
bool HandleShortcutKey(int code, WPARAM wParam, LPARAM lParam);
