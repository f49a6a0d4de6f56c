#include "menu_bar.h"

#include <algorithm>

#include "host_menus.h"
#include "paint_watch.h"
#include "text.h"

namespace simapp {
namespace {

std::string Clean(std::wstring label) {
  if (size_t tab = label.find(L'\t'); tab != std::wstring::npos) label.resize(tab);
  std::wstring out;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] == L'&') {
      if (i + 1 < label.size() && label[i + 1] == L'&') out.push_back(L'&'), ++i;
      continue;
    }
    out.push_back(label[i]);
  }
  return Narrow(out);
}

std::wstring RawLabel(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING | MIIM_FTYPE;
  if (!GetMenuItemInfoW(menu, UINT(position), TRUE, &info)) return {};
  if (info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP)) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = UINT(text.size());
  if (!GetMenuItemInfoW(menu, UINT(position), TRUE, &info)) return {};
  text.resize(info.cch);
  return text;
}

// Bounds on what an owner may ask for an item, so that a wild answer cannot
// make the editor allocate a huge bitmap.
constexpr UINT kLargestItemWidth = 2000;
constexpr UINT kLargestItemHeight = 200;

// An owner-drawn item carries no text: what it says is what its owner draws,
// so the editor has the owner measure and draw it into a memory bitmap and
// reads the first text drawn (a shortcut, drawn after it, is not the label).
std::wstring DrawnLabel(HMENU menu, int position, HWND owner, DrawnText* shown) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_DATA | MIIM_STATE;
  if (!owner || !GetMenuItemInfoW(menu, UINT(position), TRUE, &info)) return {};
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
  SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  const int width = int(std::clamp(measure.itemWidth, 1u, kLargestItemWidth));
  const int height = int(std::clamp(measure.itemHeight, 1u, kLargestItemHeight));

  HDC screen = GetDC(owner);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(owner, screen);
  if (!memory || !bitmap) {
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return {};
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  UINT state = 0;
  if (info.fState & MFS_GRAYED) state |= ODS_GRAYED | ODS_DISABLED;
  if (info.fState & MFS_CHECKED) state |= ODS_CHECKED;
  DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(menu), memory,
                      RECT{0, 0, width, height}, info.dwItemData};
  BeginDrawnTextCapture();
  SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  const std::vector<DrawnText> drawn = EndDrawnTextCapture();
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  if (drawn.empty()) return {};
  if (shown) *shown = drawn.front();
  // The plug-in draws its narrow texts in code page 1252.
  return Widen(Utf8FromCodePage(drawn.front().text, 1252));
}

// An item's text as it shows: a plain item's own, an owner-drawn one's drawn
// by `owner` (and how it was drawn, into `shown`); none for separators and
// pictures.
std::wstring ItemLabel(HMENU menu, int position, HWND owner, DrawnText* shown = nullptr) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoW(menu, UINT(position), TRUE, &info)) return {};
  if (info.fType & (MFT_SEPARATOR | MFT_BITMAP)) return {};
  if (info.fType & MFT_OWNERDRAW) return DrawnLabel(menu, position, owner, shown);
  return RawLabel(menu, position);
}

// The real menu loop's messages around a pop-up: the window hears about each
// pop-up on the path before it shows.
void InitPopup(HWND window, HMENU popup, int position) {
  SendMessageW(window, WM_INITMENUPOPUP, WPARAM(popup), MAKELPARAM(position, FALSE));
}

void EnterMenuLoop(HWND window) {
  SendMessageW(window, WM_ENTERMENULOOP, FALSE, 0);
  SendMessageW(window, WM_INITMENU, WPARAM(GetMenu(window)), 0);
}

void ExitMenuLoop(HWND window) {
  SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  SendMessageW(window, WM_EXITMENULOOP, FALSE, 0);
}

// The positions of the submenus leading to the item `id`, the item's own last.
bool PathToId(HMENU menu, UINT id, std::vector<int>& path) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = GetSubMenu(menu, i);
    path.push_back(i);
    if (!sub && GetMenuItemID(menu, i) == id) return true;
    if (sub && PathToId(sub, id, path)) return true;
    path.pop_back();
  }
  return false;
}

int PositionOfLabel(HMENU menu, const std::string& label, HWND owner) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (PlainLabel(menu, i, owner) == label) return i;
  return -1;
}

}  // namespace

HMENU CreateMenuBar(int version) { return CreateHostMenuBar(version); }

std::string PlainLabel(HMENU menu, int position, HWND owner) { return Clean(ItemLabel(menu, position, owner)); }

HMENU FindBarMenu(HMENU bar, const std::string& name, int* position) {
  const int at = PositionOfLabel(bar, name, nullptr);
  if (position) *position = at;
  return at < 0 ? nullptr : GetSubMenu(bar, at);
}

sim::Json DescribeMenu(HMENU menu, HWND owner) {
  sim::Json items = sim::Json::array();
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    sim::Json item;
    item["pos"] = i;
    // A submenu's parent carries a command identifier only when its owner
    // gave it one (the plug-in does); otherwise -1 (menus appended as pop-ups
    // have their handle there).
    const bool ownId = info.wID != 0 && info.wID <= 0xFFFF;
    item["id"] = info.hSubMenu && !ownId ? -1 : int(info.wID);
    DrawnText shown;
    shown.readable = true;
    item["label"] = Narrow(ItemLabel(menu, i, owner, &shown));
    // A label the owner draws is only a label when its pixels show it.
    if (info.fType & MFT_OWNERDRAW && !shown.text.empty()) {
      item["readable"] = shown.readable;
      if (!shown.readable) {
        const auto rgb = [](COLORREF c) {
          return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
        };
        sim::Record(sim::Json{{"kind", "error"},
                              {"text", "the menu item " + std::to_string(info.wID) + " \"" + item["label"].get<std::string>() +
                                           "\" is drawn unreadable: text " + rgb(shown.color) + " on " +
                                           rgb(shown.background) + (shown.pixels == 0 ? ", no pixel changed" : "")}});
      }
    }
    item["enabled"] = (info.fState & (MFS_DISABLED | MFS_GRAYED)) == 0;
    item["checked"] = (info.fState & MFS_CHECKED) != 0;
    item["separator"] = (info.fType & MFT_SEPARATOR) != 0;
    item["ownerDraw"] = (info.fType & MFT_OWNERDRAW) != 0;
    if (info.hSubMenu) item["items"] = DescribeMenu(info.hSubMenu, owner);
    items.push_back(std::move(item));
  }
  return items;
}

std::string OpenMenu(HWND window, const std::string& name) {
  int position = -1;
  HMENU popup = FindBarMenu(GetMenu(window), name, &position);
  if (!popup) return "the menu bar has no menu \"" + name + "\"";
  EnterMenuLoop(window);
  InitPopup(window, popup, position);
  sim::Record(sim::Json{{"kind", "menu"}, {"menu", name}, {"items", DescribeMenu(popup, window)}});
  ExitMenuLoop(window);
  return {};
}

std::string ChooseMenuItem(HWND window, const std::string& name, const sim::Json& choose) {
  int position = -1;
  HMENU menu = FindBarMenu(GetMenu(window), name, &position);
  if (!menu) return "the menu bar has no menu \"" + name + "\"";
  EnterMenuLoop(window);
  InitPopup(window, menu, position);
  // Walk down: each submenu on the way is initialised before it is searched,
  // as the items the plug-in adds appear only then.
  std::string missing;
  UINT id = 0;
  if (choose.is_number_integer()) {
    id = choose.get<UINT>();
    std::vector<int> path;
    if (!PathToId(menu, id, path)) missing = "the menu \"" + name + "\" has no item " + std::to_string(id);
    for (size_t i = 0; missing.empty() && i + 1 < path.size(); ++i) {
      HMENU sub = GetSubMenu(menu, path[i]);
      InitPopup(window, sub, path[i]);
      menu = sub;
      std::vector<int> rest;
      if (!PathToId(menu, id, rest)) missing = "the item " + std::to_string(id) + " went away while its menu opened";
      path.resize(i + 1);
      path.insert(path.end(), rest.begin(), rest.end());
    }
    if (missing.empty()) position = path.back();
  } else {
    std::string where = name;
    for (size_t i = 0; missing.empty() && i < choose.size(); ++i) {
      const std::string label = choose[i].get<std::string>();
      position = PositionOfLabel(menu, label, window);
      if (position < 0) {
        missing = "the menu \"" + where + "\" has no item \"" + label + "\"";
      } else if (i + 1 < choose.size()) {
        HMENU sub = GetSubMenu(menu, position);
        if (!sub) missing = "the item \"" + where + " > " + label + "\" opens no submenu";
        else InitPopup(window, sub, position), menu = sub;
      } else if (GetSubMenu(menu, position)) {
        missing = "the item \"" + where + " > " + label + "\" opens a submenu";
      }
      where += " > " + label;
    }
    if (missing.empty()) id = GetMenuItemID(menu, position);
  }
  if (missing.empty()) {
    const UINT state = GetMenuState(menu, UINT(position), MF_BYPOSITION);
    if (state & (MF_DISABLED | MF_GRAYED)) missing = "the item " + std::to_string(id) + " is disabled";
    else SendMessageW(window, WM_MENUSELECT, MAKEWPARAM(id, state & 0xFFFF), LPARAM(menu));
  }
  ExitMenuLoop(window);
  if (!missing.empty()) return missing;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return {};
}

}  // namespace simapp
