// The editor's menu bar as each major version of the host lays it out: the
// command identifiers the plug-in recognises its menus by, the items its
// insertion positions count on, and the Filter menu's numbering.
#pragma once

#include <windows.h>

namespace simapp {

// The layout used for host major version `version`: versions the editor has
// no layout of take the nearest one (0, no version resource, takes 8's).
int MenuLayoutVersion(int version);

// A new menu bar for the host of major version `version`; the caller owns it.
HMENU CreateHostMenuBar(int version);

// The Filter menu numbers its filters downwards from this identifier, family
// by family, leaving one identifier out between two families.
constexpr UINT kFirstFilterId = 5400;

}  // namespace simapp
