#include "host/layer_queries.h"

#include "host/event_player.h"

namespace {

// A Boolean property of the target layer named by a string identifier.
bool LayerFlagByName(const char* name) {
  host::Boolean value = 0;
  const TypeID key = StringToTypeID(name);
  if (key == 0) return false;
  GetTargetProperty(FourCC("Lyr "), key, &value, nullptr);
  return value != 0;
}

}  // namespace

bool HasFilterMask() { return LayerFlagByName("hasFilterMask"); }
bool HasUserMask() { return LayerFlagByName("hasUserMask"); }
bool HasVectorMask() { return LayerFlagByName("hasVectorMask"); }
