// Windows made in-process for the replaced window procedures: each one's own
// procedure records what reaches it, so that a test can tell what the
// module passed on from what it took. The module's main-window procedure is
// put on a main window before each test.
#pragma once

#include <windows.h>

#include <vector>

#include "localization_support.h"
#include "plugin_fixture.h"

class ProcedureTest : public PluginTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the recording class at a screen position (hidden unless
  // `visible`), or a child at a position in `parent`; destroyed after the
  // test.
  HWND MakeWindow(int x, int y, int width, int height, bool visible = false, HWND parent = nullptr);
  // The command table, its labels and HostMajorVersion of an editor version.
  static void UseVersion(int version);

  // Sends a message with the log of what reached the windows emptied first.
  static LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Whether `message` reached `window`'s own procedure since the last Send.
  static bool PassedOn(HWND window, UINT message);
  static int ReachedCount(HWND window, UINT message);

  // Puts the cursor on a screen point; false when the display does not let
  // the cursor be placed there.
  static bool MoveCursor(int x, int y);

  HWND main_ = nullptr;

 private:
  TempFolder host_;  // an empty host folder: English labels
  std::vector<HWND> windows_;
  int savedWindowsVersion_ = 0;
};

// Skips the test when the cursor cannot be placed.
#define MOVE_CURSOR_OR_SKIP(x, y) \
  if (!MoveCursor((x), (y))) GTEST_SKIP() << "the cursor cannot be placed on this display"
