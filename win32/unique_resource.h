#pragma once

#include <windows.h>

#include <utility>

namespace vx::win32 {

// Owns one resource of a C API: non-copyable, movable, released exactly once. `Traits` names the
// handle type, its invalid value and the function that releases it, so the same template serves
// handles whose "none" is INVALID_HANDLE_VALUE and those whose "none" is null.
template <typename Traits>
class UniqueResource {
 public:
  using Pointer = typename Traits::Pointer;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Pointer value) noexcept : value_(value) {}
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Reset(); }

  Pointer Get() const noexcept { return value_; }
  bool IsValid() const noexcept { return value_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return IsValid(); }

  Pointer Release() noexcept { return std::exchange(value_, Traits::Invalid()); }
  void Reset(Pointer value = Traits::Invalid()) noexcept {
    Pointer old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For APIs that hand back a resource through an out-parameter.
  Pointer* Put() noexcept {
    Reset();
    return &value_;
  }

 private:
  Pointer value_ = Traits::Invalid();
};

struct FileHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Pointer handle) noexcept { ::CloseHandle(handle); }
};

struct FindHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Pointer handle) noexcept { ::FindClose(handle); }
};

struct KernelHandleTraits {
  using Pointer = HANDLE;
  static Pointer Invalid() noexcept { return nullptr; }
  static void Close(Pointer handle) noexcept { ::CloseHandle(handle); }
};

using UniqueFileHandle = UniqueResource<FileHandleTraits>;      // CreateFile
using UniqueFindHandle = UniqueResource<FindHandleTraits>;      // FindFirstFile
using UniqueKernelHandle = UniqueResource<KernelHandleTraits>;  // processes, threads, events

}  // namespace vx::win32
