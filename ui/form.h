#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control.h"
#include "event_handler.h"
#include "form_description.h"
#include "gdi_handles.h"

namespace vx::ui {

// A top-level window made from its form description: the window's own properties, then one
// control per nested object, each bound to the field of the same name and its events bound by
// name to the window class's handlers. A derived class declares its fields and handlers in its
// constructor; Create() fails on a control, event or handler that does not match them.
class Form {
 public:
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Loads the description from the RCDATA resource named after the window class (upper case)
  // and makes the window, hidden.
  void Create();
  // The same from description text, for checking a description without its resource.
  void CreateFrom(const std::string& descriptionText);

  void Show();
  // Closes the window; closing the main form ends the program.
  void Close();

  HWND Handle() const { return handle_; }
  const std::string& Name() const { return name_; }
  const std::string& ClassName() const { return className_; }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  // The control named `name`, or null.
  Control* FindControl(const std::string& name) const;

  void SetMainForm(bool isMain) { isMainForm_ = isMain; }

 protected:
  explicit Form(std::string className) : className_(std::move(className)) {}

  template <typename ControlType>
  void DeclareField(const std::string& name, ControlType*& field) {
    fields_[name] = [&field, name](Control& control) {
      field = dynamic_cast<ControlType*>(&control);
      if (!field) throw std::runtime_error("field " + name + " has the wrong control class");
    };
  }
  void DeclareHandler(const std::string& name, EventHandler handler) {
    handlers_[name] = std::move(handler);
  }

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyFormProperty(const FormProperty& property);
  void CreateWindowFrame();
  void CreateControl(const FormObject& description, int id);
  void ArrangeTabOrder();
  Control* ControlById(int id) const;

  std::string className_;
  std::string name_;
  HWND handle_ = nullptr;
  bool isMainForm_ = false;

  // Properties of the window itself, as read from the description.
  std::string caption_;
  int clientWidth_ = 0, clientHeight_ = 0;
  DWORD style_ = WS_OVERLAPPEDWINDOW;
  bool centred_ = false;
  int backgroundColor_ = COLOR_BTNFACE;
  FontAttributes fontAttributes_;
  UniqueFont font_;

  std::map<std::string, std::function<void(Control&)>> fields_;
  std::map<std::string, EventHandler> handlers_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, Control*> controlsById_;
};

}  // namespace vx::ui
