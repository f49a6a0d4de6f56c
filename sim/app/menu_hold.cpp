#include "menu_hold.h"

#include <exception>
#include <mutex>

#include "input.h"
#include "menu_bar.h"

namespace simapp {
namespace {

// How long the helper waits for each thing it caused to show, and for the
// editor's thread to answer it.
constexpr DWORD kReactionLimitMs = 5000;
constexpr DWORD kEditorLimitMs = 15000;
// A submenu that has not opened under the mouse this long is opened with the
// Right key.
constexpr DWORD kHoverLimitMs = 1000;

constexpr UINT kRunMessage = WM_APP + 10;  // lParam: std::function<void()>*

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunMessage) return DefWindowProcW(window, message, wParam, lParam);
  try {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
  } catch (const std::exception& e) {
    sim::Record(sim::Json{{"kind", "error"}, {"text", std::string("while the menu was open: ") + e.what()}});
  }
  return 1;
}

// A message-only window of the editor's thread through which the helper has
// that thread act; the menu loop dispatches what is sent to it.
HWND Runner() {
  static HWND runner = nullptr;
  if (runner && IsWindow(runner)) return runner;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = RunnerProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"SimEditorMenuHold";
  RegisterClassExW(&cls);
  runner = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
  return runner;
}

struct Hold {
  HWND main = nullptr;
  HWND runner = nullptr;
  DWORD editorThread = 0;
  std::string name;
  HMENU menu = nullptr;
  sim::Json path;
  const std::function<void()>* whileOpen = nullptr;
  std::mutex mutex;
  std::vector<std::string> problems;
};

void Problem(Hold& h, std::string text) {
  std::lock_guard<std::mutex> lock(h.mutex);
  h.problems.push_back(std::move(text));
}

bool OnEditor(Hold& h, const std::function<void()>& work) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(h.runner, kRunMessage, 0, reinterpret_cast<LPARAM>(&work), SMTO_NORMAL, kEditorLimitMs,
                             &result) &&
         result;
}

bool InMenuLoop(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
}

BOOL CALLBACK CountMenuWindow(HWND window, LPARAM count) {
  wchar_t cls[16] = {};
  if (IsWindowVisible(window) && GetClassNameW(window, cls, 16) && std::wstring_view(cls) == L"#32768")
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ShowingMenus(DWORD thread) {
  int count = 0;
  EnumThreadWindows(thread, CountMenuWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD limitMs) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  while (!condition()) {
    if (GetTickCount64() >= end) return false;
    Sleep(5);
  }
  return true;
}

void PressKey(unsigned short key) {
  SendKey(key, false, true);
  SendKey(key, true, true);
}

// The submenus of the path, one after another, each by its label in the one
// opened before.
bool OpenPath(Hold& h) {
  HMENU menu = h.menu;
  std::string where = h.name;
  for (size_t level = 0; level < h.path.size(); ++level) {
    const std::string label = h.path[level].is_string() ? h.path[level].get<std::string>() : h.path[level].dump();
    int position = -1;
    HMENU sub = nullptr;
    RECT item{};
    OnEditor(h, [&] {
      const int count = GetMenuItemCount(menu);
      for (int i = 0; i < count && position < 0; ++i)
        if (PlainLabel(menu, i, h.main) == label) position = i;
      if (position < 0) return;
      sub = GetSubMenu(menu, position);
      if (!GetMenuItemRect(nullptr, menu, UINT(position), &item)) position = -2;
    });
    if (position == -1) return Problem(h, "the menu \"" + where + "\" has no item \"" + label + "\""), false;
    if (position == -2) return Problem(h, "the item \"" + where + " > " + label + "\" has no place on the screen"), false;
    if (!sub) return Problem(h, "the item \"" + where + " > " + label + "\" opens no submenu"), false;
    where += " > " + label;
    const int showing = int(level) + 2;
    const POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    SendMouseMove(centre);
    if (!WaitFor([&] { return ShowingMenus(h.editorThread) >= showing; }, kHoverLimitMs)) {
      PressKey(VK_RIGHT);
      if (!WaitFor([&] { return ShowingMenus(h.editorThread) >= showing; }, kReactionLimitMs))
        return Problem(h, "the submenu \"" + where + "\" did not open"), false;
    }
    menu = sub;
  }
  return true;
}

void Play(Hold& h) {
  if (!WaitFor([&] { return InMenuLoop(h.editorThread) && ShowingMenus(h.editorThread) > 0; }, kReactionLimitMs)) {
    Problem(h, "the menu \"" + h.name + "\" did not open on a click of its title");
    if (InMenuLoop(h.editorThread)) OnEditor(h, [] { EndMenu(); });
    return;
  }
  OpenPath(h);
  if (!OnEditor(h, [&] {
        sim::Record(sim::Json{{"kind", "menu"}, {"menu", h.name}, {"items", DescribeMenu(h.menu, h.main)}});
        (*h.whileOpen)();
      }))
    Problem(h, "the editor did not answer while the menu \"" + h.name + "\" was open");
  OnEditor(h, [] { EndMenu(); });
  if (!WaitFor([&] { return !InMenuLoop(h.editorThread); }, kReactionLimitMs)) {
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    PressKey(VK_ESCAPE);
    if (!WaitFor([&] { return !InMenuLoop(h.editorThread); }, kReactionLimitMs))
      Problem(h, "the menu \"" + h.name + "\" did not close");
  }
}

DWORD WINAPI Helper(void* parameter) {
  Hold& h = *static_cast<Hold*>(parameter);
  try {
    Play(h);
  } catch (const std::exception& e) {
    Problem(h, std::string("the helper that holds menus open failed: ") + e.what());
  }
  return 0;
}

}  // namespace

std::vector<std::string> HoldMenuOpen(HWND main, const std::string& name, const sim::Json& path,
                                      const std::function<void()>& whileOpen) {
  HMENU bar = GetMenu(main);
  int position = -1;
  HMENU menu = FindBarMenu(bar, name, &position);
  if (!menu) return {"the menu bar has no menu \"" + name + "\""};
  RECT title{};
  if (!GetMenuItemRect(main, bar, UINT(position), &title)) return {"the menu \"" + name + "\" has no place on the menu bar"};
  if (std::string error = BringToFront(main); !error.empty()) return {error};

  auto* h = new Hold;
  h->main = main;
  h->runner = Runner();
  h->editorThread = GetCurrentThreadId();
  h->name = name;
  h->menu = menu;
  h->path = path.is_array() ? path : sim::Json::array();
  h->whileOpen = &whileOpen;
  HANDLE thread = CreateThread(nullptr, 0, Helper, h, 0, nullptr);
  if (!thread) {
    delete h;
    return {"the helper that holds menus open cannot start"};
  }
  const POINT centre{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
  KeepApartFromLastClick(centre);
  std::vector<std::string> problems;
  if (!SendMouseMove(centre)) problems.push_back("the cursor cannot be moved onto the menu \"" + name + "\"");
  SendLeftButton(true);
  SendLeftButton(false);
  // The click opens the menu loop inside this pump; it returns once the
  // helper has ended the menu.
  PumpUntilInputTaken(kInputLimitMs, thread);
  NoteClick(centre);
  // The helper holds `whileOpen`, which lives on this frame: it is given
  // every chance to finish, the menu ended under it, before this returns.
  for (int attempt = 0; attempt < 3 && WaitForSingleObject(thread, 0) != WAIT_OBJECT_0; ++attempt) {
    EndMenu();
    PumpUntilInputTaken(kInputLimitMs, thread);
  }
  if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) {
    // Left running: its state must outlive it.
    CloseHandle(thread);
    problems.push_back("the helper that holds menus open did not finish");
    return problems;
  }
  CloseHandle(thread);
  problems.insert(problems.end(), h->problems.begin(), h->problems.end());
  delete h;
  return problems;
}

}  // namespace simapp
