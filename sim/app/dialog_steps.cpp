#include "dialog_steps.h"

#include <commctrl.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "input.h"
#include "key_names.h"
#include "text.h"

namespace simapp {
namespace {

HMODULE gPlugin = nullptr;
std::deque<sim::Json> gQueued;             // the dialog steps' actions, for the dialogs to come
std::function<void()> gWhileLeftOpen;

// A dialog being driven: its actions and how far they have got.
struct Driven {
  sim::Json actions = sim::Json::array();
  size_t next = 0;
  bool fromStep = false;                   // false: no dialog step was waiting for it
  std::vector<unsigned short> held;        // modifiers a `key` action holds down
};
std::map<HWND, Driven> gDriven;

// The timer that does the next action: a timer message comes only once the
// dialog has nothing else to do, so each action finds the dialog done with
// the one before.
constexpr UINT_PTR kActionTimer = 0x51D1;

void RecordError(const std::string& text) { sim::Record(sim::Json{{"kind", "error"}, {"text", text}}); }

std::string WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), n + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return Narrow(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Narrow(name);
}

bool ClassIs(HWND window, const char* name) { return _stricmp(ClassOf(window).c_str(), name) == 0; }

bool IsCheckable(HWND button) {
  const LONG_PTR type = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

std::string ItemText(HWND control, bool combo, int index) {
  const LRESULT length = SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) return {};
  std::wstring text(size_t(length) + 1, L'\0');
  const LRESULT got = SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
  text.resize(size_t(got > 0 ? got : 0));
  return Narrow(text);
}

std::string ListViewText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = int(std::size(text));
  SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
  return Narrow(text);
}

// The control's value, and what lists it holds, by its class.
void DescribeValue(HWND control, sim::Json& out) {
  out["value"] = nullptr;
  if (ClassIs(control, "Button")) {
    if (IsCheckable(control)) out["value"] = int(SendMessageW(control, BM_GETCHECK, 0, 0));
  } else if (ClassIs(control, "ComboBox") || ClassIs(control, "ListBox")) {
    const bool combo = ClassIs(control, "ComboBox");
    out["value"] = int(SendMessageW(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    sim::Json items = sim::Json::array();
    const int count = int(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(ItemText(control, combo, i));
    out["items"] = items;
  } else if (ClassIs(control, "msctls_trackbar32")) {
    out["value"] = int(SendMessageW(control, TBM_GETPOS, 0, 0));
  } else if (ClassIs(control, "SysListView32")) {
    out["value"] = int(SendMessageW(control, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    sim::Json columns = sim::Json::array();
    HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
    const int columnCount = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int c = 0; c < columnCount; ++c) {
      wchar_t text[256] = {};
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = text;
      column.cchTextMax = int(std::size(text));
      SendMessageW(control, LVM_GETCOLUMNW, WPARAM(c), LPARAM(&column));
      columns.push_back({{"text", Narrow(text)}, {"width", column.cx}});
    }
    sim::Json rows = sim::Json::array();
    const int rowCount = int(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rowCount; ++r) {
      sim::Json cells = sim::Json::array();
      for (int c = 0; c < columnCount; ++c) cells.push_back(ListViewText(control, r, c));
      rows.push_back(cells);
    }
    out["columns"] = columns;
    out["rows"] = rows;
  }
}

std::string ActionText(const sim::Json& action) { return action.dump(-1, ' ', false, sim::Json::error_handler_t::replace); }

// The control an action works, as a person could reach it: there, showing
// and enabled. Null after recording why not.
HWND Reachable(HWND dialog, const sim::Json& action, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    RecordError("dialog action " + ActionText(action) + ": the dialog has no control " + std::to_string(id));
    return nullptr;
  }
  if (!(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) || !IsWindowEnabled(control)) {
    RecordError("dialog action " + ActionText(action) + ": control " + std::to_string(id) +
                " is hidden or disabled, out of a person's reach");
    return nullptr;
  }
  return control;
}

void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), LPARAM(control));
}

void SetSlider(HWND dialog, const sim::Json& action) {
  HWND slider = Reachable(dialog, action, action["set"].get<int>());
  if (!slider) return;
  if (!ClassIs(slider, "msctls_trackbar32")) {
    RecordError("dialog action " + ActionText(action) + ": the control is no slider");
    return;
  }
  const int before = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
  const int value = action.value("value", 0);
  const UINT scroll = (GetWindowLongPtrW(slider, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  // "click": a click on the track beside the thumb, which moves it by a page
  // towards the value and tells the parent so, with no thumb tracking.
  if (action.value("click", false)) {
    SendMessageW(slider, TBM_SETPOS, TRUE, value);
    const int at = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
    SendMessageW(GetParent(slider), scroll, MAKEWPARAM(at < before ? TB_PAGEUP : TB_PAGEDOWN, 0), LPARAM(slider));
    SendMessageW(GetParent(slider), scroll, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(slider));
    return;
  }
  SendMessageW(slider, TBM_SETPOS, TRUE, value);
  const int at = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
  SendMessageW(GetParent(slider), scroll, MAKEWPARAM(TB_THUMBTRACK, at), LPARAM(slider));
  // "hold": the thumb is dragged there and still held; a later action on the
  // slider lets it go.
  if (action.value("hold", false)) return;
  // A slider the thumb is let go on tells its parent where it ended.
  SendMessageW(GetParent(slider), scroll, MAKEWPARAM(TB_THUMBPOSITION, at), LPARAM(slider));
  SendMessageW(GetParent(slider), scroll, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(slider));
}

void TypeText(HWND dialog, const sim::Json& action) {
  HWND edit = Reachable(dialog, action, action["type"].get<int>());
  if (!edit) return;
  if (!ClassIs(edit, "Edit")) {
    RecordError("dialog action " + ActionText(action) + ": the control is no edit box");
    return;
  }
  // Into the box, everything in it selected, and the new text typed over it.
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  const std::wstring text = Widen(action.value("text", std::string()));
  SendMessageW(edit, EM_REPLACESEL, TRUE, LPARAM(text.c_str()));
}

// A double click on a row of a list box, as the mouse gives it: the list
// box chooses the row and tells its parent itself.
void DoubleClickRow(HWND list, int index, const sim::Json& action) {
  SendMessageW(list, LB_SETTOPINDEX, WPARAM(index), 0);
  RECT row{};
  if (SendMessageW(list, LB_GETITEMRECT, WPARAM(index), LPARAM(&row)) == LB_ERR) {
    RecordError("dialog action " + ActionText(action) + ": the row is not shown");
    return;
  }
  const LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
}

void Pick(HWND dialog, const sim::Json& action) {
  HWND list = Reachable(dialog, action, action["pick"].get<int>());
  if (!list) return;
  const int index = action.value("index", 0);
  const bool combo = ClassIs(list, "ComboBox");
  if (combo || ClassIs(list, "ListBox")) {
    const int count = int(SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) {
      RecordError("dialog action " + ActionText(action) + ": the list has " + std::to_string(count) + " entries");
      return;
    }
    SetFocus(list);
    if (!combo && action.value("double", false)) {
      DoubleClickRow(list, index, action);
      return;
    }
    SendMessageW(list, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
    // A list box tells its parent only when it was made to.
    if (combo) Notify(list, CBN_SELCHANGE);
    else if (GetWindowLongPtrW(list, GWL_STYLE) & LBS_NOTIFY) Notify(list, LBN_SELCHANGE);
  } else if (ClassIs(list, "SysListView32")) {
    const int count = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (index < 0 || index >= count) {
      RecordError("dialog action " + ActionText(action) + ": the list has " + std::to_string(count) + " rows");
      return;
    }
    SetFocus(list);
    // The list view tells its parent itself (LVN_ITEMCHANGED).
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(index), LPARAM(&item));
  } else {
    RecordError("dialog action " + ActionText(action) + ": the control is no list");
  }
}

void Check(HWND dialog, const sim::Json& action) {
  HWND box = Reachable(dialog, action, action["check"].get<int>());
  if (!box) return;
  if (!ClassIs(box, "Button") || !IsCheckable(box)) {
    RecordError("dialog action " + ActionText(action) + ": the control is no check box");
    return;
  }
  const bool on = action.value("on", true);
  if ((SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) SendMessageW(box, BM_CLICK, 0, 0);
}

void Press(HWND dialog, const sim::Json& action) {
  HWND button = Reachable(dialog, action, action["press"].get<int>());
  if (!button) return;
  if (!ClassIs(button, "Button")) {
    RecordError("dialog action " + ActionText(action) + ": the control is no button");
    return;
  }
  SendMessageW(button, BM_CLICK, 0, 0);
}

void HoldKey(Driven& driven, const sim::Json& action) {
  KeyChord chord;
  std::string why;
  if (!ParseKeyChord(action["key"].get<std::string>(), chord, why)) {
    RecordError("dialog action " + ActionText(action) + ": " + why);
    return;
  }
  std::vector<unsigned short> keys = ModifierKeys(chord.ctrl, chord.shift, chord.alt);
  if (chord.key) keys.push_back(chord.key);
  if (action.value("down", true)) {
    if (!HoldModifiers(keys)) RecordError("dialog action " + ActionText(action) + ": the key does not stay down");
    for (unsigned short key : keys) driven.held.push_back(key);
  } else {
    ReleaseModifiers(keys);
    for (unsigned short key : keys) std::erase(driven.held, key);
  }
}

void Schedule(HWND dialog, UINT delay);

// Once a dialog's actions are done and it still shows, what should run
// while it shows runs, and then it is closed as a person would who is done
// with it.
void CloseLeftOpen(HWND dialog, const Driven& driven) {
  if (gWhileLeftOpen) {
    auto work = std::move(gWhileLeftOpen);
    gWhileLeftOpen = nullptr;
    work();
  }
  if (!IsWindow(dialog)) return;
  sim::Record(sim::Json{{"kind", "dialog-closed"},
                        {"title", WindowText(dialog)},
                        {"answer", "Cancel"},
                        {"reason", driven.fromStep ? "its actions left it open" : "no dialog step"}});
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK DoNextAction(HWND dialog, UINT, UINT_PTR, DWORD) {
  KillTimer(dialog, kActionTimer);
  auto it = gDriven.find(dialog);
  if (it == gDriven.end()) return;
  Driven& driven = it->second;
  if (driven.next >= driven.actions.size()) {
    CloseLeftOpen(dialog, driven);
    return;
  }
  const sim::Json action = driven.actions[driven.next++];
  UINT delay = 0;
  try {
    if (action.contains("set")) SetSlider(dialog, action);
    else if (action.contains("type")) TypeText(dialog, action);
    else if (action.contains("pick")) Pick(dialog, action);
    else if (action.contains("check")) Check(dialog, action);
    else if (action.contains("press")) Press(dialog, action);
    else if (action.contains("key")) HoldKey(driven, action);
    else if (action.contains("wait")) delay = action["wait"].get<UINT>();
    else if (action.contains("capture")) sim::Record(DescribeDialog(dialog));
  } catch (const std::exception& e) {
    RecordError("dialog action " + ActionText(action) + " failed: " + e.what());
  }
  // The action may have ended the dialog: the next tick comes only if it
  // still runs its loop.
  if (IsWindow(dialog)) Schedule(dialog, delay);
}

void Schedule(HWND dialog, UINT delay) { SetTimer(dialog, kActionTimer, delay, DoNextAction); }

bool Claims(HWND dialog) {
  return gPlugin && reinterpret_cast<HMODULE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)) == gPlugin;
}

void Shown(HWND dialog) {
  Driven driven;
  if (!gQueued.empty()) {
    driven.actions = gQueued.front();
    driven.fromStep = true;
    gQueued.pop_front();
  }
  gDriven[dialog] = std::move(driven);
  Schedule(dialog, 0);
}

void Destroyed(HWND dialog) {
  auto it = gDriven.find(dialog);
  if (it == gDriven.end()) return;
  // Keys held for the dialog go up with it, so that the editor gets none.
  ReleaseModifiers(it->second.held);
  const size_t left = it->second.actions.size() - it->second.next;
  if (left > 0) {
    RecordError("the dialog closed before " + std::to_string(left) + " of its actions, from " +
                ActionText(it->second.actions[it->second.next]) + " on");
  }
  gDriven.erase(it);
}

const sim::DialogDriver kDriver{Claims, Shown, Destroyed};

}  // namespace

void InstallDialogDriver(HMODULE plugin) {
  gPlugin = plugin;
  sim::SetDialogDriver(&kDriver);
}

void RemoveDialogDriver() {
  sim::SetDialogDriver(nullptr);
  gPlugin = nullptr;
}

void QueueDialogActions(const sim::Json& actions) { gQueued.push_back(actions); }

void ReportUnusedDialogSteps() {
  for (const sim::Json& actions : gQueued)
    RecordError("the dialog step " + ActionText(sim::Json{{"dialog", actions}}) + " found no dialog of the plug-in");
  gQueued.clear();
}

void SetWhileDialogLeftOpen(std::function<void()> work) { gWhileLeftOpen = std::move(work); }

sim::Json DescribeDialog(HWND dialog) {
  sim::Json controls = sim::Json::array();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    sim::Json control{{"id", GetDlgCtrlID(child)},
                      {"class", ClassOf(child)},
                      {"text", WindowText(child)},
                      {"visible", (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0},
                      {"enabled", IsWindowEnabled(child) != FALSE}};
    // Where it lies in the dialog's client area, in pixels.
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    control["rect"] = {r.left, r.top, r.right, r.bottom};
    DescribeValue(child, control);
    controls.push_back(control);
  }
  return sim::Json{{"kind", "dialog"}, {"title", WindowText(dialog)}, {"controls", controls}};
}

}  // namespace simapp
