// Finding the editor's windows in small window trees built in-process, and
// the replaced window procedures and hooks put on them.
#include <windows.h>

#include <string>
#include <vector>

#include "entry/module_state.h"
#include "plugin_fixture.h"
#include "ui/host_windows.h"

namespace {

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Builds windows of the editor's classes; destroys them and unregisters the
// classes afterwards, so that each test may use a class name that differs
// from another test's only in letter case.
class WindowTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    ModuleInstance = GetModuleHandleA(nullptr);
    Reset();
  }
  void TearDown() override {
    RestoreWindowProcedures();
    RemoveHooks();
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    for (const std::string& cls : classes_) UnregisterClassA(cls.c_str(), GetModuleHandleA(nullptr));
    Reset();
    ModuleInstance = nullptr;
    PluginTest::TearDown();
  }

  // A top-level window (hidden) or a child; later children of one parent
  // come after the earlier ones in z-order, as the searches walk them.
  HWND Make(HWND parent, const char* cls, const char* title = "") {
    Register(cls);
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    // A drop-down list keeps its list as a popup, as the editor's do; other
    // kinds of combo box have child windows of their own.
    if (std::string(cls) == "ComboBox") style |= CBS_DROPDOWNLIST;
    HWND window = CreateWindowExA(0, cls, title, style, 0, 0, 100, 100, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr) << cls;
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    windows_.push_back(window);
    return window;
  }

  // dock > tab pane > tab group > palette > view, with the view's children.
  HWND MakePanel(HWND parent, std::initializer_list<const char*> children, const char* paletteTitle = "Layers") {
    HWND dock = Make(parent, "OWL.Dock");
    HWND group = Make(Make(dock, "OWL.TabPane"), "OWL.TabGroup");
    return MakeView(group, children, paletteTitle);
  }
  HWND MakeView(HWND group, std::initializer_list<const char*> children, const char* paletteTitle = "Layers") {
    HWND view = Make(Make(group, "OWL.Palette", paletteTitle), "PSViewC");
    for (const char* cls : children) Make(view, cls);
    return view;
  }
  HWND MakeBar(HWND dock, const char* container, const char* bar) {
    return Make(Make(Make(dock, container), bar), "PSViewC");
  }

 private:
  void Register(const char* cls) {
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, cls, &existing)) return;  // a system class: Edit, ComboBox, Button
    for (const std::string& c : classes_)
      if (c == cls) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    ASSERT_TRUE(RegisterClassA(&wc)) << cls << " error " << GetLastError();
    classes_.push_back(cls);
  }
  static void Reset() {
    sim::SetMainWindow(nullptr);
    MainWindow = LayersView = ControlBarView = ToolbarView = nullptr;
  }

  std::vector<HWND> windows_;
  std::vector<std::string> classes_;
};

constexpr ExpectedLine kCannotFindMainWindow = {
    R"({"kind":"message","title":"Quillbright","text":"Error: Cannot find Photoshop Elements window!",
        "buttons":"OK","icon":"information","owner":"none","answer":"OK"})"};

TEST_F(WindowTest, TheHostsAnswerIsPreferredToTheClassSearch) {
  HWND byClass = Make(nullptr, "pseeditor");
  HWND hosts = Make(nullptr, "PhotoshopElements");
  sim::SetMainWindow(hosts);
  EXPECT_EQ(FindMainWindow("Quillbright"), hosts);
  EXPECT_EQ(MainWindow, hosts);

  // A host answer of another class is dropped for the class search.
  sim::SetMainWindow(Make(nullptr, "OWL.Dock"));
  EXPECT_EQ(FindMainWindow("Quillbright"), byClass);
  EXPECT_EQ(MainWindow, byClass);
  EXPECT_TRUE(Take({"message"}).empty());
}

TEST_F(WindowTest, NearMissClassNamesAreRefusedAndTheUserIsTold) {
  // FindWindowA matches class names without regard to case; the module does not.
  sim::SetMainWindow(Make(nullptr, "pseeditor2"));
  Make(nullptr, "photoshopelements");
  Make(nullptr, "pseedito");
  EXPECT_EQ(FindMainWindow("Quillbright"), nullptr);
  EXPECT_EQ(MainWindow, nullptr);
  ExpectLines(Take({"message"}), {kCannotFindMainWindow});
}

TEST_F(WindowTest, TheLayersViewHasExactlyThreeChildrenOfTheKnownClasses) {
  struct Case {
    const char* what;
    std::initializer_list<const char*> children;
    bool isLayersView;
  };
  const Case cases[] = {
      {"the host's order", {"ComboBox", "Edit", "ElementsScroller"}, true},
      {"another order", {"ElementsScroller", "ComboBox", "Edit"}, true},
      {"a fourth child", {"ElementsScroller", "Edit", "ComboBox", "Static"}, false},
      {"a fourth known child", {"ElementsScroller", "Edit", "ComboBox", "Edit"}, false},
      {"a wrong third child", {"ElementsScroller", "Edit", "Button"}, false},
      {"two children", {"ElementsScroller", "Edit"}, false},
      {"no children", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND main = Make(nullptr, "pseeditor");
    MainWindow = main;
    HWND view = MakePanel(main, c.children);
    EXPECT_EQ(FindLayersViewUnder(main), c.isLayersView ? view : nullptr);
    DestroyWindow(main);
  }
}

TEST_F(WindowTest, TheLayersViewIsFoundPastOtherPanelsAndGrandchildrenCount) {
  HWND main = Make(nullptr, "pseeditor");
  MainWindow = main;
  HWND dock = Make(main, "OWL.Dock");
  HWND group = Make(Make(dock, "OWL.TabPane"), "OWL.TabGroup");
  MakeView(group, {"ElementsScroller", "ComboBox", "Button"}, "Effects");
  // Three children, but the list holds a window of its own: four descendants.
  HWND nested = MakeView(group, {"ComboBox", "Edit"}, "Layers");
  Make(Make(nested, "ElementsScroller"), "Edit");
  EXPECT_EQ(FindLayersView(), nullptr);

  HWND layers = MakeView(group, {"ComboBox", "Edit", "ElementsScroller"});
  EXPECT_EQ(FindLayersView(), layers);
}

TEST_F(WindowTest, ADockedLayersPanelWinsOverAFloatingOneWhichIsFoundAlone) {
  HWND main = Make(nullptr, "pseeditor");
  MainWindow = main;
  HWND floating = MakePanel(nullptr, {"ElementsScroller", "Edit", "ComboBox"});
  HWND docked = MakePanel(main, {"ElementsScroller", "Edit", "ComboBox"});
  EXPECT_EQ(FindLayersView(), docked);

  DestroyWindow(GetParent(GetParent(docked)));  // the palette goes, the bin stays
  EXPECT_EQ(FindLayersViewUnder(main), nullptr);
  EXPECT_EQ(FindLayersView(), floating);
}

TEST_F(WindowTest, OnlyTheFirstBarContainerOfEachDockCounts) {
  HWND main = Make(nullptr, "pseeditor");
  MainWindow = main;
  // First dock: its first container lacks the bar; its second is complete.
  HWND decoyDock = Make(main, "OWL.Dock");
  Make(Make(decoyDock, "OWL.ControlBarContainer"), "PSViewC");
  MakeBar(decoyDock, "OWL.ControlBarContainer", "OWL.ControlBar");
  EXPECT_EQ(FindControlBarView(), nullptr);

  HWND dock = Make(main, "OWL.Dock");
  HWND controlBar = MakeBar(dock, "OWL.ControlBarContainer", "OWL.ControlBar");
  EXPECT_EQ(FindControlBarView(), controlBar);
  EXPECT_EQ(FindToolbarView(), nullptr);

  HWND toolbar = MakeBar(Make(main, "OWL.Dock"), "OWL.ToolbarContainer", "OWL.Toolbar");
  EXPECT_EQ(FindToolbarView(), toolbar);

  MainWindow = nullptr;  // no main window, no search
  EXPECT_EQ(FindControlBarView(), nullptr);
}

// The window's own procedure: counts what reaches it.
int OriginalCalls = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++OriginalCalls;
  return DefWindowProcW(window, message, wParam, lParam);
}

// A Unicode window, as the editor's are.
HWND MakeUnicodeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QbUnicodeView";
  RegisterClassW(&wc);
  return CreateWindowExW(0, L"QbUnicodeView", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST_F(WindowTest, AReplacedProcedurePassesEverythingOnAndIsGivenBack) {
  HWND window = MakeUnicodeWindow();
  ASSERT_NE(window, nullptr);
  const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
  OriginalCalls = 0;

  ASSERT_TRUE(ReplaceMainWindowProcedure(window));
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(MainWindowProc));
  // Asking again changes nothing: passing on must not reach the module itself.
  EXPECT_TRUE(ReplaceMainWindowProcedure(window));
  SendMessageW(window, WM_APP, 0, 0);
  EXPECT_EQ(OriginalCalls, 1);

  // Text crosses the module's ANSI procedure to the Unicode one unharmed.
  const wchar_t* text = L"Ebene \u00FCber";
  SetWindowTextW(window, text);
  wchar_t back[64] = {};
  GetWindowTextW(window, back, 64);
  EXPECT_EQ(std::wstring(back), text);

  EXPECT_TRUE(RestoreWindowProcedure(SavedMainProc));
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
  EXPECT_EQ(SavedMainProc.window, nullptr);
  DestroyWindow(window);
  UnregisterClassW(L"QbUnicodeView", GetModuleHandleW(nullptr));
}

TEST_F(WindowTest, AProcedurePutOnTopOfTheModulesIsNotCutOff) {
  HWND window = MakeUnicodeWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(ReplaceLayersViewProcedure(window));
  // Someone else replaces it after the module: restoring now would remove
  // their procedure too, so the module's stays in the chain and passes on.
  const LONG_PTR theirs = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
  EXPECT_FALSE(RestoreWindowProcedure(SavedLayersProc));
  EXPECT_EQ(SavedLayersProc.window, window);
  SetWindowLongPtrW(window, GWLP_WNDPROC, theirs);
  EXPECT_TRUE(RestoreWindowProcedure(SavedLayersProc));

  // A slot holding a destroyed window empties without touching it.
  ASSERT_TRUE(ReplaceToolbarViewProcedure(window));
  DestroyWindow(window);
  EXPECT_TRUE(RestoreWindowProcedure(SavedToolbarProc));
  EXPECT_EQ(SavedToolbarProc.window, nullptr);
  EXPECT_FALSE(ReplaceControlBarViewProcedure(nullptr));
  UnregisterClassW(L"QbUnicodeView", GetModuleHandleW(nullptr));
}

TEST_F(WindowTest, HooksAreInstalledOnceAndRemoved) {
  ASSERT_TRUE(InstallHooks());
  const HHOOK keyboard = KeyboardHook.get(), mouse = MouseHook.get();
  EXPECT_NE(keyboard, nullptr);
  EXPECT_NE(mouse, nullptr);
  EXPECT_TRUE(InstallHooks());
  EXPECT_EQ(KeyboardHook.get(), keyboard);
  EXPECT_EQ(MouseHook.get(), mouse);
  RemoveHooks();
  EXPECT_FALSE(KeyboardHook);
  EXPECT_FALSE(MouseHook);
  EXPECT_FALSE(UnhookWindowsHookEx(keyboard));  // already gone
}

}  // namespace
