// The host's shared state, its objects behind tokens, the reset and the leak
// report.
#include <cstdlib>
#include <cstring>

#include "host_state.h"
#include "model.h"

namespace sim {

HostState& State() {
  static HostState state;
  return state;
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

host::Handle NewHandle(std::int32_t size) {
  if (size < 0) return nullptr;
  HandleData data;
  data.bytes = std::make_unique<char[]>(size_t(size) + 1);
  std::memset(data.bytes.get(), 0, size_t(size) + 1);
  data.size = size;
  auto& masters = MasterPointers();
  masters.push_back(data.bytes.get());
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
  if (h) std::memcpy(*h, text.data(), text.size());
  return h;
}

std::string HandleText(const HandleData& h) {
  return std::string(h.bytes.get(), strnlen(h.bytes.get(), size_t(h.size)));
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
  s.nextScriptAnswer = 0;
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
  for (const auto& [name, count] : s.suites)
    if (count > 0) Record(Json{{"kind", "leak"}, {"what", "suite " + name}, {"count", count}});
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
