// What start-up and shutdown use of the editor's windows: the searches, the
// replaced window procedures and the hooks.
#pragma once

#include "ui/hooks.h"
#include "ui/window_discovery.h"
#include "ui/window_procedures.h"
