#include "ui/view_refresh.h"

#include <windows.h>

#include "entry/module_state.h"

namespace {

void Repaint(HWND view) {
  if (!view) return;
  InvalidateRect(view, nullptr, TRUE);
  RedrawWindow(view, nullptr, nullptr, RDW_UPDATENOW);
}

}  // namespace

void RefreshModuleViews() {
  if (HostMajorVersion >= 8) Repaint(LayersView);
  if (HostMajorVersion == 11) {
    Repaint(ToolbarView);
    Repaint(ControlBarView);
  }
}
