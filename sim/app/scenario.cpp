#include "scenario.h"

#include <algorithm>
#include <windows.h>

#include <fstream>
#include <initializer_list>
#include <sstream>

#include "key_names.h"
#include "text.h"

namespace simapp {
namespace {

using sim::Json;

[[noreturn]] void Fail(const std::string& path, const std::string& why) {
  throw ScenarioError(path + ": " + why);
}

std::string Sub(const std::string& path, const std::string& key) {
  return path.empty() ? key : path + "." + key;
}
std::string At(const std::string& path, size_t i) { return path + "[" + std::to_string(i) + "]"; }

// Every key of an object must be one the editor reads: a mistyped one would
// otherwise leave its field at the default without a word.
void KnownKeys(const Json& obj, const std::string& path, std::initializer_list<std::string_view> known) {
  for (auto& [key, value] : obj.items()) {
    bool found = false;
    for (std::string_view k : known) found = found || key == k;
    if (!found) throw ScenarioError("unknown key \"" + key + "\" in " + (path.empty() ? "the top level" : path));
  }
}

// Field checks: each takes the parent object and the key; an absent field is
// always fine (every field is optional).
const Json* Field(const Json& obj, const char* key) {
  auto it = obj.find(key);
  return it == obj.end() ? nullptr : &*it;
}

void ExpectObject(const Json& v, const std::string& path) {
  if (!v.is_object()) Fail(path, "expected an object");
}
void ExpectArray(const Json& v, const std::string& path) {
  if (!v.is_array()) Fail(path, "expected a list");
}

void Bool(const Json& obj, const char* key, const std::string& path) {
  if (auto v = Field(obj, key); v && !v->is_boolean()) Fail(Sub(path, key), "expected true or false");
}

void Int(const Json& obj, const char* key, const std::string& path, long long lo, long long hi,
         bool nullable = false) {
  auto v = Field(obj, key);
  if (!v || (nullable && v->is_null())) return;
  std::string range = "expected an integer " + std::to_string(lo) + ".." + std::to_string(hi);
  if (nullable) range += " or null";
  if (!v->is_number_integer()) Fail(Sub(path, key), range);
  long long n = v->is_number_unsigned() ? (long long)std::min<unsigned long long>(v->get<unsigned long long>(), 1ull << 62)
                                        : v->get<long long>();
  if (n < lo || n > hi) Fail(Sub(path, key), range);
}

void Number(const Json& obj, const char* key, const std::string& path) {
  if (auto v = Field(obj, key); v && (!v->is_number() || v->get<double>() <= 0))
    Fail(Sub(path, key), "expected a positive number");
}

void String(const Json& obj, const char* key, const std::string& path, bool nullable = false) {
  auto v = Field(obj, key);
  if (!v || v->is_string() || (nullable && v->is_null())) return;
  Fail(Sub(path, key), nullable ? "expected a string or null" : "expected a string");
}

void OneOf(const Json& obj, const char* key, const std::string& path, std::initializer_list<const char*> choices) {
  auto v = Field(obj, key);
  if (!v) return;
  if (v->is_string())
    for (const char* c : choices)
      if (*v == c) return;
  std::string why = "expected one of";
  for (const char* c : choices) why += std::string(" \"") + c + "\"";
  Fail(Sub(path, key), why);
}

void StringList(const Json& obj, const char* key, const std::string& path) {
  auto v = Field(obj, key);
  if (!v) return;
  ExpectArray(*v, Sub(path, key));
  for (size_t i = 0; i < v->size(); ++i)
    if (!(*v)[i].is_string()) Fail(At(Sub(path, key), i), "expected a string");
}

void HexData(const Json& obj, const char* key, const std::string& path) {
  auto v = Field(obj, key);
  if (!v) return;
  if (!v->is_string() || !DecodeHex(v->get<std::string>()))
    Fail(Sub(path, key), "expected \"hex:\" followed by pairs of hex digits");
}

// An optional object whose fields are all booleans ({"enabled", "linked"}).
// `area` names the one field that is no flag: what the mask follows.
void FlagObject(const Json& obj, const char* key, const std::string& path, std::initializer_list<const char*> flags,
                const char* area) {
  auto v = Field(obj, key);
  if (!v || v->is_null()) return;
  if (!v->is_object()) Fail(Sub(path, key), "expected an object or null");
  for (auto& [k, value] : v->items()) {
    bool found = k == area;
    for (const char* f : flags) found = found || k == f;
    if (!found) throw ScenarioError("unknown key \"" + k + "\" in " + Sub(path, key));
  }
  for (const char* f : flags) Bool(*v, f, Sub(path, key));
  String(*v, area, Sub(path, key), true);
}

void CheckHost(const Json& host) {
  const std::string p = "host";
  ExpectObject(host, p);
  KnownKeys(host, p, {"product", "version", "german", "locale", "uiLanguage", "dictionary", "dictionaryPlace",
                      "thumbnailSize", "layersPanel", "scripts", "windows", "mainWindow", "controlBarDecoy",
                      "toolbarWidth"});
  OneOf(host, "product", p, {"Elements", "Photoshop"});
  Int(host, "version", p, 0, 99);
  Bool(host, "german", p);
  String(host, "locale", p, true);
  String(host, "uiLanguage", p, true);
  if (auto d = Field(host, "dictionary"); d && !d->is_null()) {
    if (!d->is_object()) Fail("host.dictionary", "expected an object or null");
    for (auto& [k, v] : d->items()) {
      if (k.find_first_of("=\r\n\"") != std::string::npos)
        Fail("host.dictionary", "the key \"" + k + "\" holds '=', '\"' or a line break");
      if (!v.is_string()) Fail("host.dictionary." + k, "expected a string");
      if (v.get<std::string>().find_first_of("\r\n\"") != std::string::npos)
        Fail("host.dictionary." + k, "holds '\"' or a line break");
    }
  }
  OneOf(host, "dictionaryPlace", p, {"Locales", "Required", "Support Files"});
  Int(host, "thumbnailSize", p, 0, 255, true);
  OneOf(host, "layersPanel", p, {"docked", "floating", "absent"});
  Bool(host, "controlBarDecoy", p);
  Int(host, "toolbarWidth", p, 1, 400);
  OneOf(host, "windows", p, {"xp", "7", "10"});
  Bool(host, "mainWindow", p);
  StringList(host, "scripts", p);
  if (auto s = Field(host, "scripts"))
    for (size_t i = 0; i < s->size(); ++i) {
      const std::string name = (*s)[i].get<std::string>();
      if (name.empty() || name.find_first_of("\\/:*?\"<>|") != std::string::npos)
        Fail(At("host.scripts", i), "expected a plain file name");
    }
}

void CheckPlugin(const Json& plugin) {
  ExpectObject(plugin, "plugin");
  KnownKeys(plugin, "plugin", {"settings", "installPath"});
  if (auto s = Field(plugin, "settings"); s && !s->is_null()) {
    if (!s->is_array()) Fail("plugin.settings", "expected a list of lines or null");
    for (size_t i = 0; i < s->size(); ++i)
      if (!(*s)[i].is_string() && !(*s)[i].is_number_integer())
        Fail(At("plugin.settings", i), "expected a string or an integer");
  }
  String(plugin, "installPath", "plugin", true);
}

void CheckFiles(const Json& files) {
  ExpectObject(files, "files");
  for (auto& [path, content] : files.items()) {
    const std::string p = "files." + path;
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') Fail(p, "expected an absolute Windows path as the key");
    if (!content.is_string()) Fail(p, "expected a text or \"hex:...\"");
    if (IsHexText(content.get<std::string>()) && !DecodeHex(content.get<std::string>()))
      Fail(p, "expected \"hex:\" followed by pairs of hex digits");
  }
}

void CheckLayer(const Json& layer, const std::string& p) {
  ExpectObject(layer, p);
  KnownKeys(layer, p, {"name", "kind", "background", "visible", "opacity", "fillOpacity", "blendMode", "grouped",
                       "userMask", "vectorMask", "filterMask", "smartFilters", "adjustment", "text", "contents"});
  String(layer, "name", p);
  OneOf(layer, "kind", p, {"pixel", "text", "shape", "smartObject", "adjustment", "groupStart", "groupEnd"});
  Bool(layer, "background", p);
  Bool(layer, "visible", p);
  Int(layer, "opacity", p, 0, 255);
  Int(layer, "fillOpacity", p, 0, 255);
  String(layer, "blendMode", p);
  Bool(layer, "grouped", p);
  FlagObject(layer, "userMask", p, {"enabled", "linked"}, "reveals");
  FlagObject(layer, "vectorMask", p, {"enabled"}, "area");
  FlagObject(layer, "filterMask", p, {"enabled"}, "reveals");
  if (auto f = Field(layer, "smartFilters")) {
    const std::string fp = Sub(p, "smartFilters");
    ExpectArray(*f, fp);
    for (size_t i = 0; i < f->size(); ++i) {
      ExpectObject((*f)[i], At(fp, i));
      KnownKeys((*f)[i], At(fp, i), {"name", "enabled", "edits", "blendingEdits"});
      String((*f)[i], "name", At(fp, i));
      Bool((*f)[i], "enabled", At(fp, i));
      Int((*f)[i], "edits", At(fp, i), 0, 1 << 30);
      Int((*f)[i], "blendingEdits", At(fp, i), 0, 1 << 30);
    }
  }
  // A smart object's own layers, bottom to top.
  if (auto c = Field(layer, "contents"); c && !c->is_null()) {
    const std::string cp = Sub(p, "contents");
    ExpectArray(*c, cp);
    for (size_t i = 0; i < c->size(); ++i) CheckLayer((*c)[i], At(cp, i));
  }
  if (auto a = Field(layer, "adjustment"); a && !a->is_null()) {
    const std::string ap = Sub(p, "adjustment");
    ExpectObject(*a, ap);
    KnownKeys(*a, ap, {"class", "data"});
    String(*a, "class", ap);
    HexData(*a, "data", ap);
  }
  if (auto t = Field(layer, "text"); t && !t->is_null()) {
    const std::string tp = Sub(p, "text");
    ExpectObject(*t, tp);
    KnownKeys(*t, tp, {"antiAlias", "paragraph", "tracking"});
    String(*t, "antiAlias", tp);
    Bool(*t, "paragraph", tp);
    Int(*t, "tracking", tp, -1000, 10000);
  }
}

void CheckDocument(const Json& doc, const std::string& p) {
  ExpectObject(doc, p);
  KnownKeys(doc, p, {"title", "path", "mode", "depth", "width", "height", "resolution", "profile", "selection",
                     "channels", "targetChannels", "visibleChannels", "history", "layers", "target", "selectionArea",
                     "workPath", "quickMask"});
  String(doc, "title", p);
  String(doc, "path", p, true);
  String(doc, "mode", p);
  if (auto d = Field(doc, "depth"); d && !(d->is_number_integer() && (*d == 1 || *d == 8 || *d == 16 || *d == 32)))
    Fail(Sub(p, "depth"), "expected 1, 8, 16 or 32");
  Int(doc, "width", p, 1, 300000);
  Int(doc, "height", p, 1, 300000);
  Number(doc, "resolution", p);
  String(doc, "profile", p, true);
  Bool(doc, "selection", p);
  if (auto c = Field(doc, "channels")) {
    ExpectArray(*c, Sub(p, "channels"));
    for (size_t i = 0; i < c->size(); ++i) {
      const Json& channel = (*c)[i];
      const std::string cp = At(Sub(p, "channels"), i);
      if (!channel.is_string() && !channel.is_object()) Fail(cp, "expected a channel name");
      if (channel.is_object()) {
        KnownKeys(channel, cp, {"name", "area", "colorIndicates"});
        String(channel, "name", cp);
        String(channel, "area", cp, true);
        String(channel, "colorIndicates", cp, true);
      }
    }
  }
  String(doc, "selectionArea", p, true);
  String(doc, "workPath", p, true);
  Bool(doc, "quickMask", p);
  StringList(doc, "targetChannels", p);
  StringList(doc, "visibleChannels", p);
  StringList(doc, "history", p);
  size_t layerCount = 0;
  if (auto l = Field(doc, "layers")) {
    ExpectArray(*l, Sub(p, "layers"));
    layerCount = l->size();
    for (size_t i = 0; i < l->size(); ++i) CheckLayer((*l)[i], At(Sub(p, "layers"), i));
  }
  if (auto t = Field(doc, "target")) {
    // Positions count from the bottom layer, 0 first.
    ExpectArray(*t, Sub(p, "target"));
    for (size_t i = 0; i < t->size(); ++i) {
      const Json& position = (*t)[i];
      const bool inRange = position.is_number_integer() && position.get<long long>() >= 0 &&
                           (!doc.contains("layers") || position.get<long long>() < (long long)layerCount);
      if (!inRange)
        Fail(At(Sub(p, "target"), i), layerCount ? "expected a layer position 0.." + std::to_string(layerCount - 1)
                                                  : "expected a layer position");
    }
  }
}

void CheckActionSets(const Json& sets, const std::string& where = "actionSets") {
  ExpectArray(sets, where);
  for (size_t i = 0; i < sets.size(); ++i) {
    const std::string p = At(where, i);
    ExpectObject(sets[i], p);
    KnownKeys(sets[i], p, {"name", "actions"});
    String(sets[i], "name", p);
    StringList(sets[i], "actions", p);
  }
}

// What the host could paste: an image of a size, or nothing (null).
void CheckClipboard(const Json& clipboard) {
  if (clipboard.is_null()) return;
  ExpectObject(clipboard, "clipboard");
  KnownKeys(clipboard, "clipboard", {"image"});
  const Json* image = Field(clipboard, "image");
  if (!image || image->is_null()) return;
  const bool sized = image->is_array() && image->size() == 2 &&
                     std::all_of(image->begin(), image->end(), [](const Json& n) {
                       return n.is_number_integer() && n.get<long long>() >= 1 && n.get<long long>() <= 30000;
                     });
  if (!sized) Fail("clipboard.image", "expected [width, height], each 1..30000, or null");
}

void CheckAnswers(const Json& answers) {
  const std::string p = "answers";
  ExpectObject(answers, p);
  KnownKeys(answers, p, {"messages", "hostDialogs", "files", "colors"});
  if (auto m = Field(answers, "messages")) {
    ExpectArray(*m, "answers.messages");
    for (size_t i = 0; i < m->size(); ++i) {
      const Json& a = (*m)[i];
      if (!(a.is_string() && (a == "OK" || a == "Cancel" || a == "Yes" || a == "No")))
        Fail(At("answers.messages", i), "expected one of \"OK\" \"Cancel\" \"Yes\" \"No\"");
    }
  }
  if (auto h = Field(answers, "hostDialogs")) {
    ExpectObject(*h, "answers.hostDialogs");
    for (auto& [event, a] : h->items())
      if (!(a.is_string() && (a == "ok" || a == "cancel")))
        Fail("answers.hostDialogs." + event, "expected \"ok\" or \"cancel\"");
  }
  if (auto f = Field(answers, "files")) {
    ExpectArray(*f, "answers.files");
    for (size_t i = 0; i < f->size(); ++i)
      if (!(*f)[i].is_string() && !(*f)[i].is_null()) Fail(At("answers.files", i), "expected a path or null");
  }
  if (auto c = Field(answers, "colors")) {
    ExpectArray(*c, "answers.colors");
    for (size_t i = 0; i < c->size(); ++i) {
      const Json& rgb = (*c)[i];
      if (rgb.is_null()) continue;
      bool ok = rgb.is_array() && rgb.size() == 3;
      for (size_t k = 0; ok && k < 3; ++k)
        ok = rgb[k].is_number_integer() && rgb[k].get<long long>() >= 0 && rgb[k].get<long long>() <= 255;
      if (!ok) Fail(At("answers.colors", i), "expected [red, green, blue] of 0..255, or null");
    }
  }
}

// FAULT: a suite operation (`suite` one of the suites' words and `call` a
// slot name) or an `event`, with `nth` and `error`.
void CheckFaults(const Json& faults, const std::string& p) {
  ExpectArray(faults, p);
  for (size_t i = 0; i < faults.size(); ++i) {
    const Json& f = faults[i];
    const std::string at = At(p, i);
    ExpectObject(f, at);
    KnownKeys(f, at, {"suite", "call", "event", "nth", "error"});
    const bool call = f.contains("suite") || f.contains("call");
    if (call == f.contains("event")) Fail(at, "expected \"suite\" and \"call\", or \"event\"");
    if (call) {
      OneOf(f, "suite", at, {"descriptor", "control", "reference", "list", "handle", "zstring", "property",
                             "uihooks", "colorspace", "javascript", "basic"});
      if (!f.contains("suite")) Fail(Sub(at, "suite"), "missing: expected the suite's word");
      if (!f.contains("call") || !f["call"].is_string() || f["call"].get<std::string>().empty())
        Fail(Sub(at, "call"), "expected the operation's slot name");
    } else if (!f["event"].is_string() || f["event"].get<std::string>().empty()) {
      Fail(Sub(at, "event"), "expected a four-character code or a string identifier");
    }
    Int(f, "nth", at, 1, 1ll << 40);
    Int(f, "error", at, -2147483648ll, 2147483647ll);
  }
}

// Steps: each has exactly one of these keys, plus the modifiers of its kind.
constexpr const char* kStepKinds[] = {"select", "event", "menu", "popup", "command", "key", "click",
                                      "dialog", "wait", "state", "screenshot", "edit", "faults"};

// The keys each kind of step takes besides its own.
struct StepKeys {
  std::string_view kind;
  std::initializer_list<std::string_view> keys;
};
const StepKeys kStepKeys[] = {
    {"select", {"select", "caller"}},
    {"event", {"event"}},
    {"menu", {"menu", "choose", "open"}},
    {"popup", {"popup", "choose", "keyboard"}},
    {"command", {"command"}},
    {"key", {"key", "repeat", "choose", "keyboard", "foreground"}},
    {"click", {"click", "x", "y", "double", "ctrl", "alt", "hover", "choose", "keyboard"}},
    {"dialog", {"dialog"}},
    {"wait", {"wait"}},
    {"state", {"state"}},
    {"screenshot", {"screenshot", "of"}},
    {"edit", {"edit"}},
    {"faults", {"faults"}},
};

void CheckChoose(const Json& step, const std::string& p) {
  auto c = Field(step, "choose");
  if (!c) return;
  if (c->is_number_integer() && c->get<long long>() >= 0 && c->get<long long>() <= 0xFFFF) return;
  if (c->is_array() && !c->empty()) {
    for (size_t i = 0; i < c->size(); ++i)
      if (!(*c)[i].is_string()) Fail(At(Sub(p, "choose"), i), "expected a menu label");
    return;
  }
  Fail(Sub(p, "choose"), "expected an item identifier 0..65535 or a list of labels");
}

void CheckDialogAction(const Json& a, const std::string& p) {
  ExpectObject(a, p);
  constexpr const char* kActions[] = {"set", "type", "pick", "check", "press", "key", "wait", "capture"};
  const char* kind = nullptr;
  for (const char* k : kActions)
    if (a.contains(k)) {
      if (kind) Fail(p, std::string("expected one action, found \"") + kind + "\" and \"" + k + "\"");
      kind = k;
    }
  if (!kind) Fail(p, "unknown dialog action");
  const std::string k = kind;
  if (k == "set") KnownKeys(a, p, {"set", "value", "hold", "click"});
  else if (k == "type") KnownKeys(a, p, {"type", "text"});
  else if (k == "pick") KnownKeys(a, p, {"pick", "index", "double"});
  else if (k == "check") KnownKeys(a, p, {"check", "on"});
  else if (k == "key") KnownKeys(a, p, {"key", "down"});
  else KnownKeys(a, p, {kind});
  if (k == "set") {
    Int(a, "set", p, 0, 0xFFFF);
    Int(a, "value", p, -100000, 100000);
    if (a.contains("hold")) Bool(a, "hold", p);
    if (a.contains("click")) Bool(a, "click", p);
  }
  else if (k == "type") { Int(a, "type", p, 0, 0xFFFF); String(a, "text", p); }
  else if (k == "pick") {
    Int(a, "pick", p, 0, 0xFFFF);
    Int(a, "index", p, -1, 100000);
    if (a.contains("double")) Bool(a, "double", p);
  }
  else if (k == "check") { Int(a, "check", p, 0, 0xFFFF); Bool(a, "on", p); }
  else if (k == "press") Int(a, "press", p, 0, 0xFFFF);
  else if (k == "key") { String(a, "key", p); Bool(a, "down", p); }
  else if (k == "wait") Int(a, "wait", p, 0, 60000);
  else if (k == "capture") Bool(a, "capture", p);
}

void CheckStep(const Json& step, const std::string& p) {
  ExpectObject(step, p);
  const char* kind = nullptr;
  for (const char* k : kStepKinds)
    if (step.contains(k)) {
      if (kind) Fail(p, std::string("expected one step, found \"") + kind + "\" and \"" + k + "\"");
      kind = k;
    }
  if (!kind) {
    std::string first = step.empty() ? std::string("(empty)") : step.begin().key();
    Fail(p, "unknown step \"" + first + "\"");
  }
  const std::string k = kind;
  for (const StepKeys& keys : kStepKeys)
    if (k == keys.kind) KnownKeys(step, p, keys.keys);
  auto nonEmptyString = [&](const char* key) {
    if (!step[key].is_string() || step[key].get<std::string>().empty()) Fail(Sub(p, key), "expected a non-empty string");
  };
  if (k == "select") {
    nonEmptyString("select");
    String(step, "caller", p);
  } else if (k == "event") {
    nonEmptyString("event");
  } else if (k == "menu") {
    nonEmptyString("menu");
    CheckChoose(step, p);
  } else if (k == "popup") {
    OneOf(step, "popup", p, {"layersAdjustment", "history", "layers"});
    CheckChoose(step, p);
    Bool(step, "keyboard", p);
  } else if (k == "command") {
    Int(step, "command", p, 0, 0xFFFFFFFFll);
  } else if (k == "key") {
    nonEmptyString("key");
    KeyChord chord;
    std::string why;
    if (!ParseKeyChord(step["key"].get<std::string>(), chord, why)) Fail(Sub(p, "key"), why);
    Int(step, "repeat", p, 1, 100);
    OneOf(step, "foreground", p, {"main", "other"});
    CheckChoose(step, p);
    Bool(step, "keyboard", p);
  } else if (k == "click") {
    OneOf(step, "click", p, {"layers", "controlBar", "toolbar"});
    for (const char* axis : {"x", "y"}) {
      if (!step.contains(axis)) Fail(Sub(p, axis), "missing: expected an integer -10000..10000");
      Int(step, axis, p, -10000, 10000);
    }
    for (const char* f : {"double", "ctrl", "alt", "hover", "keyboard"}) Bool(step, f, p);
    if (step.value("hover", false) == true && step.value("double", false) == true)
      Fail(Sub(p, "hover"), "a move only cannot be a double click");
    CheckChoose(step, p);
  } else if (k == "dialog") {
    ExpectArray(step["dialog"], Sub(p, "dialog"));
    for (size_t i = 0; i < step["dialog"].size(); ++i) CheckDialogAction(step["dialog"][i], At(Sub(p, "dialog"), i));
  } else if (k == "wait") {
    Int(step, "wait", p, 0, 600000);
  } else if (k == "state") {
    Bool(step, "state", p);
  } else if (k == "screenshot") {
    nonEmptyString("screenshot");
    if (step["screenshot"].get<std::string>().find_first_of("\\/:*?\"<>|") != std::string::npos)
      Fail(Sub(p, "screenshot"), "expected a plain file name");
  } else if (k == "edit") {
    ExpectObject(step["edit"], Sub(p, "edit"));
    KnownKeys(step["edit"], Sub(p, "edit"),
              {"selectDocument", "selectLayer", "selectLayers", "add", "selection", "closeDocument", "openDocument",
               "closeAllDocuments", "actionSets"});
    Bool(step["edit"], "closeAllDocuments", Sub(p, "edit"));
    if (auto d = Field(step["edit"], "openDocument")) CheckDocument(*d, Sub(Sub(p, "edit"), "openDocument"));
    if (auto a = Field(step["edit"], "actionSets")) CheckActionSets(*a, Sub(Sub(p, "edit"), "actionSets"));
  } else if (k == "faults") {
    CheckFaults(step["faults"], Sub(p, "faults"));
  }
}

}  // namespace

void ValidateScenario(const Json& s) {
  if (!s.is_object()) throw ScenarioError("(top level): expected an object");
  KnownKeys(s, "", {"host", "plugin", "files", "documents", "actionSets", "answers", "faults", "recordGets", "recordCalls", "steps",
                 "clipboard"});
  if (auto h = Field(s, "host")) CheckHost(*h);
  if (auto c = Field(s, "clipboard")) CheckClipboard(*c);
  if (auto pl = Field(s, "plugin")) CheckPlugin(*pl);
  if (auto f = Field(s, "files")) CheckFiles(*f);
  if (auto d = Field(s, "documents")) {
    ExpectArray(*d, "documents");
    for (size_t i = 0; i < d->size(); ++i) CheckDocument((*d)[i], At("documents", i));
  }
  if (auto a = Field(s, "actionSets")) CheckActionSets(*a);
  if (auto a = Field(s, "answers")) CheckAnswers(*a);
  Bool(s, "recordGets", "");
  Bool(s, "recordCalls", "");
  if (auto f = Field(s, "faults")) CheckFaults(*f, "faults");
  if (auto st = Field(s, "steps")) {
    ExpectArray(*st, "steps");
    for (size_t i = 0; i < st->size(); ++i) CheckStep((*st)[i], At("steps", i));
  }
}

Json LoadScenario(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw ScenarioError(Narrow(path) + ": cannot be read");
  std::string bytes;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(file, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(file);
  Json s;
  try {
    s = Json::parse(bytes);
  } catch (const std::exception& e) {
    throw ScenarioError("(file): not valid JSON: " + std::string(e.what()));
  }
  ValidateScenario(s);
  return s;
}

HostSettings ReadHostSettings(const Json& scenario) {
  HostSettings h;
  const Json host = scenario.value("host", Json::object());
  h.product = host.value("product", h.product);
  h.version = host.value("version", h.version);
  h.german = host.value("german", h.german);
  h.locale = h.german ? "de_de" : "en_us";
  if (auto it = host.find("locale"); it != host.end()) {
    h.hasLocale = !it->is_null();
    if (h.hasLocale) h.locale = it->get<std::string>();
  }
  if (auto it = host.find("dictionary"); it != host.end() && !it->is_null()) {
    h.hasDictionary = true;
    h.dictionary = *it;
  }
  h.dictionaryPlace = host.value("dictionaryPlace", h.dictionaryPlace);
  if (auto it = host.find("thumbnailSize"); it != host.end()) {
    h.hasThumbnailSize = !it->is_null();
    if (h.hasThumbnailSize) h.thumbnailSize = it->get<int>();
  }
  h.layersPanel = host.value("layersPanel", h.layersPanel);
  h.controlBarDecoy = host.value("controlBarDecoy", h.controlBarDecoy);
  h.toolbarWidth = host.value("toolbarWidth", h.toolbarWidth);
  h.windows = host.value("windows", h.windows);
  h.mainWindow = host.value("mainWindow", h.mainWindow);
  if (auto it = host.find("scripts"); it != host.end())
    for (auto& s : *it) h.scripts.push_back(s.get<std::string>());
  return h;
}

std::wstring HostExecutableName(const HostSettings& host) {
  return host.product == "Photoshop" ? L"Photoshop.exe" : L"PhotoshopElementsEditor.exe";
}

}  // namespace simapp
