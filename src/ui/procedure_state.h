// What the main window's procedure remembers across the messages of one menu
// loop, shared with the mouse hook, and the module's other flags of the
// replaced procedures. User-interface thread only.
#pragma once

#include <cstdint>

// The item last highlighted with the mouse in the open menu; 0 for none.
// Pop-ups that the editor tracks itself hand their choice to the editor, so
// the module learns of a click on its own items only from this, the mouse
// hook and the end of the menu loop.
extern std::uint16_t LastMenuPick;
// The left button was released over the main window while LastMenuPick was
// set: the highlighted item was clicked, not left with Escape or the keyboard.
extern bool MenuClickSeen;
// The notice about changing the layer thumbnail size was shown since start-up.
extern bool MessageShownOnce;
// Press Enter when the main window next loses activation: the host's own
// adjustment dialog that a chosen item opens is confirmed at once.
extern bool AutoConfirmPending;
// Set at shutdown: procedures that stay on the editor's windows (the editor
// closes with them in place) pass every message on. Cleared when a
// procedure is put on a window again.
extern bool ProceduresIdle;

// Shutdown: forgets the menu loop and the flags, stops the late search for the
// Layers view, takes the module's items out of a still open adjustment
// pop-up, and leaves procedures that stay on the editor's windows passing
// everything on.
void ReleaseProcedureState();
