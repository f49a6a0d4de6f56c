#include "ui/procedure_state.h"

#include "menus/adjustment_popup.h"
#include "ui/panel_buttons.h"
#include "ui/window_procedures.h"

std::uint16_t LastMenuPick = 0;
bool MenuClickSeen = false;
bool MessageShownOnce = false;
bool AutoConfirmPending = false;
bool ProceduresIdle = false;

void ReleaseProcedureState() {
  StopLateLayersViewSearch();
  RemoveAdjustmentItems();
  ResetPanelButtons();
  LastMenuPick = 0;
  MenuClickSeen = false;
  MessageShownOnce = false;
  AutoConfirmPending = false;
  ProceduresIdle = true;
}
