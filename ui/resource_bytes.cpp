#include "resource_bytes.h"

#include <windows.h>

#include <stdexcept>

namespace vx::ui {

std::string LoadResourceBytes(const std::string& resourceName) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!found) throw std::runtime_error("resource " + resourceName + " not found");
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) throw std::runtime_error("resource " + resourceName + " cannot be loaded");
  return std::string(static_cast<const char*>(data), ::SizeofResource(module, found));
}

}  // namespace vx::ui
