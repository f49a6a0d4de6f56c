// The basic suite and the message records the entry point receives.
#pragma once

#include "host_types.h"

namespace host {

extern "C" {

struct BasicSuite {
  SPErr (*AcquireSuite)(const char* name, std::int32_t version, const void** suite);
  SPErr (*ReleaseSuite)(const char* name, std::int32_t version);
  SPBoolean (*IsEqual)(const char* a, const char* b);
  SPErr (*AllocateBlock)(std::size_t size, void** block);
  SPErr (*FreeBlock)(void* block);
  SPErr (*ReallocateBlock)(void* block, std::size_t size, void** newBlock);
  SPErr (*Undefined)();
};

// First member of every message.
struct MessageData {
  std::int32_t check;  // kCheckValid
  PluginRef self;
  void* globals;
  BasicSuite* basic;
};

// "SP Interface": "Startup", "Shutdown", "About".
struct InterfaceMessage {
  MessageData d;
};

#pragma pack(push, 1)
struct ActionParameters {
  std::int32_t playInfo;    // 0 no dialog, 1 display, 2 silent
  std::int32_t recordInfo;  // 0 optional, 1 required, 2 none
  Descriptor descriptor;
};
#pragma pack(pop)

// "PS Photoshop": "Do It".
struct ActionsMessage {
  MessageData d;
  ActionParameters* actionParameters;
};

using EntryPoint = SPErr (*)(const char* caller, const char* selector, void* message);

}  // extern "C"

static_assert(sizeof(BasicSuite) == 7 * sizeof(void*));
static_assert(sizeof(MessageData) == 4 * sizeof(void*));
static_assert(sizeof(ActionParameters) == 8 + sizeof(void*));

constexpr const char* kBasicSuiteName = "SP Basic Suite";
constexpr std::int32_t kBasicSuiteVersion = 4;

constexpr const char* kCallerInterface = "SP Interface";
constexpr const char* kCallerActions = "PS Photoshop";
constexpr const char* kSelectorStartup = "Startup";
constexpr const char* kSelectorShutdown = "Shutdown";
constexpr const char* kSelectorAbout = "About";
constexpr const char* kSelectorDoIt = "Do It";

}  // namespace host
