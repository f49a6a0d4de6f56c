#include "procedure_fixture.h"

#include <cstring>

#include "adjustments/dialog_state.h"
#include "entry/module_state.h"
#include "localization/dictionary.h"
#include "localization/host_language.h"
#include "menus/command_table.h"
#include "ui/procedure_state.h"
#include "ui/window_procedures.h"

namespace {

constexpr const char* kRecordingClass = "QbRecordingWindow";

struct Reached {
  HWND window;
  UINT message;
};
std::vector<Reached> ReachedLog;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ReachedLog.push_back({window, message});
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterRecordingClass() {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kRecordingClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
}

void ResetState() {
  ToolDialogRunning = false;
  MainWindow = LayersView = ControlBarView = ToolbarView = nullptr;
  sim::SetMainWindow(nullptr);
  LayerThumbnailSize = 2;
  FreeHostDictionary();
  CommandTable = InitialCommandTable;
  std::memset(MenuLabels, 0, sizeof MenuLabels);
  std::memset(AltLabels, 0, sizeof AltLabels);
}

}  // namespace

void ProcedureTest::SetUp() {
  PluginTest::SetUp();
  savedWindowsVersion_ = WindowsVersionCode;
  WindowsVersionCode = 13;
  ModuleInstance = GetModuleHandleA(nullptr);
  ResetState();
  LoadHostDictionaryFrom(host_.path().c_str());
  UseVersion(8);
  RegisterRecordingClass();
  main_ = MakeWindow(0, 0, 200, 100);
  MainWindow = main_;
  sim::SetMainWindow(main_);
  ASSERT_TRUE(ReplaceMainWindowProcedure(main_));
}

void ProcedureTest::TearDown() {
  ReleaseProcedureState();
  RestoreWindowProcedures();
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (IsWindow(*it)) DestroyWindow(*it);
  UnregisterClassA(kRecordingClass, GetModuleHandleA(nullptr));
  ReachedLog.clear();
  ResetState();
  WindowsVersionCode = savedWindowsVersion_;
  ModuleInstance = nullptr;
  PluginTest::TearDown();
}

HWND ProcedureTest::MakeWindow(int x, int y, int width, int height, bool visible, HWND parent) {
  const DWORD style = (parent ? WS_CHILD : WS_POPUP) | (visible ? WS_VISIBLE : 0);
  HWND window = CreateWindowExA(parent ? 0 : WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kRecordingClass, "", style, x, y,
                                width, height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(window, nullptr) << "error " << GetLastError();
  windows_.push_back(window);
  return window;
}

void ProcedureTest::UseVersion(int version) {
  HostMajorVersion = version;
  CommandTable = InitialCommandTable;
  AdjustCommandTable();
  BuildMenuLabels();
}

LRESULT ProcedureTest::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ReachedLog.clear();
  return SendMessageA(window, message, wParam, lParam);
}

int ProcedureTest::ReachedCount(HWND window, UINT message) {
  int count = 0;
  for (const Reached& r : ReachedLog)
    if (r.window == window && r.message == message) ++count;
  return count;
}

bool ProcedureTest::PassedOn(HWND window, UINT message) { return ReachedCount(window, message) > 0; }

bool ProcedureTest::MoveCursor(int x, int y) {
  POINT at{};
  return SetCursorPos(x, y) && GetCursorPos(&at) && at.x == x && at.y == y;
}
