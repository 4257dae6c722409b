#pragma once

#include <unknwn.h>

#include <utility>

namespace vx::ui {

// Holds one reference to a COM interface: released once, movable, not copyable (an extra
// reference is taken explicitly through AddRef where it is wanted, never by accident).
template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  Interface* Get() const noexcept { return pointer_; }
  Interface* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }

  void Reset(Interface* pointer = nullptr) noexcept {
    Interface* old = std::exchange(pointer_, pointer);
    if (old) old->Release();
  }
  // For APIs that hand back an interface through an out-parameter.
  Interface** Put() noexcept {
    Reset();
    return &pointer_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace vx::ui
