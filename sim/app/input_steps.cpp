#include "input_steps.h"

#include <iterator>
#include <optional>

#include "host_popups.h"
#include "host_windows.h"
#include "input.h"
#include "key_names.h"
#include "menu_watch.h"

namespace simapp {
namespace {

MenuChoice ChoiceOf(const sim::Json& step, std::string name, bool buttonStillDown) {
  MenuChoice choice;
  choice.name = std::move(name);
  if (auto it = step.find("choose"); it != step.end()) choice.choose = *it;
  choice.keyboard = step.value("keyboard", false);
  choice.buttonStillDown = buttonStillDown;
  return choice;
}

void Append(std::vector<std::string>& to, std::vector<std::string> more) {
  to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

// A `choose` that found no pop-up to choose from is the scenario's mistake
// (or the plug-in's), not something to pass over.
void CheckSomethingWasChosenFrom(const sim::Json& step, const MenuWatch& watch, std::vector<std::string>& problems) {
  if (step.contains("choose") && !watch.SawMenu()) problems.push_back("no pop-up opened to choose from");
}

std::string Taken(bool taken, const std::string& what) {
  return taken ? std::string() : "the editor did not take the input of " + what + " within " +
                                     std::to_string(kInputLimitMs / 1000) + " s";
}

// Another program's window, in front of the editor while it lives.
class OtherProgramWindow {
 public:
  OtherProgramWindow() {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    cls.lpszClassName = L"SimOtherProgram";
    if (!RegisterClassExW(&cls) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    window_ = CreateWindowExW(0, cls.lpszClassName, L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200,
                              320, 200, nullptr, nullptr, cls.hInstance, nullptr);
  }
  OtherProgramWindow(const OtherProgramWindow&) = delete;
  OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
  ~OtherProgramWindow() {
    if (window_) DestroyWindow(window_);
  }
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace

std::vector<std::string> RunClickStep(HWND main, const sim::Json& step) {
  const std::string role = step["click"].get<std::string>();
  HWND view = HostView(role);
  if (!view) return {"the " + role + " view does not exist in this editor's version and layout"};
  RECT client{};
  GetClientRect(view, &client);
  int x = step["x"].get<int>(), y = step["y"].get<int>();
  if (x < 0) x += client.right;
  if (y < 0) y += client.bottom;
  if (x < 0 || y < 0 || x >= client.right || y >= client.bottom)
    return {"the point (" + std::to_string(step["x"].get<int>()) + ", " + std::to_string(step["y"].get<int>()) +
            ") lies outside the " + role + " view's " + std::to_string(client.right) + " x " +
            std::to_string(client.bottom) + " client area"};
  POINT screen{x, y};
  ClientToScreen(view, &screen);
  if (WindowFromPoint(screen) != view)
    return {"the point (" + std::to_string(x) + ", " + std::to_string(y) + ") of the " + role +
            " view is covered by another window"};
  if (std::string error = BringToFront(main); !error.empty()) return {error};

  const bool hover = step.value("hover", false), twice = step.value("double", false);
  const std::vector<unsigned short> modifiers = ModifierKeys(step.value("ctrl", false), false, step.value("alt", false));
  if (!hover) KeepApartFromLastClick(screen);
  MenuWatch watch(main, ChoiceOf(step, "popup", false));
  std::vector<std::string> problems;
  // The hand moves first and the modifiers go down on the spot: a move that
  // crosses into another window must not come between them and the click.
  if (!SendMouseMove(screen)) problems.push_back("the cursor cannot be moved onto the " + role + " view");
  std::string late = Taken(PumpUntilPointerSettled(kInputLimitMs), "the move");
  if (late.empty() && !HoldModifiers(modifiers)) problems.push_back("the modifiers of the click do not stay down");
  if (!hover)
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
      SendLeftButton(true);
      SendLeftButton(false);
    }
  // The modifiers stay down until the click has been taken: the plug-in reads
  // them while it handles the press.
  if (late.empty()) late = Taken(PumpUntilInputTaken(kInputLimitMs), "the click");
  // Alt let go after a click does not open the menu bar on the system the
  // editor runs on; here an unassigned key between says so to the menu loop.
  if (!hover && step.value("alt", false)) {
    constexpr unsigned short kUnassignedKey = 0xE8;
    SendKey(kUnassignedKey, false);
    SendKey(kUnassignedKey, true);
  }
  ReleaseModifiers(modifiers);
  if (late.empty()) late = Taken(PumpUntilInputTaken(kInputLimitMs), "the click");
  if (!hover) NoteClick(screen);
  Append(problems, watch.Stop());
  CheckSomethingWasChosenFrom(step, watch, problems);
  if (!late.empty()) problems.push_back(late);
  return problems;
}

std::vector<std::string> RunPopupStep(HWND main, const sim::Json& step, int hostVersion) {
  const std::string name = step["popup"].get<std::string>();
  PopupAnchor anchor;
  if (std::string error = FindPopupAnchor(name, hostVersion, anchor); !error.empty())
    return {"the pop-up \"" + name + "\" cannot open: " + error};
  POINT press{(anchor.rect.left + anchor.rect.right) / 2, (anchor.rect.top + anchor.rect.bottom) / 2};
  ClientToScreen(anchor.view, &press);
  if (WindowFromPoint(press) != anchor.view) return {"the button of the pop-up \"" + name + "\" is covered by another window"};
  if (std::string error = BringToFront(main); !error.empty()) return {error};

  HMENU menu = CreateHostPopup(name);
  KeepApartFromLastClick(press);
  std::vector<std::string> problems;
  {
    MenuWatch watch(main, ChoiceOf(step, name, true));
    ArmHostPopup(anchor, menu, main);
    if (!SendMouseMove(press)) problems.push_back("the cursor cannot be moved onto the button of the pop-up \"" + name + "\"");
    // Wine's late answer to the move would put the cursor back on the button
    // while the helper moves it onto an item of the open pop-up.
    std::string late = Taken(PumpUntilPointerSettled(kInputLimitMs), "the move onto the pop-up's button");
    SendLeftButton(true);
    if (late.empty()) late = Taken(PumpUntilInputTaken(kInputLimitMs), "the press on the pop-up's button");
    UINT returned = 0;
    const bool tracked = DisarmHostPopup(&returned);
    if (!tracked) {
      // The press never reached the editor's view (the plug-in kept it).
      SendLeftButton(false);
      PumpUntilInputTaken(kInputLimitMs);
      problems.push_back("the pop-up \"" + name + "\" did not open: the press on its button did not reach the editor");
    }
    NoteClick(press);
    Append(problems, watch.Stop());
    if (tracked && watch.ChosenId() != 0 && returned != watch.ChosenId())
      problems.push_back("the pop-up \"" + name + "\" returned " + std::to_string(returned) + " where " +
                         std::to_string(watch.ChosenId()) + " was chosen");
    if (!late.empty()) problems.push_back(late);
  }
  DestroyMenu(menu);
  return problems;
}

std::vector<std::string> RunKeyStep(HWND main, const sim::Json& step) {
  KeyChord chord;
  std::string error;
  if (!ParseKeyChord(step["key"].get<std::string>(), chord, error)) return {"key: " + error};
  std::optional<OtherProgramWindow> other;
  if (step.value("foreground", std::string("main")) == "other") {
    other.emplace();
    if (!other->get()) return {"the other program's window cannot be made"};
    if (error = BringToFront(other->get()); !error.empty()) return {"another program's window: " + error};
  } else if (error = BringToFront(main); !error.empty()) {
    return {error};
  }
  const int downs = step.value("repeat", 1);
  const std::string what = "the key " + step["key"].get<std::string>();
  const std::vector<unsigned short> modifiers = ModifierKeys(chord.ctrl, chord.shift, chord.alt);
  MenuWatch watch(main, ChoiceOf(step, "popup", false));
  std::vector<std::string> problems;
  if (!HoldModifiers(modifiers)) problems.push_back("the modifiers of " + what + " do not stay down");
  // Each key-down is taken before the next input, so that the hooks see the
  // modifiers down and every repeat as a repeat; the key goes up before them.
  std::string late;
  for (int i = 0; i < downs && late.empty(); ++i) {
    SendKey(chord.key, false, chord.extended);
    late = Taken(PumpUntilInputTaken(kInputLimitMs), what);
  }
  SendKey(chord.key, true, chord.extended);
  if (late.empty()) late = Taken(PumpUntilInputTaken(kInputLimitMs), what);
  ReleaseModifiers(modifiers);
  if (late.empty()) late = Taken(PumpUntilInputTaken(kInputLimitMs), what);
  Append(problems, watch.Stop());
  CheckSomethingWasChosenFrom(step, watch, problems);
  if (!late.empty()) problems.push_back(late);
  return problems;
}

}  // namespace simapp
