#include "psd_reader.h"

#include <cstdint>
#include <optional>

namespace sim {
namespace {

// A cursor over bytes that never reads past them: every read past the end
// fails the cursor and gives zeros from then on.
class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  bool ok() const { return ok_; }
  std::size_t position() const { return at_; }
  std::size_t left() const { return ok_ ? data_.size() - at_ : 0; }

  bool Skip(std::uint64_t n) {
    if (!ok_ || n > data_.size() - at_) return Fail();
    at_ += std::size_t(n);
    return true;
  }
  std::string_view Take(std::uint64_t n) {
    const std::size_t from = at_;
    return Skip(n) ? data_.substr(from, std::size_t(n)) : std::string_view();
  }
  std::uint32_t U32() {
    const std::string_view b = Take(4);
    if (b.size() != 4) return 0;
    return std::uint32_t(std::uint8_t(b[0])) << 24 | std::uint32_t(std::uint8_t(b[1])) << 16 |
           std::uint32_t(std::uint8_t(b[2])) << 8 | std::uint32_t(std::uint8_t(b[3]));
  }
  std::uint16_t U16() {
    const std::string_view b = Take(2);
    if (b.size() != 2) return 0;
    return std::uint16_t(std::uint8_t(b[0]) << 8 | std::uint8_t(b[1]));
  }
  std::uint8_t U8() {
    const std::string_view b = Take(1);
    return b.size() == 1 ? std::uint8_t(b[0]) : 0;
  }
  // A section of `length` bytes as a cursor of its own; this one moves past it.
  Bytes Section(std::uint64_t length) {
    const std::string_view inner = Take(length);
    Bytes section(inner);
    if (!ok_) section.Fail();
    return section;
  }
  bool Fail() {
    ok_ = false;
    return false;
  }

 private:
  std::string_view data_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | c >> 6);
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | c >> 12);
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | c >> 18);
    out += char(0x80 | (c >> 12 & 0x3F));
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// A text of UTF-16 units (big-endian) as UTF-8, without its trailing zeros;
// an unpaired surrogate reads as U+FFFD.
std::string Utf16ToUtf8(std::string_view units) {
  std::string out;
  const std::size_t n = units.size() / 2;
  auto unit = [&](std::size_t i) { return std::uint32_t(std::uint8_t(units[2 * i])) << 8 | std::uint8_t(units[2 * i + 1]); };
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  while (!out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

// Bytes of the old single-byte texts: ASCII as it is, the rest replaced.
std::string Latin(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    if (std::uint8_t(c) < 0x80)
      out += c;
    else
      AppendUtf8(out, 0xFFFD);
  }
  return out;
}

std::string UnicodeText(Bytes& in) {
  const std::uint32_t count = in.U32();
  return Utf16ToUtf8(in.Take(std::uint64_t(count) * 2));
}

// A key of a descriptor: four characters when its length is given as 0.
std::string_view Key(Bytes& in) {
  const std::uint32_t length = in.U32();
  return in.Take(length == 0 ? 4 : length);
}

// ---- Descriptors, as far as the filter names need them ----

constexpr int kDeepest = 32;   // objects within objects

bool SkipValue(Bytes& in, std::string_view type, int depth);

// What one descriptor gives: the smart filters' names when it holds them.
struct FilterScan {
  std::optional<std::vector<std::string>> names;
};

bool ReadDescriptor(Bytes& in, int depth, FilterScan* scan, int role);

// Roles: 0 any object, 1 the `filterFX` object, 2 one filter of its list.
bool ReadItemValue(Bytes& in, std::string_view key, std::string_view type, int depth, FilterScan* scan, int role) {
  if (type == "Objc" || type == "GlbO") {
    UnicodeText(in);
    Key(in);
    return ReadDescriptor(in, depth + 1, scan, role == 0 && key == "filterFX" ? 1 : 0);
  }
  if (type == "VlLs" && role == 1 && key == "filterFXList") {
    const std::uint32_t count = in.U32();
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
      const std::string_view itemType = in.Take(4);
      if (itemType != "Objc") {
        if (!SkipValue(in, itemType, depth + 1)) return false;
        names.emplace_back();
        continue;
      }
      UnicodeText(in);
      Key(in);
      std::string name;
      // The filter's own object: its name is read, the rest skipped.
      const std::uint32_t items = in.U32();
      for (std::uint32_t k = 0; k < items && in.ok(); ++k) {
        const std::string_view itemKey = Key(in);
        const std::string_view valueType = in.Take(4);
        if (itemKey == "Nm  " && valueType == "TEXT") {
          name = UnicodeText(in);
        } else if (!SkipValue(in, valueType, depth + 2)) {
          return false;
        }
      }
      names.push_back(std::move(name));
    }
    if (!in.ok()) return false;
    scan->names = std::move(names);
    return true;
  }
  return SkipValue(in, type, depth);
}

bool ReadDescriptor(Bytes& in, int depth, FilterScan* scan, int role) {
  if (depth > kDeepest) return in.Fail();
  const std::uint32_t items = in.U32();
  for (std::uint32_t k = 0; k < items && in.ok(); ++k) {
    const std::string_view key = Key(in);
    const std::string_view type = in.Take(4);
    if (!ReadItemValue(in, key, type, depth, scan, role)) return false;
  }
  return in.ok();
}

bool SkipReference(Bytes& in) {
  const std::uint32_t count = in.U32();
  for (std::uint32_t i = 0; i < count && in.ok(); ++i) {
    const std::string_view form = in.Take(4);
    if (form == "prop") {
      UnicodeText(in), Key(in), Key(in);
    } else if (form == "Clss") {
      UnicodeText(in), Key(in);
    } else if (form == "Enmr") {
      UnicodeText(in), Key(in), Key(in), Key(in);
    } else if (form == "rele") {
      UnicodeText(in), Key(in), in.Skip(4);
    } else if (form == "Idnt" || form == "indx") {
      in.Skip(4);
    } else if (form == "name") {
      UnicodeText(in), Key(in), UnicodeText(in);
    } else {
      return in.Fail();
    }
  }
  return in.ok();
}

bool SkipValue(Bytes& in, std::string_view type, int depth) {
  if (depth > kDeepest) return in.Fail();
  if (type == "Objc" || type == "GlbO") {
    UnicodeText(in);
    Key(in);
    FilterScan ignored;
    return ReadDescriptor(in, depth + 1, &ignored, 0);
  }
  if (type == "VlLs") {
    const std::uint32_t count = in.U32();
    for (std::uint32_t i = 0; i < count && in.ok(); ++i)
      if (!SkipValue(in, in.Take(4), depth + 1)) return false;
    return in.ok();
  }
  if (type == "ObAr") {
    // A count, then an object of arrays of values.
    in.Skip(4);
    UnicodeText(in);
    Key(in);
    FilterScan ignored;
    return ReadDescriptor(in, depth + 1, &ignored, 0);
  }
  if (type == "obj ") return SkipReference(in);
  if (type == "doub" || type == "comp") return in.Skip(8);
  if (type == "UntF") return in.Skip(12);
  if (type == "UnFl") {
    in.Skip(4);
    return in.Skip(std::uint64_t(in.U32()) * 8);
  }
  if (type == "long") return in.Skip(4);
  if (type == "bool") return in.Skip(1);
  if (type == "TEXT") {
    UnicodeText(in);
    return in.ok();
  }
  if (type == "enum") {
    Key(in);
    Key(in);
    return in.ok();
  }
  if (type == "type" || type == "GlbC") {
    UnicodeText(in);
    Key(in);
    return in.ok();
  }
  if (type == "alis" || type == "tdta" || type == "Pth ") return in.Skip(in.U32());
  return in.Fail();   // a kind of value this reader does not know
}

// The smart filters' names a smart object's data block holds; empty when
// it holds none, nothing when the block cannot be read.
std::optional<std::vector<std::string>> SmartObjectFilters(std::string_view block) {
  Bytes in(block);
  if (in.Take(4) != "soLD") return std::nullopt;
  in.U32();   // version
  if (in.U32() != 16) return std::nullopt;   // descriptor version
  UnicodeText(in);
  Key(in);
  FilterScan scan;
  if (!ReadDescriptor(in, 0, &scan, 0)) return std::nullopt;
  return scan.names ? *scan.names : std::vector<std::string>();
}

bool ReadLayerRecord(Bytes& in, PsdLayer* layer, std::uint32_t* channelBytes) {
  in.Skip(16);   // top, left, bottom, right
  const std::uint16_t channels = in.U16();
  if (channels > 56) return in.Fail();
  std::uint64_t data = 0;
  for (std::uint16_t c = 0; c < channels; ++c) {
    in.Skip(2);
    data += in.U32();
  }
  if (in.Take(4) != "8BIM") return in.Fail();
  in.Skip(4 + 4);   // blend mode, opacity, clipping, flags, filler
  Bytes extra = in.Section(in.U32());
  extra.Section(extra.U32());   // mask data
  extra.Section(extra.U32());   // blending ranges
  const std::uint8_t nameLength = extra.U8();
  layer->name = Latin(extra.Take(nameLength));
  extra.Skip((4 - (1 + nameLength) % 4) % 4);
  while (extra.ok() && extra.left() >= 12) {
    const std::string_view signature = extra.Take(4);
    if (signature != "8BIM" && signature != "8B64") return in.Fail();
    const std::string_view key = extra.Take(4);
    const std::uint32_t length = extra.U32();
    const std::string_view block = extra.Take(length);
    if (!extra.ok()) return in.Fail();
    if (key == "luni") {
      Bytes name(block);
      const std::string text = UnicodeText(name);
      if (name.ok()) layer->name = text;
    } else if (key == "SoLd" || key == "SoLE") {
      layer->smartObject = true;
      if (auto filters = SmartObjectFilters(block)) layer->smartFilters = std::move(*filters);
    } else if (key == "PlLd" || key == "plLd") {
      layer->smartObject = true;
    }
  }
  if (!extra.ok()) return in.Fail();
  if (data > 0xFFFFFFFFu) return in.Fail();
  *channelBytes = std::uint32_t(data);
  return in.ok();
}

}  // namespace

bool ParsePsd(std::string_view bytes, PsdImage* image) {
  Bytes in(bytes);
  if (in.Take(4) != "8BPS" || in.U16() != 1) return false;   // the large-document variant is not read
  in.Skip(6);
  PsdImage read;
  read.channels = in.U16();
  read.height = int(in.U32() & 0x7FFFFFFF);
  read.width = int(in.U32() & 0x7FFFFFFF);
  read.depth = in.U16();
  read.colorMode = in.U16();
  in.Section(in.U32());   // colour mode data
  in.Section(in.U32());   // image resources
  Bytes layersAndMasks = in.Section(in.U32());
  if (!in.ok() || read.channels < 1 || read.channels > 56) return false;
  if (layersAndMasks.left() > 0) {
    Bytes info = layersAndMasks.Section(layersAndMasks.U32());
    if (!layersAndMasks.ok()) return false;
    if (info.left() > 0) {
      const std::int16_t signedCount = std::int16_t(info.U16());
      const int count = signedCount < 0 ? -int(signedCount) : int(signedCount);
      std::uint64_t channelData = 0;
      for (int i = 0; i < count; ++i) {
        PsdLayer layer;
        std::uint32_t layerData = 0;
        if (!ReadLayerRecord(info, &layer, &layerData)) return false;
        channelData += layerData;
        read.layers.push_back(std::move(layer));
      }
      // The layers' pixels follow their records, within the section.
      if (!info.Skip(channelData)) return false;
    }
  }
  if (!in.ok()) return false;
  *image = std::move(read);
  return true;
}

}  // namespace sim
