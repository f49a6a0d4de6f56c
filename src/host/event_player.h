// Building, playing and reading host events. Every result is the host's
// 16-bit code sign-extended, 0 for success.
#pragma once

#include <cstdint>
#include <string_view>

#include "host_types.h"

using host::FourCC;
using host::TypeID;

constexpr std::int32_t kDialogShow = host::kDialogDisplay;  // the host's own dialog
constexpr std::int32_t kDialogNone = host::kDialogSilent;   // no dialog

// Identifier of a string identifier ("filterMask"); 0 when the host has none.
TypeID StringToTypeID(const char* text);

// Reads one item of a descriptor by its type; see the table in the source.
std::int32_t GetDescriptorItem(host::Descriptor descriptor, TypeID key, void* out, void* extra);
// Reads a key of the current object of a class (key 0: the whole descriptor,
// which the caller frees).
std::int32_t GetTargetProperty(TypeID cls, TypeID key, void* out, void* extra);
// The same for the object of a class at an index (1-based).
std::int32_t GetIndexedProperty(std::uint32_t index, TypeID cls, TypeID key, void* out, void* extra);
// An integer of the current document, -1 when absent.
std::int32_t GetDocumentInteger(TypeID key);

std::int32_t PlayEvent(TypeID event, std::int32_t mode);
// Plays an event with a descriptor the caller built (null for none) and frees
// what the host answered; the caller keeps and frees `params`.
std::int32_t PlayDescriptor(TypeID event, host::Descriptor params, std::int32_t mode);
std::int32_t PlayEventByName(const char* name, std::int32_t mode);
std::int32_t PlayOnTarget(TypeID cls, TypeID enumType, TypeID enumValue, TypeID event,
                          std::int32_t mode);
std::int32_t PlayOnTargetWithFlag(TypeID cls, TypeID enumType, TypeID enumValue, TypeID key,
                                  bool flag, TypeID event, std::int32_t mode);
std::int32_t PlayOnOffset(TypeID cls, std::int32_t offset, TypeID event, std::int32_t mode);
std::int32_t PlayWithFlag(TypeID key, bool flag, TypeID event, std::int32_t mode);
std::int32_t PlayNewAt(TypeID newKey, TypeID newClass, TypeID refClass, TypeID refEnumType,
                       TypeID refEnumValue, TypeID usingKey, TypeID usingEnumType,
                       TypeID usingEnumValue, TypeID event, std::int32_t mode);

std::int32_t FlattenImage();
std::int32_t InvertImage();
std::int32_t MergeLayers();
std::int32_t DuplicateLayer();
std::int32_t DeleteTargetChannel();
std::int32_t SelectLayerMask();
// `slct` of one channel; `extend` adds it to the channels targeted now.
std::int32_t TargetChannel(TypeID channel, bool extend);
std::int32_t SelectChannel(TypeID channel, TypeID extra);
std::int32_t DeleteCurrentHistoryState();

// Properties of the current document and layer; failed reads give the
// documented preset.
bool GetDocumentTitle(char* buffer, std::uint32_t size);
bool IsBackgroundLayer();
bool IsAdjustmentLayer();
bool IsLayerMaskEnabled();
bool IsLayerMaskLinked();
int GetLayerOpacityPercent();
TypeID GetLayerBlendMode();
bool GetLayerName(char* buffer, std::uint32_t size);
bool IsLayerGrouped();
bool IsLayerVisible();
bool GetCurrentHistoryStateName(char* buffer);  // 128 bytes
int GetDocumentColorMode();

// Handles holding text.
void CopyHandleText(host::Handle handle, char* buffer, std::uint32_t size);
std::int32_t MakeTextHandle(const char* text, host::Handle* out);

std::int32_t ReadDocumentWidth(std::int32_t* out);
std::int32_t ReadDocumentHeight(std::int32_t* out);
