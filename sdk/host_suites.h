// The UI hooks, handle, ZString, property, ColorSpace and JavaScript suites.
#pragma once

#include "host_types.h"

namespace host {

extern "C" {

struct UIHooksSuite {
  void (*ProcessEvent)(void* event);                                                  // 1
  OSErr (*DisplayPixels)(const void* pixels, const void* rect, std::int32_t dstRow,
                         std::int32_t dstCol, void* platformContext);                 // 2
  void (*ProgressBar)(std::int32_t done, std::int32_t total);                         // 3
  Boolean (*TestAbort)();                                                             // 4
  std::intptr_t (*MainAppWindow)();                                                   // 5
  SPErr (*SetCursor)(const char* cursorID);                                           // 6
  std::uint32_t (*TickCount)();                                                       // 7
  SPErr (*GetPluginName)(PluginRef plugin, ZString* name);                            // 8
};

struct HandleSuite {
  Handle (*New)(std::int32_t size);                                                   // 1
  void (*Dispose)(Handle h);                                                          // 2
  void (*DisposeRegularHandle)(Handle h);                                             // 3 (v2)
  void (*SetLock)(Handle h, Boolean lock, Ptr* address, Boolean* oldLock);            // 4
  std::int32_t (*GetSize)(Handle h);                                                  // 5
  OSErr (*SetSize)(Handle h, std::int32_t size);                                      // 6
  void (*RecoverSpace)(std::int32_t size);                                            // 7
};

struct ZStringSuite {
  ASErr (*MakeFromUnicode)(ASUnicode* src, std::size_t count, ZString* out);          // 1
  ASErr (*MakeFromCString)(const char* src, std::size_t byteCount, ZString* out);     // 2
  ASErr (*MakeFromPascalString)(const std::uint8_t* src, std::size_t byteCount, ZString* out);  // 3
  ASErr (*MakeRomanizationOfInteger)(std::int32_t value, ZString* out);               // 4
  ASErr (*MakeRomanizationOfFixed)(std::int32_t value, std::int16_t places, ASBoolean trim,
                                   ASBoolean isSigned, ZString* out);                 // 5
  ASErr (*MakeRomanizationOfDouble)(double value, ZString* out);                      // 6
  ZString (*GetEmpty)();                                                              // 7
  ASErr (*Copy)(ZString src, ZString* out);                                           // 8
  ASErr (*Replace)(ZString z, std::uint32_t index, ZString replacement);              // 9
  ASErr (*TrimEllipsis)(ZString z);                                                   // 10
  ASErr (*TrimSpaces)(ZString z);                                                     // 11
  ASErr (*RemoveAccelerators)(ZString z);                                             // 12
  ASErr (*AddRef)(ZString z);                                                         // 13
  ASErr (*Release)(ZString z);                                                        // 14
  ASBoolean (*IsAllWhiteSpace)(ZString z);                                            // 15
  ASBoolean (*IsEmpty)(ZString z);                                                    // 16
  ASBoolean (*WillReplace)(ZString z, std::uint32_t index);                           // 17
  std::uint32_t (*LengthAsUnicodeCString)(ZString z);                                 // 18
  ASErr (*AsUnicodeCString)(ZString z, ASUnicode* buffer, std::uint32_t size, ASBoolean checkSize);  // 19
  std::uint32_t (*LengthAsCString)(ZString z);                                        // 20
  ASErr (*AsCString)(ZString z, char* buffer, std::uint32_t size, ASBoolean checkSize);  // 21
  std::uint32_t (*LengthAsPascalString)(ZString z);                                   // 22
  ASErr (*AsPascalString)(ZString z, char* buffer, std::uint32_t size, ASBoolean checkSize);  // 23
};

// The property suite record starts with two 16-bit fields, not a function.
struct PropertySuite {
  std::int16_t version;  // 1
  std::int16_t count;    // 2
  OSErr (*GetProperty)(TypeID signature, TypeID key, std::int32_t index, std::intptr_t* simple,
                       Handle* complex);
  OSErr (*SetProperty)(TypeID signature, TypeID key, std::int32_t index, std::intptr_t simple,
                       Handle complex);
};

struct XYZColor {
  std::uint16_t x, y, z;
};

struct ColorSpaceSuite {
  SPErr (*Make)(ColorID* out);                                                        // 1
  SPErr (*Delete)(ColorID* color);                                                    // 2
  SPErr (*StuffComponents)(ColorID color, std::int16_t space, std::uint8_t c0, std::uint8_t c1,
                           std::uint8_t c2, std::uint8_t c3);                         // 3
  SPErr (*ExtractComponents)(ColorID color, std::int16_t space, std::uint8_t* c0,
                             std::uint8_t* c1, std::uint8_t* c2, std::uint8_t* c3,
                             Boolean* outOfGamut);                                    // 4
  SPErr (*StuffXYZ)(ColorID color, XYZColor xyz);                                     // 5
  SPErr (*ExtractXYZ)(ColorID color, XYZColor* xyz);                                  // 6
  SPErr (*Convert8)(std::int16_t from, std::int16_t to, std::uint8_t (*colors)[4], std::int16_t count);  // 7
  SPErr (*Convert16)(std::int16_t from, std::int16_t to, std::uint16_t (*colors)[4], std::int16_t count);  // 8
  SPErr (*GetNativeSpace)(ColorID color, std::int16_t* space);                        // 9
  SPErr (*IsBookColor)(ColorID color, Boolean* book);                                 // 10
  SPErr (*ExtractColorName)(ColorID color, ZString* name);                            // 11
  SPErr (*PickColor)(ColorID* color, ZString prompt);                                 // 12
  SPErr (*Convert8to16)(std::uint8_t* in, std::uint16_t* out, std::int16_t count);    // 13
  SPErr (*Convert16to8)(std::uint16_t* in, std::uint8_t* out, std::int16_t count);    // 14
  SPErr (*ConvertToMonitorRGB)(std::int16_t space, std::uint8_t (*in)[4], std::uint8_t (*out)[4],
                               std::int16_t count);                                   // 15
};

struct JavaScriptSuite {
  ASBoolean (*ScriptIsRunning)();                                                     // 1
  ASErr (*CreateEngine)(EngineRef* engine);                                           // 2
  ASErr (*DeleteEngine)(EngineRef engine);                                            // 3
  ASErr (*SetIncludePath)(EngineRef engine, const ASUnicode* path);                   // 4
  ASErr (*GetIncludePath)(EngineRef engine, ASUnicode* buffer, long* sizeInUnits);    // 5
  ASErr (*ExecuteScript)(EngineRef engine, const ASUnicode* script, int mode,
                         const ASUnicode** result);                                   // 6
  ASErr (*CreateEngineAPE)(EngineRef* engine, std::intptr_t options);                 // 7 (v2)
};

}  // extern "C"

static_assert(sizeof(UIHooksSuite) == 8 * sizeof(void*));
static_assert(sizeof(HandleSuite) == 7 * sizeof(void*));
static_assert(sizeof(ZStringSuite) == 23 * sizeof(void*));
static_assert(sizeof(ColorSpaceSuite) == 15 * sizeof(void*));
static_assert(sizeof(JavaScriptSuite) == 7 * sizeof(void*));
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PropertySuite) == 12);
static_assert(sizeof(XYZColor) == 6);
#endif

constexpr const char* kUIHooksSuiteName = "Photoshop UIHooks Suite for Plug-ins";
constexpr const char* kHandleSuiteName = "Photoshop Handle Suite for Plug-ins";
constexpr const char* kZStringSuiteName = "AS ZString Suite";
constexpr const char* kPropertySuiteName = "Photoshop Property Suite for Plug-ins";
constexpr const char* kColorSpaceSuiteName = "Photoshop ColorSpace Suite for Plug-ins";
constexpr const char* kJavaScriptSuiteName = "JavaScript Scripting Suite";

constexpr TypeID kHostSignature = FourCC("8BIM");
constexpr TypeID kPropDocumentWidth = FourCC("docW");
constexpr TypeID kPropDocumentHeight = FourCC("docH");
constexpr TypeID kPropDocumentTitle = FourCC("titl");

}  // namespace host
