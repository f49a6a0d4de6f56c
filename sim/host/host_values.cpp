#include "host_values.h"

#include <stdexcept>

namespace sim {

Value IntValue(std::int64_t v) {
  Value x;
  x.type = host::kTypeInteger;
  x.integer = v;
  return x;
}
Value FloatValue(double v) {
  Value x;
  x.type = host::kTypeFloat;
  x.number = v;
  return x;
}
Value UnitValue(TypeID unit, double v) {
  Value x;
  x.type = host::kTypeUnitFloat;
  x.unit = unit;
  x.number = v;
  return x;
}
Value TextValue(std::string ansi) {
  Value x;
  x.type = host::kTypeText;
  x.text = std::move(ansi);
  return x;
}
Value BoolValue(bool v) {
  Value x;
  x.type = host::kTypeBoolean;
  x.flag = v;
  return x;
}
Value EnumValue(TypeID type, TypeID value) {
  Value x;
  x.type = host::kTypeEnumerated;
  x.enumType = type;
  x.enumValue = value;
  return x;
}
Value ObjectValue(TypeID cls, DescriptorData items) {
  Value x;
  x.type = host::kTypeObject;
  x.cls = cls;
  x.items = std::move(items);
  return x;
}
Value ListValue(ListData items) {
  Value x;
  x.type = host::kTypeList;
  x.list = std::move(items);
  return x;
}
Value RefValue(ReferenceData parts) {
  Value x;
  x.type = host::kTypeReference;
  x.ref = std::move(parts);
  return x;
}
Value ClassValue(TypeID cls) {
  Value x;
  x.type = host::kTypeClass;
  x.cls = cls;
  return x;
}
Value PathValue(std::string path) {
  Value x;
  x.type = host::kTypePath;
  x.text = std::move(path);
  return x;
}

void PutEntry(DescriptorData& d, TypeID key, Value v) {
  for (auto& e : d) {
    if (e.key == key) {
      e.value = std::move(v);
      return;
    }
  }
  d.push_back(Entry{key, std::move(v)});
}

const Value* FindEntry(const DescriptorData& d, TypeID key) {
  for (const auto& e : d)
    if (e.key == key) return &e.value;
  return nullptr;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(1252, 0, ansi.data(), int(ansi.size()), nullptr, 0);
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(1252, 0, ansi.data(), int(ansi.size()), wide.data(), n);
  int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
  int m = WideCharToMultiByte(1252, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(m), '\0');
  WideCharToMultiByte(1252, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

std::string HexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "hex:";
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

static std::string BytesFromHex(const std::string& text) {
  if (text.rfind("hex:", 0) != 0) return text;
  std::string out;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::invalid_argument("bad hex digit");
  };
  for (size_t i = 4; i + 1 < text.size(); i += 2)
    out += char(digit(text[i]) * 16 + digit(text[i + 1]));
  return out;
}

Json DescriptorToJson(const DescriptorData& d) {
  Json out = Json::array();
  for (const auto& e : d) out.push_back(Json::array({TextFromId(e.key), ValueToJson(e.value)}));
  return out;
}

Json ValueToJson(const Value& v) {
  Json j = Json::object();
  switch (v.type) {
    case host::kTypeInteger:
    case host::kTypeInteger64: j["int"] = v.integer; break;
    case host::kTypeFloat: j["float"] = v.number; break;
    case host::kTypeUnitFloat:
      j["unit"] = TextFromId(v.unit);
      j["value"] = v.number;
      break;
    case host::kTypeText: j["string"] = AnsiToUtf8(v.text); break;
    case host::kTypeBoolean: j["bool"] = v.flag; break;
    case host::kTypeEnumerated:
      j["enum"] = Json::array({TextFromId(v.enumType), TextFromId(v.enumValue)});
      break;
    case host::kTypeObject:
      j["object"] = TextFromId(v.cls);
      j["items"] = DescriptorToJson(v.items);
      break;
    case host::kTypeGlobalObject:
      j["globalObject"] = TextFromId(v.cls);
      j["items"] = DescriptorToJson(v.items);
      break;
    case host::kTypeClass:
    case host::kTypeGlobalClass: j["class"] = TextFromId(v.cls); break;
    case host::kTypeAlias:
    case host::kTypePath: j["alias"] = AnsiToUtf8(v.text); break;
    case host::kTypeRawData: j["data"] = HexBytes(v.text); break;
    case host::kTypeList: {
      Json items = Json::array();
      for (const auto& x : v.list) items.push_back(ValueToJson(x));
      j["list"] = std::move(items);
      break;
    }
    case host::kTypeReference: j["ref"] = ReferenceToJson(v.ref); break;
    default: j["unknown"] = TextFromId(v.type); break;
  }
  return j;
}

Json ReferenceToJson(const ReferenceData& r) {
  Json out = Json::array();
  for (const auto& p : r) {
    Json part = Json::object();
    part["class"] = TextFromId(p.cls);
    switch (p.form) {
      case host::kFormEnumerated:
        part["enum"] = Json::array({TextFromId(p.enumType), TextFromId(p.enumValue)});
        break;
      case host::kFormIndex: part["index"] = p.number; break;
      case host::kFormName: part["name"] = AnsiToUtf8(p.name); break;
      case host::kFormOffset: part["offset"] = p.number; break;
      case host::kFormIdentifier: part["identifier"] = p.number; break;
      case host::kFormProperty: part["property"] = TextFromId(p.property); break;
      default: break;  // class form: the class alone
    }
    out.push_back(std::move(part));
  }
  return out;
}

static ReferenceData ReferenceFromJson(const Json& j) {
  ReferenceData r;
  for (const auto& part : j) {
    RefPart p;
    p.cls = IdFromText(part.at("class").get<std::string>());
    p.form = host::kFormClass;
    if (part.contains("enum")) {
      p.form = host::kFormEnumerated;
      p.enumType = IdFromText(part["enum"].at(0).get<std::string>());
      p.enumValue = IdFromText(part["enum"].at(1).get<std::string>());
    } else if (part.contains("index")) {
      p.form = host::kFormIndex;
      p.number = part["index"].get<std::int64_t>();
    } else if (part.contains("name")) {
      p.form = host::kFormName;
      p.name = Utf8ToAnsi(part["name"].get<std::string>());
    } else if (part.contains("offset")) {
      p.form = host::kFormOffset;
      p.number = part["offset"].get<std::int64_t>();
    } else if (part.contains("identifier")) {
      p.form = host::kFormIdentifier;
      p.number = part["identifier"].get<std::int64_t>();
    } else if (part.contains("property")) {
      p.form = host::kFormProperty;
      p.property = IdFromText(part["property"].get<std::string>());
    }
    r.push_back(std::move(p));
  }
  return r;
}

Value ValueFromJson(const Json& j) {
  if (!j.is_object()) throw std::invalid_argument("a value must be an object");
  auto text = [&](const char* k) { return j.at(k).get<std::string>(); };
  if (j.contains("int")) return IntValue(j["int"].get<std::int64_t>());
  if (j.contains("float")) return FloatValue(j["float"].get<double>());
  if (j.contains("unit")) return UnitValue(IdFromText(text("unit")), j.at("value").get<double>());
  if (j.contains("string")) return TextValue(Utf8ToAnsi(text("string")));
  if (j.contains("bool")) return BoolValue(j["bool"].get<bool>());
  if (j.contains("enum"))
    return EnumValue(IdFromText(j["enum"].at(0).get<std::string>()),
                     IdFromText(j["enum"].at(1).get<std::string>()));
  if (j.contains("object")) return ObjectValue(IdFromText(text("object")), DescriptorFromJson(j.at("items")));
  if (j.contains("globalObject")) {
    Value v = ObjectValue(IdFromText(text("globalObject")), DescriptorFromJson(j.at("items")));
    v.type = host::kTypeGlobalObject;
    return v;
  }
  if (j.contains("class")) return ClassValue(IdFromText(text("class")));
  if (j.contains("alias")) {
    Value v = PathValue(Utf8ToAnsi(text("alias")));
    v.type = host::kTypeAlias;
    return v;
  }
  if (j.contains("data")) {
    Value v;
    v.type = host::kTypeRawData;
    v.text = BytesFromHex(text("data"));
    return v;
  }
  if (j.contains("list")) {
    ListData items;
    for (const auto& x : j["list"]) items.push_back(ValueFromJson(x));
    return ListValue(std::move(items));
  }
  if (j.contains("ref")) return RefValue(ReferenceFromJson(j["ref"]));
  throw std::invalid_argument("unknown value form");
}

DescriptorData DescriptorFromJson(const Json& j) {
  if (!j.is_array()) throw std::invalid_argument("a descriptor must be a list of pairs");
  DescriptorData d;
  for (const auto& pair : j) {
    if (!pair.is_array() || pair.size() != 2) throw std::invalid_argument("a descriptor item must be a pair");
    PutEntry(d, IdFromText(pair[0].get<std::string>()), ValueFromJson(pair[1]));
  }
  return d;
}

}  // namespace sim
