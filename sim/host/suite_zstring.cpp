// The ZString suite (version 1): reference-counted host strings. Texts are
// kept in the plug-in's code page 1252.
#include <cstdio>

#include "host_suites.h"
#include "suite_helpers.h"

#include "suite_slots.h"

#define SLOT(fn) QB_SLOT("zstring", fn)
#define SLOT_VALUE(fn) QB_VALUE_SLOT("zstring", fn)

namespace sim {
namespace {

using host::ASBoolean;
using host::ASErr;
using host::ZString;

template <class F>
ASErr On(const char* call, ZString z, F&& body) {
  return Guard<ASErr>(call, err::kBadParameter, [&]() -> ASErr {
    ZStringData* data = FindZString(z);
    if (!data) return Misuse(call, "unknown zstring", err::kBadParameter);
    return body(*data);
  });
}

ASErr Make(const char* call, std::string text, ZString* out) {
  return Guard<ASErr>(call, err::kNoMemory, [&]() -> ASErr {
    if (!out) return Misuse(call, "null out pointer", err::kBadParameter);
    *out = NewZString(std::move(text));
    return host::kNoError;
  });
}

std::string FromUnicode(const host::ASUnicode* src, size_t count) {
  std::wstring wide(reinterpret_cast<const wchar_t*>(src), count);
  int n = WideCharToMultiByte(1252, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(1252, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring ToUnicode(const std::string& text) {
  int n = MultiByteToWideChar(1252, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(1252, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

ASErr MakeFromUnicode(host::ASUnicode* src, std::size_t count, ZString* out) {
  if (!src && count > 0) return Misuse("ZString.MakeFromUnicode", "null text", err::kBadParameter);
  size_t n = 0;
  while (n < count && src[n] != 0) ++n;
  return Make("ZString.MakeFromUnicode", n ? FromUnicode(src, n) : std::string(), out);
}
ASErr MakeFromCString(const char* src, std::size_t byteCount, ZString* out) {
  if (!src && byteCount > 0) return Misuse("ZString.MakeFromCString", "null text", err::kBadParameter);
  return Make("ZString.MakeFromCString", src ? std::string(src, strnlen(src, byteCount)) : std::string(), out);
}
ASErr MakeFromPascalString(const std::uint8_t* src, std::size_t byteCount, ZString* out) {
  if (!src) return Misuse("ZString.MakeFromPascalString", "null text", err::kBadParameter);
  size_t n = byteCount > 0 ? std::min<size_t>(src[0], byteCount - 1) : 0;
  return Make("ZString.MakeFromPascalString", std::string(reinterpret_cast<const char*>(src + 1), n), out);
}
ASErr MakeRomanizationOfInteger(std::int32_t value, ZString* out) {
  return Make("ZString.MakeRomanizationOfInteger", std::to_string(value), out);
}
ASErr MakeRomanizationOfFixed(std::int32_t value, std::int16_t places, ASBoolean trim, ASBoolean isSigned,
                              ZString* out) {
  double v = isSigned ? double(value) / 65536.0 : double(std::uint32_t(value)) / 65536.0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", int(std::max<std::int16_t>(places, 0)), v);
  std::string text = buffer;
  if (trim && text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return Make("ZString.MakeRomanizationOfFixed", text, out);
}
ASErr MakeRomanizationOfDouble(double value, ZString* out) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return Make("ZString.MakeRomanizationOfDouble", buffer, out);
}
ZString GetEmpty() { return EmptyZStringToken(); }
ASErr Copy(ZString src, ZString* out) {
  return On("ZString.Copy", src, [&](ZStringData& data) { return Make("ZString.Copy", data.text, out); });
}

// "^0", "^1" ... are the places a replacement goes.
std::string Placeholder(std::uint32_t index) {
  std::string mark(1, '^');
  mark += std::to_string(index);
  return mark;
}

ASErr Replace(ZString z, std::uint32_t index, ZString replacement) {
  return On("ZString.Replace", z, [&](ZStringData& data) -> ASErr {
    if (z == EmptyZStringToken()) return Misuse("ZString.Replace", "the shared empty string", err::kBadParameter);
    ZStringData* with = FindZString(replacement);
    if (!with) return Misuse("ZString.Replace", "unknown zstring", err::kBadParameter);
    const std::string mark = Placeholder(index);
    for (size_t at = data.text.find(mark); at != std::string::npos; at = data.text.find(mark, at + with->text.size()))
      data.text.replace(at, mark.size(), with->text);
    return host::kNoError;
  });
}
ASErr TrimEllipsis(ZString z) {
  return On("ZString.TrimEllipsis", z, [&](ZStringData& data) {
    std::string& t = data.text;
    if (t.size() >= 3 && t.compare(t.size() - 3, 3, "...") == 0) t.resize(t.size() - 3);
    else if (!t.empty() && t.back() == '\x85') t.pop_back();   // the ellipsis of code page 1252
    return host::kNoError;
  });
}
ASErr TrimSpaces(ZString z) {
  return On("ZString.TrimSpaces", z, [&](ZStringData& data) {
    std::string& t = data.text;
    size_t first = t.find_first_not_of(" \t\r\n");
    size_t last = t.find_last_not_of(" \t\r\n");
    t = first == std::string::npos ? std::string() : t.substr(first, last - first + 1);
    return host::kNoError;
  });
}
ASErr RemoveAccelerators(ZString z) {
  return On("ZString.RemoveAccelerators", z, [&](ZStringData& data) {
    std::string out;
    const std::string& t = data.text;
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] == '&') {
        if (i + 1 < t.size() && t[i + 1] == '&') out += t[++i];
        continue;
      }
      out += t[i];
    }
    data.text = out;
    return host::kNoError;
  });
}
ASErr AddRef(ZString z) {
  return On("ZString.AddRef", z, [&](ZStringData& data) {
    if (z != EmptyZStringToken()) ++data.refs;
    return host::kNoError;
  });
}
ASErr Release(ZString z) {
  return On("ZString.Release", z, [&](ZStringData& data) {
    if (z != EmptyZStringToken() && --data.refs <= 0) State().zstrings.Remove(z);
    return host::kNoError;
  });
}

// The ASBoolean and length operations answer false / 0 for an unknown string.
template <class R, class F>
R Query(const char* call, ZString z, F&& body) {
  return Guard<R>(call, R(0), [&]() -> R {
    ZStringData* data = FindZString(z);
    if (!data) return Misuse(call, "unknown zstring", R(0));
    return body(*data);
  });
}
ASBoolean IsAllWhiteSpace(ZString z) {
  return Query<ASBoolean>("ZString.IsAllWhiteSpace", z, [](ZStringData& d) -> ASBoolean {
    return d.text.find_first_not_of(" \t\r\n") == std::string::npos;
  });
}
ASBoolean IsEmpty(ZString z) {
  return Query<ASBoolean>("ZString.IsEmpty", z, [](ZStringData& d) -> ASBoolean { return d.text.empty(); });
}
ASBoolean WillReplace(ZString z, std::uint32_t index) {
  return Query<ASBoolean>("ZString.WillReplace", z, [&](ZStringData& d) -> ASBoolean {
    return d.text.find(Placeholder(index)) != std::string::npos;
  });
}
std::uint32_t LengthAsUnicodeCString(ZString z) {
  return Query<std::uint32_t>("ZString.LengthAsUnicodeCString", z,
                              [](ZStringData& d) { return std::uint32_t(ToUnicode(d.text).size() + 1); });
}
ASErr AsUnicodeCString(ZString z, host::ASUnicode* buffer, std::uint32_t size, ASBoolean checkSize) {
  return On("ZString.AsUnicodeCString", z, [&](ZStringData& data) -> ASErr {
    if (!buffer || size == 0) return Misuse("ZString.AsUnicodeCString", "no buffer", err::kBadParameter);
    std::wstring wide = ToUnicode(data.text);
    if (checkSize && wide.size() + 1 > size) return err::kBadParameter;
    size_t n = std::min<size_t>(wide.size(), size - 1);
    for (size_t i = 0; i < n; ++i) buffer[i] = host::ASUnicode(wide[i]);
    buffer[n] = 0;
    return host::kNoError;
  });
}
std::uint32_t LengthAsCString(ZString z) {
  return Query<std::uint32_t>("ZString.LengthAsCString", z,
                              [](ZStringData& d) { return std::uint32_t(d.text.size() + 1); });
}
ASErr AsCString(ZString z, char* buffer, std::uint32_t size, ASBoolean checkSize) {
  return On("ZString.AsCString", z, [&](ZStringData& data) -> ASErr {
    if (!buffer || size == 0) return Misuse("ZString.AsCString", "no buffer", err::kBadParameter);
    if (checkSize && data.text.size() + 1 > size) return err::kBadParameter;
    CopyText(data.text, buffer, size);
    return host::kNoError;
  });
}
std::uint32_t LengthAsPascalString(ZString z) {
  return Query<std::uint32_t>("ZString.LengthAsPascalString", z,
                              [](ZStringData& d) { return std::uint32_t(std::min<size_t>(d.text.size(), 255) + 1); });
}
ASErr AsPascalString(ZString z, char* buffer, std::uint32_t size, ASBoolean checkSize) {
  return On("ZString.AsPascalString", z, [&](ZStringData& data) -> ASErr {
    if (!buffer || size == 0) return Misuse("ZString.AsPascalString", "no buffer", err::kBadParameter);
    size_t length = std::min<size_t>(data.text.size(), 255);
    if (checkSize && length + 1 > size) return err::kBadParameter;
    size_t n = std::min<size_t>(length, size - 1);
    buffer[0] = char(n);
    std::memcpy(buffer + 1, data.text.data(), n);
    return host::kNoError;
  });
}

const host::ZStringSuite kSuite = {
    SLOT(MakeFromUnicode),  SLOT(MakeFromCString),   SLOT(MakeFromPascalString), SLOT(MakeRomanizationOfInteger),
    SLOT(MakeRomanizationOfFixed), SLOT(MakeRomanizationOfDouble), SLOT(GetEmpty), SLOT(Copy),
    SLOT(Replace),          SLOT(TrimEllipsis),      SLOT(TrimSpaces),           SLOT(RemoveAccelerators),
    SLOT(AddRef),           SLOT(Release),           SLOT_VALUE(IsAllWhiteSpace),      SLOT_VALUE(IsEmpty),
    SLOT_VALUE(WillReplace),      SLOT_VALUE(LengthAsUnicodeCString), SLOT(AsUnicodeCString), SLOT_VALUE(LengthAsCString),
    SLOT(AsCString),        SLOT_VALUE(LengthAsPascalString), SLOT(AsPascalString),
};

}  // namespace

// Only version 1: version 2 reuses slots for other operations.
const void* ZStringSuiteTable(std::int32_t version) { return version == 1 ? &kSuite : nullptr; }

}  // namespace sim
