#include "pictures.h"

#include <algorithm>
#include <string_view>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "host_windows.h"
#include "paint_watch.h"
#include "sim_host.h"
#include "text.h"

namespace simapp {
namespace {

std::wstring gFolder;

// Bounds on a picture, so that a window of wild size cannot make the editor
// allocate without end.
constexpr int kLargestSide = 8192;

bool HasClass(HWND window, std::wstring_view name) {
  wchar_t cls[32] = {};
  return window && GetClassNameW(window, cls, 32) && std::wstring_view(cls) == name;
}

struct Found {
  std::vector<HWND> windows;
  std::wstring_view cls;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM lParam) {
  auto* found = reinterpret_cast<Found*>(lParam);
  if (IsWindowVisible(window) && HasClass(window, found->cls)) found->windows.push_back(window);
  return TRUE;
}

// The visible top-level windows of a class on this thread, the topmost first.
std::vector<HWND> VisibleOfClass(std::wstring_view cls) {
  Found found{{}, cls};
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

// A 32-bit top-down bitmap to copy pixels into, and its bits.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Ready() const { return dc_ && bitmap_ && bits_; }
  HDC Dc() const { return dc_; }
  void ToRgb(std::vector<unsigned char>& rgb) const {
    GdiFlush();
    rgb.resize(size_t(width_) * size_t(height_) * 3);
    const auto* source = static_cast<const unsigned char*>(bits_);
    for (size_t i = 0, n = size_t(width_) * size_t(height_); i < n; ++i) {
      rgb[i * 3] = source[i * 4 + 2];
      rgb[i * 3 + 1] = source[i * 4 + 1];
      rgb[i * 3 + 2] = source[i * 4];
    }
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

bool Sized(const RECT& r) {
  const long w = r.right - r.left, h = r.bottom - r.top;
  return w > 0 && h > 0 && w <= kLargestSide && h <= kLargestSide;
}

// Copies a window's pixels, read from its own device context (what it shows,
// whether or not the screen has caught up), to `at` on the canvas.
void CopyWindow(HWND window, bool clientOnly, HDC canvas, POINT at) {
  RECT r{};
  if (clientOnly) GetClientRect(window, &r);
  else {
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
  }
  HDC dc = clientOnly ? GetDC(window) : GetWindowDC(window);
  if (!dc) return;
  BitBlt(canvas, at.x, at.y, r.right, r.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
}

void Record(const std::string& name, const std::string& of, const Picture& picture, bool written) {
  sim::Json line{{"kind", "screenshot"}, {"name", name}, {"of", of}, {"width", picture.width}, {"height", picture.height},
                 {"left", picture.screen.left}, {"top", picture.screen.top}};
  if (written) line["file"] = name + ".png";
  sim::Record(line);
}

HWND ShowingDialog(HWND main) {
  for (HWND dialog : VisibleOfClass(L"#32770"))
    if (dialog != main) return dialog;
  return nullptr;
}

}  // namespace

void SetScreenshotFolder(const std::wstring& folder) { gFolder = folder; }

bool CaptureWindow(HWND window, bool clientOnly, Picture& picture) {
  if (!window || !IsWindow(window)) return false;
  RECT r{};
  if (clientOnly) {
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  } else {
    GetWindowRect(window, &r);
  }
  if (!Sized(r)) return false;
  // What the window and its children still have to paint is painted first.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Canvas canvas(r.right - r.left, r.bottom - r.top);
  if (!canvas.Ready()) return false;
  CopyWindow(window, clientOnly, canvas.Dc(), POINT{0, 0});
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  picture.screen = r;
  canvas.ToRgb(picture.rgb);
  return true;
}

bool MenuShowing() { return !VisibleOfClass(L"#32768").empty(); }

bool CaptureOpenMenus(Picture& picture) {
  const std::vector<HWND> menus = VisibleOfClass(L"#32768");
  if (menus.empty()) return false;
  RECT all{};
  for (HWND menu : menus) {
    UpdateWindow(menu);
    RECT r{};
    GetWindowRect(menu, &r);
    UnionRect(&all, &all, &r);
  }
  if (!Sized(all)) return false;
  Canvas canvas(all.right - all.left, all.bottom - all.top);
  if (!canvas.Ready()) return false;
  // What lies around the menus as the screen shows it, then each menu, the
  // bottom one first.
  if (HDC screen = GetDC(nullptr)) {
    BitBlt(canvas.Dc(), 0, 0, all.right - all.left, all.bottom - all.top, screen, all.left, all.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  }
  // The windows come topmost first: the submenus open over their parents.
  std::vector<HWND> ordered = menus;
  std::reverse(ordered.begin(), ordered.end());
  for (HWND menu : ordered) {
    RECT r{};
    GetWindowRect(menu, &r);
    CopyWindow(menu, false, canvas.Dc(), POINT{r.left - all.left, r.top - all.top});
  }
  picture.width = all.right - all.left;
  picture.height = all.bottom - all.top;
  picture.screen = all;
  canvas.ToRgb(picture.rgb);
  return true;
}

std::string WritePng(const std::wstring& path, const Picture& picture) {
  std::string bytes;
  const auto collect = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
  };
  if (!stbi_write_png_to_func(collect, &bytes, picture.width, picture.height, 3, picture.rgb.data(), picture.width * 3))
    return "the picture cannot be encoded";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "cannot write " + Narrow(path) + " (error " + std::to_string(GetLastError()) + ")";
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  const DWORD error = GetLastError();
  CloseHandle(file);
  return ok ? std::string() : "cannot write " + Narrow(path) + " (error " + std::to_string(error) + ")";
}

std::string TakeScreenshot(HWND main, const std::string& name, const std::string& requested) {
  // What the plug-in drew so far goes into the transcript before the picture.
  FlushPaintRecords();
  std::string of = requested.empty() ? (MenuShowing() ? "menu" : "main") : requested;
  Picture picture;
  bool taken = false;
  if (of == "main") {
    taken = CaptureWindow(main, false, picture);
  } else if (of == "menu") {
    if (!MenuShowing()) return "screenshot \"" + name + "\": no menu is open";
    taken = CaptureOpenMenus(picture);
  } else if (of == "dialog") {
    HWND dialog = ShowingDialog(main);
    if (!dialog) return "screenshot \"" + name + "\": no dialog of the plug-in is showing";
    taken = CaptureWindow(dialog, false, picture);
  } else if (of == "layers" || of == "controlBar" || of == "toolbar") {
    HWND view = HostView(of);
    if (!view) return "screenshot \"" + name + "\": the " + of + " view does not exist in this editor's version and layout";
    taken = CaptureWindow(view, true, picture);
  } else {
    return "screenshot \"" + name + "\": nothing called \"" + of + "\" to take a picture of";
  }
  if (!taken) return "screenshot \"" + name + "\": the " + of + " has no pixels to read";
  std::string problem;
  if (!gFolder.empty()) problem = WritePng(gFolder + L"\\" + Widen(name) + L".png", picture);
  Record(name, of, picture, !gFolder.empty() && problem.empty());
  return problem.empty() ? std::string() : "screenshot \"" + name + "\": " + problem;
}

}  // namespace simapp
