// The simulated host's state shared by the suites, the model and the
// recorder. One host per process, used from one thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "action_suites.h"
#include "host_errors.h"
#include "host_values.h"
#include "script_engine.h"
#include "sim_host.h"

namespace sim {

// Live host objects of one kind behind opaque tokens. A token is never
// issued twice, not even after a reset, so a stale token is always unknown.
template <class T>
class Registry {
 public:
  std::uintptr_t Add(T value) {
    auto token = NextToken();
    live_.emplace(token, std::move(value));
    return token;
  }
  T* Find(const void* token) {
    auto it = live_.find(reinterpret_cast<std::uintptr_t>(token));
    return it == live_.end() ? nullptr : &it->second;
  }
  bool Remove(const void* token) { return live_.erase(reinterpret_cast<std::uintptr_t>(token)) > 0; }
  size_t Count() const { return live_.size(); }
  void Clear() { live_.clear(); }

 private:
  static std::uintptr_t NextToken();
  std::map<std::uintptr_t, T> live_;
};

std::uintptr_t NextTokenValue();
template <class T>
std::uintptr_t Registry<T>::NextToken() { return NextTokenValue(); }

// A handle's bytes (size + 1, the last always 0) sit on pages of their own
// that the plug-in can reach only while the handle is locked: a read or a
// write through a pointer to an unlocked handle is caught, recorded once as
// misuse, and then let through until the handle is next locked or unlocked.
struct HandleData {
  HandleData() = default;
  HandleData(HandleData&& other) noexcept;
  HandleData& operator=(HandleData&& other) noexcept;
  HandleData(const HandleData&) = delete;
  HandleData& operator=(const HandleData&) = delete;
  ~HandleData();

  char* bytes = nullptr;
  std::size_t span = 0;            // the pages' length
  std::int32_t size = 0;
  bool locked = false;
  bool exposed = false;            // opened after an access while unlocked
};

// Gives `data` zeroed bytes for `size` (false when out of memory); the pages
// are closed to the plug-in.
bool AllocateHandleBytes(HandleData& data, std::int32_t size);
// Opens or closes the pages as the lock says.
void SetHandleAccess(HandleData& data, bool open);

// The host's own reading or writing of a handle's bytes: opens the pages
// for `body` and closes them again unless the handle is locked.
template <class F>
auto WithHandleBytes(HandleData& data, F&& body) {
  SetHandleAccess(data, true);
  struct Close {
    HandleData& d;
    ~Close() { SetHandleAccess(d, d.locked || d.exposed); }
  } close{data};
  return body(data.bytes);
}

struct ZStringData {
  std::string text;                // code page 1252
  int refs = 1;
};

struct ColorData {
  std::int16_t space = 0;
  std::uint8_t c[4] = {0, 0, 0, 0};
};

// A call made to fail on purpose: the nth call of a suite operation, or the
// nth play of an event, counted from when the fault was armed.
struct Fault {
  std::string suite, call;         // a suite operation, or
  std::string event;               // an event, as the scenario names it
  TypeID eventId = 0;
  std::int64_t nth = 1;
  std::int32_t error = err::kCannotApply;
  std::int64_t base = 0;           // the count when it was armed
  bool fired = false;
};

struct Notifier {
  host::PluginRef self;
  TypeID event;
  host::EventNotifier proc;
  void* data;
};

// The document model in the scenario's own form (see model.cpp).
struct Model {
  Json documents = Json::array();
  int current = -1;                // index into documents, -1: none open
  int nextLayerId = 1;
  // The host's action sets in the scenario's form, [{"name", "actions":
  // [name, ...]}]; a set loaded from an action file also has "steps", one
  // list per action of the steps it plays ({"event", "enabled", "script"}).
  Json actionSets = Json::array();
  // The application's preferences scripts set (app.preferences), by name.
  Json preferences = DefaultPreferences();
  // What the host can paste: {"image": [width, height]} as the scenario
  // gives it, with the "document", "layer" and "area" a `copy` took; null:
  // nothing to paste.
  Json clipboard;
};

struct HostState {
  Json scenario = Json::object();
  bool recordGets = false;
  Json answers = Json::object();
  size_t nextMessageAnswer = 0;
  size_t nextFileAnswer = 0;
  size_t nextColorAnswer = 0;

  Registry<DescriptorData> descriptors;
  Registry<ReferenceData> references;
  Registry<ListData> lists;
  Registry<ZStringData> zstrings;
  Registry<ColorData> colors;
  Registry<ScriptHeap> engines;
  std::map<host::Handle, HandleData> handles;
  std::map<void*, size_t> blocks;            // basic suite allocations
  std::map<std::pair<std::string, std::int32_t>, int> suites;   // (name, version) -> acquisitions not yet released

  std::vector<Fault> faults;
  std::map<std::string, std::int64_t> callCounts;   // "suite.call", over the whole run
  std::map<TypeID, std::int64_t> playCounts;        // plays that reached the model, by event
  bool recordCalls = false;

  std::vector<Notifier> notifiers;
  Model model;
  int suspendDepth = 0;

  std::vector<Json> transcript;
  std::function<void(const Json&)> sink;
  HWND mainWindow = nullptr;
};

HostState& State();

// The scenario's next answer of this kind (`answers.files`, say), counted
// off by `next`; null when it has no more.
Json NextAnswer(const char* kind, size_t& next);

// Handles: a real `char**` whose master pointer the host owns.
host::Handle NewHandle(std::int32_t size);
HandleData* FindHandle(host::Handle h);
bool DisposeHandle(host::Handle h);
host::Handle NewTextHandle(std::string_view text);   // text plus terminator
std::string HandleText(HandleData& h);                // up to the first NUL

// Descriptor, list, reference and string tokens.
host::Descriptor NewDescriptor(DescriptorData d = {});
host::List NewList(ListData l = {});
host::Reference NewReference(ReferenceData r = {});
host::ZString NewZString(std::string ansi);
DescriptorData* FindDescriptor(host::Descriptor d);
ListData* FindList(host::List l);
ReferenceData* FindReference(host::Reference r);
ZStringData* FindZString(host::ZString z);     // the shared empty string included
host::ZString EmptyZStringToken();

// A call with a bad argument: records a `misuse` line (a plug-in fault worth
// seeing in the transcript) and gives back the code to answer with.
template <class E>
E Misuse(const char* call, const char* what, E code);
void RecordMisuse(const char* call, const char* what);
template <class E>
E Misuse(const char* call, const char* what, E code) {
  RecordMisuse(call, what);
  return code;
}

// Runs a suite operation so that no exception leaves it: an exception is
// recorded and turned into the given code.
void RecordFault(const char* call, const char* what);
template <class E, class F>
E Guard(const char* call, E onError, F&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    RecordFault(call, "out of memory");
  } catch (const std::exception& e) {
    RecordFault(call, e.what());
  } catch (...) {
    RecordFault(call, "unknown exception");
  }
  return onError;
}

// Faults (faults.cpp). Reset from the scenario's "faults"; counts the play
// of an event about to be applied and gives the error to answer when a
// fault fires.
void ResetFaults(const Json& scenario);
std::optional<std::int32_t> CountEventPlay(TypeID event);

// Identifiers.
host::TypeID StringToId(std::string_view text);   // StringIDToTypeID
bool IdToString(host::TypeID id, std::string* text);
void AliasStringId(std::string_view alias, std::string_view existing);

// Suite tables, by version (null: not offered).
const void* DescriptorSuiteTable(std::int32_t version);
const void* ControlSuiteTable(std::int32_t version);
const void* ReferenceSuiteTable(std::int32_t version);
const void* ListSuiteTable(std::int32_t version);
const void* UIHooksSuiteTable(std::int32_t version);
const void* HandleSuiteTable(std::int32_t version);
const void* ZStringSuiteTable(std::int32_t version);
const void* PropertySuiteTable(std::int32_t version);
const void* ColorSpaceSuiteTable(std::int32_t version);
const void* JavaScriptSuiteTable(std::int32_t version);

}  // namespace sim
