// Repainting the views that carry the module's buttons, after the settings
// that change how they look were applied.
#pragma once

// Invalidates (with erasing) and repaints at once the Layers view (editor 8
// and up) and, in editor 11, the toolbar and the control bar; each only
// when it was found.
void RefreshModuleViews();
