// The plug-in's own dialogs, used as a person would: a `dialog` step's
// actions wait for the next dialog the plug-in shows and are done on its
// thread, inside its modal loop, one at a time from a timer once it shows.
#pragma once

#include <windows.h>

#include <functional>

#include "sim_host.h"

namespace simapp {

// Starts taking the dialogs whose module is the plug-in's.
void InstallDialogDriver(HMODULE plugin);
void RemoveDialogDriver();

// A `dialog` step: the actions for the next dialog of the plug-in.
void QueueDialogActions(const sim::Json& actions);
// Dialog steps that never found their dialog are reported (at the end).
void ReportUnusedDialogSteps();

// What runs while a dialog shows that its actions left open (the runner's
// screenshot steps after the step that opened it); afterwards the dialog is
// closed with Cancel. Null: nothing runs first.
void SetWhileDialogLeftOpen(std::function<void()> work);

// A `dialog` line: the dialog's title and its controls.
sim::Json DescribeDialog(HWND dialog);

}  // namespace simapp
