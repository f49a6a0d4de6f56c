// One module dialog at a time: a request while one runs returns at once,
// with Cancel's result, and starts nothing.
#include <gtest/gtest.h>

#include "adjustments/dialog_state.h"
#include "adjustments/module_dialogs.h"

namespace {

TEST(ModuleDialogGuard, ASecondDialogWhileOneRunsReturnsAtOnce) {
  ToolDialogRunning = true;
  RunningDialogKind = DialogKind::Tracking;
  EXPECT_EQ(RunModuleDialog(kFadeDialogId), 0);
  EXPECT_FALSE(RunKindDialog(DialogKind::Fade));
  EXPECT_FALSE(AdjustWithModuleDialog(AdjustmentKind::Exposure));
  EXPECT_FALSE(NewAdjustmentWithModuleDialog(AdjustmentKind::Vibrance));
  // The running dialog's kind and flags are left alone, and it still runs.
  EXPECT_EQ(RunningDialogKind, DialogKind::Tracking);
  EXPECT_FALSE(AdjustingAsFilter);
  EXPECT_TRUE(ToolDialogRunning);
  ToolDialogRunning = false;
}

}  // namespace
