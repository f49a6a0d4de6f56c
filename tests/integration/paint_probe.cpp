// A plug-in that owner-draws two items at the end of the editor's Layer
// menu: one black on white, one white on white. The tests of what the editor
// reads from the pixels the plug-in draws use it; the real plug-in's items
// are tested elsewhere.
#include <windows.h>

#include <cstring>

namespace {

constexpr UINT kReadable = 0x7701;
constexpr UINT kUnreadable = 0x7702;
constexpr int kItemHeight = 20;

HWND Main = nullptr;
WNDPROC Previous = nullptr;

bool IsLayerMenu(HMENU menu) {
  char label[32] = {};
  return GetMenuStringA(menu, 0, label, sizeof label, MF_BYPOSITION) > 0 && std::strstr(label, "ew Layer");
}

void AddItems(HMENU menu) {
  if (GetMenuState(menu, kReadable, MF_BYCOMMAND) != UINT(-1)) return;
  AppendMenuA(menu, MF_OWNERDRAW, kReadable, nullptr);
  AppendMenuA(menu, MF_OWNERDRAW, kUnreadable, nullptr);
}

void DrawItem(const DRAWITEMSTRUCT& item) {
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(item.hDC, &item.rcItem, white);
  DeleteObject(white);
  const int saved = SaveDC(item.hDC);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, item.itemID == kReadable ? RGB(0, 0, 0) : RGB(255, 255, 255));
  RECT text = item.rcItem;
  text.left += 20;
  DrawTextA(item.hDC, item.itemID == kReadable ? "Black on white" : "White on white", -1, &text,
            DT_SINGLELINE | DT_VCENTER);
  RestoreDC(item.hDC, saved);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP && IsLayerMenu(reinterpret_cast<HMENU>(wParam))) {
    AddItems(reinterpret_cast<HMENU>(wParam));
  } else if (message == WM_MEASUREITEM) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType == ODT_MENU && (item->itemID == kReadable || item->itemID == kUnreadable)) {
      item->itemWidth = 140;
      item->itemHeight = kItemHeight;
      return TRUE;
    }
  } else if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType == ODT_MENU && (item->itemID == kReadable || item->itemID == kUnreadable)) {
      DrawItem(*item);
      return TRUE;
    }
  }
  return CallWindowProcA(Previous, window, message, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) int AutoPluginMain(const char*, const char* selector, void* message) {
  if (!message) return 0;
  if (std::strcmp(selector, "Startup") == 0 && !Main) {
    Main = FindWindowA("pseeditor", nullptr);
    if (Main)
      Previous = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(Main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainProc)));
  }
  if (std::strcmp(selector, "Shutdown") == 0 && Main && Previous) {
    SetWindowLongPtrA(Main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous));
    Main = nullptr;
  }
  return 0;
}
