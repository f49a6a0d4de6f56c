#include "plugin_module.h"

#include <cstring>

#include "pipl.h"
#include "text.h"

namespace simapp {
namespace {

std::uint32_t ReadU32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

}  // namespace

std::string ParsePipl(const void* bytes, size_t size, std::vector<PiplProperty>& properties) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  if (size < 10) return "the property list is shorter than its header";
  if ((p[0] | (p[1] << 8)) != 1) return "the property list does not start with the word 1";
  const std::uint32_t count = ReadU32(p + 6);
  size_t at = 10;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (size - at < 16) return "property " + std::to_string(i) + " runs past the end of the list";
    PiplProperty prop;
    prop.vendor = ReadU32(p + at);
    prop.key = ReadU32(p + at + 4);
    prop.id = std::int32_t(ReadU32(p + at + 8));
    const std::uint32_t length = ReadU32(p + at + 12);
    at += 16;
    if (length > size - at) return "property " + std::to_string(i) + " runs past the end of the list";
    prop.data.assign(reinterpret_cast<const char*>(p + at), length);
    // Writers round the recorded length up or not; the data is padded either way.
    at += std::min<size_t>((size_t(length) + 3) & ~size_t(3), size - at);
    properties.push_back(std::move(prop));
  }
  return {};
}

PluginModule::~PluginModule() { Unload(); }

std::string PluginModule::Load(const std::wstring& path) {
  Unload();
  module_ = LoadLibraryW(path.c_str());
  if (!module_) return "the plug-in " + Narrow(path) + " cannot be loaded (error " + std::to_string(GetLastError()) + ")";
  HRSRC resource = FindResourceW(module_, MAKEINTRESOURCEW(PIPL_RESOURCE_ID), L"PIPL");
  HGLOBAL loaded = resource ? LoadResource(module_, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return "the plug-in has no PIPL resource " + std::to_string(PIPL_RESOURCE_ID);
  std::vector<PiplProperty> properties;
  if (std::string e = ParsePipl(bytes, SizeofResource(module_, resource), properties); !e.empty())
    return "the plug-in's PIPL resource is damaged: " + e;
  // A 64-bit host prefers its own entry property and falls back on the 32-bit one.
  const std::uint32_t preferred = sizeof(void*) == 8 ? host::kPropEntryX64 : host::kPropEntryX86;
  const PiplProperty* found = nullptr;
  for (const PiplProperty& prop : properties)
    if (prop.vendor == host::kVendorHost && (prop.key == host::kPropEntryX86 || prop.key == host::kPropEntryX64))
      if (!found || prop.key == preferred) found = &prop;
  if (!found) return "the plug-in's PIPL names no entry point";
  entryName_ = std::string(found->data.c_str());  // up to the terminating zero
  entry_ = reinterpret_cast<host::EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, entryName_.c_str())));
  if (!entry_) return "the plug-in exports no " + entryName_;
  return {};
}

void PluginModule::Unload() {
  entry_ = nullptr;
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}

}  // namespace simapp
