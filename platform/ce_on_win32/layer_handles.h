// Handles that the CE layer hands out for objects of its own (the object
// store's enumerations and open databases), which the programs close with
// CloseHandle as on the phone.
#pragma once

#include <windows.h>

namespace ce_layer {

struct LayerObject {
  virtual ~LayerObject() = default;
};

// The object becomes the layer's; its handle is its address.
HANDLE AddLayerHandle(LayerObject* object);
// The object of a handle of the layer, or null for any other handle.
template <typename T>
T* FindLayerObject(HANDLE handle);
LayerObject* FindLayerHandle(HANDLE handle);
// Deletes the object of a layer handle; false for any other handle.
bool CloseLayerHandle(HANDLE handle);

template <typename T>
T* FindLayerObject(HANDLE handle) {
  return dynamic_cast<T*>(FindLayerHandle(handle));
}

}  // namespace ce_layer
