// Whether one of the module's tool dialogs is running its own message loop.
// While it is, menu commands and panel clicks are swallowed so that nothing
// re-enters the module.
#pragma once

extern bool ToolDialogRunning;
