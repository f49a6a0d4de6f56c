// The Channels submenu of the Image menu: which colour channels are targeted
// or visible, and choosing one channel or a pair of them.
#pragma once

#include <cstdint>

// Channel bits as the host numbers RGB channels: red 2, green 4, blue 8.
constexpr std::uint32_t kRedBit = 2, kGreenBit = 4, kBlueBit = 8;
constexpr std::uint32_t kAllColorBits = kRedBit | kGreenBit | kBlueBit;

// The last channel command: 0 RGB, 1 Red, 2 Green, 3 Blue, 4 Red + Green,
// 5 Red + Blue, 6 Green + Blue.
extern std::int32_t LastChannelChoice;
// "Show All" of the Channels submenu is on.
extern bool ShowAllChannels;

// The bit of the mask that a channel of this index sets: indices past 31
// wrap round.
constexpr std::uint32_t ChannelBit(std::uint32_t index) { return std::uint32_t(1) << (index % 32); }

// Bit n for each channel of index n in the target layer's visible (or else
// targeted) channels; 0 when the list cannot be read.
std::uint32_t GetChannelMask(bool visible);
// The same, telling a list that cannot be read (false) from an empty one.
bool ReadChannelMask(bool visible, std::uint32_t* mask);

// The choice (0 to 6) a mask of target channels stands for, -1 for none.
constexpr std::int32_t ChannelChoiceOfMask(std::uint32_t mask) {
  switch (mask) {
    case kRedBit: return 1;
    case kGreenBit: return 2;
    case kBlueBit: return 3;
    case kRedBit | kGreenBit: return 4;
    case kRedBit | kBlueBit: return 5;
    case kGreenBit | kBlueBit: return 6;
    case kAllColorBits: return 0;
    default: return -1;
  }
}

// Shows the three colour channels together.
std::int32_t ShowColorChannels();

// Targets the channels of a channel command (0x880F to 0x8815); any other
// identifier (0) re-selects what is targeted now, or the last choice when
// less than one colour channel is targeted. After a command, "Show All"
// brings the three colour channels back into view.
void SelectChannelCommand(std::uint32_t id);

// Resets the choice kept between commands (start-up).
void ResetChannelChoice();
