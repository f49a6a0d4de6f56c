// Until the settings record holds the user's choice, the setting has its
// default: on.
#include "modes/sixteen_bit.h"

bool AutoCreateFirstSnapshotSetting() { return true; }
