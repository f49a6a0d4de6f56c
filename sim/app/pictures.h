// Pictures of what shows on the screen: the main window, a view, the open
// menu or the plug-in's dialog, read back from the windows' own pixels and
// written as PNG files into the --screenshots folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simapp {

// Where screenshot steps write; empty: they are recorded, nothing is written.
void SetScreenshotFolder(const std::wstring& folder);

struct Picture {
  int width = 0, height = 0;
  RECT screen{};                    // where it was taken on the screen
  std::vector<unsigned char> rgb;   // rows from the top, three bytes a pixel
};

// The whole window (frame, menu bar and children) or, with `clientOnly`, its
// client area. False when the window has no pixels to read.
bool CaptureWindow(HWND window, bool clientOnly, Picture& picture);
// The menus showing on this thread, the open submenus over their parents.
bool CaptureOpenMenus(Picture& picture);
// Whether a menu of this thread shows.
bool MenuShowing();

// Encodes the picture as PNG into `path`. Returns an empty string, or why not.
std::string WritePng(const std::wstring& path, const Picture& picture);

// A `screenshot` step: takes the picture `of` says ("main", "menu",
// "layers", "controlBar", "toolbar", "dialog"; empty: the open menu when one
// shows, else the main window), writes NAME.png when there is a folder and
// records a `screenshot` line. Returns what went wrong, if anything.
std::string TakeScreenshot(HWND main, const std::string& name, const std::string& of);

}  // namespace simapp
