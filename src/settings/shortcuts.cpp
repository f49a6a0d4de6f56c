#include "settings/shortcuts.h"

#include <cstdio>
#include <cstring>

#include "commands/dispatcher.h"
#include "commands/document_commands.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "localization/dialog_labels.h"
#include "menus/version_pair.h"

namespace {

constexpr std::int32_t Key(char c) { return std::int32_t(static_cast<unsigned char>(c)); }
constexpr std::int32_t kF5 = VK_F5;

}  // namespace

const ShortcutRow ShortcutTable[kShortcutCount] = {
    // Kind, A, B, Code, key, Ctrl, Shift, Alt
    {-1, 3, 0, 0x8800, Key('O'), 1, 1, 1},           // Browse in Organizer
    {-1, 1, 0, 0x8807, Key('F'), 1, 1, 0},           // Fade
    {0, 1, 0, std::int32_t(FourCC("Fl  ")), kF5, 0, 1, 0},   // the host's Fill
    {-1, 1, 0, 0x880F, Key('4'), 1, 0, 0},           // channel RGB
    {-1, 1, 0, 0x8810, Key('5'), 1, 0, 0},           // channel Red
    {-1, 1, 0, 0x8811, Key('6'), 1, 0, 0},           // channel Green
    {-1, 1, 0, 0x8812, Key('7'), 1, 0, 0},           // channel Blue
    {-1, 1, 0, 0x886A, Key('4'), 1, 0, 1},           // selection from Luminosity
    {-1, 1, 0, 0x886B, Key('5'), 1, 0, 1},           // selection from the Red channel
    {-1, 1, 0, 0x886C, Key('6'), 1, 0, 1},           // selection from the Green channel
    {-1, 1, 0, 0x886D, Key('7'), 1, 0, 1},           // selection from the Blue channel
    {-1, 3, 5, 0x8818, Key('M'), 1, 0, 0},           // Curves
    {-1, 3, 11, 0x881C, Key('B'), 1, 0, 0},          // Color Balance
    {-1, 6, 0, 0x881E, Key('B'), 1, 1, 1},           // Black & White
    {-1, 4, 0, 0x885C, Key('E'), 1, 1, 1},           // Stamp Visible
    {-1, 1, 0, 0x8865, Key('Q'), 0, 1, 0},           // Edit in Quick Mask Mode
    {1, 5, 0, std::int32_t(FourCC("LnCr")), Key('R'), 1, 0, 0},   // the host's Lens Correction
    {2, 11, 0, std::int32_t(FourCC("LqFy")), Key('X'), 1, 1, 0},  // the host's Liquify
    {-1, 1, 0, 0x886F, Key('Y'), 1, 0, 0},           // Proof Colors
    {3, 1, 0, 0, Key('N'), 0, 1, 0},                 // new image from the clipboard
    {4, 1, 0, 0, Key('V'), 1, 0, 0},                 // the same, only with no document open
    {5, 0, 2, 0, Key('J'), 1, 0, 0},                 // duplicate the layer
};

namespace {

constexpr std::size_t kModifierSize = 32;   // "%s+" of at most 31 characters

// Rows of DialogLabelTable with the host's own modifier names.
constexpr std::size_t kAltNameRow = 35;
constexpr std::size_t kShiftNameRow = 36;
constexpr std::size_t kCtrlNameRow = 37;

// A slot not translated yet still holds its labelled text: its default
// follows the "=".
const char* LabelText(const char* slot) {
  if (std::strncmp(slot, "$$$/", 4) != 0) return slot;
  const char* equals = std::strchr(slot, '=');
  return equals ? equals + 1 : slot;
}

void ModifierName(std::size_t labelRow, const char* older, const char* olderGerman, char* out) {
  // Editors before 4 have no names of their own in the dictionary.
  const char* name = HostMajorVersion < 4 ? (HostIsGerman ? olderGerman : older) : LabelText(DialogLabelTable[labelRow]);
  std::snprintf(out, kModifierSize, "%s+", name);
}

}  // namespace

int FormatShortcut(const ShortcutRow& row, char* text) {
  if (!text) return 1;
  char alt[kModifierSize] = "", shift[kModifierSize] = "", ctrl[kModifierSize] = "";
  if (row.Alt) ModifierName(kAltNameRow, "Alt", "Alt", alt);
  if (row.Shift) ModifierName(kShiftNameRow, "Shift", "Umschalt", shift);
  if (row.Ctrl) ModifierName(kCtrlNameRow, "Ctrl", "Strg", ctrl);
  char key[8] = "";
  if (row.VirtualKey >= VK_F1 && row.VirtualKey <= VK_F24)
    std::snprintf(key, sizeof key, "F%d", int(row.VirtualKey - (VK_F1 - 1)));
  else
    std::snprintf(key, sizeof key, "%c", char(row.VirtualKey & 0xFF));
  std::snprintf(text, kShortcutTextSize, "%s%s%s%s", alt, shift, ctrl, key);
  return 1;
}

void AppendShortcutText(std::int32_t id, char* label, std::size_t size) {
  if (!label || size == 0) return;
  for (const ShortcutRow& row : ShortcutTable) {
    if (row.Kind != kShortcutCommand || row.Code != id) continue;
    char text[kShortcutTextSize];
    FormatShortcut(row, text);
    const std::size_t used = strnlen(label, size);
    if (used + 1 < size) std::snprintf(label + used, size - used, "%s", text);
    return;
  }
}

int FindShortcutRow(WPARAM virtualKey, bool ctrl, bool shift, bool alt) {
  for (std::size_t i = 0; i < kShortcutCount; ++i) {
    const ShortcutRow& row = ShortcutTable[i];
    if (WPARAM(row.VirtualKey) == virtualKey && (row.Ctrl != 0) == ctrl && (row.Shift != 0) == shift &&
        (row.Alt != 0) == alt)
      return int(i);
  }
  return -1;
}

bool ShortcutKeyConsidered(bool disabled, int code, bool mainWindowInFront, LPARAM keyInfo) {
  // Bit 30: the key was already down (an auto-repeat); bit 31: it goes up.
  constexpr ULONG_PTR kWasDownOrGoingUp = 0xC0000000u;
  return !disabled && code == HC_ACTION && mainWindowInFront && (ULONG_PTR(keyInfo) & kWasDownOrGoingUp) == 0;
}

bool KeyIsDown(int virtualKey) {
  // With the buttons swapped, the left button the user means is the right one.
  if ((virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON) && GetSystemMetrics(SM_SWAPBUTTON) != 0)
    virtualKey = virtualKey == VK_LBUTTON ? VK_RBUTTON : VK_LBUTTON;
  return GetAsyncKeyState(virtualKey) < 0;
}

bool HandleShortcutKey(int code, WPARAM wParam, LPARAM lParam) {
  const bool inFront = MainWindow != nullptr && GetForegroundWindow() == MainWindow;
  if (!ShortcutKeyConsidered(ShortcutsDisabled, code, inFront, lParam)) return false;
  const int index = FindShortcutRow(wParam, KeyIsDown(VK_CONTROL), KeyIsDown(VK_SHIFT), KeyIsDown(VK_MENU));
  if (index < 0) return false;
  const ShortcutRow& row = ShortcutTable[index];
  if (!VersionPairAdmits(row.VersionA, row.VersionB, HostMajorVersion)) return false;
  switch (row.Kind) {
    case kShortcutCommand:
      DispatchCommand(std::uint32_t(row.Code));
      return true;
    case kShortcutNewFromClipboard:
      // Nothing usable on the clipboard: the key is the host's.
      if (NewDocumentFromClipboard() != 0) return false;
      Paste();
      return true;
    case kShortcutNewWhenNoDocument:
      // With a document open the key is the host's own paste.
      if (IsDocumentOpen(false)) return false;
      if (NewDocumentFromClipboard() == 0) Paste();
      return true;
    case kShortcutDuplicateLayer:
      DuplicateLayer();
      return true;
    default:   // the host's events, with their dialogs
      PlayEvent(TypeID(row.Code), kDialogShow);
      return true;
  }
}
