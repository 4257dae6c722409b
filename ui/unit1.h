#pragma once

#include <string>

#include "button.h"
#include "check_list_box.h"
#include "form.h"
#include "image.h"
#include "label.h"
#include "memo.h"
#include "shell_tree_view.h"

// The program's window: four numbered steps from left to right (companion root, types, ROM folder,
// output folder), the start button and the exit button. Its layout is the form description
// unit1.form; the fields below are bound to its controls by name.
class TForm1 : public vx::ui::Form {
 public:
  TForm1();

  vx::ui::CheckListBox* chklst1 = nullptr;
  vx::ui::Memo* mmo1 = nullptr;
  vx::ui::Button* Button2 = nullptr;
  vx::ui::ShellTreeView* cxShellTreeView1 = nullptr;
  vx::ui::ShellTreeView* cxShellTreeView2 = nullptr;
  vx::ui::ShellTreeView* cxShellTreeView3 = nullptr;
  vx::ui::Label* lbl1 = nullptr;
  vx::ui::Label* lbl2 = nullptr;
  vx::ui::Label* lbl3 = nullptr;
  vx::ui::Label* lbl4 = nullptr;
  vx::ui::Button* btn1 = nullptr;
  vx::ui::Image* img1 = nullptr;

  // Appends the plain sub-folders of `path` to the type checklist, unticked, in listing order.
  void SearchFile(const std::string& path);

  void Button2Click();
  void cxShellTreeView1Click();
  void cxShellTreeView2Click();
  void btn1Click();
};

extern TForm1* Form1;
