// Pop-up menus that open while an input step runs. The menu loop holds the
// editor's thread until the menu closes, so a helper thread plays the user:
// it waits for the loop, has the open pop-up recorded as a `menu` line, then
// chooses an item with the mouse or the keyboard, or closes the pop-up with
// Escape.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sim_host.h"

namespace simapp {

struct MenuChoice {
  std::string name;             // the recorded `menu` line's name
  sim::Json choose;             // an identifier, a list of labels, or null: close with Escape
  bool keyboard = false;        // arrows and Enter instead of the mouse
  bool buttonStillDown = false; // the press that opened the pop-up is still held: let go first
};

// Watches from construction to Stop() (or destruction); constructed and
// stopped on the editor's thread.
class MenuWatch {
 public:
  MenuWatch(HWND main, MenuChoice choice);
  ~MenuWatch();
  MenuWatch(const MenuWatch&) = delete;
  MenuWatch& operator=(const MenuWatch&) = delete;

  // Ends the watch, running the message loop while the helper finishes.
  // Returns what went wrong, one text per problem.
  std::vector<std::string> Stop();

  // After Stop(): the identifier of the item the helper chose in the first
  // pop-up; 0 when it chose none.
  UINT ChosenId() const;
  // After Stop(): whether a menu loop ran at all.
  bool SawMenu() const;

  struct State;

 private:
  State* state_;
  HANDLE thread_ = nullptr;
  HHOOK mouseHook_ = nullptr;
  UINT chosen_ = 0;
  bool sawMenu_ = false;
};

}  // namespace simapp
