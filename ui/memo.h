#pragma once

#include <string>
#include <vector>

#include "control.h"

namespace vx::ui {

// A multi-line text box. With both scroll bars its lines never wrap, so each line given to
// SetLines comes back from Lines as one line however long it is.
class Memo : public Control {
 public:
  using Control::Control;

  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);

 protected:
  bool ApplyOwnProperty(const FormProperty& property) override;
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;
  void AfterCreate() override;

 private:
  DWORD scrollBars_ = 0;
};

}  // namespace vx::ui
