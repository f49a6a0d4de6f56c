#include "adjustment_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace sim {
namespace {

constexpr AdjustmentClass kClasses[] = {
    {"Crvs", "curves"},       {"Exps", "exposure"},       {"ChnM", "channelMixer"}, {"", "vibrance"},
    {"ClrB", "colorBalance"}, {"SlcC", "selectiveColor"}, {"BanW", "blackAndWhite"},
};

TypeID Key(std::string_view text) { return IdFromText(text.size() < 4 ? std::string(text) + std::string(4 - text.size(), ' ') : std::string(text)); }

// Bytes written big-endian at fixed offsets, the blob grown as needed.
class Writer {
 public:
  explicit Writer(std::size_t size) : bytes_(size, '\0') {}
  void Byte(std::size_t at, int value) { bytes_[at] = char(std::uint8_t(value)); }
  void Int16(std::size_t at, int value) {
    const auto v = std::uint16_t(std::int16_t(std::clamp(value, -32768, 32767)));
    Byte(at, v >> 8);
    Byte(at + 1, v & 0xFF);
  }
  void Float32(std::size_t at, double value) {
    const float f = float(value);
    std::uint32_t v = 0;
    std::memcpy(&v, &f, 4);
    for (int i = 0; i < 4; ++i) Byte(at + std::size_t(i), int(v >> (24 - 8 * i)) & 0xFF);
  }
  void Float64(std::size_t at, double value) {
    std::uint64_t v = 0;
    std::memcpy(&v, &value, 8);
    for (int i = 0; i < 8; ++i) Byte(at + std::size_t(i), int(v >> (56 - 8 * i)) & 0xFF);
  }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// A number of the settings: integers, floats, unit values and Booleans alike.
double Number(const DescriptorData& d, std::string_view key, double fallback) {
  const Value* v = FindEntry(d, Key(key));
  if (!v) return fallback;
  switch (v->type) {
    case host::kTypeInteger: return double(v->integer);
    case host::kTypeFloat:
    case host::kTypeUnitFloat: return v->number;
    case host::kTypeBoolean: return v->flag ? 1 : 0;
    default: return fallback;
  }
}
int Whole(double v) { return int(std::lround(std::clamp(v, -32768.0, 32767.0))); }

const DescriptorData* Object(const DescriptorData& d, std::string_view key) {
  const Value* v = FindEntry(d, Key(key));
  return v && v->type == host::kTypeObject ? &v->items : nullptr;
}
const ListData* List(const DescriptorData& d, std::string_view key) {
  const Value* v = FindEntry(d, Key(key));
  return v && v->type == host::kTypeList ? &v->list : nullptr;
}

std::string Vibrance(const DescriptorData& d) {
  Writer w(58);
  w.Byte(41, Whole(Number(d, "vibrance", 0)));
  w.Byte(57, Whole(Number(d, "Strt", 0)));
  return w.Take();
}

std::string BlackAndWhite(const DescriptorData& d) {
  Writer w(229);
  struct Share {
    const char* key;
    std::size_t at;
    int fallback;
  };
  for (const Share& s : {Share{"Rd", 36, 40}, {"Yllw", 52, 60}, {"Grn", 68, 40}, {"Cyn", 84, 60}, {"Bl", 100, 20},
                         {"Mgnt", 116, 80}})
    w.Int16(s.at, Whole(Number(d, s.key, s.fallback)));
  w.Byte(133, Number(d, "useTint", 0) != 0 ? 1 : 0);
  const DescriptorData none;
  const DescriptorData& tint = Object(d, "tintColor") ? *Object(d, "tintColor") : none;
  w.Float64(181, Number(tint, "Rd", 225));
  w.Float64(201, Number(tint, "Grn", 211));
  w.Float64(221, Number(tint, "Bl", 179));
  return w.Take();
}

std::string Exposure(const DescriptorData& d) {
  Writer w(14);
  w.Int16(0, 1);   // the layout's version
  w.Float32(2, Number(d, "Exps", 0));
  w.Float32(6, Number(d, "Ofst", 0));
  w.Float32(10, Number(d, "gammaCorrection", 1));
  return w.Take();
}

std::string ColorBalance(const DescriptorData& d) {
  Writer w(19);
  std::size_t at = 0;
  for (const char* range : {"ShdL", "MdtL", "HghL"}) {
    const ListData* list = List(d, range);
    for (std::size_t i = 0; i < 3; ++i, at += 2) {
      const double v = list && i < list->size() && (*list)[i].type == host::kTypeInteger ? double((*list)[i].integer) : 0;
      w.Int16(at, Whole(v));
    }
  }
  w.Byte(18, Number(d, "PrsL", 1) != 0 ? 1 : 0);
  return w.Take();
}

std::string ChannelMixer(const DescriptorData& d) {
  Writer w(34);
  const bool monochrome = Number(d, "Mnch", 0) != 0;
  w.Int16(0, 1);
  w.Int16(2, monochrome ? 1 : 0);
  struct Output {
    const char* key;
    std::size_t at;
    int own;   // the share of its own channel by default
  };
  // Red, green and blue shares and the constant, each output at its offset;
  // the number between the blue share and the constant is not used.
  const Output outputs[] = {{monochrome ? "Gry" : "Rd", 4, 0}, {"Grn", 14, 1}, {"Bl", 24, 2}};
  for (const Output& o : outputs) {
    const DescriptorData none;
    const DescriptorData& mix = Object(d, o.key) ? *Object(d, o.key) : none;
    const char* shares[] = {"Rd", "Grn", "Bl"};
    for (int i = 0; i < 3; ++i) {
      const int fallback = monochrome && o.at == 4 ? (i == 2 ? 20 : 40) : (i == o.own ? 100 : 0);
      w.Int16(o.at + std::size_t(2 * i), Whole(Number(mix, shares[i], fallback)));
    }
    w.Int16(o.at + 8, Whole(Number(mix, "Cnst", 0)));
  }
  return w.Take();
}

std::string SelectiveColor(const DescriptorData& d) {
  Writer w(84);
  w.Int16(0, 1);
  const Value* method = FindEntry(d, Key("Mthd"));
  w.Int16(2, method && method->type == host::kTypeEnumerated && method->enumValue == Key("Absl") ? 1 : 0);
  const char* colours[] = {"Rds", "Ylws", "Grns", "Cyns", "Bls", "Mgnt", "Whts", "Ntrl", "Blks"};
  const ListData* list = List(d, "ClrC");
  for (std::size_t c = 0; c < 9; ++c) {
    const DescriptorData* found = nullptr;
    for (std::size_t i = 0; list && i < list->size(); ++i) {
      const Value& item = (*list)[i];
      const Value* which = item.type == host::kTypeObject ? FindEntry(item.items, Key("Clrs")) : nullptr;
      if (which && which->type == host::kTypeEnumerated && which->enumValue == Key(colours[c])) found = &item.items;
    }
    const DescriptorData none;
    const char* components[] = {"Cyn", "Mgnt", "Ylw", "Blck"};
    for (std::size_t k = 0; k < 4; ++k)
      w.Int16(12 + 2 * (4 * c + k), Whole(Number(found ? *found : none, components[k], 0)));
  }
  return w.Take();
}

int Level(double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); }

std::string Curves(const DescriptorData& d) {
  const ListData* adjustments = List(d, "Adjs");
  const DescriptorData* curve = adjustments && !adjustments->empty() && (*adjustments)[0].type == host::kTypeObject
                                    ? &(*adjustments)[0].items
                                    : nullptr;
  if (const ListData* map = curve ? List(*curve, "Mpng") : nullptr) {
    Writer w(263);
    w.Byte(0, 1);
    for (std::size_t i = 0; i < 256; ++i)
      w.Byte(7 + i, i < map->size() && (*map)[i].type == host::kTypeInteger ? Level(double((*map)[i].integer)) : int(i));
    return w.Take();
  }
  // Point form: the count, then each point's output and input.
  std::vector<std::pair<int, int>> points = {{0, 0}, {255, 255}};
  if (const ListData* list = curve ? List(*curve, "Crv") : nullptr) {
    points.clear();
    for (const Value& p : *list)
      if (p.type == host::kTypeObject) points.emplace_back(Level(Number(p.items, "Vrtc", 0)), Level(Number(p.items, "Hrzn", 0)));
  }
  points.resize(std::min<std::size_t>(points.size(), 255));
  Writer w(9 + 4 * points.size());
  w.Int16(7, int(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) {
    w.Int16(9 + 4 * i, points[i].first);
    w.Int16(11 + 4 * i, points[i].second);
  }
  return w.Take();
}

}  // namespace

const AdjustmentClass* FindAdjustmentClass(TypeID cls) {
  for (const AdjustmentClass& c : kClasses)
    if ((c.code.empty() ? StringToId(c.stringId) : IdFromText(c.code)) == cls) return &c;
  return nullptr;
}

std::string AdjustmentSettingsBytes(std::string_view stringId, const DescriptorData& settings) {
  if (stringId == "vibrance") return Vibrance(settings);
  if (stringId == "blackAndWhite") return BlackAndWhite(settings);
  if (stringId == "exposure") return Exposure(settings);
  if (stringId == "colorBalance") return ColorBalance(settings);
  if (stringId == "channelMixer") return ChannelMixer(settings);
  if (stringId == "selectiveColor") return SelectiveColor(settings);
  if (stringId == "curves") return Curves(settings);
  return {};
}

std::string WithVibrance(std::string bytes, const DescriptorData& settings) {
  if (bytes.size() < 58) bytes.resize(58, '\0');
  if (FindEntry(settings, Key("vibrance"))) bytes[41] = char(std::uint8_t(Whole(Number(settings, "vibrance", 0))));
  if (FindEntry(settings, Key("Strt"))) bytes[57] = char(std::uint8_t(Whole(Number(settings, "Strt", 0))));
  return bytes;
}

}  // namespace sim
