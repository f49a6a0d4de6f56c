// The plug-in as the host loads it: the library, its property list and the
// entry point named there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "basic_suite.h"

namespace simapp {

struct PiplProperty {
  std::uint32_t vendor = 0;
  std::uint32_t key = 0;
  std::int32_t id = 0;
  std::string data;
};

// Parses a property list resource (header word 1, version, count, then the
// properties padded to 4 bytes). Returns an empty string on success, else why
// the bytes are not a property list.
std::string ParsePipl(const void* bytes, size_t size, std::vector<PiplProperty>& properties);

class PluginModule {
 public:
  PluginModule() = default;
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;
  ~PluginModule();

  // Loads the library, reads its property list and looks the entry point up.
  // Returns an empty string on success, else what is missing.
  std::string Load(const std::wstring& path);
  void Unload();

  host::EntryPoint Entry() const { return entry_; }
  HMODULE Module() const { return module_; }
  const std::string& EntryName() const { return entryName_; }

 private:
  HMODULE module_ = nullptr;
  host::EntryPoint entry_ = nullptr;
  std::string entryName_;
};

}  // namespace simapp
