// A plug-in with one modal dialog, for the tests of the editor's dialog
// actions on the controls the Preferences lack: a slider, an edit box, keys
// held down. "Do It" opens it; what the dialog hears it tells in message
// boxes (so it stands in the transcript's `message` lines): Report (1091)
// whether Shift is down, OK (1090) the slider's scroll codes and position and
// the edit box's changes and text, and closes.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

std::string Scrolls;
int Changes = 0;

void Tell(HWND dialog, const char* text) { MessageBoxA(dialog, text, "probe", MB_OK); }

INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SendDlgItemMessageA(dialog, 1040, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    Scrolls.clear();
    Changes = 0;
    return TRUE;
  }
  if (message == WM_HSCROLL) {
    if (!Scrolls.empty()) Scrolls += ',';
    Scrolls += std::to_string(LOWORD(wParam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == 1052 && HIWORD(wParam) == EN_CHANGE) ++Changes;
  if (LOWORD(wParam) == 1091) Tell(dialog, GetKeyState(VK_SHIFT) < 0 ? "Shift down" : "Shift up");
  if (LOWORD(wParam) == 1090) {
    char text[64] = {};
    GetDlgItemTextA(dialog, 1052, text, sizeof text);
    char report[256];
    std::snprintf(report, sizeof report, "scrolls %s, at %d; changes %d, text %s", Scrolls.c_str(),
                  int(SendDlgItemMessageA(dialog, 1040, TBM_GETPOS, 0, 0)), Changes, text);
    Tell(dialog, report);
    EndDialog(dialog, 1);
  }
  if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
  return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) int AutoPluginMain(const char*, const char* selector, void* message) {
  if (!message || std::strcmp(selector, "Do It") != 0) return 0;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  DialogBoxParamA(reinterpret_cast<HINSTANCE>(&__ImageBase), MAKEINTRESOURCEA(100), GetActiveWindow(), ProbeProc, 0);
  return 0;
}
