#include "modes/quick_mask.h"

#include <cstring>
#include <memory>

#include "commands/channels.h"
#include "commands/masks.h"
#include "entry/messages.h"
#include "entry/module_state.h"
#include "host/event_player.h"
#include "host/history_step.h"
#include "host/host_objects.h"
#include "host/layer_queries.h"
#include "menus/command_table.h"
#include "modes/document_steps.h"
#include "ui/panel_buttons.h"

bool QuickMaskActive = false;
bool SixteenBitQuickMask = false;
bool SixteenBitNoticeShown = false;

namespace {

constexpr std::int32_t kCancelled = host::kInterruptedError;
constexpr std::size_t kQuickMaskRow = 101;
constexpr std::size_t kTransformSelectionRow = 100;
constexpr std::uint32_t kTitleSize = 512;
constexpr std::int32_t kNoSuchObject = -1728;  // the host's answer for a name it does not know

// Allocated on a 16-bit entry, released on leaving.
std::unique_ptr<char[]> SourceTitle;
bool LeftNothing = false;

// Any step that fails ends the command: the host drops its step, and with
// it everything played before, instead of keeping half a mode.
bool Failed(std::int32_t result) { return result != 0; }

std::int32_t MakeQuickMaskChannel() {
  DescriptorHolder descriptor;
  DescriptorHolder channel;
  DescriptorHolder color;
  const host::DescriptorSuite* d = DescriptorProcs();
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeDescriptor(channel);
  if (err == 0) err = MakeDescriptor(color);
  if (err == 0) err = HostResult(d->PutString(channel.get(), FourCC("Nm  "), QuickMaskChannelName()));
  // The colour marks the masked areas, as the editor's own quick mask does.
  if (err == 0) err = HostResult(d->PutEnumerated(channel.get(), FourCC("ClrI"), FourCC("MskI"), FourCC("MskA")));
  if (err == 0) err = HostResult(d->PutFloat(color.get(), FourCC("Rd  "), 255.0));
  if (err == 0) err = HostResult(d->PutFloat(color.get(), FourCC("Grn "), 0.0));
  if (err == 0) err = HostResult(d->PutFloat(color.get(), FourCC("Bl  "), 0.0));
  if (err == 0) err = HostResult(d->PutObject(channel.get(), FourCC("Clr "), FourCC("RGBC"), color.get()));
  if (err == 0) err = HostResult(d->PutInteger(channel.get(), FourCC("Opct"), 50));
  if (err == 0) err = HostResult(d->PutObject(descriptor.get(), FourCC("Nw  "), FourCC("Chnl"), channel.get()));
  if (err != 0) return err;
  return PlayDescriptor(FourCC("Mk  "), descriptor.get(), kDialogNone);
}

// Deletes the quick-mask channel: selected by name first, so that whatever
// channel the user targeted meanwhile is never the one deleted.
std::int32_t DeleteQuickMaskChannel() {
  if (const std::int32_t selected = SelectChannelByName(QuickMaskChannelName()); selected != 0) return selected;
  return DeleteTargetChannel();
}

std::int32_t EnterNormally() {
  SixteenBitQuickMask = false;
  const int v = HostMajorVersion;
  const char* name = QuickMaskChannelName();
  if (v >= 4 && v <= 5) {
    if (Failed(SaveSelectionAsChannel(name, kDialogNone)) || Failed(SelectChannelByName(name)) ||
        Failed(ShowColorChannels()) || Failed(Deselect()))
      return kCancelled;
    return 0;
  }
  if (Failed(MakeQuickMaskChannel()) || Failed(ShowColorChannels())) return kCancelled;
  // Unread, the selection would be taken for none and left out of the mask.
  const int selection = v >= 6 ? ReadSelectionState() : 1;
  if (selection < 0) return kCancelled;
  if (selection == 1 && (Failed(FillSelection(FourCC("Wht "))) || Failed(Deselect()))) return kCancelled;
  return 0;
}

std::int32_t EnterWithWorkingDocument() {
  if (!SixteenBitNoticeShown) {
    ShowMessage(QuickMaskDocumentTitle(), "%s", FeatureMessageTable[1]);
    SixteenBitNoticeShown = true;
  }
  auto title = std::make_unique<char[]>(kTitleSize);
  // Without its title the mask could not be carried back to the document.
  if (!ReadDocumentTitle(title.get(), kTitleSize)) return kCancelled;
  const char* name = QuickMaskChannelName();
  const char* working = QuickMaskDocumentTitle();
  if (Failed(MakeQuickMaskChannel())) return kCancelled;
  const int selection = ReadSelectionState();
  if (selection < 0) return kCancelled;
  if (selection == 1 && (Failed(FillSelection(FourCC("Wht "))) || Failed(ShowColorChannels()))) return kCancelled;
  const std::int32_t a = GetDocumentInteger(FourCC("ItmI"));
  if (a < 1 || Failed(DuplicateDocument(working))) return kCancelled;
  const std::int32_t b = GetDocumentInteger(FourCC("ItmI"));
  if (b < 1 || b == a || Failed(ConvertToEightBits())) return kCancelled;
  if (Failed(SelectDocumentByOffset(a - b)) || Failed(DuplicateChannelToDocument(name, working)) ||
      Failed(DeleteQuickMaskChannel()) || Failed(SelectDocumentByOffset(b - a)))
    return kCancelled;
  if (Failed(SelectChannelByName(name)) || Failed(ShowColorChannels())) return kCancelled;
  SourceTitle = std::move(title);
  SixteenBitQuickMask = true;
  return 0;
}

// Whether the current document has a channel of this name; -1 when the
// host did not answer otherwise than that it has none.
int HasChannelNamed(const char* name) {
  ReferenceHolder reference;
  DescriptorHolder answer;
  std::int32_t err = MakeReference(reference);
  if (err == 0) err = HostResult(ReferenceProcs()->PutName(reference.get(), FourCC("Chnl"), name));
  if (err == 0) err = HostResult(ControlProcs()->Get(answer.out(), reference.get()));
  if (err == 0) return 1;
  return err == kNoSuchObject ? 0 : -1;
}

bool TitleIs(const char* expected) {
  char title[kTitleSize] = {};
  return ReadDocumentTitle(title, sizeof title) && std::strcmp(title, expected) == 0;
}

}  // namespace

const char* QuickMaskChannelName() { return HostIsGerman ? "Schnellmaskierung" : "Quick Mask"; }
const char* QuickMaskDocumentTitle() { return HostIsGerman ? "Maskierungsmodus" : "Quick Mask Mode"; }
const char* SourceDocumentTitle() { return SourceTitle.get(); }

void SetQuickMaskActive(bool active) {
  const bool changed = QuickMaskActive != active;
  QuickMaskActive = active;
  CommandTable[kQuickMaskRow].Checked = active ? 1 : 0;
  // The toolbar's button shows the mode.
  if (changed) RefreshQuickMaskButton();
}

std::int32_t EnterQuickMask() {
  const int mode = GetDocumentColorMode();
  // Unread, a 16-bit document would take the mask in place.
  if (mode < 0) return kCancelled;
  // Most tools work on 8 bits only: a deeper document gets a working copy.
  if (mode >= 10 && HostIsElements && HostMajorVersion >= 6) return EnterWithWorkingDocument();
  return EnterNormally();
}

std::int32_t LeaveQuickMask() {
  LeftNothing = false;
  const char* name = QuickMaskChannelName();
  if (!SixteenBitQuickMask) {
    // The channel deleted, or the document it was in closed: the mode is
    // over, with nothing to load.
    const int has = HasChannelNamed(name);
    if (has < 0) return kCancelled;
    if (has == 0) {
      LeftNothing = true;
      return kCancelled;
    }
    if (Failed(LoadSelectionFromNamedChannel(name)) || Failed(DeleteQuickMaskChannel())) return kCancelled;
    return 0;
  }
  const char* working = QuickMaskDocumentTitle();
  // The working document closed by the user leaves nothing to carry back;
  // the 16-bit document is not touched.
  if (!SourceTitle || (!TitleIs(working) && (!ActivateDocumentByTitle(working) || !TitleIs(working)))) {
    LeftNothing = true;
    return kCancelled;
  }
  const char* source = SourceTitle.get();
  if (Failed(DuplicateChannelToDocument(name, source))) return kCancelled;
  // The working document is closed only once its mask is in the source.
  if (HostMajorVersion >= 11 && Failed(CloseDocument(false))) return kCancelled;
  if (!TitleIs(source) && !ActivateDocumentByTitle(source)) return kCancelled;
  if (Failed(LoadSelectionFromNamedChannel(name)) || Failed(DeleteQuickMaskChannel())) return kCancelled;
  SourceTitle.reset();
  if (HostMajorVersion < 11 && MainWindow) SetTimer(MainWindow, kQuickMaskCloseTimer, kQuickMaskCloseDelay, nullptr);
  return 0;
}

bool QuickMaskLeftNothing() { return LeftNothing; }

std::int32_t QuickMaskOptions() {
  DescriptorHolder descriptor;
  DescriptorHolder channel;
  ReferenceHolder target;
  const host::DescriptorSuite* d = DescriptorProcs();
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = MakeDescriptor(channel);
  if (err == 0) err = MakeReference(target);
  if (err == 0) err = HostResult(ReferenceProcs()->PutEnumerated(target.get(), FourCC("Chnl"), FourCC("Ordn"), FourCC("Trgt")));
  if (err == 0) err = HostResult(d->PutReference(descriptor.get(), FourCC("null"), target.get()));
  if (err == 0) err = HostResult(d->PutString(channel.get(), FourCC("Nm  "), QuickMaskChannelName()));
  if (err == 0) err = HostResult(d->PutObject(descriptor.get(), FourCC("T   "), FourCC("Chnl"), channel.get()));
  if (err != 0) return err;
  return PlayDescriptor(FourCC("setd"), descriptor.get(), kDialogShow);
}

namespace {

// The transform as one step of the document: a part that fails, the
// transform cancelled included, drops it, and with it the temporary layer.
host::SPErr TransformSelectionStep(void*) {
  try {
    const char* name = HostIsGerman ? "Auswahl transformieren" : "Transform Selection";
    // Without the temporary layer the steps below would fill, hide and
    // delete a layer of the user's.
    if (MakeLayer(name) != 0 || FillSelection(FourCC("Blck")) != 0 || SetLayerOpacity(0.0) != 0 ||
        FreeTransformTarget() != 0 || SetLayerOpacity(100.0) != 0 || DeleteLayer(name) != 0)
      return kCancelled;
    return 0;
  } catch (...) {
    return kCancelled;
  }
}

}  // namespace

std::int32_t TransformSelection() {
  // The oldest editors cannot tell whether there is a selection.
  if (!(HostIsElements && HostMajorVersion < 6) && ReadSelectionState() != 1) return 0;
  return RunHistoryStep(TransformSelectionStep, nullptr, MenuLabels[kTransformSelectionRow]) == 0 ? 1 : 0;
}

void OnQuickMaskCloseTimer(HWND window) {
  KillTimer(window, kQuickMaskCloseTimer);
  char previous[kTitleSize] = {};
  ReadDocumentTitle(previous, sizeof previous);
  const char* working = QuickMaskDocumentTitle();
  // Only the working document itself, found by its exact title, is closed.
  if (!ActivateDocumentByTitle(working) || !TitleIs(working)) return;
  if (CloseDocument(false) != 0) return;
  // The document the user was on comes back to the front.
  if (previous[0] && std::strcmp(previous, working) != 0 && !TitleIs(previous)) ActivateDocumentByTitle(previous);
}

void ResetQuickMask() {
  if (MainWindow) KillTimer(MainWindow, kQuickMaskCloseTimer);
  SetQuickMaskActive(false);
  SixteenBitQuickMask = false;
  SixteenBitNoticeShown = false;
  SourceTitle.reset();
  LeftNothing = false;
}
