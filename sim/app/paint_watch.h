// What the plug-in draws, as far as the editor can tell: its texts (with
// their colours, the background under them and whether the pixels show
// them readably), its fills, frames and single pixels (icons, check marks).
// The watched drawing functions of the plug-in's imports come here.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace simapp {

// One text the plug-in drew, read back from the pixels it changed.
struct DrawnText {
  std::string text;          // code page 1252 bytes, as drawn
  COLORREF color = 0;        // the text colour of the context
  COLORREF background = 0;   // the most common colour under the text before it was drawn
  RECT rect{};               // the pixels it changed; its rectangle when none changed
  int pixels = 0;            // how many pixels it changed
  double contrast = 1.0;     // its strongest changed pixel against the background
  bool readable = false;     // it shows, and stands out enough to be read
};

// The ratio of two colours' relative luminances: 1 the same, 21 black on white.
double Contrast(COLORREF a, COLORREF b);
// The least contrast of text the editor counts as readable. Greyed items are
// faint by design; white on white is not text at all.
constexpr double kReadableContrast = 1.5;

// Held while a watched call records: what the editor does then must not
// disturb the last error the plug-in reads next.
class KeepLastError {
 public:
  KeepLastError() : error_(GetLastError()) {}
  ~KeepLastError() { SetLastError(error_); }

 private:
  DWORD error_;
};

// The watched functions.
int WatchedDrawText(HDC dc, const char* text, int length, RECT* rect, UINT format);
int WatchedFill(HDC dc, const RECT* rect, HBRUSH brush);
int WatchedFrame(HDC dc, const RECT* rect, HBRUSH brush);
COLORREF WatchedPixel(HDC dc, int x, int y, COLORREF color);

// Between these two calls, the texts drawn are collected instead of being
// recorded: how the editor reads what an owner-drawn item shows.
void BeginDrawnTextCapture();
std::vector<DrawnText> EndDrawnTextCapture();

// Writes a `paint` line for each window the plug-in drew into since the last
// flush ("main", "layers", "controlBar", "toolbar", "menu", "dialog").
void FlushPaintRecords();

}  // namespace simapp
