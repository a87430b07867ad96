#pragma once

#include <unknwn.h>

#include <memory>

namespace ui {

// One reference to a COM object, released with its owner.
struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComRelease>;

}  // namespace ui
