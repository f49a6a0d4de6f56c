// Plug-in property list constants. Usable from C++ and from the resource
// compiler (no C++ in the preprocessor part).
#pragma once

#define PIPL_RESOURCE_ID 18500

#ifndef RC_INVOKED
#include <cstdint>
namespace host {
constexpr std::uint32_t kVendorHost = 0x3842494D;     // '8BIM'
constexpr std::uint32_t kVendorAdobe = 0x41444245;    // 'ADBE'
constexpr std::uint32_t kPropKind = 0x6B696E64;       // 'kind'
constexpr std::uint32_t kPropName = 0x6E616D65;       // 'name'
constexpr std::uint32_t kPropCategory = 0x63617467;   // 'catg'
constexpr std::uint32_t kPropVersion = 0x76657273;    // 'vers'
constexpr std::uint32_t kPropEntryX86 = 0x77783836;   // 'wx86'
constexpr std::uint32_t kPropEntryX64 = 0x38363634;   // '8664'
constexpr std::uint32_t kPropPersistent = 0x70727374; // 'prst'
constexpr std::uint32_t kPropMessages = 0x4163704D;   // 'AcpM'
constexpr std::uint32_t kKindAutomation = 0x384C495A; // '8LIZ'
}  // namespace host
#endif
