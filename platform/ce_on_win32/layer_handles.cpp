// The CE layer's own handles, and CloseHandle over them, named events and
// the kernel's handles alike.
#include "layer_handles.h"

#include <set>

#include "desktop_calls.h"
#include "layer_lock.h"
#include "named_events.h"

namespace ce_layer {

namespace {

ce_layer::LayerLock g_handlesLock;
std::set<LayerObject*> g_objects;

}  // namespace

HANDLE AddLayerHandle(LayerObject* object) {
  ce_layer::LayerLockHold lock(g_handlesLock);
  g_objects.insert(object);
  return reinterpret_cast<HANDLE>(object);
}

LayerObject* FindLayerHandle(HANDLE handle) {
  ce_layer::LayerLockHold lock(g_handlesLock);
  auto found = g_objects.find(reinterpret_cast<LayerObject*>(handle));
  return found == g_objects.end() ? nullptr : *found;
}

bool CloseLayerHandle(HANDLE handle) {
  LayerObject* object = nullptr;
  {
    ce_layer::LayerLockHold lock(g_handlesLock);
    auto found = g_objects.find(reinterpret_cast<LayerObject*>(handle));
    if (found == g_objects.end()) return false;
    object = *found;
    g_objects.erase(found);
  }
  delete object;
  return true;
}

}  // namespace ce_layer

BOOL PhoneCloseHandle(HANDLE handle) {
  if (ce_layer::CloseLayerHandle(handle)) return TRUE;
  ce_layer::ForgetEventName(handle);
  return CloseHandle(handle);
}
