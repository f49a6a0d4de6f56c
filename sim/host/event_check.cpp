// Reading the type notation of the event rules (event_rules.h) and matching
// descriptors against it.
#include <algorithm>
#include <vector>

#include "event_rules.h"

namespace sim {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Split(std::string_view s, std::string_view by) {
  std::vector<std::string_view> parts;
  for (;;) {
    size_t at = s.find(by);
    parts.push_back(s.substr(0, at));
    if (at == std::string_view::npos) return parts;
    s.remove_prefix(at + by.size());
  }
}

bool StartsWith(std::string_view s, std::string_view word) {
  return s.substr(0, word.size()) == word && (s.size() == word.size() || s[word.size()] == ' ');
}

TypeID Ident(std::string_view text) { return RuleIdentifier(text); }

bool InSet(std::string_view set, TypeID id) {
  if (Trim(set) == "*") return true;
  for (auto item : Split(set, ","))
    if (Ident(item) == id) return true;
  return false;
}

// Appended piece by piece: GCC 12 warns falsely on "`" + std::string&&.
std::string Quoted(TypeID id) {
  std::string text = "`";
  text += TextFromId(id);
  text += '`';
  return text;
}

// What a value is, in the words of an error text.
std::string Describe(const Value& v) {
  switch (v.type) {
    case host::kTypeBoolean: return "a Boolean";
    case host::kTypeInteger: return "an integer";
    case host::kTypeInteger64: return "a 64-bit integer";
    case host::kTypeFloat: return "a float";
    case host::kTypeUnitFloat: return "a unit value in " + Quoted(v.unit);
    case host::kTypeText: return "a text";
    case host::kTypeEnumerated: return "an enumeration " + Quoted(v.enumType) + " " + Quoted(v.enumValue);
    case host::kTypeObject: return "an object of class " + Quoted(v.cls);
    case host::kTypeGlobalObject: return "a global object of class " + Quoted(v.cls);
    case host::kTypeClass: case host::kTypeGlobalClass: return "the class " + Quoted(v.cls);
    case host::kTypeList: return "a list";
    case host::kTypeReference: return "a reference";
    case host::kTypeAlias: case host::kTypePath: return "a path";
    case host::kTypeRawData: return "raw data";
    default: return "an item of type " + Quoted(v.type);
  }
}

std::string DescribePart(const RefPart& p) {
  std::string cls = TextFromId(p.cls);
  switch (p.form) {
    case host::kFormEnumerated: return cls + " " + TextFromId(p.enumType) + "/" + TextFromId(p.enumValue);
    case host::kFormIndex: return cls + " by index";
    case host::kFormName: return cls + " by name";
    case host::kFormIdentifier: return cls + " by identifier";
    case host::kFormOffset: return cls + " by offset";
    case host::kFormClass: return cls;
    case host::kFormProperty: return cls + " property " + TextFromId(p.property);
    default: return cls + " of form " + TextFromId(p.form);
  }
}

std::string DescribeRef(const ReferenceData& r) {
  std::string text;
  for (const auto& p : r) text += (text.empty() ? "" : " > ") + DescribePart(p);
  return text.empty() ? "an empty reference" : "a reference to " + text;
}

bool PartFits(std::string_view shape, const RefPart& p) {
  size_t colon = shape.find(':');
  if (colon == std::string_view::npos) return false;
  std::string_view cls = Trim(shape.substr(0, colon)), form = Trim(shape.substr(colon + 1));
  if (cls != "*" && Ident(cls) != p.cls) return false;
  if (form == "index") return p.form == host::kFormIndex;
  if (form == "name") return p.form == host::kFormName;
  if (form == "id") return p.form == host::kFormIdentifier;
  if (form == "offset") return p.form == host::kFormOffset;
  if (form == "class") return p.form == host::kFormClass;
  if (StartsWith(form, "prop")) return p.form == host::kFormProperty && InSet(form.substr(4), p.property);
  size_t slash = form.find('/');
  if (slash == std::string_view::npos || p.form != host::kFormEnumerated) return false;
  return Ident(form.substr(0, slash)) == p.enumType && InSet(form.substr(slash + 1), p.enumValue);
}

bool RefFits(std::string_view shapes, const ReferenceData& r) {
  for (auto shape : Split(shapes, "|")) {
    auto parts = Split(shape, ">");
    if (parts.size() != r.size()) continue;
    bool all = true;
    for (size_t i = 0; all && i < parts.size(); ++i) all = PartFits(parts[i], r[i]);
    if (all) return true;
  }
  return false;
}

// Empty when the value is of the type; else what the host takes instead.
std::string ValueProblem(std::string_view type, std::span<const KeyRule> items, const Value& v,
                         Mismatch* inner) {
  type = Trim(type);
  auto expect = [&](bool ok, std::string want) { return ok ? std::string() : Describe(v) + " where the host takes " + want; };
  if (type == "bool") return expect(v.type == host::kTypeBoolean, "a Boolean");
  if (type == "int") return expect(v.type == host::kTypeInteger, "an integer");
  if (type == "float") return expect(v.type == host::kTypeFloat, "a float");
  if (type == "text") return expect(v.type == host::kTypeText, "a text");
  if (type == "alias") return expect(v.type == host::kTypeAlias || v.type == host::kTypePath, "a path");
  if (type == "data") return expect(v.type == host::kTypeRawData, "raw data");
  const size_t space = type.find(' ');
  const std::string_view word = type.substr(0, space);
  const std::string_view rest = space == std::string_view::npos ? std::string_view() : Trim(type.substr(space));
  if (word == "unit")
    return expect(v.type == host::kTypeUnitFloat && InSet(rest, v.unit), "a unit value in `" + std::string(rest) + "`");
  if (word == "enum") {
    const size_t eq = rest.find('=');
    const TypeID enumType = Ident(rest.substr(0, eq));
    std::string want = "an enumeration of type " + Quoted(enumType);
    if (v.type != host::kTypeEnumerated || v.enumType != enumType) return Describe(v) + " where the host takes " + want;
    if (eq != std::string_view::npos && !InSet(rest.substr(eq + 1), v.enumValue))
      return "the value " + Quoted(v.enumValue) + " of " + Quoted(enumType) + ", which the host does not take here";
    return {};
  }
  if (word == "class") {
    bool ok = (v.type == host::kTypeClass || v.type == host::kTypeGlobalClass) && InSet(rest, v.cls);
    return expect(ok, "a class of " + std::string(rest));
  }
  if (word == "object") {
    if (v.type != host::kTypeObject || !InSet(rest, v.cls))
      return Describe(v) + " where the host takes an object of class `" + std::string(rest) + "`";
    Mismatch m;
    int weight = 0;
    if (DescriptorFits(items, v.items, &m, &weight)) return {};
    *inner = m;
    return m.text;
  }
  if (word == "list" || word == "list0") {
    if (v.type != host::kTypeList) return Describe(v) + " where the host takes a list";
    if (rest.empty()) return {};
    if (v.list.empty() && word == "list") return "an empty list";
    for (size_t i = 0; i < v.list.size(); ++i) {
      std::string p = ValueProblem(rest, items, v.list[i], inner);
      if (!p.empty()) return "element " + std::to_string(i + 1) + " of the list: " + p;
    }
    return {};
  }
  if (word == "ref") {
    if (v.type != host::kTypeReference) return Describe(v) + " where the host takes a reference";
    if (RefFits(rest, v.ref)) return {};
    return DescribeRef(v.ref) + ", which the host does not take here";
  }
  return "the rule's type \"" + std::string(type) + "\" is not known";
}

std::string NotationProblem(std::string_view type, std::span<const KeyRule> items) {
  type = Trim(type);
  static constexpr std::string_view kPlain[] = {"bool", "int", "float", "text", "alias", "data"};
  if (std::find(std::begin(kPlain), std::end(kPlain), type) != std::end(kPlain)) return {};
  const size_t space = type.find(' ');
  const std::string_view word = type.substr(0, space);
  const std::string_view rest = space == std::string_view::npos ? std::string_view() : Trim(type.substr(space));
  if ((word == "unit" || word == "enum" || word == "class") && !rest.empty()) return {};
  if (word == "object" && !rest.empty()) return CheckRuleNotation(items);
  if (word == "list" || word == "list0") return rest.empty() ? std::string() : NotationProblem(rest, items);
  if (word == "ref" && !rest.empty()) {
    for (auto shape : Split(rest, "|"))
      for (auto part : Split(shape, ">")) {
        size_t colon = part.find(':');
        if (colon == std::string_view::npos || Trim(part.substr(0, colon)).empty())
          return "reference part \"" + std::string(part) + "\" has no class and form";
        std::string_view form = Trim(part.substr(colon + 1));
        static constexpr std::string_view kForms[] = {"index", "name", "id", "offset", "class"};
        if (std::find(std::begin(kForms), std::end(kForms), form) == std::end(kForms) &&
            !StartsWith(form, "prop") && form.find('/') == std::string_view::npos)
          return "reference part \"" + std::string(part) + "\" has an unknown form";
      }
    return {};
  }
  return "unknown type \"" + std::string(type) + "\"";
}

}  // namespace

// "Al" is the code `Al  `; longer names, and short ones after a "~"
// ("~box"), are string identifiers.
TypeID RuleIdentifier(std::string_view text) {
  std::string t(Trim(text));
  if (!t.empty() && t[0] == '~') return StringToId(t.substr(1));
  if (t.size() <= 4) t.resize(4, ' ');
  return IdFromText(t);
}

bool DescriptorFits(std::span<const KeyRule> keys, const DescriptorData& params, Mismatch* first, int* weight) {
  bool fits = true;
  auto fault = [&](std::string key, std::string text, int cost) {
    if (fits) *first = {std::move(key), std::move(text), cost == 3 ? err::kNoSuchKey : err::kWrongType};
    fits = false;
    *weight += cost;
  };
  for (const auto& entry : params) {
    auto rule = std::find_if(keys.begin(), keys.end(), [&](const KeyRule& k) { return Ident(k.key) == entry.key; });
    if (rule == keys.end()) {
      fault(TextFromId(entry.key), "a key the host does not take for this event", 1);
      continue;
    }
    Mismatch inner;
    std::string problem = ValueProblem(rule->type, rule->items, entry.value, &inner);
    if (problem.empty()) continue;
    // A wrong target weighs most: the row is likely for another kind of object.
    const int cost = entry.key == host::FourCC("null") ? 8 : 2;
    if (!inner.key.empty())
      fault(inner.key, "in `" + TextFromId(entry.key) + "`: " + problem, cost);
    else
      fault(TextFromId(entry.key), problem, cost);
  }
  for (const auto& rule : keys) {
    if (rule.optional || FindEntry(params, Ident(rule.key))) continue;
    fault(TextFromId(Ident(rule.key)), "missing: the host takes " + std::string(Trim(rule.type)) + " here", 3);
  }
  return fits;
}

std::string CheckRuleNotation(std::span<const KeyRule> keys) {
  for (const auto& k : keys) {
    if (Trim(k.key).empty()) return "a rule without a key";
    std::string p = NotationProblem(k.type, k.items);
    if (!p.empty()) return "key \"" + std::string(k.key) + "\": " + p;
  }
  return {};
}

namespace {
int (*VersionSource)() = nullptr;
}  // namespace

void SetHostVersionSource(int (*source)()) { VersionSource = source; }

int HostVersion() {
  if (VersionSource) return VersionSource();
  const Json& scenario = State().scenario;
  if (!scenario.contains("host") || !scenario["host"].is_object()) return 8;
  const Json& v = scenario["host"].value("version", Json(8));
  return v.is_number_integer() ? v.get<int>() : 8;
}

}  // namespace sim
