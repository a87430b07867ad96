#pragma once

#include <windows.h>

#include <utility>

namespace win {

// The one move-only owner of a Windows handle; copying is deleted so that one handle has one
// owner. Traits give the invalid value, the validity test and the release call. Kernel, find,
// GDI, menu and shell handles are all this template with other traits.
template <typename Traits>
class Handle {
 public:
  using Value = typename Traits::Value;

  Handle() noexcept = default;
  explicit Handle(Value value) noexcept : value_(value) {}
  Handle(Handle&& other) noexcept : value_(other.release()) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { reset(); }

  [[nodiscard]] Value get() const noexcept { return value_; }
  [[nodiscard]] bool valid() const noexcept { return Traits::IsValid(value_); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing.
  [[nodiscard]] Value release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void reset(Value value = Traits::Invalid()) noexcept {
    // Nothing the program could do about a failed close; the handle is gone either way.
    if (Traits::IsValid(value_)) Traits::Close(value_);
    value_ = value;
  }

 private:
  Value value_ = Traits::Invalid();
};

// Handles that are null when there is none, released by one call (GDI objects, menus, drops).
template <typename V, auto Release>
struct NullInvalidTraits {
  using Value = V;
  static Value Invalid() noexcept { return nullptr; }
  static bool IsValid(Value value) noexcept { return value != nullptr; }
  static void Close(Value value) noexcept { Release(value); }
};

// CreateFile and friends report failure as INVALID_HANDLE_VALUE, others as null: both are
// treated as no handle.
struct KernelHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return nullptr; }
  static bool IsValid(Value value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
  static void Close(Value value) noexcept { CloseHandle(value); }
};

struct FindHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Value value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
  static void Close(Value value) noexcept { FindClose(value); }
};

using KernelHandle = Handle<KernelHandleTraits>;
using FindHandle = Handle<FindHandleTraits>;  // from FindFirstFile

}  // namespace win
