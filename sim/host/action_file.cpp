#include "action_file.h"

#include <array>

namespace sim {
namespace {

// Descriptors nest (objects, lists, objects in lists); deeper than any file
// the host writes, and shallow enough that the reader's stack stays small.
constexpr int kMaxDepth = 32;

// Code page 1252's characters 0x80..0x9F; the rest of its upper half is
// Latin-1. Unassigned codes read as U+FFFD.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// UTF-16 code units to UTF-8, up to the first zero; a lone surrogate reads
// as U+FFFD, so that what comes out is always valid UTF-8.
std::string Utf16ToUtf8(const std::vector<char16_t>& units) {
  std::string out;
  for (size_t i = 0; i < units.size() && units[i] != 0; ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  for (const char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (b == 0) break;
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char32_t(b));
  }
  return out;
}

std::string CodeText(std::uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += char((code >> shift) & 0xFF);
  return Cp1252ToUtf8(text);
}

constexpr std::uint32_t Code(const char (&c)[5]) {
  return std::uint32_t(std::uint8_t(c[0])) << 24 | std::uint32_t(std::uint8_t(c[1])) << 16 |
         std::uint32_t(std::uint8_t(c[2])) << 8 | std::uint32_t(std::uint8_t(c[3]));
}

// The bytes still to read, and the first thing that did not read.
struct Cursor {
  std::string_view bytes;
  size_t at = 0;
  std::string error;

  size_t Left() const { return bytes.size() - at; }
  bool Fail(std::string why) {
    if (error.empty()) error = std::move(why) + " at byte " + std::to_string(at);
    return false;
  }
  bool Need(std::uint64_t n, const char* what) {
    return n <= Left() || Fail(std::string(what) + " runs past the end of the file");
  }
  bool Bytes(std::uint64_t n, std::string_view* out, const char* what) {
    if (!Need(n, what)) return false;
    *out = bytes.substr(at, size_t(n));
    at += size_t(n);
    return true;
  }
  bool U8(std::uint8_t* out, const char* what) {
    if (!Need(1, what)) return false;
    *out = std::uint8_t(bytes[at++]);
    return true;
  }
  bool U16(std::uint16_t* out, const char* what) {
    std::string_view b;
    if (!Bytes(2, &b, what)) return false;
    *out = std::uint16_t(std::uint8_t(b[0]) << 8 | std::uint8_t(b[1]));
    return true;
  }
  bool U32(std::uint32_t* out, const char* what) {
    std::string_view b;
    if (!Bytes(4, &b, what)) return false;
    *out = std::uint32_t(std::uint8_t(b[0])) << 24 | std::uint32_t(std::uint8_t(b[1])) << 16 |
           std::uint32_t(std::uint8_t(b[2])) << 8 | std::uint32_t(std::uint8_t(b[3]));
    return true;
  }
  bool Skip(std::uint64_t n, const char* what) {
    std::string_view ignored;
    return Bytes(n, &ignored, what);
  }
  // A UTF-16 big-endian text with its length in code units before it.
  bool Unicode(std::string* out, const char* what) {
    std::uint32_t count = 0;
    std::string_view b;
    if (!U32(&count, what) || !Bytes(std::uint64_t(count) * 2, &b, what)) return false;
    std::vector<char16_t> units(count);
    for (size_t i = 0; i < count; ++i)
      units[i] = char16_t(std::uint8_t(b[2 * i]) << 8 | std::uint8_t(b[2 * i + 1]));
    *out = Utf16ToUtf8(units);
    return true;
  }
  // An 8-bit text with its length before it.
  bool Narrow(std::string* out, const char* what) {
    std::uint32_t length = 0;
    std::string_view b;
    if (!U32(&length, what) || !Bytes(length, &b, what)) return false;
    *out = Cp1252ToUtf8(b);
    return true;
  }
  // A key, class or enumeration: a string identifier, or a code after a
  // length of 0.
  bool Identifier(std::string* out, const char* what) {
    std::uint32_t length = 0;
    if (!U32(&length, what)) return false;
    if (length == 0) {
      std::uint32_t code = 0;
      if (!U32(&code, what)) return false;
      *out = CodeText(code);
      return true;
    }
    std::string_view b;
    if (!Bytes(length, &b, what)) return false;
    *out = Cp1252ToUtf8(b);
    return true;
  }
  bool Class(const char* what) {
    std::string name, id;
    return Unicode(&name, what) && Identifier(&id, what);
  }
};

bool SkipDescriptorItems(Cursor& c, int depth);
bool SkipValue(Cursor& c, std::uint32_t type, int depth);

// A path item in the form the host writes on Windows: "txtu", the record's
// length again (little-endian), the count of UTF-16 little-endian code
// units that follow, the terminating zero among them.
bool PathRecord(Cursor& c, std::string* out) {
  std::uint32_t length = 0;
  std::string_view record;
  if (!c.U32(&length, "a path") || !c.Bytes(length, &record, "a path")) return false;
  auto le32 = [&](size_t at) {
    return std::uint32_t(std::uint8_t(record[at])) | std::uint32_t(std::uint8_t(record[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(record[at + 2])) << 16 | std::uint32_t(std::uint8_t(record[at + 3])) << 24;
  };
  if (record.size() < 12 || record.substr(0, 4) != "txtu") return c.Fail("a path record not in the \"txtu\" form");
  const std::uint32_t again = le32(4), count = le32(8);
  if (again != length) return c.Fail("a path record whose two lengths differ");
  if (count == 0 || std::uint64_t(count) * 2 + 12 != length)
    return c.Fail("a path record whose character count does not fit its length");
  std::vector<char16_t> units(count);
  for (size_t i = 0; i < count; ++i)
    units[i] = char16_t(std::uint8_t(record[12 + 2 * i]) | std::uint8_t(record[13 + 2 * i]) << 8);
  if (units.back() != 0) return c.Fail("a path without its terminating zero");
  *out = Utf16ToUtf8(units);
  return true;
}

bool SkipReference(Cursor& c) {
  std::uint32_t count = 0;
  if (!c.U32(&count, "a reference")) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t form = 0;
    std::string id;
    if (!c.U32(&form, "a reference part")) return false;
    switch (form) {
      case Code("prop"):
        if (!c.Class("a property part") || !c.Identifier(&id, "a property part")) return false;
        break;
      case Code("Clss"):
        if (!c.Class("a class part")) return false;
        break;
      case Code("Enmr"):
        if (!c.Class("an enumerated part") || !c.Identifier(&id, "an enumerated part") ||
            !c.Identifier(&id, "an enumerated part"))
          return false;
        break;
      case Code("rele"):
      case Code("Idnt"):
      case Code("indx"):
        if (!c.Class("a reference part") || !c.Skip(4, "a reference part")) return false;
        break;
      case Code("name"):
        if (!c.Class("a name part") || !c.Unicode(&id, "a name part")) return false;
        break;
      default: return c.Fail("a reference form the host does not read (\"" + CodeText(form) + "\")");
    }
  }
  return true;
}

bool SkipValue(Cursor& c, std::uint32_t type, int depth) {
  if (depth > kMaxDepth) return c.Fail("descriptors nested too deep");
  std::string text;
  std::uint32_t length = 0;
  switch (type) {
    case Code("TEXT"): return c.Unicode(&text, "a text");
    case Code("long"): return c.Skip(4, "an integer");
    case Code("comp"): return c.Skip(8, "a 64-bit integer");
    case Code("doub"): return c.Skip(8, "a float");
    case Code("UntF"): return c.Skip(12, "a unit value");
    case Code("bool"): return c.Skip(1, "a boolean");
    case Code("enum"): return c.Identifier(&text, "an enumeration") && c.Identifier(&text, "an enumeration");
    case Code("type"):
    case Code("GlbC"): return c.Class("a class");
    case Code("Objc"):
    case Code("GlbO"): return c.Class("an object") && SkipDescriptorItems(c, depth + 1);
    case Code("VlLs"): {
      if (!c.U32(&length, "a list")) return false;
      for (std::uint32_t i = 0; i < length; ++i) {
        std::uint32_t itemType = 0;
        if (!c.U32(&itemType, "a list element") || !SkipValue(c, itemType, depth + 1)) return false;
      }
      return true;
    }
    case Code("obj "): return SkipReference(c);
    case Code("alis"):
    case Code("Pth "):
    case Code("tdta"): return c.U32(&length, "raw data") && c.Skip(length, "raw data");
    default: return c.Fail("an item type the host does not read (\"" + CodeText(type) + "\")");
  }
}

bool SkipDescriptorItems(Cursor& c, int depth) {
  std::uint32_t count = 0;
  if (!c.U32(&count, "an item count")) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string key;
    std::uint32_t type = 0;
    if (!c.Identifier(&key, "an item key") || !c.U32(&type, "an item type") || !SkipValue(c, type, depth))
      return false;
  }
  return true;
}

// A step's descriptor: the script path and message of a script step are
// kept, every other item is read past.
bool StepDescriptor(Cursor& c, ActionFileStep* step) {
  if (!c.Class("a step's descriptor")) return false;
  std::uint32_t count = 0;
  if (!c.U32(&count, "a step's item count")) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string key;
    std::uint32_t type = 0;
    if (!c.Identifier(&key, "an item key") || !c.U32(&type, "an item type")) return false;
    if (key == "jsCt" && type == Code("Pth ")) {
      if (!PathRecord(c, &step->script)) return false;
    } else if (key == "jsMs" && type == Code("TEXT")) {
      if (!c.Unicode(&step->message, "a text")) return false;
    } else if (!SkipValue(c, type, 1)) {
      return false;
    }
  }
  return true;
}

bool Step(Cursor& c, ActionFileStep* step) {
  std::uint8_t expanded = 0, enabled = 0, withDialog = 0, dialogOptions = 0;
  if (!c.U8(&expanded, "a step") || !c.U8(&enabled, "a step") || !c.U8(&withDialog, "a step") ||
      !c.U8(&dialogOptions, "a step"))
    return false;
  step->enabled = enabled != 0;
  step->withDialog = withDialog != 0;
  std::uint32_t form = 0;
  if (!c.U32(&form, "a step's event")) return false;
  if (form == Code("TEXT")) {
    if (!c.Narrow(&step->event, "a step's event")) return false;
  } else if (form == Code("long")) {
    std::uint32_t code = 0;
    if (!c.U32(&code, "a step's event")) return false;
    step->event = CodeText(code);
  } else {
    return c.Fail("an event form the host does not read (\"" + CodeText(form) + "\")");
  }
  if (!c.Narrow(&step->displayName, "a step's display name")) return false;
  std::uint32_t present = 0;
  if (!c.U32(&present, "a step's descriptor")) return false;
  if (present == 0) return true;
  if (present != 0xFFFFFFFFu) return c.Fail("a step's descriptor mark that is neither 0 nor -1");
  return StepDescriptor(c, step);
}

bool Action(Cursor& c, ActionFileAction* action) {
  std::uint16_t functionKey = 0, colour = 0;
  std::uint8_t shift = 0, command = 0, expanded = 0;
  std::uint32_t steps = 0;
  if (!c.U16(&functionKey, "an action") || !c.U8(&shift, "an action") || !c.U8(&command, "an action") ||
      !c.U16(&colour, "an action") || !c.Unicode(&action->name, "an action's name") ||
      !c.U8(&expanded, "an action") || !c.U32(&steps, "an action's step count"))
    return false;
  for (std::uint32_t i = 0; i < steps; ++i) {
    ActionFileStep step;
    if (!Step(c, &step)) return false;
    action->steps.push_back(std::move(step));
  }
  return true;
}

}  // namespace

std::optional<ActionFileSet> ReadActionFile(std::string_view bytes, std::string* error) {
  Cursor c{bytes, 0, {}};
  ActionFileSet set;
  std::uint32_t version = 0, actions = 0;
  std::uint8_t expanded = 0;
  bool read = c.U32(&version, "the file version");
  if (read && version != kActionFileVersion) read = c.Fail("file version " + std::to_string(version) + ", not 16");
  read = read && c.Unicode(&set.name, "the set's name") && c.U8(&expanded, "the set") &&
         c.U32(&actions, "the action count");
  for (std::uint32_t i = 0; read && i < actions; ++i) {
    ActionFileAction action;
    read = Action(c, &action);
    if (read) set.actions.push_back(std::move(action));
  }
  if (read && c.Left() != 0) read = c.Fail(std::to_string(c.Left()) + " bytes after the action set");
  if (!read) {
    if (error) *error = c.error;
    return std::nullopt;
  }
  return set;
}

}  // namespace sim
