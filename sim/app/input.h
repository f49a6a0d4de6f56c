// Input as a person gives it: real mouse and keyboard events through
// SendInput, with the main window in front, and the message loop run until
// the editor has taken them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simapp {

// Makes the main window the foreground window. Returns an empty string, or
// why it stayed behind.
std::string BringToFront(HWND main);

// Moves the cursor to a screen point. Returns false when the cursor did not
// arrive there.
bool SendMouseMove(POINT screen);

// Runs the message loop until Wine has taken in the X server's answer to
// every move so far, and no input waits; at most `limitMs`. Returns false on
// the limit.
bool PumpUntilPointerSettled(DWORD limitMs);
void SendLeftButton(bool down);
void SendKey(unsigned short key, bool up, bool extended = false);

// Ctrl, Shift and Alt as virtual keys, in the order they are pressed.
std::vector<unsigned short> ModifierKeys(bool ctrl, bool shift, bool alt);

// Presses the modifiers and runs the message loop until the editor has taken
// them and they are held. Wine brings its key state into line with the X
// server's keyboard whenever the pointer crosses into an X window, and the X
// server never saw the injected presses: the moves before are settled first,
// and a key that is still let go is pressed again (a few times at most).
// Returns false when they do not stay down.
bool HoldModifiers(const std::vector<unsigned short>& keys);
// Lets them go, in the reverse order.
void ReleaseModifiers(const std::vector<unsigned short>& keys);

// Runs the message loop until no input waits in the queue and, when given,
// `alsoDone` is signalled; at most `limitMs`. Returns false on the limit.
bool PumpUntilInputTaken(DWORD limitMs, HANDLE alsoDone = nullptr);

// A click that follows the last one too closely at the same place would be a
// double click: waits, running the message loop, until it would not.
void KeepApartFromLastClick(POINT screen);
void NoteClick(POINT screen);

// The time an input step may take to be processed before it counts as stuck.
constexpr DWORD kInputLimitMs = 20000;

}  // namespace simapp
