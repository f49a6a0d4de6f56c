#include "paint_watch.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "host_windows.h"
#include "sim_host.h"
#include "text.h"

namespace simapp {
namespace {

bool gCapturing = false;
std::vector<DrawnText> gCaptured;

struct Pending {
  HWND window;
  std::string role;
  POINT origin;  // the client area's top left on the screen, when first drawn into
  sim::Json what;
};

std::string RoleOf(HWND window) {
  if (!window) return {};
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (std::wstring_view(cls) == L"#32768") return "menu";
  if (std::wstring_view(cls) == L"#32770") return "dialog";
  const std::string role = WindowRoleName(window);
  return role == "other" ? std::string() : role;
}

// What each window got since the last flush, in the order the windows were
// first drawn into; null when the context is no window the transcript names
// (the editor's own bitmaps).
std::vector<Pending> gPending;

sim::Json* PendingOf(HDC dc) {
  HWND window = WindowFromDC(dc);
  for (Pending& p : gPending)
    if (p.window == window) return &p.what;
  std::string role = RoleOf(window);
  if (role.empty()) return nullptr;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  gPending.push_back(Pending{window, std::move(role), origin, sim::Json::array()});
  return &gPending.back().what;
}

sim::Json Rgb(COLORREF c) { return sim::Json::array({GetRValue(c), GetGValue(c), GetBValue(c)}); }
sim::Json Box(const RECT& r) { return sim::Json::array({r.left, r.top, r.right, r.bottom}); }

COLORREF BrushColour(HBRUSH brush) {
  // FillRect takes a system colour index plus one in place of a brush.
  const auto index = reinterpret_cast<UINT_PTR>(brush);
  if (index > 0 && index <= 31) return GetSysColor(int(index - 1));
  LOGBRUSH info{};
  if (GetObjectW(brush, sizeof info, &info) != sizeof info || info.lbStyle != BS_SOLID) return CLR_INVALID;
  return info.lbColor;
}

// A context's pixels over an area, read through a 32-bit bitmap; empty when
// the context cannot be read.
std::vector<COLORREF> ReadPixels(HDC dc, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<COLORREF> pixels;
  if (memory && bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, dc, area.left, area.top, SRCCOPY)) {
      GdiFlush();
      const auto* p = static_cast<const unsigned char*>(bits);
      pixels.resize(size_t(width) * size_t(height));
      for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]);
    }
    SelectObject(memory, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  return pixels;
}

COLORREF MostCommon(const std::vector<COLORREF>& pixels) {
  std::map<COLORREF, int> counts;
  for (COLORREF p : pixels) ++counts[p];
  COLORREF best = 0;
  int most = -1;
  for (const auto& [colour, count] : counts)
    if (count > most) best = colour, most = count;
  return best;
}

// Where a text may change pixels: its rectangle, as far down and across as
// the text reaches when it is not clipped, within what the context shows.
RECT TextArea(HDC dc, const char* text, int length, const RECT& rect, UINT format) {
  RECT measured = rect;
  DrawTextA(dc, text, length, &measured, (format | DT_CALCRECT) & ~UINT(DT_RIGHT | DT_CENTER));
  RECT area = rect;
  area.right = std::max(area.right, measured.right);
  area.bottom = std::max(area.bottom, measured.bottom);
  RECT clip{};
  if (GetClipBox(dc, &clip) != ERROR) IntersectRect(&area, &area, &clip);
  return area;
}

void Note(HDC dc, sim::Json entry) {
  if (sim::Json* what = PendingOf(dc)) what->push_back(std::move(entry));
}

}  // namespace

double Contrast(COLORREF a, COLORREF b) {
  const auto luminance = [](COLORREF c) {
    const auto channel = [](int value) {
      const double v = value / 255.0;
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int WatchedDrawText(HDC dc, const char* text, int length, RECT* rect, UINT format) {
  if (!dc || !text || !rect || (format & DT_CALCRECT)) return DrawTextA(dc, text, length, rect, format);
  if (!gCapturing && !PendingOf(dc)) return DrawTextA(dc, text, length, rect, format);

  DrawnText drawn;
  RECT area{};
  std::vector<COLORREF> before;
  {
    KeepLastError keep;
    drawn.text = length < 0 ? std::string(text) : std::string(text, size_t(length));
    drawn.color = GetTextColor(dc);
    area = TextArea(dc, text, length, *rect, format);
    before = ReadPixels(dc, area);
  }
  const int result = DrawTextA(dc, text, length, rect, format);
  KeepLastError keep;
  const std::vector<COLORREF> after = before.empty() ? before : ReadPixels(dc, area);
  drawn.rect = *rect;
  if (!before.empty() && after.size() == before.size()) {
    drawn.background = MostCommon(before);
    const int width = area.right - area.left;
    RECT changed{area.right, area.bottom, area.left, area.top};
    for (size_t i = 0; i < after.size(); ++i) {
      if (after[i] == before[i]) continue;
      ++drawn.pixels;
      drawn.contrast = std::max(drawn.contrast, Contrast(after[i], drawn.background));
      const int x = area.left + int(i % size_t(width)), y = area.top + int(i / size_t(width));
      changed.left = std::min<LONG>(changed.left, x), changed.top = std::min<LONG>(changed.top, y);
      changed.right = std::max<LONG>(changed.right, x + 1), changed.bottom = std::max<LONG>(changed.bottom, y + 1);
    }
    if (drawn.pixels > 0) drawn.rect = changed;
  } else {
    // Pixels that cannot be read leave the colours to judge by.
    drawn.background = GetBkMode(dc) == OPAQUE ? GetBkColor(dc) : drawn.color;
    drawn.contrast = Contrast(drawn.color, drawn.background);
    drawn.pixels = -1;
  }
  drawn.readable = drawn.pixels != 0 && drawn.contrast >= kReadableContrast;
  if (gCapturing) {
    gCaptured.push_back(std::move(drawn));
  } else {
    Note(dc, sim::Json{{"text", Utf8FromCodePage(drawn.text, 1252)}, {"color", Rgb(drawn.color)},
                         {"background", Rgb(drawn.background)}, {"rect", Box(drawn.rect)},
                         {"contrast", std::round(drawn.contrast * 100) / 100}, {"readable", drawn.readable}});
  }
  return result;
}

int WatchedFill(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!gCapturing && dc && rect) {
    KeepLastError keep;
    if (PendingOf(dc)) {
      const COLORREF colour = BrushColour(brush);
      Note(dc, sim::Json{{"fill", colour == CLR_INVALID ? sim::Json(nullptr) : Rgb(colour)}, {"rect", Box(*rect)}});
    }
  }
  return FillRect(dc, rect, brush);
}

int WatchedFrame(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!gCapturing && dc && rect) {
    KeepLastError keep;
    if (PendingOf(dc)) {
      const COLORREF colour = BrushColour(brush);
      Note(dc, sim::Json{{"frame", colour == CLR_INVALID ? sim::Json(nullptr) : Rgb(colour)}, {"rect", Box(*rect)}});
    }
  }
  return FrameRect(dc, rect, brush);
}

COLORREF WatchedPixel(HDC dc, int x, int y, COLORREF color) {
  if (!gCapturing && dc) {
    KeepLastError keep;
    if (sim::Json* pending = PendingOf(dc)) {
      // Pixels set one after another (an icon, a check mark) are one entry.
      sim::Json& what = *pending;
      if (what.empty() || !what.back().contains("pixels")) what.push_back(sim::Json{{"pixels", 0}, {"rect", Box({x, y, x + 1, y + 1})}});
      sim::Json& entry = what.back();
      entry["pixels"] = entry["pixels"].get<int>() + 1;
      sim::Json& r = entry["rect"];
      r[0] = std::min(r[0].get<int>(), x), r[1] = std::min(r[1].get<int>(), y);
      r[2] = std::max(r[2].get<int>(), x + 1), r[3] = std::max(r[3].get<int>(), y + 1);
    }
  }
  return SetPixel(dc, x, y, color);
}

void BeginDrawnTextCapture() {
  gCaptured.clear();
  gCapturing = true;
}

std::vector<DrawnText> EndDrawnTextCapture() {
  gCapturing = false;
  return std::exchange(gCaptured, {});
}

void FlushPaintRecords() {
  for (Pending& p : std::exchange(gPending, {})) {
    if (p.what.empty()) continue;
    // Rectangles are in the window's client coordinates; `origin` places
    // them on the screen (and so in a picture taken of the screen).
    sim::Record(sim::Json{{"kind", "paint"}, {"window", p.role}, {"origin", {p.origin.x, p.origin.y}},
                          {"what", std::move(p.what)}});
  }
}

}  // namespace simapp
