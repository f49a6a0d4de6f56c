// Basic types, error codes and four-character codes of the host's plug-in
// interface. Widths follow the 32-bit Windows host; pointer-sized values use
// pointer-sized types so the same declarations serve an x86_64 build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace host {

using SPErr = std::int32_t;      // basic suite, ColorSpace suite, callbacks
using ASErr = std::int32_t;      // ZString and JavaScript suites
using OSErr = std::int16_t;      // action, handle and property suites (result in AX)
using SPBoolean = std::int32_t;  // Windows BOOL
using ASBoolean = std::int32_t;
using Boolean = std::uint8_t;    // one-byte flag of the action and handle suites
using ASUnicode = std::uint16_t;

using TypeID = std::uint32_t;    // classes, keys, events, enumerations, units, forms

// Opaque host objects.
struct OpaqueDescriptor;
struct OpaqueReference;
struct OpaqueList;
struct OpaqueZString;
struct OpaquePlugin;
struct OpaqueColor;
struct OpaqueEngine;
using Descriptor = OpaqueDescriptor*;
using Reference = OpaqueReference*;
using List = OpaqueList*;
using ZString = OpaqueZString*;
using PluginRef = OpaquePlugin*;
using ColorID = OpaqueColor*;
using EngineRef = OpaqueEngine*;
using Ptr = char*;
using Handle = char**;

// A four-character code, first character in the most significant byte.
constexpr TypeID FourCC(const char (&code)[5]) {
  return (TypeID(std::uint8_t(code[0])) << 24) | (TypeID(std::uint8_t(code[1])) << 16) |
         (TypeID(std::uint8_t(code[2])) << 8) | TypeID(std::uint8_t(code[3]));
}

// Result codes.
constexpr SPErr kNoError = 0;
constexpr SPErr kUnimplementedError = 0x21494D50;  // '!IMP'
constexpr SPErr kBadParameterError = 0x5061726D;   // 'Parm'
constexpr SPErr kSuiteNotFoundError = 0x53214664;  // 'S!Fd'
constexpr SPErr kInterruptedError = 0x696E7472;    // 'intr': a cancelled command
constexpr SPErr kScriptError = 0x53634572;         // 'ScEr'
constexpr std::int16_t kUserCanceledErr = -128;
constexpr std::int16_t kParamErr = -50;
constexpr std::int16_t kMemFullErr = -108;
constexpr std::int16_t kNilHandleErr = -109;
constexpr std::int16_t kHostInsufficientErr = -30900;
constexpr std::int16_t kReportStringErr = -30904;
constexpr SPErr kCheckValid = 0x5350436B;          // 'SPCk'

// Descriptor value types (GetType answers).
constexpr TypeID kTypeInteger = FourCC("long");
constexpr TypeID kTypeFloat = FourCC("doub");
constexpr TypeID kTypeUnitFloat = FourCC("UntF");
constexpr TypeID kTypeText = FourCC("TEXT");
constexpr TypeID kTypeBoolean = FourCC("bool");
constexpr TypeID kTypeEnumerated = FourCC("enum");
constexpr TypeID kTypeObject = FourCC("Objc");
constexpr TypeID kTypeGlobalObject = FourCC("GlbO");
constexpr TypeID kTypeList = FourCC("VlLs");
constexpr TypeID kTypeReference = FourCC("obj ");
constexpr TypeID kTypeClass = FourCC("type");
constexpr TypeID kTypeGlobalClass = FourCC("GlbC");
constexpr TypeID kTypeAlias = FourCC("alis");
constexpr TypeID kTypePath = FourCC("Pth ");
constexpr TypeID kTypeRawData = FourCC("tdta");
constexpr TypeID kTypeInteger64 = FourCC("comp");

// Reference forms (GetForm answers).
constexpr TypeID kFormClass = FourCC("Clss");
constexpr TypeID kFormEnumerated = FourCC("Enmr");
constexpr TypeID kFormIdentifier = FourCC("Idnt");
constexpr TypeID kFormIndex = FourCC("indx");
constexpr TypeID kFormName = FourCC("name");
constexpr TypeID kFormOffset = FourCC("rele");
constexpr TypeID kFormProperty = FourCC("prop");

// Dialog modes of a played event.
constexpr std::int32_t kDialogDisplay = 1;
constexpr std::int32_t kDialogSilent = 2;

}  // namespace host
