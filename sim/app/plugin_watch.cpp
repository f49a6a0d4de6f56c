#include "plugin_watch.h"

#include <cstring>
#include <map>
#include <utility>

#include "host_windows.h"
#include "paint_watch.h"
#include "sim_host.h"

namespace simapp {
namespace {

struct HookInfo {
  std::string type;    // "keyboard", "mouse", or the hook's number
  std::string thread;  // "all" or "ui"
};

std::map<HHOOK, HookInfo> gHooks;            // installed by the plug-in, not yet removed
std::map<HWND, LONG_PTR> gOriginalProcedures;  // windows whose procedure the plug-in changed

std::string HookTypeName(int type) {
  if (type == WH_KEYBOARD) return "keyboard";
  if (type == WH_MOUSE) return "mouse";
  return std::to_string(type);
}

void NoteHookInstalled(HHOOK hook, int type, DWORD thread) {
  if (!hook) return;
  KeepLastError keep;
  HookInfo info{HookTypeName(type), thread == 0 ? "all" : "ui"};
  gHooks[hook] = info;
  sim::Record(sim::Json{{"kind", "hook"}, {"op", "install"}, {"type", info.type}, {"thread", info.thread}});
}

void NoteHookRemoved(HHOOK hook, BOOL removed) {
  if (!removed) return;
  KeepLastError keep;
  auto it = gHooks.find(hook);
  if (it == gHooks.end()) return;
  sim::Record(sim::Json{{"kind", "hook"}, {"op", "remove"}, {"type", it->second.type}, {"thread", it->second.thread}});
  gHooks.erase(it);
}

// `previous` is what the setter returned; 0 means that the call failed.
void NoteProcedureChange(HWND window, int index, LONG_PTR previous, LONG_PTR now) {
  if (index != -4 /* GWLP_WNDPROC */ || previous == 0) return;
  KeepLastError keep;
  std::string op = "replace";
  auto it = gOriginalProcedures.find(window);
  if (it == gOriginalProcedures.end()) {
    gOriginalProcedures[window] = previous;
  } else if (it->second == now) {
    op = "restore";
    gOriginalProcedures.erase(it);
  }
  sim::Record(sim::Json{{"kind", "subclass"}, {"window", WindowRoleName(window)}, {"op", op}});
}

HHOOK WINAPI WatchedSetWindowsHookExA(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  HHOOK hook = SetWindowsHookExA(type, procedure, module, thread);
  NoteHookInstalled(hook, type, thread);
  return hook;
}

HHOOK WINAPI WatchedSetWindowsHookExW(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  HHOOK hook = SetWindowsHookExW(type, procedure, module, thread);
  NoteHookInstalled(hook, type, thread);
  return hook;
}

BOOL WINAPI WatchedUnhookWindowsHookEx(HHOOK hook) {
  const BOOL removed = UnhookWindowsHookEx(hook);
  NoteHookRemoved(hook, removed);
  return removed;
}

LONG WINAPI WatchedSetWindowLongA(HWND window, int index, LONG value) {
  const LONG previous = SetWindowLongA(window, index, value);
  NoteProcedureChange(window, index, previous, value);
  return previous;
}

LONG WINAPI WatchedSetWindowLongW(HWND window, int index, LONG value) {
  const LONG previous = SetWindowLongW(window, index, value);
  NoteProcedureChange(window, index, previous, value);
  return previous;
}

#ifdef _WIN64
LONG_PTR WINAPI WatchedSetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  const LONG_PTR previous = SetWindowLongPtrA(window, index, value);
  NoteProcedureChange(window, index, previous, value);
  return previous;
}

LONG_PTR WINAPI WatchedSetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  const LONG_PTR previous = SetWindowLongPtrW(window, index, value);
  NoteProcedureChange(window, index, previous, value);
  return previous;
}
#endif

int WINAPI WatchedDrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
  return WatchedDrawText(dc, text, length, rect, format);
}

int WINAPI WatchedFillRect(HDC dc, const RECT* rect, HBRUSH brush) { return WatchedFill(dc, rect, brush); }

int WINAPI WatchedFrameRect(HDC dc, const RECT* rect, HBRUSH brush) { return WatchedFrame(dc, rect, brush); }

COLORREF WINAPI WatchedSetPixel(HDC dc, int x, int y, COLORREF color) { return WatchedPixel(dc, x, y, color); }

struct Redirect {
  const char* name;
  void* replacement;
  void* original;  // for imports bound without names
};

template <typename F>
void* Address(F* function) {
  return reinterpret_cast<void*>(function);
}

// On i686 the Ptr setters are macros for the plain ones and the user32 exports
// do not exist; on x86_64 the plain ones cannot set a procedure but are
// watched all the same.
const Redirect* Redirects(size_t& count) {
  static const Redirect kRedirects[] = {
      {"SetWindowsHookExA", Address(WatchedSetWindowsHookExA), Address(SetWindowsHookExA)},
      {"SetWindowsHookExW", Address(WatchedSetWindowsHookExW), Address(SetWindowsHookExW)},
      {"UnhookWindowsHookEx", Address(WatchedUnhookWindowsHookEx), Address(UnhookWindowsHookEx)},
      {"SetWindowLongA", Address(WatchedSetWindowLongA), Address(SetWindowLongA)},
      {"SetWindowLongW", Address(WatchedSetWindowLongW), Address(SetWindowLongW)},
      {"DrawTextA", Address(WatchedDrawTextA), Address(DrawTextA)},
      {"FillRect", Address(WatchedFillRect), Address(FillRect)},
      {"FrameRect", Address(WatchedFrameRect), Address(FrameRect)},
      {"SetPixel", Address(WatchedSetPixel), Address(SetPixel)},
#ifdef _WIN64
      {"SetWindowLongPtrA", Address(WatchedSetWindowLongPtrA), Address(SetWindowLongPtrA)},
      {"SetWindowLongPtrW", Address(WatchedSetWindowLongPtrW), Address(SetWindowLongPtrW)},
#endif
  };
  count = sizeof kRedirects / sizeof kRedirects[0];
  return kRedirects;
}

const Redirect* FindRedirect(const char* name, void* bound) {
  size_t count = 0;
  const Redirect* redirects = Redirects(count);
  for (size_t i = 0; i < count; ++i)
    if (name ? std::strcmp(name, redirects[i].name) == 0 : bound == redirects[i].original) return &redirects[i];
  return nullptr;
}

bool WriteSlot(IMAGE_THUNK_DATA* slot, void* value) {
  DWORD protection = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return false;
  slot->u1.Function = reinterpret_cast<ULONG_PTR>(value);
  VirtualProtect(slot, sizeof *slot, protection, &protection);
  FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
  return true;
}

}  // namespace

std::string WatchPluginCalls(HMODULE plugin) {
  auto* base = reinterpret_cast<BYTE*>(plugin);
  if (!base) return "the plug-in is not loaded";
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return "the plug-in's image has no DOS header";
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
    return "the plug-in's image is not a PE image of this editor's architecture";
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return {};  // imports nothing: installs nothing
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    const char* library = reinterpret_cast<const char*>(base + d->Name);
    if (_stricmp(library, "user32.dll") != 0 && _stricmp(library, "gdi32.dll") != 0) continue;
    const bool named = d->OriginalFirstThunk != 0;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (named ? d->OriginalFirstThunk : d->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      const char* name = nullptr;
      if (named) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        name = reinterpret_cast<const char*>(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
      }
      const Redirect* redirect = FindRedirect(name, reinterpret_cast<void*>(slots->u1.Function));
      if (redirect && !WriteSlot(slots, redirect->replacement))
        return std::string("the plug-in's import of ") + redirect->name + " cannot be redirected (error " +
               std::to_string(GetLastError()) + ")";
    }
  }
  return {};
}

void ReportPluginLeftovers() {
  std::map<std::string, int> counts;
  for (const auto& [hook, info] : gHooks) ++counts["hook " + info.type];
  for (const auto& [what, count] : counts) sim::Record(sim::Json{{"kind", "leak"}, {"what", what}, {"count", count}});
  for (const auto& [hook, info] : gHooks) UnhookWindowsHookEx(hook);
  gHooks.clear();
  gOriginalProcedures.clear();
}

}  // namespace simapp
