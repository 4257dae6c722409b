#include "control_factory.h"

#include "button.h"
#include "check_list_box.h"
#include "image.h"
#include "label.h"
#include "memo.h"
#include "shell_tree_view.h"

namespace vx::ui {

std::unique_ptr<Control> MakeControl(const std::string& className, const std::string& name) {
  if (className == "TButton") return std::make_unique<Button>(name);
  if (className == "TLabel") return std::make_unique<Label>(name);
  if (className == "TMemo") return std::make_unique<Memo>(name);
  if (className == "TImage") return std::make_unique<Image>(name);
  if (className == "TCheckListBox") return std::make_unique<CheckListBox>(name);
  if (className == "TcxShellTreeView") return std::make_unique<ShellTreeView>(name);
  return nullptr;
}

}  // namespace vx::ui
