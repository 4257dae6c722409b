#pragma once

#include <memory>
#include <string>

#include "control.h"

namespace vx::ui {

// The control for a class name of the form description (TButton, TLabel, TMemo, TImage,
// TCheckListBox, TcxShellTreeView); null for a class this program does not know.
std::unique_ptr<Control> MakeControl(const std::string& className, const std::string& name);

}  // namespace vx::ui
