#pragma once

#include <windows.h>
#include <shellapi.h>

#include <utility>

// Move-only owners of kernel and shell handles; copying is deleted so that one handle has one
// owner. Traits give the invalid value, the validity test and the release call.
template <typename Traits>
class BasicHandle {
 public:
  using Value = typename Traits::Value;

  BasicHandle() noexcept = default;
  explicit BasicHandle(Value value) noexcept : value_(value) {}
  BasicHandle(BasicHandle&& other) noexcept : value_(other.release()) {}
  BasicHandle& operator=(BasicHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  BasicHandle(const BasicHandle&) = delete;
  BasicHandle& operator=(const BasicHandle&) = delete;
  ~BasicHandle() { reset(); }

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

struct DropHandleTraits {
  using Value = HDROP;
  static Value Invalid() noexcept { return nullptr; }
  static bool IsValid(Value value) noexcept { return value != nullptr; }
  static void Close(Value value) noexcept { DragFinish(value); }
};

using UniqueHandle = BasicHandle<KernelHandleTraits>;
using FindHandle = BasicHandle<FindHandleTraits>;  // from FindFirstFileA
using DropHandle = BasicHandle<DropHandleTraits>;  // from WM_DROPFILES
