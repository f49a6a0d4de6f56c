// The version resource of the per-run copy of the editor: the plug-in takes
// the host's major version from it.
#pragma once

#include <string>

namespace simapp {

// Replaces the version resource of the executable at `path` with one for
// `major`.0.0.0; major 0 removes the version resource. Returns an empty
// string on success, else what failed.
std::string WriteVersionResource(const std::wstring& path, int major, const std::string& product);

}  // namespace simapp
