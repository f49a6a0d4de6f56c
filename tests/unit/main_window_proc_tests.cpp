// The main window's replaced procedure: which menu commands and owner-drawn
// items the module takes and which the editor gets, the menu-character
// answer, and the items of pop-ups the editor tracks itself, which run only
// when clicked.
#include <windows.h>

#include <cstdint>

#include "adjustments/dialog_state.h"
#include "entry/module_state.h"
#include "procedure_fixture.h"
#include "ui/hooks.h"
#include "ui/procedure_state.h"
#include "ui/window_procedures.h"

namespace {

using MainWindowTest = ProcedureTest;

struct CommandRow {
  const char* what;
  WPARAM wParam;
  bool taken;
};

// A document without smart objects: no filter command is the module's.
constexpr CommandRow kCommandRows[] = {
    {"a module command from a menu", 0x8840, true},
    {"the same identifier from an accelerator", MAKEWPARAM(0x8840, 1), false},
    {"the first smart-filter item", 0x8600, true},
    {"the last action item", 0x89FF, true},
    {"the identifier after the actions", 0x8A00, true},
    {"one beyond it", 0x8A01, false},
    {"one below the smart filters", 0x85FF, false},
    {"the host's thumbnail-size command", 1132, false},
    {"the host's last-filter command on a pixel layer", 1019, false},
};

TEST_F(MainWindowTest, ModuleCommandsAreTakenAndEverythingElseGoesToTheEditor) {
  for (const CommandRow& row : kCommandRows) {
    SCOPED_TRACE(row.what);
    const LRESULT result = Send(main_, WM_COMMAND, row.wParam, 0);
    EXPECT_EQ(PassedOn(main_, WM_COMMAND), !row.taken);
    if (row.taken) {
      EXPECT_EQ(result, 1);
    }
  }
}

TEST_F(MainWindowTest, ARunningToolDialogSwallowsEveryCommand) {
  ToolDialogRunning = true;
  for (const CommandRow& row : kCommandRows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Send(main_, WM_COMMAND, row.wParam, 0), 1);
    EXPECT_FALSE(PassedOn(main_, WM_COMMAND));
  }
  EXPECT_TRUE(Take({"play", "step-begin", "message"}).empty());
}

TEST_F(MainWindowTest, OnlyTheModulesMenuItemsAreMeasuredAndDrawn) {
  struct Row {
    UINT type;
    UINT id;
    bool module;
  };
  const Row rows[] = {
      {ODT_MENU, 0x8600, true}, {ODT_MENU, 0x89FF, true},  {ODT_MENU, 0x8A00, false},
      {ODT_MENU, 0x85FF, false}, {ODT_BUTTON, 0x8800, false},
  };
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 30);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = row.type;
    measure.itemID = row.id;
    const LRESULT measured = Send(main_, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(PassedOn(main_, WM_MEASUREITEM), !row.module);
    if (row.module) {
      EXPECT_EQ(measured, 1);
      EXPECT_GT(measure.itemHeight, 0u);
    }

    DRAWITEMSTRUCT draw{};
    draw.CtlType = row.type;
    draw.itemID = row.id;
    draw.itemAction = ODA_DRAWENTIRE;
    draw.hDC = dc;
    draw.rcItem = {0, 0, 200, 30};
    const LRESULT drawn = Send(main_, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(PassedOn(main_, WM_DRAWITEM), !row.module);
    if (row.module) {
      EXPECT_EQ(drawn, 1);
    }
  }
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST_F(MainWindowTest, MenuCharactersAreAnsweredWithoutTheEditor) {
  EXPECT_EQ(Send(main_, WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), 0), 0x0002FFFF);
  EXPECT_FALSE(PassedOn(main_, WM_MENUCHAR));
}

// The steps of a host-tracked pop-up as the editor's menu loop sends them.
class TrackedPopupTest : public ProcedureTest {
 protected:
  void Highlight(std::uint16_t item, bool withMouse = true) {
    Send(main_, WM_MENUSELECT, MAKEWPARAM(item, withMouse ? MF_MOUSESELECT : 0), 0);
    EXPECT_TRUE(PassedOn(main_, WM_MENUSELECT));
  }
  void Release(HWND over) {
    MOUSEHOOKSTRUCT record{};
    record.hwnd = over;
    MouseHookProc(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
  }
  void EndLoop(bool shortcutMenu) {
    Send(main_, WM_EXITMENULOOP, shortcutMenu ? 1 : 0, 0);
    EXPECT_TRUE(PassedOn(main_, WM_EXITMENULOOP));
    EXPECT_EQ(LastMenuPick, 0) << "forgotten whether run or not";
  }
};

constexpr ExpectedLine kThumbnailSizeNotice = {
    R"({"kind":"message","title":"Quillbright","text":"After changing the layer thumbnail size, please restart Photoshop\nElements, otherwise double clicking the thumbnail of an adjustment\nlayer or smart object may not work correctly anymore.","buttons":"OK","icon":"information","owner":"main","answer":"OK"})"};

TEST_F(TrackedPopupTest, AClickedItemRunsWhenTheShortcutMenuCloses) {
  Highlight(1132);
  Release(main_);
  EndLoop(true);
  ExpectLines(Take({"message"}), {kThumbnailSizeNotice});
}

// History Options on an editor the Preferences dialog does not serve: the
// dispatcher asks the user to update.
constexpr ExpectedLine kUpdateNotice = {
    R"({"kind":"message","title":"Quillbright","text":"Please update to the latest version of Quillbright at\n\nwww.dovetailworks.com/quillbright\n\nto use it with this version of Photoshop Elements.","buttons":"OK","icon":"information","owner":"main","answer":"OK"})"};

TEST_F(TrackedPopupTest, HistoryOptionsRunsOnlyWhenClicked) {
  UseVersion(12);
  Highlight(0x8872);
  EndLoop(true);
  EXPECT_TRUE(Take({"message"}).empty());

  Highlight(0x8872);
  Release(main_);
  EndLoop(true);
  ExpectLines(Take({"message"}), {kUpdateNotice});
}

TEST_F(TrackedPopupTest, AnItemThatWasNotClickedDoesNotRun) {
  enum class ReleasedOver { Nothing, MainWindow, OtherWindow };
  struct Row {
    const char* what;
    bool withMouse;
    ReleasedOver release;
    bool shortcutMenu;
  };
  const Row rows[] = {
      {"left with Escape: no release", true, ReleasedOver::Nothing, true},
      {"released over another window", true, ReleasedOver::OtherWindow, true},
      {"the menu bar's loop, not a shortcut menu", true, ReleasedOver::MainWindow, false},
      {"chosen with the keyboard", false, ReleasedOver::MainWindow, true},
  };
  HWND other = MakeWindow(300, 0, 50, 50);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Highlight(1132, row.withMouse);
    if (row.release == ReleasedOver::MainWindow) Release(main_);
    if (row.release == ReleasedOver::OtherWindow) Release(other);
    EndLoop(row.shortcutMenu);
    EXPECT_TRUE(Take({"message"}).empty());
  }
}

TEST_F(TrackedPopupTest, AHighlightAfterTheReleaseNeedsAReleaseOfItsOwn) {
  Highlight(1132);
  Release(main_);
  Highlight(1132);  // moved off and back on: the release was for the item before
  EndLoop(true);
  EXPECT_TRUE(Take({"message"}).empty());
}

TEST_F(TrackedPopupTest, TheThumbnailSizeNoticeShowsOnceUntilShutdown) {
  for (int i = 0; i < 3; ++i) {
    Highlight(1132);
    Release(main_);
    EndLoop(true);
  }
  ExpectLines(Take({"message"}), {kThumbnailSizeNotice});

  // A new start-up in the same process shows it again.
  ReleaseProcedureState();
  ASSERT_TRUE(ReplaceMainWindowProcedure(main_));
  Highlight(1132);
  Release(main_);
  EndLoop(true);
  ExpectLines(Take({"message"}), {kThumbnailSizeNotice});
}

TEST_F(TrackedPopupTest, AReleaseWithoutAHighlightedItemIsNoClick) {
  Release(main_);
  EXPECT_FALSE(MenuClickSeen);
  Highlight(0x8872);
  MOUSEHOOKSTRUCT record{};
  record.hwnd = main_;
  MouseHookProc(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
  MouseHookProc(HC_NOREMOVE, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
  EXPECT_FALSE(MenuClickSeen);
  Release(main_);
  EXPECT_TRUE(MenuClickSeen);
}

TEST_F(TrackedPopupTest, AnUnclickedAdjustmentItemLeavesNoEnterPending) {
  // Editor 11: an adjustment item that runs has the host's dialog it opens
  // confirmed. One that was only highlighted must not leave an Enter press
  // behind for whatever window is activated next.
  UseVersion(11);
  Highlight(0x885D);
  EndLoop(true);
  EXPECT_FALSE(AutoConfirmPending);
}

TEST_F(MainWindowTest, AfterShutdownProceduresLeftInPlacePassEverythingOn) {
  // Editor 11 keeps its procedures on the windows at shutdown.
  UseVersion(11);
  ReleaseProcedureState();
  EXPECT_NE(Send(main_, WM_MENUCHAR, 'x', 0), 0x0002FFFF);
  EXPECT_TRUE(PassedOn(main_, WM_MENUCHAR));
  Send(main_, WM_COMMAND, 0x8840, 0);
  EXPECT_TRUE(PassedOn(main_, WM_COMMAND));

  // Started again, they act again.
  ASSERT_TRUE(ReplaceMainWindowProcedure(main_));
  EXPECT_EQ(Send(main_, WM_MENUCHAR, 'x', 0), 0x0002FFFF);
}

}  // namespace
