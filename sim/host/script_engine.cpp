#include "script_engine.h"

#include <duktape.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "action_file.h"
#include "event_rules.h"
#include "host_state.h"
#include "model.h"

// Duktape reports an error by a long jump out of the native function that
// raised it. So every native function below does its C++ work in a helper
// that has returned, its objects destroyed, before the error is thrown, and
// no exception leaves a helper.

namespace sim {
namespace {

// The preferences scripts may set: the kind of value each takes ("boolean",
// or the name of its enumeration) and its value before any script sets it.
struct Preference {
  const char* name;
  const char* kind;
  const char* initial;   // "true", "false", or the enumeration's value name
};
constexpr Preference kPreferences[] = {
    {"autoUpdateOpenDocuments", "boolean", "false"},
    {"fontPreviewSize", "FontPreviewType", "MEDIUM"},
    {"interpolation", "ResampleMethod", "BICUBIC"},
    {"createFirstSnapshot", "boolean", "true"},
    {"nonLinearHistory", "boolean", "false"},
    {"useHistoryLog", "boolean", "false"},
    {"saveLogItems", "SaveLogItemsType", "METADATA"},
    {"editLogItems", "EditLogItemsType", "SESSIONONLY"},
};

// Nested actions (an action's script playing an action) end here rather
// than on the stack's end.
constexpr int kMaxActionDepth = 16;

// The host objects, built in the script's own language on natives of the
// host (the argument `host`). Enumeration values are frozen objects that
// print as "Type.NAME".
constexpr const char* kBootstrap = R"js((function (global, host) {
  'use strict';
  function Enumerator(type, name, value) { this.type = type; this.name = name; this.value = value; }
  Enumerator.prototype.toString = function () { return this.type + '.' + this.name; };
  Enumerator.prototype.valueOf = function () { return this.value; };
  function enumeration(type, names) {
    var e = {};
    for (var i = 0; i < names.length; ++i) e[names[i]] = Object.freeze(new Enumerator(type, names[i], i + 1));
    global[type] = Object.freeze(e);
  }
  enumeration('FontPreviewType', ['NONE', 'SMALL', 'MEDIUM', 'LARGE', 'EXTRALARGE', 'HUGE']);
  enumeration('ResampleMethod', ['NONE', 'NEARESTNEIGHBOR', 'BILINEAR', 'BICUBIC', 'BICUBICSMOOTHER', 'BICUBICSHARPER']);
  enumeration('SaveLogItemsType', ['METADATA', 'LOGFILE', 'LOGFILEANDMETADATA']);
  enumeration('EditLogItemsType', ['SESSIONONLY', 'CONCISE', 'DETAILED']);

  var kinds = host.preferenceKinds();
  function known(name) { return typeof name === 'string' && Object.prototype.hasOwnProperty.call(kinds, name); }
  var preferences = new Proxy({}, {
    get: function (target, name) {
      if (name === 'toString') return function () { return '[object Preferences]'; };
      if (!known(name)) return undefined;
      var value = host.getPreference(name);
      if (kinds[name] === 'boolean') return value;
      var dot = value.indexOf('.');
      return global[value.substring(0, dot)][value.substring(dot + 1)];
    },
    set: function (target, name, value) {
      if (!known(name)) throw new Error('Preferences has no property "' + String(name) + '"');
      var kind = kinds[name];
      if (kind === 'boolean') {
        if (typeof value !== 'boolean' && typeof value !== 'number')
          throw new TypeError('Illegal argument: Preferences.' + name + ' takes a boolean');
        host.setPreference(name, !!value);
      } else {
        if (!(value instanceof Enumerator) || value.type !== kind)
          throw new TypeError('Illegal argument: Preferences.' + name + ' takes a ' + kind + ' value');
        host.setPreference(name, String(value));
      }
      return true;
    },
    has: function (target, name) { return known(name); },
    deleteProperty: function (target, name) { throw new Error('Preferences.' + String(name) + ' cannot be deleted'); }
  });

  // Script paths: "/C/Temp/x.atn" is drive C; Windows paths are taken as
  // they are, forward slashes or back.
  function windowsPath(path) {
    var drive = /^\/([A-Za-z])(\/(.*))?$/.exec(path);
    if (drive) path = drive[1] + ':\\' + (drive[3] || '');
    return path.replace(/\//g, '\\');
  }
  function File(path) {
    if (!(this instanceof File)) return new File(path);
    this.fsName = windowsPath(path === undefined ? '' : String(path));
  }
  Object.defineProperty(File.prototype, 'exists', { get: function () { return host.fileExists(this.fsName); } });
  Object.defineProperty(File.prototype, 'name', { get: function () { return this.fsName.replace(/^.*\\/, ''); } });
  Object.defineProperty(File.prototype, 'fullName', {
    get: function () { return this.fsName.replace(/^([A-Za-z]):/, '/$1').replace(/\\/g, '/'); }
  });
  File.prototype.toString = function () { return this.fullName; };
  global.File = File;

  function Window(type, title, bounds) {
    if (!(this instanceof Window)) return new Window(type, title, bounds);
    if (type !== 'dialog' && type !== 'palette' && type !== 'window')
      throw new Error('Window: "' + String(type) + '" is not a window type');
    this.type = type;
    this.text = title === undefined ? '' : String(title);
    this.bounds = bounds;
  }
  Window.prototype.show = function () { return 2; };
  Window.prototype.close = function () {};
  global.Window = Window;

  // A message box with the text and an OK button, owned by the main window;
  // the script goes on once it is answered.
  global.alert = function (message, title, errorIcon) {
    host.alert(message === undefined ? '' : String(message),
               title === undefined ? 'Script Alert' : String(title), !!errorIcon);
  };

  var app = {};
  Object.defineProperty(app, 'name', { value: host.applicationName(), enumerable: true });
  Object.defineProperty(app, 'version', { value: host.applicationVersion(), enumerable: true });
  Object.defineProperty(app, 'preferences', { value: preferences, enumerable: true });
  Object.defineProperty(app, 'documents', {
    enumerable: true,
    get: function () {
      var titles = host.documents(), list = [];
      for (var i = 0; i < titles.length; ++i) list.push({ name: titles[i] });
      return list;
    }
  });
  Object.defineProperty(app, 'activeDocument', {
    enumerable: true,
    get: function () {
      var title = host.activeDocument();
      if (title === null) throw new Error('There is no open document');
      return { name: title };
    }
  });
  app.load = function (file) {
    if (!(file instanceof File) && typeof file !== 'string') throw new TypeError('Illegal argument: app.load takes a File');
    host.load(file instanceof File ? file.fsName : windowsPath(file));
  };
  var depth = 0;
  app.doAction = function (action, set) {
    if (depth >= host.maxActionDepth) throw new Error('Actions nested too deep');
    var scripts = host.actionScripts(String(action), String(set));
    ++depth;
    try {
      for (var i = 0; i < scripts.length; ++i) (0, eval)(host.scriptText(scripts[i]));
    } finally {
      --depth;
    }
  };
  app.refresh = function () {};
  global.app = app;
}))js";

// ---- Text ----

std::wstring Utf8ToUtf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::string ArgText(duk_context* ctx, duk_idx_t index) {
  duk_size_t length = 0;
  const char* text = duk_is_string(ctx, index) ? duk_get_lstring(ctx, index, &length) : nullptr;
  return text ? std::string(text, length) : std::string();
}

// ---- Files ----

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  return GetFileAttributesW(Utf8ToUtf16(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  FILE* file = _wfopen(Utf8ToUtf16(path).c_str(), L"rb");
  if (!file) return false;
  char buffer[4096];
  size_t n = 0;
  bytes->clear();
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes->append(buffer, n);
  const bool read = !std::ferror(file);
  std::fclose(file);
  return read;
}

// ---- Natives ----
// Each helper gives back an empty text when all went well (having pushed
// its return value, if any, and said so in `pushed`), else the message of
// the error to throw.

using Helper = std::string (*)(duk_context* ctx, bool* pushed);

template <Helper helper>
duk_ret_t Native(duk_context* ctx) {
  char message[1024];
  bool pushed = false;
  {
    std::string failure;
    try {
      failure = helper(ctx, &pushed);
    } catch (const std::exception& e) {
      failure = std::string("the host failed: ") + e.what();
    } catch (...) {
      failure = "the host failed";
    }
    if (failure.empty()) return pushed ? 1 : 0;
    std::snprintf(message, sizeof message, "%s", failure.c_str());
  }
  return duk_error(ctx, DUK_ERR_ERROR, "%s", message);
}

const Preference* FindPreference(const std::string& name) {
  for (const Preference& p : kPreferences)
    if (name == p.name) return &p;
  return nullptr;
}

std::string PreferenceKinds(duk_context* ctx, bool* pushed) {
  duk_push_object(ctx);
  for (const Preference& p : kPreferences) {
    duk_push_string(ctx, p.kind);
    duk_put_prop_string(ctx, -2, p.name);
  }
  *pushed = true;
  return {};
}

std::string GetPreference(duk_context* ctx, bool* pushed) {
  const std::string name = ArgText(ctx, 0);
  const Preference* p = FindPreference(name);
  const Json& prefs = State().model.preferences;
  if (!p || !prefs.contains(name)) return "Preferences has no property \"" + name + "\"";
  const Json& value = prefs[name];
  if (value.is_boolean()) duk_push_boolean(ctx, value.get<bool>());
  else duk_push_string(ctx, value.get<std::string>().c_str());
  *pushed = true;
  return {};
}

std::string SetPreference(duk_context* ctx, bool*) {
  const std::string name = ArgText(ctx, 0);
  if (!FindPreference(name)) return "Preferences has no property \"" + name + "\"";
  if (duk_is_boolean(ctx, 1)) State().model.preferences[name] = bool(duk_get_boolean(ctx, 1));
  else State().model.preferences[name] = ArgText(ctx, 1);
  return {};
}

std::string FileExistsNative(duk_context* ctx, bool* pushed) {
  duk_push_boolean(ctx, FileExists(ArgText(ctx, 0)));
  *pushed = true;
  return {};
}

bool EndsWithNoCase(const std::string& text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (size_t i = 0; i < end.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) return false;
  return true;
}

// app.load of an action file: its set joins the host's action sets.
std::string LoadNative(duk_context* ctx, bool*) {
  const std::string path = ArgText(ctx, 0);
  if (!FileExists(path)) return "File or folder does not exist: " + path;
  if (!EndsWithNoCase(path, ".atn")) return "Cannot open " + path + ": only action files (.atn) are loaded";
  std::string bytes, why;
  if (!ReadWholeFile(path, &bytes)) return "Cannot read " + path;
  const std::optional<ActionFileSet> set = ReadActionFile(bytes, &why);
  if (!set) return "Could not load the actions from " + path + ": " + why;
  Json actions = Json::array(), steps = Json::array();
  for (const ActionFileAction& action : set->actions) {
    actions.push_back(action.name);
    Json list = Json::array();
    for (const ActionFileStep& step : action.steps) {
      Json s = {{"event", step.event}, {"enabled", step.enabled}};
      if (!step.script.empty()) s["script"] = step.script;
      list.push_back(std::move(s));
    }
    steps.push_back(std::move(list));
  }
  State().model.actionSets.push_back(Json{{"name", set->name}, {"actions", actions}, {"steps", steps}});
  return {};
}

constexpr std::string_view kScriptEvent = "AdobeScriptAutomation Scripts";

// The script files an action plays, in order; recorded as an `action` line.
std::string ActionScripts(duk_context* ctx, bool* pushed) {
  const std::string action = ArgText(ctx, 0), setName = ArgText(ctx, 1);
  const Json* set = nullptr;
  for (const Json& s : State().model.actionSets)
    if (s.value("name", std::string()) == setName) {
      set = &s;
      break;
    }
  if (!set) return "There is no action set \"" + setName + "\"";
  const Json& names = (*set)["actions"];
  size_t index = names.size();
  for (size_t i = 0; i < names.size() && index == names.size(); ++i)
    if (names[i] == action) index = i;
  if (index == names.size()) return "There is no action \"" + action + "\" in the set \"" + setName + "\"";
  std::vector<std::string> scripts;
  const Json& steps = set->contains("steps") ? (*set)["steps"] : Json();
  if (steps.is_array() && index < steps.size())
    for (const Json& step : steps[index]) {
      if (!step.value("enabled", true)) continue;
      const std::string event = step.value("event", std::string());
      if (event != kScriptEvent || !step.contains("script"))
        return "The action \"" + action + "\" plays the event \"" + event + "\", which the host cannot play";
      scripts.push_back(step["script"].get<std::string>());
    }
  Record(Json{{"kind", "action"}, {"set", setName}, {"name", action}, {"scripts", scripts}});
  duk_push_array(ctx);
  for (size_t i = 0; i < scripts.size(); ++i) {
    duk_push_string(ctx, scripts[i].c_str());
    duk_put_prop_index(ctx, -2, duk_uarridx_t(i));
  }
  *pushed = true;
  return {};
}

std::string ScriptText(duk_context* ctx, bool* pushed) {
  const std::string path = ArgText(ctx, 0);
  std::string text;
  if (!FileExists(path) || !ReadWholeFile(path, &text)) return "File or folder does not exist: " + path;
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  duk_push_lstring(ctx, text.data(), text.size());
  *pushed = true;
  return {};
}

std::string Documents(duk_context* ctx, bool* pushed) {
  duk_push_array(ctx);
  duk_uarridx_t i = 0;
  for (const Json& doc : State().model.documents) {
    duk_push_string(ctx, doc.value("title", std::string()).c_str());
    duk_put_prop_index(ctx, -2, i++);
  }
  *pushed = true;
  return {};
}

std::string ActiveDocument(duk_context* ctx, bool* pushed) {
  const Json* doc = CurrentDocument(State().model);
  if (doc) duk_push_string(ctx, doc->value("title", std::string()).c_str());
  else duk_push_null(ctx);
  *pushed = true;
  return {};
}

// The product and major version the scenario gives the host.
std::string ApplicationName(duk_context* ctx, bool* pushed) {
  const Json& hostSettings = State().scenario.contains("host") ? State().scenario["host"] : Json::object();
  const bool photoshop = hostSettings.value("product", std::string("Elements")) == "Photoshop";
  duk_push_string(ctx, photoshop ? "Adobe Photoshop" : "Adobe Photoshop Elements");
  *pushed = true;
  return {};
}

std::string ApplicationVersion(duk_context* ctx, bool* pushed) {
  duk_push_string(ctx, (std::to_string(HostVersion()) + ".0").c_str());
  *pushed = true;
  return {};
}

// alert: the box goes through the host's message-box path, so it is answered
// and recorded like every other one.
std::string AlertNative(duk_context* ctx, bool*) {
  const std::wstring text = Utf8ToUtf16(ArgText(ctx, 0)), title = Utf8ToUtf16(ArgText(ctx, 1));
  const UINT icon = duk_get_boolean(ctx, 2) ? MB_ICONERROR : MB_ICONWARNING;
  MessageBoxW(MainWindow(), text.c_str(), title.c_str(), MB_OK | icon);
  return {};
}

struct NativeEntry {
  const char* name;
  duk_c_function function;
  duk_idx_t arguments;
};
constexpr NativeEntry kNatives[] = {
    {"preferenceKinds", Native<PreferenceKinds>, 0},
    {"getPreference", Native<GetPreference>, 1},
    {"setPreference", Native<SetPreference>, 2},
    {"fileExists", Native<FileExistsNative>, 1},
    {"load", Native<LoadNative>, 1},
    {"actionScripts", Native<ActionScripts>, 2},
    {"scriptText", Native<ScriptText>, 1},
    {"documents", Native<Documents>, 0},
    {"activeDocument", Native<ActiveDocument>, 0},
    {"applicationName", Native<ApplicationName>, 0},
    {"applicationVersion", Native<ApplicationVersion>, 0},
    {"alert", Native<AlertNative>, 3},
};

void Fatal(void*, const char* message) {
  std::fprintf(stderr, "JavaScript engine: fatal error: %s\n", message ? message : "");
  std::fflush(stderr);
  std::abort();
}

}  // namespace

void ScriptHeapFree::operator()(duk_hthread* heap) const {
  if (heap) duk_destroy_heap(heap);
}

ScriptHeap NewScriptHeap() {
  ScriptHeap heap(duk_create_heap(nullptr, nullptr, nullptr, nullptr, Fatal));
  if (!heap) return heap;
  duk_context* ctx = heap.get();
  if (duk_peval_string(ctx, kBootstrap) != 0) {
    RecordFault("JavaScript.CreateEngine", duk_safe_to_string(ctx, -1));
    return ScriptHeap();
  }
  duk_push_global_object(ctx);
  duk_push_object(ctx);
  for (const NativeEntry& n : kNatives) {
    duk_push_c_function(ctx, n.function, n.arguments);
    duk_put_prop_string(ctx, -2, n.name);
  }
  duk_push_int(ctx, kMaxActionDepth);
  duk_put_prop_string(ctx, -2, "maxActionDepth");
  if (duk_pcall(ctx, 2) != 0) {
    RecordFault("JavaScript.CreateEngine", duk_safe_to_string(ctx, -1));
    return ScriptHeap();
  }
  duk_pop(ctx);
  return heap;
}

ScriptOutcome RunScript(duk_hthread* heap, std::string_view utf8) {
  ScriptOutcome outcome;
  const duk_int_t rc = duk_peval_lstring(heap, utf8.data(), utf8.size());
  outcome.ran = rc == 0;
  outcome.text = duk_safe_to_string(heap, -1);
  duk_pop(heap);
  return outcome;
}

ScriptOutcome RunScriptInNewHeap(std::string_view utf8) {
  ScriptHeap heap = NewScriptHeap();
  if (!heap) return {false, "the engine could not be created"};
  return RunScript(heap.get(), utf8);
}

Json DefaultPreferences() {
  Json prefs = Json::object();
  for (const Preference& p : kPreferences) {
    const std::string initial = p.initial;
    if (std::string_view(p.kind) == "boolean") prefs[p.name] = initial == "true";
    else prefs[p.name] = std::string(p.kind) + "." + initial;
  }
  return prefs;
}

}  // namespace sim
