#include "adjustments/direct_adjustment.h"

#include "host/event_player.h"
#include "host/host_objects.h"

namespace {

constexpr TypeID kChannelMixer = FourCC("ChnM");
constexpr TypeID kMix = FourCC("ChMx");

// The Channel Mixer opens on the identity mix: each output channel takes
// 100 % of itself, so the dialog starts from the image as it is.
std::int32_t PutIdentityMix(host::Descriptor descriptor) {
  const host::DescriptorSuite* d = DescriptorProcs();
  std::int32_t err = HostResult(d->PutEnumerated(descriptor, StringToTypeID("presetKind"),
                                                 StringToTypeID("presetKindType"),
                                                 StringToTypeID("presetKindDefault")));
  for (TypeID channel : {FourCC("Rd  "), FourCC("Grn "), FourCC("Bl  ")}) {
    if (err != 0) break;
    DescriptorHolder mix;
    err = MakeDescriptor(mix);
    if (err == 0) err = HostResult(d->PutUnitFloat(mix.get(), channel, FourCC("#Prc"), 100.0));
    if (err == 0) err = HostResult(d->PutObject(descriptor, channel, kMix, mix.get()));
  }
  return err;
}

}  // namespace

std::int32_t ApplyAdjustmentDirectly(host::TypeID event) {
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0 && event == kChannelMixer) err = PutIdentityMix(descriptor.get());
  if (err != 0) return err;
  return PlayDescriptor(event, descriptor.get(), kDialogShow);
}
