#include "adjustments/adjustment_layers.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "commands/masks.h"
#include "host/event_player.h"
#include "host/host_objects.h"
#include "host/layer_queries.h"
#include "ui/procedure_state.h"

std::vector<double> AdjustmentValues;

void FreeAdjustmentValues() { std::vector<double>().swap(AdjustmentValues); }

namespace {

namespace ix = adjustment_index;

constexpr TypeID kAdjustmentLayer = FourCC("AdjL");
constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kNull = FourCC("null");
constexpr std::size_t kNameSize = 128;

// A key, class or enumeration of the host's vocabulary as written in the
// tables below: four characters or fewer are a code (padded with spaces),
// longer ones a string identifier.
TypeID Id(std::string_view text) {
  if (text.size() > 4) return StringToTypeID(std::string(text).c_str());
  char code[5] = {' ', ' ', ' ', ' ', '\0'};
  std::memcpy(code, text.data(), text.size());
  return FourCC(code);
}

// How a value goes into the descriptor.
enum class As { Integer, Float, Boolean, Percent };

// One key of an adjustment object: which value it takes and how.
struct ValueKey {
  std::string_view key;
  As as;
  std::size_t index;
};

constexpr ValueKey kExposureKeys[] = {
    {"Exps", As::Float, 0},
    {"Ofst", As::Float, 1},
    {"gammaCorrection", As::Float, 2},
};

constexpr ValueKey kVibranceKeys[] = {
    {"vibrance", As::Integer, 0},
    {"Strt", As::Integer, 1},
};

constexpr ValueKey kBlackAndWhiteKeys[] = {
    {"Rd", As::Integer, 0},  {"Yllw", As::Integer, 1}, {"Grn", As::Integer, 2},
    {"Cyn", As::Integer, 3}, {"Bl", As::Integer, 4},   {"Mgnt", As::Integer, 5},
    {"useTint", As::Boolean, 6},
};
// "tintColor" = object `RGBC` of these.
constexpr ValueKey kTintColorKeys[] = {
    {"Rd", As::Float, 7},
    {"Grn", As::Float, 8},
    {"Bl", As::Float, 9},
};

// Color Balance: each range a list of three integers, then the flag.
struct ValueList {
  std::string_view key;
  std::size_t first;
};
constexpr ValueList kColorBalanceRanges[] = {
    {"ShdL", 0},
    {"MdtL", 3},
    {"HghL", 6},
};
constexpr ValueKey kColorBalanceKeys[] = {
    {"PrsL", As::Boolean, 9},
};

// Channel Mixer: each output channel an object `ChMx` of four shares, read
// from the values after `first - 1`.
constexpr ValueKey kMixKeys[] = {
    {"Rd", As::Percent, 0},
    {"Grn", As::Percent, 1},
    {"Bl", As::Percent, 2},
    {"Cnst", As::Percent, 3},
};
constexpr ValueList kMonochromeOutput = {"Gry", 1};
constexpr ValueList kColorOutputs[] = {
    {"Rd", 1},
    {"Grn", 5},
    {"Bl", 9},
};

// Selective Color: one object `ClrC` per colour, in the order of the values.
constexpr std::string_view kSelectiveColors[] = {"Rds", "Ylws", "Grns", "Cyns", "Bls",
                                                  "Mgnt", "Whts", "Ntrl", "Blks"};
constexpr ValueKey kColorComponents[] = {
    {"Cyn", As::Percent, 0},
    {"Mgnt", As::Percent, 1},
    {"Ylw", As::Percent, 2},
    {"Blck", As::Percent, 3},
};

// Integer keys take the value truncated toward zero, Booleans rounded.
std::int32_t Truncated(double value) {
  if (!(value == value)) return 0;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}
bool Rounded(double value) { return std::fabs(value) >= 0.5; }

std::int32_t PutValue(host::Descriptor d, const ValueKey& key, std::span<const double> values, std::size_t base) {
  const host::DescriptorSuite* s = DescriptorProcs();
  const double value = values[base + key.index];
  const TypeID id = Id(key.key);
  // A string identifier the host did not turn into one would be no key.
  if (id == 0) return host::kBadParameterError;
  switch (key.as) {
    case As::Integer: return HostResult(s->PutInteger(d, id, Truncated(value)));
    case As::Float: return HostResult(s->PutFloat(d, id, value));
    case As::Boolean: return HostResult(s->PutBoolean(d, id, Rounded(value) ? 1 : 0));
    case As::Percent: return HostResult(s->PutUnitFloat(d, id, FourCC("#Prc"), value));
  }
  return host::kBadParameterError;
}

std::int32_t PutValues(host::Descriptor d, std::span<const ValueKey> keys, std::span<const double> values,
                       std::size_t base = 0) {
  for (const ValueKey& key : keys)
    if (const std::int32_t err = PutValue(d, key, values, base); err != 0) return err;
  return 0;
}

// `key` = object of `cls` whose keys `fill` puts.
template <typename Fill>
std::int32_t PutObjectOf(host::Descriptor d, TypeID key, TypeID cls, Fill fill) {
  if (key == 0 || cls == 0) return host::kBadParameterError;
  DescriptorHolder object;
  std::int32_t err = MakeDescriptor(object);
  if (err == 0) err = fill(object.get());
  if (err == 0) err = HostResult(DescriptorProcs()->PutObject(d, key, cls, object.get()));
  return err;
}

// The same, into a list.
template <typename Fill>
std::int32_t AddObjectOf(host::List list, TypeID cls, Fill fill) {
  DescriptorHolder object;
  std::int32_t err = MakeDescriptor(object);
  if (err == 0) err = fill(object.get());
  if (err == 0) err = HostResult(ListProcs()->PutObject(list, cls, object.get()));
  return err;
}

// `key` = a list whose items `fill` adds.
template <typename Fill>
std::int32_t PutListOf(host::Descriptor d, TypeID key, Fill fill) {
  ListHolder list;
  std::int32_t err = HostResult(ListProcs()->Make(list.out()));
  if (err == 0) err = fill(list.get());
  if (err == 0) err = HostResult(DescriptorProcs()->PutList(d, key, list.get()));
  return err;
}

std::int32_t PutPresetKind(host::Descriptor d) {
  const TypeID key = Id("presetKind"), type = Id("presetKindType"), value = Id("presetKindDefault");
  if (key == 0 || type == 0 || value == 0) return host::kBadParameterError;
  return HostResult(DescriptorProcs()->PutEnumerated(d, key, type, value));
}

std::int32_t PutMix(host::Descriptor d, const ValueList& output, std::span<const double> values) {
  return PutObjectOf(d, Id(output.key), Id("ChMx"),
                     [&](host::Descriptor mix) { return PutValues(mix, kMixKeys, values, output.first); });
}

std::int32_t PutChannelMixer(host::Descriptor d, std::span<const double> values, bool identity) {
  if (identity) {
    // Without values the mixer still opens on the identity mix: each output
    // channel takes all of itself.
    for (std::size_t i = 0; i < std::size(kColorOutputs); ++i) {
      const std::int32_t err = PutObjectOf(d, Id(kColorOutputs[i].key), Id("ChMx"), [&](host::Descriptor mix) {
        return HostResult(DescriptorProcs()->PutUnitFloat(mix, Id(kMixKeys[i].key), FourCC("#Prc"), 100.0));
      });
      if (err != 0) return err;
    }
    return 0;
  }
  if (values[0] != 0) {
    std::int32_t err = HostResult(DescriptorProcs()->PutBoolean(d, Id("Mnch"), 1));
    if (err == 0) err = PutMix(d, kMonochromeOutput, values);
    return err;
  }
  for (const ValueList& output : kColorOutputs)
    if (const std::int32_t err = PutMix(d, output, values); err != 0) return err;
  return 0;
}

std::int32_t PutColorBalance(host::Descriptor d, std::span<const double> values) {
  for (const ValueList& range : kColorBalanceRanges) {
    const std::int32_t err = PutListOf(d, Id(range.key), [&](host::List list) {
      for (std::size_t i = 0; i < 3; ++i)
        if (const std::int32_t e = HostResult(ListProcs()->PutInteger(list, Truncated(values[range.first + i])));
            e != 0)
          return e;
      return std::int32_t(0);
    });
    if (err != 0) return err;
  }
  return PutValues(d, kColorBalanceKeys, values);
}

std::int32_t PutSelectiveColor(host::Descriptor d, std::span<const double> values) {
  std::int32_t err = HostResult(
      DescriptorProcs()->PutEnumerated(d, Id("Mthd"), Id("CrcM"), values[0] != 0 ? Id("Absl") : Id("Rltv")));
  if (err != 0) return err;
  return PutListOf(d, Id("ClrC"), [&](host::List list) {
    for (std::size_t c = 0; c < std::size(kSelectiveColors); ++c) {
      const std::int32_t e = AddObjectOf(list, Id("ClrC"), [&](host::Descriptor colour) {
        std::int32_t r = HostResult(DescriptorProcs()->PutEnumerated(colour, Id("Clrs"), Id("Clrs"),
                                                                     Id(kSelectiveColors[c])));
        if (r == 0) r = PutValues(colour, kColorComponents, values, 1 + 4 * c);
        return r;
      });
      if (e != 0) return e;
    }
    return std::int32_t(0);
  });
}

std::int32_t PutCurves(host::Descriptor d, std::span<const double> values) {
  return PutListOf(d, Id("Adjs"), [&](host::List list) {
    return AddObjectOf(list, Id("CrvA"), [&](host::Descriptor curve) {
      ReferenceHolder channel;
      std::int32_t err = MakeReference(channel);
      if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(channel.get(), Id("Chnl"), Id("Chnl"), Id("Cmps")));
      if (err == 0) err = HostResult(DescriptorProcs()->PutReference(curve, Id("Chnl"), channel.get()));
      if (err != 0) return err;
      if (values[ix::kCurvesForm] == 1) {
        return PutListOf(curve, Id("Mpng"), [&](host::List map) {
          for (std::size_t i = 1; i < ix::kCurvesMapCount; ++i)
            if (const std::int32_t e = HostResult(ListProcs()->PutInteger(map, Truncated(values[i]))); e != 0) return e;
          return std::int32_t(0);
        });
      }
      const std::size_t points = (values.size() - ix::kCurvesFirstPoint) / 2;
      return PutListOf(curve, Id("Crv"), [&](host::List list) {
        for (std::size_t i = 0; i < points; ++i) {
          const std::int32_t e = AddObjectOf(list, Id("Pnt"), [&](host::Descriptor point) {
            const std::size_t at = ix::kCurvesFirstPoint + 2 * i;
            std::int32_t r = HostResult(DescriptorProcs()->PutFloat(point, Id("Vrtc"), values[at]));
            if (r == 0) r = HostResult(DescriptorProcs()->PutFloat(point, Id("Hrzn"), values[at + 1]));
            return r;
          });
          if (e != 0) return e;
        }
        return std::int32_t(0);
      });
    });
  });
}

// The adjustment object: the preset kind, then the kind's keys.
std::int32_t PutAdjustment(host::Descriptor d, AdjustmentKind kind, std::span<const double> values) {
  std::int32_t err = PutPresetKind(d);
  if (err != 0) return err;
  if (values.empty()) return kind == AdjustmentKind::ChannelMixer ? PutChannelMixer(d, {}, true) : 0;
  switch (kind) {
    case AdjustmentKind::Exposure: return PutValues(d, kExposureKeys, values);
    case AdjustmentKind::Vibrance: return PutValues(d, kVibranceKeys, values);
    case AdjustmentKind::BlackAndWhite:
      err = PutValues(d, kBlackAndWhiteKeys, values);
      if (err == 0)
        err = PutObjectOf(d, Id("tintColor"), Id("RGBC"),
                          [&](host::Descriptor tint) { return PutValues(tint, kTintColorKeys, values); });
      return err;
    case AdjustmentKind::ColorBalance: return PutColorBalance(d, values);
    case AdjustmentKind::ChannelMixer: return PutChannelMixer(d, values, false);
    case AdjustmentKind::SelectiveColor: return PutSelectiveColor(d, values);
    case AdjustmentKind::Curves: return PutCurves(d, values);
  }
  return host::kBadParameterError;
}

// Values given for a kind are used only when they are a whole array of it.
std::span<const double> UsableValues(AdjustmentKind kind, std::span<const double> values) {
  if (values.empty()) return {};
  const std::vector<double> copy(values.begin(), values.end());
  const std::size_t needed = ValuesNeeded(kind, copy);
  if (needed == 0 || values.size() < needed) return {};
  return values.first(needed);
}

// A strict read of the target layer: the whole descriptor, or an error.
std::int32_t ReadTargetLayer(DescriptorHolder& layer) {
  const std::int32_t err = GetTargetProperty(kLayer, 0, layer.out(), nullptr);
  if (err == 0 && !layer) return host::kBadParameterError;
  return err;
}

// What re-editing keeps of the old layer.
struct KeptProperties {
  char name[kNameSize] = {};
  std::int32_t opacity = 255;   // 0..255, as the host keeps it
  TypeID blendMode = 0;
  bool grouped = false;
  bool hasMask = false;
  bool maskEnabled = true;
  bool maskLinked = true;
};

std::int32_t ReadFlag(host::Descriptor layer, TypeID key, bool* flag) {
  host::Boolean value = *flag ? 1 : 0;
  const std::int32_t err = GetDescriptorItem(layer, key, &value, nullptr);
  *flag = value != 0;
  return err;
}

// The layer's name, cut to the buffer.
std::int32_t ReadName(host::Descriptor layer, char* name, std::uint32_t size) {
  std::uint32_t length = 0;
  std::int32_t err = HostResult(DescriptorProcs()->GetStringLength(layer, FourCC("Nm  "), &length));
  if (err != 0) return err;
  std::string text(std::size_t(length) + 1, '\0');
  err = HostResult(DescriptorProcs()->GetString(layer, FourCC("Nm  "), text.data(), length + 1));
  if (err != 0) return err;
  std::snprintf(name, size, "%s", text.c_str());
  return 0;
}

std::int32_t ReadKeptProperties(KeptProperties& kept) {
  DescriptorHolder layer;
  std::int32_t err = ReadTargetLayer(layer);
  if (err != 0) return err;
  err = ReadName(layer.get(), kept.name, sizeof kept.name);
  TypeID type = 0;
  if (err == 0) err = GetDescriptorItem(layer.get(), FourCC("Opct"), &kept.opacity, nullptr);
  if (err == 0) err = GetDescriptorItem(layer.get(), FourCC("Md  "), &kept.blendMode, &type);
  if (err == 0) err = ReadFlag(layer.get(), FourCC("Grup"), &kept.grouped);
  const TypeID hasUserMask = StringToTypeID("hasUserMask");
  if (err == 0 && hasUserMask == 0) err = host::kBadParameterError;
  if (err == 0) err = ReadFlag(layer.get(), hasUserMask, &kept.hasMask);
  if (err == 0 && kept.hasMask) err = ReadFlag(layer.get(), FourCC("UsrM"), &kept.maskEnabled);
  if (err == 0 && kept.hasMask) err = ReadFlag(layer.get(), FourCC("Usrs"), &kept.maskLinked);
  kept.name[sizeof kept.name - 1] = '\0';
  return err;
}

// Sets the flag only while the host's dialog for the make can show: left
// set, it would press Enter in whatever window is activated next.
std::int32_t MakeConfirmingPrompt(AdjustmentKind kind, std::span<const double> values, bool grouped,
                                  const char* name, int opacity, TypeID blendMode) {
  AutoConfirmPending = true;
  const std::int32_t made = MakeAdjustmentLayer(kind, kDialogShow, values, grouped, name, opacity, blendMode);
  AutoConfirmPending = false;
  return made;
}

// The kind of a class by the string identifier the host names it with; the
// host's error when it names none.
std::int32_t ReadKindOfClass(TypeID cls, std::optional<AdjustmentKind>* kind) {
  *kind = std::nullopt;
  if (cls == 0) return host::kBadParameterError;
  char text[kNameSize] = {};
  if (const std::int32_t err = HostResult(ControlProcs()->TypeIDToStringID(cls, text, sizeof text)); err != 0)
    return err;
  text[sizeof text - 1] = '\0';
  *kind = KindFromStringId(text);
  return 0;
}

}  // namespace

host::TypeID AdjustmentClassOf(AdjustmentKind kind) {
  const AdjustmentKindName& name = NameOfKind(kind);
  return name.code.empty() ? StringToTypeID(std::string(name.stringId).c_str()) : Id(name.code);
}

std::optional<AdjustmentKind> KindOfClass(host::TypeID cls) {
  std::optional<AdjustmentKind> kind;
  return ReadKindOfClass(cls, &kind) == 0 ? kind : std::nullopt;
}

std::int32_t MakeAdjustmentLayer(AdjustmentKind kind, std::int32_t mode, std::span<const double> values,
                                 bool grouped, const char* name, int opacity, host::TypeID blendMode) {
  const TypeID cls = AdjustmentClassOf(kind);
  if (cls == 0) return host::kBadParameterError;
  const std::span<const double> used = UsableValues(kind, values);
  const host::DescriptorSuite* d = DescriptorProcs();
  DescriptorHolder event;
  std::int32_t err = MakeDescriptor(event);
  ReferenceHolder target;
  if (err == 0) err = MakeReference(target);
  if (err == 0) err = HostResult(ReferenceProcs()->PutClass(target.get(), kAdjustmentLayer));
  if (err == 0) err = HostResult(d->PutReference(event.get(), kNull, target.get()));
  if (err == 0)
    err = PutObjectOf(event.get(), FourCC("Usng"), kAdjustmentLayer, [&](host::Descriptor layer) {
      std::int32_t e = PutObjectOf(layer, FourCC("Type"), cls,
                                   [&](host::Descriptor adjustment) { return PutAdjustment(adjustment, kind, used); });
      if (e == 0 && name) e = HostResult(d->PutString(layer, FourCC("Nm  "), name));
      if (e == 0 && opacity >= 0) e = HostResult(d->PutUnitFloat(layer, FourCC("Opct"), FourCC("#Prc"), opacity));
      if (e == 0 && blendMode != 0) e = HostResult(d->PutEnumerated(layer, FourCC("Md  "), FourCC("BlnM"), blendMode));
      if (e == 0 && grouped) e = HostResult(d->PutBoolean(layer, FourCC("Grup"), 1));
      return e;
    });
  // A descriptor the host did not take whole would make a layer other than
  // the one asked for: nothing is played.
  if (err != 0) return err;
  return PlayDescriptor(FourCC("Mk  "), event.get(), mode);
}

SettingsRead ReadAdjustmentSettings(AdjustmentKind* kind) {
  ListHolder list;
  if (GetTargetProperty(kLayer, FourCC("Adjs"), list.out(), nullptr) != 0) return SettingsRead::Unreadable;
  if (!list) return SettingsRead::NoSettings;
  TypeID cls = 0;
  DescriptorHolder object;
  if (ListProcs()->GetObjectValue(list.get(), 0, &cls, object.out()) != 0 || !object) return SettingsRead::Unreadable;
  // A class the host did not name is not told from another kind: the
  // layer's own settings would be replaced by the defaults.
  std::optional<AdjustmentKind> found;
  if (ReadKindOfClass(cls, &found) != 0) return SettingsRead::Unreadable;
  if (!found) return SettingsRead::NoSettings;
  if (kind) *kind = *found;
  const TypeID legacy = StringToTypeID("legacyContentData");
  if (legacy == 0) return SettingsRead::Unreadable;
  host::Boolean has = 0;
  if (DescriptorProcs()->HasKey(object.get(), legacy, &has) != 0) return SettingsRead::Unreadable;
  if (!has) return SettingsRead::NoSettings;
  std::int32_t length = 0;
  if (DescriptorProcs()->GetDataLength(object.get(), legacy, &length) != 0 || length < 0)
    return SettingsRead::Unreadable;
  std::vector<std::uint8_t> bytes(std::size_t(length) + 1);
  if (DescriptorProcs()->GetData(object.get(), legacy, bytes.data()) != 0) return SettingsRead::Unreadable;
  std::optional<std::vector<double>> values = DecodeAdjustmentValues(*found, bytes.data(), std::size_t(length));
  if (!values) return SettingsRead::Unreadable;
  FreeAdjustmentValues();
  AdjustmentValues = std::move(*values);
  return SettingsRead::Decoded;
}

bool ReadAdjustmentValues() {
  AdjustmentKind kind{};
  const SettingsRead read = ReadAdjustmentSettings(&kind);
  if (read == SettingsRead::Decoded) return true;
  // An adjustment of another kind was still read.
  if (read != SettingsRead::NoSettings) return false;
  return GetAdjustmentClass() != 0;
}

std::int32_t SetAdjustmentOnTarget(AdjustmentKind kind, std::span<const double> values, std::int32_t mode) {
  const TypeID cls = AdjustmentClassOf(kind);
  if (cls == 0) return host::kBadParameterError;
  DescriptorHolder event;
  std::int32_t err = MakeDescriptor(event);
  ReferenceHolder target;
  if (err == 0) err = MakeReference(target);
  if (err == 0)
    err = HostResult(ReferenceProcs()->PutEnumerated(target.get(), kAdjustmentLayer, FourCC("Ordn"), FourCC("Trgt")));
  if (err == 0) err = HostResult(DescriptorProcs()->PutReference(event.get(), kNull, target.get()));
  const bool vibrance = kind == AdjustmentKind::Vibrance && values.size() >= ix::kVibranceCount;
  if (err == 0)
    err = PutObjectOf(event.get(), FourCC("T   "), cls, [&](host::Descriptor object) {
      return vibrance ? PutValues(object, kVibranceKeys, values) : std::int32_t(0);
    });
  if (err != 0) return err;
  return PlayDescriptor(FourCC("setd"), event.get(), mode);
}

bool EditAdjustmentLayer() {
  // Nothing is deleted before everything the new layer needs is known: a
  // step that fails from here on is dropped by the host with the old layer.
  const std::optional<AdjustmentKind> kind = KindOfClass(GetAdjustmentClass());
  if (!kind) return false;
  AdjustmentKind readKind = *kind;
  const SettingsRead read = ReadAdjustmentSettings(&readKind);
  if (read == SettingsRead::Unreadable) return false;
  const bool haveValues = read == SettingsRead::Decoded && readKind == *kind;
  KeptProperties kept;
  if (ReadKeptProperties(kept) != 0) return false;
  // The new layer's mask is made from the selection: the old mask loaded.
  if (kept.hasMask && LoadLayerMaskAsSelection() != 0) return false;
  if (DeleteLayer(nullptr) != 0) return false;
  const std::vector<double> values = haveValues ? AdjustmentValues : std::vector<double>();
  const int opacityPercent = int(std::lround(double(kept.opacity) * 100.0 / 255.0));
  if (MakeConfirmingPrompt(*kind, values, kept.grouped, kept.name, opacityPercent, kept.blendMode) != 0)
    return false;
  // A new mask starts enabled and linked.
  if (kept.hasMask && !kept.maskEnabled && SetLayerMaskEnabled(false) != 0) return false;
  if (kept.hasMask && !kept.maskLinked && SetLayerMaskLinked(false) != 0) return false;
  return true;
}

bool AdjustAsFilter(AdjustmentKind kind) {
  const int selection = ReadSelectionState();
  if (selection < 0) return false;
  if (MakeConfirmingPrompt(kind, {}, true, nullptr, -1, 0) != 0) return false;
  // The new layer's mask was made from the selection, which went into it.
  if (selection == 1 && LoadLayerMaskAsSelection() != 0) return false;
  return MergeLayers() == 0;
}

bool RemakeAdjustmentLayer(AdjustmentKind kind, std::span<const double> values) {
  // Only the adjustment layer of the kind is remade: after a failed remake
  // the target is the user's own layer, which must not be deleted.
  if (KindOfClass(GetAdjustmentClass()) != kind) return false;
  KeptProperties kept;
  if (ReadKeptProperties(kept) != 0) return false;
  if (kept.hasMask && LoadLayerMaskAsSelection() != 0) return false;
  if (DeleteLayer(nullptr) != 0) return false;
  const int opacityPercent = int(std::lround(double(kept.opacity) * 100.0 / 255.0));
  return MakeAdjustmentLayer(kind, kDialogNone, values, kept.grouped, kept.name, opacityPercent, kept.blendMode) == 0;
}
