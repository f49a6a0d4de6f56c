// The contents of host objects: descriptor items, list elements and
// reference parts, kept as values so that a put copies and a get hands out a
// fresh object, as the host does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim_host.h"

namespace sim {

using host::TypeID;

struct Entry;

struct RefPart {
  TypeID cls = 0;
  TypeID form = 0;             // host::kForm...
  TypeID enumType = 0, enumValue = 0;
  TypeID property = 0;
  std::int64_t number = 0;     // index, offset or identifier
  std::string name;            // as the plug-in gave it (code page 1252)
};
using ReferenceData = std::vector<RefPart>;

// One item. `type` is the GetType answer; the fields used depend on it.
struct Value {
  TypeID type = 0;
  std::int64_t integer = 0;    // long, comp
  double number = 0;           // doub, UntF
  TypeID unit = 0;             // UntF
  TypeID enumType = 0;         // enum
  TypeID enumValue = 0;        // enum
  TypeID cls = 0;              // Objc, GlbO, type, GlbC
  bool flag = false;           // bool
  std::string text;            // TEXT (code page 1252), alis/Pth path, tdta bytes
  std::vector<Entry> items;    // Objc, GlbO
  std::vector<Value> list;     // VlLs
  ReferenceData ref;           // obj
};

struct Entry {
  TypeID key = 0;
  Value value;
};
using DescriptorData = std::vector<Entry>;
using ListData = std::vector<Value>;

// Value makers, for the model's answers.
Value IntValue(std::int64_t v);
Value FloatValue(double v);
Value UnitValue(TypeID unit, double v);
Value TextValue(std::string ansi);
Value BoolValue(bool v);
Value EnumValue(TypeID type, TypeID value);
Value ObjectValue(TypeID cls, DescriptorData items);
Value ListValue(ListData items);
Value RefValue(ReferenceData parts);
Value ClassValue(TypeID cls);
Value PathValue(std::string path);

// Puts an item, replacing one with the same key in its place.
void PutEntry(DescriptorData& d, TypeID key, Value v);
const Value* FindEntry(const DescriptorData& d, TypeID key);

// Transcript forms (DESC, VALUE, REF) and back.
Json DescriptorToJson(const DescriptorData& d);
Json ValueToJson(const Value& v);
Json ReferenceToJson(const ReferenceData& r);
DescriptorData DescriptorFromJson(const Json& j);   // throws on a malformed form
Value ValueFromJson(const Json& j);

// Text crossing between the plug-in (code page 1252) and JSON (UTF-8).
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

std::string HexBytes(std::string_view bytes);    // "hex:00ff"

}  // namespace sim
