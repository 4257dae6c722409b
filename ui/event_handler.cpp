#include "event_handler.h"

#include <exception>

#include "application.h"

namespace vx::ui {

void RaiseEvent(const EventHandler& handler) noexcept {
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& error) {
    Application::Instance().ShowException(error.what());
  } catch (...) {
    Application::Instance().ShowException("Unknown exception");
  }
}

}  // namespace vx::ui
