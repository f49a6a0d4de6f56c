#include "commands/text_commands.h"

#include "host/event_keys.h"
#include "host/event_player.h"
#include "host/host_objects.h"

using namespace event_keys;

namespace {

// The text layer commands act on, and all of them.
RefPart TargetText() { return TargetOf("TxLr"); }
RefPart AllTexts() { return EnumPart("TxLr", "Ordn", "Al"); }

// `setd` of one property of the target text layer.
std::int32_t SetTextProperty(std::string_view property, EventKey to) {
  return PlayKeys("setd", kDialogNone, {Ref("null", {Property("Prpr", property), TargetText()}), std::move(to)});
}

// The target layer's text object; empty on other layers.
DescriptorHolder ReadTextObject() {
  DescriptorHolder text;
  TypeID cls = 0;
  if (GetTargetProperty(FourCC("Lyr "), FourCC("Txt "), text.out(), &cls) != 0) text.reset();
  return text;
}

// The first element of a list of objects held by `key`; empty when any
// step fails.
DescriptorHolder FirstObjectOf(host::Descriptor owner, TypeID key) {
  DescriptorHolder first;
  if (!owner || key == 0) return first;
  ListHolder list;
  if (GetDescriptorItem(owner, key, list.out(), nullptr) != 0 || !list) return first;
  TypeID cls = 0;
  if (ListProcs()->GetObjectValue(list.get(), 0, &cls, first.out()) != 0) first.reset();
  return first;
}

}  // namespace

std::int32_t SpellCheck() {
  return PlayKeys("spellCheck", kDialogShow,
                  {Ref("null", {Property("Prpr", "spellCheck"), AllTexts()}), Object("Usng", "spellCheck", {})});
}

std::int32_t FindReplaceText() {
  return PlayKeys("findReplace", kDialogShow,
                  {Ref("null", {Property("Prpr", "findReplace"), AllTexts()}),
                   Object("Usng", "findReplace",
                          {Text("~find", ""), Text("replace", ""), Boolean("checkAll", true), Boolean("Fwd", true),
                           Boolean("caseSensitive", false), Boolean("wholeWord", false),
                           Boolean("ignoreAccents", true)})});
}

std::int32_t ConvertTextToShape() {
  return PlayKeys("Mk", kDialogNone, {Ref("null", {ClassPart("contentLayer")}), Ref("Usng", {TargetText()})});
}

std::int32_t SetTextAntiAlias(int k) {
  const std::string_view method = AntiAliasMethod(k);
  if (method.empty()) return host::kBadParameterError;
  return SetTextProperty("AntA", Enumerated("T", "Annt", method));
}

std::int32_t SetTextType(bool box) { return SetTextProperty("TEXT", Enumerated("T", "TEXT", box ? "~box" : "Pnt")); }

std::int32_t ToggleTextType() { return SetTextType(GetTextShapeKind() == kPointText); }

std::int32_t SetTracking(std::int32_t value) {
  // The host's own keys of a tracking change: the feature "0049" read as
  // one 32-bit value, and its operation 3.
  constexpr std::int32_t kTrackingFeature = 0x30303439;
  constexpr std::int32_t kTrackingOperation = 3;
  return SetTextProperty("TxtS", Object("T", "TxtS",
                                        {Integer("textOverrideFeatureName", kTrackingFeature),
                                         Integer("typeStyleOperationType", kTrackingOperation),
                                         Integer("Trck", value)}));
}

int GetTextAntiAlias() {
  const DescriptorHolder text = ReadTextObject();
  if (!text) return -1;
  TypeID value = 0, type = 0;
  if (GetDescriptorItem(text.get(), FourCC("AntA"), &value, &type) != 0 || value == 0) return -1;
  for (int k = 0; k < int(kAntiAliasMethods.size()); ++k)
    if (IdentifierOf(AntiAliasMethod(k)) == value) return k;
  return -1;
}

std::int32_t GetTracking() {
  const DescriptorHolder text = ReadTextObject();
  const DescriptorHolder run = FirstObjectOf(text.get(), FourCC("Txtt"));
  if (!run) return 0;
  DescriptorHolder style;
  TypeID cls = 0;
  if (GetDescriptorItem(run.get(), FourCC("TxtS"), style.out(), &cls) != 0 || !style) return 0;
  std::int32_t tracking = 0;
  if (GetDescriptorItem(style.get(), FourCC("Trck"), &tracking, nullptr) != 0) return 0;
  return tracking;
}

int GetTextShapeKind() {
  const DescriptorHolder text = ReadTextObject();
  const DescriptorHolder shape = FirstObjectOf(text.get(), StringToTypeID("textShape"));
  if (!shape) return kNoTextShape;
  const TypeID boundsKey = StringToTypeID("bounds");
  if (boundsKey == 0) return kNoTextShape;
  DescriptorHolder bounds;
  TypeID cls = 0;
  if (GetDescriptorItem(shape.get(), boundsKey, bounds.out(), &cls) != 0) return kNoTextShape;
  return bounds ? kParagraphText : kPointText;
}
