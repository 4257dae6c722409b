#pragma once

#include <string>
#include <vector>

#include "control.h"
#include "core/type_selection.h"

namespace vx::ui {

// A list box whose items carry a check box each. A click on the box, a double click on it or the
// space bar on the selected item toggles the tick; nothing else is raised.
class CheckListBox : public Control {
 public:
  using Control::Control;

  void Clear();
  void Add(const std::string& text);  // unticked
  int Count() const;
  std::string Text(int index) const;
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  // Every item with its tick, first to last.
  std::vector<TypeChoice> Choices() const;

  void HandleMeasureItem(MEASUREITEMSTRUCT& item) override;
  void HandleDrawItem(const DRAWITEMSTRUCT& item) override;

  // Width of the check box column at the left of every item, in pixels.
  static constexpr int kCheckColumnWidth = 16;

 protected:
  bool ApplyOwnProperty(const FormProperty& property) override;
  HWND CreateHandle(HWND parent, int id, DWORD baseStyle) override;
  void AfterCreate() override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self);
  void ToggleAt(POINT point);
  void Toggle(int index);
  void DrawCheckBox(HDC dc, const RECT& box, bool checked) const;

  int itemHeight_ = 16;
};

}  // namespace vx::ui
