// The host's prompt for a new layer's properties, which comes first when a
// make event of an adjustment layer shows the host's dialog. A real window:
// whoever presses Enter while it is in front confirms it (the plug-in does,
// on its own, for the dialogs it opens). When nobody has by the time its
// queue has nothing else to do, the user answers it as the scenario says.
#include <cstring>
#include <string>
#include <vector>

#include "events.h"
#include "host_state.h"

namespace sim {
namespace {

constexpr int kNameEdit = 100;
constexpr UINT_PTR kUserTimer = 1;

struct Prompt {
  std::wstring name;
  bool cancelByUser = false;
  bool answeredByUser = false;
};

std::wstring Wide(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* prompt = reinterpret_cast<Prompt*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, kNameEdit, reinterpret_cast<Prompt*>(lParam)->name.c_str());
      // A timer comes only once no input is waiting: a key pressed when the
      // prompt came to the front is handled before it.
      SetTimer(dialog, kUserTimer, 1, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wParam != kUserTimer || !prompt) return FALSE;
      KillTimer(dialog, kUserTimer);
      prompt->answeredByUser = true;
      EndDialog(dialog, prompt->cancelByUser ? IDCANCEL : IDOK);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        KillTimer(dialog, kUserTimer);
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

// A dialog template in memory: the frame, a name box, OK and Cancel.
class Template {
 public:
  Template() {
    Align();
    DLGTEMPLATE t{};
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    t.cdit = 4;
    t.cx = 220;
    t.cy = 60;
    Put(t);
    Word(0);  // no menu
    Word(0);  // the dialog class
    Text(L"New Layer");
    Item(WS_CHILD | WS_VISIBLE, 8, 10, 30, 10, -1, 0x0082, L"Name:");
    Item(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 40, 8, 170, 12, kNameEdit, 0x0081, L"");
    Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 104, 38, 50, 14, IDOK, 0x0080, L"OK");
    Item(WS_CHILD | WS_VISIBLE | WS_TABSTOP, 160, 38, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  template <typename T>
  void Put(const T& value) {
    static_assert(sizeof value % sizeof(WORD) == 0);
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof value / sizeof(WORD));
    std::memcpy(bytes_.data() + at, &value, sizeof value);
  }
  void Word(WORD w) { bytes_.push_back(w); }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(WORD(*text));
    Word(0);
  }
  void Align() {
    while (bytes_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, int id, WORD atom, const wchar_t* text) {
    Align();
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = WORD(id);
    Put(item);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  std::vector<WORD> bytes_;   // WORD-aligned as the template must be; DWORD alignment comes with it
};

bool UserCancels(const char* dialog) {
  const Json& answers = State().answers;
  if (!answers.contains("hostDialogs") || !answers["hostDialogs"].is_object()) return false;
  const Json& dialogs = answers["hostDialogs"];
  auto it = dialogs.find(dialog);
  return it != dialogs.end() && it->is_string() && *it == "cancel";
}

}  // namespace

bool ConfirmNewLayer(const std::string& name) {
  Prompt prompt;
  prompt.name = Wide(name);
  prompt.cancelByUser = UserCancels("newLayer");
  static const Template kTemplate;
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), kTemplate.get(), MainWindow(), PromptProc,
                                                 reinterpret_cast<LPARAM>(&prompt));
  const bool confirmed = answer == IDOK;
  Record(Json{{"kind", "host-dialog"},
              {"dialog", "newLayer"},
              {"answer", confirmed ? "ok" : "cancel"},
              {"by", prompt.answeredByUser ? "user" : "keyboard"}});
  return confirmed;
}

bool ConfirmAdjustmentDialog(const std::string& kind) {
  const bool confirmed = !UserCancels(kind.c_str());
  Record(Json{{"kind", "host-dialog"}, {"dialog", kind}, {"answer", confirmed ? "ok" : "cancel"}, {"by", "user"}});
  return confirmed;
}

}  // namespace sim
