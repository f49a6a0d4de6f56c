// The host's shared state, its objects behind tokens, the reset and the leak
// report.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "host_state.h"
#include "model.h"

namespace sim {

HostState& State() {
  static HostState state;
  return state;
}

Json NextAnswer(const char* kind, size_t& next) {
  const Json& answers = State().answers;
  if (!answers.contains(kind) || !answers[kind].is_array() || next >= answers[kind].size()) return nullptr;
  return answers[kind][next++];
}

std::uintptr_t NextTokenValue() {
  // Steps of 16 keep tokens aligned like real pointers; never reset.
  static std::uintptr_t next = 0x00510000;
  next += 16;
  return next;
}

namespace {

// Master pointers live in a deque that only grows: a handle (the address of
// its master pointer) is therefore never issued twice.
std::deque<char*>& MasterPointers() {
  static std::deque<char*> masters;
  return masters;
}

// The string GetEmpty answers: shared, never counted, never freed.
ZStringData& EmptyZString() {
  static ZStringData empty{std::string(), 1};
  return empty;
}

}  // namespace

host::ZString EmptyZStringToken() {
  static char anchor;
  return reinterpret_cast<host::ZString>(&anchor);
}

namespace {

// Catches the plug-in touching the bytes of an unlocked handle.
LONG CALLBACK CatchUnlockedAccess(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
  const auto address = reinterpret_cast<const char*>(r->ExceptionInformation[1]);
  for (auto& [h, data] : State().handles) {
    if (!data.bytes || address < data.bytes || address >= data.bytes + data.span) continue;
    if (data.locked || data.exposed) return EXCEPTION_CONTINUE_SEARCH;   // open: some other fault
    data.exposed = true;
    SetHandleAccess(data, true);
    try {
      RecordMisuse("Handle", r->ExceptionInformation[0] == 1 ? "bytes written while the handle is unlocked"
                                                             : "bytes read while the handle is unlocked");
    } catch (...) {
      // The access goes on even when the line cannot be recorded.
    }
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

void WatchHandleAccess() {
  static const PVOID handler = AddVectoredExceptionHandler(1, CatchUnlockedAccess);
  (void)handler;
}

}  // namespace

HandleData::HandleData(HandleData&& other) noexcept
    : bytes(std::exchange(other.bytes, nullptr)),
      span(std::exchange(other.span, 0)),
      size(other.size),
      locked(other.locked),
      exposed(other.exposed) {}

HandleData& HandleData::operator=(HandleData&& other) noexcept {
  if (this != &other) {
    if (bytes) VirtualFree(bytes, 0, MEM_RELEASE);
    bytes = std::exchange(other.bytes, nullptr);
    span = std::exchange(other.span, 0);
    size = other.size;
    locked = other.locked;
    exposed = other.exposed;
  }
  return *this;
}

HandleData::~HandleData() {
  if (bytes) VirtualFree(bytes, 0, MEM_RELEASE);
}

bool AllocateHandleBytes(HandleData& data, std::int32_t size) {
  if (size < 0) return false;
  WatchHandleAccess();
  const std::size_t span = std::size_t(size) + 1;
  // Fresh pages are zeroed; closed until the handle is locked.
  auto* bytes = static_cast<char*>(VirtualAlloc(nullptr, span, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
  if (!bytes) return false;
  if (data.bytes) VirtualFree(data.bytes, 0, MEM_RELEASE);
  data.bytes = bytes;
  data.span = span;
  data.size = size;
  return true;
}

void SetHandleAccess(HandleData& data, bool open) {
  if (!data.bytes) return;
  DWORD old = 0;
  VirtualProtect(data.bytes, data.span, open ? PAGE_READWRITE : PAGE_NOACCESS, &old);
}

host::Handle NewHandle(std::int32_t size) {
  HandleData data;
  if (!AllocateHandleBytes(data, size)) return nullptr;
  auto& masters = MasterPointers();
  masters.push_back(data.bytes);
  host::Handle h = &masters.back();
  State().handles.emplace(h, std::move(data));
  return h;
}

HandleData* FindHandle(host::Handle h) {
  auto& handles = State().handles;
  auto it = handles.find(h);
  return it == handles.end() ? nullptr : &it->second;
}

bool DisposeHandle(host::Handle h) {
  auto& handles = State().handles;
  auto it = handles.find(h);
  if (it == handles.end()) return false;
  *h = nullptr;
  handles.erase(it);
  return true;
}

host::Handle NewTextHandle(std::string_view text) {
  host::Handle h = NewHandle(std::int32_t(text.size() + 1));
  if (h) WithHandleBytes(*FindHandle(h), [&](char* bytes) { return std::memcpy(bytes, text.data(), text.size()); });
  return h;
}

std::string HandleText(HandleData& h) {
  return WithHandleBytes(h, [&](char* bytes) { return std::string(bytes, strnlen(bytes, size_t(h.size))); });
}

host::Descriptor NewDescriptor(DescriptorData d) {
  return reinterpret_cast<host::Descriptor>(State().descriptors.Add(std::move(d)));
}
host::List NewList(ListData l) {
  return reinterpret_cast<host::List>(State().lists.Add(std::move(l)));
}
host::Reference NewReference(ReferenceData r) {
  return reinterpret_cast<host::Reference>(State().references.Add(std::move(r)));
}
host::ZString NewZString(std::string ansi) {
  return reinterpret_cast<host::ZString>(State().zstrings.Add(ZStringData{std::move(ansi), 1}));
}
DescriptorData* FindDescriptor(host::Descriptor d) { return State().descriptors.Find(d); }
ListData* FindList(host::List l) { return State().lists.Find(l); }
ReferenceData* FindReference(host::Reference r) { return State().references.Find(r); }
ZStringData* FindZString(host::ZString z) {
  if (z == EmptyZStringToken()) return &EmptyZString();
  return State().zstrings.Find(z);
}

// ---- Public API ----

void ResetHost(const Json& scenario) {
  auto& s = State();
  s.scenario = scenario.is_object() ? scenario : Json::object();
  s.recordGets = s.scenario.value("recordGets", false);
  s.answers = s.scenario.contains("answers") && s.scenario["answers"].is_object()
                  ? s.scenario["answers"]
                  : Json::object();
  s.nextMessageAnswer = 0;
  s.nextFileAnswer = 0;
  s.nextColorAnswer = 0;
  s.descriptors.Clear();
  s.references.Clear();
  s.lists.Clear();
  s.zstrings.Clear();
  s.colors.Clear();
  s.engines.Clear();
  for (auto& [h, data] : s.handles) *h = nullptr;
  s.handles.clear();
  for (auto& [block, size] : s.blocks) std::free(block);
  s.blocks.clear();
  s.suites.clear();
  s.notifiers.clear();
  s.suspendDepth = 0;
  s.transcript.clear();
  ResetFaults(s.scenario);
  s.model = ModelFromScenario(s.scenario);
}

host::PluginRef PluginSelf() {
  static char anchor;
  return reinterpret_cast<host::PluginRef>(&anchor);
}

void SetMainWindow(HWND window) { State().mainWindow = window; }
HWND MainWindow() { return State().mainWindow; }

void NotifyEvent(std::string_view event) {
  TypeID id = IdFromText(event);
  // A copy: a notifier may add or remove notifiers while it runs.
  auto notifiers = State().notifiers;
  for (const auto& n : notifiers) {
    if (n.event != id && n.event != host::FourCC("All ")) continue;
    try {
      n.proc(id, nullptr, 0, n.data);
    } catch (...) {
      RecordFault("notifier", "exception from the plug-in's notifier");
    }
  }
}

size_t NotifierCount() { return State().notifiers.size(); }

void ReportLeaks() {
  auto& s = State();
  const std::pair<const char*, size_t> kinds[] = {
      {"descriptor", s.descriptors.Count()}, {"reference", s.references.Count()},
      {"list", s.lists.Count()},             {"handle", s.handles.size()},
      {"zstring", s.zstrings.Count()},       {"color", s.colors.Count()},
      {"engine", s.engines.Count()},         {"block", s.blocks.size()},
  };
  for (const auto& [what, count] : kinds)
    if (count > 0) Record(Json{{"kind", "leak"}, {"what", what}, {"count", count}});
  // One line per suite, whatever versions were left acquired.
  std::map<std::string, int> bySuite;
  for (const auto& [key, count] : s.suites) bySuite[key.first] += count;
  for (const auto& [name, count] : bySuite)
    if (count > 0) Record(Json{{"kind", "leak"}, {"what", "suite " + name}, {"count", count}});
}

Json LiveObjects() {
  auto& s = State();
  return Json{{"descriptor", s.descriptors.Count()}, {"reference", s.references.Count()},
              {"list", s.lists.Count()},             {"handle", s.handles.size()},
              {"zstring", s.zstrings.Count()},       {"color", s.colors.Count()},
              {"engine", s.engines.Count()},         {"block", s.blocks.size()}};
}

size_t LiveObjectCount() {
  auto& s = State();
  // Suites stay acquired for a plug-in's whole life; only objects count here.
  return s.descriptors.Count() + s.references.Count() + s.lists.Count() + s.handles.size() +
         s.zstrings.Count() + s.colors.Count() + s.engines.Count() + s.blocks.size();
}

Json DescribeDescriptor(host::Descriptor d) {
  auto* data = FindDescriptor(d);
  return data ? DescriptorToJson(*data) : Json();
}

Json DescribeReference(host::Reference r) {
  auto* data = FindReference(r);
  return data ? ReferenceToJson(*data) : Json();
}

}  // namespace sim
