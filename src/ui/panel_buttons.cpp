#include "ui/panel_buttons.h"

#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "commands/dispatcher.h"
#include "commands/layer_arrangement.h"
#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/layer_queries.h"
#include "menus/action_script_menus.h"
#include "menus/module_menus.h"
#include "modes/quick_mask.h"
#include "ui/gdi_objects.h"
#include "ui/panel_geometry.h"

namespace {

constexpr std::uint32_t kGroupLayers = 0x884B;
constexpr std::uint32_t kUngroupLayers = 0x884C;
constexpr std::uint32_t kConvertToSmartObject = 0x8834;
constexpr std::uint32_t kEditSmartFilters = 0x882B;
constexpr std::uint32_t kVectorMaskFromSelection = 0x8845;
constexpr std::uint32_t kRevealSelection = 0x883C;
constexpr std::uint32_t kHideSelection = 0x883D;
constexpr std::uint32_t kRevealAll = 0x883A;
constexpr std::uint32_t kHideAll = 0x883B;

// The button the mouse is over (-1: none), so that leaving it unframes it.
int PanelHover = -1;
int ControlBarHover = -1;
bool ToolbarHover = false;

// The oldest editors have no panel colour of their own; start-up settles it
// once. CLR_INVALID: not settled yet.
COLORREF InterfaceColor = CLR_INVALID;

// The tooltips made at start-up and the fonts they show their texts in,
// which must outlive them.
struct Tooltip {
  HWND window, parent;
};
std::vector<Tooltip> Tooltips;
std::vector<HFONT> TooltipFonts;

COLORREF ColorOf(panel::Rgb c) { return RGB(c.r, c.g, c.b); }
panel::Rgb RgbOf(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }
RECT RectOf(const panel::Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

struct ClientSize {
  int width = 0, height = 0;
};
std::optional<ClientSize> ClientSizeOf(HWND view) {
  RECT client{};
  if (!view || !GetClientRect(view, &client)) return std::nullopt;
  return ClientSize{client.right - client.left, client.bottom - client.top};
}

POINT ClientPoint(HWND view, POINT point, bool pointIsScreen) {
  if (pointIsScreen) ScreenToClient(view, &point);
  return point;
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom; }

COLORREF ColorizeColor() { return ColorOf(panel::ColorizeColorFor(RgbOf(HostPanelBackground()))); }

void FillBox(HDC dc, const RECT& rect, COLORREF color) {
  BrushHolder brush(CreateSolidBrush(color));
  if (brush) FillRect(dc, &rect, brush.get());
}

void FrameBox(HDC dc, const RECT& rect) {
  BrushHolder brush(CreateSolidBrush(ColorOf(panel::kHoverFrameColor)));
  if (brush) FrameRect(dc, &rect, brush.get());
}

bool ControlDown() { return GetAsyncKeyState(VK_CONTROL) < 0; }
bool AltDown() { return GetAsyncKeyState(VK_MENU) < 0; }

// A new mask on the current layer, by the selection and the keys held.
void AddMaskByKeys() {
  const bool alt = AltDown();
  if (HasSelection()) {
    if (ControlDown()) {
      // The mask is made of the inverted selection: if the inversion failed
      // it would be made of the selection the user did not mean.
      if (alt && InverseSelection() != 0) return;
      DispatchCommand(kVectorMaskFromSelection);
    } else {
      DispatchCommand(alt ? kHideSelection : kRevealSelection);
    }
  } else {
    DispatchCommand(alt ? kHideAll : kRevealAll);
  }
}

void RunPanelAction(panel::PanelAction action, bool ctrlMode) {
  switch (action) {
    case panel::kGroupAction:
      if (!IsBackgroundLayer()) DispatchCommand(IsLayerGroup() ? kUngroupLayers : kGroupLayers);
      return;
    case panel::kSmartObjectAction:
      if (!IsSmartObjectLayer())
        DispatchCommand(kConvertToSmartObject);
      else if (CountSmartFilters() > 0)
        DispatchCommand(kEditSmartFilters);
      return;
    case panel::kMaskOrStyleAction:
      if (HostMajorVersion >= 9 && !ctrlMode) {
        EditLayerStyle();
        return;
      }
      if (!IsBackgroundLayer()) AddMaskByKeys();
      return;
  }
}

}  // namespace

const unsigned char* LoadBinaryResource(const char* name, DWORD* size) {
  if (size) *size = 0;
  HRSRC found = FindResourceA(ModuleInstance, name, "BINARY");
  if (!found) return nullptr;
  const DWORD count = SizeofResource(ModuleInstance, found);
  HGLOBAL loaded = LoadResource(ModuleInstance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || count == 0) return nullptr;
  if (size) *size = count;
  return static_cast<const unsigned char*>(bytes);
}

void DrawModuleIcon(int kind, HWND window, int x, int y, bool framed) {
  const panel::IconShape icon = panel::IconOf(kind);
  WindowDc dc(window);
  if (!dc.get()) return;
  const RECT rect{x, y, x + icon.width, y + icon.height};
  if (ColorizeEnabled) FillBox(dc.get(), rect, ColorizeColor());
  if (framed) FrameBox(dc.get(), rect);
  char name[16] = {};
  const size_t length = icon.resource.size() < sizeof name - 1 ? icon.resource.size() : sizeof name - 1;
  icon.resource.copy(name, length);
  DWORD size = 0;
  const unsigned char* bytes = LoadBinaryResource(name, &size);
  // A resource shorter than its icon (it cannot be, but nothing is read past
  // what there is) paints what it holds.
  const DWORD pixels = bytes ? size / 3 : 0;
  for (int row = 0; row < icon.height; ++row)
    for (int column = 0; column < icon.width; ++column) {
      const DWORD i = DWORD(row * icon.width + column);
      if (i >= pixels) return;
      const unsigned char* p = bytes + size_t(i) * 3;
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
      SetPixel(dc.get(), x + column, y + row, RGB(p[0], p[1], p[2]));
    }
}

// Layers panel.

bool PanelButtonRect(HWND view, int button, RECT* rect) {
  const std::optional<ClientSize> size = ClientSizeOf(view);
  if (!size) return false;
  const std::optional<panel::Box> box = panel::PanelButtonBox(HostMajorVersion, button, size->width, size->height);
  if (!box) return false;
  if (rect) *rect = RectOf(*box);
  return true;
}

int PanelButtonIcon(int button) { return panel::PanelButtonIconKind(HostMajorVersion, button); }

void DrawPanelButton(HWND view, int button, bool framed) {
  RECT rect{};
  if (!PanelButtonRect(view, button, &rect)) return;
  DrawModuleIcon(PanelButtonIcon(button), view, rect.left, rect.top, framed);
}

void DrawPanelButtons(HWND view) {
  for (int button = 0; button < panel::kPanelButtonCount; ++button) DrawPanelButton(view, button, false);
}

int HitPanelButton(HWND view, POINT point, bool pointIsScreen) {
  // The rectangles first: the view asks on every mouse move, and a point off
  // the buttons needs nothing from the host.
  const POINT p = ClientPoint(view, point, pointIsScreen);
  for (int button = 0; button < panel::kPanelButtonCount; ++button) {
    RECT rect{};
    if (PanelButtonRect(view, button, &rect) && Contains(rect, p)) return IsDocumentOpen(false) ? button : -1;
  }
  return -1;
}

bool HitHostMaskButton(HWND view, POINT point, bool pointIsScreen) {
  const std::optional<ClientSize> size = ClientSizeOf(view);
  if (!size) return false;
  const std::optional<panel::Box> box = panel::HostMaskButtonBox(HostMajorVersion, size->width, size->height);
  if (!box) return false;
  return Contains(RectOf(*box), ClientPoint(view, point, pointIsScreen));
}

void TrackPanelButtonHover(HWND view, POINT screen) {
  const int hit = HitPanelButton(view, screen, true);
  if (hit == -1) {
    RECT rect{};
    if (PanelHover != -1 && PanelButtonRect(view, PanelHover, &rect)) InvalidateRect(view, &rect, TRUE);
    PanelHover = -1;
    return;
  }
  if (hit == PanelHover) return;
  const int kind = PanelButtonIcon(hit);
  // The background takes neither a mask nor a group: its buttons stay plain.
  if ((kind == panel::kLayerMaskIcon || kind == panel::kGroupLayersIcon) && IsBackgroundLayer()) return;
  DrawPanelButton(view, hit, true);
  PanelHover = hit;
}

bool ClickPanelButton(HWND view, POINT client) {
  const int hit = HitPanelButton(view, client, false);
  if (hit != -1) {
    RunPanelAction(panel::PanelButtonAction(HostMajorVersion, hit), false);
    return true;
  }
  if (!HitHostMaskButton(view, client, false) || !ControlDown()) return false;
  // The editor's own mask button, Ctrl-clicked, makes the module's masks; the
  // editor would otherwise take the click as its own.
  if (!IsDocumentOpen(false)) return false;
  RunPanelAction(panel::kMaskOrStyleAction, true);
  return true;
}

// Control bar.

RECT ControlBarButtonRect(HWND view, int button) {
  const std::optional<ClientSize> size = ClientSizeOf(view);
  return RectOf(panel::ControlBarButtonBox(HostMajorVersion, button, size ? size->width : 0));
}

void DrawControlBarButtons(HWND view, int which, bool framed) {
  const std::optional<ClientSize> size = ClientSizeOf(view);
  if (!size) return;
  WindowDc dc(view);
  if (!dc.get()) return;
  FontHolder font(CreateFontA(WindowsVersionCode >= 11 ? 16 : 18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, "Myriad Web Pro"));
  SavedDcState saved(dc.get());
  SelectGuard selected(dc.get(), font.get());
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), ColorOf(panel::ControlBarTextColor(HostMajorVersion)));
  static constexpr const char* kTexts[] = {"Scripts", "Actions"};
  for (int button = 0; button < 2; ++button) {
    if (which >= 0 && which != button) continue;
    const panel::Box box = panel::ControlBarButtonBox(HostMajorVersion, button, size->width);
    const RECT rect = RectOf(box);
    if (ColorizeEnabled) FillBox(dc.get(), rect, ColorizeColor());
    if (framed) FrameBox(dc.get(), RectOf(panel::ControlBarFrameBox(HostMajorVersion, box)));
    RECT measured{0, 0, 0, 0};
    DrawTextA(dc.get(), kTexts[button], -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
    RECT place{box.left + (panel::kControlBarButtonWidth - textWidth) / 2, (30 - textHeight) / 2 + 3, 0, 0};
    place.right = place.left + textWidth;
    place.bottom = place.top + textHeight;
    DrawTextA(dc.get(), kTexts[button], -1, &place, DT_SINGLELINE | DT_NOCLIP);
    const int arrowX = box.right - 12, arrowY = (size->height - panel::kArrowHeight) / 2;
    for (int row = 0; row < panel::kArrowHeight; ++row)
      for (int column = 0; column < panel::kArrowWidth; ++column) {
        const int grey = panel::kArrowGlyph[row][column];
        if (grey >= 0) SetPixel(dc.get(), arrowX + column, arrowY + row, RGB(grey, grey, grey));
      }
  }
}

int HitControlBarButton(HWND view, POINT point, bool pointIsScreen) {
  const POINT p = ClientPoint(view, point, pointIsScreen);
  for (int button = 0; button < 2; ++button)
    if (Contains(ControlBarButtonRect(view, button), p)) return button;
  return -1;
}

void TrackControlBarHover(HWND view, POINT screen) {
  const int hit = HitControlBarButton(view, screen, true);
  if (hit == -1) {
    if (ControlBarHover != -1) {
      const RECT rect = ControlBarButtonRect(view, ControlBarHover);
      InvalidateRect(view, &rect, TRUE);
    }
    ControlBarHover = -1;
    return;
  }
  if (hit == ControlBarHover) return;
  DrawControlBarButtons(view, hit, true);
  ControlBarHover = hit;
}

bool ClickControlBarButton(HWND view, POINT client) {
  const int hit = HitControlBarButton(view, client, false);
  if (hit == -1) return false;
  RECT rect = ControlBarButtonRect(view, hit);
  MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  const bool actions = hit == 1;
  if (actions)
    RebuildActionsMenus(MF_OWNERDRAW, MF_OWNERDRAW);
  else
    RebuildScriptsMenus();
  const RECT other = ControlBarButtonRect(view, actions ? 0 : 1);
  InvalidateRect(view, &other, TRUE);
  HMENU popup = actions ? ActionsPopupMenu : ScriptsPopupMenu;
  if (popup)
    TrackPopupMenu(popup, 0, rect.left, rect.bottom + panel::ControlBarPopupOffset(HostMajorVersion), 0, MainWindow,
                   nullptr);
  return true;
}

// Toolbar.

bool QuickMaskButtonRect(HWND view, RECT* rect) {
  const std::optional<ClientSize> size = ClientSizeOf(view);
  if (!size) return false;
  const std::optional<panel::Box> box = panel::QuickMaskButtonBox(size->width);
  if (!box) return false;
  if (rect) *rect = RectOf(*box);
  return true;
}

bool DrawQuickMaskButton(HWND view, bool framed) {
  RECT rect{};
  if (!QuickMaskButtonRect(view, &rect)) return false;
  DrawModuleIcon(QuickMaskActive ? panel::kQuickMask2Icon : panel::kQuickMaskIcon, view, rect.left, rect.top, framed);
  return true;
}

void TrackToolbarHover(HWND view, POINT screen) {
  RECT rect{};
  const bool exists = QuickMaskButtonRect(view, &rect);
  const bool inside = exists && Contains(rect, ClientPoint(view, screen, true));
  if (inside && !ToolbarHover) {
    if (!IsDocumentOpen(false)) return;
    DrawQuickMaskButton(view, true);
    ToolbarHover = true;
  } else if (!inside && ToolbarHover) {
    if (exists) InvalidateRect(view, &rect, TRUE);
    ToolbarHover = false;
  }
}

bool HitQuickMaskButton(HWND view, POINT point, bool pointIsScreen) {
  RECT rect{};
  if (!QuickMaskButtonRect(view, &rect)) return false;
  if (!Contains(rect, ClientPoint(view, point, pointIsScreen))) return false;
  return IsDocumentOpen(false);
}

void RefreshQuickMaskButton() {
  RECT rect{};
  if (ToolbarView && IsWindow(ToolbarView) && QuickMaskButtonRect(ToolbarView, &rect))
    InvalidateRect(ToolbarView, &rect, TRUE);
}

// Colours.

COLORREF HostInterfaceColor() {
  InterfaceColor = HostIsElements && HostMajorVersion == 3 ? RGB(230, 230, 230) : GetSysColor(COLOR_BTNFACE);
  return InterfaceColor;
}

COLORREF HostPanelBackground() {
  if (const std::optional<panel::Rgb> own = panel::PanelBackgroundOf(HostMajorVersion)) return ColorOf(*own);
  return InterfaceColor != CLR_INVALID ? InterfaceColor : HostInterfaceColor();
}

// Tooltips.

namespace {

// Turns visual styles off for a tooltip, where the system has them.
void PlainTheme(HWND tooltip) {
  HMODULE theme = LoadLibraryA("uxtheme.dll");
  if (!theme) return;
  using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  auto setTheme = reinterpret_cast<SetWindowThemeProc>(reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme")));
  if (setTheme) setTheme(tooltip, L"", L"");
  FreeLibrary(theme);
}

}  // namespace

HWND AddTooltip(HWND parent, const char* text, const RECT* rect) {
  if (!parent || !text) return nullptr;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                                 ModuleInstance, nullptr);
  if (!tooltip) return nullptr;
  Tooltips.push_back({tooltip, parent});
  PlainTheme(tooltip);
  SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TOOLINFOA tool{};
  // The record of the oldest common controls, which every system takes.
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  // The view's mouse messages come from the module's own procedure on it
  // (RelayToTooltips): a tooltip that put a procedure of its own on the view
  // would keep the module's from being taken off again at shutdown.
  tool.uFlags = 0;
  tool.hwnd = parent;
  tool.uId = 0;
  if (rect)
    tool.rect = *rect;
  else
    GetClientRect(parent, &tool.rect);
  tool.hinst = ModuleInstance;
  tool.lpszText = const_cast<char*>(text);
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  if (HostMajorVersion >= 11) {
    SendMessageA(tooltip, TTM_SETTIPBKCOLOR, ColorOf(panel::kTooltipBackground), 0);
    SendMessageA(tooltip, TTM_SETTIPTEXTCOLOR, RGB(0, 0, 0), 0);
  }
  HFONT font = CreateFontA(HostMajorVersion == 8 ? 11 : 14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           "Myriad Web Pro");
  if (font) {
    TooltipFonts.push_back(font);
    SendMessageA(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return tooltip;
}

void RelayToTooltips(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      break;
    default:
      return;
  }
  for (const Tooltip& tooltip : Tooltips) {
    if (tooltip.parent != view || !IsWindow(tooltip.window)) continue;
    MSG relayed{};
    relayed.hwnd = view;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = DWORD(GetMessageTime());
    const DWORD at = GetMessagePos();
    relayed.pt = POINT{short(LOWORD(at)), short(HIWORD(at))};
    SendMessageA(tooltip.window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
}

void CreatePanelTooltips() {
  if (HostMajorVersion >= 8 && LayersView)
    for (int button = 0; button < panel::kPanelButtonCount; ++button) {
      RECT rect{};
      if (!PanelButtonRect(LayersView, button, &rect)) continue;
      AddTooltip(LayersView, panel::TooltipText(PanelButtonIcon(button), HostIsGerman).data(), &rect);
    }
  if (HostMajorVersion >= 11 && ToolbarView) {
    RECT rect{};
    if (QuickMaskButtonRect(ToolbarView, &rect))
      AddTooltip(ToolbarView, panel::TooltipText(panel::kQuickMaskIcon, HostIsGerman).data(), &rect);
  }
}

void ResetPanelButtons() {
  PanelHover = -1;
  ControlBarHover = -1;
  ToolbarHover = false;
  InterfaceColor = CLR_INVALID;
  for (const Tooltip& tooltip : Tooltips) {
    if (!IsWindow(tooltip.window)) continue;
    DestroyWindow(tooltip.window);
  }
  Tooltips.clear();
  for (HFONT font : TooltipFonts) DeleteObject(font);
  TooltipFonts.clear();
}
