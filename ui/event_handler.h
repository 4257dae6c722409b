#pragma once

#include <functional>

namespace vx::ui {

// A handler of the window class, bound by name from the form description.
using EventHandler = std::function<void()>;

// Runs a handler from inside a window procedure. An exception that leaves the handler must not
// unwind through the system's message dispatch: it is caught here and shown by the application's
// default exception display, after which the message loop carries on.
void RaiseEvent(const EventHandler& handler) noexcept;

}  // namespace vx::ui
