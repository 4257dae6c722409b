#include "form.h"

#include <algorithm>
#include <cctype>

#include "control_factory.h"
#include "resource_bytes.h"

namespace vx::ui {

namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL, which dialog keys send
constexpr char kMainIcon[] = "MAINICON";

int IntegerOf(const FormProperty& property) {
  if (property.value.kind != FormValue::Kind::kInteger) {
    throw FormDescriptionError(property.line, property.name + " needs a number");
  }
  return static_cast<int>(property.value.integer);
}

const std::string& WordOf(const FormProperty& property) {
  if (property.value.kind != FormValue::Kind::kWord) {
    throw FormDescriptionError(property.line, property.name + " needs a name");
  }
  return property.value.text;
}

}  // namespace

Form::~Form() {
  if (handle_) ::DestroyWindow(handle_);
}

void Form::Create() {
  std::string resourceName = className_;
  for (char& c : resourceName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  CreateFrom(LoadResourceBytes(resourceName));
}

void Form::CreateFrom(const std::string& descriptionText) {
  const FormObject description = ParseFormDescription(descriptionText);
  if (description.className != className_) {
    throw FormDescriptionError(description.line, "the description is of class " +
                                                     description.className + ", not " + className_);
  }
  name_ = description.name;
  for (const FormProperty& property : description.properties) ApplyFormProperty(property);
  CreateWindowFrame();

  int id = kFirstControlId;
  for (const FormObject& child : description.children) CreateControl(child, id++);
  for (const auto& [fieldName, bind] : fields_) {
    if (!FindControl(fieldName)) {
      throw FormDescriptionError(description.line, "no control for the field " + fieldName);
    }
  }
  ArrangeTabOrder();
}

void Form::ApplyFormProperty(const FormProperty& property) {
  const std::string& name = property.name;
  if (name == "Caption") {
    if (property.value.kind != FormValue::Kind::kText) {
      throw FormDescriptionError(property.line, "Caption needs a quoted text");
    }
    caption_ = property.value.text;
  } else if (name == "ClientWidth") {
    clientWidth_ = IntegerOf(property);
  } else if (name == "ClientHeight") {
    clientHeight_ = IntegerOf(property);
  } else if (name == "BorderStyle") {
    const std::string& value = WordOf(property);
    if (value == "bsSingle") {
      style_ &= ~WS_THICKFRAME;
    } else if (value == "bsSizeable") {
      style_ |= WS_THICKFRAME;
    } else {
      throw FormDescriptionError(property.line, "unknown BorderStyle " + value);
    }
  } else if (name == "BorderIcons") {
    if (property.value.kind != FormValue::Kind::kSet) {
      throw FormDescriptionError(property.line, "BorderIcons needs a set");
    }
    style_ &= ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    for (const std::string& icon : property.value.words) {
      if (icon == "biSystemMenu") {
        style_ |= WS_SYSMENU;
      } else if (icon == "biMinimize") {
        style_ |= WS_MINIMIZEBOX;
      } else if (icon == "biMaximize") {
        style_ |= WS_MAXIMIZEBOX;
      } else {
        throw FormDescriptionError(property.line, "unknown border icon " + icon);
      }
    }
  } else if (name == "Position") {
    const std::string& value = WordOf(property);
    if (value != "poDesktopCenter" && value != "poScreenCenter" && value != "poDefault") {
      throw FormDescriptionError(property.line, "unknown Position " + value);
    }
    centred_ = value != "poDefault";
  } else if (name == "Color") {
    const std::string& value = WordOf(property);
    if (value == "clBtnFace") {
      backgroundColor_ = COLOR_BTNFACE;
    } else if (value == "clWindow") {
      backgroundColor_ = COLOR_WINDOW;
    } else {
      throw FormDescriptionError(property.line, "unknown form colour " + value);
    }
  } else if (!ApplyFontProperty(property, fontAttributes_)) {
    throw FormDescriptionError(property.line, "the form has no property " + name);
  }
}

void Form::CreateWindowFrame() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (!::GetClassInfoExA(instance, className_.c_str(), &windowClass)) {
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Form::StaticWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, kMainIcon);
    windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, kMainIcon, IMAGE_ICON,
                                                          ::GetSystemMetrics(SM_CXSMICON),
                                                          ::GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColor_ + 1));
    windowClass.lpszClassName = className_.c_str();
    if (!::RegisterClassExA(&windowClass)) {
      throw std::runtime_error("cannot register the window class " + className_);
    }
  }
  font_ = MakeFont(fontAttributes_);

  const DWORD style = style_ | WS_CLIPCHILDREN;
  RECT frame{0, 0, clientWidth_, clientHeight_};
  ::AdjustWindowRectEx(&frame, style, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (centred_) {
    x = std::max(0, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    y = std::max(0, (::GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  }
  handle_ = ::CreateWindowExA(0, className_.c_str(), caption_.c_str(), style, x, y, width, height,
                              nullptr, nullptr, instance, this);
  if (!handle_) throw std::runtime_error("cannot create the window " + name_);
  // A window manager may have dressed the frame differently from AdjustWindowRectEx's guess: make
  // the client area come out at exactly the size described.
  RECT client;
  ::GetClientRect(handle_, &client);
  if (client.right != clientWidth_ || client.bottom != clientHeight_) {
    RECT window;
    ::GetWindowRect(handle_, &window);
    ::SetWindowPos(handle_, nullptr, 0, 0, window.right - window.left + clientWidth_ - client.right,
                   window.bottom - window.top + clientHeight_ - client.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Form::CreateControl(const FormObject& description, int id) {
  std::unique_ptr<Control> control = MakeControl(description.className, description.name);
  if (!control) {
    throw FormDescriptionError(description.line, "unknown control class " + description.className);
  }
  if (!description.children.empty()) {
    throw FormDescriptionError(description.children.front().line,
                               description.name + " cannot hold other controls");
  }
  if (FindControl(description.name)) {
    throw FormDescriptionError(description.line, "a second control named " + description.name);
  }
  for (const FormProperty& property : description.properties) {
    if (property.name.compare(0, 2, "On") == 0) {
      const std::string& handlerName = WordOf(property);
      const auto handler = handlers_.find(handlerName);
      if (handler == handlers_.end()) {
        throw FormDescriptionError(property.line, className_ + " has no handler " + handlerName);
      }
      if (!control->BindEvent(property.name, handler->second)) {
        throw FormDescriptionError(property.line,
                                   description.name + " has no event " + property.name);
      }
    } else {
      control->ApplyProperty(property);
    }
  }
  const auto field = fields_.find(description.name);
  if (field == fields_.end()) {
    throw FormDescriptionError(description.line, className_ + " has no field " + description.name);
  }
  field->second(*control);

  Control& created = *control;
  controls_.push_back(std::move(control));
  // Registered before its window exists: a list box asks for its item height while being made.
  controlsById_[id] = &created;
  created.Create(handle_, id, font_.Get());
}

void Form::ArrangeTabOrder() {
  std::vector<Control*> stops;
  for (const auto& control : controls_) {
    if (control->TabOrder() >= 0) stops.push_back(control.get());
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](Control* a, Control* b) { return a->TabOrder() < b->TabOrder(); });
  // Tab moves through the children in their z-order, so that order is the tab order.
  HWND previous = HWND_TOP;
  for (Control* control : stops) {
    ::SetWindowPos(control->Handle(), previous, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control->Handle();
  }
}

Control* Form::FindControl(const std::string& name) const {
  for (const auto& control : controls_) {
    if (control->Name() == name) return control.get();
  }
  return nullptr;
}

Control* Form::ControlById(int id) const {
  const auto found = controlsById_.find(id);
  return found == controlsById_.end() ? nullptr : found->second;
}

void Form::Show() {
  ::ShowWindow(handle_, SW_SHOW);
  ::UpdateWindow(handle_);
}

void Form::Close() {
  if (handle_) ::SendMessageA(handle_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Form::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* form = static_cast<Form*>(create->lpCreateParams);
    form->handle_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form) return ::DefWindowProcA(window, message, wParam, lParam);
  return form->WindowProc(message, wParam, lParam);
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) {
        if (Control* control = ControlById(LOWORD(wParam))) {
          control->HandleCommand(HIWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (Control* control = ControlById(static_cast<int>(header->idFrom))) {
        return control->HandleNotify(*header);
      }
      break;
    }
    case WM_MEASUREITEM:
      if (Control* control = ControlById(static_cast<int>(wParam))) {
        control->HandleMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (Control* control = ControlById(static_cast<int>(wParam))) {
        control->HandleDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (Control* control = ControlById(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) {
        if (HBRUSH brush = control->HandleControlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_CLOSE:
      ::DestroyWindow(handle_);
      return 0;
    case WM_DESTROY:
      if (isMainForm_) ::PostQuitMessage(0);
      break;
    case WM_NCDESTROY: {
      const LRESULT result = ::DefWindowProcA(handle_, message, wParam, lParam);
      ::SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
      handle_ = nullptr;
      return result;
    }
  }
  return ::DefWindowProcA(handle_, message, wParam, lParam);
}

}  // namespace vx::ui
