#include "menu_watch.h"

#include <exception>
#include <functional>
#include <mutex>

#include "input.h"
#include "menu_bar.h"

namespace simapp {

struct MenuWatch::State {
  HWND main = nullptr;
  DWORD editorThread = 0;
  MenuChoice choice;
  HANDLE stop = nullptr;
  std::mutex mutex;  // guards the two below
  std::vector<std::string> problems;
  UINT chosen = 0;
  bool sawMenu = false;
};

namespace {

// How long the helper waits for each thing it caused to show.
constexpr DWORD kReactionLimitMs = 5000;
// How long the editor's thread may take to answer the helper, and how long
// the menu loop may take to end once the choice is made (the plug-in may run
// a command, with message boxes, while the loop ends).
constexpr DWORD kEditorLimitMs = 15000;

// Messages of the helper window, through which the helper thread has the
// editor's thread act inside the menu loop.
constexpr UINT kOpenedMessage = WM_APP + 1;    // lParam: Opened*
constexpr UINT kAnnounceMessage = WM_APP + 2;  // wParam: position, lParam: the menu
constexpr UINT kEndMenuMessage = WM_APP + 3;

HWND gMain = nullptr;
HWND gHelper = nullptr;

// What the editor's thread finds when the helper reports an open menu loop.
struct Opened {
  const MenuChoice* choice = nullptr;
  bool first = false;          // the first pop-up of the step: the one `choose` is for
  bool popup = false;          // false: a loop without a pop-up (the menu bar's)
  HMENU menu = nullptr;
  int count = 0;
  int position = -1;           // the item to choose; -1: none
  UINT id = 0;
  RECT rect{};                 // its rectangle on the screen
  std::string problem;
};

bool IsMenuWindow(HWND window) {
  wchar_t name[16] = {};
  return window && GetClassNameW(window, name, 16) && std::wstring_view(name) == L"#32768";
}

BOOL CALLBACK FindVisibleMenuWindow(HWND window, LPARAM found) {
  if (!IsMenuWindow(window) || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::string ItemText(const sim::Json& choose) {
  if (choose.is_number_integer()) return std::to_string(choose.get<long long>());
  std::string path;
  for (const sim::Json& label : choose)
    path += (path.empty() ? "\"" : " > \"") + (label.is_string() ? label.get<std::string>() : label.dump()) + "\"";
  return path;
}

// The top-level item `choose` names; -1 and a problem when there is none.
int ResolveItem(HMENU menu, const MenuChoice& choice, std::string& problem) {
  const int count = GetMenuItemCount(menu);
  const std::string where = "the pop-up \"" + choice.name + "\"";
  const bool byLabel = choice.choose.is_array() && !choice.choose.empty() && choice.choose[0].is_string();
  if (!byLabel && !choice.choose.is_number_integer()) {
    problem = where + " is chosen from by an item identifier or a label";
    return -1;
  }
  if (byLabel && choice.choose.size() > 1) {
    problem = where + " is chosen from by one label; its submenus are not followed (" + ItemText(choice.choose) + ")";
    return -1;
  }
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    const bool match = choice.choose.is_number_integer()
                           ? !GetSubMenu(menu, i) && GetMenuItemID(menu, i) == choice.choose.get<UINT>()
                           : PlainLabel(menu, i, gMain) == choice.choose[0].get<std::string>();
    if (!match) continue;
    if (GetSubMenu(menu, i)) {
      problem = "the item " + ItemText(choice.choose) + " of " + where + " opens a submenu";
      return -1;
    }
    if (state & (MF_DISABLED | MF_GRAYED)) {
      problem = "the item " + ItemText(choice.choose) + " is disabled";
      return -1;
    }
    return i;
  }
  problem = where + " has no item " + ItemText(choice.choose);
  return -1;
}

// On the editor's thread, inside the menu loop: record the open pop-up and
// find the item to choose.
void OnMenuOpened(Opened& opened) {
  HWND window = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindVisibleMenuWindow, reinterpret_cast<LPARAM>(&window));
  if (!window) return;
  opened.menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  if (!opened.menu) return;
  opened.popup = true;
  opened.count = GetMenuItemCount(opened.menu);
  // Where the pop-up opened on the screen, as its window shows it.
  RECT where{};
  GetWindowRect(window, &where);
  sim::Record(sim::Json{{"kind", "menu"},
                        {"menu", opened.choice->name},
                        {"items", DescribeMenu(opened.menu, gMain)},
                        {"screen", {where.left, where.top, where.right, where.bottom}}});
  if (!opened.first || opened.choice->choose.is_null()) return;
  opened.position = ResolveItem(opened.menu, *opened.choice, opened.problem);
  if (opened.position < 0) return;
  opened.id = GetMenuItemID(opened.menu, opened.position);
  if (!GetMenuItemRect(nullptr, opened.menu, UINT(opened.position), &opened.rect)) {
    opened.problem = "the item " + ItemText(opened.choice->choose) + " has no place on the screen";
    opened.position = -1;
  }
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kOpenedMessage:
      try {
        OnMenuOpened(*reinterpret_cast<Opened*>(lParam));
      } catch (const std::exception& e) {
        reinterpret_cast<Opened*>(lParam)->problem = std::string("the open pop-up cannot be read: ") + e.what();
      }
      return 1;
    case kAnnounceMessage: {
      // The system's menu loop tells the owner that the mouse highlighted
      // an item (MF_MOUSESELECT); Wine's sends the same message without
      // that flag, so the editor adds the announcement the plug-in waits for.
      HMENU menu = reinterpret_cast<HMENU>(lParam);
      const UINT position = UINT(wParam);
      const UINT flags = LOWORD(GetMenuState(menu, position, MF_BYPOSITION)) | MF_HILITE | MF_MOUSESELECT;
      SendMessageW(gMain, WM_MENUSELECT, MAKEWPARAM(GetMenuItemID(menu, int(position)), flags), lParam);
      return 1;
    }
    case kEndMenuMessage:
      EndMenu();
      return 1;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND Helper() {
  if (gHelper && IsWindow(gHelper)) return gHelper;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = HelperProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"SimEditorMenuHelper";
  RegisterClassExW(&cls);
  gHelper = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
  return gHelper;
}

// Wine's menu loop captures the mouse for the pop-up's own window; the
// system's captures it for the pop-up's owner, so that mouse hooks see a
// release over an item as a release on the owner. Installed after the
// plug-in's hook, this one runs first and shows the plug-in what the system
// would.
LRESULT CALLBACK OwnerMouseHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && lParam) {
    auto* record = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    if (IsMenuWindow(record->hwnd)) record->hwnd = gMain;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CallEditor(UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(gHelper, message, wParam, lParam, SMTO_NORMAL, kEditorLimitMs, &result) && result;
}

bool InMenuLoop(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
}

// Polls until the condition holds; false when `limitMs` passed or `stop` was
// signalled first.
bool WaitFor(const std::function<bool()>& condition, DWORD limitMs, HANDLE stop = nullptr) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  for (;;) {
    if (condition()) return true;
    if (limitMs != INFINITE && GetTickCount64() >= end) return false;
    if (stop ? WaitForSingleObject(stop, 5) == WAIT_OBJECT_0 : (Sleep(5), false)) return false;
  }
}

int Highlighted(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

void PressKey(unsigned short key, bool extended = false) {
  SendKey(key, false, extended);
  SendKey(key, true, extended);
}

void Problem(MenuWatch::State& s, std::string text) {
  std::lock_guard<std::mutex> lock(s.mutex);
  s.problems.push_back(std::move(text));
}

bool ChooseByKeyboard(MenuWatch::State& s, const Opened& opened) {
  int at = Highlighted(opened.menu);
  for (int presses = 0; at != opened.position && presses <= opened.count; ++presses) {
    const int before = at;
    PressKey(VK_DOWN, true);
    if (!WaitFor([&] { return Highlighted(opened.menu) != before; }, kReactionLimitMs)) break;
    at = Highlighted(opened.menu);
  }
  if (at != opened.position) {
    Problem(s, "the arrow keys did not reach the item " + ItemText(s.choice.choose) + " of the pop-up \"" + s.choice.name + "\"");
    return false;
  }
  PressKey(VK_RETURN);
  return true;
}

bool ChooseByMouse(MenuWatch::State& s, const Opened& opened) {
  const POINT centre{(opened.rect.left + opened.rect.right) / 2, (opened.rect.top + opened.rect.bottom) / 2};
  // The cursor's reported place is no proof here (the menu holds the grab,
  // see SendMouseMove); the item's highlight is.
  SendMouseMove(centre);
  if (!WaitFor([&] { return Highlighted(opened.menu) == opened.position; }, kReactionLimitMs)) {
    Problem(s, "the mouse did not highlight the item " + ItemText(s.choice.choose) + " of the pop-up \"" + s.choice.name + "\"");
    return false;
  }
  CallEditor(kAnnounceMessage, WPARAM(opened.position), reinterpret_cast<LPARAM>(opened.menu));
  SendLeftButton(true);
  SendLeftButton(false);
  return true;
}

void WatchMenus(MenuWatch::State& s) {
  for (bool first = true;; first = false) {
    if (!WaitFor([&] { return InMenuLoop(s.editorThread); }, INFINITE, s.stop)) return;
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.sawMenu = true;
    }
    Opened opened;
    opened.choice = &s.choice;
    opened.first = first;
    if (!CallEditor(kOpenedMessage, 0, reinterpret_cast<LPARAM>(&opened)))
      Problem(s, "the editor did not answer while a menu was open");
    if (first && s.choice.buttonStillDown) SendLeftButton(false);
    bool chose = false;
    if (!opened.problem.empty()) {
      Problem(s, opened.problem);
    } else if (!opened.popup) {
      Problem(s, "a menu loop of the menu bar opened; it was closed with Escape");
    } else if (opened.position >= 0) {
      chose = s.choice.keyboard ? ChooseByKeyboard(s, opened) : ChooseByMouse(s, opened);
    }
    if (chose) {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.chosen = opened.id;
    } else {
      PressKey(VK_ESCAPE);
    }
    if (!WaitFor([&] { return !InMenuLoop(s.editorThread); }, kEditorLimitMs)) {
      Problem(s, "the menu \"" + s.choice.name + "\" did not close; it was ended");
      CallEditor(kEndMenuMessage, 0, 0);
      WaitFor([&] { return !InMenuLoop(s.editorThread); }, kReactionLimitMs);
    }
  }
}

DWORD WINAPI Watch(void* parameter) {
  MenuWatch::State& s = *static_cast<MenuWatch::State*>(parameter);
  try {
    WatchMenus(s);
  } catch (const std::exception& e) {
    Problem(s, std::string("the helper that plays the user in menus failed: ") + e.what());
  }
  return 0;
}

}  // namespace

MenuWatch::MenuWatch(HWND main, MenuChoice choice) : state_(new State) {
  gMain = main;
  Helper();
  state_->main = main;
  state_->editorThread = GetCurrentThreadId();
  state_->choice = std::move(choice);
  state_->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  mouseHook_ = SetWindowsHookExW(WH_MOUSE, OwnerMouseHook, nullptr, GetCurrentThreadId());
  thread_ = CreateThread(nullptr, 0, Watch, state_, 0, nullptr);
}

MenuWatch::~MenuWatch() { Stop(); }

std::vector<std::string> MenuWatch::Stop() {
  if (!state_) return {};
  std::vector<std::string> problems;
  if (thread_) {
    SetEvent(state_->stop);
    // The helper may be waiting for an answer of this thread.
    const ULONGLONG end = GetTickCount64() + kEditorLimitMs + kReactionLimitMs;
    for (;;) {
      const ULONGLONG now = GetTickCount64();
      if (now >= end) break;
      const DWORD woke = MsgWaitForMultipleObjectsEx(1, &thread_, DWORD(end - now), QS_SENDMESSAGE, 0);
      if (woke != WAIT_OBJECT_0 + 1) break;
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (WaitForSingleObject(thread_, 0) != WAIT_OBJECT_0) {
      // Left running: its state must outlive it.
      problems.push_back("the helper that plays the user in menus did not finish");
      CloseHandle(thread_);
      thread_ = nullptr;
      state_ = nullptr;
      if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
      mouseHook_ = nullptr;
      return problems;
    }
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
  mouseHook_ = nullptr;
  problems.insert(problems.begin(), state_->problems.begin(), state_->problems.end());
  chosen_ = state_->chosen;
  sawMenu_ = state_->sawMenu;
  CloseHandle(state_->stop);
  delete state_;
  state_ = nullptr;
  return problems;
}

UINT MenuWatch::ChosenId() const { return chosen_; }

bool MenuWatch::SawMenu() const { return sawMenu_; }

}  // namespace simapp
