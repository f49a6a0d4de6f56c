#include "commands/channels.h"

#include <array>

#include "host/event_player.h"
#include "host/host_objects.h"
#include "menus/command_table.h"

std::int32_t LastChannelChoice = 0;
bool ShowAllChannels = false;

namespace {

constexpr TypeID kChannel = FourCC("Chnl");
constexpr TypeID kRed = FourCC("Rd  ");
constexpr TypeID kGreen = FourCC("Grn ");
constexpr TypeID kBlue = FourCC("Bl  ");

// What each choice targets: a channel, and the one it is extended by.
struct ChannelPair {
  TypeID first;
  TypeID extra;
};
constexpr std::array<ChannelPair, 7> kChoices = {{
    {FourCC("RGB "), 0}, {kRed, 0}, {kGreen, 0}, {kBlue, 0}, {kRed, kGreen}, {kRed, kBlue}, {kGreen, kBlue},
}};

// The colour channels by their bits, in the order the host lists them.
struct ColorChannel {
  std::uint32_t bit;
  TypeID channel;
};
constexpr std::array<ColorChannel, 3> kColorChannels = {{{kRedBit, kRed}, {kGreenBit, kGreen}, {kBlueBit, kBlue}}};

constexpr std::uint32_t kFirstChannelCommand = std::uint32_t(CommandId(15));
constexpr std::uint32_t kLastChannelCommand = std::uint32_t(CommandId(21));

// Targets the colour channels of `mask` again: the first alone, the rest
// added to it. Other channels cannot be named that way, so a mask holding
// any is left as it is, and so is a restore that fails on the way.
void RetargetColorChannels(std::uint32_t mask) {
  if (mask == 0 || (mask & ~kAllColorBits) != 0) return;
  bool extend = false;
  for (const ColorChannel& c : kColorChannels) {
    if ((mask & c.bit) == 0) continue;
    if (TargetChannel(c.channel, extend) != 0) return;
    extend = true;
  }
}

}  // namespace

bool ReadChannelMask(bool visible, std::uint32_t* out) {
  *out = 0;
  const TypeID key = StringToTypeID(visible ? "visibleChannels" : "targetChannels");
  if (key == 0) return false;
  ListHolder list;
  if (GetTargetProperty(FourCC("Lyr "), key, list.out(), nullptr) != 0 || !list) return false;
  std::uint32_t count = 0;
  if (ListProcs()->GetCount(list.get(), &count) != 0) return false;
  std::uint32_t mask = 0;
  // A channel that cannot be read makes the whole mask unread: a mask with
  // a channel missing would be taken for another choice.
  for (std::uint32_t i = 0; i < count; ++i) {
    ReferenceHolder element;
    if (ListProcs()->GetReference(list.get(), i, element.out()) != 0 || !element) return false;
    std::uint32_t index = 0;
    if (ReferenceProcs()->GetIndex(element.get(), &index) != 0) return false;
    mask |= ChannelBit(index);
  }
  *out = mask;
  return true;
}

std::uint32_t GetChannelMask(bool visible) {
  std::uint32_t mask = 0;
  ReadChannelMask(visible, &mask);
  return mask;
}

std::int32_t ShowColorChannels() {
  DescriptorHolder descriptor;
  ListHolder channels;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = HostResult(ListProcs()->Make(channels.out()));
  for (TypeID channel : {kRed, kGreen, kBlue}) {
    if (err != 0) break;
    ReferenceHolder reference;
    err = MakeReference(reference);
    if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(reference.get(), kChannel, kChannel, channel));
    if (err == 0) err = HostResult(ListProcs()->PutReference(channels.get(), reference.get()));
  }
  if (err == 0) err = HostResult(DescriptorProcs()->PutList(descriptor.get(), FourCC("null"), channels.get()));
  if (err != 0) return err;
  return PlayDescriptor(FourCC("Shw "), descriptor.get(), kDialogNone);
}

namespace {

// A pair takes two selects. When the second fails the first would be left
// targeted alone, neither the pair nor what was there before: the channels
// targeted before are put back.
void TargetChoice(const ChannelPair& choice) {
  if (choice.extra == 0) {
    SelectChannel(choice.first, 0);
    return;
  }
  std::uint32_t before = 0;
  const bool known = ReadChannelMask(false, &before);
  if (TargetChannel(choice.first, false) != 0) return;
  if (TargetChannel(choice.extra, true) != 0 && known) RetargetColorChannels(before);
}

}  // namespace

void SelectChannelCommand(std::uint32_t id) {
  std::int32_t choice = -1;
  if (id >= kFirstChannelCommand && id <= kLastChannelCommand) {
    choice = std::int32_t(id - kFirstChannelCommand);
    LastChannelChoice = choice;
  } else {
    // Targets that cannot be read are left as they are, not taken for none.
    std::uint32_t mask = 0;
    if (!ReadChannelMask(false, &mask)) return;
    if (mask >= 2) {
      choice = ChannelChoiceOfMask(mask);
      if (choice >= 0) LastChannelChoice = choice;
    } else {
      choice = LastChannelChoice;
    }
  }
  if (choice >= 0 && choice < std::int32_t(kChoices.size())) TargetChoice(kChoices[std::size_t(choice)]);
  if (id != 0 && ShowAllChannels) ShowColorChannels();
}

void ResetChannelChoice() {
  LastChannelChoice = 0;
  ShowAllChannels = false;
}
