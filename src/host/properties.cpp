// Properties of the current document and layer, and the handle and property
// suite services.
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "host/event_player.h"
#include "host/host_objects.h"

namespace {

constexpr TypeID kDocument = FourCC("Dcmn");
constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kHistoryState = FourCC("HstS");

bool LayerFlag(TypeID key) {
  host::Boolean value = 0;
  GetTargetProperty(kLayer, key, &value, nullptr);
  return value != 0;
}

bool ReadText(TypeID cls, TypeID key, char* buffer, std::uint32_t size) {
  if (!buffer || size == 0) return false;
  std::uint32_t extra = size;
  return GetTargetProperty(cls, key, buffer, &extra) == 0;
}

// Colour modes by their host names; the index is the mode number for 8 bits.
constexpr std::array<std::string_view, 14> ColorModeTable = {
    "bitmap", "grayScale", "indexedColor", "RGBColor", "CMYKColor", "HSLColor", "HSBColor",
    "multichannel", "duotone", "labColor", "gray16", "RGB48", "lab48", "CMYK64"};

enum ColorModeIndex { kGrayScale = 1, kRGB = 3, kCMYK = 4, kMultichannel = 7, kDuotone = 8, kLab = 9 };

int ColorModeIndexOf(std::string_view name) {
  for (std::size_t i = 0; i < ColorModeTable.size(); ++i) {
    if (name.substr(0, ColorModeTable[i].size()) == ColorModeTable[i]) return int(i);
  }
  return -1;
}

}  // namespace

bool GetDocumentTitle(char* buffer, std::uint32_t size) {
  return ReadText(kDocument, FourCC("Ttl "), buffer, size);
}

bool IsBackgroundLayer() { return LayerFlag(FourCC("Bckg")); }

bool IsAdjustmentLayer() {
  ListHolder list;
  const std::int32_t err = GetTargetProperty(kLayer, FourCC("Adjs"), list.out(), nullptr);
  return err == 0 && list;
}

bool IsLayerMaskEnabled() { return LayerFlag(FourCC("UsrM")); }
bool IsLayerMaskLinked() { return LayerFlag(FourCC("Usrs")); }
bool IsLayerGrouped() { return LayerFlag(FourCC("Grup")); }
bool IsLayerVisible() { return LayerFlag(FourCC("Vsbl")); }

int GetLayerOpacityPercent() {
  std::int32_t opacity = 255;
  GetTargetProperty(kLayer, FourCC("Opct"), &opacity, nullptr);
  return opacity * 100 / 255;
}

TypeID GetLayerBlendMode() {
  TypeID mode = 0;
  TypeID type = 0;
  if (GetTargetProperty(kLayer, FourCC("Md  "), &mode, &type) != 0) return 0;
  return mode;
}

bool GetLayerName(char* buffer, std::uint32_t size) {
  const TypeID cls = IsBackgroundLayer() ? FourCC("BckL") : kLayer;
  return ReadText(cls, FourCC("Nm  "), buffer, size);
}

bool GetCurrentHistoryStateName(char* buffer) {
  constexpr std::uint32_t kSize = 128;
  std::int32_t count = 0;
  if (GetTargetProperty(kHistoryState, FourCC("Cnt "), &count, nullptr) != 0) return false;
  for (std::int32_t index = 1; index <= count; ++index) {
    DescriptorHolder state;
    if (GetIndexedProperty(std::uint32_t(index), kHistoryState, 0, state.out(), nullptr) != 0) return false;
    host::Boolean current = 0;
    if (GetDescriptorItem(state.get(), FourCC("CrnH"), &current, nullptr) != 0) return false;
    if (current) {
      std::uint32_t extra = kSize;
      return GetDescriptorItem(state.get(), FourCC("Nm  "), buffer, &extra) == 0;
    }
  }
  return true;
}

int GetDocumentColorMode() {
  const std::int32_t depth = GetDocumentInteger(FourCC("Dpth"));
  if (depth == -1) return -1;
  TypeID mode = 0;
  TypeID type = 0;
  if (GetTargetProperty(kDocument, FourCC("Md  "), &mode, &type) != 0) return -1;
  char name[256] = {};
  if (ControlProcs()->TypeIDToStringID(mode, name, sizeof name) != 0) return -1;
  name[sizeof name - 1] = '\0';
  const int index = ColorModeIndexOf(name);
  if (index < 0) return -1;
  if (depth == 16) {
    switch (index) {
      case kGrayScale: return 10;
      case kRGB: return 11;
      case kLab: return 12;
      case kCMYK: return 13;
      case kMultichannel: return 14;
      case kDuotone: return 15;
      default: return index;
    }
  }
  if (depth == 32) {
    if (index == kRGB) return 16;
    if (index == kGrayScale) return 17;
  }
  return index;
}

namespace {
// SetLock answers nothing, so a host that dropped the call shows it only by
// leaving the old state it reports untouched.
constexpr host::Boolean kUntouched = 2;

// Asked once more when dropped, since a handle left locked can be neither
// resized nor disposed.
void RestoreLock(const host::HandleSuite* h, host::Handle handle, host::Boolean lock) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    host::Ptr ignored = nullptr;
    host::Boolean wasLocked = kUntouched;
    h->SetLock(handle, lock, &ignored, &wasLocked);
    if (wasLocked != kUntouched) return;
  }
}
}  // namespace

void CopyHandleText(host::Handle handle, char* buffer, std::uint32_t size) {
  if (!buffer || size == 0) return;
  buffer[0] = '\0';
  if (!handle) return;
  const host::HandleSuite* h = HandleProcs();
  host::Ptr text = nullptr;
  host::Boolean oldLock = kUntouched;
  h->SetLock(handle, 1, &text, &oldLock);
  if (text) {
    // Never read past the handle, even when its text lacks a terminator.
    const std::int32_t handleSize = h->GetSize(handle);
    const std::size_t limit = std::min<std::size_t>(size - 1, handleSize > 0 ? std::size_t(handleSize) : 0);
    const std::size_t length = strnlen(text, limit);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
  }
  if (oldLock != kUntouched) RestoreLock(h, handle, oldLock);
}

std::int32_t MakeTextHandle(const char* text, host::Handle* out) {
  if (!out) return host::kBadParameterError;
  *out = nullptr;
  if (!text) return host::kBadParameterError;
  const std::size_t length = std::strlen(text);
  const host::HandleSuite* h = HandleProcs();
  host::Handle handle = h->New(std::int32_t(length + 1));
  if (!handle) return host::kMemFullErr;
  host::Ptr address = nullptr;
  host::Boolean oldLock = kUntouched;
  h->SetLock(handle, 1, &address, &oldLock);
  if (!address) {
    if (oldLock != kUntouched) RestoreLock(h, handle, 0);
    h->Dispose(handle);
    return host::kMemFullErr;
  }
  std::memcpy(address, text, length + 1);
  RestoreLock(h, handle, 0);
  *out = handle;
  return 0;
}

namespace {
std::int32_t ReadSimpleProperty(TypeID key, std::int32_t* out) {
  if (!out) return host::kBadParameterError;
  // The host writes a pointer-sized value; read it whole, then narrow.
  std::intptr_t value = *out;
  const std::int32_t err =
      HostResult(PropertyProcs()->GetProperty(host::kHostSignature, key, 0, &value, nullptr));
  if (err == 0) *out = std::int32_t(value);
  return err;
}
}  // namespace

std::int32_t ReadDocumentWidth(std::int32_t* out) { return ReadSimpleProperty(host::kPropDocumentWidth, out); }
std::int32_t ReadDocumentHeight(std::int32_t* out) { return ReadSimpleProperty(host::kPropDocumentHeight, out); }
