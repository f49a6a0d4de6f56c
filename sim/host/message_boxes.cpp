// Answers message boxes as a person would: a CBT hook on the calling thread
// sees each box made, records it once it is filled in and presses the
// scenario's button.
#include <map>
#include <set>

#include "host_state.h"

namespace sim {
namespace {

HHOOK gHook = nullptr;
std::set<HWND> gAnswered;   // boxes already answered (activation repeats)

struct ButtonName {
  int id;
  const char* name;
};
// In the order a message box lays them out: the first present is the default.
constexpr ButtonName kButtons[] = {
    {IDOK, "OK"},       {IDYES, "Yes"},       {IDNO, "No"},         {IDABORT, "Abort"},
    {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}, {IDCANCEL, "Cancel"},
};

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring text(size_t(n) + 1, L'\0');
  GetWindowTextW(w, text.data(), n + 1);
  text.resize(size_t(n));
  return text;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

struct BoxParts {
  std::wstring text;
  HICON icon = nullptr;
  bool hasIcon = false;
  std::vector<std::pair<int, HWND>> buttons;   // id, window
  bool other = false;                          // a control no message box has
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto& parts = *reinterpret_cast<BoxParts*>(param);
  const std::wstring cls = ClassOf(child);
  const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
  const bool visible = (style & WS_VISIBLE) != 0;
  if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      if (visible) {
        parts.hasIcon = true;
        parts.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
      }
    } else if (visible) {
      std::wstring t = WindowText(child);
      if (!t.empty() && parts.text.empty()) parts.text = t;
    }
  } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    int id = GetDlgCtrlID(child);
    if (visible && id >= IDOK && id <= IDNO) parts.buttons.emplace_back(id, child);
  } else {
    parts.other = true;
  }
  return TRUE;
}

const char* IconName(const BoxParts& parts) {
  if (!parts.hasIcon || !parts.icon) return "none";
  struct Known {
    LPCSTR id;
    const char* name;
  };
  const Known known[] = {{IDI_INFORMATION, "information"},
                         {IDI_WARNING, "warning"},
                         {IDI_QUESTION, "question"},
                         {IDI_ERROR, "error"}};
  for (const auto& k : known)
    if (LoadIconA(nullptr, k.id) == parts.icon) return k.name;
  return "none";
}

std::string ButtonsName(const std::vector<std::pair<int, HWND>>& buttons) {
  std::set<int> ids;
  for (const auto& b : buttons) ids.insert(b.first);
  if (ids == std::set<int>{IDOK}) return "OK";
  if (ids == std::set<int>{IDOK, IDCANCEL}) return "OKCANCEL";
  if (ids == std::set<int>{IDYES, IDNO}) return "YESNO";
  if (ids == std::set<int>{IDYES, IDNO, IDCANCEL}) return "YESNOCANCEL";
  if (ids == std::set<int>{IDRETRY, IDCANCEL}) return "RETRYCANCEL";
  if (ids == std::set<int>{IDABORT, IDRETRY, IDIGNORE}) return "ABORTRETRYIGNORE";
  return "OTHER";
}

// The common file dialogs: their file-name box is the combo box 0x47C (the
// edit 0x480 in the old style).
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

bool IsFileChooser(HWND box) { return GetDlgItem(box, kFileNameCombo) || GetDlgItem(box, kFileNameEdit); }

// Types the scenario's next file into the chooser and confirms, or cancels
// when the answer is null or there is none.
void AnswerFileChooser(HWND box) {
  gAnswered.insert(box);
  const Json answer = NextAnswer("files", State().nextFileAnswer);
  Record(Json{{"kind", "file"}, {"title", Utf8(WindowText(box))}, {"answer", answer.is_string() ? answer : nullptr}});
  if (!answer.is_string()) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  const std::string path = answer.get<std::string>();
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(size_t(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
  SetDlgItemTextW(box, GetDlgItem(box, kFileNameCombo) ? kFileNameCombo : kFileNameEdit, wide.c_str());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// The system colour picker: its red, green and blue boxes, which it reads
// back as they change.
constexpr int kRedBox = 706, kGreenBox = 707, kBlueBox = 708;

bool IsColorChooser(HWND box) {
  return GetDlgItem(box, kRedBox) && GetDlgItem(box, kGreenBox) && GetDlgItem(box, kBlueBox);
}

// Types the scenario's next colour into the picker and confirms, or cancels
// when the answer is null or there is none.
void AnswerColorChooser(HWND box) {
  gAnswered.insert(box);
  const Json answer = NextAnswer("colors", State().nextColorAnswer);
  Record(Json{{"kind", "color"}, {"title", Utf8(WindowText(box))}, {"answer", answer.is_array() ? answer : nullptr}});
  if (!answer.is_array()) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return;
  }
  const int boxes[] = {kRedBox, kGreenBox, kBlueBox};
  for (size_t k = 0; k < 3; ++k) SetDlgItemInt(box, boxes[k], UINT(answer[k].get<int>()), FALSE);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void AnswerBox(HWND box) {
  if (IsFileChooser(box)) {
    AnswerFileChooser(box);
    return;
  }
  if (IsColorChooser(box)) {
    AnswerColorChooser(box);
    return;
  }
  BoxParts parts;
  EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&parts));
  // The editor's and the plug-in's own dialogs are #32770 too; a message box
  // holds nothing but its text, its icon and its buttons.
  if (parts.other || parts.buttons.empty()) return;
  gAnswered.insert(box);

  int choice = 0;
  for (const auto& b : kButtons)
    for (const auto& present : parts.buttons)
      if (!choice && present.first == b.id) choice = b.id;
  auto& s = State();
  const Json& answers = s.answers.contains("messages") ? s.answers["messages"] : Json::array();
  if (answers.is_array() && s.nextMessageAnswer < answers.size()) {
    const Json& wanted = answers[s.nextMessageAnswer++];
    int asked = 0;
    for (const auto& b : kButtons)
      if (wanted.is_string() && _stricmp(wanted.get<std::string>().c_str(), b.name) == 0) asked = b.id;
    bool present = false;
    for (const auto& b : parts.buttons) present = present || b.first == asked;
    if (present) choice = asked;
    else Record(Json{{"kind", "error"}, {"text", "message box has no button " + wanted.dump()}});
  }

  HWND owner = GetWindow(box, GW_OWNER);
  const char* ownerName = !owner ? "none" : owner == MainWindow() ? "main" : "active";
  const char* answerName = "OK";
  HWND button = nullptr;
  for (const auto& b : kButtons)
    if (b.id == choice) answerName = b.name;
  for (const auto& b : parts.buttons)
    if (b.first == choice) button = b.second;

  Record(Json{{"kind", "message"},
              {"title", Utf8(WindowText(box))},
              {"text", Utf8(parts.text)},
              {"buttons", ButtonsName(parts.buttons)},
              {"icon", IconName(parts)},
              {"owner", ownerName},
              {"answer", answerName}});
  // Posted: the box's own modal loop presses the button once it runs.
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(choice, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// A box is looked at once its dialog procedure has handled WM_INITDIALOG:
// Wine activates the box before it fills in the text, the icon and the
// buttons. The window procedure is replaced from creation until then; a
// dialog the driver takes keeps it until it is destroyed, so that the driver
// hears when it first shows.
std::map<HWND, WNDPROC> gReplaced;
const DialogDriver* gDriver = nullptr;
std::set<HWND> gDriven;        // dialogs the driver took
std::set<HWND> gAnnounced;     // of those, the ones shown to it

void Announce(HWND w) {
  if (!gDriven.count(w) || gAnnounced.count(w) || !IsWindowVisible(w)) return;
  gAnnounced.insert(w);
  try {
    if (gDriver && gDriver->shown) gDriver->shown(w);
  } catch (...) {
    RecordFault("dialog driver", "exception");
  }
}

LRESULT CALLBACK WatchProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = gReplaced.find(w);
  if (it == gReplaced.end()) return DefDlgProcW(w, msg, wParam, lParam);
  WNDPROC previous = it->second;
  LRESULT result = CallWindowProcW(previous, w, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    gReplaced.erase(w);
    if (gDriven.erase(w)) {
      gAnnounced.erase(w);
      try {
        if (gDriver && gDriver->destroyed) gDriver->destroyed(w);
      } catch (...) {
        RecordFault("dialog driver", "exception");
      }
    }
    return result;
  }
  if (msg == WM_INITDIALOG) {
    bool claimed = false;
    try {
      claimed = gDriver && gDriver->claims && gDriver->claims(w);
    } catch (...) {
      RecordFault("dialog driver", "exception");
    }
    if (claimed) {
      gDriven.insert(w);
      Announce(w);
      return result;
    }
    // Put the previous procedure back unless someone replaced ours since.
    if (GetWindowLongPtrW(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(WatchProc)) {
      SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      gReplaced.erase(w);
    }
    if (!gAnswered.count(w)) {
      try {
        AnswerBox(w);
      } catch (...) {
        RecordFault("message box answerer", "exception");
      }
    }
  } else if (msg == WM_WINDOWPOSCHANGED && lParam &&
             (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)) {
    Announce(w);
  }
  return result;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  HWND w = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && ClassOf(w) == L"#32770" && !gReplaced.count(w)) {
    LONG_PTR previous = SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchProc));
    if (previous) gReplaced[w] = reinterpret_cast<WNDPROC>(previous);
  } else if (code == HCBT_DESTROYWND) {
    gAnswered.erase(w);
  }
  return CallNextHookEx(gHook, code, wParam, lParam);
}

}  // namespace

void InstallMessageBoxAnswerer() {
  if (gHook) return;
  gHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
  if (!gHook) Record(Json{{"kind", "error"}, {"text", "cannot install the message box hook"}});
}

void SetDialogDriver(const DialogDriver* driver) { gDriver = driver; }

void RemoveMessageBoxAnswerer() {
  if (gHook) UnhookWindowsHookEx(gHook);
  gHook = nullptr;
  gAnswered.clear();
  gDriven.clear();
  gAnnounced.clear();
}

}  // namespace sim
