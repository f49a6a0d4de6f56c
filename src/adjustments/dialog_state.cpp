#include "adjustments/dialog_state.h"

bool ToolDialogRunning = false;
